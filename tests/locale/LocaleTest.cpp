// LocaleTest.cpp - every resource the library asks of TrLocale.DLL, loaded
// and used the way the library's code uses it.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "TrTestSupport.h"
#include "ui/TrResourceIds.h"

namespace {

// By full path, so a TrLocale.DLL elsewhere on the search path can't stand in
// for the one just built. Never freed: windows from its templates may live on.
HMODULE Locale() {
    static tr::Module module(::LoadLibraryA((trtest::SelfFolder() + "TrLocale.DLL").c_str()));
    return module.Get();
}

// The printf conversions of a format, in order ("%d h %02d" gives "dd");
// a conversion cut off or malformed gives '?'.
std::string Conversions(const char* s) {
    std::string out;
    while ((s = std::strchr(s, '%')) != nullptr) {
        if (*++s == '%') { ++s; continue; }
        s += std::strspn(s, "-+ #0123456789.*hlLjzt");
        out += std::isalpha(static_cast<unsigned char>(*s)) ? *s : '?';
        if (*s) ++s;
    }
    return out;
}

int g_animationStops = 0;
INT_PTR CALLBACK RecordingProc(HWND, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_COMMAND && HIWORD(wParam) == ACN_STOP) ++g_animationStops;
    return msg == WM_INITDIALOG;
}

// Modeless and hidden; the info dialog's animation class registered first,
// as the library does.
tr::Window CreateHidden(UINT id) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_ANIMATE_CLASS};
    ::InitCommonControlsEx(&icc);
    return tr::Window(::CreateDialogParamA(Locale(), MAKEINTRESOURCEA(id), nullptr, RecordingProc, 0));
}

struct StringCase {
    UINT id;
    const char* conversions;  // what the code passes to the format; nullptr: not a format
    const char* exact;        // the library's own fallback when it has one
};
const StringCase kStrings[] = {
    {IDS_TR_DEFAULT_PROGRAM_PATH, nullptr, nullptr},
    {IDS_TR_REG_KEY0, nullptr, "Software\\Kalvor Corporation\\Trelvane"},
    {IDS_TR_REG_KEY1, nullptr, "InstalledPath"},
    {IDS_TR_REG_KEY2, nullptr, "InstalledDir"},
    {IDS_TR_INFO_CAPTION1, nullptr, nullptr},   {IDS_TR_INFO_CAPTION2, nullptr, nullptr},
    {IDS_TR_WATCH_MINUTES, "d", nullptr},       {IDS_TR_WATCH_KIND_2, nullptr, nullptr},
    {IDS_TR_WATCH_KIND_4, nullptr, nullptr},    {IDS_TR_WATCH_KIND_8, nullptr, nullptr},
    {IDS_TR_WATCH_KIND_20, nullptr, nullptr},   {IDS_TR_WATCH_KIND_10, nullptr, nullptr},
    {IDS_TR_WATCH_SOON, "", nullptr},           {IDS_TR_WATCH_HOURS, "dd", nullptr},
};

TEST(LocaleResources, StringsTakeTheArgumentsTheCodePasses) {
    ASSERT_NE(nullptr, Locale());
    for (const StringCase& c : kStrings) {
        SCOPED_TRACE("string " + std::to_string(c.id));
        char buffer[512];
        std::memset(buffer, 0x7f, sizeof(buffer));
        SetLastError(0xdeadbeef);
        const int n = ::LoadStringA(Locale(), c.id, buffer, sizeof(buffer));
        ASSERT_GT(n, 0) << "error " << GetLastError();
        EXPECT_EQ(static_cast<size_t>(n), std::strlen(buffer));
        EXPECT_LT(n, 260) << "the library loads these into 260-byte fields";
        if (c.conversions) { EXPECT_EQ(c.conversions, Conversions(buffer)) << buffer; }
        if (c.exact) { EXPECT_STREQ(c.exact, buffer); }
    }
}

TEST(LocaleResources, PicturesLoadAtTheSizesTheCodeNeeds) {
    for (UINT id : {IDI_TR_DIALOG, IDI_TR_FALLBACK})
        for (int size : {16, 32}) {
            SCOPED_TRACE("icon " + std::to_string(id) + " at " + std::to_string(size));
            SetLastError(0xdeadbeef);
            tr::Icon icon(static_cast<HICON>(
                ::LoadImageA(Locale(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0)));
            ASSERT_TRUE(icon) << "error " << GetLastError();
            ICONINFO info = {};
            ASSERT_TRUE(::GetIconInfo(icon.Get(), &info));
            tr::GdiObject colour(info.hbmColor), mask(info.hbmMask);
            EXPECT_TRUE(colour) << "a colour icon, not a monochrome one";
        }
    // The digit strip is cut into ten 14 x 20 images; the dialog takes the
    // background's size, which must hold everything it draws (the prompt ends
    // at x 452, the description at y 106).
    const struct { UINT id; LONG minW, maxW, minH, maxH; } bitmaps[] = {
        {IDB_TR_DIGITS, 140, 140, 20, 20}, {IDB_TR_INFO_BACKGROUND, 452, 4096, 106, 4096}};
    for (const auto& b : bitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(b.id));
        tr::GdiObject bitmap(::LoadImageA(Locale(), MAKEINTRESOURCEA(b.id), IMAGE_BITMAP, 0, 0, 0));
        BITMAP bm = {};
        ASSERT_TRUE(::GetObjectA(bitmap.Get(), sizeof(bm), &bm));
        EXPECT_TRUE(bm.bmWidth >= b.minW && bm.bmWidth <= b.maxW) << bm.bmWidth;
        EXPECT_TRUE(bm.bmHeight >= b.minH && bm.bmHeight <= b.maxH) << bm.bmHeight;
    }
}

// Statics the code sends STM_SETICON must be icon statics; others only need
// to exist with the class the code talks to.
const struct { UINT dialog; int control; const char* className; bool iconStatic; } kControls[] = {
    {IDD_TR_INFO, IDOK, "Button", false},          {IDD_TR_INFO, IDCANCEL, "Button", false},
    {IDD_TR_INFO, IDC_TR_INFO_ICON, "Static", true}, {IDD_TR_INFO, IDC_TR_INFO_ANIMATE, ANIMATE_CLASSA, false},
    {IDD_TR_PAST, IDOK, "Button", false},          {IDD_TR_PAST, IDCANCEL, "Button", false},
    {IDD_TR_PAST, IDC_TR_PAST_TEXT, "Static", false}, {IDD_TR_PAST, IDC_TR_PAST_ICON, "Static", true},
    {IDD_TR_PAST, IDC_TR_PAST_NOW, "Static", false},  {IDD_TR_PAST, IDC_TR_PAST_EVENT, "Static", false},
    {IDD_TR_WATCH, IDCANCEL, "Button", false},     {IDD_TR_WATCH, IDC_TR_WATCH_TIME, "Static", false},
    {IDD_TR_WATCH, IDC_TR_WATCH_KIND, "Static", false},
};

TEST(LocaleResources, DialogsCreateWithTheControlsTheCodeUses) {
    for (const auto& c : kControls) {
        SCOPED_TRACE("dialog " + std::to_string(c.dialog) + " control " + std::to_string(c.control));
        SetLastError(0xdeadbeef);
        tr::Window dialog = CreateHidden(c.dialog);
        ASSERT_TRUE(dialog) << "error " << GetLastError();
        HWND control = ::GetDlgItem(dialog.Get(), c.control);
        ASSERT_NE(nullptr, control);
        char cls[64] = "";
        ::GetClassNameA(control, cls, sizeof(cls));
        EXPECT_STRCASEEQ(c.className, cls);
        const DWORD style = static_cast<DWORD>(::GetWindowLongA(control, GWL_STYLE));
        if (c.iconStatic) { EXPECT_EQ(static_cast<DWORD>(SS_ICON), style & SS_TYPEMASK); }
    }
}

TEST(LocaleResources, ClipOpensAndPlaysToItsEnd) {
    tr::Window dialog = CreateHidden(IDD_TR_INFO);
    ASSERT_TRUE(dialog);
    HWND clip = ::GetDlgItem(dialog.Get(), IDC_TR_INFO_ANIMATE);
    ASSERT_NE(nullptr, clip);
    // As the info dialog does it: the resource library named explicitly.
    ASSERT_TRUE(Animate_OpenEx(clip, Locale(), MAKEINTRESOURCEA(IDR_TR_INFO_CLIP)));
    const int before = g_animationStops;
    ASSERT_TRUE(Animate_Play(clip, 0, 0xFFFF, 1));
    for (DWORD start = ::GetTickCount(); g_animationStops == before && ::GetTickCount() - start < 10000;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    EXPECT_GT(g_animationStops, before) << "the clip never reached its end";
    Animate_Close(clip);
}

}  // namespace
