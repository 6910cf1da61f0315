// Schedule.cpp - reading, writing and stepping through the timer's schedule.
#include "Schedule.h"

#include "ProductKey.h"

#include <TrCommon.h>

#include <cstdio>

namespace trelvane {
namespace {

constexpr Minute kMinutesPerDay = 24 * 60;

// 2000-01-01 00:00 in FILETIME ticks, the origin of Minute.
ULONGLONG OriginTicks() {
    static const ULONGLONG origin = [] {
        SYSTEMTIME t = {};
        t.wYear = 2000;
        t.wMonth = 1;
        t.wDay = 1;
        FILETIME ft = {};
        ::SystemTimeToFileTime(&t, &ft);
        return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    }();
    return origin;
}

int DaysInMonth(DWORD year, DWORD month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// Day of the week of a minute: 2000-01-01 was a Saturday (6).
int DayOfWeek(Minute minute) { return static_cast<int>((minute / kMinutesPerDay + 6) % 7); }

Minute TimeOfDay(const Schedule& s) { return static_cast<Minute>(s.hour) * 60 + s.minute; }

// Daily and weekly: does the schedule run on the day of this minute?
bool RunsOnDay(const Schedule& s, Minute dayStart) {
    return s.mode == kTimerDaily || (s.weekFlag >> DayOfWeek(dayStart)) & 1;
}

}  // namespace

const char* const kDayNames[7] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};

bool ReadSchedule(Schedule& schedule) {
    TR_REG_VALUE_OF_KIND<TR_REG_KIND_TIMER> block{};
    const Schedule defaults;
    // Missing values keep what is preset in the block.
    block.values.timer = {defaults.mode, defaults.weekFlag, defaults.timeLimit, defaults.postState, defaults.year,
                          defaults.month, defaults.day, defaults.hour, defaults.minute};
    TrComGetRegValue(&block);
    if (!block.szKeyPath[0]) return false;  // no key table: nothing was filled
    const TR_REG_TIMER_VALUES& v = block.values.timer;
    schedule = {v.dwTimerMode, v.dwWeekFlag, v.dwTimeLimit, v.dwPostState, v.dwYear,
                v.dwMonth,     v.dwDay,      v.dwHour,      v.dwMinute};
    return true;
}

bool WriteSchedule(const Schedule& s) {
    const std::string key = UserKeyPath(SubKey::Timer);
    const struct { const char* name; DWORD value; } values[] = {
        {"TimerMode", s.mode}, {"WeekFlag", s.weekFlag}, {"TimeLimit", s.timeLimit}, {"PostState", s.postState},
        {"Year", s.year},      {"Month", s.month},       {"Day", s.day},             {"Hour", s.hour},
        {"Minute", s.minute},
    };
    for (const auto& v : values)
        if (!WriteUserDword(key, v.name, v.value)) return false;
    return true;
}

bool WritePostState(Minute minute) {
    return WriteUserDword(UserKeyPath(SubKey::Timer), "PostState", static_cast<DWORD>(minute));
}

std::string ScheduleProblem(const Schedule& s) {
    if (s.mode == kTimerOff) return std::string();
    char text[64];
    if (s.mode > kTimerWeekly) return "TimerMode " + std::to_string(s.mode) + " is not 0 to 3";
    if (s.hour > 23 || s.minute > 59) {
        std::snprintf(text, sizeof(text), "the time %02lu:%02lu does not exist", static_cast<unsigned long>(s.hour),
                      static_cast<unsigned long>(s.minute));
        return text;
    }
    if (s.mode == kTimerWeekly && (s.weekFlag & 0x7F) == 0) return "the weekly timer has no day in WeekFlag";
    if (s.mode == kTimerOnce && (s.year < 2000 || s.year > 2099 || s.month < 1 || s.month > 12 || s.day < 1 ||
                                 static_cast<int>(s.day) > DaysInMonth(s.year, s.month))) {
        std::snprintf(text, sizeof(text), "the date %04lu-%02lu-%02lu does not exist (or lies outside 2000 to 2099)",
                      static_cast<unsigned long>(s.year), static_cast<unsigned long>(s.month),
                      static_cast<unsigned long>(s.day));
        return text;
    }
    return std::string();
}

Minute NextAfter(const Schedule& s, Minute after) {
    if (s.mode == kTimerOff || !ScheduleProblem(s).empty()) return kNoMinute;
    if (s.mode == kTimerOnce) {
        SYSTEMTIME t = {};
        t.wYear = static_cast<WORD>(s.year);
        t.wMonth = static_cast<WORD>(s.month);
        t.wDay = static_cast<WORD>(s.day);
        t.wHour = static_cast<WORD>(s.hour);
        t.wMinute = static_cast<WORD>(s.minute);
        const Minute at = ToMinute(t);
        return at > after ? at : kNoMinute;
    }
    Minute day = (after < 0 ? 0 : after) / kMinutesPerDay * kMinutesPerDay;
    for (int i = 0; i < 8; ++i, day += kMinutesPerDay) {
        const Minute at = day + TimeOfDay(s);
        if (at > after && RunsOnDay(s, day)) return at;
    }
    return kNoMinute;
}

Minute LastUpTo(const Schedule& s, Minute after, Minute until) {
    if (s.mode == kTimerOff || !ScheduleProblem(s).empty() || until <= after) return kNoMinute;
    if (s.mode == kTimerOnce) {
        const Minute at = NextAfter(s, after);
        return at != kNoMinute && at <= until ? at : kNoMinute;
    }
    Minute day = until / kMinutesPerDay * kMinutesPerDay;
    for (int i = 0; i < 8; ++i, day -= kMinutesPerDay) {
        const Minute at = day + TimeOfDay(s);
        if (at <= after) return kNoMinute;
        if (at <= until && RunsOnDay(s, day)) return at;
    }
    return kNoMinute;
}

Minute MinuteOfTicks(ULONGLONG ticks) {
    return ticks < OriginTicks() ? 0 : static_cast<Minute>((ticks - OriginTicks()) / kTicksPerMinute);
}

ULONGLONG TicksOfMinute(Minute minute) { return OriginTicks() + static_cast<ULONGLONG>(minute) * kTicksPerMinute; }

Minute ToMinute(const SYSTEMTIME& local) {
    FILETIME ft = {};
    if (!::SystemTimeToFileTime(&local, &ft)) return kNoMinute;
    return MinuteOfTicks((static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}

SYSTEMTIME FromMinute(Minute minute) {
    const ULONGLONG ticks = TicksOfMinute(minute < 0 ? 0 : minute);
    FILETIME ft = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME t = {};
    ::FileTimeToSystemTime(&ft, &t);
    return t;
}

ULONGLONG LocalNowTicks() {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    FILETIME ft = {};
    ::SystemTimeToFileTime(&now, &ft);
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

std::string MinuteText(Minute minute) {
    const SYSTEMTIME t = FromMinute(minute);
    char text[32];
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
    return text;
}

std::string DescribeSchedule(const Schedule& s) {
    char time[8];
    std::snprintf(time, sizeof(time), "%02lu:%02lu", static_cast<unsigned long>(s.hour % 100),
                  static_cast<unsigned long>(s.minute % 100));
    switch (s.mode) {
    case kTimerOff: return "off";
    case kTimerOnce: {
        char date[16];
        std::snprintf(date, sizeof(date), "%04lu-%02lu-%02lu", static_cast<unsigned long>(s.year % 10000),
                      static_cast<unsigned long>(s.month % 100), static_cast<unsigned long>(s.day % 100));
        return std::string("once on ") + date + " at " + time;
    }
    case kTimerDaily: return std::string("daily at ") + time;
    case kTimerWeekly: {
        std::string days;
        for (int d = 0; d < 7; ++d)
            if ((s.weekFlag >> d) & 1) days += (days.empty() ? "" : ", ") + std::string(kDayNames[d]);
        return "weekly on " + days + " at " + time;
    }
    default: return "mode " + std::to_string(s.mode);
    }
}

}  // namespace trelvane
