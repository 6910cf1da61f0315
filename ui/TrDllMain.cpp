// TrDllMain.cpp - the library's entry point.
//
// Nothing but remembering the instance happens here; the registered messages
// come from static initialisation (env/TrMessages.cpp), which the runtime runs
// before this entry point sees process attach.
#include "ui/TrModule.h"

namespace {
HINSTANCE g_hThisModule = nullptr;
HINSTANCE g_hResource = nullptr;
}  // namespace

namespace tr {

HINSTANCE ThisModule() { return g_hThisModule; }
HINSTANCE GetResourceHandle() { return g_hResource; }
void SetResourceHandle(HINSTANCE hInstance) { g_hResource = hInstance; }

}  // namespace tr

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*reserved*/) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        g_hThisModule = hInstance;
        g_hResource = hInstance;
        // Thread attach and detach notifications are of no use to us.
        ::DisableThreadLibraryCalls(hInstance);
    }
    return TRUE;
}
