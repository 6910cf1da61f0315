// The data-file format, table-driven: bytes in, Load's result and record
// count, then the bytes Write gives back. The rewrite shows every field, the
// comment line, the line ends and which records a failed load kept.
#include <gtest/gtest.h>

#include "DataFiles.h"

#include <vector>

namespace {

using namespace datatest;

// Load over a database that holds a record and a comment from an earlier
// load; Write over a longer file. out "=" stands for the input itself.
struct Case {
    char kind;
    std::string in;
    int result, count;
    std::string out;
};

void RunCases(const std::vector<Case>& cases) {
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const Case& c = cases[i];
        const std::string out = c.out == "=" ? c.in : c.out;
        const std::string prev = c.kind == 'n' ? Num("p", "7") : c.kind == 's' ? Str("p", "p") : Fold("p", "0");
        Files files;
        ASSERT_TRUE(files.Put("prev.dat", ";prev\r\n" + prev) && files.Put("in.dat", c.in) &&
                    files.Put("out.dat", std::string(out.size() + 100, 'z')));
        auto db = Make(c.kind);
        ASSERT_EQ(0, db->Load(files.Path("prev.dat")));
        EXPECT_EQ(c.result, db->Load(files.Path("in.dat")));
        EXPECT_EQ(c.count, c.kind == 'j' ? static_cast<CTrJogDataDB&>(*db).GetAllNumber() : db->GetDataNumber());
        // 1 as WriteAllData gives it; the last error says the write was complete.
        ::SetLastError(0xdeadbeef);
        EXPECT_EQ(1, db->Write(files.Path("out.dat")));
        EXPECT_EQ(ERROR_SUCCESS, ::GetLastError());
        EXPECT_EQ(out, files.Get("out.dat"));
    }
}

TEST(DataFile, FormatResultsAndRewrites) {
    const std::string sample = ";key events\r\n" + Num("A", "0000001B") + Num("B", "01000002");
    const std::string ab = Num("A", "00000001") + Num("B", "00000002"), two = Num("A", "1") + Num("B", "2");
    const std::string menu = Fold("ok", "0") + Fold("app", "1") + CrLf({"Path:p", "WorkDir:w", "Option:o"});
    std::vector<Case> cases = {
        {'n', sample, 0, 2, "="},
        // LF ends a line, CR only as part of CR LF; the last line needs no end.
        {'n', "Title:a\rb\nDescription:d\r\r\nPath:p\nWorkDir:w\nOption:o\nKey:1", 0, 1,
         CrLf({"Title:a\rb", "Description:d\r", "Path:p", "WorkDir:w", "Option:o", "Key:00000001"})},
        // Sections start at a line beginning "Title:"; the last ';' line before the first is the comment.
        {'n', "junk\r\n;first\r\n\r\n;second\r\n Title:no\r\n" + Num("A", "1") + ";in A\r\n" + Num("B", "2"), 0, 2,
         ";second\r\n" + ab},
        // No section: the list is emptied, the count of the earlier load stays.
        {'n', ";one\n;two\nno section here\n", 6, 1, ";two\r\n"},
        {'n', two + "Title:cut", 5, 2, ab},
        {'n', two + CrLf({"Title:five", "Description:", "Path:", "WorkDir:", "Option:"}), 2, 2, ab},
        // "Title:" anywhere in a line ends the section; the value loses six bytes from the front.
        {'n', two + CrLf({"Title:C", "Description:see Title:x", "Path:", "WorkDir:", "Option:", "Key:3"}), 2, 2, ab},
        // Six lines make a record even without a key line: the key is then 0, a repeated label's last value wins.
        {'n', CrLf({"Title:t", "Description:d", "Description:e", "Path:p", "WorkDir:w", "Option:o"}), 0, 1,
         CrLf({"Title:t", "Description:e", "Path:p", "WorkDir:w", "Option:o", "Key:00000000"})},
        // Colons beyond the sixteenth of a line are looked at too; none of them is a label.
        {'n',
         CrLf({"Title:t", "Description:" + std::string(20, ':'), "Path:p", "WorkDir:w", "Option:o", "Key:00000001"}), 0,
         1, "="},
        // The first label of the label order found anywhere in a line decides.
        {'n', CrLf({"Title:t", "Description:d", "Path:x", "WorkDir:C:\\d Path:x", "Option:\to ", "", "Key:1"}), 0, 1,
         CrLf({"Title:t", "Description:d", "Path:ir:C:\\d Path:x", "WorkDir:", "Option:o ", "Key:00000001"})},
        {'s', Str("a", "VID_1234&PID_5678") + Str("b", "k "), 0, 2, "="},
        {'s', Str("a", "k") + Num("t", "1"), 2, 1, Str("a", "k")},
        {'j', ";menu\r\n" + menu, 0, 2, "="},
        // A "Path:" anywhere after the title line makes an application, even an empty one.
        {'j', Fold("Path:x", "0"), 0, 1, "="},
    };
    // Key digits: upper-cased, each byte minus '0' (or 'A' - 10) as a signed byte, no validation. Levels as
    // atoi reads them, held at the ends of the 32-bit range.
    const char* keys[][2] = {
        {"  1b", "0000001B"}, {"1b ", "000001A0"}, {"G", "00000017"}, {"\xff", "FFFFFFCF"}, {"123456789", "23456789"}};
    const char* levels[][2] = {
        {"  -7x", "-7"}, {"abc", "0"}, {"", "0"}, {"99999999999", "2147483647"}, {"-99999999999", "-2147483648"}};
    Case numbers{'n', "", 0, 5, ""}, depths{'j', "", 0, 5, ""};
    for (auto& k : keys) numbers.in += Num("k", k[0]), numbers.out += Num("k", k[1]);
    for (auto& l : levels) depths.in += Fold("f", l[0]), depths.out += Fold("f", l[1]);
    cases.insert(cases.end(), {numbers, depths});
    RunCases(cases);
}

// Lines are scanned sixteen bytes at a time: labels, line ends and the end of
// the file fall at every place of such a block here.
TEST(DataFile, LabelsAndLineEndsAnywhereInTheScannedBlocks) {
    std::vector<Case> cases;
    for (int pad = 0; pad <= 40; ++pad) {
        const std::string p(pad, 'a');
        // A "WorkDir:" line with "Path:" further on is a Path line (Path comes first in the label order); the
        // last line ends with the file.
        cases.push_back({'n',
                         CrLf({"Title:t", "Description:d", "WorkDir:w", "WorkDir:" + p + "Path:x", "Option:o"}) +
                             "Key:" + std::string(pad % 9, '0') + "1",
                         0, 1, CrLf({"Title:t", "Description:d", "Path:ir:" + p + "Path:x", "WorkDir:w", "Option:o",
                                     "Key:00000001"})});
    }
    RunCases(cases);
}

TEST(DataFile, DoubleByteCharactersAreNeverSplit) {
    if (!trtest::IsCodePage932()) GTEST_SKIP() << "needs code page 932";
    // 0x83 0x5C and 0x95 0x5C end in '\', 0x83 0x41 in 'A', 0x83 0x5D in ']'; 0x83 'K' and 0x83 'T' are one
    // character, so "x\x83Key:" holds no label.
    RunCases({{'n', CrLf({"Title:\x83\x5c\x95\x5c\x83\x41", "Description:x\x83Key:", "Path:C:\\\x95\x5c\\a.exe",
                         "WorkDir:", "Option:", "Key:0000000A"}), 0, 1, "="},
              {'s', Str("\x83\x41", "USB\\\x83\x5c\x95\x5c"), 0, 1, "="}});
    // 0x83 'P' is one character wherever the scan's blocks split the line: no "Path:" in the Option.
    std::vector<Case> hidden;
    for (int pad = 0; pad <= 33; ++pad)
        hidden.push_back({'n', CrLf({"Title:t", "Description:d", "Path:p", "WorkDir:w",
                                     "Option:" + std::string(pad, 'a') + "\x83Path:x", "Key:00000001"}),
                          0, 1, "="});
    RunCases(hidden);
    // In the refuse list too: a trail byte neither closes an entry nor matches alone.
    Files files;
    CTrRefuseDB refuse;
    int open = -1;
    ASSERT_TRUE(files.Put("r.txt", "[ab\x83\x5d]\n[A]\n"));
    EXPECT_EQ(0, refuse.IsInDB("\x83\x41", files.Path("r.txt"), open));
    EXPECT_EQ(1, refuse.IsInDB("xab\x83\x5dx", files.Path("r.txt"), open));
}

TEST(DataFile, RefusedPathsGive1AndKeepEverything) {
    Files files;
    const std::string a = ";c\r\n" + Num("A", "00000001");
    ASSERT_TRUE(files.Put("a.dat", a));
    CTrNumeralKeyDB db;
    ASSERT_EQ(0, db.Load(files.Path("a.dat")));
    for (const std::string& bad : {files.Path(std::string(260, 'x')), files.Path("a.dat") + '\0', std::string()}) {
        EXPECT_EQ(1, db.Load(bad));
        ::SetLastError(0xdeadbeef);
        EXPECT_EQ(1, db.Write(bad));
        EXPECT_EQ(ERROR_BAD_PATHNAME, ::GetLastError());
    }
    EXPECT_EQ(1, db.Load(files.Path("b.dat")));
    EXPECT_EQ(1, db.GetDataNumber());
    ASSERT_EQ(1, db.Write(files.Path("out.dat")));
    EXPECT_EQ(a, files.Get("out.dat"));
    EXPECT_EQ(a, files.Get("a.dat"));
    EXPECT_EQ(1, db.Reload());  // the path of the last Load, even a failed one
}

// Random bytes are the fuzzers' part; these are beyond their input size or code page.
TEST(DataFile, HugeLinesAndBrokenDoubleByteCharactersGiveResultCodes) {
    const std::string mb(1 << 20, 'x');
    const std::string inputs[] = {"Title:" + mb + "\n" + Num("t", "1") + "Path:" + mb,
                                  "\x83\nTitle:x\x83Title:\n\x83" "Key:1\n" + Str("t", "k")};
    Files files;
    for (const std::string& bytes : inputs) {
        ASSERT_TRUE(files.Put("bad.dat", bytes));
        for (char kind : {'n', 's', 'j'}) {
            auto db = Make(kind);
            const int loaded = db->Load(files.Path("bad.dat")), written = db->Write(files.Path("again.dat"));
            const int again = db->Load(files.Path("again.dat"));
            EXPECT_TRUE((loaded == 0 || loaded == 2 || loaded == 5 || loaded == 6) && written == 1 &&
                        (again == 0 || again == 2 || again == 6)) << kind << loaded << again << bytes.substr(0, 20);
        }
    }
}

}  // namespace
