// trctl - command-line host of TrCommon.dll: publishes windows, looks events
// up and serves them, edits bindings and settings, checks an installation,
// for scripts and for people trying the library out.
#include "Commands.h"

#include "TrVersion.h"

#include <cstdio>
#include <cstring>

namespace {

void PrintCommands() {
    std::puts("usage: trctl <command> [arguments]   (trctl <command> --help for details)\n"
              "       trctl --version\n\ncommands:");
    for (const auto& c : trctl::AllCommands()) std::printf("  %-12s %s\n", c.name, c.summary);
    std::puts("\nexit codes: 0 done, 2 bad arguments, 3 no shared block or server window,\n"
              "  4 shared block busy or taken, 5 a system call failed, 10 no binding,\n"
              "  11 a data file missing, in use, damaged or not written, 12 launch refused,\n"
              "  13 doctor found a failure");
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
        // Help is asked for in the first argument, or where an option may stand
        // (the command's parser then returns kShowHelp); never as an option's value.
        int rc = !args.empty() && (args[0] == "--help" || args[0] == "-h") ? trctl::kShowHelp : c.run(args);
        if (rc == trctl::kShowHelp) {
            std::printf("usage: trctl %s\n", c.usage);
            rc = trctl::kExitOk;
        }
        std::fflush(stdout);
        return rc;
    }
    return trctl::Fail(trctl::kExitUsage, std::string("unknown command '") + argv[1] + "' (see trctl --help)");
}
