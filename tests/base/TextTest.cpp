// Code-page aware text helpers. Under code page 932 the trail byte of many
// characters is 0x5C ('\') or a letter, and must never be found on its own.
#include <gtest/gtest.h>

#include "TrTestCodePage.h"

#include "base/TrText.h"

namespace {

TEST(Text, SkipsTrailBytesUnderCodePage932) {
    if (!trtest::IsCodePage932()) GTEST_SKIP() << "needs code page 932 (LC_ALL=ja_JP.UTF-8; natively TR_CODEPAGE=932)";
    // 0x95 0x5C and 0x83 0x5C end in '\'; 0x83 0x41 ends in 'A'.
    const std::string hyou = "\x95\x5c", so = "\x83\x5c", kanaA = "\x83\x41";
    const std::string path = "C:\\" + hyou + "\\x" + so;
    EXPECT_EQ(2u, tr::FindChar(path, '\\'));
    EXPECT_EQ(5u, tr::FindChar(path, '\\', 3));
    EXPECT_EQ(5u, tr::FindLastChar(path, '\\'));
    EXPECT_EQ(tr::kNotFound, tr::FindText(kanaA + "B", "AB"));
    EXPECT_EQ(2u, tr::FindText(kanaA + "AB", "AB"));
    EXPECT_EQ("AB" + kanaA + "CD", tr::ToUpper("ab" + kanaA + "cd"));  // the trail byte 'A' stays as it is
    EXPECT_EQ(2u, tr::CharLength(hyou, 0));
    // A lead byte at the very end stands alone and cannot swallow anything.
    EXPECT_EQ(1u, tr::CharLength(std::string("a\x95"), 1));
}

TEST(Text, SingleByteSearchesCasesAndTrims) {
    EXPECT_EQ(tr::kNotFound, tr::FindChar("", 'a'));
    EXPECT_EQ(3u, tr::FindChar("abca", 'a', 1));
    EXPECT_EQ(tr::kNotFound, tr::FindLastChar("abc", 'x'));
    EXPECT_EQ(3u, tr::FindLastChar("a\\b\\", '\\'));
    EXPECT_EQ(4u, tr::FindText("abc Title:", "Title:", 1));
    EXPECT_EQ(tr::kNotFound, tr::FindText("Titl", "Title:"));
    EXPECT_EQ(2u, tr::FindText("ab", "", 2));
    EXPECT_EQ(tr::kNotFound, tr::FindText("ab", "", 3));
    EXPECT_EQ("0001ABCD.WAV\xe4", tr::ToUpper("0001abcd.wav\xe4"));  // no locale folding of high bytes
    EXPECT_EQ("x \t", tr::TrimLeft(" \t\r\n\v\fx \t"));
    EXPECT_EQ(" \tx", tr::TrimRight(" \tx \t\r\n"));
    EXPECT_EQ("", tr::TrimLeft("   "));
    EXPECT_EQ("\xa0x", tr::TrimLeft("\xa0x"));  // not white space in any code page we serve
    // A view ends where it ends, whatever the bytes beyond it.
    const std::string_view blanks = "    ";
    EXPECT_EQ("", tr::TrimLeft(blanks.substr(1, 2)));
    EXPECT_EQ("", tr::TrimRight(blanks.substr(1, 2)));
}

}  // namespace
