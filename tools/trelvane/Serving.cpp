// Serving.cpp - lookup, info dialog and launch of one event.
#include "Serving.h"

#include "Diagnosis.h"
#include "HotKeyMap.h"
#include "ProductKey.h"
#include "Reporter.h"

#include <TrCommonClasses.h>

#include "base/TrHandle.h"

#include <cstring>
#include <new>

namespace trelvane {
namespace {

// The lookup's choice of device rules: Win2K identifier texts on NT 5,
// Win98 descriptions (TR_REG_INFO_STRUC) everywhere else.
bool Win2kDeviceRules() {
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    return ::GetVersionExA(&v) && v.dwMajorVersion == 5 && v.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// The device key a PnP lookup takes, owned until a lookup takes it over.
// Win98 rules: a TR_REG_INFO_STRUC made by the library (TrComNewRegInfo),
// released with TrComFreeRegInfo. Win2K rules: the identifier text below
// "1394\" (IEEE 1394) or whole (USB), from operator new, which the library
// releases with operator delete (same toolchain and C runtime).
class DeviceKey {
public:
    DeviceKey(const Device& device, bool win2k) : m_win2k(win2k) {
        std::string id = device.instanceId;
        if (!win2k) {
            TrComNewRegInfo(&m_info, id.c_str());
            return;
        }
        if (device.kind == Device::Ieee1394 && _strnicmp(id.c_str(), "1394\\", 5) == 0) id.erase(0, 5);
        m_text = static_cast<char*>(::operator new(id.size() + 1, std::nothrow));
        if (m_text) std::memcpy(m_text, id.c_str(), id.size() + 1);
    }
    ~DeviceKey() {
        if (m_info) TrComFreeRegInfo(m_info);
        ::operator delete(m_text);
    }
    DeviceKey(const DeviceKey&) = delete;
    DeviceKey& operator=(const DeviceKey&) = delete;

    bool Valid() const { return m_info || m_text; }
    DWORD_PTR Get() const { return m_win2k ? reinterpret_cast<DWORD_PTR>(m_text) : reinterpret_cast<DWORD_PTR>(m_info); }
    // The lookup released it.
    void HandedOver() {
        m_info = nullptr;
        m_text = nullptr;
    }

private:
    bool m_win2k;
    TR_REG_INFO_STRUC* m_info = nullptr;
    char* m_text = nullptr;
};

// Alt, Ctrl, Shift as the PPK lookup sees them: the first held counts.
std::string PpkModifierWord() {
    static const struct { int key; const char* word; } keys[] = {
        {VK_MENU, " --alt"}, {VK_CONTROL, " --ctrl"}, {VK_SHIFT, " --shift"}};
    for (const auto& k : keys)
        if (::GetAsyncKeyState(k.key) & 0x8000) return k.word;
    return std::string();
}

}  // namespace

FamilySettings ReadFamilySettings(Family family) {
    // Each read export's own presets stand for missing values and keys.
    FamilySettings s;
    DWORD lid = 0, slot = 1, category = 0, smart = 1;
    s.infoSeconds = 5;
    switch (family) {
    case Family::PPK:
        TrPPKCfgRead(HKEY_CURRENT_USER, UserKeyPath(SubKey::PPK).c_str(), &s.enable, &lid, &s.infoSeconds);
        break;
    case Family::SKey: TrSKeyCfgRead(HKEY_CURRENT_USER, UserKeyPath(SubKey::SKey).c_str(), &s.infoSeconds); break;
    case Family::Timer:
        TrTimerCfgRead(HKEY_CURRENT_USER, UserKeyPath(SubKey::TimerConfig).c_str(), &s.infoSeconds);
        break;
    case Family::Flashpod:
        s.enable = 0;
        TrFPCfgRead(HKEY_CURRENT_USER, UserKeyPath(SubKey::Flashpod).c_str(), &s.enable, &slot, &s.infoSeconds);
        break;
    case Family::Usb:
        TrUSBCfgRead(HKEY_CURRENT_USER, UserKeyPath(SubKey::Usb).c_str(), &s.enable, &s.newDevice, &s.infoSeconds);
        break;
    case Family::Xbus:
        TrXbusCfgRead(HKEY_CURRENT_USER, UserKeyPath(SubKey::Xbus).c_str(), &s.enable, &s.newDevice, &category, &smart,
                      &s.infoSeconds);
        break;
    }
    return s;
}

Outcome Serving::ServeKey(DWORD eventCode) {
    const bool ppk = (eventCode & 0xFF00) == TR_EVENT_PPK;
    const Family family = ppk ? Family::PPK : Family::SKey;
    std::string label = EventLabel(eventCode);
    if (ppk) {
        label += PpkModifierWord();
        if (!ReadFamilySettings(family).enable) {
            m_reporter.Note(label + ": not served, the PPK key's Enable setting is 0");
            return Outcome::Disabled;
        }
    }
    TR_APP_DATA_STRUC app = {};
    const BOOL found = TrComGetAppDataOfKalvorEvent(&app, eventCode);
    return Looked(label, found, ppk ? CTrAppDataFinder::kPPK : CTrAppDataFinder::kSKey, family, app);
}

Outcome Serving::ServeDevice(const Device& device) {
    if (device.kind == Device::Medium) return ServeMedium(device);
    const bool usb = device.kind == Device::Usb;
    const Family family = usb ? Family::Usb : Family::Xbus;
    const WORD mask = usb ? CTrAppDataFinder::kUsb : CTrAppDataFinder::kXbus;
    const DWORD type = usb ? TR_PNP_USB : TR_PNP_XBUS;
    const std::string label = (usb ? "usb " : "ieee1394 ") + device.instanceId;
    const FamilySettings settings = ReadFamilySettings(family);
    if (!settings.enable) {
        m_reporter.Note(label + ": not served, the family's Enable setting is 0");
        return Outcome::Disabled;
    }
    const bool win2k = Win2kDeviceRules();
    {
        // The databases must open before the lookup gets a key: the lookup
        // releases the key exactly when it reaches them, and its result
        // alone does not tell whether it did.
        CTrAppDataFinder finder;
        if (finder.OpenDataBases(mask) != 0) {
            const std::string problem = DataFileProblem(mask);
            if (problem.empty()) return Looked(label, FALSE, mask, family, TR_APP_DATA_STRUC{});
            m_reporter.Problem(label + ": " + problem);
            return Outcome::Failed;
        }
        // NewDevice 0: only a device's own record serves it, never the record
        // of its type that an IEEE 1394 device without one falls back to.
        if (!usb && !settings.newDevice) {
            DeviceKey own(device, win2k);
            const CTrBaseData* record = own.Valid() ? finder.Find(1, own.Get(), type, 1, 0, 0) : nullptr;
            if (!record || record->GetPath().empty()) {
                m_reporter.Note(label + ": not served, it has no binding of its own and NewDevice is 0");
                return Outcome::NothingBound;
            }
        }
    }
    DeviceKey key(device, win2k);
    if (!key.Valid()) {
        m_reporter.Problem(label + ": out of memory");
        return Outcome::Failed;
    }
    TR_APP_DATA_STRUC app = {};
    const BOOL found = TrComGetAppDataOfPnPEvent(&app, type, key.Get());
    // It reached the open databases: Win98 descriptions and Win2K IEEE 1394
    // texts are the library's to release now, a Win2K USB text stays ours.
    if (!win2k || !usb) key.HandedOver();
    return Looked(label, found, mask, family, app);
}

Outcome Serving::ServeMedium(const Device& device) {
    const std::string label = std::string("fpmedia ") + static_cast<char>('A' + device.drive);
    if (!ReadFamilySettings(Family::Flashpod).enable) {
        m_reporter.Note(label + ": not served, the Flashpod family's Enable setting is 0");
        return Outcome::Disabled;
    }
    TR_APP_DATA_STRUC app = {};
    const BOOL found = TrComGetAppDataOfPnPEvent(&app, TR_PNP_FPMEDIA_DRIVE, static_cast<DWORD_PTR>(device.drive) << 24);
    return Looked(label, found, CTrAppDataFinder::kFlashpod, Family::Flashpod, app);
}

Outcome Serving::ServeTimer(bool withInfo) {
    TR_APP_DATA_STRUC app = {};
    const BOOL found = TrComGetAppDataOfTimer(&app);
    return Looked("timer", found, CTrAppDataFinder::kTimer, Family::Timer, app, withInfo);
}

Outcome Serving::LaunchChosen(const std::string& label, const TR_APP_DATA_STRUC& app) { return Launch(label, app, 0); }

Outcome Serving::Looked(const std::string& label, BOOL found, WORD mask, Family family, const TR_APP_DATA_STRUC& app,
                        bool withInfo) {
    if (!found) {
        const std::string problem = DataFileProblem(mask);
        if (problem.empty()) {
            m_reporter.Note(label + ": nothing is bound");
            return Outcome::NothingBound;
        }
        m_reporter.Problem(label + ": " + problem);
        return Outcome::Failed;
    }
    return Launch(label, app, withInfo ? ReadFamilySettings(family).infoSeconds : 0);
}

Outcome Serving::Launch(const std::string& label, const TR_APP_DATA_STRUC& app, DWORD infoSeconds) {
    if (infoSeconds > 0) {
        int code = 0;
        if (!TrComDoModalInfoDlg(&code, &app, infoSeconds)) {
            m_reporter.Note(label + ": the info dialog could not be shown (" + std::to_string(infoSeconds) +
                            " s); starting at once");
        } else if (code != IDOK) {
            m_reporter.Note(label + ": \"" + app.szTitle + "\" not started, the info dialog was cancelled");
            return Outcome::Cancelled;
        } else {
            m_reporter.Note(label + ": the info dialog (" + std::to_string(infoSeconds) + " s) ended with OK");
        }
    }
    HANDLE process = nullptr;
    if (!TrComLaunch(&process, &app)) {
        const DWORD error = ::GetLastError();
        m_reporter.Problem(label + ": \"" + app.szTitle + "\" was not started: " + LaunchProblem(app, error));
        return Outcome::Failed;
    }
    const tr::Handle owned(process);
    m_reporter.Note(label + ": started \"" + app.szTitle + "\" (" + app.szPath + (app.szOption[0] ? " " : "") +
                    app.szOption + ")" +
                    (process ? ", process " + std::to_string(::GetProcessId(process)) : ", handed to a running program"));
    return Outcome::Started;
}

}  // namespace trelvane
