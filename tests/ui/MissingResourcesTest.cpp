// Without TrLocale.DLL, or with one that lacks templates, pictures, icons or
// strings: a child copy of this test runs from a folder that holds only
// itself, TrCommon.dll and the resource library of the case.
#include "DialogTestSupport.h"
#include "ui/TrResourceIds.h"

namespace {

using namespace dlgtest;

// Runs all three exports against the library of the case: "none", "sparse"
// (templates 102 and 103 only) or "empty" (no template). Exit 0 when each
// does what it must, else the number of the first failed check.
TR_CHILD_ROLE(dialogs_in_sandbox) {
    const bool none = args.at(0) == "none", sparse = args.at(0) == "sparse";
    int step = 0, failed = 0;
    const auto check = [&](bool good) {
        ++step;
        if (!good && !failed) failed = step;
    };
    const TR_APP_DATA_STRUC data = Block("", "");
    // No picture: not top-most, and neither the file's nor the fallback icon
    // is there. A second ends it.
    const Modal info = RunModal([&](int* code) { return TrComDoModalInfoDlg(code, &data, 1); }, [&](HWND h) {
        check(!(::GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOPMOST));
        check(!::SendDlgItemMessageA(h, IDC_TR_INFO_ICON, STM_GETICON, 0, 0));
        check(PumpUntil([] { return Windows("TrCommonIconWnd").size() == 1; }, 2000));
    });
    const Modal past = RunModal([&](int* code) { return TrComDoModalPastDlg(code, &data, &kNewYear); }, PressCancel);
    // Without the library nothing is stored; without a template, -1.
    check(info.ok == !none && info.code == (sparse ? IDOK : none ? kMarker : -1) && info.shown == sparse);
    check(past.ok == !none && past.code == (sparse ? IDCANCEL : none ? kMarker : -1) && past.shown == sparse);
    HWND h = reinterpret_cast<HWND>(0x1234);  // neither stand-in has the watch template
    check(!TrComCreateWatchDlg(&h, 5, 0x200002, "x", nullptr, 0));
    check(h == (none ? reinterpret_cast<HWND>(0x1234) : nullptr));
    check(Windows().empty());
    return failed;
}

TEST(DialogsWithMissingResources, DoWhatTheyCanAndLeaveNothing) {
    ASSERT_TRUE(ServerWindow());
    const char* const cases[][2] = {{"none", nullptr}, {"sparse", "TrLocaleSparse.DLL"},
                                    {"empty", "TrLocaleEmpty.DLL"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        trtest::TempFolder folder;
        const std::string exe = folder / "dlgchild.exe";
        ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfPath(), exe));
        ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfFolder() + "TrCommon.dll", folder / "TrCommon.dll"));
        ASSERT_TRUE(!c[1] || trtest::CopyFileTo(trtest::SelfFolder() + c[1], folder / "TrLocale.DLL"));
        trtest::Child child;
        ASSERT_TRUE(child.Start("dialogs_in_sandbox", {c[0]}, exe));
        // The child's dialogs are owned by this process's server window, which
        // must keep answering while they run.
        EXPECT_TRUE(PumpUntil([&] { return ::WaitForSingleObject(child.Process(), 0) == WAIT_OBJECT_0; }, 30000));
        EXPECT_EQ(0, child.Wait(1000));
    }
}

}  // namespace
