// TrDataCopy.cpp - the per-file part of copying data files to the user.
#include "env/TrDataCopy.h"

#include "include/TrCommon.h"
#include "base/TrHandle.h"

#include <cstring>

namespace tr {
namespace {

BOOL ReadCreationTime(const char* pszPath, FILETIME* pTime) {
    const Handle file(::CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && ::GetFileTime(file.Get(), pTime, nullptr, nullptr);
}

// Opened for its attributes only: a read-only file (the copy of a read-only
// installed file) grants that, and so does a file others hold open without
// sharing writes, where an open for writing would be refused.
BOOL StampCreationTime(const char* pszPath, const FILETIME* pTime) {
    const Handle file(::CreateFileA(pszPath, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && ::SetFileTime(file.Get(), pTime, nullptr, nullptr);
}

bool Exists(const char* pszPath) { return ::GetFileAttributesA(pszPath) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

const CreationTimeOps& SystemCreationTime() {
    static const CreationTimeOps ops = {ReadCreationTime, StampCreationTime};
    return ops;
}

int CompareFileCreationTime(const char* pszA, const char* pszB, const CreationTimeOps& ops) {
    FILETIME a, b;
    if (!ops.read(pszA, &a) || !ops.read(pszB, &b)) return 0;
    if (a.dwHighDateTime != b.dwHighDateTime) return a.dwHighDateTime < b.dwHighDateTime ? -1 : 1;
    if (a.dwLowDateTime != b.dwLowDateTime) return a.dwLowDateTime < b.dwLowDateTime ? -1 : 1;
    return 0;
}

void CopyDataFiles(const char* pszSrcFolder, const char* pszDstFolder, BOOL bOverwrite, const CreationTimeOps& ops) {
    char pattern[MAX_PATH];
    std::strcpy(pattern, pszSrcFolder);
    if (!TrComPathAppend(pattern, "*.dat")) return;
    WIN32_FIND_DATAA fd;
    const FindHandle find(::FindFirstFileA(pattern, &fd));
    if (!find) return;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        char source[MAX_PATH], target[MAX_PATH];
        std::strcpy(source, pszSrcFolder);
        std::strcpy(target, pszDstFolder);
        if (!TrComPathAppend(source, fd.cFileName) || !TrComPathAppend(target, fd.cFileName)) continue;
        if (!bOverwrite && Exists(target) && CompareFileCreationTime(source, target, ops) != 1) continue;
        ::CopyFileA(source, target, FALSE);
        // Also after a failed copy: the older copy still there is made the
        // user's own the same way.
        if (!Exists(target)) continue;
        FILETIME now;
        ::GetSystemTimeAsFileTime(&now);
        ops.stamp(target, &now);
        const DWORD attributes = ::GetFileAttributesA(target);
        if (attributes != INVALID_FILE_ATTRIBUTES)
            ::SetFileAttributesA(target, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    } while (::FindNextFileA(find.Get(), &fd));
}

}  // namespace tr
