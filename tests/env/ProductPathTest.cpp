// TrComGetPath: the 19 indexes under both platform families (renamed child
// copies of this executable run as Windows 98 and Windows 2000), the
// fallbacks of the installation values and indexes outside the table.
#include "EnvTestSupport.h"

#include <shlobj.h>

#include <cstring>

namespace {

using namespace envtest;

// "<result> <path>" of one index, and of all of them one a line.
std::string PathOf(int index) {
    char path[MAX_PATH] = "#";
    return std::to_string(TrComGetPath(index, path)) + " " + path;
}
std::string AllPaths() {
    std::string lines;
    for (int i = 0; i < TR_PATH_COUNT; ++i) lines += PathOf(i) + "\n";
    return lines;
}
TR_CHILD_ROLE(all_paths) { return trtest::WriteFileBytes(args.at(0), AllPaths()) ? 0 : 1; }

class ProductPath : public ProductKeySandbox {
protected:
    void SetMachine(const char* name, const std::string& value) {
        ASSERT_TRUE(SetString(HKEY_LOCAL_MACHINE, kProductKey, name, value));
    }
    trtest::TempFolder m_program;
};

// Both OS folders exist, the help file only in Win98: each family takes its
// own folder; the NT family falls back to the program folder for help.
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
        const std::string os = p + (version[3] == '9' ? "\\Win98" : "\\Win2K"), exe = std::string("tr_") + version + ".exe";
        std::string expected, lines;
        for (const std::string& path : {p, os, data, data, std::string("C:\\Tool\\Main.exe"), p + "\\TrTW.dll",
                                        (version[3] == '9' ? os : p) + "\\Trelvane.chm", p + "\\TrLocale.DLL",
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

// Rows run one after another in this process, which also shows that nothing
// is cached. An InstalledDir longer than a path counts as missing.
TEST_F(ProductPath, FallbacksForMissingValuesAndIndexesOutsideTheTable) {
    const std::string longDir = "C:\\" + std::string(300, 'd');
    const struct { const char *dir, *file, *trtw; std::string programDir, trtwFile; } rows[] = {
        {nullptr, "C:\\Tool\\Tool.exe", nullptr, "C:\\Tool", "C:\\Tool\\TrTW.dll"},
        {longDir.c_str(), "C:\\Short\\x.exe", "Q:\\missing\\TrTW.dll", "C:\\Short", "Q:\\missing\\TrTW.dll"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.file);
        trtest::DeleteRegTree(HKEY_LOCAL_MACHINE, kProductKey);
        const std::pair<const char*, const char*> values[] = {{"InstalledDir", r.dir}, {"InstalledPath", r.file}, {"TrTWPath", r.trtw}};
        for (const auto& [name, value] : values)
            if (value) SetMachine(name, value);
        EXPECT_EQ("1 " + r.programDir, PathOf(TR_PATH_PROGRAM_DIR));
        EXPECT_EQ("1 " + r.trtwFile, PathOf(TR_PATH_TRTW_DLL));
    }
    for (int index : {-1, 19}) {
        char path[MAX_PATH];
        std::memset(path, '#', sizeof(path));
        EXPECT_EQ(0, TrComGetPath(index, path)) << index;
        EXPECT_EQ(std::string(MAX_PATH, '#'), std::string(path, MAX_PATH)) << index;
    }
    EXPECT_EQ(0, TrComGetPath(0, nullptr));
}

// In code page 932 many characters have a backslash as trail byte; the
// program folder is cut at the last real separator.
TEST_F(ProductPath, DoubleByteTrailByteIsNoSeparator) {
    if (!trtest::IsCodePage932()) GTEST_SKIP() << "code page 932 only";
    SetMachine("InstalledPath", "C:\\\x95\\\\x.exe");
    EXPECT_EQ("1 C:\\\x95\\", PathOf(TR_PATH_PROGRAM_DIR));
}

}  // namespace
