// Per-user setup: the installed data files copied to the user's data folder. Wine as root
// keeps no creation time set with SetFileTime: the newest-wins rule goes through a seam.
#include "EnvTestSupport.h"

#include "env/TrDataCopy.h"

#include <shlobj.h>

#include <map>

namespace {

using namespace envtest;

std::string Content(const std::string& path) { std::string b; return trtest::ReadFileBytes(path, b) ? b : "<none>"; }
bool IsReadOnly(const std::string& path) { return ::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY; }

// A file system that keeps the creation times it is given.
std::map<std::string, FILETIME> g_times;
bool g_unreadable = false;
const tr::CreationTimeOps kFake = {
    [](const char* path, FILETIME* t) -> BOOL { return !g_unreadable && g_times.count(path) && (*t = g_times[path], TRUE); },
    [](const char* path, const FILETIME* t) -> BOOL { return (g_times[path] = *t, TRUE); }};

// Install, copy, edit, copy again, reinstall: the cycle a user goes through.
TEST(DataCopySeam, WithoutOverwriteOnlyNewerInstallsAreCopied) {
    trtest::TempFolder src, dst;
    const std::string jog = dst / "JogData.dat", ppk = dst / "PPKData.dat";
    auto install = [&](const char* name, const char* text, FILETIME created) {
        ASSERT_TRUE(trtest::WriteFileBytes(src / name, text));
        g_times[src / name] = created;
    };
    auto copy = [&](BOOL overwrite) {  // the user's two files after the copy
        tr::CopyDataFiles(src.Path().c_str(), dst.Path().c_str(), overwrite, kFake);
        return Content(jog) + Content(ppk);
    };
    install("JogData.dat", "v1", FILETIME{0xFFFFFFFF, 1});
    install("PPKData.dat", "p1", FILETIME{0, 0x80000000});  // compared unsigned, high part first
    EXPECT_EQ(-1, tr::CompareFileCreationTime((src / "JogData.dat").c_str(), (src / "PPKData.dat").c_str(), kFake));
    EXPECT_EQ("v1p1", copy(FALSE));  // no copies yet
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    EXPECT_LE(now.dwHighDateTime - g_times[jog].dwHighDateTime, 1u);  // stamped with the time of copying
    ASSERT_TRUE(trtest::WriteFileBytes(jog, "edit") && trtest::WriteFileBytes(ppk, "edit"));
    install("PPKData.dat", "p2", g_times[ppk]);  // installed at the time of copying
    EXPECT_EQ("editedit", copy(FALSE));
    install("JogData.dat", "v2", FILETIME{0, now.dwHighDateTime + 1});  // after the copy was made
    EXPECT_EQ("v2edit", copy(FALSE));
    g_unreadable = true;  // a time that cannot be read keeps the copy
    install("PPKData.dat", "p3", FILETIME{0, now.dwHighDateTime + 9});
    EXPECT_EQ("v2edit", copy(FALSE));
    EXPECT_EQ("v2p3", copy(TRUE));
    g_unreadable = false;
}

// The stamp asks for the attributes only: it works on a read-only copy, and here on a file
// another handle holds without sharing writes (Wine as root ignores read-only).
TEST(DataCopySeam, TheCreationTimeIsStampedWithoutWriteAccess) {
    trtest::TempFolder folder;
    const std::string path = folder / "JogData.dat";
    ASSERT_TRUE(trtest::WriteFileBytes(path, "copy") && ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    const tr::Handle held(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    const FILETIME now = {1, 2};
    EXPECT_TRUE(tr::SystemCreationTime().stamp(path.c_str(), &now));
    EXPECT_EQ("copy", Content(path));
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The export over real folders; the user's "Kalvor Corporation" folder is moved aside and back.
class CopyData : public ProductKeySandbox {
protected:
    CopyData() {
        char appData[MAX_PATH] = {};
        ::SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, TRUE);
        m_company = std::string(appData) + "\\Kalvor Corporation";
        m_moved = ::MoveFileA(m_company.c_str(), (m_company + ".trtest").c_str()) != 0;
        SetString(HKEY_LOCAL_MACHINE, kProductKey, "InstalledDir", m_program.Path());
        ::CreateDirectoryA(m_os.c_str(), nullptr);
        for (const char* name : {"JogData.dat", "FPData.dat", "Readme.txt"}) trtest::WriteFileBytes(m_os + "\\" + name, name);
        ::SetFileAttributesA((m_os + "\\FPData.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    }
    ~CopyData() override {
        ::SetFileAttributesA((m_os + "\\FPData.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
        trtest::RemoveTree(m_company);
        ::DeleteFileA(m_company.c_str());
        if (m_moved) ::MoveFileA((m_company + ".trtest").c_str(), m_company.c_str());
    }
    std::string Data(const char* name) const { return m_company + "\\Trelvane" + (*name ? "\\" : "") + name; }
    trtest::TempFolder m_program;
    const std::string m_os = m_program / "Win2K";
    std::string m_company;
    bool m_moved = false;
};

TEST_F(CopyData, CopiesIntoNewFoldersMadeWritableAndLosesNothing) {
    // The data folder's path taken by a file: it passes the existence test, is left
    // alone, and the single copies into it fail silently.
    ASSERT_TRUE(::CreateDirectoryA(m_company.c_str(), nullptr) && trtest::WriteFileBytes(Data(""), "a file"));
    EXPECT_EQ(1, TrComCopyDataToUserFolder(TRUE));
    EXPECT_EQ("a file", Content(Data("")));
    ASSERT_TRUE(trtest::RemoveTree(m_company));
    // The source folder is tested by a file search: a missing folder and one named with a
    // trailing backslash (the search finds nothing) fail before anything is made; a file
    // passes and gives an empty data folder.
    const struct { std::string dir; int result; } rows[] = {
        {m_program / "Missing", 0}, {m_os + "\\", 0}, {m_os + "\\Readme.txt", 1}, {m_program.Path(), 1}};
    for (const auto& row : rows) {
        ASSERT_TRUE(SetString(HKEY_LOCAL_MACHINE, kProductKey, "InstalledDir", row.dir));
        EXPECT_EQ(row.result, TrComCopyDataToUserFolder(FALSE)) << row.dir;
        EXPECT_EQ(row.result == 1, ::GetFileAttributesA(Data("").c_str()) != INVALID_FILE_ATTRIBUTES) << row.dir;
    }
    EXPECT_EQ("JogData.datFPData.dat<none>", Content(Data("JogData.dat")) + Content(Data("FPData.dat")) + Content(Data("Readme.txt")));
    EXPECT_FALSE(IsReadOnly(Data("FPData.dat")));  // the installed one is
    // The installed files replace the user's; an unreadable one loses nothing, and the user's older
    // copy is still made writable.
    ASSERT_TRUE(trtest::WriteFileBytes(Data("JogData.dat"), "user's") && trtest::WriteFileBytes(Data("FPData.dat"), "user's"));
    ASSERT_TRUE(::SetFileAttributesA(Data("JogData.dat").c_str(), FILE_ATTRIBUTE_READONLY));
    const tr::Handle locked(::CreateFileA((m_os + "\\JogData.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const long before = trtest::HandleCount();
    EXPECT_EQ(1, TrComCopyDataToUserFolder(TRUE));
    EXPECT_EQ(before, trtest::HandleCount());
    EXPECT_EQ("user's|FPData.dat", Content(Data("JogData.dat")) + "|" + Content(Data("FPData.dat")));
    EXPECT_FALSE(IsReadOnly(Data("JogData.dat")));
}

}  // namespace
