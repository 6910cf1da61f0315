// trctl - command-line host of TrCommon.dll: publishes windows, looks events
// up and serves them, for scripts and for people trying the library out.
#include "Commands.h"

#include "TrVersion.h"

#include <cstdio>
#include <cstring>

namespace {

void PrintCommands() {
    std::puts("usage: trctl <command> [arguments]   (trctl <command> --help for details)\n"
              "       trctl --version\n\ncommands:");
    for (const auto& c : trctl::AllCommands()) std::printf("  %-12s %s\n", c.name, c.summary);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && !std::strcmp(argv[1], "--version")) {
        std::printf("trctl %s\n", TR_VERSION_TEXT);
        return trctl::kExitOk;
    }
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "help")) {
        PrintCommands();
        return argc < 2 ? trctl::kExitUsage : trctl::kExitOk;
    }
    for (const auto& c : trctl::AllCommands()) {
        if (std::strcmp(c.name, argv[1]) != 0) continue;
        trctl::Args args(argv + 2, argv + argc);
        for (const auto& a : args) {
            if (a == "--help" || a == "-h") {
                std::printf("usage: trctl %s\n", c.usage);
                return trctl::kExitOk;
            }
        }
        const int rc = c.run(args);
        std::fflush(stdout);
        return rc;
    }
    return trctl::Fail(trctl::kExitUsage, std::string("unknown command '") + argv[1] + "' (see trctl --help)");
}
