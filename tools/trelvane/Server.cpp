// Server.cpp - the server window: start-up, the shared block, the messages.
#include "Server.h"

#include "ProductKey.h"

#include <TrCommon.h>

#include <dbt.h>
#include <shellapi.h>

#include <cstdio>

namespace trelvane {
namespace {

constexpr UINT kScheduleTimer = 1, kRegisterTimer = 2;
constexpr UINT kRegisterRetryMs = 5000;
constexpr int kRegisterAttempts = 5;  // a busy lock is released within moments
enum : UINT { kCmdSettings = 1, kCmdExit = 2, kCmdJogFirst = 100 };
// Posted to itself: serve the devices that arrived; look at the timer
// after waking up.
constexpr UINT kServeArrivals = WM_APP + 2, kAwake = WM_APP + 3;
// The binding editor, when one is installed in the program folder.
constexpr char kEditorFile[] = "TrelvaneEditor.exe";

std::string Hex(HWND h) {
    char text[24];
    std::snprintf(text, sizeof(text), "0x%08lx", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(h)));
    return text;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

}  // namespace

bool LiveServer(HWND& window) {
    HWND h = nullptr;
    if (!TrComGetServer(&h) || !h || !::IsWindow(h)) return false;
    window = h;
    return true;
}

Server::Server(ServerOptions options) : m_options(std::move(options)), m_reporter(m_options.logPath) {
    if (!m_options.clock) m_options.clock = LocalNowTicks;
}

Server::~Server() {
    if (m_window) ::DestroyWindow(m_window);  // WM_DESTROY stops everything
}

int Server::Start() {
    HWND other = nullptr;
    if (LiveServer(other)) return kServerAnother;
    // Held for the lifetime: the library's own load and free of it around
    // every lookup, path and dialog then only count references.
    m_locale.Reset(::LoadLibraryA("TrLocale.DLL"));

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kServerClass;
    ::RegisterClassExA(&wc);  // already there when a process starts a second server object
    m_window = ::CreateWindowExA(0, kServerClass, "Trelvane", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                 wc.hInstance, this);
    if (!m_window) return kServerNoWindow;
    m_taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    m_rewrite = ::RegisterWindowMessageA(TR_MSG_REWRITE_WINDOW_NAME);
    m_trelvaneMessage = ::RegisterWindowMessageA(TR_MSG_TRELVANE_NAME);
    m_reporter.Note("Trelvane started, process " + std::to_string(::GetCurrentProcessId()) + ", window " +
                    Hex(m_window));

    m_tray = std::make_unique<Tray>(m_window, m_locale.Get());
    if (m_tray->Add()) m_reporter.SetBalloon([this](const std::string& text) { return m_tray->Balloon("Trelvane", text); });
    else m_reporter.Note("no notification area: the icon and its balloons are not shown");
    if (!m_locale)
        m_reporter.Problem("TrLocale.DLL cannot be loaded: no event can be looked up and no dialog shown until it is "
                           "back (reinstall Trelvane)");
    SetUpNewUser();
    if (Register() == Registration::Another) {
        ::DestroyWindow(m_window);
        return kServerAnother;
    }
    m_hotKeys = std::make_unique<HotKeys>(m_window, m_reporter);
    m_hotKeys->Load();
    m_devices = std::make_unique<DeviceNotifications>(m_window);
    m_reporter.Note(m_devices->Registered() ? "device notifications registered"
                                            : "device notifications could not be registered (error " +
                                                  std::to_string(::GetLastError()) + "); volumes still arrive");
    // Running from here on: the timer's first look may show the past-time
    // dialog, and an Exit chosen meanwhile must end the message loop.
    m_running = true;
    m_timer = std::make_unique<TimerService>(m_window, kScheduleTimer, m_serving, m_reporter, m_options.clock);
    m_timer->Reload();
    return kServerOk;
}

// A user who never ran the product gets the machine's settings and the
// installed data files, as every program of the product may do; a user who
// has a product key keeps what is there, even a data file removed on purpose.
void Server::SetUpNewUser() {
    const std::string key = UserKeyPath(std::string());
    tr::RegKey existing;
    if (key.empty() || ::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, existing.Put()) == ERROR_SUCCESS)
        return;
    const int settings = TrComCopyRegKeyToCurrentUser(FALSE), data = TrComCopyDataToUserFolder(FALSE);
    m_reporter.Note(std::string("new user set up: settings ") + (settings ? "copied" : "not copied") +
                    ", data files " + (data ? "copied" : "not copied"));
}

Server::Registration Server::Register() {
    for (int attempt = 0; attempt < kRegisterAttempts && !m_registered; ++attempt) {
        if (TrComCreateSharedMemory() && TrComSetServer(m_window)) m_registered = true;
        HWND other = nullptr;
        if (!m_registered && LiveServer(other) && other != m_window) {
            m_reporter.Note("another server registered first (window " + Hex(other) + ")");
            return Registration::Another;
        }
        if (!m_registered) ::Sleep(20);
    }
    if (!m_registered) {
        HWND none = nullptr;
        const std::string why = TrComGetServer(&none)
                                    ? "the shared block exists without a live server window and other programs "
                                      "still hold it"
                                    : "the shared block is busy";
        m_reporter.ProblemOnce("the server window cannot be registered: " + why +
                               "; events cannot start applications until it can (trying again every 5 s)");
        ::SetTimer(m_window, kRegisterTimer, kRegisterRetryMs, nullptr);
        return Registration::Later;
    }
    ::KillTimer(m_window, kRegisterTimer);
    HWND client = nullptr;
    if (TrComGetClient(&client) && (!client || !::IsWindow(client))) m_client = TrComSetClient(m_window) != 0;
    m_reporter.Note("server window " + Hex(m_window) + " registered" + (m_client ? " (and as the client window)" : ""));
    return Registration::Done;
}

void Server::Reload() {
    m_reporter.Note("reload: hot keys and timer schedule read again");
    if (!m_registered) {
        Register();
    } else if (!m_client) {
        HWND client = nullptr;
        if (TrComGetClient(&client) && (!client || !::IsWindow(client))) m_client = TrComSetClient(m_window) != 0;
    }
    if (m_hotKeys) m_hotKeys->Load();
    if (m_timer) m_timer->Reload();
}

void Server::ShowMenu(bool jogOnly) {
    m_jog = BuildJogMenu(kCmdJogFirst);
    tr::Menu full;
    HMENU shown = m_jog.menu.Get();
    if (!jogOnly) {
        full.Reset(::CreatePopupMenu());
        ::AppendMenuA(full.Get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(m_jog.menu.Get()), "&Jog menu");
        m_jog.menu.Detach();  // the full menu owns it now
        ::AppendMenuA(full.Get(), MF_STRING, kCmdSettings, "&Settings...");
        ::AppendMenuA(full.Get(), MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(full.Get(), MF_STRING, kCmdExit, "E&xit");
        shown = full.Get();
    }
    POINT at = {};
    ::GetCursorPos(&at);
    // A tray menu closes when the user clicks elsewhere only if its window is
    // in the foreground, and the WM_NULL after it lets a second click work.
    ::SetForegroundWindow(m_window);
    const UINT command = static_cast<UINT>(::TrackPopupMenu(shown, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x,
                                                            at.y, 0, m_window, nullptr));
    ::PostMessageA(m_window, WM_NULL, 0, 0);
    if (!m_jog.problem.empty() && (jogOnly || command == 0)) m_reporter.ProblemOnce("jog menu: " + m_jog.problem);
    if (command >= kCmdJogFirst && command - kCmdJogFirst < m_jog.apps.size()) {
        const TR_APP_DATA_STRUC& app = m_jog.apps[command - kCmdJogFirst];
        m_serving.LaunchChosen(std::string("jog menu \"") + app.szTitle + "\"", app);
    } else if (command == kCmdSettings) {
        OpenSettings();
    } else if (command == kCmdExit) {
        m_reporter.Note("exit chosen in the tray menu");
        ::DestroyWindow(m_window);
    }
}

void Server::OpenSettings() {
    char folder[MAX_PATH] = "";
    const std::string programs = TrComGetPath(TR_PATH_PROGRAM_DIR, folder) ? folder : "";
    const std::string editor = programs + "\\" + kEditorFile;
    if (!programs.empty() && ::GetFileAttributesA(editor.c_str()) != INVALID_FILE_ATTRIBUTES &&
        reinterpret_cast<INT_PTR>(::ShellExecuteA(m_window, nullptr, editor.c_str(), nullptr, programs.c_str(),
                                                  SW_SHOWNORMAL)) > 32) {
        m_reporter.Note("settings: started " + editor);
        return;
    }
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string trctl = FolderOf(self) + "\\trctl.exe";
    const std::string text = "No binding editor is installed. Bindings, hot keys, the timer and the settings are "
                             "edited with " + trctl + " (trctl --help lists its commands).";
    if (m_tray) m_tray->Balloon("Trelvane settings", text, false);
    m_reporter.Note("settings: " + text);
}

void Server::Stop() {
    m_reporter.SetBalloon(nullptr);
    m_timer.reset();
    m_hotKeys.reset();
    m_devices.reset();
    m_tray.reset();
    if (m_registered) TrComDeleteSharedMemory();
    if (m_registered || m_window) m_reporter.Note("Trelvane stopped");
    m_registered = m_client = false;
}

LRESULT CALLBACK Server::Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* server = reinterpret_cast<Server*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
    return server ? server->Handle(hWnd, msg, wParam, lParam) : ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

LRESULT Server::Handle(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD code = 0;
    switch (msg) {
    case WM_HOTKEY:
        if (m_hotKeys && m_hotKeys->EventOf(wParam, code)) m_serving.ServeKey(code);
        return 0;
    case WM_DEVICECHANGE: {
        // The system sends this to every window in turn and waits: the
        // arrival is noted and served after the answer, when an info dialog
        // may take its seconds.
        const std::vector<Device> arrived = m_arrivals.Arrived(wParam, lParam);
        if (!arrived.empty() && m_arrived.empty()) ::PostMessageA(hWnd, kServeArrivals, 0, 0);
        m_arrived.insert(m_arrived.end(), arrived.begin(), arrived.end());
        return TRUE;
    }
    case kServeArrivals: {
        std::vector<Device> arrived;
        arrived.swap(m_arrived);
        for (const Device& device : arrived) m_serving.ServeDevice(device);
        return 0;
    }
    case WM_POWERBROADCAST:
        // Answered at once, like a device arrival: the past-time dialog may
        // follow, and the system waits for every window's answer.
        if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) ::PostMessageA(hWnd, kAwake, 0, 0);
        return TRUE;
    case kAwake:
        // The schedule is read afresh (it may have been changed meanwhile)
        // and a time that passed during the sleep is shown.
        m_reporter.Note("the machine woke up");
        if (m_timer) m_timer->Reload();
        return 0;
    case WM_TIMER:
        if (wParam == kScheduleTimer && m_timer) m_timer->Check();
        else if (wParam == kRegisterTimer && Register() == Registration::Another) ::DestroyWindow(hWnd);
        return 0;
    case kTrayMessage:
        if (lParam == WM_RBUTTONUP || lParam == WM_CONTEXTMENU) ShowMenu(false);
        else if (lParam == WM_LBUTTONUP) ShowMenu(true);
        return 0;
    case WM_CLOSE:
        ::DestroyWindow(hWnd);
        return 0;
    case WM_ENDSESSION:
        if (wParam) Stop();
        return 0;
    case WM_DESTROY:
        Stop();
        m_window = nullptr;
        if (m_running) ::PostQuitMessage(0);
        m_running = false;
        return 0;
    default:
        break;
    }
    if (msg == m_taskbarCreated && msg) {
        if (m_tray && m_tray->Add()) {
            m_reporter.SetBalloon([this](const std::string& text) { return m_tray->Balloon("Trelvane", text); });
            m_reporter.Note("the taskbar was made anew: icon added again");
        }
        return 0;
    }
    if (msg == m_rewrite && msg) {
        Reload();
        return 0;
    }
    if (msg == m_trelvaneMessage && msg) {
        if (m_timer) m_timer->OnWatchMessage(wParam);
        return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

int RunServer(const ServerOptions& options) {
    Server server(options);
    const int rc = server.Start();
    if (rc != kServerOk) return rc;
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        const HWND watch = server.WatchWindow();
        if (watch && ::IsDialogMessageA(watch, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return kServerOk;
}

}  // namespace trelvane
