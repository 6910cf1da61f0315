// The watch window: through TrComCreateWatchDlg for what a caller sees at
// once, and through the window code compiled into this test with a clock of
// its own and a 50 ms tick, so that minutes pass in a blink.
#include <climits>

#include "DialogTestSupport.h"
#include "ui/TrResourceIds.h"
#include "ui/TrWatchClock.h"
#include "ui/TrWatchDlg.h"

namespace {

using namespace dlgtest;

std::string LocaleText(UINT id) {
    tr::Module h(::LoadLibraryA("TrLocale.DLL"));
    char buf[512] = {};
    ::LoadStringA(h.Get(), id, buf, sizeof(buf));
    return buf;
}
std::string Hours(int h, int m) { return tr::FormatNumbers(LocaleText(IDS_TR_WATCH_HOURS), h, m); }
std::string Minutes(int m) { return tr::FormatNumbers(LocaleText(IDS_TR_WATCH_MINUTES), m); }
std::string Soon() { return LocaleText(IDS_TR_WATCH_SOON); }
bool Gone(HWND h) { return !::IsWindow(h); }

using WatchWindow = DialogTest;

TEST_F(WatchWindow, OpensStackedDownTheRightEdgeAndTellsTheOwnerHowItEnded) {
    const auto destroy = [](HWND h) { ::DestroyWindow(h); };
    struct Row { int minutes; UINT code; const char* caption; int row; std::string time;
                 void (*end)(HWND); bool told; };
    const Row rows[] = {
        {120, 0x200002, "Next event", 0, Hours(2, 0), destroy, false},
        {-5, 0, nullptr, 2, Soon(), PressCloseBox, true},
        {INT_MAX, 0x12345, "far", INT_MAX, Hours(35791394, 7), PressCancel, true},
    };
    const RECT desk = Rect(::GetDesktopWindow());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.row);
        received.clear();
        HWND h = reinterpret_cast<HWND>(1);
        ASSERT_TRUE(TrComCreateWatchDlg(&h, row.minutes, row.code, row.caption, nullptr, row.row));
        EXPECT_EQ(ServerWindow(), ::GetWindow(h, GW_OWNER));
        EXPECT_EQ(row.caption ? row.caption : "", ItemText(h));
        EXPECT_EQ(row.time, ItemText(h, IDC_TR_WATCH_TIME));
        // Row N directly below row N-1; rows far off the screen are held at
        // the edge of the coordinates a window can take.
        const RECT r = Rect(h);
        EXPECT_EQ(desk.right, r.right);
        EXPECT_EQ(std::clamp<long long>(1LL * row.row * (r.bottom - r.top), SHRT_MIN, SHRT_MAX), r.top);
        row.end(h);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(h); }));
        EXPECT_EQ(row.told ? std::vector<WPARAM>{TR_WATCH_CANCELLED} : std::vector<WPARAM>{}, received)
            << "the user's cancel is told, the caller's destroying is not";
    }
}

// A clock that moves on by a fixed step at every reading and notes, before
// each tick, what the window showed.
struct FakeClock {
    ULONGLONG step, calls = 0;
    HWND window = nullptr;
    std::vector<std::string> shown;
    std::vector<EXECUTION_STATE> states;
    static inline FakeClock* current = nullptr;
    static ULONGLONG Now() {
        FakeClock& c = *current;
        if (c.window) {
            c.shown.push_back(ItemText(c.window, IDC_TR_WATCH_TIME));
            c.states.push_back(::SetThreadExecutionState(ES_CONTINUOUS));
        }
        return 133000000000000000ULL + c.step * c.calls++;  // somewhere in 2022
    }
};

TEST_F(WatchWindow, CountsDownMinuteByMinuteThroughTheClockSeam) {
    struct SeamReset { ~SeamReset() { tr::watchclock::SetForTesting(nullptr, 0); } } seamReset;
    tr::Module locale(::LoadLibraryA("TrLocale.DLL"));
    const ULONGLONG s = tr::watchclock::kUnitsPerSecond, m = tr::watchclock::kUnitsPerMinute;
    const std::string kind2 = LocaleText(IDS_TR_WATCH_KIND_2);
    // Only %d and %i take numbers: a translated %s or %n stays text.
    EXPECT_EQ("%s and %n stay, 1 2 %d", tr::FormatNumbers("%s and %n stay, %d %i %d", 1, 2));
    // shown: before each tick; posted: the event code when the last tick
    // shown ends it, else the window is cancelled after it.
    struct Row { int minutes; UINT code; ULONGLONG step; std::vector<std::string> shown; std::string kind;
                 UINT posted; };
    const Row rows[] = {
        {3, 0x200004, m, {Minutes(3), Minutes(2), Soon()}, LocaleText(IDS_TR_WATCH_KIND_4), 0x200004},
        {61, 0x200020, m, {Hours(1, 1), Hours(1, 0), Minutes(59)}, LocaleText(3910), TR_WATCH_CANCELLED},
        {120, 0x200010, m, {Hours(2, 0), Hours(1, 59)}, LocaleText(3911), TR_WATCH_CANCELLED},
        {10, 0x200002, 30 * s, {Minutes(10), Minutes(9)}, kind2, TR_WATCH_CANCELLED},           // 9:30 left
        {10, 0x200002, 29 * s + s / 2, {Minutes(10), Minutes(10)}, kind2, TR_WATCH_CANCELLED},  // 9:30.5 is 9:31
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.minutes << " min, step " << row.step / (s / 10) << " ds");
        received.clear();
        FakeClock clock{row.step, 0, nullptr, {}, {}};
        FakeClock::current = &clock;
        ::SetThreadExecutionState(ES_CONTINUOUS);
        tr::watchclock::SetForTesting(&FakeClock::Now, 50);
        HWND h = clock.window = tr::CreateWatchWindow(static_cast<HINSTANCE>(locale.Get()), ServerWindow(),
                                                      row.minutes, row.code, "watch", nullptr, 0);
        ASSERT_TRUE(h);
        EXPECT_EQ(row.kind, ItemText(h, IDC_TR_WATCH_KIND));
        ASSERT_TRUE(PumpUntil([&] { return Gone(h) || clock.shown.size() >= row.shown.size(); }));
        if (!Gone(h)) ::PostMessageA(h, WM_CLOSE, 0, 0);
        ASSERT_TRUE(PumpUntil([&] { return Gone(h); }));
        clock.shown.resize(std::min(clock.shown.size(), row.shown.size()));  // a tick past the cancel
        EXPECT_EQ(row.shown, clock.shown);
        EXPECT_EQ(std::vector<WPARAM>{row.posted}, received);
        // Kept awake from the first tick on (each reading resets the state).
        for (size_t i = 0; i < clock.states.size(); ++i)
            EXPECT_EQ(i ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS, clock.states[i]) << i;
    }
    EXPECT_EQ(0, tr::LiveWatchWindows());
}

}  // namespace
