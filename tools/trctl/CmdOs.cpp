// CmdOs.cpp - the platform codes as the library sees them.
#include "EventArgs.h"
#include "Json.h"

#include <cstdio>

namespace trctl {

int RunOs(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("os", args, {{"--json", false}}, o, rc)) return rc;
    if (!o.Positional().empty()) return Fail(kExitUsage, "os: takes no arguments");
    DWORD code = 0, codeEx = 0;
    if (!TrComGetOS(&code) || !TrComGetOSEx(&codeEx)) return Fail(kExitSystem, "os: the version query failed");
    const char* family = code == TR_OS_WINNT ? "Win2K" : "Win98";
    const char* devices = Win2kDeviceRules() ? "Win2K" : "Win98";
    if (o.Has("--json")) {
        PrintJson({{"os", code}, {"osEx", codeEx}, {"family", family}, {"deviceRules", devices}});
        return kExitOk;
    }
    std::printf("TrComGetOS %lu\nTrComGetOSEx %lu\nfamily %s\ndevice rules %s\n", static_cast<unsigned long>(code),
                static_cast<unsigned long>(codeEx), family, devices);
    return kExitOk;
}

}  // namespace trctl
