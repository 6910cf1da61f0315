// TrWatchClock.h - the watch window's clock and tick period. The product uses
// the local time and a one-minute tick; tests put in a clock of their own and
// a short tick, so that minutes pass in milliseconds.
#ifndef TR_UI_WATCHCLOCK_H
#define TR_UI_WATCHCLOCK_H

#include <windows.h>

namespace tr {
namespace watchclock {

// Local time in 100-nanosecond units since 1601, as FILETIME counts.
using NowFunction = ULONGLONG (*)();

constexpr UINT kTickMs = 60000;
constexpr ULONGLONG kUnitsPerSecond = 10000000ULL;
constexpr ULONGLONG kUnitsPerMinute = 60 * kUnitsPerSecond;

ULONGLONG Now();
UINT TickMs();

// Test seam: replaces the clock and the tick period (a NULL clock or a zero
// period puts the real one back). Not thread-safe; set it before creating a
// watch window.
void SetForTesting(NowFunction now, UINT tickMs);

}  // namespace watchclock
}  // namespace tr

#endif  // TR_UI_WATCHCLOCK_H
