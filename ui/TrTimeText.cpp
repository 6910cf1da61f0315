// TrTimeText.cpp - the date and minutes text of the past-time dialog.
#include "ui/TrTimeText.h"

#include <cstdio>

namespace tr {

std::string FormatDateAndMinutes(const SYSTEMTIME& time) {
    // SystemTimeToFileTime is the validity check: it refuses month 13,
    // 30 February, hour 24 and the like.
    FILETIME ft;
    if (!::SystemTimeToFileTime(&time, &ft)) return std::string();
    char date[128] = {};
    if (!::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, sizeof(date))) return std::string();
    char clock[16];
    std::snprintf(clock, sizeof(clock), " %02u:%02u", static_cast<unsigned>(time.wHour),
                  static_cast<unsigned>(time.wMinute));
    return std::string(date) + clock;
}

}  // namespace tr
