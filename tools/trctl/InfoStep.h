// InfoStep.h - the info dialog that serve shows before a launch when the
// event family's "InfoDialog" setting asks for it.
#ifndef TRCTL_INFOSTEP_H
#define TRCTL_INFOSTEP_H

#include "EventArgs.h"

namespace trctl {

// Reads the family's "InfoDialog" seconds (HKEY_CURRENT_USER, through the
// settings exports). Above 0 it shows the info dialog for that long and
// prints how it ended. True when the launch may go ahead: no dialog wanted,
// the dialog ended with IDOK, or it could not be shown at all.
bool InfoStepAllowsLaunch(const Event& event, const TR_APP_DATA_STRUC& block);

}  // namespace trctl

#endif  // TRCTL_INFOSTEP_H
