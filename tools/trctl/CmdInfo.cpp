// CmdInfo.cpp - shows the counting-down info dialog for an application.
#include "Commands.h"

#include <cstdio>
#include <cstdlib>

#include "DialogHost.h"

namespace trctl {

int RunInfo(const Args& argsIn) {
    Args args = argsIn;
    TR_APP_DATA_STRUC data = {};
    std::string error;
    if (!TakeAppOptions(args, data, error)) return Fail(kExitUsage, "info: " + error);
    if (args.size() != 1) return Fail(kExitUsage, "info: expects the seconds (1 to 99)");
    char* end = nullptr;
    const unsigned long seconds = std::strtoul(args[0].c_str(), &end, 10);
    if (!end || *end) return Fail(kExitUsage, "info: '" + args[0] + "' is no number of seconds");

    DialogServer server;
    if (!server.Ready()) return Fail(kExitBusy, "info: the shared block is busy");
    int code = 0;
    if (!TrComDoModalInfoDlg(&code, &data, static_cast<UINT>(seconds)))
        return Fail(kExitSystem, "info: the dialog did not run (seconds outside 1 to 99, or no TrLocale.DLL)");
    std::printf("info dialog ended: %s (%d)\n", code == IDOK ? "IDOK" : code == IDCANCEL ? "IDCANCEL" : "failed", code);
    return kExitOk;
}

}  // namespace trctl
