// The registry routines, the product key table, TrComGetRegValue and the copy
// of the machine settings to the user, over the real registry.
#include "EnvTestSupport.h"

#include <algorithm>
#include <cstring>

namespace {

using namespace envtest;

const char* const kSubKeys[] = {"JogConfig", "PPKConfig",   "SKeyConfig", "FlashpodConfig", "XbusConfig",
                                "USBConfig", "TimerConfig", "TimerApp",   "Timer"};  // kinds 2 to 10

// A block of any kind with everything but its table pointer set to a marker.
struct KindBlock : TR_REG_VALUE_STRUC {
    KindBlock(int k, unsigned char marker) : kind(k) { std::memset(Data(), marker, kSize); }
    int GetValueKind() override { return kind; }
    unsigned char* Data() { return reinterpret_cast<unsigned char*>(&hRoot); }
    bool AllAre(unsigned char m) { return std::count(Data(), Data() + kSize, m) == static_cast<long>(kSize); }
    static constexpr std::size_t kSize = sizeof(TR_REG_VALUE_STRUC) - sizeof(void*);
    int kind;
};

class Registry : public ProductKeySandbox {};

// A missing key and a sub-key named like the value are read in JukeboxTest.cpp.
// Expected: the DWORD read (-1: refused) and the text read ("-": refused).
TEST_F(Registry, ReadsTakeBytesWhateverTheType) {
    const std::string key = ProductKey("Read"), s259(259, 'y');
    const struct { DWORD type; std::string bytes; long long dword; std::string text; } rows[] = {
        {REG_DWORD, std::string("AB\0\0", 4), 0x4241, "AB"},
        {REG_BINARY, "abc", 0x636261, "abc"},  // shorter than a DWORD, no terminator
        {REG_SZ, s259 + '\0', -1, s259},
        {REG_SZ, std::string(300, 'x') + '\0', -1, "-"},
        {REG_BINARY, std::string(260, 'z'), -1, "-"}};  // no room for the terminator
    const long before = trtest::HandleCount();
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "type " << r.type << ", " << r.bytes.size() << " bytes");
        ASSERT_TRUE(SetBytes(HKEY_CURRENT_USER, key, "Value", r.type, r.bytes));
        DWORD d = 0xdeadbeef;
        char text[260];
        std::memset(text, '#', sizeof(text));
        EXPECT_EQ(r.dword >= 0, tr::RegReadDword(HKEY_CURRENT_USER, key.c_str(), "value", &d) != FALSE);
        EXPECT_EQ(r.dword >= 0 ? r.dword : 0xdeadbeef, d);
        const bool textOk = r.text != "-";
        EXPECT_EQ(textOk, tr::RegReadString(HKEY_CURRENT_USER, key.c_str(), "VALUE", text) != FALSE);
        EXPECT_EQ(textOk ? r.text : std::string(260, '#'), textOk ? std::string(text) : std::string(text, 260));
    }
    EXPECT_FALSE(tr::RegReadDword(HKEY_CURRENT_USER, nullptr, "Value", nullptr));
    EXPECT_EQ(before, trtest::HandleCount());
}

// Values come in the registry's order (by name): one over 260 bytes ends that
// key's values but not its sub-keys; only numbers and strings are copied.
TEST_F(Registry, CopyToTheUserKeepsOrReplacesTheUsersValues) {
    EXPECT_EQ(1, TrComCopyRegKeyToCurrentUser(TRUE));  // no machine key: created empty, nothing copied
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));
    const std::string k = kProductKey, deep = ProductKey("One\\Two");
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, k, "A", 1) && SetString(HKEY_LOCAL_MACHINE, k, "B", "t") &&
                SetBytes(HKEY_LOCAL_MACHINE, k, "C", REG_BINARY, "bin") && SetString(HKEY_LOCAL_MACHINE, k, "M", std::string(300, 'm')) &&
                SetDword(HKEY_LOCAL_MACHINE, k, "Z", 3) && SetString(HKEY_LOCAL_MACHINE, deep, "Deep", "d") &&
                SetBytes(HKEY_LOCAL_MACHINE, k + "\\Bin", "B", REG_BINARY, "x") && SetDword(HKEY_CURRENT_USER, k, "A", 10) &&
                SetDword(HKEY_CURRENT_USER, k, "U", 5));
    const long before = trtest::HandleCount();
    EXPECT_EQ(1, TrComCopyRegKeyToCurrentUser(FALSE));
    EXPECT_EQ(before, trtest::HandleCount());
    EXPECT_EQ(10, GetDword(HKEY_CURRENT_USER, k, "A"));  // the user's value stays
    EXPECT_EQ(std::string("t", 2), GetBytes(HKEY_CURRENT_USER, k, "B", REG_SZ));
    for (const char* lost : {"C", "M", "Z"}) EXPECT_EQ("<none>", GetBytes(HKEY_CURRENT_USER, k, lost, kAnyType)) << lost;
    EXPECT_EQ("d", GetString(HKEY_CURRENT_USER, deep, "Deep"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, k + "\\Bin"));
    EXPECT_EQ(1, TrComCopyRegKeyToCurrentUser(TRUE));
    EXPECT_EQ(1, GetDword(HKEY_CURRENT_USER, k, "A"));
    EXPECT_EQ(5, GetDword(HKEY_CURRENT_USER, k, "U"));  // never removed
    EXPECT_EQ(std::string(300, 'm'), GetString(HKEY_LOCAL_MACHINE, k, "M"));  // nothing of the source lost
}

// Every kind fills the table (kinds 0 and 1 only that); a family's value area
// holds its numbers from the start, then its texts of TR_TEXT_FIELD bytes, and
// the rest keeps the caller's bytes. Names are stored in lower case: they
// match without regard to case.
TEST_F(Registry, EveryKindFillsTheTableAndItsFamilysSlots) {
    const tr::Module locale(::LoadLibraryExA("TrLocale.DLL", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    char text3009[260] = {};
    ASSERT_GT(::LoadStringA(locale.Get(), 3009, text3009, sizeof(text3009)), 0);
    const char* const texts[] = {kProductKey, text3009, "InstalledPath", "InstalledDir", "TrTWPath"};
    const struct { std::vector<const char*> dwords, texts; } families[] = {
        {}, {},
        {{"infodialog", "appdirection", "jogdirection", "autoclosetimer", "backbutton"}, {"pushsound", "rollsound"}},
        {{"infodialog", "enable", "lid enable"}, {}},
        {{"infodialog"}, {}},
        {{"infodialog", "enable", "slotenable", "driveletter"}, {}},
        {{"infodialog", "enable", "newdevice", "category", "smartconnect", "caution"}, {}},
        {{"infodialog", "enable", "newdevice"}, {}},
        {{"infodialog"}, {}},
        {{"limittime"}, {"title", "description", "path", "workdir", "option"}},
        {{"timermode", "weekflag", "timelimit", "poststate", "year", "month", "day", "hour", "minute"}, {}}};
    for (int kind = 0; kind <= 10; ++kind) {
        const auto& f = families[kind];
        const std::string key = kind < 2 ? kProductKey : ProductKey(kSubKeys[kind - 2]);
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        for (std::size_t i = 0; i < f.dwords.size(); ++i)
            ASSERT_TRUE(SetDword(HKEY_CURRENT_USER, key, f.dwords[i], 100 + static_cast<DWORD>(i)));
        for (const char* name : f.texts) ASSERT_TRUE(SetString(HKEY_CURRENT_USER, key, name, name));
        ASSERT_TRUE(f.dwords.empty() || SetDword(HKEY_LOCAL_MACHINE, key, f.dwords[0], 999));  // never read
        KindBlock block(kind, 0xCD);
        char* const area = reinterpret_cast<char*>(&block.values);
        auto text = [&](std::size_t i) { return area + 4 * f.dwords.size() + i * TR_TEXT_FIELD; };
        const long before = trtest::HandleCount();
        EXPECT_EQ(1, TrComGetRegValue(&block));
        EXPECT_EQ(before, trtest::HandleCount());
        EXPECT_EQ(kind == 0 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, block.hRoot);
        EXPECT_EQ(key, block.szKeyPath);
        for (int i = 1; i < 14; ++i) EXPECT_STREQ(i < 5 ? texts[i] : kSubKeys[i - 5], block.szKeyPath + i * TR_TEXT_FIELD);
        for (std::size_t i = 0; i < f.dwords.size(); ++i)
            EXPECT_EQ(100 + i, reinterpret_cast<DWORD*>(area)[i]) << f.dwords[i];
        for (std::size_t i = 0; i < f.texts.size(); ++i) EXPECT_STREQ(f.texts[i], text(i));
        const char *rest = text(f.texts.size()), *end = area + sizeof(block.values);
        EXPECT_EQ(end - rest, std::count(rest, end, '\xCD'));
        if (kind < 2) continue;
        // Refilled with the last value too long to read: 0, its slot keeps the
        // caller's preset, and the sub-key is not appended twice.
        const bool textLast = !f.texts.empty();
        char* const last = textLast ? text(f.texts.size() - 1) : area + 4 * (f.dwords.size() - 1);
        ASSERT_TRUE(SetString(HKEY_CURRENT_USER, key, textLast ? f.texts.back() : f.dwords.back(), std::string(300, 'x')));
        std::strcpy(last, "pre");
        EXPECT_EQ(0, TrComGetRegValue(&block));
        EXPECT_EQ(key, block.szKeyPath);
        EXPECT_STREQ("pre", last);
    }
    for (int kind : {-1, 11}) {
        KindBlock block(kind, 0x5A);
        EXPECT_EQ(0, TrComGetRegValue(&block)) << kind;
        EXPECT_TRUE(block.AllAre(0x5A)) << kind;
    }
    EXPECT_EQ(0, TrComGetRegValue(nullptr));
}

// --- without the resource library, or without its table strings -------------

// Exit codes: one bit per failed expectation, 0 when all held.
TR_CHILD_ROLE(no_locale) {
    int failures = 0;
    for (int kind = 0; kind <= 10; ++kind) {
        KindBlock block(kind, 0x77);
        if (TrComGetRegValue(&block) != 0 || !block.AllAre(0x77)) failures |= 1;
    }
    char path[MAX_PATH] = "#";
    if (TrComGetPath(TR_PATH_PROGRAM_DIR, path) || TrComGetPath(TR_PATH_TIMER_DATA, path) || path[0] != '#') failures |= 2;
    return failures | (TrComCopyRegKeyToCurrentUser(TRUE) ? 4 : 0) | (TrComCopyDataToUserFolder(TRUE) ? 8 : 0);
}

TR_CHILD_ROLE(no_table_strings) {
    TR_REG_VALUE_OF_KIND<TR_REG_KIND_MACHINE> b{};
    char dir[MAX_PATH] = "#", dll[MAX_PATH] = "#";
    return (TrComGetRegValue(&b) != 1 || std::strcmp(b.szKeyPath, kProductKey) || b.szDefaultInstalledPath[0] ? 1 : 0) |
           (std::strcmp(b.szInstalledPathName, "InstalledPath") || std::strcmp(b.szInstalledDirName, "InstalledDir") ? 2 : 0) |
           (TrComGetPath(TR_PATH_PROGRAM_DIR, dir) != 1 || dir[0] ? 4 : 0) |
           (TrComGetPath(TR_PATH_LOCALE_DLL, dll) != 1 || std::strcmp(dll, "\\TrLocale.DLL") ? 8 : 0);
}

// Each role runs in a copy of this executable beside a copy of TrCommon.dll
// in a folder of its own, so TrLocale.DLL is found only when one is put there.
TEST_F(Registry, WithoutTheResourceLibraryOrItsTableStrings) {
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, ProductKey("JogConfig"), "InfoDialog", 3));
    const std::pair<const char*, const char*> roles[] = {{"no_locale", nullptr}, {"no_table_strings", "TrLocaleNoTable.dll"}};
    for (const auto& [role, localeDll] : roles) {
        trtest::TempFolder folder;
        ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfPath(), folder / "tr_isolated.exe"));
        ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfFolder() + "TrCommon.dll", folder / "TrCommon.dll"));
        ASSERT_TRUE(!localeDll || trtest::CopyFileTo(trtest::SelfFolder() + localeDll, folder / "TrLocale.DLL"));
        EXPECT_EQ(0, trtest::RunChild(role, {}, folder / "tr_isolated.exe")) << role;
    }
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));  // nothing reached the user
}

}  // namespace
