// TrShortcut.cpp - the launcher's own shortcut reader.
//
// The link is read as it was saved: Resolve is never called, so a moved target
// is not searched for and no user interface can appear.
#include "launch/TrShortcut.h"

#include "base/TrFieldText.h"
#include "base/TrGuard.h"
#include "base/TrHandle.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>
#include <mbstring.h>
#include <vector>

namespace tr {
namespace {

// COM on this thread for the length of one read. S_FALSE means someone else
// initialised it already, and then it is theirs to uninitialise.
class ComScope {
public:
    ComScope() : m_hr(::CoInitialize(nullptr)) {}
    ~ComScope() { if (m_hr == S_OK) ::CoUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool Ok() const { return SUCCEEDED(m_hr); }

private:
    HRESULT m_hr;
};

BOOL ReadLink(const char* pszLink, char* pszPath, char* pszWorkDir, char* pszArgs) {
    ComScope com;
    if (!com.Ok()) return FALSE;

    ComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  link.PutVoid())))
        return FALSE;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid()))) return FALSE;

    const int wideLength = ::MultiByteToWideChar(CP_ACP, 0, pszLink, -1, nullptr, 0);
    if (wideLength <= 0) return FALSE;
    std::vector<wchar_t> widePath(static_cast<std::size_t>(wideLength) + 1, L'\0');
    if (!::MultiByteToWideChar(CP_ACP, 0, pszLink, -1, widePath.data(), wideLength)) return FALSE;
    if (FAILED(file->Load(widePath.data(), STGM_READ))) return FALSE;

    char target[MAX_PATH] = "";
    WIN32_FIND_DATAA found = {};
    if (FAILED(link->GetPath(target, MAX_PATH, &found, SLGP_SHORTPATH))) return FALSE;
    target[MAX_PATH - 1] = '\0';
    // Some shell-link implementations (Wine's) ignore SLGP_SHORTPATH; asking
    // the file system again gives the 8.3 form on every system, and changes
    // nothing where the link already gave it.
    char shortTarget[MAX_PATH] = "";
    const DWORD shortLength = ::GetShortPathNameA(target, shortTarget, MAX_PATH);
    if (shortLength > 0 && shortLength < MAX_PATH) CopyFieldText(target, shortTarget);

    char icon[MAX_PATH] = "";
    int iconIndex = 0;
    if (FAILED(link->GetIconLocation(icon, MAX_PATH, &iconIndex))) icon[0] = '\0';
    icon[MAX_PATH - 1] = '\0';

    // A shortcut whose icon is its own target is started as the shortcut
    // itself, so the shell applies whatever else the link carries.
    if (::_mbscmp(reinterpret_cast<const unsigned char*>(target), reinterpret_cast<const unsigned char*>(icon)) != 0)
        CopyFieldText(pszPath, target);

    if (pszWorkDir[0] == '\0') {
        char dir[MAX_PATH] = "";
        if (FAILED(link->GetWorkingDirectory(dir, MAX_PATH))) dir[0] = '\0';
        dir[MAX_PATH - 1] = '\0';
        CopyFieldText(pszWorkDir, dir);
    }
    if (pszArgs[0] == '\0') {
        char args[MAX_PATH] = "";
        if (FAILED(link->GetArguments(args, MAX_PATH))) args[0] = '\0';
        args[MAX_PATH - 1] = '\0';
        CopyFieldText(pszArgs, args);
    }
    return TRUE;
}

}  // namespace

BOOL ResolveShortcut(const char* pszLink, char* pszPath, char* pszWorkDir, char* pszArgs) {
    if (!pszLink || !pszPath || !pszWorkDir || !pszArgs) return FALSE;
    // Work on copies so a failure halfway leaves the caller's buffers whole.
    char path[MAX_PATH], workDir[MAX_PATH], args[MAX_PATH];
    CopyFieldText(path, pszPath);
    CopyFieldText(workDir, pszWorkDir);
    CopyFieldText(args, pszArgs);
    // Out of memory is a failed read; COM is already uninitialised by the
    // scope's unwinding.
    if (!Guarded(FALSE, [&] { return ReadLink(pszLink, path, workDir, args); })) return FALSE;
    CopyFieldText(pszPath, path);
    CopyFieldText(pszWorkDir, workDir);
    CopyFieldText(pszArgs, args);
    return TRUE;
}

}  // namespace tr
