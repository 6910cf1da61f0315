// EnvTestSupport.h - registry helpers and the product key sandbox for the
// tests of the environment layer.
#ifndef TR_TESTS_ENV_SUPPORT_H
#define TR_TESTS_ENV_SUPPORT_H

#include "TrTestSupport.h"

#include "env/TrRegistry.h"
#include "include/TrCommon.h"

#include <string>

namespace envtest {

constexpr char kProductKey[] = "Software\\Kalvor Corporation\\Trelvane";
inline std::string ProductKey(const std::string& sub) { return std::string(kProductKey) + "\\" + sub; }
inline std::string DwordBytes(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

inline bool SetBytes(HKEY root, const std::string& key, const char* name, DWORD type, const std::string& bytes) {
    tr::RegKey k;
    return !::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, k.Put(), nullptr) &&
           !::RegSetValueExA(k.Get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size()));
}
inline bool SetDword(HKEY r, const std::string& k, const char* n, DWORD v) { return SetBytes(r, k, n, REG_DWORD, DwordBytes(v)); }
inline bool SetString(HKEY r, const std::string& k, const char* n, const std::string& v) { return SetBytes(r, k, n, REG_SZ, v + '\0'); }
inline bool KeyExists(HKEY root, const std::string& key, bool create = false) {
    tr::RegKey k;
    return !(create ? ::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_READ, nullptr, k.Put(), nullptr)
                    : ::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, k.Put()));
}
inline bool CreateKey(HKEY root, const std::string& key) { return KeyExists(root, key, true); }

// A value's bytes, "<none>" when missing or of another type than 'wanted'
// (any type for kAnyType).
constexpr DWORD kAnyType = ~0u;
inline std::string GetBytes(HKEY root, const std::string& key, const char* name, DWORD wanted) {
    tr::RegKey k;
    DWORD type = 0, size = 0;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, k.Put()) ||
        ::RegQueryValueExA(k.Get(), name, nullptr, &type, nullptr, &size) || (type != wanted && wanted != kAnyType))
        return "<none>";
    std::string bytes(size, '\0');
    ::RegQueryValueExA(k.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(&bytes[0]), &size);
    return bytes;
}
// A REG_DWORD, or -1; a REG_SZ up to its terminator, or "<none>".
inline long long GetDword(HKEY r, const std::string& k, const char* n) {
    const std::string b = GetBytes(r, k, n, REG_DWORD);
    return b.size() == 4 ? static_cast<long long>(*reinterpret_cast<const DWORD*>(b.data())) : -1;
}
inline std::string GetString(HKEY r, const std::string& k, const char* n) { return GetBytes(r, k, n, REG_SZ).c_str(); }

// The product key under both roots, removed before and after each test. Wine
// keeps a few handles for good after a process's first copy of a key tree;
// one copy up front keeps them out of every count.
class ProductKeySandbox : public ::testing::Test {
protected:
    ProductKeySandbox() {
        static const BOOL warm = SetDword(HKEY_LOCAL_MACHINE, ProductKey("Warm\\Sub"), "N", 1) &&
                                 SetString(HKEY_LOCAL_MACHINE, ProductKey("Warm"), "T", "x") &&
                                 TrComCopyRegKeyToCurrentUser(FALSE);
        (void)warm;
        trtest::DeleteRegTree(HKEY_LOCAL_MACHINE, kProductKey);
        trtest::DeleteRegTree(HKEY_CURRENT_USER, kProductKey);
    }
    trtest::RegSandbox m_machine{HKEY_LOCAL_MACHINE, kProductKey};
    trtest::RegSandbox m_user{HKEY_CURRENT_USER, kProductKey};
};

}  // namespace envtest

#endif  // TR_TESTS_ENV_SUPPORT_H
