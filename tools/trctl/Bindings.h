// Bindings.h - where a binding of an event is filed: the data file and the
// key the lookup searches for that event, and back from a file's key to the
// event.
#ifndef TRCTL_BINDINGS_H
#define TRCTL_BINDINGS_H

#include "EventArgs.h"

#include <string>
#include <vector>

namespace trctl {

// One data file of bindings, as list names it.
struct BindingKind {
    const char* name;  // ppk, skey, timer, jppk, fp, usb, ieee1394, category
    int pathIndex;     // TrComGetPath index of its data file
    bool numeral;      // numeral-key file, else string-key file
};
const std::vector<BindingKind>& BindingKinds();
const BindingKind* FindBindingKind(const std::string& name);

// The file and key of an event's binding: exactly what the lookup of the
// event on this system searches (for devices the running Windows family's
// rules decide the key text).
struct BindingPlace {
    const BindingKind* kind = nullptr;
    DWORD key = 0;        // numeral-key files
    std::string textKey;  // string-key files
};
bool PlaceOf(const Event& event, BindingPlace& place, std::string& error);

// The event, in the form bind takes, that reaches a record of the kind's
// file; empty when no event does. A device record keeps only the part of
// the identifier the lookup compares, so the rest is written as '*'.
std::string EventOfKey(const BindingKind& kind, DWORD key, const std::string& textKey);

}  // namespace trctl

#endif  // TRCTL_BINDINGS_H
