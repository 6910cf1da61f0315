// TrPathUtil.cpp - joining, testing and creating paths of at most MAX_PATH
// bytes. Backslashes are searched code-page aware: in code page 932 the trail
// byte of many characters is 0x5C and must never be taken for a separator.
// Paths are built in MAX_PATH buffers on the stack: these calls never
// allocate, so they cannot run out of memory half way.
#include "include/TrCommon.h"
#include "base/TrHandle.h"
#include "base/TrText.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// True when the last character of s (not merely its last byte) is '\'.
bool EndsWithBackslash(std::string_view s) {
    return !s.empty() && tr::FindLastChar(s, '\\') == s.size() - 1;
}

// The joined text, terminated, or false (out unspecified) when it would not
// fit a MAX_PATH buffer.
bool JoinPath(std::string_view path, std::string_view name, char (&out)[MAX_PATH]) {
    path = tr::TrimRight(path);
    name = tr::TrimLeft(name);
    if (!name.empty() && name[0] == '\\') name.remove_prefix(1);
    const std::size_t separator = EndsWithBackslash(path) ? 0 : 1;
    if (path.size() + separator + name.size() >= MAX_PATH) return false;
    char* end = std::copy(path.begin(), path.end(), out);
    if (separator) *end++ = '\\';
    *std::copy(name.begin(), name.end(), end) = '\0';
    return true;
}

}  // namespace

extern "C" {

// Over-long results are refused (0) and leave the buffer as it was, rather
// than being cut to a path that names something else.
int TRCOMAPI TrComPathAppend(char* pszPath, const char* pszName) {
    if (!pszPath || !pszName) return 0;
    const std::string_view path(pszPath, ::strnlen(pszPath, MAX_PATH));
    if (path.size() >= MAX_PATH) return 0;  // not a terminated MAX_PATH buffer
    char joined[MAX_PATH];
    if (!JoinPath(path, pszName, joined)) return 0;
    std::memcpy(pszPath, joined, std::strlen(joined) + 1);
    return 1;
}

int TRCOMAPI TrComPathFileExists(const char* pszPath) {
    if (!pszPath || !*pszPath) return 0;
    WIN32_FIND_DATAA fd;
    tr::FindHandle find(::FindFirstFileA(pszPath, &fd));
    return find ? 1 : 0;
}

// The text before the first backslash is the root (a drive) and is never
// created. Levels made before a failing one stay.
int TRCOMAPI TrComCreateDirectory(const char* pszPath) {
    if (!pszPath) return 0;
    const std::string_view path(pszPath);
    std::size_t pos = tr::FindChar(path, '\\');
    if (pos == tr::kNotFound || pos == 0) return 0;
    for (;;) {
        const std::size_t next = tr::FindChar(path, '\\', pos + 1);
        const bool last = next == tr::kNotFound;
        if (last && pos + 1 == path.size()) return 1;
        const std::string_view component = path.substr(pos + 1, (last ? path.size() : next) - pos - 1);
        char folder[MAX_PATH];
        if (!JoinPath(path.substr(0, pos), component, folder)) return 0;
        if (!TrComPathFileExists(folder) && !::CreateDirectoryA(folder, nullptr)) return 0;
        if (last) return 1;
        pos = next;
    }
}

}  // extern "C"
