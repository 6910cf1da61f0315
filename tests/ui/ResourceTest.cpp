// The resource-library pair, the registered messages and file icons.
#include "TrTestSupport.h"

#include "include/TrCommon.h"
#include "ui/TrLocaleModule.h"
#include "ui/TrModule.h"
#include "ui/TrResourceIds.h"

namespace {

// The pair is compiled into this executable, so the process-wide resource
// handle is this executable's copy: it starts as whatever the test sets.
const HINSTANCE kStart = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x10000));

TEST(LocaleModule, NestedPairsRestoreExactlyWhatTheySaved) {
    tr::SetResourceHandle(kStart);
    HINSTANCE outer = nullptr, outerSaved = nullptr, inner = nullptr, innerSaved = nullptr;
    ASSERT_TRUE(tr::LoadLocaleModule(&outer, &outerSaved));
    EXPECT_EQ(kStart, outerSaved);
    EXPECT_EQ(outer, tr::GetResourceHandle());
    ASSERT_TRUE(tr::LoadLocaleModule(&inner, &innerSaved));
    EXPECT_EQ(outer, innerSaved);
    EXPECT_EQ(inner, tr::GetResourceHandle());
    EXPECT_TRUE(tr::FreeLocaleModule(inner, innerSaved));
    EXPECT_EQ(outer, tr::GetResourceHandle());
    // The library is still loaded by the outer use: its resources still load.
    char text[64] = {};
    EXPECT_GT(::LoadStringA(outer, IDS_TR_REG_ROOT_TEXT, text, sizeof(text)), 0);
    EXPECT_TRUE(tr::FreeLocaleModule(outer, outerSaved));
    EXPECT_EQ(kStart, tr::GetResourceHandle());
    EXPECT_EQ(nullptr, ::GetModuleHandleA(tr::kLocaleLibrary)) << "TrLocale.DLL left loaded";
}

TEST(LocaleModule, FreeWithoutLibraryChangesNothing) {
    tr::SetResourceHandle(kStart);
    EXPECT_TRUE(tr::FreeLocaleModule(nullptr, reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x20000))));
    EXPECT_EQ(kStart, tr::GetResourceHandle());
    EXPECT_FALSE(tr::LoadLocaleModule(nullptr, nullptr));
}

TEST(LocaleModule, RaiiUseLoadsAndFrees) {
    tr::SetResourceHandle(kStart);
    {
        tr::LocaleModule locale;
        ASSERT_TRUE(locale.Loaded());
        EXPECT_EQ(locale.Handle(), tr::GetResourceHandle());
    }
    EXPECT_EQ(kStart, tr::GetResourceHandle());
}

// Plays the missing-library cases from a folder without TrLocale.DLL.
// Exit code: 0 when everything held, else the failing check's number.
TR_CHILD_ROLE(without_locale) {
    HINSTANCE lib = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x1234));
    HINSTANCE saved = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x5678));
    tr::SetResourceHandle(kStart);
    if (tr::LoadLocaleModule(&lib, &saved)) return 1;
    if (lib != nullptr || saved != reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x5678))) return 2;
    if (tr::GetResourceHandle() != kStart) return 3;
    HICON icon = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(0xdead));
    // An existing file: the shell's icon, even without the resource library.
    if (!TrComGetIconHandle(&icon, args.at(0).c_str(), TRUE) || !icon) return 4;
    ::DestroyIcon(icon);
    // A missing file: nothing to fall back on.
    icon = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(0xdead));
    if (TrComGetIconHandle(&icon, "C:\\no\\such\\file.exe", TRUE) || icon != nullptr) return 5;
    return 0;
}

TEST(LocaleModule, MissingLibraryFailsCleanly) {
    trtest::TempFolder dir;
    const std::string exe = dir / "tr_resource_tests.exe";
    ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfPath(), exe));
    ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfFolder() + "TrCommon.dll", dir / "TrCommon.dll"));
    EXPECT_EQ(0, trtest::RunChild("without_locale", {exe}, exe));
}

void ExpectIconSize(HICON icon, int size) {
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    BITMAP bm = {};
    ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    EXPECT_EQ(size, bm.bmWidth);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
}

TEST(IconHandle, MissingOrEmptyPathGivesTheProductIconInBothSizes) {
    for (const char* path : {"C:\\no\\such\\file.exe", ""}) {
        for (BOOL large : {TRUE, FALSE}) {
            HICON icon = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(0xdead));
            ::SetLastError(0xdeadbeef);
            ASSERT_TRUE(TrComGetIconHandle(&icon, path, large)) << path << " large=" << large;
            ASSERT_NE(nullptr, icon);
            ExpectIconSize(icon, large ? 32 : 16);
            EXPECT_TRUE(::DestroyIcon(icon)) << "the caller owns the icon";
        }
    }
    EXPECT_EQ(nullptr, ::GetModuleHandleA(tr::kLocaleLibrary)) << "TrLocale.DLL left loaded";
}

TEST(IconHandle, ExistingFileGivesTheShellIcon) {
    HICON icon = nullptr;
    ASSERT_TRUE(TrComGetIconHandle(&icon, trtest::SelfPath().c_str(), TRUE));
    ASSERT_NE(nullptr, icon);
    ExpectIconSize(icon, 32);
    ::DestroyIcon(icon);
    EXPECT_EQ(nullptr, ::GetModuleHandleA(tr::kLocaleLibrary)) << "the fallback was not needed";
    EXPECT_FALSE(TrComGetIconHandle(nullptr, trtest::SelfPath().c_str(), TRUE));
}

TEST(Startup, MessagesAreRegisteredWhenTheLibraryLoads) {
    // The library is loaded with this executable; registering the same names
    // again gives the same values, which lie in the registered range.
    const UINT rewrite = ::RegisterWindowMessageA(TR_MSG_REWRITE_WINDOW_NAME);
    const UINT trelvane = ::RegisterWindowMessageA(TR_MSG_TRELVANE_NAME);
    EXPECT_GE(rewrite, 0xC000u);
    EXPECT_GE(trelvane, 0xC000u);
    EXPECT_NE(rewrite, trelvane);
    char name[64] = {};
    EXPECT_GT(::GetClipboardFormatNameA(rewrite, name, sizeof(name)), 0);
    EXPECT_STREQ(TR_MSG_REWRITE_WINDOW_NAME, name);
}

}  // namespace
