// TrDllMain.cpp - the library's entry point.
//
// Nothing but remembering the instance happens here; the registered messages
// come from static initialisation (env/TrMessages.cpp), which the runtime runs
// before this entry point sees process attach.
#include "ui/TrModule.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*reserved*/) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        tr::InitModule(hInstance);
        // Thread attach and detach notifications are of no use to us.
        ::DisableThreadLibraryCalls(hInstance);
    }
    return TRUE;
}
