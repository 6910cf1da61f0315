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

}  // namespace tr
