// CTrAppDataFinder: key extraction, which databases an open mask loads, the
// selector table of every category and the Flashpod high part. The event
// codes of category 0 are checked through the lookup exports.
#include "LookupTestData.h"

namespace {

using trtest::NumeralRecord;
using trtest::StringRecord;

TEST(FinderKeys, SecondAndLastKeysOfDevicePaths) {
    // The results are set also when FALSE.
    const struct { const char* source; int secondOk; const char* second; int lastOk; const char* last; } cases[] = {
        {"A\\B\\123", TRUE, "B", TRUE, "0000000000000123"}, {"A\\B", FALSE, "A\\B", TRUE, "000000000000000B"},
        {"ABC", FALSE, "ABC", FALSE, "ABC"}, {"A\\\\D", FALSE, "", TRUE, "000000000000000D"},
        {"A\\", FALSE, "A\\", TRUE, "0000000000000000"},
        {"1394\\KALVOR&CAM\\12345678901234567890", TRUE, "KALVOR&CAM", TRUE, "12345678901234567890"},
    };
    for (const auto& c : cases) {
        std::string second = "marker", last = "marker";
        EXPECT_EQ(c.secondOk, CTrAppDataFinder::ExtractSecondKey(c.source, second)) << c.source;
        EXPECT_EQ(c.lastOk, CTrAppDataFinder::ExtractLastKey(c.source, last)) << c.source;
        EXPECT_EQ(std::string(c.second) + "|" + c.last, second + "|" + last);
    }
}

struct Finder : ::testing::Test { trtest::LookupSandbox m_box; };

TEST_F(Finder, DoubleByteCharactersStayWhole) {
    if (!trtest::IsCodePage932()) GTEST_SKIP() << "needs code page 932";
    const std::string so = "\x83\x5C";  // one character whose trail byte equals '\'
    std::string second, last, none;
    EXPECT_TRUE(CTrAppDataFinder::ExtractSecondKey("USB\\" + so + "X\\1", second) &&
                CTrAppDataFinder::ExtractLastKey("USB\\A\\" + so, last) &&
                !CTrAppDataFinder::ExtractSecondKey("USB" + so + "\\X", none));
    EXPECT_EQ(so + "X|" + std::string(14, '0') + so, second + "|" + last);
    // Cut to its field, a title never ends in half a character.
    ASSERT_TRUE(m_box.Write("PPKData.dat", NumeralRecord(std::string(258, 'T') + so, 0x0101)));
    TR_APP_DATA_STRUC block;
    ASSERT_TRUE(TrComGetAppDataOfKalvorEvent(&block, 0x0101));
    EXPECT_EQ(std::string(258, 'T'), block.szTitle);
}

TEST_F(Finder, OpenReportsEachDatabaseThatFailedToLoad) {
    // A numeral file needs a section, a string file does not; the IEEE 1394
    // pair loads both or neither.
    const struct { std::vector<std::pair<const char*, std::string>> files; WORD mask; int failed; } cases[] = {
        {{}, 0xFF, 0xFF}, {{{"TimrData.dat", ";comment\r\n"}}, 0x40, 0x40}, {{{"USBData.dat", ";-\r\n"}}, 0x02, 0},
        {{{"XbusData.dat", StringRecord("cam", "0000000000000001")}}, 0x01, 0x01},
        {{{"XbusCtg.dat", StringRecord("cams", "CAM")}}, 0x01, 0x01},
        {{{"XbusData.dat", ""}, {"XbusCtg.dat", ""}}, 0x01, 0},
        {{{"SKeyData.dat", NumeralRecord("s", 0x201)}}, 0x30, 0x20}};
    for (const auto& c : cases) {
        for (const auto& f : c.files) ASSERT_TRUE(m_box.Write(f.first, f.second));
        CTrAppDataFinder finder;
        EXPECT_EQ(c.failed, finder.OpenDataBases(c.mask)) << &c - cases;
        for (const auto& f : c.files) m_box.Remove(f.first);
    }
}

TEST_F(Finder, EveryCategoryReachesItsDatabase) {
    ASSERT_TRUE(m_box.Write("FPData.dat", NumeralRecord("slot", 0x0301) + NumeralRecord("media0", 0x00000305) +
                                              NumeralRecord("media1", 0x01000305)));
    ASSERT_TRUE(m_box.Write("TimrData.dat", NumeralRecord("not the timer", 0) + NumeralRecord("timer", 0x02000000)));
    ASSERT_TRUE(m_box.Write("JPPKData.dat", NumeralRecord("jppk", 0x03000000)));
    CTrAppDataFinder finder;
    EXPECT_EQ(nullptr, finder.Find(0, 0x0301, 0, 0, 0, 1)) << "nothing is open yet";
    ASSERT_EQ(0, finder.OpenDataBases(0xC8));  // Flashpod, timer, JPPK
    // Category 1 type 0x03xx is Flashpod media: the high part is 1 for a bare
    // key or with "Flashpod=5" under [TrConfig] in "TrLaunch.ini", 0 for a key
    // with a drive.
    const char* five = "[TrConfig]\r\nFlashpod=5\r\n";
    const struct { DWORD category; DWORD_PTR key; DWORD type; const char* ini; const char* title; } cases[] = {
        {0, 0x0301, 0, "", "slot"}, {1, 0, 0x0103, "", ""}, {1, 0, 0x0401, "", ""},
        {1, 0, 0x0101, "", ""} /* USB not open */, {1, 0, 0x0001, "", ""}, {2, 0, 0, "", "timer"},
        {3, 0, 7, "", "jppk"}, {4, 0x0301, 0, "", ""},
        {1, 0, 0x0305, "", "media1"}, {1, 0x0000FFFF, 0x0305, "", "media1"}, {1, 0x00010000, 0x0305, "", "media0"},
        {1, 0x03000000, 0x0305, five, "media1"}, {1, 0x03000000, 0x0305, "[TrConfig]\r\nFlashpod=4\r\n", "media0"},
        {1, 0x03000000, 0x0305, "[Other]\r\nFlashpod=5\r\n", "media0"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(m_box.WriteLaunchIni(c.ini));
        const CTrBaseData* found = finder.Find(c.category, c.key, c.type, 0, 0, 1);
        EXPECT_EQ(c.title, found ? found->GetTitle() : "") << c.category << std::hex << " " << c.key << " " << c.type;
    }
    finder.CloseDataBases();
    EXPECT_EQ(nullptr, finder.Find(0, 0x0301, 0, 0, 0, 1)) << "closed again";
}

}  // namespace
