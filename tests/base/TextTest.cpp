// Code-page aware text helpers. Under code page 932 the trail byte of many
// characters is 0x5C ('\') or a letter, and must never be found on its own.
#include "TrTestSupport.h"

#include "base/TrText.h"

namespace {

// U+8868 (hyou) in code page 932: 0x95 0x5C; U+30BD (so): 0x83 0x5C;
// U+30A2 (a): 0x83 0x41 - the trail byte is 'A'.
const std::string kHyou = "\x95\x5c";
const std::string kSo = "\x83\x5c";
const std::string kKanaA = "\x83\x41";

TEST(Text, FindCharSkipsTrailBytesUnderCodePage932) {
    if (!trtest::IsCodePage932()) GTEST_SKIP() << "needs code page 932 (LC_ALL=ja_JP.UTF-8)";
    const std::string path = "C:\\" + kHyou + "\\x" + kSo;
    EXPECT_EQ(2u, tr::FindChar(path, '\\'));
    EXPECT_EQ(5u, tr::FindChar(path, '\\', 3));
    EXPECT_EQ(5u, tr::FindLastChar(path, '\\'));
    EXPECT_EQ(tr::kNotFound, tr::FindChar(kHyou + kSo, '\\'));
    EXPECT_EQ(tr::kNotFound, tr::FindText(kKanaA + "B", "AB"));
    EXPECT_EQ(2u, tr::FindText(kKanaA + "AB", "AB"));
    std::string mixed = "ab" + kKanaA + "cd";
    tr::MakeUpper(mixed);
    EXPECT_EQ("AB" + kKanaA + "CD", mixed);  // the trail byte 'A' stays as it is
    // A lead byte at the very end stands alone and cannot swallow anything.
    EXPECT_EQ(1u, tr::CharLength(std::string("a\x95"), 1));
}

TEST(Text, SingleByteSearchesAndCases) {
    EXPECT_EQ(tr::kNotFound, tr::FindChar("", 'a'));
    EXPECT_EQ(3u, tr::FindChar("abca", 'a', 1));
    EXPECT_EQ(tr::kNotFound, tr::FindLastChar("abc", 'x'));
    EXPECT_EQ(3u, tr::FindLastChar("a\\b\\c", '\\'));
    EXPECT_EQ(0u, tr::FindText("Title:x", "Title:"));
    EXPECT_EQ(4u, tr::FindText("abc Title:", "Title:", 1));
    EXPECT_EQ(tr::kNotFound, tr::FindText("Titl", "Title:"));
    EXPECT_EQ(2u, tr::FindText("ab", "", 2));
    EXPECT_EQ(tr::kNotFound, tr::FindText("ab", "", 3));
    EXPECT_TRUE(tr::StartsWith("Path:x", "Path:"));
    EXPECT_FALSE(tr::StartsWith("Pat", "Path:"));
    EXPECT_EQ("0001ABCD.WAV", tr::ToUpper("0001abcd.wav"));
    EXPECT_EQ("\xe4", tr::ToUpper("\xe4"));  // no locale folding of high bytes
}

TEST(Text, TrimsAsciiWhiteSpaceOnly) {
    EXPECT_EQ("x \t", tr::TrimLeft(" \t\r\n\v\fx \t"));
    EXPECT_EQ(" \tx", tr::TrimRight(" \tx \t\r\n"));
    EXPECT_EQ("", tr::TrimLeft("   "));
    EXPECT_EQ("", tr::TrimRight(""));
    EXPECT_EQ("\xa0x", tr::TrimLeft("\xa0x"));  // not white space in any code page we serve
}

}  // namespace
