// TrSettingsKey.cpp - key access of the settings calls.
#include "env/TrSettingsKey.h"

#include <cstring>
#include <vector>

namespace tr {

SettingsKey SettingsKey::ForRead(HKEY hRoot, const char* pszKey) {
    SettingsKey key;
    if (pszKey && ::RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ, key.m_key.Put()) != ERROR_SUCCESS)
        key.m_key.Reset();
    return key;
}

SettingsKey SettingsKey::ForWrite(HKEY hRoot, const char* pszKey) {
    SettingsKey key;
    if (pszKey && ::RegCreateKeyExA(hRoot, pszKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                    key.m_key.Put(), nullptr) != ERROR_SUCCESS)
        key.m_key.Reset();
    return key;
}

bool SettingsKey::Read(const char* pszName, DWORD& value) const {
    DWORD slot = 0, size = sizeof(slot);
    if (!Valid() || ::RegQueryValueExA(m_key.Get(), pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(&slot),
                                       &size) != ERROR_SUCCESS)
        return false;
    value = slot;
    return true;
}

bool SettingsKey::ReadText(const char* pszName, std::size_t capacity, std::string& text) const {
    std::vector<char> data(capacity, '\0');
    DWORD size = static_cast<DWORD>(capacity);
    if (!Valid() || ::RegQueryValueExA(m_key.Get(), pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                                       &size) != ERROR_SUCCESS)
        return false;
    text.assign(data.data(), ::strnlen(data.data(), size));
    return true;
}

bool SettingsKey::Write(const char* pszName, DWORD value) const {
    return Valid() && ::RegSetValueExA(m_key.Get(), pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                       sizeof(value)) == ERROR_SUCCESS;
}

bool SettingsKey::WriteText(const char* pszName, const char* text) const {
    return Valid() && ::RegSetValueExA(m_key.Get(), pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                       static_cast<DWORD>(std::strlen(text) + 1)) == ERROR_SUCCESS;
}

}  // namespace tr
