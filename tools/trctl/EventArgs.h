// EventArgs.h - an event as written on trctl's command line, and its lookup
// through the library's exports.
#ifndef TRCTL_EVENTARGS_H
#define TRCTL_EVENTARGS_H

#include "Commands.h"

#include "include/TrCommon.h"

#include <string>

// The events serve and find understand, for their --help.
#define TRCTL_EVENT_USAGE                                                                          \
    "  <event> is one of:\n"                                                                       \
    "    ppk [--code N]          the PPK key (event code N, default 0x0101; Alt, Ctrl\n"           \
    "                            or Shift held down add their bits)\n"                             \
    "    skey N                  SKey key N (1 to 255): event code 0x0200 + N\n"                  \
    "    timer                   the timer\n"                                                      \
    "    jppk                    the jog dial's PPK key\n"                                         \
    "    fpslot                  the Flashpod slot\n"                                              \
    "    fpmedia <drive>         a Flashpod medium in drive A to Z\n"                              \
    "    usb <device-id>         a USB device, e.g. USB\\VID_1234&PID_5678\\1\n"                  \
    "    ieee1394 <device-id>    an IEEE 1394 device, e.g. 1394\\KALVOR&CAM\\0800460102030405"

namespace trctl {

struct Event {
    enum Kind { Kalvor, Timer, JogPPK, FPSlot, PnP } kind = Kalvor;
    DWORD code = 0;            // Kalvor: event code; PnP: device type
    std::string device;        // PnP devices: the identifier as given
    DWORD drive = 0;           // Flashpod media: 0 for A
    WORD mask = 0;             // the databases the lookup opens
    std::string label;         // for messages
};

// Parses "<event> [arguments]" from args[from...]; on failure returns false
// with a message. 'used' receives how many arguments the event took.
bool ParseEvent(const Args& args, std::size_t from, Event& event, std::size_t& used, std::string& error);

// Looks the event up. On FALSE, tells "no binding" from "data file
// unreadable" by opening the event's databases once more, and reports it.
// Returns kExitOk with the block filled, or the failure's exit code.
int LookUp(const Event& event, TR_APP_DATA_STRUC& block);

void PrintBlock(const Event& event, const TR_APP_DATA_STRUC& block);


}  // namespace trctl

#endif  // TRCTL_EVENTARGS_H
