// The event lookup exports: modifier keys from the real keyboard state, the
// drive designation, the jukebox effect, texts cut to their fields, and an
// untouched block on every FALSE.
#include "LookupTestData.h"

#include <vector>

namespace {

using trtest::Marked;
using trtest::NumeralRecord;

std::string Texts(const TR_APP_DATA_STRUC& b) {
    return std::string(b.szTitle) + "|" + b.szDescription + "|" + b.szPath + "|" + b.szWorkDir + "|" + b.szOption;
}

struct Exports : ::testing::Test {
    // The four Flashpod values; DriveLetter missing when 'letter' is negative.
    static void SetFlashpod(int letter) {
        trtest::DeleteRegTree(HKEY_CURRENT_USER, std::string(trtest::kProductKey) + "\\FlashpodConfig");
        for (const char* name : {"InfoDialog", "Enable", "SlotEnable", "DriveLetter"})
            ASSERT_TRUE((letter < 0 && name[0] == 'D') ||
                        trtest::SetUserValue("FlashpodConfig", name, name[0] == 'D' ? letter : 1));
    }
    trtest::LookupSandbox m_box;
};

TEST_F(Exports, PpkEventsTakeTheFirstModifierHeldAndOtherFamiliesNone) {
    ASSERT_TRUE(m_box.Write("PPKData.dat", NumeralRecord("ppk", 0x0101) + NumeralRecord("alt", 0x10101) +
                                               NumeralRecord("ctrl", 0x20101) + NumeralRecord("shift", 0x40101)));
    ASSERT_TRUE(m_box.Write("SKeyData.dat", NumeralRecord("skey", 0x0201) + NumeralRecord("skey+alt", 0x10201)));
    const struct { std::vector<BYTE> keys; DWORD code; const char* title; } cases[] = {
        {{}, 0x0101, "ppk"}, {{VK_SHIFT}, 0x0101, "shift"}, {{VK_CONTROL, VK_SHIFT}, 0x0101, "ctrl"},
        {{VK_MENU, VK_CONTROL, VK_SHIFT}, 0x0101, "alt"}, {{VK_MENU}, 0x0201, "skey"},
    };
    for (const auto& c : cases) {
        TR_APP_DATA_STRUC block = Marked();
        for (BYTE k : c.keys) ::keybd_event(k, 0, 0, 0);
        const int ok = TrComGetAppDataOfKalvorEvent(&block, c.code);
        for (BYTE k : c.keys) ::keybd_event(k, 0, KEYEVENTF_KEYUP, 0);
        EXPECT_TRUE(ok && Texts(block) == std::string(c.title) + "|" + c.title + " description|C:\\app.exe||")
            << c.title << ": " << Texts(block);
    }
}

TEST_F(Exports, EventsOutsideTheTablesOrWithoutRecordsLeaveTheBlockAlone) {
    ASSERT_TRUE(m_box.Write("PPKData.dat", NumeralRecord("ppk", 0x0101)) &&
                m_box.Write("JPPKData.dat", NumeralRecord("not jppk", 0x0101)) &&
                m_box.Write("TimrData.dat", ";no section\r\n"));
    TR_APP_DATA_STRUC block = Marked();
    // The timer without sections, JPPK without its key, the slot file missing.
    EXPECT_FALSE(TrComGetAppDataOfTimer(&block) || TrComGetAppDataOfJogPPK(&block) || TrComGetAppDataOfFPSlot(&block));
    // Families 4 and 0, a code without record, a missing file; a device type
    // outside the table, a missing media file.
    for (DWORD c : {0x0401, 0x0001, 0x0102, 0x0201}) EXPECT_FALSE(TrComGetAppDataOfKalvorEvent(&block, c)) << c;
    for (DWORD type : {0x0201, 0x0301}) EXPECT_FALSE(TrComGetAppDataOfPnPEvent(&block, type, 0)) << type;
    EXPECT_TRUE(trtest::Untouched(block));
    EXPECT_FALSE(TrComGetAppDataOfKalvorEvent(nullptr, 0x0101) || TrComGetAppDataOfTimer(nullptr) ||
                 TrComGetAppDataOfJogPPK(nullptr) || TrComGetAppDataOfFPSlot(nullptr) ||
                 TrComGetAppDataOfPnPEvent(nullptr, TR_PNP_FPMEDIA, 0));
}

TEST_F(Exports, DriveDesignationFollowsTheSettingAndFitsTheField) {
    ASSERT_TRUE(m_box.Write("FPData.dat", NumeralRecord("card", 0x0301, "C:\\card.exe", "/x")));
    // driveLetter negative: the value is missing; type 0: the slot export.
    constexpr DWORD D = TR_PNP_FPMEDIA_DRIVE;
    const struct { int driveLetter; DWORD type, key; const char* option; } cases[] = {
        {1, D, 0x04000000, "/x E:"}, {1, D, 0x00FF0000, "/x A:"}, {1, TR_PNP_FPMEDIA, 0x04000000, "/x"},
        {0, D, 0x04000000, "/x"}, {-1, D, 0x04000000, "/x"}, {1, 0, 0, "/x S:"}};
    for (const auto& c : cases) {
        SetFlashpod(c.driveLetter);
        TR_APP_DATA_STRUC block = Marked();
        ASSERT_TRUE(c.type ? TrComGetAppDataOfPnPEvent(&block, c.type, c.key) : TrComGetAppDataOfFPSlot(&block));
        EXPECT_STREQ(c.option, block.szOption) << c.driveLetter << " " << c.type << " " << c.key;
    }
    // Texts are cut to their fields (DriveLetter still 1); the option gives
    // way so the drive still arrives.
    ASSERT_TRUE(m_box.Write("FPData.dat", NumeralRecord(std::string(300, 'T'), 0x0301, std::string(400, 'p'),
                                                        std::string(258, 'o'))));
    TR_APP_DATA_STRUC block = Marked();
    ASSERT_TRUE(TrComGetAppDataOfPnPEvent(&block, TR_PNP_FPMEDIA_DRIVE, 0x04000000));
    EXPECT_EQ(std::string(259, 'T') + "|" + std::string(259, 'p') + "|" + std::string(256, 'o') + " E:",
              std::string(block.szTitle) + "|" + block.szPath + "|" + block.szOption);
}

TEST_F(Exports, WhileTheJukeboxRunsFlashpodRecordsComeBackEmpty) {
    ASSERT_TRUE(m_box.Write("FPData.dat", NumeralRecord("card", 0x0301) + NumeralRecord("media", 0x01000301)) &&
                m_box.Write("PPKData.dat", NumeralRecord("ppk", 0x0101)));
    SetFlashpod(1);
    tr::Handle jukebox(::CreateMutexA(nullptr, FALSE, "Kalvor Lyrane Jukebox"));
    TR_APP_DATA_STRUC slot = Marked(), media = Marked(), ppk = Marked();
    ASSERT_TRUE(jukebox && TrComGetAppDataOfFPSlot(&slot) && TrComGetAppDataOfPnPEvent(&media, TR_PNP_FPMEDIA, 0) &&
                TrComGetAppDataOfKalvorEvent(&ppk, 0x0101));
    EXPECT_EQ("|||| S:", Texts(slot)) << "texts empty, the designation still there";
    EXPECT_EQ("||||", Texts(media));
    EXPECT_STREQ("ppk", ppk.szTitle) << "only the Flashpod family belongs to the jukebox";
    jukebox.Reset();
    ASSERT_TRUE(TrComGetAppDataOfFPSlot(&slot));
    EXPECT_STREQ("card", slot.szTitle) << "the file itself was not changed";
}

// A resident host holds TrLocale.DLL: its lookups still read every data file
// and setting afresh, and give back every reference to TrLocale.DLL they take.
TEST_F(Exports, AResidentHostsLookupsReadAfreshAndKeepNoReference) {
    ASSERT_EQ(nullptr, ::GetModuleHandleA("TrLocale.DLL"));
    {
        tr::Module held(::LoadLibraryA("TrLocale.DLL"));
        ASSERT_TRUE(held);
        const struct { const char* title; int driveLetter; const char* texts; int menu; } steps[] = {
            {.title = "first", .driveLetter = 1, .texts = "first|first description|C:\\card.exe||/x E:", .menu = 1},
            {.title = "second", .driveLetter = 0, .texts = "second|second description|C:\\card.exe||/x", .menu = 2},
        };
        for (const auto& s : steps) {
            ASSERT_TRUE(m_box.Write("FPData.dat", NumeralRecord(s.title, 0x0301, "C:\\card.exe", "/x")));
            std::string menu;
            for (int i = 0; i < s.menu; ++i) menu += "Title:f\r\nDescription:d\r\nLevel:0\r\n";
            ASSERT_TRUE(m_box.Write("JogData.dat", menu));
            SetFlashpod(s.driveLetter);
            TR_APP_DATA_STRUC block = Marked();
            int count = -1;
            ASSERT_TRUE(TrComGetAppDataOfPnPEvent(&block, TR_PNP_FPMEDIA_DRIVE, 0x04000000) &&
                        TrComJogDataGetAllItems(&count));
            EXPECT_EQ(s.texts, Texts(block));
            EXPECT_EQ(s.menu, count);
        }
        EXPECT_EQ(held.Get(), ::GetModuleHandleA("TrLocale.DLL"));
    }
    EXPECT_EQ(nullptr, ::GetModuleHandleA("TrLocale.DLL")) << "a lookup kept a reference to TrLocale.DLL";
}

}  // namespace
