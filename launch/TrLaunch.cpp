// TrLaunch.cpp - TrComLaunch: starts the application of an application data
// block through the shell, after handing the foreground over.
//
// The caller's block is never written: Path, WorkDir and Option are copied
// into local MAX_PATH buffers, cut to the field when a caller left a field
// without its terminator.
#include "include/TrCommon.h"
#include "base/TrFieldText.h"
#include "launch/TrForeground.h"
#include "launch/TrShortcut.h"

#include <shellapi.h>

#include <cstring>
#include <mbstring.h>

namespace {

// ".lnk" in any letter case, compared on the last four bytes as the shell's
// own extension test does (the whole path when it is shorter).
bool EndsWithLnk(const char* path) {
    const std::size_t n = std::strlen(path);
    const char* tail = n > 4 ? path + n - 4 : path;
    return ::_mbsicmp(reinterpret_cast<const unsigned char*>(tail),
                      reinterpret_cast<const unsigned char*>(".lnk")) == 0;
}

}  // namespace

extern "C" int TRCOMAPI TrComLaunch(HANDLE* phProcess, const TR_APP_DATA_STRUC* pAppData) {
    if (!phProcess) return FALSE;
    *phProcess = nullptr;
    if (!pAppData) return FALSE;

    char path[MAX_PATH], workDir[MAX_PATH], option[MAX_PATH];
    tr::CopyFieldText(path, pAppData->szPath);
    tr::CopyFieldText(workDir, pAppData->szWorkDir);
    tr::CopyFieldText(option, pAppData->szOption);
    if (path[0] == '\0') return FALSE;

    // Only whether an association exists matters; the program found is not
    // used. FindExecutable changes the process's current folder while it
    // looks, and puts it back.
    char associated[MAX_PATH] = "";
    const auto found = reinterpret_cast<INT_PTR>(::FindExecutableA(path, workDir, associated));
    if (found <= 32) {
        if (!EndsWithLnk(path)) return FALSE;
        if (!tr::ResolveShortcut(path, path, workDir, option)) return FALSE;
    }

    // The server lookup must succeed; a registered window of 0 still lets the
    // launch go on (activation then has nothing to act on).
    HWND hServer = nullptr;
    if (!TrComGetServer(&hServer)) return FALSE;
    tr::HandOverForeground(hServer);

    SHELLEXECUTEINFOA sei;
    std::memset(&sei, 0, sizeof(sei));
    sei.cbSize = sizeof(sei);
    sei.fMask = SEE_MASK_NOCLOSEPROCESS;
    sei.hwnd = nullptr;
    sei.lpVerb = nullptr;
    sei.lpFile = path;
    sei.lpParameters = option;
    sei.lpDirectory = workDir;
    sei.nShow = SW_SHOWDEFAULT;
    if (!::ShellExecuteExA(&sei)) return FALSE;

    *phProcess = sei.hProcess;  // NULL when the shell reused a running program
    return TRUE;
}
