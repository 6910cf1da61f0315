/* MsvcProbe.c - a host as MSVC's toolchain builds it, linked against the
   SDK's TrCommon.lib by an MSVC-compatible linker (lld-link) with no C
   runtime at all: the exit code is the platform code TrComGetOS gives, 90
   when a call fails. scripts/check-sdk.sh builds and runs it. */
#include <stddef.h> /* the compiler's own header */

typedef unsigned long DWORD;
__declspec(dllimport) int __cdecl TrComGetOS(DWORD* pdwCode);
__declspec(dllimport) int __cdecl TrComPathAppend(char* pszPath, const char* pszName);

/* Without a runtime the compiler's own call for clearing the path buffer
   lands here; volatile keeps it from being turned into that call again. */
void* __cdecl memset(void* target, int value, size_t size) {
    volatile unsigned char* p = (volatile unsigned char*)target;
    while (size--) *p++ = (unsigned char)value;
    return target;
}

int __cdecl ProbeMain(void) {
    char path[260] = "C:\\dir";
    DWORD code = 0;
    if (!TrComPathAppend(path, "file") || path[6] != '\\') return 90;
    return TrComGetOS(&code) ? (int)code : 91;
}
