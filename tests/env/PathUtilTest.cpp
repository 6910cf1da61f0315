// Path utilities: MAX_PATH buffers that never overflow, backslashes found code-page aware.
#include "TrTestSupport.h"

#include "include/TrCommon.h"

#include <cstring>

namespace {

std::string Append(const std::string& path, const char* name) {
    char buf[MAX_PATH];
    std::memset(buf, 0x55, sizeof(buf));
    std::strcpy(buf, path.c_str());
    EXPECT_EQ(1, TrComPathAppend(buf, name));
    return buf;
}

TEST(PathAppend, JoinsWithExactlyOneBackslash) {
    EXPECT_EQ("C:\\Tool\\Sub", Append("C:\\Tool ", " \\Sub"));
    EXPECT_EQ("\\Sub", Append("", "Sub"));
    EXPECT_EQ("C:\\\\Sub", Append("C:\\", "\\\\Sub"));  // only one leading backslash goes
    EXPECT_EQ("C:\\a b\\c d ", Append("C:\\a b", "c d "));  // inner and other-end blanks stay
}

TEST(PathAppend, RefusesOverlongResultsAndNullsLeavingTheBufferAlone) {
    const std::string base(250, 'a');
    EXPECT_EQ(base + "\\12345678", Append(base, "12345678"));  // 259 characters fit
    char buf[MAX_PATH];
    std::strcpy(buf, base.c_str());
    EXPECT_EQ(0, TrComPathAppend(buf, "123456789"));  // 260 would not
    EXPECT_EQ(0, TrComPathAppend(nullptr, "x") + TrComPathAppend(buf, nullptr));
    EXPECT_EQ(base, buf);
    char full[MAX_PATH + 8];  // no terminator within MAX_PATH: not a path at all
    std::memset(full, 'z', sizeof(full));
    EXPECT_EQ(0, TrComPathAppend(full, "x"));
    EXPECT_EQ('z', full[MAX_PATH - 1]);
}

TEST(CreateDirectoryPath, FindsPatternsCreatesEveryMissingLevelAndStopsAtTheFirstFailure) {
    trtest::TempFolder tmp;
    EXPECT_EQ(0, TrComPathFileExists((tmp / "*.dat").c_str()) + TrComPathFileExists("") + TrComPathFileExists(nullptr));
    ASSERT_TRUE(trtest::WriteFileBytes(tmp / "Skey.dat", "x"));
    EXPECT_NE(0, TrComPathFileExists((tmp / "*.dat").c_str()));  // patterns match too
    for (const char* path : {"A\\B\\C", "A\\B\\C", "D\\E\\"}) EXPECT_EQ(1, TrComCreateDirectory((tmp / path).c_str())) << path;
    EXPECT_TRUE(TrComPathFileExists((tmp / "A\\B\\C").c_str()) && TrComPathFileExists((tmp / "D\\E").c_str()));
    EXPECT_EQ(1, TrComCreateDirectory("C:\\"));
    for (const char* bad : {"NoBackslash", "\\Rooted\\Path", static_cast<const char*>(nullptr)})
        EXPECT_EQ(0, TrComCreateDirectory(bad)) << bad;  // the text before the first backslash is never made
    EXPECT_EQ(0, TrComPathFileExists("\\Rooted"));
    EXPECT_EQ(0, TrComCreateDirectory((tmp / "Made\\Bad|Name\\Never").c_str()));  // a level that cannot be made
    EXPECT_NE(0, TrComPathFileExists((tmp / "Made").c_str()));  // levels before it stay
    EXPECT_EQ(0, TrComCreateDirectory((tmp / std::string(300, 'x')).c_str()));  // refused, never cut
}

// "<hyou>" (95 5C) and "<so>" (83 5C) end in a byte that is a backslash only in a single-byte code page.
TEST(PathUtil, TrailByte5CIsNoSeparatorUnderCodePage932) {
    if (!trtest::IsCodePage932()) GTEST_SKIP() << "needs code page 932 (LC_ALL=ja_JP.UTF-8)";
    EXPECT_EQ("C:\\\x95\x5c\\Sub", Append("C:\\\x95\x5c", "Sub"));
    trtest::TempFolder tmp;
    const std::string name = "\x95\x5c\x83\x5c", path = tmp / (name + "\\Sub");
    EXPECT_EQ(1, TrComCreateDirectory(path.c_str()));
    EXPECT_TRUE(TrComPathFileExists((tmp / name).c_str()) && TrComPathFileExists(path.c_str()));
    EXPECT_EQ(0, TrComPathFileExists((tmp / "\x95").c_str()));  // no folder named by a lead byte alone
}

}  // namespace
