// CmdOs.cpp - the platform codes as the library sees them.
#include "Commands.h"

#include "include/TrCommon.h"

#include <cstdio>

namespace trctl {

int RunOs(const Args& args) {
    if (!args.empty()) return Fail(kExitUsage, "os: takes no arguments");
    DWORD code = 0, codeEx = 0;
    if (!TrComGetOS(&code) || !TrComGetOSEx(&codeEx)) return Fail(kExitSystem, "os: the version query failed");
    std::printf("TrComGetOS %lu\nTrComGetOSEx %lu\nfamily %s\n", static_cast<unsigned long>(code),
                static_cast<unsigned long>(codeEx), code == TR_OS_WINNT ? "Win2K" : "Win98");
    return kExitOk;
}

}  // namespace trctl
