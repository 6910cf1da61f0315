// CmdWindows.cpp - publishing and reading the server and client windows.
#include "Commands.h"

#include "base/TrHandle.h"
#include "include/TrCommon.h"

#include <cstdio>
#include <cstdlib>
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

}  // namespace

int RunHost(const Args& args) {
    bool client = false;
    unsigned seconds = 60;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--client") client = true;
        else if (args[i] == "--seconds" && i + 1 < args.size()) seconds = std::strtoul(args[++i].c_str(), nullptr, 10);
        else return Fail(kExitUsage, "host: unexpected argument '" + args[i] + "'");
    }
    // A resident host keeps TrLocale.DLL loaded for its lifetime: the
    // library's own load and free of it around every lookup, path and dialog
    // then only count references. Without the file the host still runs.
    const tr::Module locale(::LoadLibraryA("TrLocale.DLL"));
    HWND hWnd = CreateHostWindow(client ? "Trelvane client (trctl)" : "Trelvane server (trctl)");
    if (!hWnd) return Fail(kExitSystem, "host: cannot create a window (error " + std::to_string(::GetLastError()) + ")");
    const int ok = client ? TrComSetClient(hWnd) : TrComSetServer(hWnd);
    if (!ok) {
        ::DestroyWindow(hWnd);
        return client ? Fail(kExitNoBlock, "host: no shared block to join (is a server registered?)")
                      : Fail(kExitBusy, "host: a server is already registered, or the block is busy");
    }
    std::printf("%s window 0x%08lx registered\n", client ? "client" : "server",
                static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hWnd)));
    std::fflush(stdout);

    ::SetTimer(hWnd, 1, seconds * 1000, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == hWnd) { ::DestroyWindow(hWnd); continue; }
        ::DispatchMessageA(&msg);
    }
    if (!client) TrComDeleteSharedMemory();
    std::printf("%s window closed\n", client ? "client" : "server");
    return kExitOk;
}

int RunWindows(const Args& args) {
    const bool close = !args.empty() && args[0] == "--close";
    if (!args.empty() && !close) return Fail(kExitUsage, "windows: unexpected argument '" + args[0] + "'");
    HWND hServer = nullptr, hClient = nullptr;
    if (!TrComGetServer(&hServer)) {
        return Fail(TrComCreateSharedMemory() ? kExitNoBlock : kExitBusy,
                    "windows: no shared block (no server has registered), or it is busy");
    }
    if (!TrComGetClient(&hClient)) return Fail(kExitBusy, "windows: the shared block is busy");
    std::printf("server window 0x%08lx\nclient window 0x%08lx\n",
                static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hServer)),
                static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hClient)));
    if (close && hServer) ::PostMessageA(hServer, WM_CLOSE, 0, 0);
    return kExitOk;
}

}  // namespace trctl
