// TrTimeText.h - a local time as the past-time dialog shows it: the user's
// short date, a blank and the 24-hour time in hours and minutes.
#ifndef TR_UI_TIMETEXT_H
#define TR_UI_TIMETEXT_H

#include <windows.h>

#include <string>

namespace tr {

// Empty for a SYSTEMTIME that is no valid date and time.
std::string FormatDateAndMinutes(const SYSTEMTIME& time);

}  // namespace tr

#endif  // TR_UI_TIMETEXT_H
