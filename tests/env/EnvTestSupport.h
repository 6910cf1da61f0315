// EnvTestSupport.h - registry helpers and the product key sandbox for the
// tests of the environment layer.
#ifndef TR_TESTS_ENV_SUPPORT_H
#define TR_TESTS_ENV_SUPPORT_H

#include "TrTestSupport.h"

#include "env/TrRegistry.h"
#include "include/TrCommon.h"

namespace envtest {

constexpr char kProductKey[] = "Software\\Kalvor Corporation\\Trelvane";
inline std::string ProductKey(const std::string& sub) { return std::string(kProductKey) + "\\" + sub; }
inline std::string DwordBytes(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

inline bool SetBytes(HKEY root, const std::string& key, const char* name, DWORD type, const std::string& bytes) {  // makes the key
    return !::RegSetKeyValueA(root, key.c_str(), name, type, bytes.data(), static_cast<DWORD>(bytes.size()));
}
inline bool SetDword(HKEY r, const std::string& k, const char* n, DWORD v) { return SetBytes(r, k, n, REG_DWORD, DwordBytes(v)); }
inline bool SetString(HKEY r, const std::string& k, const char* n, const std::string& v) { return SetBytes(r, k, n, REG_SZ, v + '\0'); }
inline bool KeyExists(HKEY root, const std::string& key, bool create = false) {
    tr::RegKey k;
    return !(create ? ::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_READ, nullptr, k.Put(), nullptr)
                    : ::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, k.Put()));
}
inline bool CreateKey(HKEY root, const std::string& key) { return KeyExists(root, key, true); }
// A value's bytes, or "<none>" when it is missing or not of the type wanted (any type for kAnyType).
constexpr DWORD kAnyType = ~0u;
inline std::string GetBytes(HKEY root, const std::string& key, const char* name, DWORD wanted) {
    char data[1024];
    DWORD type = 0, size = sizeof(data);
    const bool read = !::RegGetValueA(root, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size);
    return read && (type == wanted || wanted == kAnyType) ? std::string(data, size) : "<none>";
}

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
