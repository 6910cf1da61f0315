// TimerService.h - serving the timer's schedule: the watch window counting
// down when the time is near, the timer event at the time, and a time that
// passed while the machine was off or asleep (or the server not running)
// shown once in the past-time dialog, at the next start or wake-up.
#ifndef TRELVANE_TIMERSERVICE_H
#define TRELVANE_TIMERSERVICE_H

#include <windows.h>

#include "Schedule.h"

#include <functional>

namespace trelvane {

class Reporter;
class Serving;

// The local time in 100 ns ticks since 1601; tests move it.
using Clock = std::function<ULONGLONG()>;

// The watch window's event code: its kind text is "Scheduled application
// will start".
constexpr UINT kWatchTimerCode = 0x200002;
// A time served up to this late (a busy or just woken machine) still
// counts as on time; later it is missed.
constexpr ULONGLONG kLateTicks = 2 * kTicksPerMinute;

class TimerService {
public:
    TimerService(HWND window, UINT timerId, Serving& serving, Reporter& reporter, Clock clock);
    ~TimerService();
    TimerService(const TimerService&) = delete;
    TimerService& operator=(const TimerService&) = delete;

    // Reads the schedule again and looks at it.
    void Reload();
    // Looks at the schedule now: serves a due time, shows a missed one,
    // opens the watch window, and sets the window timer for the next look.
    // On WM_TIMER of timerId, at start, on reload and on wake-up.
    void Check();
    // "Trelvane Message" from the watch window: cancelled skips the coming
    // time; time up only means "look now".
    void OnWatchMessage(WPARAM code);
    HWND WatchWindow() const { return m_watch; }

private:
    void CloseWatch();
    void ShowMissed(Minute missed);
    void Arm(ULONGLONG now, Minute next);

    HWND m_window;
    UINT m_timerId;
    Serving& m_serving;
    Reporter& m_reporter;
    Clock m_clock;
    Schedule m_schedule;
    bool m_readable = false;
    bool m_checking = false;      // a dialog of Check is open: no second look meanwhile
    HWND m_watch = nullptr;       // the watch window, destroyed with us
    Minute m_watchFor = kNoMinute;  // the time it counts down to
};

}  // namespace trelvane

#endif  // TRELVANE_TIMERSERVICE_H
