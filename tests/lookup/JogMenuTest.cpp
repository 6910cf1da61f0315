// The jog menu exports over the user's "JogData.dat".
#include "LookupTestData.h"

namespace {

std::string JogEntry(const std::string& title, int level, const std::string& path = "") {
    const std::string text = "Title:" + title + "\r\nDescription:d\r\nLevel:" + std::to_string(level) + "\r\n";
    return path.empty() ? text : text + "Path:" + path + "\r\nWorkDir:C:\\work\r\nOption:-o\r\n";
}

TEST(JogMenu, OnlyAMenuThatLoadsCompletelyAnswersWithCountsAndEntries) {
    trtest::LookupSandbox box;
    // No file, comments only, a second section without Level.
    for (const char* text : {"", ";Jog dial menu\r\n", "Title:A\r\nLevel:0\r\nTitle:B\r\nPath:C:\\x.exe\r\n"}) {
        box.Remove("JogData.dat");
        ASSERT_TRUE(!*text || box.Write("JogData.dat", text));
        int count = 77, all = 77;
        TR_JOG_DATA_STRUC entry;
        std::memset(&entry, 0xAB, sizeof(entry));
        EXPECT_FALSE(TrComJogDataGetCount(&count) || TrComJogDataGetAllItems(&all) || TrComJogDataGetAt(&entry, 0))
            << text;
        EXPECT_TRUE(count + all == 0 && entry.szTitle[0] == static_cast<char>(0xAB)) << text;
    }
    // Folders have no Path; the last entry's texts are cut to their fields.
    ASSERT_TRUE(box.Write("JogData.dat", ";menu\r\n" + JogEntry("Tools", 0) + JogEntry("Calc", 1, "C:\\c.exe") +
                                             JogEntry("Games", 1) + JogEntry("Mines", 2, "C:\\m.exe") +
                                             JogEntry(std::string(500, 'E'), 0, std::string(270, 'p'))));
    int count = 77, all = 77;
    ASSERT_TRUE(TrComJogDataGetCount(&count) && TrComJogDataGetAllItems(&all));
    EXPECT_EQ("3 of 5", std::to_string(count) + " of " + std::to_string(all));
    // Level, folder flag, then the five texts.
    const std::string expect[] = {"0 1 Tools|d|||", "1 0 Calc|d|C:\\c.exe|C:\\work|-o", "1 1 Games|d|||",
                                  "2 0 Mines|d|C:\\m.exe|C:\\work|-o",
                                  "0 0 " + std::string(259, 'E') + "|d|" + std::string(259, 'p') + "|C:\\work|-o"};
    TR_JOG_DATA_STRUC e;
    std::memset(&e, 0xAB, sizeof(e));
    EXPECT_FALSE(TrComJogDataGetAt(&e, -1) || TrComJogDataGetAt(&e, 5) || e.nLevel != static_cast<LONG>(0xABABABAB))
        << "untouched";
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(TrComJogDataGetAt(&e, i)) << i;
        EXPECT_EQ(expect[i], std::to_string(e.nLevel) + " " + std::to_string(e.bIsFolder) + " " + e.szTitle + "|" +
                                 e.szDescription + "|" + e.szPath + "|" + e.szWorkDir + "|" + e.szOption);
    }
    EXPECT_FALSE(TrComJogDataGetCount(nullptr) || TrComJogDataGetAllItems(nullptr) || TrComJogDataGetAt(nullptr, 0));
}

}  // namespace
