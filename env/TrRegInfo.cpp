// TrRegInfo.cpp - the product key table and TrComGetRegValue, which fills a
// caller's registry-value block with the table and one family's values.
#include "env/TrRegistry.h"

#include "base/TrHandle.h"

#include "ui/TrLocaleModule.h"
#include "ui/TrResourceIds.h"

#include <cstddef>
#include <cstring>

namespace tr {
namespace {

// A string of TrLocale.DLL, or the fallback when it has none of that number.
void LoadTableString(HINSTANCE hLocale, UINT id, const char* fallback, char (&out)[TR_TEXT_FIELD]) {
    char text[TR_TEXT_FIELD] = {};
    if (::LoadStringA(hLocale, id, text, sizeof(text)) > 0) {
        std::memcpy(out, text, sizeof(out));
    } else {
        std::strncpy(out, fallback, sizeof(out) - 1);
        out[sizeof(out) - 1] = '\0';
    }
}

void SetName(char (&field)[TR_TEXT_FIELD], const char* name) {
    std::memset(field, 0, sizeof(field));
    std::strcpy(field, name);
}

enum class ValueType { Dword, Text };

struct ValueSlot {
    const char* name;
    ValueType type;
    std::size_t offset;  // within TR_REG_VALUES
};

#define TR_D(member, name) {name, ValueType::Dword, offsetof(TR_REG_VALUES, member)}
#define TR_S(member, name) {name, ValueType::Text, offsetof(TR_REG_VALUES, member)}

const ValueSlot kJog[] = {TR_D(jog.dwInfoDialog, "InfoDialog"),         TR_D(jog.dwAppDirection, "AppDirection"),
                          TR_D(jog.dwJogDirection, "JogDirection"),     TR_D(jog.dwAutoCloseTimer, "AutoCloseTimer"),
                          TR_D(jog.dwBackButton, "BackButton"),         TR_S(jog.szPushSound, "PushSound"),
                          TR_S(jog.szRollSound, "RollSound")};
const ValueSlot kPPK[] = {TR_D(ppk.dwInfoDialog, "InfoDialog"), TR_D(ppk.dwEnable, "Enable"),
                          TR_D(ppk.dwLidEnable, "LID Enable")};
const ValueSlot kSKey[] = {TR_D(skey.dwInfoDialog, "InfoDialog")};
const ValueSlot kFlashpod[] = {TR_D(flashpod.dwInfoDialog, "InfoDialog"), TR_D(flashpod.dwEnable, "Enable"),
                               TR_D(flashpod.dwSlotEnable, "SlotEnable"),
                               TR_D(flashpod.dwDriveLetter, "DriveLetter")};
const ValueSlot kXbus[] = {TR_D(xbus.dwInfoDialog, "InfoDialog"), TR_D(xbus.dwEnable, "Enable"),
                           TR_D(xbus.dwNewDevice, "NewDevice"),   TR_D(xbus.dwCategory, "Category"),
                           TR_D(xbus.dwSmartConnect, "SmartConnect"), TR_D(xbus.dwCaution, "Caution")};
const ValueSlot kUSB[] = {TR_D(usb.dwInfoDialog, "InfoDialog"), TR_D(usb.dwEnable, "Enable"),
                          TR_D(usb.dwNewDevice, "NewDevice")};
const ValueSlot kTimerConfig[] = {TR_D(timerConfig.dwInfoDialog, "InfoDialog")};
const ValueSlot kTimerApp[] = {TR_D(timerApp.dwLimitTime, "LimitTime"), TR_S(timerApp.szTitle, "Title"),
                               TR_S(timerApp.szDescription, "Description"), TR_S(timerApp.szPath, "Path"),
                               TR_S(timerApp.szWorkDir, "WorkDir"),     TR_S(timerApp.szOption, "Option")};
const ValueSlot kTimer[] = {TR_D(timer.dwTimerMode, "TimerMode"), TR_D(timer.dwWeekFlag, "WeekFlag"),
                            TR_D(timer.dwTimeLimit, "TimeLimit"), TR_D(timer.dwPostState, "PostState"),
                            TR_D(timer.dwYear, "Year"),           TR_D(timer.dwMonth, "Month"),
                            TR_D(timer.dwDay, "Day"),             TR_D(timer.dwHour, "Hour"),
                            TR_D(timer.dwMinute, "Minute")};

#undef TR_D
#undef TR_S

struct Family {
    const char* subKey;
    const ValueSlot* slots;
    std::size_t count;
};

template <std::size_t N>
constexpr Family MakeFamily(const char* subKey, const ValueSlot (&slots)[N]) {
    return {subKey, slots, N};
}

// Kinds 2 to 10, in order.
const Family kFamilies[] = {
    MakeFamily("JogConfig", kJog),         MakeFamily("PPKConfig", kPPK),     MakeFamily("SKeyConfig", kSKey),
    MakeFamily("FlashpodConfig", kFlashpod), MakeFamily("XbusConfig", kXbus), MakeFamily("USBConfig", kUSB),
    MakeFamily("TimerConfig", kTimerConfig), MakeFamily("TimerApp", kTimerApp), MakeFamily("Timer", kTimer),
};

}  // namespace

BOOL FillRegInfo(TR_REG_VALUE_STRUC* pValue) {
    if (!pValue) return FALSE;
    // Everything is gathered first, so a missing TrLocale.DLL leaves the
    // block exactly as the caller handed it over.
    char keyPath[TR_TEXT_FIELD], defaultPath[TR_TEXT_FIELD], pathName[TR_TEXT_FIELD], dirName[TR_TEXT_FIELD];
    {
        LocaleModule locale;
        if (!locale.Loaded()) return FALSE;
        LoadTableString(locale.Handle(), IDS_TR_REG_KEY0, kProductKeyFallback, keyPath);
        LoadTableString(locale.Handle(), IDS_TR_REG_KEY1, kInstalledPathFallback, pathName);
        LoadTableString(locale.Handle(), IDS_TR_REG_KEY2, kInstalledDirFallback, dirName);
        LoadTableString(locale.Handle(), IDS_TR_REG_ROOT_TEXT, "", defaultPath);
    }
    pValue->hRoot = HKEY_LOCAL_MACHINE;
    std::memcpy(pValue->szKeyPath, keyPath, sizeof(keyPath));
    std::memcpy(pValue->szDefaultInstalledPath, defaultPath, sizeof(defaultPath));
    std::memcpy(pValue->szInstalledPathName, pathName, sizeof(pathName));
    std::memcpy(pValue->szInstalledDirName, dirName, sizeof(dirName));
    SetName(pValue->szTrTWPathName, kTrTWPathName);
    SetName(pValue->szJogConfig, kFamilies[0].subKey);
    SetName(pValue->szPPKConfig, kFamilies[1].subKey);
    SetName(pValue->szSKeyConfig, kFamilies[2].subKey);
    SetName(pValue->szFlashpodConfig, kFamilies[3].subKey);
    SetName(pValue->szXbusConfig, kFamilies[4].subKey);
    SetName(pValue->szUSBConfig, kFamilies[5].subKey);
    SetName(pValue->szTimerConfig, kFamilies[6].subKey);
    SetName(pValue->szTimerApp, kFamilies[7].subKey);
    SetName(pValue->szTimer, kFamilies[8].subKey);
    return TRUE;
}

BOOL FillUserRegInfo(TR_REG_VALUE_STRUC* pValue) {
    if (!FillRegInfo(pValue)) return FALSE;
    pValue->hRoot = HKEY_CURRENT_USER;
    return TRUE;
}

}  // namespace tr

extern "C" int TRCOMAPI TrComGetRegValue(TR_REG_VALUE_STRUC* pValue) {
    if (!pValue) return 0;
    const int kind = pValue->GetValueKind();
    if (kind < TR_REG_KIND_MACHINE || kind > TR_REG_KIND_TIMER) return 0;
    if (kind == TR_REG_KIND_MACHINE) return tr::FillRegInfo(pValue) ? 1 : 0;
    if (!tr::FillUserRegInfo(pValue)) return 0;
    if (kind == TR_REG_KIND_USER) return 1;

    const tr::Family& family = tr::kFamilies[kind - TR_REG_KIND_JOG];
    if (!TrComPathAppend(pValue->szKeyPath, family.subKey)) return 0;
    // Every value is attempted; one that cannot be read keeps the caller's
    // preset in its slot. The family's key is opened once for all of them
    // (a missing key fails every value, as a read of each would).
    tr::RegKey key;
    if (::RegOpenKeyExA(pValue->hRoot, pValue->szKeyPath, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return 0;
    bool all = true;
    auto* area = reinterpret_cast<unsigned char*>(&pValue->values);
    for (std::size_t i = 0; i < family.count; ++i) {
        const tr::ValueSlot& slot = family.slots[i];
        void* target = area + slot.offset;
        const BOOL ok = slot.type == tr::ValueType::Dword
                            ? tr::RegReadDwordFrom(key.Get(), slot.name, static_cast<DWORD*>(target))
                            : tr::RegReadStringFrom(key.Get(), slot.name, static_cast<char*>(target));
        all = all && ok;
    }
    return all ? 1 : 0;
}
