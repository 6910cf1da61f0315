// Settings.cpp - the families' settings and the exports that read and write
// them. The preset of each read is the call's own default, so a value the
// call cannot read (or a missing key) shows as that default.
#include "Settings.h"

#include <cstring>

namespace trctl {
namespace {

constexpr char kFlag[] = "0 or 1";
constexpr char kSeconds[] = "0 to 99 (seconds of the info dialog)";

SettingInfo Flag(const char* name) { return {name, 0, 1, kFlag, false}; }
SettingInfo Seconds() { return {"InfoDialog", 0, 99, kSeconds, false}; }
SettingValue N(DWORD n) { return SettingValue{n, std::string()}; }
int I(const SettingValue& v) { return static_cast<int>(v.number); }

// The one-value groups whose calls take and give a single DWORD.
template <int (*Read)(HKEY, const char*, DWORD*), DWORD Preset>
int ReadOne(HKEY root, const char* key, SettingValues& v) {
    DWORD value = Preset;
    const int ok = Read(root, key, &value);
    v = {N(value)};
    return ok;
}
template <int (*Write)(HKEY, const char*, DWORD)>
int WriteOne(HKEY root, const char* key, const SettingValues& v) {
    return Write(root, key, v[0].number);
}
template <int (*Write)(HKEY, const char*, int)>
int WriteOneInt(HKEY root, const char* key, const SettingValues& v) {
    return Write(root, key, I(v[0]));
}

}  // namespace

const std::vector<SettingFamily>& SettingFamilies() {
    static const std::vector<SettingFamily> families = {
        {"jog", &TR_REG_VALUE_STRUC::szJogConfig,
         {{{{"AppDirection", 1, 2, "1 or 2", false}, {"JogDirection", 1, 2, "1 or 2", false}},
           [](HKEY r, const char* k, SettingValues& v) {
               DWORD app = 1, jog = 1;
               const int ok = TrJogCfgReadDirection(r, k, &app, &jog);
               v = {N(app), N(jog)};
               return ok;
           },
           [](HKEY r, const char* k, const SettingValues& v) {
               return TrJogCfgWriteDirection(r, k, v[0].number, v[1].number);
           }},
          {{{"AutoCloseTimer", 0, 60, "0 (off) or 1 to 60", false}},
           ReadOne<TrJogCfgReadAutoCloseTimer, 0>, WriteOneInt<TrJogCfgWriteAutoCloseTimer>},
          {{Seconds()}, ReadOne<TrJogCfgReadPPPKInfoDlgTime, 5>, WriteOneInt<TrJogCfgWritePPPKInfoDlgTime>},
          {{{"RollSound", 0, 0, "an existing .wav file, or empty", true},
            {"PushSound", 0, 0, "an existing .wav file, or empty", true}},
           [](HKEY r, const char* k, SettingValues& v) {
               v.assign(2, SettingValue());
               return TrJogCfgReadSound(r, k, v[0].text, v[1].text);
           },
           [](HKEY r, const char* k, const SettingValues& v) {
               return TrJogCfgWriteSound(r, k, v[0].text.c_str(), v[1].text.c_str());
           }},
          {{Flag("LEDEnable")}, ReadOne<TrJogCfgReadJogLED, 1>, WriteOne<TrJogCfgWriteJogLED>},
          {{Flag("BackButton")}, ReadOne<TrJogCfgReadJogBack, 1>, WriteOne<TrJogCfgWriteJogBack>}}},
        {"ppk", &TR_REG_VALUE_STRUC::szPPKConfig,
         {{{Flag("Enable"), Flag("LIDEnable"), Seconds()},
           [](HKEY r, const char* k, SettingValues& v) {
               DWORD enable = 1, lid = 0, seconds = 5;
               const int ok = TrPPKCfgRead(r, k, &enable, &lid, &seconds);
               v = {N(enable), N(lid), N(seconds)};
               return ok;
           },
           [](HKEY r, const char* k, const SettingValues& v) {
               return TrPPKCfgWrite(r, k, v[0].number, v[1].number, I(v[2]));
           }}}},
        {"skey", &TR_REG_VALUE_STRUC::szSKeyConfig,
         {{{Seconds()}, ReadOne<TrSKeyCfgRead, 5>, WriteOneInt<TrSKeyCfgWrite>}}},
        {"timer", &TR_REG_VALUE_STRUC::szTimerConfig,
         {{{Seconds()}, ReadOne<TrTimerCfgRead, 5>, WriteOneInt<TrTimerCfgWrite>}}},
        {"fp", &TR_REG_VALUE_STRUC::szFlashpodConfig,
         {{{Flag("Enable"), Flag("SlotEnable"), Seconds()},
           [](HKEY r, const char* k, SettingValues& v) {
               DWORD enable = 0, slot = 1, seconds = 5;
               const int ok = TrFPCfgRead(r, k, &enable, &slot, &seconds);
               v = {N(enable), N(slot), N(seconds)};
               return ok;
           },
           [](HKEY r, const char* k, const SettingValues& v) {
               return TrFPCfgWrite(r, k, v[0].number, v[1].number, I(v[2]));
           }},
          {{{"Slot", 1, 26, "1 to 26 (drive number)", false}, {"Adaptor", 1, 26, "1 to 26 (drive number)", false}},
           [](HKEY r, const char* k, SettingValues& v) {
               DWORD slot = 18, adaptor = 4;
               const int ok = TrFPDriveRead(r, k, &slot, &adaptor);
               v = {N(slot), N(adaptor)};
               return ok;
           },
           [](HKEY r, const char* k, const SettingValues& v) { return TrFPDriveWrite(r, k, I(v[0]), I(v[1])); }},
          {{Flag("DriveLetter")}, ReadOne<TrFPCfgOptionRead, 0>, WriteOne<TrFPCfgOptionWrite>}}},
        {"usb", &TR_REG_VALUE_STRUC::szUSBConfig,
         {{{Flag("Enable"), Flag("NewDevice"), Seconds()},
           [](HKEY r, const char* k, SettingValues& v) {
               DWORD enable = 0, device = 0, seconds = 5;
               const int ok = TrUSBCfgRead(r, k, &enable, &device, &seconds);
               v = {N(enable), N(device), N(seconds)};
               return ok;
           },
           [](HKEY r, const char* k, const SettingValues& v) {
               return TrUSBCfgWrite(r, k, &v[0].number, &v[1].number, v[2].number);
           }}}},
        {"xbus", &TR_REG_VALUE_STRUC::szXbusConfig,
         {{{Flag("Enable"), Flag("NewDevice"), Flag("Category"), Flag("SmartConnect"), Seconds()},
           [](HKEY r, const char* k, SettingValues& v) {
               DWORD enable = 0, device = 0, category = 0, smart = 1, seconds = 5;
               const int ok = TrXbusCfgRead(r, k, &enable, &device, &category, &smart, &seconds);
               v = {N(enable), N(device), N(category), N(smart), N(seconds)};
               return ok;
           },
           [](HKEY r, const char* k, const SettingValues& v) {
               return TrXbusCfgWrite(r, k, v[0].number, v[1].number, v[2].number, v[3].number, v[4].number);
           }},
          {{Flag("Caution")}, ReadOne<TrXbusConfigCautionRead, 1>, WriteOne<TrXbusConfigCautionWrite>}}},
    };
    return families;
}

const SettingFamily* FindSettingFamily(const std::string& name) {
    for (const auto& f : SettingFamilies())
        if (name == f.name) return &f;
    return nullptr;
}

std::string FamilyKey(const SettingFamily& family) {
    TR_REG_VALUE_OF_KIND<TR_REG_KIND_USER> table{};
    if (!TrComGetRegValue(&table)) return std::string();
    return std::string(table.szKeyPath) + "\\" + (table.*family.subKey);
}

bool ReadSetting(const SettingFamily& family, const char* name, SettingValue& value) {
    const std::string key = FamilyKey(family);
    if (key.empty()) return false;
    for (const auto& group : family.groups) {
        for (std::size_t i = 0; i < group.settings.size(); ++i) {
            if (std::strcmp(group.settings[i].name, name) != 0) continue;
            SettingValues values;
            group.read(HKEY_CURRENT_USER, key.c_str(), values);
            value = values[i];
            return true;
        }
    }
    return false;
}

}  // namespace trctl
