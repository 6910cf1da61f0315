// TrSettingsKey.h - the key access shared by the per-family settings calls:
// one key opened per call, values read into 4-byte slots and written as
// REG_DWORD, the key closed on every path by its owner.
#ifndef TR_ENV_SETTINGSKEY_H
#define TR_ENV_SETTINGSKEY_H

#include "base/TrHandle.h"

#include <string>

namespace tr {

// A settings key opened for reading, or created (missing levels too) with
// full access for writing. Valid() tells whether that worked.
class SettingsKey {
public:
    static SettingsKey ForRead(HKEY hRoot, const char* pszKey);
    static SettingsKey ForWrite(HKEY hRoot, const char* pszKey);

    bool Valid() const { return m_key.Valid(); }
    // A value of at most 4 bytes, whatever its type (shorter ones
    // zero-extended); false when missing or longer.
    bool Read(const char* pszName, DWORD& value) const;
    // A value of at most 'capacity' bytes up to its first zero byte.
    bool ReadText(const char* pszName, std::size_t capacity, std::string& text) const;
    bool Write(const char* pszName, DWORD value) const;
    bool WriteText(const char* pszName, const char* text) const;

private:
    RegKey m_key;
};

// Writes the values in order and stops at the first that fails.
struct NamedValue {
    const char* name;
    DWORD value;
};
template <std::size_t N>
int WriteSettings(HKEY hRoot, const char* pszKey, const NamedValue (&values)[N]) {
    const SettingsKey key = SettingsKey::ForWrite(hRoot, pszKey);
    if (!key.Valid()) return 0;
    for (const NamedValue& v : values)
        if (!key.Write(v.name, v.value)) return 0;
    return 1;
}

}  // namespace tr

#endif  // TR_ENV_SETTINGSKEY_H
