// CmdPaths.cpp - every product path as TrComGetPath gives it.
#include "Commands.h"

#include "include/TrCommon.h"

#include <cstdio>

namespace trctl {

int RunPaths(const Args& args) {
    if (!args.empty()) return Fail(kExitUsage, "paths: takes no arguments");
    static const char* const names[TR_PATH_COUNT] = {
        "program folder", "OS folder", "per-user folder", "data folder", "installed program", "companion library",
        "help file", "resource library", "launch profile", "device profile", "jog menu data", "JPPK data",
        "PPK data", "SKey data", "Flashpod data", "IEEE 1394 data", "IEEE 1394 categories", "USB data",
        "timer data"};
    int failed = 0;
    for (int i = 0; i < TR_PATH_COUNT; ++i) {
        char path[MAX_PATH] = "";
        if (TrComGetPath(i, path)) {
            std::printf("%2d  %-21s %s\n", i, names[i], path);
        } else {
            std::printf("%2d  %-21s (not available)\n", i, names[i]);
            ++failed;
        }
    }
    return failed ? Fail(kExitSystem, "paths: " + std::to_string(failed) + " paths are not available") : kExitOk;
}

}  // namespace trctl
