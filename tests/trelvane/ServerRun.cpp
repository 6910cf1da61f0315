// ServerRun.cpp - starting, following and stopping Trelvane.exe.
#include "ServerRun.h"

#include <dbt.h>

#include <cstdlib>
#include <cstring>

namespace trtest {
namespace {

std::string ReadShared(const std::string& path) {
    tr::Handle f(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (f && ::ReadFile(f.Get(), buffer, sizeof(buffer), &got, nullptr) && got) bytes.append(buffer, got);
    return bytes;
}

int Occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

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

RunningServer::RunningServer(const std::string& exe, const std::string& folder, const std::string& args)
    : m_log(m_folder / "server.log") {
    const std::string image = exe.empty() ? SelfFolder() + "Trelvane.exe" : exe;
    std::string cmd = "\"" + image + "\" " + args + " --log \"" + m_log + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(image.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        return;
    ::CloseHandle(pi.hThread);
    m_process.Reset(pi.hProcess);
    m_pid = pi.dwProcessId;
    m_started = WaitFor("hot keys registered");
}

RunningServer::~RunningServer() {
    if (m_process && Stop() == -1) ::TerminateProcess(m_process.Get(), 1);
}

std::string RunningServer::Log() const { return ReadShared(m_log); }

int RunningServer::Count(const std::string& text) const { return Occurrences(Log(), text); }

bool RunningServer::WaitFor(const std::string& text, int times, DWORD timeoutMs) const {
    for (DWORD waited = 0;; waited += 10) {
        if (Count(text) >= times) return true;
        if (waited >= timeoutMs || !m_process || ::WaitForSingleObject(m_process.Get(), 10) == WAIT_OBJECT_0)
            return Count(text) >= times;
    }
}

HWND RunningServer::Window() const {
    const std::string log = Log();
    const std::size_t at = log.find(", window 0x");
    return at == std::string::npos ? nullptr
                                   : reinterpret_cast<HWND>(std::strtoull(log.c_str() + at + 9, nullptr, 16));
}

int RunningServer::Stop() {
    if (!m_process) return -1;
    if (HWND window = Window()) ::PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = DWORD(-1);
    if (::WaitForSingleObject(m_process.Get(), 15000) != WAIT_OBJECT_0) return -1;
    ::GetExitCodeProcess(m_process.Get(), &code);
    m_process.Reset();
    return static_cast<int>(code);
}

Ended RunTrelvane(const std::string& args) {
    TempFolder temp;
    Ended e;
    {
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        tr::Handle out(::CreateFileA((temp / "out.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                     CREATE_ALWAYS, 0, nullptr));
        e.code = RunProcess(SelfFolder() + "Trelvane.exe", args, out.Get(), out.Get());
    }
    ReadFileBytes(temp / "out.txt", e.out);
    return e;
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

LRESULT SendInterfaceArrival(HWND window, const GUID& interfaceClass, const std::string& path) {
    std::vector<char> buffer(offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name) + path.size() + 1);
    auto* d = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(buffer.data());
    d->dbcc_size = static_cast<DWORD>(buffer.size());
    d->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    d->dbcc_classguid = interfaceClass;
    std::memcpy(d->dbcc_name, path.c_str(), path.size() + 1);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(d), SMTO_NORMAL, 30000,
                          &result);
    return static_cast<LRESULT>(result);
}

bool RemovableDriveReady() {
    for (int tries = 0; tries < 100; ++tries, ::Sleep(200))
        if (::GetDriveTypeA("R:\\") == DRIVE_REMOVABLE) return true;
    return false;
}

LRESULT SendVolumeArrival(HWND window, DWORD unitMask, WORD flags) {
    DEV_BROADCAST_VOLUME v = {};
    v.dbcv_size = sizeof(v);
    v.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    v.dbcv_unitmask = unitMask;
    v.dbcv_flags = flags;
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&v), SMTO_NORMAL, 30000,
                          &result);
    return static_cast<LRESULT>(result);
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
