// CmdJog.cpp - the jog dial's menu as the menu exports give it.
#include "Commands.h"

#include "include/TrCommon.h"

#include <cstdio>

namespace trctl {

int RunJog(const Args& args) {
    if (!args.empty()) return Fail(kExitUsage, "jog: takes no arguments");
    int all = 0, applications = 0;
    if (!TrComJogDataGetAllItems(&all) || !TrComJogDataGetCount(&applications))
        return Fail(kExitDataFile, "jog: JogData.dat cannot be read (missing, empty or damaged)");
    std::printf("%d entries, %d applications\n", all, applications);
    for (int i = 0; i < all; ++i) {
        TR_JOG_DATA_STRUC entry;
        if (!TrComJogDataGetAt(&entry, i)) return Fail(kExitDataFile, "jog: JogData.dat changed while reading");
        const int indent = entry.nLevel > 0 && entry.nLevel < 20 ? entry.nLevel * 2 : 0;
        std::printf("%*s%s%s%s\n", indent, "", entry.szTitle, entry.bIsFolder ? "/" : "  -> ",
                    entry.bIsFolder ? "" : entry.szPath);
    }
    return kExitOk;
}

}  // namespace trctl
