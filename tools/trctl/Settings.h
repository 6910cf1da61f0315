// Settings.h - every setting of every event family, read and written
// through the library's settings exports in the user's key of the family.
#ifndef TRCTL_SETTINGS_H
#define TRCTL_SETTINGS_H

#include "include/TrCommon.h"

#include <string>
#include <vector>

namespace trctl {

struct SettingValue {
    DWORD number = 0;
    std::string text;  // the jog sounds
};
using SettingValues = std::vector<SettingValue>;

struct SettingInfo {
    const char* name;     // the registry value's name without blanks
    long long low, high;  // the range a write accepts (numbers)
    const char* allowed;  // in words, for the help and for errors
    bool text;            // a path rather than a number
};

// Settings that one read call and one write call handle together; a write
// of one of them writes them all, the others as the read delivers them.
struct SettingGroup {
    std::vector<SettingInfo> settings;
    // Fills the values in group order, with the call's defaults where it
    // gives none; returns the read call's own result.
    int (*read)(HKEY root, const char* key, SettingValues& values);
    int (*write)(HKEY root, const char* key, const SettingValues& values);
};

struct SettingFamily {
    const char* name;                              // jog, ppk, skey, timer, fp, usb, xbus
    char (TR_REG_VALUE_STRUC::*subKey)[TR_TEXT_FIELD];  // its sub-key name in the key table
    std::vector<SettingGroup> groups;
};

const std::vector<SettingFamily>& SettingFamilies();
const SettingFamily* FindSettingFamily(const std::string& name);

// The family's key under HKEY_CURRENT_USER: the product key path and the
// sub-key name, both from the library's key table. Empty when the table
// cannot be filled (TrLocale.DLL missing).
std::string FamilyKey(const SettingFamily& family);

// One setting's value as its read call delivers it, defaults included.
bool ReadSetting(const SettingFamily& family, const char* name, SettingValue& value);

}  // namespace trctl

#endif  // TRCTL_SETTINGS_H
