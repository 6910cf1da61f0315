// SetupTest.cpp - TrelvaneSetup.exe in a Wine prefix made fresh for this
// program alone: silent install, an upgrade over it, silent uninstall, a
// folder given with /D=, and the refusal without administrator rights.
//
// What an installation must hold is read from the source tree's install/
// folder (Trelvane.reg, the data files, TrLaunch.ini), so the installer is
// checked against the files it is built from, not against a second list.
#include "TrTestSupport.h"

#include "TrVersion.h"

#include <shlobj.h>

#include <cstdio>
#include <map>

namespace {

constexpr char kProductKey[] = "Software\\Kalvor Corporation\\Trelvane";
constexpr char kCompanyKey[] = "Software\\Kalvor Corporation";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelvane";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kEventSourceKey[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Trelvane";
constexpr char kRefusal[] =
    "Trelvane setup needs administrator rights: run it as an administrator. Nothing was changed.\r\n";
const std::string kSource = TR_INSTALL_SOURCE;  // install/ of the source tree, on Wine's Z: drive

std::string KnownFolder(int csidl) {
    char path[MAX_PATH] = "";
    return SUCCEEDED(::SHGetFolderPathA(nullptr, csidl, nullptr, 0, path)) ? path : "";
}
const std::string kCompanyFolder = KnownFolder(CSIDL_PROGRAM_FILES) + "\\Kalvor Corporation";
const std::string kDefaultFolder = kCompanyFolder + "\\Trelvane";
std::string UserDataFolder() { return KnownFolder(CSIDL_APPDATA) + "\\Kalvor Corporation\\Trelvane"; }
std::string SetupExe() { return trtest::SelfFolder() + "TrelvaneSetup.exe"; }

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
std::string Text(const std::string& path) { std::string b; return trtest::ReadFileBytes(path, b) ? b : "(missing)"; }
bool KeyExists(HKEY root, const std::string& key) {
    tr::RegKey k;
    return ::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, k.Put()) == ERROR_SUCCESS;
}

// A registry value as text: REG_SZ as it is, REG_DWORD as "dword:<decimal>".
std::string ReadValue(HKEY root, const std::string& key, const std::string& name) {
    char data[1024];
    DWORD type = 0, size = sizeof(data);
    if (::RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, data, &size))
        return "(missing)";
    if (type == REG_DWORD) return "dword:" + std::to_string(*reinterpret_cast<DWORD*>(data));
    return data;
}

// The machine-wide values of install/Trelvane.reg (key, name, value as
// ReadValue gives it), with the default program folder replaced by `folder`.
struct RegValue {
    std::string key, name, value;
};
std::vector<RegValue> MachineValues(const std::string& folder) {
    std::string text;
    EXPECT_TRUE(trtest::ReadFileBytes(kSource + "/Trelvane.reg", text));
    const std::string root = "[HKEY_LOCAL_MACHINE\\", defaultFolder = "C:\\Program Files\\Kalvor Corporation\\Trelvane";
    const auto unescape = [](const std::string& s) {
        std::string out;
        for (std::size_t i = 0; i < s.size(); ++i) out += s[i] == '\\' && i + 1 < s.size() ? s[++i] : s[i];
        return out;
    };
    std::vector<RegValue> values;
    std::string key, line;
    for (std::size_t pos = 0; pos < text.size(); pos += line.size() + 1) {
        line = text.substr(pos, text.find('\n', pos) - pos);
        const std::string clean = line.substr(0, line.find_last_not_of("\r") + 1);
        if (clean.rfind(root, 0) == 0) key = clean.substr(root.size(), clean.size() - root.size() - 1);
        const std::size_t eq = clean.find("\"=");
        if (clean.empty() || clean[0] != '"' || eq == std::string::npos) continue;
        std::string value = clean.substr(eq + 2);
        if (value.rfind("dword:", 0) == 0) {
            value = "dword:" + std::to_string(std::stoul(value.substr(6), nullptr, 16));
        } else {
            value = unescape(value.substr(1, value.size() - 2));
            if (value.rfind(defaultFolder, 0) == 0) value = folder + value.substr(defaultFolder.size());
        }
        values.push_back({key, unescape(clean.substr(1, eq - 1)), value});
    }
    EXPECT_GT(values.size(), 10u);
    return values;
}

// The files each OS folder gets (name -> bytes): install/data/*.dat and
// install/TrLaunch.ini.
std::map<std::string, std::string> ShippedFiles() {
    std::map<std::string, std::string> files;
    WIN32_FIND_DATAA fd;
    tr::FindHandle find(::FindFirstFileA((kSource + "/data/*.dat").c_str(), &fd));
    for (bool more = find.Valid(); more; more = ::FindNextFileA(find.Get(), &fd))
        EXPECT_TRUE(trtest::ReadFileBytes(kSource + "/data/" + fd.cFileName, files[fd.cFileName]));
    EXPECT_TRUE(trtest::ReadFileBytes(kSource + "/TrLaunch.ini", files["TrLaunch.ini"]));
    EXPECT_GE(files.size(), 10u);
    return files;
}

ULONGLONG TreeSize(const std::string& folder) {
    ULONGLONG size = 0;
    WIN32_FIND_DATAA fd;
    tr::FindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &fd));
    for (bool more = find.Valid(); more; more = ::FindNextFileA(find.Get(), &fd)) {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        size += (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? TreeSize(folder + "\\" + name)
                                                                 : (ULONGLONG(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    }
    return size;
}

// A program run to its end, with everything it starts.
trtest::Captured RunProgram(const std::string& exe, const std::string& args, HANDLE token = nullptr) {
    return trtest::RunCaptured(exe, args, {.wholeTree = true, .timeoutMs = 120000, .token = token});
}

// "\"C:\\...\\Uninstall.exe\" /S" split into the program and its arguments.
trtest::Captured RunCommandLine(const std::string& commandLine) {
    const std::size_t close = commandLine.find('"', 1);
    if (commandLine.empty() || commandLine[0] != '"' || close == std::string::npos)
        return {-1, "bad: " + commandLine, ""};
    const std::string args = commandLine.substr(close + 1);
    return RunProgram(commandLine.substr(1, close - 1), args.empty() ? args : args.substr(1));
}

// This process's token with the Administrators group for deny only: what a
// standard user's program has (Wine itself runs everything as the
// administrator). Empty when the system cannot make one.
tr::Handle WithoutAdministrators() {
    tr::Handle self, restricted;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ALL_ACCESS, self.Put()) ||
        !::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                    &admins))
        return restricted;
    SID_AND_ATTRIBUTES deny = {admins, 0};
    ::CreateRestrictedToken(self.Get(), 0, 1, &deny, 0, nullptr, 0, nullptr, restricted.Put());
    ::FreeSid(admins);
    return restricted;
}

class Setup : public ::testing::Test {
protected:
    void SetUp() override {
        Clean();
        ASSERT_TRUE(Exists(SetupExe()));
    }
    void TearDown() override { Clean(); }
    // Whatever an installation or a failed case left, so each case starts
    // as on a machine that never had the product.
    static void Clean() {
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            trtest::DeleteRegTree(root, kProductKey);
            ::RegDeleteKeyA(root, kCompanyKey);  // only when empty
        }
        trtest::DeleteRegTree(HKEY_LOCAL_MACHINE, kUninstallKey);
        trtest::DeleteRegTree(HKEY_LOCAL_MACHINE, kEventSourceKey);
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Trelvane");
        trtest::RemoveTree(kCompanyFolder);
        trtest::RemoveTree(UserDataFolder());
    }

    // A complete installation in `folder`, with the installing user set up.
    static void ExpectInstalledIn(const std::string& folder) {
        for (const char* name : {"TrCommon.dll", "TrLocale.DLL", "trctl.exe", "Trelvane.exe", "Uninstall.exe"})
            EXPECT_TRUE(Exists(folder + "\\" + name)) << name;
        // The resident server: started at the user's log-on, its event log
        // lines shown through its own message table.
        EXPECT_EQ("\"" + folder + "\\Trelvane.exe\"", ReadValue(HKEY_CURRENT_USER, kRunKey, "Trelvane"));
        EXPECT_EQ(folder + "\\Trelvane.exe", ReadValue(HKEY_LOCAL_MACHINE, kEventSourceKey, "EventMessageFile"));
        EXPECT_EQ("dword:7", ReadValue(HKEY_LOCAL_MACHINE, kEventSourceKey, "TypesSupported"));
        for (const auto& [name, bytes] : ShippedFiles()) {
            for (const char* os : {"\\Win2K\\", "\\Win98\\"}) EXPECT_EQ(bytes, Text(folder + os + name)) << os << name;
            // The user got the data files (not the profile) from the OS folder.
            const bool isData = name.size() > 4 && name.compare(name.size() - 4, 4, ".dat") == 0;
            EXPECT_EQ(isData ? bytes : "(missing)", Text(UserDataFolder() + "\\" + name)) << name;
        }
        // The machine's values, and the same settings copied to the user.
        for (const auto& v : MachineValues(folder)) {
            EXPECT_EQ(v.value, ReadValue(HKEY_LOCAL_MACHINE, v.key, v.name)) << v.key << " " << v.name;
            EXPECT_EQ(v.value, ReadValue(HKEY_CURRENT_USER, v.key, v.name)) << v.key << " " << v.name;
        }
        const struct { const char* name; std::string value; } entry[] = {
            {"DisplayName", "Trelvane"},
            {"DisplayVersion", TR_VERSION_TEXT},
            {"Publisher", "Kalvor Corporation"},
            {"InstallLocation", folder},
            {"UninstallString", "\"" + folder + "\\Uninstall.exe\""},
            {"QuietUninstallString", "\"" + folder + "\\Uninstall.exe\" /S"},
        };
        for (const auto& e : entry) EXPECT_EQ(e.value, ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, e.name)) << e.name;
        // Kilobytes of the program folder as installed.
        const std::string size = ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize");
        ASSERT_EQ(0u, size.rfind("dword:", 0)) << size;
        EXPECT_NEAR(double(TreeSize(folder) / 1024), std::stod(size.substr(6)), 2.0);
    }

    // trctl paths of the installed trctl: the folders it reports are the
    // installation's (printed for the record).
    static void ExpectPathsShow(const std::string& folder) {
        const trtest::Captured paths = RunProgram(folder + "\\trctl.exe", "paths");
        std::printf("trctl paths:\n%s", paths.out.c_str());
        EXPECT_EQ(0, paths.code);
        const struct { const char* label; std::string path; } shown[] = {
            {" 0  program folder ", folder},
            {" 1  OS folder ", folder + "\\Win2K"},
            {" 3  data folder ", UserDataFolder()},
            {" 4  installed program ", folder + "\\Trelvane.exe"},
            {" 5  companion library ", folder + "\\TrTW.dll"},
            {" 7  resource library ", folder + "\\TrLocale.DLL"},
            {" 8  launch profile ", folder + "\\Win2K\\TrLaunch.ini"},
            {"18  timer data ", UserDataFolder() + "\\TimrData.dat"},
        };
        for (const auto& s : shown) {
            const std::size_t at = paths.out.find(s.label);
            ASSERT_NE(std::string::npos, at) << s.label;
            const std::size_t end = paths.out.find_first_of("\r\n", at);
            const std::string line = paths.out.substr(at, end - at);
            EXPECT_EQ(s.path, line.substr(line.find_first_not_of(' ', std::string(s.label).size()))) << line;
        }
    }

    // Nothing of the product is left in `folder`, HKLM or the Uninstall key.
    static void ExpectRemovedFrom(const std::string& folder) {
        EXPECT_FALSE(Exists(folder));
        for (const char* key : {kProductKey, kCompanyKey, kUninstallKey, kEventSourceKey})
            EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key)) << key;
        EXPECT_EQ("(missing)", ReadValue(HKEY_CURRENT_USER, kRunKey, "Trelvane"));
    }
};

TEST_F(Setup, SilentInstallUpgradeKeepingTheUsersDataThenSilentUninstall) {
    ASSERT_FALSE(Exists(kDefaultFolder));
    const trtest::Captured install = RunProgram(SetupExe(), "/S");
    ASSERT_EQ(0, install.code) << install.All();
    std::printf("installed into %s\n", kDefaultFolder.c_str());
    ExpectInstalledIn(kDefaultFolder);
    ExpectPathsShow(kDefaultFolder);

    // The user rebinds the slot and lengthens the PPK dialog; a data file is
    // lost; a program file of the installation is damaged.
    const std::string mine = "Title:mine\r\nDescription:\r\nPath:C:\\mine.exe\r\nWorkDir:\r\nOption:\r\nKey:00000301\r\n";
    ASSERT_TRUE(trtest::WriteFileBytes(UserDataFolder() + "\\FPData.dat", mine));
    ASSERT_TRUE(::DeleteFileA((UserDataFolder() + "\\TimrData.dat").c_str()));
    const DWORD ten = 10;
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetKeyValueA(HKEY_CURRENT_USER, (std::string(kProductKey) + "\\PPKConfig").c_str(),
                                               "InfoDialog", REG_DWORD, &ten, sizeof(ten)));
    const std::string trctl = Text(kDefaultFolder + "\\trctl.exe");
    ASSERT_TRUE(trctl != "(missing)" && trtest::WriteFileBytes(kDefaultFolder + "\\trctl.exe", "damaged"));

    // The server runs, as after a log-on.
    const trtest::RunningProgram server(kDefaultFolder + "\\Trelvane.exe", "");
    ASSERT_TRUE(server.Valid());
    for (int tries = 0; tries < 100 && !::FindWindowA("TrelvaneServer", nullptr); ++tries) ::Sleep(100);
    ASSERT_TRUE(::FindWindowA("TrelvaneServer", nullptr));

    // The upgrade ends the server, repairs the installation and keeps the
    // user's data and settings; the missing data file is copied again.
    const trtest::Captured upgrade = RunProgram(SetupExe(), "/S");
    ASSERT_EQ(0, upgrade.code) << upgrade.All();
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(server.Process(), 0));
    EXPECT_EQ(trctl, Text(kDefaultFolder + "\\trctl.exe"));
    EXPECT_EQ(mine, Text(UserDataFolder() + "\\FPData.dat"));
    EXPECT_EQ(ShippedFiles().at("TimrData.dat"), Text(UserDataFolder() + "\\TimrData.dat"));
    EXPECT_EQ("dword:10", ReadValue(HKEY_CURRENT_USER, std::string(kProductKey) + "\\PPKConfig", "InfoDialog"));
    std::printf("upgraded: the running server ended, user's FPData.dat and PPKConfig\\InfoDialog=10 kept, "
                "TimrData.dat copied again\n");

    // The quiet uninstall the system would run: all of it goes but the
    // user's data folder and settings.
    const std::string quiet = ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString");
    const trtest::Captured uninstall = RunCommandLine(quiet);
    EXPECT_EQ(0, uninstall.code) << quiet << ": " << uninstall.All();
    ExpectRemovedFrom(kDefaultFolder);
    EXPECT_FALSE(Exists(kCompanyFolder));
    EXPECT_EQ(mine, Text(UserDataFolder() + "\\FPData.dat"));
    EXPECT_EQ("dword:10", ReadValue(HKEY_CURRENT_USER, std::string(kProductKey) + "\\PPKConfig", "InfoDialog"));
    std::printf("uninstalled (%s): program folder, HKLM values and Uninstall entry gone; user's data kept\n",
                quiet.c_str());
}

TEST_F(Setup, InstallsIntoTheFolderGivenWithD) {
    // The folder's parent exists already: the uninstaller must leave it.
    const std::string parent = "C:\\Apps for Trelvane", folder = parent + "\\Event Launcher";
    ASSERT_TRUE(::CreateDirectoryA(parent.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    const trtest::Captured install = RunProgram(SetupExe(), "/S /D=" + folder);
    ASSERT_EQ(0, install.code) << install.All();
    ExpectInstalledIn(folder);
    ExpectPathsShow(folder);
    EXPECT_FALSE(Exists(kCompanyFolder));

    const trtest::Captured uninstall = RunCommandLine(ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString") + " /S");
    EXPECT_EQ(0, uninstall.code) << uninstall.All();
    ExpectRemovedFrom(folder);
    EXPECT_TRUE(Exists(parent));
    EXPECT_TRUE(::RemoveDirectoryA(parent.c_str()));
}

TEST_F(Setup, RefusesWithoutAdministratorRightsAndChangesNothing) {
    const tr::Handle user = WithoutAdministrators();
    ASSERT_TRUE(user.Valid()) << ::GetLastError();
    const trtest::Captured refused = RunProgram(SetupExe(), "/S", user.Get());
    EXPECT_EQ(5, refused.code);
    EXPECT_EQ(kRefusal, refused.All());
    ExpectRemovedFrom(kCompanyFolder);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));

    // The uninstaller refuses the same way (run in place, so its own exit
    // code comes back) and leaves the installation whole.
    ASSERT_EQ(0, RunProgram(SetupExe(), "/S").code);
    const trtest::Captured kept = RunProgram(kDefaultFolder + "\\Uninstall.exe", "/S _?=" + kDefaultFolder, user.Get());
    EXPECT_EQ(5, kept.code);
    EXPECT_EQ(kRefusal, kept.All());
    ExpectInstalledIn(kDefaultFolder);
}

}  // namespace
