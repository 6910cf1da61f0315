// CmdTimer.cpp - the timer's schedule that the resident server serves (the
// "Timer" key; see tools/trelvane/Schedule.h for its values).
#include "DialogHost.h"
#include "Json.h"
#include "Options.h"

#include "ProductKey.h"
#include "Schedule.h"

#include <algorithm>
#include <cstdio>

namespace trctl {
namespace {

using trelvane::Minute;
using trelvane::Schedule;

const char* ModeWord(DWORD mode) {
    static const char* const words[] = {"off", "once", "daily", "weekly"};
    return mode < 4 ? words[mode] : "unknown";
}

int Show(const Schedule& s, bool json) {
    const Minute now = trelvane::MinuteOfTicks(trelvane::LocalNowTicks());
    const Minute next = trelvane::NextAfter(s, std::max<Minute>(static_cast<Minute>(s.postState), now - 1));
    const std::string problem = trelvane::ScheduleProblem(s);
    const std::string key = "HKEY_CURRENT_USER\\" + trelvane::UserKeyPath(trelvane::SubKey::Timer);
    char time[8];
    std::snprintf(time, sizeof(time), "%02lu:%02lu", static_cast<unsigned long>(s.hour % 100),
                  static_cast<unsigned long>(s.minute % 100));
    if (json) {
        PrintJson({{"key", Utf8(key)},
                   {"mode", ModeWord(s.mode)},
                   {"schedule", trelvane::DescribeSchedule(s)},
                   {"timerMode", s.mode},
                   {"weekFlag", s.weekFlag},
                   {"time", time},
                   {"watchMinutes", s.timeLimit},
                   {"next", next == trelvane::kNoMinute ? Json(nullptr) : Json(trelvane::MinuteText(next))},
                   {"handledUpTo", s.postState ? Json(trelvane::MinuteText(s.postState)) : Json(nullptr)},
                   {"problem", Utf8(problem)}});
        return kExitOk;
    }
    std::printf("timer (%s)\n  schedule      %s\n", key.c_str(), trelvane::DescribeSchedule(s).c_str());
    std::printf("  next          %s\n", next == trelvane::kNoMinute ? "none" : trelvane::MinuteText(next).c_str());
    std::printf("  watch window  %lu min before\n", static_cast<unsigned long>(s.timeLimit));
    if (s.postState) std::printf("  dealt with up to %s\n", trelvane::MinuteText(s.postState).c_str());
    if (!problem.empty()) std::printf("  problem: %s\n", problem.c_str());
    return kExitOk;
}

// "HH:MM" into the schedule.
bool ParseClock(const std::string& text, Schedule& s) {
    unsigned h = 0, m = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%2u:%2u%c", &h, &m, &tail) != 2 || h > 23 || m > 59) return false;
    s.hour = h;
    s.minute = m;
    return true;
}

// "mon,wed,fri", "mon-fri" or "all" into WeekFlag bits.
bool ParseDays(const std::string& text, DWORD& flags) {
    const auto day = [](const std::string& name) {
        for (int d = 0; d < 7; ++d)
            if (_stricmp(name.c_str(), trelvane::kDayNames[d]) == 0) return d;
        return -1;
    };
    flags = 0;
    if (text == "all") flags = 0x7F;
    for (std::size_t start = 0; text != "all" && start <= text.size();) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string part = text.substr(start, comma - start);
        const std::size_t dash = part.find('-');
        const int from = day(part.substr(0, dash)), to = dash == std::string::npos ? from : day(part.substr(dash + 1));
        if (from < 0 || to < 0) return false;
        for (int d = from;; d = (d + 1) % 7) {
            flags |= 1u << d;
            if (d == to) break;
        }
        start = comma + 1;
    }
    return flags != 0;
}

}  // namespace

int RunTimer(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("timer", args, {{"--json", false}, {"--watch", true}}, o, rc)) return rc;
    const Args& words = o.Positional();
    Schedule s;
    if (!trelvane::ReadSchedule(s)) return Fail(kExitSystem, "timer: the product key table cannot be read (no TrLocale.DLL?)");
    if (words.empty()) {
        if (o.Has("--watch")) return Fail(kExitUsage, "timer: --watch belongs to once, daily and weekly");
        return Show(s, o.Has("--json"));
    }
    if (o.Has("--json")) return Fail(kExitUsage, "timer: --json shows; it takes no " + words[0]);
    const std::string& mode = words[0];
    const std::size_t wanted = mode == "off" ? 1 : mode == "weekly" ? 3 : 2;
    if ((mode != "off" && mode != "once" && mode != "daily" && mode != "weekly") || words.size() != wanted)
        return Fail(kExitUsage, "timer: give off, once <time>, daily <HH:MM> or weekly <days> <HH:MM> (see --help)");
    long long watch = s.timeLimit;
    std::string error;
    if (!NumberOption(o, "--watch", 0, 1440, watch, error)) return Fail(kExitUsage, "timer: " + error);
    s.timeLimit = static_cast<DWORD>(watch);
    const std::string& when = words.back();
    if (mode == "off") {
        s.mode = trelvane::kTimerOff;
    } else if (mode == "once") {
        SYSTEMTIME t = {};
        long long ahead = 0;
        if (!when.empty() && when[0] == '+' && ParseNumber(when.substr(1), 1, 10LL * 366 * 24 * 60, ahead)) {
            t = trelvane::FromMinute(trelvane::MinuteOfTicks(trelvane::LocalNowTicks()) + ahead);
        } else if (!ParseLocalTime(when, t) || when[0] == '-') {
            return Fail(kExitUsage, "timer once: '" + when + "' is no time (YYYY-MM-DD HH:MM, HH:MM today, or +N minutes)");
        }
        s.mode = trelvane::kTimerOnce;
        s.year = t.wYear, s.month = t.wMonth, s.day = t.wDay, s.hour = t.wHour, s.minute = t.wMinute;
        if (!trelvane::ScheduleProblem(s).empty()) return Fail(kExitUsage, "timer once: " + trelvane::ScheduleProblem(s));
        if (trelvane::ToMinute(t) <= trelvane::MinuteOfTicks(trelvane::LocalNowTicks()))
            return Fail(kExitUsage, "timer once: " + trelvane::MinuteText(trelvane::ToMinute(t)) + " has passed already");
    } else {
        if (!ParseClock(when, s)) return Fail(kExitUsage, "timer " + mode + ": '" + when + "' is no time of day (HH:MM)");
        s.mode = mode == "daily" ? trelvane::kTimerDaily : trelvane::kTimerWeekly;
        if (mode == "weekly" && !ParseDays(words[1], s.weekFlag))
            return Fail(kExitUsage, "timer weekly: '" + words[1] + "' names no days (mon,wed,fri or mon-fri or all)");
    }
    // Only times from now on count: none before it is shown as missed.
    s.postState = static_cast<DWORD>(trelvane::MinuteOfTicks(trelvane::LocalNowTicks()));
    if (!trelvane::WriteSchedule(s))
        return Fail(kExitSystem, "timer: HKEY_CURRENT_USER\\" + trelvane::UserKeyPath(trelvane::SubKey::Timer) +
                                     " cannot be written");
    const Minute next = trelvane::NextAfter(s, s.postState);
    std::printf("timer: %s%s%s\n", trelvane::DescribeSchedule(s).c_str(),
                next == trelvane::kNoMinute ? "" : ", next ", next == trelvane::kNoMinute ? "" : trelvane::MinuteText(next).c_str());
    std::printf("%s\n", trelvane::TellServerToReload() ? "the running server reads it now"
                                                        : "no server runs; Trelvane.exe reads it at its start");
    return kExitOk;
}

}  // namespace trctl
