// CmdServe.cpp - "find" looks an event up; "serve" looks it up and starts its
// application the way the resident server does.
#include "DialogHost.h"
#include "EventArgs.h"
#include "InfoStep.h"
#include "Json.h"

#include "Diagnosis.h"

#include "base/TrHandle.h"

#include <cstdio>

namespace trctl {
namespace {

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
    Options o;
    int rc = 0;
    if (!ParseOptions("find", args, {TRCTL_EVENT_OPTIONS, {"--json", false}}, o, rc)) return rc;
    Event event;
    std::size_t used = 0;
    std::string error;
    if (!ParseEvent(o, 0, event, used, error)) return Fail(kExitUsage, "find: " + error);
    if (used != o.Positional().size())
        return Fail(kExitUsage, "find: unexpected argument '" + o.Positional()[used] + "'");
    TR_APP_DATA_STRUC block = {};
    if ((rc = LookUp(event, block)) != kExitOk) return rc;
    if (!o.Has("--json")) {
        PrintBlock(event, block);
        return kExitOk;
    }
    PrintJson({{"event", Utf8(event.label)},
               {"title", Utf8(block.szTitle)},
               {"description", Utf8(block.szDescription)},
               {"path", Utf8(block.szPath)},
               {"workdir", Utf8(block.szWorkDir)},
               {"option", Utf8(block.szOption)}});
    return kExitOk;
}

int RunServe(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("serve", args, {TRCTL_EVENT_OPTIONS, {"--timeout", true}}, o, rc)) return rc;
    Event event;
    std::size_t used = 0;
    std::string error;
    if (!ParseEvent(o, 0, event, used, error)) return Fail(kExitUsage, "serve: " + error);
    if (used != o.Positional().size())
        return Fail(kExitUsage, "serve: unexpected argument '" + o.Positional()[used] + "'");
    long long seconds = 0;
    if (!NumberOption(o, "--timeout", 1, USER_TIMER_MAXIMUM / 1000, seconds, error))
        return Fail(kExitUsage, "serve: " + error);

    TR_APP_DATA_STRUC block = {};
    std::string refusal;
    tr::Handle process;
    {
        // The launcher activates the server window, and activation only works
        // on the owning thread: a window of our own lives on this one.
        DialogServer server;
        if (!server.Ready()) return Fail(server.ExitCode(), "serve: " + server.Problem());
        if (server.Own())
            std::printf("server window     0x%08lx (registered by trctl)\n",
                        static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(server.Window())));
        if ((rc = LookUp(event, block)) != kExitOk) return rc;
        PrintBlock(event, block);
        std::fflush(stdout);

        // The family may ask for the info dialog first; only its IDOK launches.
        if (!InfoStepAllowsLaunch(event, block)) {
            std::printf("not started       (the info dialog was cancelled)\n");
            return kExitOk;
        }
        HANDLE started = nullptr;
        if (!TrComLaunch(&started, &block)) refusal = trelvane::LaunchProblem(block, ::GetLastError());
        process.Reset(started);
    }
    if (!refusal.empty()) return Fail(kExitLaunch, event.label + ": the launch was refused: " + refusal);
    if (!process) {
        std::printf("started           (the shell handed it to a running program)\n");
        return kExitOk;
    }
    std::printf("started           process %lu\n", static_cast<unsigned long>(::GetProcessId(process.Get())));
    std::fflush(stdout);
    if (o.Has("--timeout")) WaitOrClose(process.Get(), static_cast<unsigned>(seconds));
    return kExitOk;
}

}  // namespace trctl
