// CmdSetup.cpp - preparing the current user: the machine's settings and the
// installed data files become the user's.
#include "Commands.h"

#include "include/TrCommon.h"

#include <cstdio>

namespace trctl {

int RunSetup(const Args& args) {
    BOOL overwrite = FALSE;
    for (const auto& a : args) {
        if (a == "--overwrite") overwrite = TRUE;
        else return Fail(kExitUsage, "setup: unexpected argument '" + a + "'");
    }
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
