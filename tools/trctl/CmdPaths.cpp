// CmdPaths.cpp - every product path as TrComGetPath gives it.
#include "Json.h"
#include "Options.h"

#include "include/TrCommon.h"

#include <cstdio>

namespace trctl {

const char* PathName(int index) {
    static const char* const names[TR_PATH_COUNT] = {
        "program folder", "OS folder", "per-user folder", "data folder", "installed program", "companion library",
        "help file", "resource library", "launch profile", "device profile", "jog menu data", "JPPK data",
        "PPK data", "SKey data", "Flashpod data", "IEEE 1394 data", "IEEE 1394 categories", "USB data",
        "timer data"};
    return index >= 0 && index < TR_PATH_COUNT ? names[index] : "";
}

int RunPaths(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("paths", args, {{"--json", false}}, o, rc)) return rc;
    if (!o.Positional().empty()) return Fail(kExitUsage, "paths: takes no arguments");
    const bool json = o.Has("--json");
    Json paths = Json::array();
    int failed = 0;
    for (int i = 0; i < TR_PATH_COUNT; ++i) {
        char path[MAX_PATH] = "";
        const bool ok = TrComGetPath(i, path) != 0;
        failed += ok ? 0 : 1;
        if (json) paths.push_back({{"index", i}, {"name", PathName(i)}, {"path", ok ? Json(Utf8(path)) : Json()}});
        else std::printf("%2d  %-21s %s\n", i, PathName(i), ok ? path : "(not available)");
    }
    if (json) PrintJson({{"paths", paths}});
    return failed ? Fail(kExitSystem, "paths: " + std::to_string(failed) + " paths are not available") : kExitOk;
}

}  // namespace trctl
