// TrLocaleModule.cpp - the resource-library pair.
#include "ui/TrLocaleModule.h"

#include "ui/TrModule.h"

namespace tr {

BOOL LoadLocaleModule(HINSTANCE* phLocale, HINSTANCE* phPrevious) {
    if (!phLocale || !phPrevious) return FALSE;
    // No critical-error or "file not found" boxes while searching: a missing
    // resource library is an ordinary failure for every caller. The mode is
    // this thread's alone; the host's other threads keep theirs.
    DWORD oldMode = 0;
    const BOOL modeSet = ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    HINSTANCE hLocale = ::LoadLibraryA(kLocaleLibrary);
    if (modeSet) ::SetThreadErrorMode(oldMode, nullptr);
    *phLocale = hLocale;
    if (!hLocale) return FALSE;
    *phPrevious = GetResourceHandle();
    SetResourceHandle(hLocale);
    return TRUE;
}

BOOL FreeLocaleModule(HINSTANCE hLocale, HINSTANCE hPrevious) {
    if (!hLocale) return TRUE;
    ::FreeLibrary(hLocale);
    SetResourceHandle(hPrevious);
    return TRUE;
}

}  // namespace tr
