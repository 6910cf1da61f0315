// The info and past-time dialogs, run for real by their exports on the test's
// thread and worked from a driver thread; the refusals of all three exports
// and what a hundred runs of each dialog leave behind.
#include <winternl.h>

#include <climits>

#include "DialogTestSupport.h"
#include "ui/TrResourceIds.h"

namespace {

using namespace dlgtest;

std::function<BOOL(int*)> Info(UINT seconds, TR_APP_DATA_STRUC data = Block("Notes", "Writes notes")) {
    return [=](int* code) { return TrComDoModalInfoDlg(code, &data, seconds); };
}
std::function<BOOL(int*)> Past(TR_APP_DATA_STRUC data = Block("T", "D"), SYSTEMTIME when = kNewYear) {
    return [=](int* code) { return TrComDoModalPastDlg(code, &data, &when); };
}
bool Equal(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

using ModalDialogs = DialogTest;

TEST_F(ModalDialogs, EndWithTheCodeOfTheWayTheyWereClosed) {
    struct Row { const char* name; std::function<BOOL(int*)> run; std::function<void(HWND)> act; int code; DWORD ms; };
    const Row rows[] = {  // no act: the countdown ends it after about ms
        {"info OK", Info(30), PressOk, IDOK, 0},       {"info Cancel", Info(30), PressCancel, IDCANCEL, 0},
        {"info Esc", Info(30), PressEsc, IDCANCEL, 0}, {"info close box", Info(30), PressCloseBox, IDCANCEL, 0},
        {"info 1 s", Info(1), nullptr, IDOK, 1000},    {"info 2 s", Info(2), nullptr, IDOK, 2000},
        {"past OK", Past(), PressOk, IDOK, 0},         {"past Cancel", Past(), PressCancel, IDCANCEL, 0},
        {"past Esc", Past(), PressEsc, IDCANCEL, 0},   {"past close box", Past(), PressCloseBox, IDCANCEL, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Modal r = RunModal(row.run, row.act);
        EXPECT_TRUE(r.shown && r.ok == TRUE);
        EXPECT_EQ(row.code, r.code);
        // Never before its time; the upper bound only catches a countdown that
        // does not end (a loaded machine may be seconds late).
        EXPECT_TRUE(r.ms + 200 >= row.ms && r.ms < (row.ms ? row.ms + 5000 : 10000)) << r.ms << " ms";
        EXPECT_TRUE(Windows("#32770").empty() && Windows("TrCommonIconWnd").empty());
    }
}

// The digit in a 14 x 20 cell of a capture: the nearest image of the strip
// (whose magenta the image list turns black), with its mean distance.
int ReadDigit(const Capture& shot, int x, const Capture& strip, int* distance) {
    long best = 0, bestSum = LONG_MAX;
    for (int d = 0; d < 10; ++d) {
        long sum = 0;
        for (int j = 0; j < 20; ++j)
            for (int i = 0; i < 14; ++i) {
                const COLORREF want = strip.At(d * 14 + i, j);
                sum += ColourDistance(shot.At(x + i, 41 + j), want == RGB(255, 0, 255) ? RGB(0, 0, 0) : want);
            }
        if (sum < bestSum) best = d, bestSum = sum;
    }
    *distance = static_cast<int>(bestSum / (14 * 20));
    return static_cast<int>(best);
}

int CountNear(const Capture& shot, const RECT& r, COLORREF colour, int tolerance) {
    int n = 0;
    for (int y = r.top; y < std::min<int>(r.bottom, shot.height); ++y)
        for (int x = r.left; x < std::min<int>(r.right, shot.width); ++x)
            n += ColourDistance(shot.At(x, y), colour) <= tolerance;
    return n;
}

// What a capture of the info dialog's client area lacks ("" for nothing): the
// background where nothing covers it, a picture in the icon window over the
// black well, the texts in their colours and rectangles, 0 as the tens of the
// counter and a clear ones digit, which goes to *ones.
std::string Lacks(const Capture& shot, const Capture& back, const Capture& strip, int* ones) {
    if (shot.width <= 452 || shot.height <= 106) return "a capture";
    for (const POINT& p : {POINT{10, 10}, POINT{30, 100}, POINT{200, 115}, POINT{380, 100}, POINT{450, 20}})
        if (ColourDistance(back.At(p.x, p.y), shot.At(p.x, p.y)) > 2) return "the background";
    if (CountNear(shot, {60, 24, 92, 56}, RGB(0, 0, 0), 40) > 32 * 32 - 150) return "the icon";
    struct Text { const char* name; RECT rect; COLORREF colour; };
    const Text texts[] = {
        {"heading", {112, 16, 255, 31}, RGB(255, 200, 0)}, {"prompt", {152, 50, 412, 65}, RGB(0, 255, 0)},
        {"title", {60, 77, 360, 91}, RGB(255, 255, 255)}, {"description", {60, 92, 360, 106}, RGB(255, 255, 255)},
    };
    for (const Text& t : texts)
        if (CountNear(shot, t.rect, t.colour, 40) <= 15) return t.name;
    if (CountNear(shot, {0, 108, 250, shot.height}, RGB(255, 255, 255), 20)) return "no white below the texts";
    int dist = 0;
    if (ReadDigit(shot, 115, strip, &dist) != 0 || dist >= 24) return "the tens";
    *ones = ReadDigit(shot, 132, strip, &dist);
    return dist < 24 ? "" : "the ones";
}

TEST_F(ModalDialogs, InfoDialogLaysItselfOutAndPaints) {
    tr::Module locale(::LoadLibraryA("TrLocale.DLL"));
    const Capture back = BitmapPixels(locale.Get(), IDB_TR_INFO_BACKGROUND);
    const Capture strip = BitmapPixels(locale.Get(), IDB_TR_DIGITS);
    ASSERT_TRUE(back.width > 452 && back.height > 106 && strip.width == 140);
    std::string lacks = "?", lacksLater = "?";
    int ones = -1, onesLater = -1;
    const Modal r = RunModal(Info(9, Block("Title text", "Description text")), [&](HWND hDlg) {
        const RECT window = Rect(hDlg), ok = Rect(hDlg, IDOK);
        EXPECT_EQ(back.width, window.right - window.left);
        EXPECT_EQ(back.height + ::GetSystemMetrics(SM_CYCAPTION), window.bottom - window.top);
        EXPECT_TRUE(::GetWindowLongPtrA(hDlg, GWL_EXSTYLE) & WS_EX_TOPMOST);
        RECT work;
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_NEAR(work.left + work.right, window.left + window.right, 2) << "centred";
        EXPECT_NEAR(work.top + work.bottom, window.top + window.bottom, 2);
        EXPECT_TRUE(Equal({257, 16, 322, 39}, Rect(hDlg, IDOK, hDlg)));
        EXPECT_TRUE(Equal({327, 16, 392, 39}, Rect(hDlg, IDCANCEL, hDlg)));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hDlg, IDC_TR_INFO_ICON)));
        EXPECT_TRUE(::SendDlgItemMessageA(hDlg, IDC_TR_INFO_ICON, STM_GETICON, 0, 0)) << "the fallback icon";
        // The icon window comes with the first move, the cursor with the
        // showing, and under X both may land a moment after the dialog shows.
        HWND hIcon = nullptr;
        POINT cursor = {};
        PumpUntil([&] {
            const std::vector<HWND> icons = Windows("TrCommonIconWnd");
            hIcon = icons.size() == 1 ? icons[0] : nullptr;
            return ::GetCursorPos(&cursor) && hIcon && cursor.x == ok.left + 10 && cursor.y == ok.top + 10;
        }, 3000);
        EXPECT_TRUE(cursor.x == ok.left + 10 && cursor.y == ok.top + 10) << cursor.x << "," << cursor.y;
        ASSERT_TRUE(hIcon);
        EXPECT_TRUE(::GetWindowLongPtrA(hIcon, GWL_EXSTYLE) & WS_EX_TOPMOST);

        // Painting lands on the screen a moment later, and a late activation
        // under Wine can cover the icon until the next tick lifts it again.
        RECT client;
        ::GetClientRect(hDlg, &client);
        ::MapWindowPoints(hDlg, nullptr, reinterpret_cast<POINT*>(&client), 2);
        PumpUntil([&] { return (lacks = Lacks(CaptureScreen(client), back, strip, &ones)).empty(); }, 3000);
        PumpUntil([&] {
            return (lacksLater = Lacks(CaptureScreen(client), back, strip, &onesLater)).empty() && onesLater != ones;
        }, 2500);

        for (int move = 0; move < 2; ++move) {  // wherever the dialog goes, the icon keeps its place on it
            if (move) ::SetWindowPos(hDlg, nullptr, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            POINT o = {60, 24};
            ::ClientToScreen(hDlg, &o);
            EXPECT_TRUE(PumpUntil([&] { return Equal({o.x, o.y, o.x + 32, o.y + 32}, Rect(hIcon)); }, 2000));
        }
        PressOk(hDlg);
    });
    EXPECT_EQ(IDOK, r.code);
    EXPECT_EQ("", lacks);
    EXPECT_EQ("", lacksLater);
    // Nine seconds: the ones step down by one a tick.
    EXPECT_TRUE(ones >= 6 && ones <= 9 && onesLater == ones - 1) << ones << " then " << onesLater;
}

// What a person reads: the short date of the user's locale and hh:mm.
std::string Expected(const SYSTEMTIME& t) {
    char date[128] = {}, clock[8];
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, sizeof(date));
    std::snprintf(clock, sizeof(clock), "%02u:%02u", t.wHour, t.wMinute);
    return std::string(date) + " " + clock;
}

TEST_F(ModalDialogs, PastDialogShowsTheApplicationAndBothTimes) {
    TR_APP_DATA_STRUC raw;
    std::memset(&raw, 'x', sizeof(raw));  // no terminator anywhere
    const std::string x260(260, 'x');
    const SYSTEMTIME leapDay = {2024, 2, 4, 29, 7, 5, 0, 0};
    struct Row { TR_APP_DATA_STRUC data; SYSTEMTIME when; std::string text, event; };
    const Row rows[] = {
        {Block("Backup", "Copies the notes"), leapDay, "Backup\r\nCopies the notes", Expected(leapDay)},
        {Block("Only a title", "", ""), {2023, 13, 0, 40, 25, 61, 0, 0}, "Only a title\r\n", ""},  // impossible time
        {raw, leapDay, x260 + "\r\n" + x260, Expected(leapDay)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.substr(0, 12));
        const Modal r = RunModal(Past(row.data, row.when), [&](HWND hDlg) {
            const auto clock = [] { SYSTEMTIME t; ::GetLocalTime(&t); return Expected(t); };
            const std::string before = clock(), now = ItemText(hDlg, IDC_TR_PAST_NOW);
            EXPECT_TRUE(now == before || now == clock()) << now;
            EXPECT_EQ(row.text, ItemText(hDlg, IDC_TR_PAST_TEXT));
            EXPECT_EQ(row.event, ItemText(hDlg, IDC_TR_PAST_EVENT));
            EXPECT_TRUE(::SendDlgItemMessageA(hDlg, IDC_TR_PAST_ICON, STM_GETICON, 0, 0)) << "the fallback icon";
            EXPECT_TRUE(::SendMessageA(hDlg, WM_GETICON, ICON_SMALL, 0));
            EXPECT_EQ(hDlg, ::GetForegroundWindow());
            EXPECT_EQ(ServerWindow(), ::GetWindow(hDlg, GW_OWNER));
            PressOk(hDlg);
        });
        EXPECT_EQ(IDOK, r.code);
    }
}

TEST_F(ModalDialogs, AllThreeRefuseBadInputAndShowNothing) {
    const TR_APP_DATA_STRUC d = Block("T", "D");
    const SYSTEMTIME when = kNewYear;
    int code = kMarker;
    HWND hWnd = nullptr;
    struct Row { const char* name; std::function<BOOL()> call; bool blockBusy; };  // busy: another process is in it
    const Row rows[] = {
        {"info, 0 s", [&] { return TrComDoModalInfoDlg(&code, &d, 0); }, false},
        {"info, 100 s", [&] { return TrComDoModalInfoDlg(&code, &d, 100); }, false},
        {"info, no result", [&] { return TrComDoModalInfoDlg(nullptr, &d, 5); }, false},
        {"info, no data", [&] { return TrComDoModalInfoDlg(&code, nullptr, 5); }, false},
        {"info, busy block", [&] { return TrComDoModalInfoDlg(&code, &d, 5); }, true},
        {"past, no result", [&] { return TrComDoModalPastDlg(nullptr, &d, &when); }, false},
        {"past, no data", [&] { return TrComDoModalPastDlg(&code, nullptr, &when); }, false},
        {"past, no time", [&] { return TrComDoModalPastDlg(&code, &d, nullptr); }, false},
        {"past, busy block", [&] { return TrComDoModalPastDlg(&code, &d, &when); }, true},
        {"watch, no out", [&] { return TrComCreateWatchDlg(nullptr, 5, 0x200002, "x", nullptr, 0); }, false},
        {"watch, busy block", [&] { return TrComCreateWatchDlg(&hWnd, 5, 0x200002, "x", nullptr, 0); }, true},
    };
    const size_t windows = Windows().size();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        code = kMarker;
        hWnd = reinterpret_cast<HWND>(0x1234);
        tr::Handle lock(row.blockBusy ? ::CreateMutexA(nullptr, TRUE, "TrCommon1999 Mutex") : nullptr);
        EXPECT_EQ(FALSE, row.call());
        if (lock) ::ReleaseMutex(lock.Get());
        EXPECT_TRUE(code == kMarker && hWnd == reinterpret_cast<HWND>(0x1234)) << "out-values untouched";
        EXPECT_EQ(windows, Windows().size());
    }
}

// GDI objects of this process and its top-level windows. Wine's
// GetGuiResources is a stub, so the GDI handle table the PEB points to is
// counted: 65536 entries of 24 bytes, the object's type in byte 14, 0 if free.
std::pair<long, long> CountGui() {
    PROCESS_BASIC_INFORMATION info = {};
    if (::NtQueryInformationProcess(::GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info), nullptr))
        return {-1, -1};
    const auto* peb = reinterpret_cast<const unsigned char*>(info.PebBaseAddress);
    const auto* table = *reinterpret_cast<const unsigned char* const*>(peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));
    long gdi = 0;
    for (size_t i = 0; i < 65536; ++i) gdi += table[i * 24 + 14] != 0;
    return {gdi, static_cast<long>(Windows().size())};
}

TEST_F(ModalDialogs, HundredRunsOfEachDialogLeaveNoObjectsBehind) {
    const auto modal = [](std::function<BOOL(int*)> run) {
        return [run] { return RunModal(run, PressCancel).code == IDCANCEL; };
    };
    const auto watch = [] {
        HWND h = nullptr;
        if (!TrComCreateWatchDlg(&h, 30, 0x200002, "Next event", nullptr, 2)) return false;
        ::PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0);
        return PumpUntil([&] { return !::IsWindow(h); }, 3000);
    };
    const std::pair<const char*, std::function<bool()>> rows[] = {
        {"info", modal(Info(30))}, {"past-time", modal(Past())}, {"watch", watch}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.first);
        ASSERT_TRUE(row.second());  // the first run fills the system's caches (fonts, classes)
        const std::pair<long, long> before = CountGui();
        int good = 0;
        for (int i = 0; i < 100; ++i) good += row.second();
        const std::pair<long, long> after = CountGui();
        EXPECT_TRUE(good == 100 && before.first > 0 && before == after) << good << " good runs";
        std::printf("%s dialog, 100 runs: GDI objects %ld -> %ld, top-level windows %ld -> %ld\n", row.first,
                    before.first, after.first, before.second, after.second);
    }
    EXPECT_EQ(101u, received.size()) << "one cancel message per watch window";
}

}  // namespace
