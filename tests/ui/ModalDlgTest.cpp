// The info and past-time dialogs, run for real by their exports on the test's
// thread and worked from a driver thread; the refusals of all three exports
// and what a hundred info dialogs leave behind.
#include <winternl.h>

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

using ModalDialogs = DialogTest;

TEST_F(ModalDialogs, EndWithTheCodeOfTheWayTheyWereClosed) {
    struct Row { const char* name; std::function<BOOL(int*)> run; std::function<void(HWND)> act; int code; DWORD ms; };
    // No act: the countdown ends it after about ms. Esc and the Cancel button
    // take the close box's path (the leak check below presses Cancel).
    const Row rows[] = {
        {"info OK", Info(30), PressOk, IDOK, 0}, {"info close box", Info(30), PressCloseBox, IDCANCEL, 0},
        {"info 1 s", Info(1), nullptr, IDOK, 1000}, {"past OK", Past(), PressOk, IDOK, 0},
        {"past close box", Past(Block("T", "D"), {2023, 13, 0, 40, 25, 61, 0, 0}), PressCloseBox, IDCANCEL, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Modal r = RunModal(row.run, row.act);
        EXPECT_TRUE(r.shown && r.ok == TRUE);
        EXPECT_EQ(row.code, r.code);
        // Never before its time; the upper bound only catches a countdown that
        // does not end (a loaded machine may be seconds late).
        EXPECT_TRUE(r.ms + 200 >= row.ms && r.ms < (row.ms ? row.ms + 5000 : 10000)) << r.ms << " ms";
    }
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
// black well (the file's icon or the fallback), and the texts in their
// colours and rectangles.
std::string Lacks(const Capture& shot, const Capture& back) {
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
    return "";
}

TEST_F(ModalDialogs, InfoDialogLaysItselfOutAndPaints) {
    tr::Module locale(::LoadLibraryA("TrLocale.DLL"));
    const Capture back = BitmapPixels(locale.Get(), IDB_TR_INFO_BACKGROUND);
    ASSERT_TRUE(back.width > 452 && back.height > 106);
    std::string lacks = "?";
    const Modal r = RunModal(Info(9, Block("Title text", "Description text")), [&](HWND hDlg) {
        const RECT window = Rect(hDlg), ok = Rect(hDlg, IDOK, hDlg), wantOk = {257, 16, 322, 39};
        EXPECT_EQ(back.width, window.right - window.left);
        EXPECT_EQ(back.height + ::GetSystemMetrics(SM_CYCAPTION), window.bottom - window.top);
        EXPECT_TRUE(::GetWindowLongPtrA(hDlg, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(::EqualRect(&ok, &wantOk));
        // The cursor is put 10 pixels into the OK button once the dialog shows.
        RECT okOnScreen;
        ::GetWindowRect(::GetDlgItem(hDlg, IDOK), &okOnScreen);
        POINT cursor = {};
        const auto inOk = [&] { return cursor.x == okOnScreen.left + 10 && cursor.y == okOnScreen.top + 10; };
        PumpUntil([&] { return ::GetCursorPos(&cursor) && inOk(); }, 3000);
        EXPECT_TRUE(inOk()) << cursor.x << "," << cursor.y;
        // Painting lands on the screen a moment later, and a late activation
        // under Wine can cover the icon until the next tick lifts it again.
        RECT client;
        ::GetClientRect(hDlg, &client);
        ::MapWindowPoints(hDlg, nullptr, reinterpret_cast<POINT*>(&client), 2);
        PumpUntil([&] { return (lacks = Lacks(CaptureScreen(client), back)).empty(); }, 3000);
        PressOk(hDlg);
    });
    EXPECT_EQ(IDOK, r.code);
    EXPECT_EQ("", lacks);
}

// What a person reads: the short date of the user's locale and hh:mm.
std::string Expected(const SYSTEMTIME& t) {
    char date[128] = {}, clock[8];
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, sizeof(date));
    std::snprintf(clock, sizeof(clock), "%02u:%02u", t.wHour, t.wMinute);
    return std::string(date) + " " + clock;
}

TEST_F(ModalDialogs, PastDialogShowsTheApplicationAndTheTime) {
    TR_APP_DATA_STRUC raw;
    std::memset(&raw, 'x', sizeof(raw));  // no terminator anywhere
    const std::string x260(260, 'x');
    const SYSTEMTIME leapDay = {2024, 2, 4, 29, 7, 5, 0, 0};
    const Modal r = RunModal(Past(raw, leapDay), [&](HWND hDlg) {
        EXPECT_EQ(x260 + "\r\n" + x260, ItemText(hDlg, IDC_TR_PAST_TEXT));
        EXPECT_EQ(Expected(leapDay), ItemText(hDlg, IDC_TR_PAST_EVENT));
        EXPECT_TRUE(::SendDlgItemMessageA(hDlg, IDC_TR_PAST_ICON, STM_GETICON, 0, 0)) << "the fallback icon";
        PressOk(hDlg);
    });
    EXPECT_EQ(IDOK, r.code);
}

// A busy shared block fails TrComGetServer, which the tests of the block cover.
TEST_F(ModalDialogs, AllThreeRefuseBadInputAndShowNothing) {
    const TR_APP_DATA_STRUC d = Block("T", "D");
    const size_t windows = Windows().size();
    int code = kMarker;
    EXPECT_FALSE(TrComDoModalInfoDlg(&code, &d, 0));
    EXPECT_FALSE(TrComDoModalInfoDlg(&code, &d, 100));
    EXPECT_FALSE(TrComDoModalPastDlg(&code, &d, nullptr));
    EXPECT_FALSE(TrComCreateWatchDlg(nullptr, 5, 0x200002, "x", nullptr, 0));
    EXPECT_EQ(kMarker, code) << "untouched";
    EXPECT_EQ(windows, Windows().size());
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

// The info dialog holds the most: two pictures, an image list, an icon window.
TEST_F(ModalDialogs, HundredInfoDialogsLeaveNoObjectsBehind) {
    const auto run = [] { return RunModal(Info(30), PressCancel).code == IDCANCEL; };
    ASSERT_TRUE(run());  // the first run fills the system's caches (fonts, classes)
    const std::pair<long, long> before = CountGui();
    int good = 0;
    for (int i = 0; i < 100; ++i) good += run();
    EXPECT_EQ(100, good);
    EXPECT_GT(before.first, 0);
    EXPECT_EQ(before, CountGui()) << "GDI objects and top-level windows";
}

}  // namespace
