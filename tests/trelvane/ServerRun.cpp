// ServerRun.cpp - starting, following and stopping Trelvane.exe.
#include "ServerRun.h"

#include <cstdlib>
#include <cstring>

namespace trtest {
namespace {

BYTE VirtualKeyOf(const std::string& word) {
    static const struct { const char* name; BYTE key; } named[] = {
        {"Win", VK_LWIN}, {"Ctrl", VK_CONTROL}, {"Alt", VK_MENU}, {"Shift", VK_SHIFT}, {"Insert", VK_INSERT}};
    for (const auto& n : named)
        if (word == n.name) return n.key;
    if (word.size() > 1 && word[0] == 'F') return static_cast<BYTE>(VK_F1 + std::atoi(word.c_str() + 1) - 1);
    return static_cast<BYTE>(word[0]);
}

}  // namespace

const GUID kUsbInterfaceClass = {0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

std::string RecorderPath() { return SelfFolder() + "tr_recorder.exe"; }

Recorder::Recorder() : m_file(m_folder / "record.txt") {
    ::SetEnvironmentVariableA("TR_RECORDER_OUT", m_file.c_str());
}

bool Recorder::Ran() const { return ::GetFileAttributesA(m_file.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Recorder::NextArg(DWORD timeoutMs) {
    for (DWORD waited = 0; !Ran() && waited < timeoutMs; waited += 50) ::Sleep(50);
    std::string record;
    if (!ReadFileBytes(m_file, record)) return std::string();
    ::DeleteFileA(m_file.c_str());
    const std::size_t at = record.find("arg1=");
    return at == std::string::npos ? "(no argument)" : record.substr(at + 5, record.find('\n', at) - at - 5);
}

bool ServeAtOnce() {
    bool ok = true;
    for (const char* family : {"PPKConfig", "SKeyConfig", "TimerConfig", "USBConfig", "XbusConfig", "FlashpodConfig"})
        ok &= SetUserValue(family, "InfoDialog", 0);
    for (const auto& [family, name] :
         {std::pair{"USBConfig", "Enable"}, {"XbusConfig", "Enable"}, {"FlashpodConfig", "Enable"},
          {"USBConfig", "NewDevice"}, {"XbusConfig", "NewDevice"}, {"XbusConfig", "Category"},
          {"FlashpodConfig", "SlotEnable"}, {"FlashpodConfig", "DriveLetter"}})
        ok &= SetUserValue(family, name, 1);
    return ok;
}

RunningServer::RunningServer(const std::string& exe, const std::string& folder, const std::string& args)
    : m_log(m_folder / "server.log"),
      m_run(exe.empty() ? SelfFolder() + "Trelvane.exe" : exe, args + " --log \"" + m_log + "\"", folder) {
    m_started = m_run.Valid() && WaitFor("hot keys registered");
}

int RunningServer::Count(const std::string& text) const {
    const std::string log = Log();
    int n = 0;
    for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + text.size())) ++n;
    return n;
}

HWND RunningServer::Window() const {
    const std::string log = Log();
    const std::size_t at = log.find(", window 0x");
    return at == std::string::npos ? nullptr
                                   : reinterpret_cast<HWND>(std::strtoull(log.c_str() + at + 9, nullptr, 16));
}

int RunningServer::Stop() {
    if (HWND window = Window()) ::PostMessageA(window, WM_CLOSE, 0, 0);
    return m_run.Wait(15000);
}

Keys::Keys(const std::string& combination, DWORD settleMs) {
    std::vector<BYTE> keys;
    for (std::size_t start = 0; start <= combination.size();) {
        const std::size_t plus = std::min(combination.find('+', start), combination.size());
        keys.push_back(VirtualKeyOf(combination.substr(start, plus - start)));
        start = plus + 1;
    }
    ::Sleep(settleMs);
    const BYTE key = keys.back();
    m_modifiers.assign(keys.begin(), keys.end() - 1);
    const DWORD extended = key == VK_INSERT ? KEYEVENTF_EXTENDEDKEY : 0;
    for (BYTE m : m_modifiers) ::keybd_event(m, 0, 0, 0);
    ::keybd_event(key, 0, extended, 0);
    ::keybd_event(key, 0, extended | KEYEVENTF_KEYUP, 0);
}

Keys::~Keys() {
    for (auto m = m_modifiers.rbegin(); m != m_modifiers.rend(); ++m) ::keybd_event(*m, 0, KEYEVENTF_KEYUP, 0);
}

std::vector<char> VolumeArrival(DWORD unitMask, WORD flags) {
    std::vector<char> buffer(sizeof(DEV_BROADCAST_VOLUME));
    *reinterpret_cast<DEV_BROADCAST_VOLUME*>(buffer.data()) = {sizeof(DEV_BROADCAST_VOLUME), DBT_DEVTYP_VOLUME, 0,
                                                               unitMask, flags};
    return buffer;
}

LRESULT SendArrival(HWND window, const std::vector<char>& arrival) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(arrival.data()),
                          SMTO_NORMAL, 30000, &result);
    return static_cast<LRESULT>(result);
}

bool RemovableDriveReady() {
    for (int tries = 0; tries < 100; ++tries, ::Sleep(200))
        if (::GetDriveTypeA("R:\\") == DRIVE_REMOVABLE) return true;
    return false;
}

HWND WaitForDialog(HWND server, int control, DWORD timeoutMs) {
    struct Search {
        HWND owner;
        int control;
        HWND found;
    } search = {server, control, nullptr};
    for (DWORD waited = 0; waited <= timeoutMs; waited += 100) {
        ::EnumWindows(
            [](HWND h, LPARAM p) {
                auto* s = reinterpret_cast<Search*>(p);
                if (::GetWindow(h, GW_OWNER) == s->owner && ::GetDlgItem(h, s->control)) s->found = h;
                return s->found ? FALSE : TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        ::Sleep(100);
    }
    return nullptr;
}

std::string ItemText(HWND dialog, int id) {
    char text[256] = "";
    ::GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

}  // namespace trtest
