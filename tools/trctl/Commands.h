// Commands.h - the command table of trctl, the command-line host.
#ifndef TRCTL_COMMANDS_H
#define TRCTL_COMMANDS_H

#include <string>
#include <vector>

namespace trctl {

// Exit codes a script can rely on.
enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 2,        // unknown command or bad arguments
    kExitNoBlock = 3,      // no shared block / no server window registered
    kExitBusy = 4,         // the shared block is busy or already taken
    kExitSystem = 5,       // a system call failed
    kExitNoBinding = 10,   // no application is bound to the event
    kExitDataFile = 11,    // a data file could not be read or written (missing, in use, damaged)
    kExitLaunch = 12,      // the launch was refused
    kExitCheckFailed = 13, // doctor: at least one check failed
};

// Not an exit code: a command returns it to have main print its usage.
constexpr int kShowHelp = -1;

using Args = std::vector<std::string>;

struct Command {
    const char* name;
    const char* summary;  // one line for the command list
    const char* usage;    // shown by "trctl <name> --help"
    int (*run)(const Args& args);
};

// Every command file contributes its commands here (see Commands.cpp).
const std::vector<Command>& AllCommands();

// One clear line on stderr, and the code to exit with.
int Fail(int code, const std::string& message);

}  // namespace trctl

#endif  // TRCTL_COMMANDS_H
