// TrWatchClock.cpp - the real clock and tick of the watch window, and the
// seam that replaces them in tests.
#include "ui/TrWatchClock.h"

namespace tr {
namespace watchclock {
namespace {

ULONGLONG LocalNow() {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    FILETIME ft;
    ::SystemTimeToFileTime(&st, &ft);
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

NowFunction g_now = &LocalNow;
UINT g_tickMs = kTickMs;

}  // namespace

ULONGLONG Now() { return g_now(); }
UINT TickMs() { return g_tickMs; }

void SetForTesting(NowFunction now, UINT tickMs) {
    g_now = now ? now : &LocalNow;
    g_tickMs = tickMs ? tickMs : kTickMs;
}

}  // namespace watchclock
}  // namespace tr
