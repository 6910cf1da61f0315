// CmdWatch.cpp - opens a watch window, waits for it and tells how it ended.
#include "Commands.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "DialogHost.h"

namespace trctl {
namespace {

bool ToInt(const std::string& text, long long low, long long high, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 0);
    return end && !*end && !text.empty() && value >= low && value <= high;
}

}  // namespace

int RunWatch(const Args& args) {
    long long minutes = 0, code = 0, row = 0;
    std::vector<std::string> plain;
    std::string caption = "Trelvane";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--row" && i + 1 < args.size()) {
            if (!ToInt(args[++i], INT_MIN, INT_MAX, row)) return Fail(kExitUsage, "watch: bad row '" + args[i] + "'");
        } else if (args[i] == "--caption" && i + 1 < args.size()) {
            caption = args[++i];
        } else {
            plain.push_back(args[i]);
        }
    }
    if (plain.size() != 2) return Fail(kExitUsage, "watch: expects <minutes> <code>");
    if (!ToInt(plain[0], INT_MIN, INT_MAX, minutes)) return Fail(kExitUsage, "watch: bad minutes '" + plain[0] + "'");
    if (!ToInt(plain[1], 0, 0xFFFFFFFFLL, code)) return Fail(kExitUsage, "watch: bad event code '" + plain[1] + "'");

    DialogServer server;
    if (!server.Ready()) return Fail(kExitBusy, "watch: the shared block is busy");
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
