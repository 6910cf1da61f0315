// ResidentHost.cpp - a small resident program on TrCommon.dll, the way the
// product's own resident programs use it:
//
//   resident-host [--wait <seconds>]
//       registers its window as the server (and the client) in the shared
//       block, serves the PPK key once through the lookup and the launcher,
//       then stays until a data file is rewritten, reloads its view of the
//       bindings and ends (exit 0; 3 when no rewrite came in time).
//   resident-host --rewrite
//       the editor's part, from another process: writes PPKData.dat back as
//       it is, which posts "TrMsgRewriteWindow" to the client window.
//
// The product must be installed (TrelvaneSetup.exe) and the user set up.
#include <windows.h>

#include <TrCommon.h>
#include <TrCommonClasses.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char kClassName[] = "TrResidentHostWindow";
UINT g_rewriteMessage = 0;  // "TrMsgRewriteWindow", registered by the library too
int g_exitCode = 3;

// The resident's view of the PPK bindings: their number, -1 when the file
// cannot be read. Loaded at the start and again after each rewrite.
int CountPpkBindings() {
    char path[MAX_PATH];
    if (!TrComGetPath(TR_PATH_PPK_DATA, path)) return -1;
    CTrNumeralKeyDB db;
    return db.Load(path) == TR_DB_OK ? db.GetDataNumber() : -1;
}

LRESULT CALLBACK HostProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == g_rewriteMessage && g_rewriteMessage != 0) {
        std::printf("rewrite message: bindings reloaded, %d PPK bindings\n", CountPpkBindings());
        g_exitCode = 0;
        ::DestroyWindow(hWnd);
        return 0;
    }
    if (msg == WM_TIMER) {
        std::printf("no rewrite message in time\n");
        ::DestroyWindow(hWnd);
        return 0;
    }
    if (msg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

BOOL CALLBACK CloseWindowsOf(HWND hWnd, LPARAM pid) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hWnd, &owner);
    if (owner == static_cast<DWORD>(pid) && ::IsWindowVisible(hWnd)) ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
    return TRUE;
}

// Looks the event up, starts its application through the launcher, and
// closes the application again once it is up (this is a demonstration).
bool ServeEvent(DWORD eventCode) {
    TR_APP_DATA_STRUC app = {};
    if (!TrComGetAppDataOfKalvorEvent(&app, eventCode)) {
        std::printf("event 0x%04lx: no application bound\n", static_cast<unsigned long>(eventCode));
        return false;
    }
    std::printf("event 0x%04lx: \"%s\" -> %s\n", static_cast<unsigned long>(eventCode), app.szTitle, app.szPath);
    HANDLE process = nullptr;
    if (!TrComLaunch(&process, &app)) {
        std::printf("launch refused\n");
        return false;
    }
    if (!process) {
        std::printf("started through the shell (no new process)\n");
        return true;
    }
    std::printf("started, process %lu\n", static_cast<unsigned long>(::GetProcessId(process)));
    ::WaitForInputIdle(process, 10000);
    ::EnumWindows(CloseWindowsOf, static_cast<LPARAM>(::GetProcessId(process)));
    if (::WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) ::TerminateProcess(process, 1);
    std::printf("application closed\n");
    ::CloseHandle(process);
    return true;
}

int Rewrite() {
    char path[MAX_PATH];
    if (!TrComGetPath(TR_PATH_PPK_DATA, path)) return 1;
    CTrNumeralKeyDB db;
    const int loaded = db.Load(path);
    const int written = loaded == TR_DB_OK ? db.Write(path) : loaded;
    std::printf("PPKData.dat written back: result %d\n", written);
    return written == TR_DB_OK ? 0 : 1;
}

int Resident(unsigned seconds) {
    g_rewriteMessage = ::RegisterWindowMessageA(TR_MSG_REWRITE_WINDOW_NAME);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    ::RegisterClassA(&wc);
    // A real top-level window: the launcher activates it before each start.
    HWND hWnd = ::CreateWindowA(kClassName, "Trelvane resident host", WS_OVERLAPPEDWINDOW, 0, 0, 240, 120, nullptr,
                                nullptr, wc.hInstance, nullptr);
    if (!hWnd) return 1;
    // The block must be new: another server already registered keeps it.
    if (!TrComCreateSharedMemory() || !TrComSetServer(hWnd) || !TrComSetClient(hWnd)) {
        std::printf("cannot register in the shared block (another server running?)\n");
        ::DestroyWindow(hWnd);
        return 1;
    }
    std::printf("server and client window 0x%08lx registered\n",
                static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hWnd)));
    std::printf("bindings loaded, %d PPK bindings\n", CountPpkBindings());
    const bool served = ServeEvent(TR_EVENT_PPK | 0x01);
    std::printf("waiting for a rewrite message\n");
    std::fflush(stdout);
    ::SetTimer(hWnd, 1, seconds * 1000, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        std::fflush(stdout);
    }
    TrComDeleteSharedMemory();
    return served ? g_exitCode : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && !std::strcmp(argv[1], "--rewrite")) return Rewrite();
    unsigned seconds = 60;
    if (argc == 3 && !std::strcmp(argv[1], "--wait")) seconds = std::strtoul(argv[2], nullptr, 10);
    else if (argc != 1) {
        std::fprintf(stderr, "usage: resident-host [--wait <seconds>] | --rewrite\n");
        return 2;
    }
    return Resident(seconds);
}
