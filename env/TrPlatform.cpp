// TrPlatform.cpp - which platform family the library runs on.
//
// Only TrComGetOS is used inside the library: code 4 (any NT-family system)
// selects the Win2K folders and the group test; everything else is Win98.
#include "include/TrCommon.h"

namespace {

struct Codes { DWORD basic, fine; };

bool QueryPlatform(Codes& codes) {
    codes = {TR_OS_UNKNOWN, TR_OS_UNKNOWN};
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExA(&info)) return false;
#pragma GCC diagnostic pop
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        codes = {TR_OS_WIN32S, TR_OS_WIN32S};
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (info.dwMinorVersion == 0) codes = {TR_OS_WIN95, TR_OS_WIN95};
        else if (info.dwMinorVersion < 90) codes = {TR_OS_WIN98, TR_OS_WIN98};
        else codes = {TR_OS_WIN98, TR_OS_WINME};
        break;
    case VER_PLATFORM_WIN32_NT:
        codes = {TR_OS_WINNT, info.dwMajorVersion < 5 ? DWORD(TR_OS_WINNT) : DWORD(TR_OS_WIN2K)};
        break;
    default:
        break;
    }
    return true;
}

}  // namespace

extern "C" {

int TRCOMAPI TrComGetOS(DWORD* pdwCode) {
    if (!pdwCode) return 0;
    Codes codes;
    const bool ok = QueryPlatform(codes);
    *pdwCode = codes.basic;
    return ok ? 1 : 0;
}

int TRCOMAPI TrComGetOSEx(DWORD* pdwCode) {
    if (!pdwCode) return 0;
    Codes codes;
    const bool ok = QueryPlatform(codes);
    *pdwCode = codes.fine;
    return ok ? 1 : 0;
}

}  // extern "C"
