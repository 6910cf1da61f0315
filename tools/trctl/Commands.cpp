// Commands.cpp - the command table; each command lives in its own file.
#include "Commands.h"

#include <cstdio>

namespace trctl {

int RunHost(const Args& args);
int RunWindows(const Args& args);
int RunOs(const Args& args);

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"host", "register a server window in the shared block and keep it until closed",
         "host [--client] [--seconds N]\n"
         "  Creates a window and registers it as the server (or, with --client, as the\n"
         "  client of an existing block), prints its handle and keeps it until the\n"
         "  window is closed (trctl windows --close) or N seconds (default 60) pass.",
         RunHost},
        {"windows", "print the server and client windows registered in the shared block",
         "windows [--close]\n"
         "  Prints the server and client windows. With --close, asks the server window\n"
         "  to close. Exit 3 when no block exists, 4 when it is busy.",
         RunWindows},
        {"os", "print the platform codes of TrComGetOS and TrComGetOSEx",
         "os\n  Prints both platform codes and the family they select (Win2K or Win98).",
         RunOs},
    };
    return commands;
}

int Fail(int code, const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "trctl: %s\n", message.c_str());
    return code;
}

}  // namespace trctl
