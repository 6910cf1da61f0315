// Server.h - the resident server: one hidden top-level window (top-level so
// that volume arrivals, "TaskbarCreated" and power broadcasts reach it) that
// is the product's server window in the shared block, and the client window
// too while no other client is registered. It owns the tray icon, the hot
// keys, the device notification and the timer, and serves each event on
// its own thread, as the launcher and the dialogs require.
#ifndef TRELVANE_SERVER_H
#define TRELVANE_SERVER_H

#include <windows.h>

#include "Devices.h"
#include "HotKeys.h"
#include "JogMenu.h"
#include "Reporter.h"
#include "Serving.h"
#include "TimerService.h"
#include "Tray.h"

#include <memory>
#include <string>
#include <vector>

namespace trelvane {

// The window class of the server window: how "Trelvane.exe --exit" and a
// second instance recognise a running Trelvane.
constexpr char kServerClass[] = "TrelvaneServer";

struct ServerOptions {
    std::string logPath;  // --log: the log file, "" for none
    Clock clock;          // the local time; empty for the system's
};

// Exit codes of Trelvane.exe.
enum ServerExit : int {
    kServerOk = 0,
    kServerUsage = 2,          // bad command line
    kServerAnother = 3,        // another server window is registered and alive
    kServerNoWindow = 5,       // the window could not be created
    kServerNoneRunning = 6,    // --exit: no Trelvane server runs
    kServerDidNotEnd = 7,      // --exit: the server was asked but did not end in time
};

// Whether a live server window is registered, and which.
bool LiveServer(HWND& window);

class Server {
public:
    explicit Server(ServerOptions options);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Creates the window and everything it owns and registers it. kServerOk,
    // or why not (another live server: nothing was created).
    int Start();
    HWND Window() const { return m_window; }
    bool Registered() const { return m_registered; }
    Reporter& Reports() { return m_reporter; }
    // The timer's watch window while one is open (keyboard use of its button
    // goes through IsDialogMessage in the message loop).
    HWND WatchWindow() const { return m_timer ? m_timer->WatchWindow() : nullptr; }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    enum class Registration { Done, Another, Later };
    Registration Register();
    void SetUpNewUser();
    void Reload();
    void ShowMenu(bool jogOnly);
    void OpenSettings();
    void Stop();

    ServerOptions m_options;
    Reporter m_reporter;
    Serving m_serving{m_reporter};
    tr::Module m_locale;  // TrLocale.DLL, held for the server's lifetime
    HWND m_window = nullptr;
    bool m_registered = false;
    bool m_client = false;
    bool m_running = false;  // Start succeeded: closing the window ends the message loop
    std::unique_ptr<Tray> m_tray;
    std::unique_ptr<HotKeys> m_hotKeys;
    std::unique_ptr<DeviceNotifications> m_devices;
    std::unique_ptr<TimerService> m_timer;
    ArrivalFilter m_arrivals;
    std::vector<Device> m_arrived;  // decoded, waiting for kServeArrivals
    JogMenu m_jog;  // the menu last shown, until the next one
    UINT m_taskbarCreated = 0, m_rewrite = 0, m_trelvaneMessage = 0;
};

// Runs the server until its window is closed (tray "Exit", WM_CLOSE, the
// session ending). The exit code.
int RunServer(const ServerOptions& options);

}  // namespace trelvane

#endif  // TRELVANE_SERVER_H
