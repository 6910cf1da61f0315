// The resource-library pair and file icons.
#include "TrTestSupport.h"

#include "include/TrCommon.h"
#include "ui/TrLocaleModule.h"
#include "ui/TrModule.h"
#include "ui/TrResourceIds.h"

namespace {

// The pair is compiled into this executable, so the process-wide resource
// handle is this executable's copy: it starts as whatever the test sets.
HINSTANCE Fake(ULONG_PTR value) { return reinterpret_cast<HINSTANCE>(value); }

TEST(LocaleModule, NestedPairsRestoreExactlyWhatTheySaved) {
    tr::SetResourceHandle(Fake(0x10000));
    HINSTANCE outer = nullptr, outerSaved = nullptr, inner = nullptr, innerSaved = nullptr;
    ASSERT_TRUE(tr::LoadLocaleModule(&outer, &outerSaved));
    EXPECT_TRUE(outerSaved == Fake(0x10000) && tr::GetResourceHandle() == outer);
    ASSERT_TRUE(tr::LoadLocaleModule(&inner, &innerSaved));
    EXPECT_TRUE(innerSaved == outer && tr::GetResourceHandle() == inner);
    EXPECT_TRUE(tr::FreeLocaleModule(inner, innerSaved));
    EXPECT_EQ(outer, tr::GetResourceHandle());
    // The library is still loaded by the outer use: its resources still load.
    char text[64] = {};
    EXPECT_GT(::LoadStringA(outer, IDS_TR_REG_ROOT_TEXT, text, sizeof(text)), 0);
    EXPECT_TRUE(tr::FreeLocaleModule(outer, outerSaved));
    EXPECT_EQ(Fake(0x10000), tr::GetResourceHandle());
    EXPECT_EQ(nullptr, ::GetModuleHandleA(tr::kLocaleLibrary)) << "TrLocale.DLL left loaded";
    // Freeing no library restores nothing; no out-pointers, no load.
    EXPECT_TRUE(tr::FreeLocaleModule(nullptr, Fake(0x20000)));
    EXPECT_EQ(Fake(0x10000), tr::GetResourceHandle());
    EXPECT_FALSE(tr::LoadLocaleModule(nullptr, nullptr));
}

// From a folder without TrLocale.DLL. Exit code: 0 when everything held,
// else the failing check's number.
TR_CHILD_ROLE(without_locale) {
    HINSTANCE lib = Fake(0x1234), saved = Fake(0x5678);
    tr::SetResourceHandle(Fake(0x10000));
    if (tr::LoadLocaleModule(&lib, &saved) || lib || saved != Fake(0x5678)) return 1;
    if (tr::GetResourceHandle() != Fake(0x10000)) return 2;
    HICON icon = nullptr;
    // An existing file: the shell's icon, even without the resource library.
    if (!TrComGetIconHandle(&icon, args.at(0).c_str(), TRUE) || !::DestroyIcon(icon)) return 3;
    // A missing file: nothing to fall back on.
    icon = reinterpret_cast<HICON>(Fake(0xdead));
    return TrComGetIconHandle(&icon, "C:\\no\\such\\file.exe", TRUE) || icon ? 4 : 0;
}

TEST(LocaleModule, MissingLibraryFailsCleanly) {
    trtest::TempFolder dir;
    const std::string exe = dir / "tr_resource_tests.exe";
    ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfPath(), exe));
    ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfFolder() + "TrCommon.dll", dir / "TrCommon.dll"));
    EXPECT_EQ(0, trtest::RunChild("without_locale", {exe}, exe));
}

TEST(IconHandle, MissingOrEmptyPathGivesTheProductIconInBothSizes) {
    for (const char* path : {"C:\\no\\such\\file.exe", ""})
        for (BOOL large : {TRUE, FALSE}) {
            HICON icon = reinterpret_cast<HICON>(Fake(0xdead));
            ASSERT_TRUE(TrComGetIconHandle(&icon, path, large)) << path << " large=" << large;
            ICONINFO info = {};
            BITMAP bm = {};
            ASSERT_TRUE(icon && ::GetIconInfo(icon, &info));
            tr::GdiObject colour(info.hbmColor), mask(info.hbmMask);
            ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
            EXPECT_EQ(large ? 32 : 16, bm.bmWidth);
            EXPECT_TRUE(::DestroyIcon(icon)) << "the caller owns the icon";
        }
    EXPECT_EQ(nullptr, ::GetModuleHandleA(tr::kLocaleLibrary)) << "TrLocale.DLL left loaded";
    EXPECT_FALSE(TrComGetIconHandle(nullptr, trtest::SelfPath().c_str(), TRUE));
}

}  // namespace
