// TrRegistry.cpp - reading, writing and copying single registry values.
//
// Values are read into fixed 4- and 260-byte buffers whatever their type, so
// a value of the wrong type is taken as its bytes when it fits and counts as
// missing when it does not.
#include "env/TrRegistry.h"

#include "base/TrHandle.h"

#include <cstring>

namespace tr {
namespace {

constexpr DWORD kTextBuffer = 260;

bool OpenForRead(HKEY hRoot, const char* pszKey, RegKey& key) {
    return pszKey && ::RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

bool CreateForWrite(HKEY hRoot, const char* pszKey, RegKey& key) {
    return pszKey && ::RegCreateKeyExA(hRoot, pszKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                                       key.Put(), nullptr) == ERROR_SUCCESS;
}

// Joins a key path and a sub-key name; false when the result does not fit.
bool JoinKey(const char* pszKey, const char* pszName, char (&out)[MAX_PATH]) {
    if (std::strlen(pszKey) >= MAX_PATH) return false;
    std::strcpy(out, pszKey);
    return TrComPathAppend(out, pszName) != 0;
}

}  // namespace

BOOL RegReadDwordFrom(HKEY hKey, const char* pszName, DWORD* pdwValue) {
    if (!pdwValue) return FALSE;
    DWORD value = 0, size = sizeof(value);
    if (::RegQueryValueExA(hKey, pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        return FALSE;
    *pdwValue = value;
    return TRUE;
}

BOOL RegReadStringFrom(HKEY hKey, const char* pszName, char* pszValue) {
    if (!pszValue) return FALSE;
    char data[kTextBuffer] = {};
    DWORD size = sizeof(data);
    if (::RegQueryValueExA(hKey, pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
        return FALSE;
    // Data stored without a terminator end at their stored length; 260 such
    // bytes leave no room for one and do not fit.
    const std::size_t length = ::strnlen(data, size);
    if (length >= kTextBuffer) return FALSE;
    std::memcpy(pszValue, data, length);
    pszValue[length] = '\0';
    return TRUE;
}

BOOL RegReadDword(HKEY hRoot, const char* pszKey, const char* pszName, DWORD* pdwValue) {
    if (!pdwValue) return FALSE;
    RegKey key;
    return OpenForRead(hRoot, pszKey, key) && RegReadDwordFrom(key.Get(), pszName, pdwValue);
}

BOOL RegReadString(HKEY hRoot, const char* pszKey, const char* pszName, char* pszValue) {
    if (!pszValue) return FALSE;
    RegKey key;
    return OpenForRead(hRoot, pszKey, key) && RegReadStringFrom(key.Get(), pszName, pszValue);
}

BOOL RegWriteDword(HKEY hRoot, const char* pszKey, const char* pszName, DWORD dwValue, BOOL bOverwrite) {
    if (!bOverwrite) {
        DWORD scratch;
        if (RegReadDword(hRoot, pszKey, pszName, &scratch)) return TRUE;
    }
    RegKey key;
    if (!CreateForWrite(hRoot, pszKey, key)) return FALSE;
    return ::RegSetValueExA(key.Get(), pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                            sizeof(dwValue)) == ERROR_SUCCESS;
}

BOOL RegWriteString(HKEY hRoot, const char* pszKey, const char* pszName, const char* pszValue, BOOL bOverwrite) {
    if (!pszValue) return FALSE;
    if (!bOverwrite) {
        char scratch[kTextBuffer];
        if (RegReadString(hRoot, pszKey, pszName, scratch)) return TRUE;
    }
    RegKey key;
    if (!CreateForWrite(hRoot, pszKey, key)) return FALSE;
    return ::RegSetValueExA(key.Get(), pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszValue),
                            static_cast<DWORD>(std::strlen(pszValue) + 1)) == ERROR_SUCCESS;
}

BOOL RegCopyKey(HKEY hSrcRoot, const char* pszSrcKey, HKEY hDstRoot, const char* pszDstKey, BOOL bOverwrite) {
    if (!pszSrcKey || !pszDstKey) return FALSE;
    // Create-or-open: a missing source key is made empty instead of failing.
    RegKey src;
    if (::RegCreateKeyExA(hSrcRoot, pszSrcKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ, nullptr, src.Put(),
                          nullptr) != ERROR_SUCCESS)
        return FALSE;

    for (DWORD index = 0;; ++index) {
        char name[kTextBuffer];
        DWORD nameLength = sizeof(name);
        if (::RegEnumKeyExA(src.Get(), index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        char srcPath[MAX_PATH], dstPath[MAX_PATH];
        // A sub-tree whose path would not fit is left out; its siblings go on.
        if (!JoinKey(pszSrcKey, name, srcPath) || !JoinKey(pszDstKey, name, dstPath)) continue;
        RegCopyKey(hSrcRoot, srcPath, hDstRoot, dstPath, bOverwrite);
    }

    for (DWORD index = 0;; ++index) {
        char name[kTextBuffer];
        DWORD nameLength = sizeof(name);
        // One spare zero byte keeps a REG_SZ stored without terminator a text.
        BYTE data[kTextBuffer + 1] = {};
        DWORD dataLength = kTextBuffer;
        DWORD type = REG_NONE;
        if (::RegEnumValueA(src.Get(), index, name, &nameLength, nullptr, &type, data, &dataLength) !=
            ERROR_SUCCESS)
            break;
        if (type == REG_DWORD) {
            DWORD value;
            std::memcpy(&value, data, sizeof(value));
            RegWriteDword(hDstRoot, pszDstKey, name, value, bOverwrite);
        } else if (type == REG_SZ) {
            RegWriteString(hDstRoot, pszDstKey, name, reinterpret_cast<const char*>(data), bOverwrite);
        }
    }
    return TRUE;
}

}  // namespace tr
