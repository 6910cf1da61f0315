// CmdSetup.cpp - preparing the current user: the machine's settings and the
// installed data files become the user's.
#include "Options.h"

#include "include/TrCommon.h"

#include <cstdio>

namespace trctl {

int RunSetup(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("setup", args, {{"--overwrite", false}}, o, rc)) return rc;
    if (!o.Positional().empty()) return Fail(kExitUsage, "setup: unexpected argument '" + o.Positional()[0] + "'");
    const BOOL overwrite = o.Has("--overwrite") ? TRUE : FALSE;
    const int keys = TrComCopyRegKeyToCurrentUser(overwrite);
    std::printf("settings copied to the user      %s\n", keys ? "yes" : "no");
    const int data = TrComCopyDataToUserFolder(overwrite);
    std::printf("data files copied to the user    %s\n", data ? "yes" : "no");
    char folder[MAX_PATH] = "";
    if (TrComGetPath(TR_PATH_DATA_DIR, folder)) std::printf("data folder                      %s\n", folder);
    if (!keys) return Fail(kExitSystem, "setup: the machine settings could not be copied (is the product installed?)");
    if (!data) return Fail(kExitSystem, "setup: the data files could not be copied (no installed OS folder?)");
    return kExitOk;
}

}  // namespace trctl
