// CmdInfo.cpp - shows the counting-down info dialog for an application.
#include "Commands.h"

#include <cstdio>

#include "DialogHost.h"

namespace trctl {

int RunInfo(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("info", args, {TRCTL_APP_OPTIONS}, o, rc)) return rc;
    TR_APP_DATA_STRUC data = {};
    std::string error;
    if (!AppBlockFromOptions(o, data, error)) return Fail(kExitUsage, "info: " + error);
    if (o.Positional().size() != 1) return Fail(kExitUsage, "info: expects the seconds (1 to 99)");
    long long seconds = 0;
    if (!ParseNumber(o.Positional()[0], 1, 99, seconds))
        return Fail(kExitUsage, NumberError("info: seconds", o.Positional()[0], 1, 99));

    DialogServer server;
    if (!server.Ready()) return Fail(server.ExitCode(), "info: " + server.Problem());
    int code = 0;
    if (!TrComDoModalInfoDlg(&code, &data, static_cast<UINT>(seconds)))
        return Fail(kExitSystem, "info: the dialog did not run (no TrLocale.DLL?)");
    std::printf("info dialog ended: %s (%d)\n", code == IDOK ? "IDOK" : code == IDCANCEL ? "IDCANCEL" : "failed", code);
    return kExitOk;
}

}  // namespace trctl
