// Schedule.h - the timer's schedule in the "Timer" key of the product key,
// and when it falls due. Shared by Trelvane.exe (which serves it) and trctl
// (which shows and sets it).
//
// Values (all REG_DWORD, read through TrComGetRegValue kind 10):
//   TimerMode  0 off, 1 once (on Year-Month-Day at Hour:Minute), 2 daily at
//              Hour:Minute, 3 weekly at Hour:Minute on the days of WeekFlag
//   WeekFlag   mode 3: bit 0 Sunday, bit 1 Monday ... bit 6 Saturday
//   TimeLimit  minutes before the time at which the watch window opens and
//              counts down (0: no watch window; missing: 5)
//   PostState  the minute up to which the schedule has been dealt with, in
//              minutes since 2000-01-01 00:00 local time: a time at or before
//              it is neither served nor shown as missed again. The server
//              moves it on when it serves a time, when the user cancels the
//              watch window, and when it shows a missed time; trctl sets it
//              to the current minute with every new schedule, so a time
//              before the schedule was set never counts as missed.
//   Year, Month, Day   mode 1 only (Year 2000 to 2099)
//   Hour, Minute       0 to 23, 0 to 59
// Times are local wall-clock times.
#ifndef TRELVANE_SCHEDULE_H
#define TRELVANE_SCHEDULE_H

#include <windows.h>

#include <string>

namespace trelvane {

enum TimerMode : DWORD { kTimerOff = 0, kTimerOnce = 1, kTimerDaily = 2, kTimerWeekly = 3 };

struct Schedule {
    DWORD mode = kTimerOff;
    DWORD weekFlag = 0;
    DWORD timeLimit = 5;
    DWORD postState = 0;
    DWORD year = 2000, month = 1, day = 1, hour = 0, minute = 0;
};

// Minutes since 2000-01-01 00:00 (local time); -1 for "none".
using Minute = long long;
constexpr Minute kNoMinute = -1;

// The schedule as stored, missing values at the defaults above. False when
// the product key table cannot be read (TrLocale.DLL missing).
bool ReadSchedule(Schedule& schedule);
// Writes every value; false when the key cannot be written.
bool WriteSchedule(const Schedule& schedule);
bool WritePostState(Minute minute);

// Why the schedule cannot be served ("" when it can, and when it is off).
std::string ScheduleProblem(const Schedule& schedule);
// The first time of the schedule strictly after 'after'; kNoMinute when
// the schedule is off, invalid, or (once) already past.
Minute NextAfter(const Schedule& schedule, Minute after);
// The last time of the schedule at or before 'until' and after 'after';
// kNoMinute when there is none.
Minute LastUpTo(const Schedule& schedule, Minute after, Minute until);

// Local time <-> minutes; FromMinute fills a whole SYSTEMTIME (seconds 0).
Minute ToMinute(const SYSTEMTIME& local);
SYSTEMTIME FromMinute(Minute minute);
// The current local time in 100 ns ticks since 1601, and its minute.
ULONGLONG LocalNowTicks();
constexpr ULONGLONG kTicksPerMinute = 600000000ULL;
Minute MinuteOfTicks(ULONGLONG ticks);
ULONGLONG TicksOfMinute(Minute minute);

// "2026-12-24 18:00"; "daily at 07:30", "weekly on Mon, Fri at 07:30",
// "once on 2026-12-24 at 18:00", "off".
std::string MinuteText(Minute minute);
std::string DescribeSchedule(const Schedule& schedule);
// Day names as words take them: "sun" ... "sat".
extern const char* const kDayNames[7];

}  // namespace trelvane

#endif  // TRELVANE_SCHEDULE_H
