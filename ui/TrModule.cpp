// TrModule.cpp - this library's instance and the process-wide resource
// handle that stands in for the host's current resource module.
#include "ui/TrModule.h"

namespace {
HINSTANCE g_hThisModule = nullptr;
HINSTANCE g_hResource = nullptr;
}  // namespace

namespace tr {

void InitModule(HINSTANCE hInstance) {
    g_hThisModule = hInstance;
    g_hResource = hInstance;
}

HINSTANCE ThisModule() { return g_hThisModule; }
HINSTANCE GetResourceHandle() { return g_hResource; }
void SetResourceHandle(HINSTANCE hInstance) { g_hResource = hInstance; }

HINSTANCE FindAlongChain(HINSTANCE hFirst, UINT id, LPCSTR type) {
    // The host's own module is the executable's, which is what the NULL
    // module handle names; this library's own is the one DllMain received.
    const HINSTANCE chain[] = {hFirst, ::GetModuleHandleA(nullptr), g_hThisModule};
    for (const HINSTANCE module : chain)
        if (module && ::FindResourceA(module, MAKEINTRESOURCEA(id), type)) return module;
    return nullptr;
}

}  // namespace tr
