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
int RunBind(const Args& args);
int RunUnbind(const Args& args);
int RunList(const Args& args);
int RunSettings(const Args& args);
int RunDoctor(const Args& args);
int RunHotKeys(const Args& args);
int RunTimer(const Args& args);

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"host", "register a server window in the shared block and keep it until closed",
         "host [--client] [--watch] [--seconds N]\n"
         "  Creates a window and registers it as the server (or, with --client, as the\n"
         "  client of an existing block), prints its handle and keeps it until the\n"
         "  window is closed (trctl windows --close) or N seconds (1 to 2147483,\n"
         "  default 60) pass. With --watch the window is the client too and prints\n"
         "  one line per rewrite message (a data file was rewritten) it receives.\n"
         "  Exit 3: no block to join (--client); 4: the block is taken or busy.",
         RunHost},
        {"windows", "print the server and client windows registered in the shared block",
         "windows [--close [--force]] [--json]\n"
         "  Prints the server and client windows. With --close, asks the server window\n"
         "  to close: a window of 'trctl host' at once, any other only with --force.\n"
         "  --json fields: server, client (window handles, 0 for none), serverAlive,\n"
         "  serverFromTrctlHost. Exit 3 when no block exists, 4 when it is busy.",
         RunWindows},
        {"os", "print the platform codes of TrComGetOS and TrComGetOSEx",
         "os [--json]\n  Prints both platform codes, the family they select (Win2K or Win98) and\n"
         "  the family whose device rules the lookup follows.\n"
         "  --json fields: os, osEx, family, deviceRules.",
         RunOs},
        {"serve", "look an event up and start its application",
         "serve <event> [--timeout S]\n"
         "  Registers a server window when no live one is registered, looks the event\n"
         "  up, prints the application found and starts it with TrComLaunch; when\n"
         "  the family's InfoDialog setting (default 5) is above 0, shows the info\n"
         "  dialog first and starts the application only if it ends with IDOK. With\n"
         "  --timeout, waits S seconds (1 to 2147483) for the program, then closes it.\n"
         "  Exit 3/4: no server window can be registered; 10: no binding; 11: data\n"
         "  file unusable; 12: launch refused (the message names the cause).\n" TRCTL_EVENT_USAGE,
         RunServe},
        {"find", "look an event up and print its application without starting it",
         "find <event> [--json]\n"
         "  Prints the application bound to the event.\n"
         "  --json fields: event, title, description, path, workdir, option.\n"
         "  Exit 10: no binding; 11: data file unusable (the message says why).\n" TRCTL_EVENT_USAGE,
         RunFind},
        {"bind", "bind an event to an application (adds or replaces its record)",
         "bind <event> --path P [--title T] [--description D] [--workdir W]\n"
         "     [--option O] [--name N] [--attribute A]\n"
         "  Files the application under the data file and key the lookup of the event\n"
         "  uses on this system, replacing the record bound to it. The title defaults\n"
         "  to the file name of P; --name and --attribute are for device records.\n"
         "  Every text is checked first (at most 259 bytes, one line, no data-file\n"
         "  label such as 'Path:'); a refused bind leaves the file as it was.\n"
         "  Exit 2: bad input; 11: data file missing folder, in use or damaged.\n" TRCTL_EVENT_USAGE "\n"
         "    category <name>         an IEEE 1394 device type: its devices fall back to\n"
         "                            it when the xbus Category setting is 1",
         RunBind},
        {"unbind", "remove every record bound to an event",
         "unbind <event>\n"
         "  Removes the event's records from its data file.\n"
         "  Exit 10: nothing was bound; 11: data file missing folder, in use or damaged.\n"
         "  <event> as for bind.",
         RunUnbind},
        {"list", "print the bindings of one kind or of all kinds",
         "list [ppk|skey|timer|jppk|fp|usb|ieee1394|category] [--json]\n"
         "  Prints each binding with its event in the form bind takes (devices as\n"
         "  USB\\<device>\\* and 1394\\*\\<unique id>: a record keeps only the part the\n"
         "  lookup compares), its title and path.\n"
         "  --json fields: bindings (kind, file, event or null, key, title,\n"
         "  description, path, workdir, option; name and attribute for devices),\n"
         "  problems (texts). Exit 11 when a file cannot be read.",
         RunList},
        {"paths", "print every product path (TrComGetPath 0 to 18)",
         "paths [--json]\n  Prints the folders and files of the product by index.\n"
         "  --json fields: paths (index, name, path or null).",
         RunPaths},
        {"setup", "prepare the current user: copy the machine settings and the data files",
         "setup [--overwrite]\n"
         "  TrComCopyRegKeyToCurrentUser and TrComCopyDataToUserFolder; without\n"
         "  --overwrite, the user's own values and newer data files stay.",
         RunSetup},
        {"jog", "print or edit the jog dial's menu",
         "jog [--json]\n"
         "jog add <title> (--path P [--workdir W] [--option O] | --folder) [--description D]\n"
         "        [--into F | --after N | --before N]\n"
         "jog remove <entry> [--recursive]\n"
         "jog move <entry> (--into F | --after N | --before N)\n"
         "jog rename <entry> <title> [--description D]\n"
         "  Entries are numbered from 0 in menu order as 'trctl jog' prints them.\n"
         "  --into F puts the entry last in folder F, --after N behind entry N (and\n"
         "  what it holds), --before N in front of it, at N's level; without them add\n"
         "  appends at the top level. A folder moves and goes with what it holds.\n"
         "  Edits keep the level rules: the first entry at level 0, each next one at\n"
         "  most one level deeper than the entry before it, and deeper only below a\n"
         "  folder. --json prints the tree: count, applications, entries (index,\n"
         "  title, description, path, workdir, option, level, folder, children).",
         RunJog},
        {"settings", "print or change the settings of an event family",
         "settings <family> [--json]\n"
         "settings <family> NAME=VALUE ...\n"
         "  family: jog, ppk, skey, timer, fp, usb or xbus. Prints every setting of\n"
         "  the family with its allowed values, '(default)' where the read call\n"
         "  reported a value missing, or writes the named ones (names in any letter\n"
         "  case) through the settings exports; nothing is written when one\n"
         "  assignment is refused.\n"
         "  --json fields: family, key, settings (name, value, allowed, read).\n"
         "  Exit 2: unknown family or name, or a value outside what is allowed;\n"
         "  5: the registry cannot be written.",
         RunSettings},
        {"doctor", "check the installation and the user's setup",
         "doctor [--json]\n"
         "  One line per check, OK, WARN or FAIL: TrLocale.DLL, the installation values\n"
         "  and what they name, the product paths, each data file present and parsing\n"
         "  (with the line of a bad section), the user's settings, the server window.\n"
         "  --json fields: checks (status, check, detail), failed, warnings.\n"
         "  Exit 13 when a check failed.",
         RunDoctor},
        {"hotkeys", "print or change the resident server's hot keys, or press one",
         "hotkeys [--json]\n"
         "hotkeys set <event> <combination>\n"
         "hotkeys clear <event>\n"
         "hotkeys default <event>\n"
         "hotkeys press <event> [--alt|--ctrl|--shift] [--hold MS]\n"
         "  <event> is ppk or skey N (1 to 255). Trelvane.exe registers a hot key per\n"
         "  event: by default Win+F1 to Win+F12 for SKey 1 to 12 and Win+Insert for the\n"
         "  PPK key, which it also registers with Alt, Ctrl and Shift added (the PPK\n"
         "  lookup reads those keys, so the PPK combination holds none of them).\n"
         "  A combination is modifiers (Win, Ctrl, Alt, Shift) and one key joined by\n"
         "  '+': Win+F5, Ctrl+Alt+K, Win+0x7B; it needs Win, Ctrl or Alt and must not\n"
         "  be another event's. set stores one, clear leaves the event without a hot\n"
         "  key, default goes back to the default; a running server reads the change\n"
         "  at once. press types the event's combination (with the modifier held for\n"
         "  MS milliseconds, default 1000) as a keyboard would.\n"
         "  --json fields: key, hotKeys (event, combination or null, origin: default,\n"
         "  set, cleared or refused, registrations), problems, serverRunning.\n"
         "  Exit 2: bad input or a combination that is refused; 5: registry not written.",
         RunHotKeys},
        {"timer", "print or set the timer's schedule that the resident server serves",
         "timer [--json]\n"
         "timer once <time> [--watch M]\n"
         "timer daily <HH:MM> [--watch M]\n"
         "timer weekly <days> <HH:MM> [--watch M]\n"
         "timer off\n"
         "  <time> is 'YYYY-MM-DD HH:MM', 'HH:MM' (today) or '+N' (N minutes from now);\n"
         "  <days> are mon,tue,wed,thu,fri,sat,sun, ranges such as mon-fri, or all.\n"
         "  At the time, Trelvane.exe starts the application bound to the timer (trctl\n"
         "  bind timer), after the info dialog when the timer's InfoDialog asks for it;\n"
         "  M minutes before (0 to 1440, default 5, 0 for none) a watch window counts\n"
         "  down. A time that passes while the server does not run or the machine\n"
         "  sleeps is shown once in the past-time dialog at the next start or wake-up.\n"
         "  Setting a schedule counts only times from now on.\n"
         "  --json fields: key, mode, schedule, timerMode, weekFlag, time, watchMinutes,\n"
         "  next (or null), handledUpTo (or null), problem.\n"
         "  Exit 2: bad input or a time that has passed; 5: registry not written.",
         RunTimer},
        {"info", "show the counting-down info dialog", "info <seconds> [--title T] [--description D] [--path P]\n  Shows the info dialog for 1 to 99 seconds and prints how it ended (IDOK or\n  IDCANCEL). Registers a server window of its own when none is registered.", RunInfo},
        {"past", "show the past-time dialog of a timed event", "past <event> <time> [--title T] [--description D] [--path P]\n  <event> is 'timer' (the application bound to the timer) or '-' (the options\n  alone); <time> is 'YYYY-MM-DD HH:MM', 'HH:MM' (today) or '-N' (N minutes ago).\n  Prints how the dialog ended.", RunPast},
        {"watch", "open a watch window, wait for it and print how it ended", "watch <minutes> <code> [--row N] [--caption C]\n  Counts <minutes> down for event <code> (0x200002 ... 0x200020) in row N\n  (0 to 99) of the right screen edge, then prints 'time up' or 'cancelled'\n  with the wParam.", RunWatch},
    };
    return commands;
}

int Fail(int code, const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "trctl: %s\n", message.c_str());
    return code;
}

}  // namespace trctl
