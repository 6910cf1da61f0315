// Every resource the library asks of TrLocale.DLL, loaded
// and used the way the library's code uses it.
#include "TrTestSupport.h"

#include <commctrl.h>

#include <regex>

#include "ui/TrResourceIds.h"

namespace {

// By full path, so a TrLocale.DLL elsewhere on the search path can't stand in
// for the one just built. Never freed: windows from its templates may live on.
HMODULE Locale() {
    static tr::Module module(::LoadLibraryA((trtest::SelfFolder() + "TrLocale.DLL").c_str()));
    return module.Get();
}

// The printf conversions of a format, in order ("%d h %02d" gives "dd"), in
// the forms the watch window's formatting takes: flags, width, precision and
// a length modifier before the letter ("%*d" or "%Ld" give "*" and "L").
std::string Conversions(const std::string& s) {
    static const std::regex conversion("%[-+ #0]*[0-9]*(?:\\.[0-9]*)?(?:hh|ll|h|l|j|z|t)?(.?)");
    std::string out;
    for (std::sregex_iterator i(s.begin(), s.end(), conversion), end; i != end; ++i)
        out += (*i)[1] == "%" ? "" : (*i)[1].length() ? (*i)[1].str() : "?";
    return out;
}

TEST(LocaleResources, StringsTakeTheArgumentsTheCodePasses) {
    ASSERT_NE(nullptr, Locale());
    for (UINT id : {3009, 3460, 3461, 3906, 3907, 3908, 3909, 3910, 3911, 3912, 3913, 4000, 4001, 4002}) {
        char buffer[512] = {};
        SetLastError(0xdeadbeef);
        const int n = ::LoadStringA(Locale(), id, buffer, sizeof(buffer));
        // The library loads these into 260-byte fields; only the watch
        // window's times are formats, and take numbers.
        const char* want = id == IDS_TR_WATCH_HOURS ? "dd" : id == IDS_TR_WATCH_MINUTES ? "d" : "";
        EXPECT_TRUE(n > 0 && n < 260 && Conversions(buffer) == want) << id << ": " << buffer << ", " << GetLastError();
    }
}

TEST(LocaleResources, PicturesLoadAtTheSizesTheCodeNeeds) {
    for (UINT id : {IDI_TR_DIALOG, IDI_TR_FALLBACK})
        for (int size : {16, 32}) {
            tr::Icon icon(static_cast<HICON>(::LoadImageA(Locale(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0)));
            ICONINFO info = {};
            ASSERT_TRUE(icon && ::GetIconInfo(icon.Get(), &info)) << id << " at " << size;
            tr::GdiObject colour(info.hbmColor), mask(info.hbmMask);
            EXPECT_TRUE(colour) << id << " at " << size << " is monochrome";
        }
    // The digit strip is cut into ten 14 x 20 images; the dialog takes the
    // background's size, which must hold everything it draws (the prompt ends
    // at x 452, the description at y 106).
    BITMAP digits = {}, back = {};
    tr::GdiObject d(::LoadImageA(Locale(), MAKEINTRESOURCEA(IDB_TR_DIGITS), IMAGE_BITMAP, 0, 0, 0));
    tr::GdiObject b(::LoadImageA(Locale(), MAKEINTRESOURCEA(IDB_TR_INFO_BACKGROUND), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_TRUE(::GetObjectA(d.Get(), sizeof(digits), &digits) && ::GetObjectA(b.Get(), sizeof(back), &back));
    EXPECT_TRUE(digits.bmWidth == 140 && digits.bmHeight == 20 && back.bmWidth >= 452 && back.bmHeight >= 106)
        << digits.bmWidth << " x " << digits.bmHeight << ", " << back.bmWidth << " x " << back.bmHeight;
}

int g_animationStops = 0;
INT_PTR CALLBACK RecordingProc(HWND, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_COMMAND && HIWORD(wParam) == ACN_STOP) ++g_animationStops;
    return msg == WM_INITDIALOG;
}

TEST(LocaleResources, ClipOpensAndPlaysToItsEnd) {
    // In the info dialog's template, its class registered first as the library does.
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_ANIMATE_CLASS};
    ::InitCommonControlsEx(&icc);
    tr::Window dialog(::CreateDialogParamA(Locale(), MAKEINTRESOURCEA(IDD_TR_INFO), nullptr, RecordingProc, 0));
    HWND clip = ::GetDlgItem(dialog.Get(), IDC_TR_INFO_ANIMATE);
    ASSERT_TRUE(Animate_OpenEx(clip, Locale(), MAKEINTRESOURCEA(IDR_TR_INFO_CLIP)) && Animate_Play(clip, 0, 0xFFFF, 1));
    for (DWORD start = ::GetTickCount(); !g_animationStops && ::GetTickCount() - start < 10000;
         ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT))
        for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageA(&msg);
    EXPECT_GT(g_animationStops, 0) << "the clip never reached its end";
    Animate_Close(clip);
}

}  // namespace
