// Path utilities: joining, existence and creation, with MAX_PATH buffers that
// never overflow, and backslashes found code-page aware.
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
    EXPECT_EQ("C:\\Tool\\Sub", Append("C:\\Tool\\", "Sub"));
    EXPECT_EQ("C:\\Tool\\Sub", Append("C:\\Tool\t\r\n", "Sub"));
    EXPECT_EQ("\\Sub", Append("", "Sub"));
    EXPECT_EQ("\\", Append("", ""));
    EXPECT_EQ("C:\\\\Sub", Append("C:\\", "\\\\Sub"));  // only one leading backslash goes
    EXPECT_EQ("C:\\a b\\c d ", Append("C:\\a b", "c d "));  // inner and other-end blanks stay
}

TEST(PathAppend, RefusesOverlongResultsAndNullsLeavingTheBufferAlone) {
    char buf[MAX_PATH];
    const std::string base(250, 'a');
    std::strcpy(buf, base.c_str());
    EXPECT_EQ(1, TrComPathAppend(buf, "12345678"));  // 250 + 1 + 8 = 259 fits
    EXPECT_EQ(259u, std::strlen(buf));
    std::strcpy(buf, base.c_str());
    EXPECT_EQ(0, TrComPathAppend(buf, "123456789"));  // 260 would not
    EXPECT_EQ(base, buf);
    EXPECT_EQ(0, TrComPathAppend(nullptr, "x"));
    EXPECT_EQ(0, TrComPathAppend(buf, nullptr));
    EXPECT_EQ(base, buf);
    // A buffer without a terminator within MAX_PATH is not a path at all.
    char full[MAX_PATH + 8];
    std::memset(full, 'z', sizeof(full));
    EXPECT_EQ(0, TrComPathAppend(full, "x"));
    EXPECT_EQ('z', full[MAX_PATH - 1]);
}

TEST(PathAppend, TrailByteBackslashIsNotASeparatorUnderCodePage932) {
    if (!trtest::IsCodePage932()) GTEST_SKIP() << "needs code page 932 (LC_ALL=ja_JP.UTF-8)";
    // "C:\<hyou>" ends in byte 0x5C, which is the second half of a character.
    EXPECT_EQ("C:\\\x95\x5c\\Sub", Append("C:\\\x95\x5c", "Sub"));
    EXPECT_EQ("C:\\Sub\\\x95\x5c", Append("C:\\Sub", "\x95\x5c"));
}

TEST(PathFileExists, MatchesFilesFoldersAndPatterns) {
    trtest::TempFolder tmp;
    EXPECT_NE(0, TrComPathFileExists(tmp.Path().c_str()));
    EXPECT_EQ(0, TrComPathFileExists((tmp / "*.dat").c_str()));
    ASSERT_TRUE(trtest::WriteFileBytes(tmp / "Skey.dat", "x"));
    EXPECT_NE(0, TrComPathFileExists((tmp / "*.dat").c_str()));
    EXPECT_NE(0, TrComPathFileExists((tmp / "Skey.dat").c_str()));
    EXPECT_EQ(0, TrComPathFileExists((tmp / "Nope.dat").c_str()));
    EXPECT_EQ(0, TrComPathFileExists(""));
    EXPECT_EQ(0, TrComPathFileExists(nullptr));
}

TEST(CreateDirectory, CreatesEveryMissingLevel) {
    trtest::TempFolder tmp;
    const std::string abc = tmp / "A\\B\\C";
    EXPECT_EQ(1, TrComCreateDirectory(abc.c_str()));
    EXPECT_NE(0, TrComPathFileExists(abc.c_str()));
    EXPECT_EQ(1, TrComCreateDirectory(abc.c_str()));  // all there already
    const std::string de = tmp / "D\\E\\";
    EXPECT_EQ(1, TrComCreateDirectory(de.c_str()));
    EXPECT_NE(0, TrComPathFileExists((tmp / "D\\E").c_str()));
    EXPECT_EQ(1, TrComCreateDirectory("C:\\"));
}

TEST(CreateDirectory, RefusesRootlessPathsAndStopsAtTheFirstFailure) {
    trtest::TempFolder tmp;
    EXPECT_EQ(0, TrComCreateDirectory("NoBackslash"));
    EXPECT_EQ(0, TrComCreateDirectory("\\Rooted\\Path"));
    EXPECT_EQ(0, TrComCreateDirectory(""));
    EXPECT_EQ(0, TrComCreateDirectory(nullptr));
    EXPECT_EQ(0, TrComPathFileExists("\\Rooted"));
    // A level that cannot be made: a name with a character folders may not have.
    const std::string bad = tmp / "Made\\Bad|Name\\Never";
    EXPECT_EQ(0, TrComCreateDirectory(bad.c_str()));
    EXPECT_NE(0, TrComPathFileExists((tmp / "Made").c_str()));  // levels before it stay
    EXPECT_EQ(0, TrComPathFileExists((tmp / "Made\\Bad|Name").c_str()));
    // Over-long levels are refused, never cut.
    const std::string longPath = tmp / std::string(300, 'x');
    EXPECT_EQ(0, TrComCreateDirectory(longPath.c_str()));
}

TEST(CreateDirectory, FolderWhoseNameEndsInByte5CUnderCodePage932) {
    if (!trtest::IsCodePage932()) GTEST_SKIP() << "needs code page 932 (LC_ALL=ja_JP.UTF-8)";
    trtest::TempFolder tmp;
    // "<hyou><so>\Sub": both characters end in 0x5C, neither is a separator.
    const std::string name = "\x95\x5c\x83\x5c";
    const std::string path = tmp / (name + "\\Sub");
    EXPECT_EQ(1, TrComCreateDirectory(path.c_str()));
    EXPECT_NE(0, TrComPathFileExists((tmp / name).c_str()));
    EXPECT_NE(0, TrComPathFileExists(path.c_str()));
    // The folder is one level: no folder named by the lead bytes alone exists.
    EXPECT_EQ(0, TrComPathFileExists((tmp / "\x95").c_str()));
}

}  // namespace
