// CmdWatch.cpp - opens a watch window, waits for it and tells how it ended.
#include "Commands.h"

#include <climits>
#include <cstdio>

#include "DialogHost.h"

namespace trctl {

int RunWatch(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("watch", args, {{"--row", true}, {"--caption", true}}, o, rc)) return rc;
    long long minutes = 0, code = 0, row = 0;
    std::string error;
    if (!NumberOption(o, "--row", 0, 99, row, error)) return Fail(kExitUsage, "watch: " + error);
    const std::string caption = o.Value("--caption") ? *o.Value("--caption") : "Trelvane";
    if (caption.size() > kFieldLimit) return Fail(kExitUsage, "watch: --caption is longer than 259 bytes");
    const Args& plain = o.Positional();
    if (plain.size() != 2) return Fail(kExitUsage, "watch: expects <minutes> <code>");
    if (!ParseNumber(plain[0], 0, INT_MAX, minutes))
        return Fail(kExitUsage, NumberError("watch: minutes", plain[0], 0, INT_MAX));
    if (!ParseNumber(plain[1], 0, 0xFFFFFFFFLL, code))
        return Fail(kExitUsage, NumberError("watch: event code", plain[1], 0, 0xFFFFFFFFLL));

    DialogServer server;
    if (!server.Ready()) return Fail(server.ExitCode(), "watch: " + server.Problem());
    HWND hWnd = nullptr;
    if (!TrComCreateWatchDlg(&hWnd, static_cast<int>(minutes), static_cast<UINT>(code), caption.c_str(), nullptr,
                             static_cast<int>(row)))
        return Fail(kExitSystem, "watch: the window was not created (no TrLocale.DLL?)");
    std::printf("watch window 0x%08lx counting %lld minutes\n",
                static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hWnd)), minutes);
    std::fflush(stdout);

    MSG msg;
    while (::IsWindow(hWnd) && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (::IsDialogMessageA(hWnd, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    // The window posts to its owner just before it goes; collect that post.
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);

    if (!server.Own()) {
        std::printf("watch window closed; its message went to the server window of another process\n");
    } else if (server.Received().empty()) {
        std::printf("watch window closed without a message\n");
    } else {
        const WPARAM w = server.Received().back();
        std::printf("watch window ended: %s (wParam 0x%06lx)\n", w == TR_WATCH_CANCELLED ? "cancelled" : "time up",
                    static_cast<unsigned long>(w));
    }
    return kExitOk;
}

}  // namespace trctl
