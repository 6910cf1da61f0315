// EventArgs.h - an event as written on trctl's command line, and its lookup
// through the library's exports.
#ifndef TRCTL_EVENTARGS_H
#define TRCTL_EVENTARGS_H

#include "Options.h"

#include "include/TrCommon.h"

#include <string>

// The events find, serve, bind and unbind understand, for their --help.
#define TRCTL_EVENT_USAGE                                                                          \
    "  <event> is one of:\n"                                                                       \
    "    ppk [--code N] [--alt|--ctrl|--shift]\n"                                                  \
    "                            the PPK key: event code N (0x0100 to 0x01FF, default\n"           \
    "                            0x0101), with Alt, Ctrl or Shift held down\n"                     \
    "    skey N                  SKey key N (1 to 255): event code 0x0200 + N\n"                  \
    "    timer                   the timer\n"                                                      \
    "    jppk                    the jog dial's PPK key\n"                                         \
    "    fpslot                  the Flashpod slot\n"                                              \
    "    fpmedia <drive>         a Flashpod medium in drive A to Z\n"                              \
    "    usb <device-id>         a USB device, e.g. USB\\VID_1234&PID_5678\\1\n"                  \
    "    ieee1394 <device-id>    an IEEE 1394 device, e.g. 1394\\KALVOR&CAM\\0800460102030405\n"  \
    "  Numbers are decimal, or hexadecimal after 0x."

// The options an event may carry; part of every event command's option list.
#define TRCTL_EVENT_OPTIONS {"--code", true}, {"--alt", false}, {"--ctrl", false}, {"--shift", false}

namespace trctl {

struct Event {
    enum Kind { Kalvor, Timer, JogPPK, FPSlot, PnP, Category } kind = Kalvor;
    DWORD code = 0;            // Kalvor: event code (PPK: with the modifier bit); PnP: device type
    std::string device;        // PnP devices: the identifier as given; Category: its name
    DWORD drive = 0;           // Flashpod media: 0 for A
    WORD mask = 0;             // the databases the lookup opens
    std::string label;         // the event as bind takes it, for messages
};

// Parses the event from the positional arguments from 'from' on and the
// event options; 'used' receives how many positional arguments it took.
// 'category <name>' only when allowCategory (bind, unbind). False with a
// message on failure.
bool ParseEvent(const Options& options, std::size_t from, Event& event, std::size_t& used, std::string& error,
                bool allowCategory = false);

// The lookup's choice of device rules: Win2K identifier texts on NT 5,
// Win98 descriptions everywhere else.
bool Win2kDeviceRules();

// Looks the event up. On FALSE, finds out why (no binding, or which data
// file cannot be used and why) and reports it. Returns kExitOk with the
// block filled, or the failure's exit code.
int LookUp(const Event& event, TR_APP_DATA_STRUC& block);

void PrintBlock(const Event& event, const TR_APP_DATA_STRUC& block);

}  // namespace trctl

#endif  // TRCTL_EVENTARGS_H
