// CmdWindows.cpp - publishing and reading the server and client windows.
#include "Json.h"
#include "Options.h"

#include "include/TrCommon.h"

#include <cstdio>
#include <string>

namespace trctl {
namespace {

constexpr char kClassName[] = "TrctlHostWindow";

LRESULT CALLBACK HostProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) { ::PostQuitMessage(0); return 0; }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

HWND CreateHostWindow(const char* title) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    ::RegisterClassA(&wc);
    return ::CreateWindowA(kClassName, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320, 200,
                           nullptr, nullptr, wc.hInstance, nullptr);
}

unsigned long Word(HWND h) { return static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(h)); }

std::string Hex(HWND h) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lx", Word(h));
    return text;
}

// Why a server window cannot be registered now.
std::string WhyNoServer() {
    HWND registered = nullptr;
    if (!TrComGetServer(&registered)) return "the shared block is busy";
    if (registered && ::IsWindow(registered)) return "a server is already registered (window " + Hex(registered) + ")";
    return "the shared block exists without a live server window; other processes still keep it, and a new "
           "server can register once they have ended";
}

bool FromTrctlHost(HWND h) {
    char name[64] = "";
    return ::GetClassNameA(h, name, sizeof(name)) > 0 && std::string(name) == kClassName;
}

}  // namespace

int RunHost(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("host", args, {{"--client", false}, {"--watch", false}, {"--seconds", true}}, o, rc)) return rc;
    if (!o.Positional().empty()) return Fail(kExitUsage, "host: unexpected argument '" + o.Positional()[0] + "'");
    long long seconds = 60;
    std::string error;
    if (!NumberOption(o, "--seconds", 1, USER_TIMER_MAXIMUM / 1000, seconds, error))
        return Fail(kExitUsage, "host: " + error);
    const bool client = o.Has("--client"), watch = o.Has("--watch");

    HWND hWnd = CreateHostWindow(client ? "Trelvane client (trctl)" : "Trelvane server (trctl)");
    if (!hWnd) return Fail(kExitSystem, "host: cannot create a window (error " + std::to_string(::GetLastError()) + ")");
    const int ok = client ? TrComSetClient(hWnd) : TrComSetServer(hWnd);
    if (!ok) {
        ::DestroyWindow(hWnd);
        return client ? Fail(kExitNoBlock, "host: no shared block to join (is a server registered?)")
                      : Fail(kExitBusy, "host: " + WhyNoServer());
    }
    // The rewrite message goes to the client window, so a watching server is
    // its own client too.
    const bool watching = watch && (client || TrComSetClient(hWnd));
    std::printf("%s window %s registered%s\n", client ? "client" : "server", Hex(hWnd).c_str(),
                watching ? (client ? ", watching for rewrite messages" : " (and as client), watching for rewrite messages")
                         : "");
    if (watch && !watching) std::printf("not watching: the window could not be registered as the client\n");
    std::fflush(stdout);

    const UINT rewrite = ::RegisterWindowMessageA(TR_MSG_REWRITE_WINDOW_NAME);
    unsigned rewrites = 0;
    ::SetTimer(hWnd, 1, static_cast<UINT>(seconds * 1000), nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == hWnd) { ::DestroyWindow(hWnd); continue; }
        if (watching && msg.message == rewrite) {
            std::printf("rewrite message %u received (wParam %lu, lParam %ld)\n", ++rewrites,
                        static_cast<unsigned long>(msg.wParam), static_cast<long>(msg.lParam));
            std::fflush(stdout);
            continue;
        }
        ::DispatchMessageA(&msg);
    }
    if (!client) TrComDeleteSharedMemory();
    std::printf("%s window closed\n", client ? "client" : "server");
    return kExitOk;
}

int RunWindows(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("windows", args, {{"--close", false}, {"--force", false}, {"--json", false}}, o, rc)) return rc;
    if (!o.Positional().empty()) return Fail(kExitUsage, "windows: unexpected argument '" + o.Positional()[0] + "'");
    HWND hServer = nullptr, hClient = nullptr;
    if (!TrComGetServer(&hServer)) {
        return Fail(TrComCreateSharedMemory() ? kExitNoBlock : kExitBusy,
                    "windows: no shared block (no server has registered), or it is busy");
    }
    if (!TrComGetClient(&hClient)) return Fail(kExitBusy, "windows: the shared block is busy");
    const bool alive = hServer && ::IsWindow(hServer), own = alive && FromTrctlHost(hServer);
    if (o.Has("--json")) {
        PrintJson({{"server", Word(hServer)}, {"client", Word(hClient)}, {"serverAlive", alive}, {"serverFromTrctlHost", own}});
    } else {
        std::printf("server window %s%s\nclient window %s\n", Hex(hServer).c_str(),
                    !hServer ? " (none)" : !alive ? " (no longer exists)" : own ? " (trctl host)" : "",
                    Hex(hClient).c_str());
    }
    if (!o.Has("--close")) return kExitOk;
    if (!alive) return Fail(kExitNoBlock, "windows: no live server window to close");
    // Only a window of trctl host is ours to close; the product's server
    // would take the request as the user quitting.
    if (!own && !o.Has("--force"))
        return Fail(kExitUsage, "windows: the server window " + Hex(hServer) +
                                    " was not registered by trctl host; add --force to close it anyway");
    ::PostMessageA(hServer, WM_CLOSE, 0, 0);
    return kExitOk;
}

}  // namespace trctl
