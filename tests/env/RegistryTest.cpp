// The registry routines, the product key table and what is built on it
// (TrComGetRegValue, TrComGetPath, the copy of the machine settings to the user).
#include "EnvTestSupport.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

namespace {

using namespace envtest;

// A block of any kind with everything but its table pointer set to a marker.
struct KindBlock : TR_REG_VALUE_STRUC {
    KindBlock(int k, unsigned char marker) : kind(k) { std::memset(Data(), marker, kSize); }
    int GetValueKind() override { return kind; }
    unsigned char* Data() { return reinterpret_cast<unsigned char*>(&hRoot); }
    bool AllAre(unsigned char m) { return std::count(Data(), Data() + kSize, m) == static_cast<long>(kSize); }
    static constexpr std::size_t kSize = sizeof(TR_REG_VALUE_STRUC) - sizeof(void*);
    int kind;
};

// "<result> <path>" of one index; an untouched buffer reads as MAX_PATH '#'.
std::string PathOf(int index) {
    char path[MAX_PATH + 1] = {};
    std::memset(path, '#', MAX_PATH);
    return std::to_string(TrComGetPath(index, path)) + " " + path;
}

class Registry : public ProductKeySandbox {};

// Missing keys and sub-keys named like the value: JukeboxTest.cpp. Refused reads leave the marker.
TEST_F(Registry, ReadsTakeBytesWhateverTheType) {
    const DWORD no = 0xdeadbeef;
    const std::string key = ProductKey("Read"), s259(259, 'y'), untouched(260, '#');
    const struct { DWORD type; std::string bytes; DWORD dword; std::string text; } rows[] = {
        {REG_DWORD, std::string("AB\0\0", 4), 0x4241, "AB"},
        {REG_BINARY, "abc", 0x636261, "abc"},  // shorter than a DWORD, no terminator
        {REG_SZ, s259 + '\0', no, s259},
        {REG_SZ, std::string(300, 'x') + '\0', no, untouched},
        {REG_BINARY, std::string(260, 'z'), no, untouched}};  // no room for the terminator
    const long before = trtest::HandleCount();
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "type " << r.type << ", " << r.bytes.size() << " bytes");
        ASSERT_TRUE(SetBytes(HKEY_CURRENT_USER, key, "Value", r.type, r.bytes));
        DWORD d = no;
        std::string text = untouched;  // 260 bytes, and a terminator beyond them that no read may touch
        EXPECT_EQ(r.dword != no, tr::RegReadDword(HKEY_CURRENT_USER, key.c_str(), "value", &d) != FALSE);
        EXPECT_EQ(r.text != untouched, tr::RegReadString(HKEY_CURRENT_USER, key.c_str(), "VALUE", text.data()) != FALSE);
        EXPECT_EQ(r.dword, d);
        EXPECT_EQ(r.text, text.c_str());
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
    EXPECT_EQ(DwordBytes(10), GetBytes(HKEY_CURRENT_USER, k, "A", REG_DWORD));  // the user's value stays
    EXPECT_EQ(std::string("t", 2), GetBytes(HKEY_CURRENT_USER, k, "B", REG_SZ));
    for (const char* lost : {"C", "M", "Z"}) EXPECT_EQ("<none>", GetBytes(HKEY_CURRENT_USER, k, lost, kAnyType)) << lost;
    EXPECT_EQ(std::string("d", 2), GetBytes(HKEY_CURRENT_USER, deep, "Deep", REG_SZ));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, k + "\\Bin"));
    EXPECT_EQ(1, TrComCopyRegKeyToCurrentUser(TRUE));
    EXPECT_EQ(DwordBytes(1), GetBytes(HKEY_CURRENT_USER, k, "A", REG_DWORD));
    EXPECT_EQ(DwordBytes(5), GetBytes(HKEY_CURRENT_USER, k, "U", REG_DWORD));  // never removed
    EXPECT_EQ(std::string(300, 'm') + '\0', GetBytes(HKEY_LOCAL_MACHINE, k, "M", REG_SZ));  // nothing of the source lost
}

// Every kind fills the table (kinds 0 and 1 only that); a family's value area
// holds its numbers, then its texts of TR_TEXT_FIELD bytes; the rest keeps the
// caller's bytes. Names are stored in lower case: they match regardless of case.
TEST_F(Registry, EveryKindFillsTheTableAndItsFamilysSlots) {
    const tr::Module locale(::LoadLibraryExA("TrLocale.DLL", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    char text3009[260] = {};
    ASSERT_GT(::LoadStringA(locale.Get(), 3009, text3009, sizeof(text3009)), 0);
    const char* const texts[] = {kProductKey, text3009, "InstalledPath", "InstalledDir", "TrTWPath"};
    const struct { const char* sub; std::vector<const char*> dwords, texts; } families[] = {{}, {},
        {"JogConfig", {"infodialog", "appdirection", "jogdirection", "autoclosetimer", "backbutton"}, {"pushsound", "rollsound"}},
        {"PPKConfig", {"infodialog", "enable", "lid enable"}, {}}, {"SKeyConfig", {"infodialog"}, {}},
        {"FlashpodConfig", {"infodialog", "enable", "slotenable", "driveletter"}, {}},
        {"XbusConfig", {"infodialog", "enable", "newdevice", "category", "smartconnect", "caution"}, {}},
        {"USBConfig", {"infodialog", "enable", "newdevice"}, {}}, {"TimerConfig", {"infodialog"}, {}},
        {"TimerApp", {"limittime"}, {"title", "description", "path", "workdir", "option"}},
        {"Timer", {"timermode", "weekflag", "timelimit", "poststate", "year", "month", "day", "hour", "minute"}, {}}};
    for (int kind = 0; kind <= 10; ++kind) {
        const auto& f = families[kind];
        const std::string key = kind < 2 ? kProductKey : ProductKey(f.sub);
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        for (DWORD i = 0; i < f.dwords.size(); ++i) ASSERT_TRUE(SetDword(HKEY_CURRENT_USER, key, f.dwords[i], 100 + i));
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
        for (int i = 1; i < 14; ++i) EXPECT_STREQ(i < 5 ? texts[i] : families[i - 3].sub, block.szKeyPath + i * TR_TEXT_FIELD);
        for (std::size_t i = 0; i < f.dwords.size(); ++i) EXPECT_EQ(100 + i, reinterpret_cast<DWORD*>(area)[i]) << f.dwords[i];
        for (std::size_t i = 0; i < f.texts.size(); ++i) EXPECT_STREQ(f.texts[i], text(i));
        const char *rest = text(f.texts.size()), *end = area + sizeof(block.values);
        EXPECT_EQ(end - rest, std::count(rest, end, '\xCD'));
        if (kind < 2) continue;
        // The last value too long to read: 0, its slot keeps the preset, the sub-key is not appended twice.
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
        EXPECT_TRUE(TrComGetRegValue(&block) == 0 && block.AllAre(0x5A)) << kind;
    }
    EXPECT_EQ(0, TrComGetRegValue(nullptr));
}

// Without the resource library, or without its table strings. Exit codes: one
// bit per failed expectation, 0 when all held.
TR_CHILD_ROLE(no_locale) {
    int failures = 0;
    for (int kind = 0; kind <= 10; ++kind) {
        KindBlock block(kind, 0x77);
        if (TrComGetRegValue(&block) != 0 || !block.AllAre(0x77)) failures |= 1;
    }
    const std::string untouched = "0 " + std::string(MAX_PATH, '#');
    if (PathOf(TR_PATH_PROGRAM_DIR) + PathOf(TR_PATH_TIMER_DATA) != untouched + untouched) failures |= 2;
    return failures | (TrComCopyRegKeyToCurrentUser(TRUE) ? 4 : 0) | (TrComCopyDataToUserFolder(TRUE) ? 8 : 0);
}

TR_CHILD_ROLE(no_table_strings) {
    TR_REG_VALUE_OF_KIND<TR_REG_KIND_MACHINE> b{};
    return (TrComGetRegValue(&b) != 1 || std::strcmp(b.szKeyPath, kProductKey) || b.szDefaultInstalledPath[0] ? 1 : 0) |
           (std::strcmp(b.szInstalledPathName, "InstalledPath") || std::strcmp(b.szInstalledDirName, "InstalledDir") ? 2 : 0) |
           (PathOf(TR_PATH_PROGRAM_DIR) + "|" + PathOf(TR_PATH_LOCALE_DLL) != "1 |1 \\TrLocale.DLL" ? 4 : 0);
}

// Each role runs in a copy of this executable and TrCommon.dll alone in a folder: TrLocale.DLL only if put there.
TEST_F(Registry, WithoutTheResourceLibraryOrItsTableStrings) {
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, ProductKey("JogConfig"), "InfoDialog", 3));
    const std::pair<const char*, const char*> roles[] = {{"no_locale", nullptr}, {"no_table_strings", "TrLocaleNoTable.dll"}};
    for (const auto& [role, localeDll] : roles) {
        trtest::TempFolder folder;
        ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfPath(), folder / "tr_isolated.exe") &&
                    trtest::CopyFileTo(trtest::SelfFolder() + "TrCommon.dll", folder / "TrCommon.dll"));
        ASSERT_TRUE(!localeDll || trtest::CopyFileTo(trtest::SelfFolder() + localeDll, folder / "TrLocale.DLL"));
        EXPECT_EQ(0, trtest::RunChild(role, {}, folder / "tr_isolated.exe")) << role;
    }
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));  // nothing reached the user
}


TR_CHILD_ROLE(all_paths) {
    std::string lines;
    for (int i = 0; i < TR_PATH_COUNT; ++i) lines += PathOf(i) + "\n";
    return trtest::WriteFileBytes(args.at(0), lines) ? 0 : 1;
}

class ProductPath : public ProductKeySandbox {
protected:
    void SetMachine(const char* name, const std::string& value) { ASSERT_TRUE(SetString(HKEY_LOCAL_MACHINE, kProductKey, name, value)); }
    trtest::TempFolder m_program;
};

// Renamed child copies run as Windows 98 and 2000. Both OS folders exist, the
// help file only in Win98: the NT family falls back to the program folder.
TEST_F(ProductPath, AllIndexesUnderBothFamilies) {
    const std::string p = m_program.Path();
    ASSERT_TRUE(::CreateDirectoryA((p + "\\Win2K").c_str(), nullptr) && ::CreateDirectoryA((p + "\\Win98").c_str(), nullptr));
    ASSERT_TRUE(trtest::WriteFileBytes(p + "\\Win98\\Trelvane.chm", "help"));
    SetMachine("installeddir", p);  // value names match without regard to case
    SetMachine("InstalledPath", "C:\\Tool\\Main.exe");
    char appData[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, TRUE));
    const std::string data = std::string(appData) + "\\Kalvor Corporation\\Trelvane", out = m_program / "paths.txt";
    for (const char* version : {"win98", "win2k"}) {
        const bool nt = version[3] == '2';
        const std::string os = p + (nt ? "\\Win2K" : "\\Win98"), exe = std::string("tr_") + version + ".exe";
        std::string expected, lines;
        for (const std::string& path : {p, os, data, data, std::string("C:\\Tool\\Main.exe"), p + "\\TrTW.dll",
                                        (nt ? p : os) + "\\Trelvane.chm", p + "\\TrLocale.DLL",
                                        os + "\\TrLaunch.ini", os + "\\TrDevice.ini"})
            expected += "1 " + path + "\n";
        for (const char* file : {"JogData", "JPPKData", "PPKData", "SKeyData", "FPData", "XbusData", "XbusCtg", "USBData", "TimrData"})
            expected += "1 " + data + "\\" + file + ".dat\n";
        ASSERT_TRUE(trtest::SetWineVersionFor(exe, version));
        trtest::SelfCopy copy(exe);
        EXPECT_EQ(0, trtest::RunChild("all_paths", {out}, copy.Path()));
        trtest::SetWineVersionFor(exe, nullptr);
        EXPECT_TRUE(trtest::ReadFileBytes(out, lines));
        EXPECT_EQ(expected, lines) << version;
    }
}

// Rows in one process show that nothing is cached. An InstalledDir too long for a path counts as missing.
TEST_F(ProductPath, FallbacksForMissingValuesAndIndexesOutsideTheTable) {
    const std::string defaultDir = "C:\\Program Files\\Kalvor Corporation\\Trelvane";
    const std::string longDir = "C:\\" + std::string(300, 'd');
    const struct { const char *dir, *file, *trtw; std::string programDir, trtwFile; } rows[] = {
        {nullptr, "C:\\Tool\\Tool.exe", nullptr, "C:\\Tool", "C:\\Tool\\TrTW.dll"},
        {longDir.c_str(), "C:\\Short\\x.exe", "Q:\\missing\\TrTW.dll", "C:\\Short", "Q:\\missing\\TrTW.dll"},
        {nullptr, nullptr, nullptr, defaultDir, defaultDir + "\\TrTW.dll"}};  // the default installation
    for (const auto& r : rows) {
        trtest::DeleteRegTree(HKEY_LOCAL_MACHINE, kProductKey);
        const std::pair<const char*, const char*> values[] = {{"InstalledDir", r.dir}, {"InstalledPath", r.file}, {"TrTWPath", r.trtw}};
        for (const auto& [name, value] : values)
            if (value) SetMachine(name, value);
        EXPECT_EQ("1 " + r.programDir + "|1 " + r.trtwFile, PathOf(TR_PATH_PROGRAM_DIR) + "|" + PathOf(TR_PATH_TRTW_DLL));
    }
    for (int index : {-1, 19}) EXPECT_EQ("0 " + std::string(MAX_PATH, '#'), PathOf(index));
    EXPECT_EQ(0, TrComGetPath(0, nullptr));
}

// The trail byte 5C of "<hyou>" (95 5C) is no separator: "C:\<hyou>x.exe" lies in the root.
TEST_F(ProductPath, DoubleByteTrailByteIsNoSeparator) {
    if (!trtest::IsCodePage932()) GTEST_SKIP() << "code page 932 only";
    SetMachine("InstalledPath", "C:\\\x95\\x.exe");
    EXPECT_EQ("1 C:", PathOf(TR_PATH_PROGRAM_DIR));
}

}  // namespace
