// CmdPast.cpp - shows the past-time dialog for a timed event.
#include "Commands.h"

#include <cstdio>
#include <cstring>

#include "DialogHost.h"

namespace trctl {

int RunPast(const Args& argv) {
    Options o;
    int rc = 0;
    if (!ParseOptions("past", argv, {TRCTL_APP_OPTIONS}, o, rc)) return rc;
    TR_APP_DATA_STRUC data = {};
    std::string error;
    if (!AppBlockFromOptions(o, data, error)) return Fail(kExitUsage, "past: " + error);
    const Args& args = o.Positional();
    if (args.size() != 2) return Fail(kExitUsage, "past: expects <event> <time>");
    SYSTEMTIME when;
    if (!ParseLocalTime(args[1], when)) return Fail(kExitUsage, "past: '" + args[1] + "' is no time");

    if (args[0] == "timer") {
        TR_APP_DATA_STRUC found = {};
        if (!TrComGetAppDataOfTimer(&found)) return Fail(kExitNoBinding, "past: no application is bound to the timer");
        // Options given on the command line win over the record's texts.
        if (!data.szTitle[0]) std::memcpy(data.szTitle, found.szTitle, sizeof(data.szTitle));
        if (!data.szDescription[0]) std::memcpy(data.szDescription, found.szDescription, sizeof(data.szDescription));
        if (!data.szPath[0]) std::memcpy(data.szPath, found.szPath, sizeof(data.szPath));
    } else if (args[0] != "-") {
        return Fail(kExitUsage, "past: unknown event '" + args[0] + "' (timer, or - for the options alone)");
    }

    DialogServer server;
    if (!server.Ready()) return Fail(server.ExitCode(), "past: " + server.Problem());
    int code = 0;
    if (!TrComDoModalPastDlg(&code, &data, &when)) return Fail(kExitSystem, "past: the dialog did not run (no TrLocale.DLL?)");
    std::printf("past-time dialog ended: %s (%d)\n", code == IDOK ? "IDOK" : code == IDCANCEL ? "IDCANCEL" : "failed",
                code);
    return kExitOk;
}

}  // namespace trctl
