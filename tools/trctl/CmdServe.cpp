// CmdServe.cpp - "find" looks an event up; "serve" looks it up and starts its
// application the way the resident server does.
#include "Commands.h"
#include "EventArgs.h"
#include "InfoStep.h"

#include "base/TrHandle.h"

#include <cstdio>
#include <cstdlib>

namespace trctl {
namespace {

constexpr char kServerClass[] = "TrctlServeWindow";

LRESULT CALLBACK ServerProc(HWND h, UINT m, WPARAM w, LPARAM l) { return ::DefWindowProcA(h, m, w, l); }

// A server window of our own when no server is registered. The launcher
// activates it, and activation only works on the owning thread: ours.
tr::Window RegisterOwnServer() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ServerProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kServerClass;
    ::RegisterClassA(&wc);
    tr::Window window(::CreateWindowA(kServerClass, "Trelvane server (trctl serve)", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                      100, nullptr, nullptr, wc.hInstance, nullptr));
    if (window && !TrComSetServer(window.Get())) window.Reset();
    return window;
}

BOOL CALLBACK CloseWindowsOf(HWND hWnd, LPARAM pid) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hWnd, &owner);
    if (owner == static_cast<DWORD>(pid) && ::IsWindowVisible(hWnd)) ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
    return TRUE;
}

// Waits for the started program; after 'seconds' asks its windows to close,
// and ends it when it does not within three more seconds.
void WaitOrClose(HANDLE process, unsigned seconds) {
    if (::WaitForSingleObject(process, seconds * 1000) == WAIT_OBJECT_0) {
        DWORD code = 0;
        ::GetExitCodeProcess(process, &code);
        std::printf("program ended     exit code %lu\n", static_cast<unsigned long>(code));
        return;
    }
    ::EnumWindows(CloseWindowsOf, static_cast<LPARAM>(::GetProcessId(process)));
    if (::WaitForSingleObject(process, 3000) == WAIT_OBJECT_0) {
        std::printf("program closed    after %u s\n", seconds);
        return;
    }
    ::TerminateProcess(process, 1);
    ::WaitForSingleObject(process, 3000);
    std::printf("program ended     (terminated after %u s)\n", seconds);
}

}  // namespace

int RunFind(const Args& args) {
    Event event;
    std::size_t used = 0;
    std::string error;
    if (!ParseEvent(args, 0, event, used, error)) return Fail(kExitUsage, "find: " + error);
    if (used != args.size()) return Fail(kExitUsage, "find: unexpected argument '" + args[used] + "'");
    TR_APP_DATA_STRUC block = {};
    const int rc = LookUp(event, block);
    if (rc != kExitOk) return rc;
    PrintBlock(event, block);
    return kExitOk;
}

int RunServe(const Args& args) {
    Event event;
    std::size_t used = 0;
    std::string error;
    if (!ParseEvent(args, 0, event, used, error)) return Fail(kExitUsage, "serve: " + error);
    bool wait = false;
    unsigned seconds = 0;
    for (std::size_t i = used; i < args.size(); ++i) {
        if (args[i] == "--timeout" && i + 1 < args.size()) {
            char* end = nullptr;
            seconds = static_cast<unsigned>(std::strtoul(args[++i].c_str(), &end, 10));
            if (*end != '\0') return Fail(kExitUsage, "serve: --timeout needs a number of seconds");
            wait = true;
        } else {
            return Fail(kExitUsage, "serve: unexpected argument '" + args[i] + "'");
        }
    }

    HWND hServer = nullptr;
    tr::Window own;
    if (!TrComGetServer(&hServer)) {
        own = RegisterOwnServer();
        if (!own) return Fail(kExitBusy, "serve: no server window is registered and none could be registered");
        std::printf("server window     0x%08lx (registered by trctl)\n",
                    static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(own.Get())));
    }

    TR_APP_DATA_STRUC block = {};
    const int rc = LookUp(event, block);
    if (rc != kExitOk) return rc;
    PrintBlock(event, block);
    std::fflush(stdout);

    // The family may ask for the info dialog first; only its IDOK launches.
    if (!InfoStepAllowsLaunch(event, block)) {
        if (own) TrComDeleteSharedMemory();
        std::printf("not started       (the info dialog was cancelled)\n");
        return kExitOk;
    }

    HANDLE started = nullptr;
    const int launched = TrComLaunch(&started, &block);
    tr::Handle process(started);
    if (own) TrComDeleteSharedMemory();
    if (!launched)
        return Fail(kExitLaunch, event.label + ": the launch was refused (" + std::string(block.szPath) +
                                     " has no associated program and is no shortcut, or the shell failed)");
    if (!process) {
        std::printf("started           (the shell handed it to a running program)\n");
        return kExitOk;
    }
    std::printf("started           process %lu\n", static_cast<unsigned long>(::GetProcessId(process.Get())));
    std::fflush(stdout);
    if (wait) WaitOrClose(process.Get(), seconds);
    return kExitOk;
}

}  // namespace trctl
