// >>> ENGINEERS WORKING IN PARALLEL: before anything else read /work/main/.parallel-rules.md (rules, build folder, git, deadline). Temporary line, the lead removes it. <<<
// TrCommon.h - exported functions and exchanged structures of TrCommon.dll.
//
// Every function is a plain C export (undecorated name, __cdecl). Structures
// keep the field order callers rely on; 32-bit values stay 32-bit on x64 and
// handles and pointers are pointer-sized. Sizes are asserted below so the
// 32-bit and 64-bit builds cannot drift apart silently.
#ifndef TRCOMMON_H
#define TRCOMMON_H

#include <windows.h>

// Exports are listed by name in the library's .def file, so no decoration
// or dllexport attribute is needed on the functions themselves.
#define TRCOMAPI __cdecl

#ifdef __cplusplus
extern "C" {
#endif

// ---------------------------------------------------------------------------
// Application data block: what a lookup fills and a launch or dialog reads.
// ---------------------------------------------------------------------------
#define TR_TEXT_FIELD 260

typedef struct TR_APP_DATA_STRUC {
    char szTitle[TR_TEXT_FIELD];
    char szDescription[TR_TEXT_FIELD];
    char szPath[TR_TEXT_FIELD];
    char szWorkDir[TR_TEXT_FIELD];
    char szOption[TR_TEXT_FIELD];
} TR_APP_DATA_STRUC;

// ---------------------------------------------------------------------------
// Shared block: the server and client windows, visible to every process.
// ---------------------------------------------------------------------------
typedef struct TR_SHARED_BLOCK {
    DWORD dwServer;  // server window as a 32-bit value, 0 when none
    DWORD dwClient;  // client window as a 32-bit value, 0 when none
} TR_SHARED_BLOCK;

int TRCOMAPI TrComCreateSharedMemory(void);
int TRCOMAPI TrComDeleteSharedMemory(void);
int TRCOMAPI TrComSetServer(HWND hServer);
int TRCOMAPI TrComSetClient(HWND hClient);
int TRCOMAPI TrComGetServer(HWND* phServer);
int TRCOMAPI TrComGetClient(HWND* phClient);

// Registered messages, available once the library is loaded.
#define TR_MSG_REWRITE_WINDOW_NAME "TrMsgRewriteWindow"
#define TR_MSG_TRELVANE_NAME "Trelvane Message"

// ---------------------------------------------------------------------------
// Path utilities and platform test. Path buffers hold MAX_PATH bytes.
// ---------------------------------------------------------------------------
#define TR_OS_UNKNOWN 0
#define TR_OS_WIN32S 1
#define TR_OS_WIN95 2
#define TR_OS_WIN98 3
#define TR_OS_WINNT 4
#define TR_OS_WIN2K 5   // TrComGetOSEx only: NT family, major version 5 or more
#define TR_OS_WINME 6   // TrComGetOSEx only: 95 family, minor version 90 or more

int TRCOMAPI TrComPathAppend(char* pszPath, const char* pszName);
int TRCOMAPI TrComPathFileExists(const char* pszPath);
int TRCOMAPI TrComCreateDirectory(const char* pszPath);
int TRCOMAPI TrComGetOS(DWORD* pdwCode);
int TRCOMAPI TrComGetOSEx(DWORD* pdwCode);

// ---------------------------------------------------------------------------
// Icons.
// ---------------------------------------------------------------------------
BOOL TRCOMAPI TrComGetIconHandle(HICON* phIcon, const char* pszPath, BOOL bLarge);

// @@ more families below, one section each

#ifdef __cplusplus
}  // extern "C"

static_assert(sizeof(TR_APP_DATA_STRUC) == 5 * TR_TEXT_FIELD, "TR_APP_DATA_STRUC layout");
static_assert(sizeof(TR_SHARED_BLOCK) == 8, "TR_SHARED_BLOCK stays 8 bytes on every target");
#endif

#endif  // TRCOMMON_H
