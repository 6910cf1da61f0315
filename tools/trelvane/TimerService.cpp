// TimerService.cpp - the watch window, the due time and the missed time.
#include "TimerService.h"

#include "Diagnosis.h"
#include "Reporter.h"
#include "Serving.h"

#include <TrCommon.h>
#include <TrCommonClasses.h>

#include <algorithm>

namespace trelvane {
namespace {

// Looked at at least once a minute, so a clock set forward or back is noticed.
constexpr ULONGLONG kMaxSleepTicks = kTicksPerMinute;
constexpr ULONGLONG kTicksPerMs = 10000;

}  // namespace

TimerService::TimerService(HWND window, UINT timerId, Serving& serving, Reporter& reporter, Clock clock)
    : m_window(window), m_timerId(timerId), m_serving(serving), m_reporter(reporter), m_clock(std::move(clock)) {}

TimerService::~TimerService() {
    ::KillTimer(m_window, m_timerId);
    CloseWatch();
}

void TimerService::Reload() {
    m_readable = ReadSchedule(m_schedule);
    if (!m_readable) {
        m_reporter.ProblemOnce("the timer schedule cannot be read: the product key is unknown (TrLocale.DLL missing)");
    } else if (!ScheduleProblem(m_schedule).empty()) {
        m_reporter.ProblemOnce("the timer schedule is not served: " + ScheduleProblem(m_schedule) +
                               " (trctl timer sets it)");
    } else {
        const Minute next = NextAfter(m_schedule, m_schedule.postState);
        m_reporter.Note("timer schedule: " + DescribeSchedule(m_schedule) +
                        (next == kNoMinute ? std::string(", nothing to come") : ", next " + MinuteText(next)));
    }
    Check();
}

void TimerService::Check() {
    if (m_checking) return;
    if (m_watch && !::IsWindow(m_watch)) m_watch = nullptr;  // it ended by itself
    if (!m_readable) {
        CloseWatch();
        Arm(m_clock(), kNoMinute);
        return;
    }
    ULONGLONG now = m_clock();
    Minute next = NextAfter(m_schedule, m_schedule.postState);
    // A time that passed more than a little while ago was missed: shown
    // once, the latest of them, however many passed.
    if (next != kNoMinute && TicksOfMinute(next) + kLateTicks <= now) {
        ShowMissed(LastUpTo(m_schedule, m_schedule.postState, MinuteOfTicks(now - kLateTicks)));
        now = m_clock();
        next = NextAfter(m_schedule, m_schedule.postState);
    }
    if (next != kNoMinute && TicksOfMinute(next) <= now) {
        // Noted as handled first: however the serving ends, this time is done.
        m_schedule.postState = static_cast<DWORD>(next);
        WritePostState(next);
        CloseWatch();
        m_reporter.Note("timer: the time " + MinuteText(next) + " is due");
        m_checking = true;
        m_serving.ServeTimer(true);
        m_checking = false;
        now = m_clock();
        next = NextAfter(m_schedule, m_schedule.postState);
    }
    if (m_watch && m_watchFor != next) CloseWatch();  // the schedule changed
    const ULONGLONG lead = static_cast<ULONGLONG>(m_schedule.timeLimit) * kTicksPerMinute;
    if (next != kNoMinute && !m_watch && m_watchFor != next && lead && TicksOfMinute(next) <= now + lead) {
        const ULONGLONG left = TicksOfMinute(next) - now;
        const int minutes = static_cast<int>(std::max<ULONGLONG>(1, (left + kTicksPerMinute - 1) / kTicksPerMinute));
        HWND watch = nullptr;
        if (TrComCreateWatchDlg(&watch, minutes, kWatchTimerCode, "Trelvane timer", nullptr, 0) && watch) {
            m_watch = watch;
            m_reporter.Note("timer: watch window counts " + std::to_string(minutes) + " min down to " +
                            MinuteText(next));
        } else {
            m_reporter.ProblemOnce("the timer's watch window cannot be shown (no server window or no TrLocale.DLL)");
        }
        m_watchFor = next;  // tried once per time, shown or not
    }
    Arm(now, next);
}

void TimerService::OnWatchMessage(WPARAM code) {
    m_watch = nullptr;  // the window is gone by now
    if (code == TR_WATCH_CANCELLED && m_watchFor != kNoMinute &&
        m_watchFor > static_cast<Minute>(m_schedule.postState)) {
        m_schedule.postState = static_cast<DWORD>(m_watchFor);
        WritePostState(m_watchFor);
        m_reporter.Note("timer: the watch window was cancelled; the time " + MinuteText(m_watchFor) + " is skipped");
    }
    Check();
}

void TimerService::CloseWatch() {
    // Destroyed by us, the window posts nothing.
    if (m_watch && ::IsWindow(m_watch)) ::DestroyWindow(m_watch);
    m_watch = nullptr;
}

void TimerService::ShowMissed(Minute missed) {
    if (missed == kNoMinute) return;
    m_schedule.postState = static_cast<DWORD>(missed);
    WritePostState(missed);  // once, even if nothing can be shown
    CloseWatch();
    TR_APP_DATA_STRUC app = {};
    if (!TrComGetAppDataOfTimer(&app)) {
        const std::string problem = DataFileProblem(CTrAppDataFinder::kTimer);
        if (problem.empty()) m_reporter.Note("timer: the time " + MinuteText(missed) + " was missed; nothing is bound");
        else m_reporter.Problem("timer: " + problem);
        return;
    }
    m_reporter.Note("timer: the time " + MinuteText(missed) + " passed while the server was not running or the "
                    "machine slept; past-time dialog shown");
    const SYSTEMTIME at = FromMinute(missed);
    int code = 0;
    m_checking = true;
    const BOOL shown = TrComDoModalPastDlg(&code, &app, &at);
    m_checking = false;
    if (!shown) {
        m_reporter.Problem("timer: the past-time dialog for " + MinuteText(missed) +
                           " cannot be shown (no server window or no TrLocale.DLL)");
    } else if (code == IDOK) {
        m_serving.LaunchChosen("timer (missed " + MinuteText(missed) + ")", app);
    } else {
        m_reporter.Note("timer: the missed time " + MinuteText(missed) + " was dismissed");
    }
}

void TimerService::Arm(ULONGLONG now, Minute next) {
    ULONGLONG wait = kMaxSleepTicks;
    if (next != kNoMinute) {
        const ULONGLONG at = TicksOfMinute(next), lead = static_cast<ULONGLONG>(m_schedule.timeLimit) * kTicksPerMinute;
        if (at > now) wait = std::min(wait, at - now);
        if (lead && m_watchFor != next && at > now + lead) wait = std::min(wait, at - lead - now);
    }
    const UINT ms = static_cast<UINT>(std::max<ULONGLONG>(10, wait / kTicksPerMs + 1));
    ::SetTimer(m_window, m_timerId, ms, nullptr);
}

}  // namespace trelvane
