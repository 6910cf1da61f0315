// The resource-library pair, file icons and the three dialogs, shown for real
// and worked from a driver thread; the watch window also on a fake clock.
#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <thread>

#include "TrTestSupport.h"
#include "include/TrCommon.h"
#include "ui/TrGdiOwners.h"
#include "ui/TrLocaleModule.h"
#include "ui/TrModule.h"
#include "ui/TrResourceIds.h"
#include "ui/TrWatchClock.h"
#include "ui/TrWatchDlg.h"

namespace {

constexpr int kMarker = 0x5eed;
constexpr SYSTEMTIME kNewYear = {2024, 1, 1, 1, 12, 0, 0, 0};

// The pair is compiled into this executable, so the process-wide resource
// handle is this executable's copy: it starts as whatever the test sets.
HINSTANCE Fake(ULONG_PTR value) { return reinterpret_cast<HINSTANCE>(value); }

TEST(LocaleModule, NestedPairsRestoreExactlyWhatTheySaved) {
    tr::SetResourceHandle(Fake(0x10000));
    HINSTANCE outer = nullptr, outerSaved = nullptr, inner = nullptr, innerSaved = nullptr;
    ASSERT_TRUE(tr::LoadLocaleModule(&outer, &outerSaved) && tr::LoadLocaleModule(&inner, &innerSaved));
    EXPECT_TRUE(outerSaved == Fake(0x10000) && innerSaved == outer && tr::GetResourceHandle() == inner);
    EXPECT_TRUE(tr::FreeLocaleModule(inner, innerSaved) && tr::GetResourceHandle() == outer);
    // The library is still loaded by the outer use: its resources still load.
    char text[64] = {};
    EXPECT_GT(::LoadStringA(outer, IDS_TR_REG_ROOT_TEXT, text, sizeof(text)), 0);
    EXPECT_TRUE(tr::FreeLocaleModule(outer, outerSaved) && tr::GetResourceHandle() == Fake(0x10000));
    EXPECT_EQ(nullptr, ::GetModuleHandleA(tr::kLocaleLibrary)) << "TrLocale.DLL left loaded";
    // Freeing no library restores nothing; no out-pointers, no load.
    EXPECT_TRUE(tr::FreeLocaleModule(nullptr, Fake(0x20000)) && tr::GetResourceHandle() == Fake(0x10000));
    EXPECT_FALSE(tr::LoadLocaleModule(nullptr, nullptr));
}

TEST(IconHandle, MissingOrEmptyPathGivesTheProductIconInBothSizes) {
    for (const char* path : {"C:\\no\\such\\file.exe", ""})
        for (BOOL large : {TRUE, FALSE}) {
            HICON icon = reinterpret_cast<HICON>(Fake(0xdead));
            ICONINFO info = {};
            BITMAP bm = {};
            ASSERT_TRUE(TrComGetIconHandle(&icon, path, large) && ::GetIconInfo(icon, &info)) << path << " " << large;
            tr::GdiObject colour(info.hbmColor), mask(info.hbmMask);
            ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
            EXPECT_EQ(large ? 32 : 16, bm.bmWidth);
            EXPECT_TRUE(::DestroyIcon(icon)) << "the caller owns the icon";
        }
    EXPECT_EQ(nullptr, ::GetModuleHandleA(tr::kLocaleLibrary)) << "TrLocale.DLL left loaded";
    EXPECT_FALSE(TrComGetIconHandle(nullptr, trtest::SelfPath().c_str(), TRUE));
}

// Registered as the server once per process (the block lives as long); notes
// the wParam of every "Trelvane Message" it receives.
std::vector<WPARAM> received;
LRESULT CALLBACK ServerProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg != ::RegisterWindowMessageA(TR_MSG_TRELVANE_NAME) || l) return ::DefWindowProcA(h, msg, w, l);
    received.push_back(w);
    return 0;
}
HWND ServerWindow() {
    static const WNDCLASSA wc = {0, ServerProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "TrDlgTest"};
    static const HWND h = ::CreateWindowA(MAKEINTATOM(::RegisterClassA(&wc)), "", WS_OVERLAPPEDWINDOW, 0, 0, 9, 9,
                                          nullptr, nullptr, nullptr, nullptr);
    static const bool server = h && TrComSetServer(h);
    return server ? h : nullptr;
}

TR_APP_DATA_STRUC Block(const char* title, const char* description) {
    TR_APP_DATA_STRUC d = {};
    std::strncpy(d.szTitle, title, sizeof(d.szTitle) - 1);
    std::strncpy(d.szDescription, description, sizeof(d.szDescription) - 1);
    std::strcpy(d.szPath, "C:\\no\\such\\folder\\app.exe");  // the fallback icon, then
    return d;
}

// Pumps messages (through IsDialogMessage, as a modeless window's owner must).
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    for (const DWORD start = ::GetTickCount();; ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            if (!msg.hwnd || !::IsDialogMessageA(::GetAncestor(msg.hwnd, GA_ROOT), &msg)) ::DispatchMessageA(&msg);
        if (done()) return true;
        if (::GetTickCount() - start >= timeoutMs) return false;
    }
}

std::vector<HWND> Windows(const char* cls = nullptr) {
    std::vector<HWND> found;
    DWORD pid = 0;
    for (HWND h = nullptr; (h = ::FindWindowExA(nullptr, h, cls, nullptr)) != nullptr;)
        if (::GetWindowThreadProcessId(h, &pid) && pid == ::GetCurrentProcessId()) found.push_back(h);
    return found;
}

std::string ItemText(HWND hWnd, int id = 0) {
    char buf[1024] = {};
    return ::GetWindowTextA(id ? ::GetDlgItem(hWnd, id) : hWnd, buf, sizeof(buf)), buf;
}

void PressOk(HWND h) { ::PostMessageA(::GetDlgItem(h, IDOK), BM_CLICK, 0, 0); }
void PressCancel(HWND h) { ::PostMessageA(::GetDlgItem(h, IDCANCEL), BM_CLICK, 0, 0); }
void PressCloseBox(HWND h) { ::PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); }

// Runs a modal export here while drive(hDlg) works its visible dialog from another thread.
struct Modal { BOOL ok = -1; int code = kMarker; DWORD ms = 0; bool shown = false; };
Modal RunModal(const std::function<BOOL(int*)>& call, const std::function<void(HWND)>& drive) {
    Modal r;
    std::atomic<bool> returned{false};  // a refusal shows no dialog to wait for
    std::thread driver([&] {
        HWND hDlg = nullptr;
        PumpUntil([&] {
            for (HWND h : Windows("#32770")) hDlg = ::IsWindowVisible(h) ? h : hDlg;
            return hDlg || returned;
        });
        if ((r.shown = hDlg != nullptr) && drive) drive(hDlg);
    });
    const DWORD start = ::GetTickCount();
    r.ok = call(&r.code);
    r.ms = ::GetTickCount() - start;
    returned = true;
    driver.join();
    return r;
}

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override { received.clear(); ASSERT_TRUE(ServerWindow()); }
    void TearDown() override { for (HWND h : Windows("#32770")) ::DestroyWindow(h); }
};

using Call = std::function<BOOL(int*)>;
Call Info(UINT s, TR_APP_DATA_STRUC d = Block("T", "D")) { return [=](int* c) { return TrComDoModalInfoDlg(c, &d, s); }; }
Call Past(TR_APP_DATA_STRUC d, SYSTEMTIME t) { return [=](int* c) { return TrComDoModalPastDlg(c, &d, &t); }; }

TEST_F(Dialogs, ModalOnesEndWithTheCodeOfTheWayTheyWereClosed) {
    // Without an action the countdown ends it, never early but maybe late. OK
    // and Cancel are pressed below; Esc takes the close box's path.
    const struct { Call run; void (*act)(HWND); int code; DWORD ms; } rows[] = {
        {Info(30), PressCloseBox, IDCANCEL, 0}, {Info(1), nullptr, IDOK, 1000}, {Info(2), nullptr, IDOK, 2000},
        {Past(Block("T", "D"), {2023, 13, 0, 40, 25, 61, 0, 0}), PressCloseBox, IDCANCEL, 0}};
    for (const auto& row : rows) {
        const Modal r = RunModal(row.run, row.act);
        EXPECT_TRUE(r.shown && r.ok == TRUE && r.code == row.code && r.ms + 200 >= row.ms && r.ms < row.ms + 8000)
            << "row " << &row - rows << ": code " << r.code << " after " << r.ms << " ms";
    }
}

// A bitmap resource or a copy of the screen, read back with GetPixel.
struct Picture {
    explicit Picture(HGDIOBJ hBitmap) : bitmap(hBitmap), select(dc.Get(), hBitmap) {}
    tr::MemoryDC dc{::CreateCompatibleDC(nullptr)};
    tr::GdiObject bitmap;
    tr::SelectScope select;
    COLORREF At(int x, int y) const { return ::GetPixel(dc.Get(), x, y); }
};

// Pixels of r within tolerance of want(x, y), by the largest channel difference.
int Matching(const Picture& shot, const RECT& r, const std::function<COLORREF(int, int)>& want, int tolerance = 40) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF a = shot.At(x, y), b = want(x, y);
            n += std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                           std::abs(GetBValue(a) - GetBValue(b))}) <= tolerance;
        }
    return n;
}

// What the info dialog's client area lacks, if anything: the background, both
// digits, a picture over the icon window's black well, the texts in their colours.
std::string Lacks(const Picture& shot, const Picture& back) {
    const auto background = [&](int x, int y) { return back.At(x, y); };
    const auto colour = [](COLORREF c) { return [c](int, int) { return c; }; };
    for (const POINT& p : {POINT{10, 10}, POINT{30, 100}, POINT{200, 115}, POINT{380, 100}, POINT{450, 20}})
        if (!Matching(shot, {p.x, p.y, p.x + 1, p.y + 1}, background, 2)) return "the background";
    for (const int x : {115, 132})  // a digit covers about half of its 14 x 20 cell
        if (Matching(shot, {x, 41, x + 14, 61}, background) > 200) return "a digit";
    if (Matching(shot, {60, 24, 92, 56}, colour(RGB(0, 0, 0))) > 32 * 32 - 150) return "the icon";
    const struct { const char* name; RECT rect; COLORREF colour; } texts[] = {
        {"heading", {112, 16, 255, 31}, RGB(255, 200, 0)}, {"prompt", {152, 50, 412, 65}, RGB(0, 255, 0)},
        {"title", {60, 77, 360, 91}, RGB(255, 255, 255)}, {"description", {60, 92, 360, 106}, RGB(255, 255, 255)}};
    for (const auto& t : texts)
        if (Matching(shot, t.rect, colour(t.colour)) <= 15) return t.name;
    return "";
}

TEST_F(Dialogs, InfoDialogLaysItselfOutAndPaints) {
    tr::Module locale(::LoadLibraryA("TrLocale.DLL"));
    const Picture back(::LoadImageA(locale.Get(), MAKEINTRESOURCEA(IDB_TR_INFO_BACKGROUND), IMAGE_BITMAP, 0, 0, 0));
    BITMAP bm = {};
    ASSERT_TRUE(::GetObjectA(back.bitmap.Get(), sizeof(bm), &bm));
    std::string lacks = "?";
    const Modal r = RunModal(Info(9, Block("Title text", "Description text")), [&](HWND hDlg) {
        RECT window, client, ok, cancel;
        POINT corner = {}, cursor = {};
        ::ClientToScreen(hDlg, &corner);
        ::GetWindowRect(hDlg, &window);
        ::GetWindowRect(::GetDlgItem(hDlg, IDOK), &ok);
        ::GetWindowRect(::GetDlgItem(hDlg, IDCANCEL), &cancel);
        EXPECT_TRUE(bm.bmWidth == window.right - window.left &&
                    bm.bmHeight + ::GetSystemMetrics(SM_CYCAPTION) == window.bottom - window.top);
        EXPECT_TRUE(::GetWindowLongPtrA(hDlg, GWL_EXSTYLE) & WS_EX_TOPMOST);
        const auto at = [&](const RECT& b, int x) {
            return b.left - corner.x == x && b.top - corner.y == 16 && b.right - b.left == 65 && b.bottom - b.top == 23;
        };
        EXPECT_TRUE(at(ok, 257) && at(cancel, 327));
        // Centred on the work area (its owner is hidden); the icon window at (60, 24) of the client area.
        RECT work = {}, icon = {};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_TRUE(window.left == (work.left + work.right - (window.right - window.left)) / 2 &&
                    window.top == (work.top + work.bottom - (window.bottom - window.top)) / 2);
        const std::vector<HWND> icons = Windows("TrCommonIconWnd");
        EXPECT_TRUE(icons.size() == 1 && ::GetWindowRect(icons[0], &icon) && icon.left - corner.x == 60 &&
                    icon.top - corner.y == 24);
        HWND hIcon = ::GetDlgItem(hDlg, IDC_TR_INFO_ICON);
        EXPECT_TRUE(::SendMessageA(hIcon, STM_GETICON, 0, 0) && !::IsWindowVisible(hIcon)) << "set and hidden";
        EXPECT_TRUE(PumpUntil([&] { return ::GetCursorPos(&cursor) && cursor.x == ok.left + 10 &&
                                           cursor.y == ok.top + 10; }, 3000)) << cursor.x << "," << cursor.y;
        // A late activation may cover the icon until the next tick lifts it.
        ::GetClientRect(hDlg, &client);
        tr::WindowDC screen(nullptr);
        PumpUntil([&] {
            const Picture shot(::CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
            ::BitBlt(shot.dc.Get(), 0, 0, client.right, client.bottom, screen.Get(), corner.x, corner.y, SRCCOPY);
            return (lacks = Lacks(shot, back)).empty();
        }, 3000);
        PressOk(hDlg);
    });
    EXPECT_EQ(IDOK, r.code);
    EXPECT_EQ("", lacks);
}

TEST_F(Dialogs, PastDialogShowsTheApplicationAndTheTimes) {
    TR_APP_DATA_STRUC raw;
    std::memset(&raw, 'x', sizeof(raw));  // no terminator anywhere
    const SYSTEMTIME leapDay = {2024, 2, 4, 29, 7, 5, 0, 0};
    char date[128] = {};
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &leapDay, nullptr, date, sizeof(date));
    const Modal r = RunModal(Past(raw, leapDay), [&](HWND hDlg) {
        // Each field taken as the launcher takes it: at most 259 bytes.
        EXPECT_EQ(std::string(259, 'x') + "\r\n" + std::string(259, 'x'), ItemText(hDlg, IDC_TR_PAST_TEXT));
        EXPECT_EQ(std::string(date) + " 07:05", ItemText(hDlg, IDC_TR_PAST_EVENT));
        EXPECT_NE("", ItemText(hDlg, IDC_TR_PAST_NOW));
        EXPECT_TRUE(::SendDlgItemMessageA(hDlg, IDC_TR_PAST_ICON, STM_GETICON, 0, 0)) << "the fallback icon";
        EXPECT_TRUE(::SendMessageA(hDlg, WM_GETICON, ICON_SMALL, 0)) << "the product's icon in the caption";
        PressOk(hDlg);
    });
    EXPECT_EQ(IDOK, r.code);
}

TEST_F(Dialogs, AllThreeRefuseBadInputAndShowNothing) {
    const TR_APP_DATA_STRUC d = Block("T", "D");
    const size_t windows = Windows().size();
    int code = kMarker;
    EXPECT_FALSE(TrComDoModalInfoDlg(&code, &d, 0) || TrComDoModalInfoDlg(&code, &d, 100) ||
                 TrComDoModalInfoDlg(nullptr, &d, 1) || TrComDoModalPastDlg(nullptr, &d, &kNewYear) ||
                 TrComDoModalPastDlg(&code, nullptr, &kNewYear) || TrComDoModalPastDlg(&code, &d, nullptr) ||
                 TrComCreateWatchDlg(nullptr, 5, 0x200002, "x", nullptr, 0));
    EXPECT_TRUE(code == kMarker && windows == Windows().size()) << "code untouched, nothing shown";
    // Without the shared block (its lock's name taken) there is no server to own a dialog.
    const tr::Handle taken(::CreateEventA(nullptr, TRUE, FALSE, "TrCommon1999 Mutex"));
    ASSERT_TRUE(taken);
    HWND watch = nullptr;
    EXPECT_FALSE(TrComDoModalInfoDlg(&code, &d, 1) || TrComDoModalPastDlg(&code, &d, &kNewYear) ||
                 TrComCreateWatchDlg(&watch, 5, 0x200002, "x", nullptr, 0));
    EXPECT_TRUE(code == kMarker && !watch && windows == Windows().size()) << "code untouched, nothing shown";
}

// GDI objects and top-level windows of this process.
std::pair<long, size_t> CountGui() { return {trtest::GdiObjectCount(), Windows().size()}; }

// The info dialog holds the most: two pictures, an image list, an icon window.
TEST_F(Dialogs, HundredInfoDialogsLeaveNoObjectsBehind) {
    const auto run = [] { return RunModal(Info(30), PressCancel).code == IDCANCEL; };
    ASSERT_TRUE(run());  // the first run fills the system's caches (fonts, classes)
    const auto before = CountGui();
    int good = 0;
    for (int i = 0; i < 100; ++i) good += run();
    EXPECT_TRUE(good == 100 && before.first > 0);
    EXPECT_EQ(before, CountGui()) << "GDI objects and top-level windows";
}

std::string LocaleText(UINT id) {
    char buf[512] = {};
    return ::LoadStringA(tr::Module(::LoadLibraryA("TrLocale.DLL")).Get(), id, buf, sizeof(buf)), buf;
}
std::string Hours(int h, int m) { return tr::FormatNumbers(LocaleText(IDS_TR_WATCH_HOURS), h, m); }
std::string Minutes(int m) { return tr::FormatNumbers(LocaleText(IDS_TR_WATCH_MINUTES), m); }

TEST_F(Dialogs, WatchWindowsStackDownTheRightEdgeAndTellTheOwnerHowTheyEnded) {
    const std::string longCaption(300, 'c');
    // 0x200010 and 0x200020 take 3911 and 3910, out of order; an unknown code
    // keeps the template's text.
    const struct { int minutes; UINT code; const char* caption; int row; std::string time, kind;
                   void (*end)(HWND); bool told; } rows[] = {
        {120, 0x200010, "Next event", 0, Hours(2, 0), LocaleText(3911), [](HWND h) { ::DestroyWindow(h); }, false},
        {-5, 0, nullptr, 2, LocaleText(IDS_TR_WATCH_SOON), "", PressCloseBox, true},
        {INT_MAX, 0x200020, longCaption.c_str(), INT_MAX, Hours(35791394, 7), LocaleText(3910), PressCancel, true},
    };
    RECT desk, r;
    ::GetWindowRect(::GetDesktopWindow(), &desk);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        received.clear();
        HWND h = reinterpret_cast<HWND>(1);
        ASSERT_TRUE(TrComCreateWatchDlg(&h, row.minutes, row.code, row.caption, nullptr, row.row));
        EXPECT_EQ(ServerWindow(), ::GetWindow(h, GW_OWNER));
        EXPECT_EQ(row.caption ? row.caption : "", ItemText(h));
        EXPECT_EQ(row.time, ItemText(h, IDC_TR_WATCH_TIME));
        if (!row.kind.empty()) { EXPECT_EQ(row.kind, ItemText(h, IDC_TR_WATCH_KIND)); }
        // Rows far off the screen are held at the edge of what a window can take.
        ::GetWindowRect(h, &r);
        EXPECT_EQ(desk.right, r.right);
        EXPECT_EQ(std::clamp<long long>(1LL * row.row * (r.bottom - r.top), SHRT_MIN, SHRT_MAX), r.top);
        row.end(h);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(h); }));
        EXPECT_EQ(row.told ? std::vector<WPARAM>{TR_WATCH_CANCELLED} : std::vector<WPARAM>{}, received)
            << "the user's cancel is told, the caller's destroying is not";
    }
}

// A clock that moves on by a fixed step at every reading and notes, before
// each tick, what the watch window showed and the thread's execution state.
ULONGLONG g_step, g_calls;
HWND g_watch;
std::vector<std::string> g_shown;
std::vector<EXECUTION_STATE> g_states;
ULONGLONG FakeNow() {
    if (g_watch) {
        g_shown.push_back(ItemText(g_watch, IDC_TR_WATCH_TIME));
        g_states.push_back(::SetThreadExecutionState(ES_CONTINUOUS));
    }
    return 133000000000000000ULL + g_step * g_calls++;  // somewhere in 2022
}

TEST_F(Dialogs, WatchWindowCountsDownMinuteByMinuteThroughTheClockSeam) {
    struct SeamReset { ~SeamReset() { tr::watchclock::SetForTesting(nullptr, 0); } } seamReset;
    tr::Module locale(::LoadLibraryA("TrLocale.DLL"));
    const ULONGLONG s = tr::watchclock::kUnitsPerSecond, m = tr::watchclock::kUnitsPerMinute;
    // The forms the resource check lets through take numbers, with precision and length
    // modifiers; a translated %s, %n, %*d or %Ld stays text.
    const struct { const char* format; const char* shown; } formats[] = {
        {.format = "%s and %n stay, %d %i %d", .shown = "%s and %n stay, 1 2 %d"},
        {.format = "%ld h %.2hd min", .shown = "1 h 02 min"},
        {.format = "%*d %Ld %-3lld|", .shown = "%*d %Ld 1  |"},
    };
    for (const auto& f : formats) EXPECT_EQ(f.shown, tr::FormatNumbers(f.format, 1, 2)) << f.format;
    // shown: before each tick; posted: the event code when the last tick
    // shown ends it, else the window is cancelled after it.
    const struct { int minutes; ULONGLONG step; std::vector<std::string> shown; UINT posted; } rows[] = {
        {3, m, {Minutes(3), Minutes(2), LocaleText(IDS_TR_WATCH_SOON)}, 0x200004},
        {61, m, {Hours(1, 1), Hours(1, 0), Minutes(59)}, TR_WATCH_CANCELLED},
        {10, 30 * s, {Minutes(10), Minutes(9)}, TR_WATCH_CANCELLED},           // 9:30 left
        {10, 29 * s + s / 2, {Minutes(10), Minutes(10)}, TR_WATCH_CANCELLED},  // 9:30.5 is 9:31
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        received.clear(), g_shown.clear(), g_states.clear(), g_step = row.step, g_calls = 0, g_watch = nullptr;
        ::SetThreadExecutionState(ES_CONTINUOUS);
        tr::watchclock::SetForTesting(&FakeNow, 50);
        HWND h = g_watch = tr::CreateWatchWindow(static_cast<HINSTANCE>(locale.Get()), ServerWindow(), row.minutes,
                                                 0x200004, "watch", nullptr, 0);
        ASSERT_TRUE(h);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(h) || g_shown.size() >= row.shown.size(); }));
        ::PostMessageA(h, WM_CLOSE, 0, 0);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(h); }));
        g_shown.resize(std::min(g_shown.size(), row.shown.size()));  // a tick past the cancel
        EXPECT_EQ(row.shown, g_shown);
        EXPECT_EQ(std::vector<WPARAM>{row.posted}, received);
        // Kept awake from the first tick on (each reading resets the state).
        for (size_t i = 0; i < g_states.size(); ++i)
            EXPECT_EQ(i ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS, g_states[i]) << i;
    }
    EXPECT_EQ(0, tr::LiveWatchWindows());
}

// All three exports against no library, a "sparse" one (templates 102 and 103
// only), an "empty" one, or the real one while the block names a server window
// that is "gone"; without a library, also the pair and file icons. Exit code:
// 0, else the first failed check's number.
TR_CHILD_ROLE(dialogs_in_sandbox) {
    const bool none = args.at(0) == "none", sparse = args.at(0) == "sparse";
    int step = 0, failed = 0;
    const auto check = [&](bool good) { ++step; if (!good && !failed) failed = step; };
    if (none) {
        HINSTANCE lib = Fake(0x1234), saved = Fake(0x5678);
        HICON icon = nullptr, missing = reinterpret_cast<HICON>(Fake(0xdead));
        tr::SetResourceHandle(Fake(0x10000));
        check(!tr::LoadLocaleModule(&lib, &saved) && !lib && saved == Fake(0x5678) &&
              tr::GetResourceHandle() == Fake(0x10000));
        // An existing file has the shell's icon; a missing one has nothing to fall back on.
        check(TrComGetIconHandle(&icon, trtest::SelfPath().c_str(), TRUE) && ::DestroyIcon(icon));
        check(!TrComGetIconHandle(&missing, "C:\\no\\such\\file.exe", TRUE) && !missing);
    }
    const TR_APP_DATA_STRUC data = Block("", "");
    // No picture: not top-most, and no application icon; the window's icon and the
    // fallback come from this program, along the resource chain. A second ends it.
    const Modal info = RunModal(Info(1, data), [&](HWND h) {
        check(!(::GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOPMOST));
        check(!::SendDlgItemMessageA(h, IDC_TR_INFO_ICON, STM_GETICON, 0, 0));
        check(::SendMessageA(h, WM_GETICON, ICON_BIG, 0));
        check(PumpUntil([] { return Windows("TrCommonIconWnd").size() == 1; }, 2000));
    });
    const Modal past = RunModal(Past(data, kNewYear), [&](HWND h) {
        check(::SendDlgItemMessageA(h, IDC_TR_PAST_ICON, STM_GETICON, 0, 0));
        PressCancel(h);
    });
    // Without the library nothing is stored; without a template or an owner, -1.
    check(info.ok == !none && info.code == (sparse ? IDOK : none ? kMarker : -1) && info.shown == sparse);
    check(past.ok == !none && past.code == (sparse ? IDCANCEL : none ? kMarker : -1) && past.shown == sparse);
    HWND h = reinterpret_cast<HWND>(0x1234);  // neither stand-in has the watch template
    check(!TrComCreateWatchDlg(&h, 5, 0x200002, "x", nullptr, 0));
    check(h == (none ? reinterpret_cast<HWND>(0x1234) : nullptr));
    check(Windows().empty());
    return failed;
}

// The shared block's server field set to another window for one scope, written
// straight into the block this process holds.
class ServerInBlock {
public:
    explicit ServerInBlock(HWND hWnd) {
        m_map.Reset(::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, "TrCommon1999 FileMap"));
        if (m_map) m_view.Reset(::MapViewOfFile(m_map.Get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TR_SHARED_BLOCK)));
        if (!m_view) return;
        m_saved = Block()->dwServer;
        Block()->dwServer = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(hWnd));
    }
    ~ServerInBlock() { if (m_view) Block()->dwServer = m_saved; }
    bool Ok() const { return m_view.Valid(); }

private:
    TR_SHARED_BLOCK* Block() const { return static_cast<TR_SHARED_BLOCK*>(m_view.Get()); }
    tr::Handle m_map;
    tr::MappedView m_view;
    DWORD m_saved = 0;
};

TEST(DialogsWithMissingResources, DoWhatTheyCanAndLeaveNothing) {
    ASSERT_TRUE(ServerWindow());
    // A window that no longer exists, as a server program that ended leaves its handle.
    HWND gone = ::CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(gone && ::DestroyWindow(gone));
    const struct { const char* name; const char* locale; HWND server; } cases[] = {
        {.name = "none", .locale = nullptr, .server = ServerWindow()},
        {.name = "sparse", .locale = "TrLocaleSparse.DLL", .server = ServerWindow()},
        {.name = "empty", .locale = "TrLocaleEmpty.DLL", .server = ServerWindow()},
        {.name = "gone", .locale = "TrLocale.DLL", .server = gone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        trtest::TempFolder folder;
        const std::string exe = folder / "dlgchild.exe";
        ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfPath(), exe));
        ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfFolder() + "TrCommon.dll", folder / "TrCommon.dll"));
        ASSERT_TRUE(!c.locale || trtest::CopyFileTo(trtest::SelfFolder() + c.locale, folder / "TrLocale.DLL"));
        const ServerInBlock server(c.server);
        ASSERT_TRUE(server.Ok());
        trtest::Child child;
        ASSERT_TRUE(child.Start("dialogs_in_sandbox", {c.name}, exe));
        // The child's dialogs are owned by this process's server window.
        EXPECT_TRUE(PumpUntil([&] { return ::WaitForSingleObject(child.Process(), 0) == WAIT_OBJECT_0; }, 30000));
        EXPECT_EQ(0, child.Wait(1000));
    }
}

}  // namespace
