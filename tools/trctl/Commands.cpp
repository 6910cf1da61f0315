// Commands.cpp - the command table; each command lives in its own file.
#include "Commands.h"
#include "EventArgs.h"

#include <cstdio>

namespace trctl {

int RunHost(const Args& args);
int RunWindows(const Args& args);
int RunOs(const Args& args);
int RunFind(const Args& args);
int RunServe(const Args& args);
int RunPaths(const Args& args);
int RunSetup(const Args& args);
int RunJog(const Args& args);
int RunInfo(const Args& args);
int RunPast(const Args& args);
int RunWatch(const Args& args);

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
        {"serve", "look an event up and start its application",
         "serve <event> [--timeout S]\n"
         "  Registers a server window when none is registered, looks the event up,\n"
         "  prints the application found and starts it with TrComLaunch; when the\n"
         "  family's InfoDialog setting is above 0, shows the info dialog first and\n"
         "  starts the application only if it ends with IDOK. With\n"
         "  --timeout, waits S seconds for the program, then closes it.\n"
         "  Exit 10: no binding; 11: data file unreadable; 12: launch refused.\n" TRCTL_EVENT_USAGE,
         RunServe},
        {"find", "look an event up and print its application without starting it",
         "find <event>\n"
         "  Prints the application bound to the event.\n"
         "  Exit 10: no binding; 11: data file unreadable.\n" TRCTL_EVENT_USAGE,
         RunFind},
        {"paths", "print every product path (TrComGetPath 0 to 18)",
         "paths\n  Prints the folders and files of the product by index.", RunPaths},
        {"setup", "prepare the current user: copy the machine settings and the data files",
         "setup [--overwrite]\n"
         "  TrComCopyRegKeyToCurrentUser and TrComCopyDataToUserFolder; without\n"
         "  --overwrite, the user's own values and newer data files stay.",
         RunSetup},
        {"jog", "print the jog dial's menu", "jog\n  Prints the menu entries of JogData.dat, folders ending in '/'.", RunJog},
        {"info", "show the counting-down info dialog", "info <seconds> [--title T] [--description D] [--path P]\n  Shows the info dialog for 1 to 99 seconds and prints how it ended (IDOK or\n  IDCANCEL). Registers a server window of its own when none is registered.", RunInfo},
        {"past", "show the past-time dialog of a timed event", "past <event> <time> [--title T] [--description D] [--path P]\n  <event> is 'timer' (the application bound to the timer) or '-' (the options\n  alone); <time> is 'YYYY-MM-DD HH:MM', 'HH:MM' (today) or '-N' (N minutes ago).\n  Prints how the dialog ended.", RunPast},
        {"watch", "open a watch window, wait for it and print how it ended", "watch <minutes> <code> [--row N] [--caption C]\n  Counts <minutes> down for event <code> (0x200002 ... 0x200020) in row N of\n  the right screen edge, then prints 'time up' or 'cancelled' with the wParam.", RunWatch},
    };
    return commands;
}

int Fail(int code, const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "trctl: %s\n", message.c_str());
    return code;
}

}  // namespace trctl
