// TrSettings.cpp - the per-family settings calls: fixed value names in the
// key the caller names, with each call's presets, defaults and ranges.
//
// Presets are written before the key is opened, so they are what a caller
// sees when the key is missing; defaults replace single missing values.
#include "include/TrCommon.h"
#include "env/TrSettingsKey.h"

namespace {

using tr::SettingsKey;

bool InRange(DWORD v, DWORD low, DWORD high) { return v >= low && v <= high; }
bool InRange(int v, int low, int high) { return v >= low && v <= high; }

DWORD InfoDialogToWrite(int seconds) { return InRange(seconds, 0, 99) ? static_cast<DWORD>(seconds) : 5; }

// One value read with a default for a missing one; true when it was read.
bool ReadOr(const SettingsKey& key, const char* name, DWORD fallback, DWORD& out) {
    if (key.Read(name, out)) return true;
    out = fallback;
    return false;
}

// A single flag: 'preset' before the key is opened, 'missing' when the
// value cannot be read; 1 when it was read.
int ReadFlag(HKEY hRoot, const char* pszKey, const char* name, DWORD preset, DWORD missing, DWORD* out) {
    if (!out) return 0;
    *out = preset;
    const SettingsKey key = SettingsKey::ForRead(hRoot, pszKey);
    if (!key.Valid()) return 0;
    return ReadOr(key, name, missing, *out) ? 1 : 0;
}

// "InfoDialog" read without presets or range: 5 when missing.
int ReadInfoDialogPlain(HKEY hRoot, const char* pszKey, DWORD* pdwTime) {
    if (!pdwTime) return 0;
    const SettingsKey key = SettingsKey::ForRead(hRoot, pszKey);
    if (!key.Valid()) return 0;
    return ReadOr(key, "InfoDialog", 5, *pdwTime) ? 1 : 0;
}

int WriteInfoDialog(HKEY hRoot, const char* pszKey, int nTime) {
    return tr::WriteSettings(hRoot, pszKey, {{"InfoDialog", InfoDialogToWrite(nTime)}});
}

}  // namespace

extern "C" {

// --- IEEE 1394 ---------------------------------------------------------------

int TRCOMAPI TrXbusConfigCautionRead(HKEY hRoot, const char* pszKey, DWORD* pdwCaution) {
    if (!pdwCaution) return 0;
    const SettingsKey key = SettingsKey::ForRead(hRoot, pszKey);
    if (!key.Valid()) return 0;
    return ReadOr(key, "Caution", 1, *pdwCaution) ? 1 : 0;
}

int TRCOMAPI TrXbusConfigCautionWrite(HKEY hRoot, const char* pszKey, DWORD dwCaution) {
    return tr::WriteSettings(hRoot, pszKey, {{"Caution", dwCaution}});
}

int TRCOMAPI TrXbusCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwEnable, DWORD* pdwNewDevice,
                           DWORD* pdwCategory, DWORD* pdwSmartConnect, DWORD* pdwInfoDialog) {
    if (!pdwEnable || !pdwNewDevice || !pdwCategory || !pdwSmartConnect || !pdwInfoDialog) return 0;
    *pdwEnable = 0;
    *pdwNewDevice = 0;
    *pdwCategory = 0;
    *pdwSmartConnect = 1;
    *pdwInfoDialog = 5;
    const SettingsKey key = SettingsKey::ForRead(hRoot, pszKey);
    if (!key.Valid()) return 0;
    ReadOr(key, "Enable", 0, *pdwEnable);
    ReadOr(key, "NewDevice", 0, *pdwNewDevice);
    ReadOr(key, "Category", 0, *pdwCategory);
    ReadOr(key, "SmartConnect", 1, *pdwSmartConnect);
    ReadOr(key, "InfoDialog", 5, *pdwInfoDialog);
    if (!InRange(*pdwInfoDialog, 0u, 99u)) *pdwInfoDialog = 5;
    return 1;
}

int TRCOMAPI TrXbusCfgWrite(HKEY hRoot, const char* pszKey, DWORD dwEnable, DWORD dwNewDevice, DWORD dwCategory,
                            DWORD dwSmartConnect, DWORD dwInfoDialog) {
    return tr::WriteSettings(hRoot, pszKey,
                             {{"Enable", dwEnable},
                              {"NewDevice", dwNewDevice},
                              {"Category", dwCategory},
                              {"SmartConnect", dwSmartConnect},
                              {"InfoDialog", dwInfoDialog}});
}

// --- jog dial ----------------------------------------------------------------

// A missing direction reads as 1. The stored pair is handed over only when
// both were read and both are valid, so a half-stored or damaged pair never
// mixes with the caller's other value.
int TRCOMAPI TrJogCfgReadDirection(HKEY hRoot, const char* pszKey, DWORD* pdwAppDirection, DWORD* pdwJogDirection) {
    if (!pdwAppDirection || !pdwJogDirection) return 0;
    const SettingsKey key = SettingsKey::ForRead(hRoot, pszKey);
    if (!key.Valid()) return 0;
    DWORD app = 0, jog = 0;
    const bool haveApp = key.Read("AppDirection", app);
    const bool haveJog = key.Read("JogDirection", jog);
    if (!haveApp) *pdwAppDirection = 1;
    if (!haveJog) *pdwJogDirection = 1;
    if (!haveApp || !haveJog) return 0;
    if (InRange(app, 1u, 2u) && InRange(jog, 1u, 2u)) {
        *pdwAppDirection = app;
        *pdwJogDirection = jog;
    }
    return 1;
}

int TRCOMAPI TrJogCfgWriteDirection(HKEY hRoot, const char* pszKey, DWORD dwAppDirection, DWORD dwJogDirection) {
    const DWORD app = InRange(dwAppDirection, 1u, 2u) ? dwAppDirection : 1;
    const DWORD jog = InRange(dwJogDirection, 1u, 2u) ? dwJogDirection : 1;
    return tr::WriteSettings(hRoot, pszKey, {{"AppDirection", app}, {"JogDirection", jog}});
}

int TRCOMAPI TrJogCfgReadAutoCloseTimer(HKEY hRoot, const char* pszKey, DWORD* pdwTime) {
    if (!pdwTime) return 0;
    *pdwTime = 0;
    const SettingsKey key = SettingsKey::ForRead(hRoot, pszKey);
    DWORD time = 0;
    if (!key.Read("AutoCloseTimer", time) || !InRange(time, 1u, 60u)) return 0;
    *pdwTime = time;
    return 1;
}

int TRCOMAPI TrJogCfgWriteAutoCloseTimer(HKEY hRoot, const char* pszKey, int nTime) {
    const DWORD time = InRange(nTime, 1, 60) ? static_cast<DWORD>(nTime) : 0;
    return tr::WriteSettings(hRoot, pszKey, {{"AutoCloseTimer", time}});
}

int TRCOMAPI TrJogCfgReadPPPKInfoDlgTime(HKEY hRoot, const char* pszKey, DWORD* pdwTime) {
    if (!pdwTime) return 0;
    *pdwTime = 5;
    const SettingsKey key = SettingsKey::ForRead(hRoot, pszKey);
    DWORD time = 0;
    if (!key.Read("InfoDialog", time) || !InRange(time, 0u, 99u)) return 0;
    *pdwTime = time;
    return 1;
}

int TRCOMAPI TrJogCfgWritePPPKInfoDlgTime(HKEY hRoot, const char* pszKey, int nTime) {
    return WriteInfoDialog(hRoot, pszKey, nTime);
}

int TRCOMAPI TrJogCfgReadJogLED(HKEY hRoot, const char* pszKey, DWORD* pdwOn) {
    return ReadFlag(hRoot, pszKey, "LED Enable", 1, 1, pdwOn);
}

int TRCOMAPI TrJogCfgWriteJogLED(HKEY hRoot, const char* pszKey, DWORD dwOn) {
    return tr::WriteSettings(hRoot, pszKey, {{"LED Enable", dwOn}});
}

// A missing key reads as "on", a key without the value as "off".
int TRCOMAPI TrJogCfgReadJogBack(HKEY hRoot, const char* pszKey, DWORD* pdwOn) {
    return ReadFlag(hRoot, pszKey, "BackButton", 1, 0, pdwOn);
}

int TRCOMAPI TrJogCfgWriteJogBack(HKEY hRoot, const char* pszKey, DWORD dwOn) {
    return tr::WriteSettings(hRoot, pszKey, {{"BackButton", dwOn}});
}

// --- SKey and timer: one operation under several names -----------------------

int TRCOMAPI TrSKeyCfgWrite(HKEY hRoot, const char* pszKey, int nTime) { return WriteInfoDialog(hRoot, pszKey, nTime); }
int TRCOMAPI TrTimerCfgWrite(HKEY hRoot, const char* pszKey, int nTime) { return WriteInfoDialog(hRoot, pszKey, nTime); }
int TRCOMAPI TrSKeyCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwTime) {
    return ReadInfoDialogPlain(hRoot, pszKey, pdwTime);
}
int TRCOMAPI TrTimerCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwTime) {
    return ReadInfoDialogPlain(hRoot, pszKey, pdwTime);
}

// --- memory-card slot --------------------------------------------------------

int TRCOMAPI TrFPCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwEnable, DWORD* pdwSlotEnable,
                         DWORD* pdwInfoDialog) {
    if (!pdwEnable || !pdwSlotEnable || !pdwInfoDialog) return 0;
    const SettingsKey key = SettingsKey::ForRead(hRoot, pszKey);
    if (!key.Valid()) return 0;
    const bool a = ReadOr(key, "enable", 0, *pdwEnable);
    const bool b = ReadOr(key, "SlotEnable", 1, *pdwSlotEnable);
    const bool c = ReadOr(key, "InfoDialog", 5, *pdwInfoDialog);
    return a && b && c ? 1 : 0;
}

int TRCOMAPI TrFPCfgWrite(HKEY hRoot, const char* pszKey, DWORD dwEnable, DWORD dwSlotEnable, int nInfoDialog) {
    return tr::WriteSettings(hRoot, pszKey,
                             {{"enable", dwEnable ? 1u : 0u},
                              {"SlotEnable", dwSlotEnable},
                              {"InfoDialog", InfoDialogToWrite(nInfoDialog)}});
}

int TRCOMAPI TrFPDriveRead(HKEY hRoot, const char* pszKey, DWORD* pdwSlot, DWORD* pdwAdaptor) {
    if (!pdwSlot || !pdwAdaptor) return 0;
    *pdwSlot = 18;
    *pdwAdaptor = 4;
    const SettingsKey key = SettingsKey::ForRead(hRoot, pszKey);
    if (!key.Valid()) return 0;
    const bool a = ReadOr(key, "Slot", 18, *pdwSlot);
    const bool b = ReadOr(key, "Adaptor", 4, *pdwAdaptor);
    if (!InRange(*pdwSlot, 1u, 26u)) *pdwSlot = 18;
    if (!InRange(*pdwAdaptor, 1u, 26u)) *pdwAdaptor = 4;
    return a && b ? 1 : 0;
}

int TRCOMAPI TrFPDriveWrite(HKEY hRoot, const char* pszKey, int nSlot, int nAdaptor) {
    const DWORD slot = InRange(nSlot, 1, 26) ? static_cast<DWORD>(nSlot) : 18;
    const DWORD adaptor = InRange(nAdaptor, 1, 26) ? static_cast<DWORD>(nAdaptor) : 4;
    return tr::WriteSettings(hRoot, pszKey, {{"Slot", slot}, {"Adaptor", adaptor}});
}

int TRCOMAPI TrFPCfgOptionRead(HKEY hRoot, const char* pszKey, DWORD* pdwDriveLetter) {
    return ReadFlag(hRoot, pszKey, "DriveLetter", 0, 0, pdwDriveLetter);
}

int TRCOMAPI TrFPCfgOptionWrite(HKEY hRoot, const char* pszKey, DWORD dwDriveLetter) {
    return tr::WriteSettings(hRoot, pszKey, {{"DriveLetter", dwDriveLetter}});
}

// --- PPK key -----------------------------------------------------------------

int TRCOMAPI TrPPKCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwEnable, DWORD* pdwLidEnable,
                          DWORD* pdwInfoDialog) {
    if (!pdwEnable || !pdwLidEnable || !pdwInfoDialog) return 0;
    const SettingsKey key = SettingsKey::ForRead(hRoot, pszKey);
    if (!key.Valid()) return 0;
    const bool a = ReadOr(key, "enable", 1, *pdwEnable);
    const bool b = ReadOr(key, "LID enable", 0, *pdwLidEnable);
    const bool c = ReadOr(key, "InfoDialog", 5, *pdwInfoDialog);
    return a && b && c ? 1 : 0;
}

int TRCOMAPI TrPPKCfgWrite(HKEY hRoot, const char* pszKey, DWORD dwEnable, DWORD dwLidEnable, int nInfoDialog) {
    return tr::WriteSettings(hRoot, pszKey,
                             {{"enable", dwEnable},
                              {"LID enable", dwLidEnable},
                              {"InfoDialog", InfoDialogToWrite(nInfoDialog)}});
}

// --- USB ---------------------------------------------------------------------

int TRCOMAPI TrUSBCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwEnable, DWORD* pdwNewDevice,
                          DWORD* pdwInfoDialog) {
    if (!pdwEnable || !pdwNewDevice || !pdwInfoDialog) return 0;
    *pdwEnable = 0;
    *pdwNewDevice = 0;
    *pdwInfoDialog = 5;
    const SettingsKey key = SettingsKey::ForRead(hRoot, pszKey);
    if (!key.Valid()) return 0;
    ReadOr(key, "Enable", 0, *pdwEnable);
    ReadOr(key, "NewDevice", 0, *pdwNewDevice);
    ReadOr(key, "InfoDialog", 5, *pdwInfoDialog);
    if (!InRange(*pdwInfoDialog, 0u, 99u)) *pdwInfoDialog = 5;
    return 1;
}

int TRCOMAPI TrUSBCfgWrite(HKEY hRoot, const char* pszKey, const DWORD* pdwEnable, const DWORD* pdwNewDevice,
                           DWORD dwInfoDialog) {
    if (!pdwEnable || !pdwNewDevice) return 0;
    return tr::WriteSettings(hRoot, pszKey,
                             {{"Enable", *pdwEnable}, {"NewDevice", *pdwNewDevice}, {"InfoDialog", dwInfoDialog}});
}

}  // extern "C"
