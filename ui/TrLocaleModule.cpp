// TrLocaleModule.cpp - the resource-library pair.
#include "ui/TrLocaleModule.h"

#include "ui/TrModule.h"

namespace tr {

BOOL LoadLocaleModule(HINSTANCE* phLocale, HINSTANCE* phPrevious) {
    if (!phLocale || !phPrevious) return FALSE;
    // No critical-error or "file not found" boxes while searching: a missing
    // resource library is an ordinary failure for every caller.
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HINSTANCE hLocale = ::LoadLibraryA(kLocaleLibrary);
    ::SetErrorMode(oldMode);
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
