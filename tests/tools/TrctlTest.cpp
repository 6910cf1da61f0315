// trctl as a script sees it: for each command a table of invocations with
// their exit code, their output (JSON parsed) and what they leave behind.
#include "TrctlRows.h"

namespace {

using trtest::NumeralRecord;
using trtest::Row;
using trtest::RunRows;
using trtest::StringRecord;

constexpr char kEnum1394[] = "SYSTEM\\CurrentControlSet\\Enum\\1394\\KALVOR&CAM";

class Trctl : public ::testing::Test {
protected:
    // Serve starts at once: no info dialog for the families it serves.
    static void NoInfoDialog() {
        for (const char* family : {"PPKConfig", "SKeyConfig", "JogConfig"})
            ASSERT_TRUE(trtest::SetUserValue(family, "InfoDialog", 0));
    }
    std::function<void()> Put(const std::string& file, const std::string& text) const {
        return [this, file, text] { ASSERT_TRUE(m_box.Write(file, text)); };
    }

    trtest::LookupSandbox m_box;
    trtest::TempFolder m_temp;
};

TEST_F(Trctl, FindAndServe) {
    const std::string record = m_temp / "record.txt";
    ::SetEnvironmentVariableA("TR_RECORDER_OUT", record.c_str());
    ASSERT_TRUE(trtest::WriteFileBytes(m_temp / "plain.trnone", "x"));
    m_box.Write("PPKData.dat", NumeralRecord("Editor", 0x0101, "notepad.exe", "/x") + NumeralRecord("Alt", 0x10101));
    m_box.Write("SKeyData.dat", NumeralRecord("Ten", 0x020A) + NumeralRecord("Gone", 0x0201, m_temp / "none.trnone") +
                                    NumeralRecord("Plain", 0x0202, m_temp / "plain.trnone"));
    m_box.Write("JPPKData.dat", NumeralRecord("Rec", 0x03000000, trtest::SelfFolder() + "tr_recorder.exe", "from-serve"));
    m_box.Write("TimrData.dat", "Title:cut short\r\n");
    m_box.Write("FPData.dat", ";only a comment\r\n");
    NoInfoDialog();
    tr::Handle jukebox;
    RunRows({
        {.args = "find ppk", .text = "title        Editor"},
        {.args = "find ppk -h", .text = "usage: trctl find <event> [--json]"},
        {.args = "find ppk --alt --json", .json = "/title=Alt"},
        {.args = "find ppk --code 0x0102", .code = 10, .text = "no application is bound"},
        {.args = "find skey 010 --json", .json = "/title=Ten"},  // decimal, not octal
        {.args = "find skey 0", .code = 2, .text = "skey: '0' is not a number from 1 to 255"},
        {.args = "find skey 1 --alt", .code = 2, .text = "--alt belongs to the ppk event only"},
        {.args = "find ppk --code", .code = 2, .text = "--code lacks its value"},
        {.args = "find ppk --bogus", .code = 2, .text = "unknown option '--bogus'"},
        {.args = "find timer", .code = 11, .text = "TimrData.dat, line 1: the file ends right after this Title: line"},
        {.args = "find fpslot", .code = 10, .text = "FPData.dat holds no binding at all"},
        {.args = "serve --help", .text = "ieee1394 <device-id>"},
        {.args = "serve skey 1 --timeout \"\"", .code = 2, .text = "--timeout: '' is not a number from 1 to"},
        {.args = "serve skey 1", .code = 12, .text = "none.trnone does not exist"},
        {.args = "serve skey 2", .code = 12, .text = "plain.trnone has no associated program and is no shortcut"},
        {.args = "serve fpslot", .code = 12, .text = "the jukebox companion runs",
         .before = [&] {
             jukebox.Reset(::CreateMutexA(nullptr, FALSE, "Kalvor Lyrane Jukebox"));
             m_box.Write("FPData.dat", NumeralRecord("Card", 0x0301, "card.exe"));
         }},
        {.args = "serve jppk --timeout 20", .text = "program ended"},
        {.args = "info 0", .code = 2, .text = "info: seconds: '0' is not a number from 1 to 99"},
        {.args = "watch 1 0x200002 --row 100", .code = 2, .text = "--row: '100' is not a number from 0 to 99"},
    });
    std::string recorded;
    EXPECT_TRUE(trtest::ReadFileBytes(record, recorded) && recorded.find("arg1=from-serve") != std::string::npos);
    ::SetEnvironmentVariableA("TR_RECORDER_OUT", nullptr);
}

TEST_F(Trctl, BindUnbindAndList) {
    const std::string longTitle(260, 't');
    RunRows({
        {.args = "bind skey 3 --path C:\\a.exe", .text = "added to SKeyData.dat, key 00000203"},
        {.args = "find skey 3 --json", .json = "/title=a.exe"},
        {.args = "bind skey 3 --path C:\\b.exe --title -h", .text = "replaced in SKeyData.dat"},
        {.args = "find skey 3 --json", .json = "/title=-h"},
        {.args = "bind timer --path t.exe --title Timer --option /t", .text = "key 02000000"},
        {.args = "find timer --json", .json = "/option=/t"},
        {.args = "bind fpmedia A --path f.exe", .text = "key 01000301"},
        {.args = "bind fpmedia E --path f.exe", .text = "key 00000301"},  // the slot's record
        {.args = "bind fpmedia E --path f.exe", .text = "key 01000301",
         .before = [this] { ASSERT_TRUE(m_box.WriteLaunchIni("[TrConfig]\r\nFlashpod=5\r\n")); }},
        {.args = "bind ppk --code 0x0102 --shift --path p.exe", .text = "key 00040102"},
        // Files that are missing are named, and the bindings of the others still listed.
        {.args = "list --json", .code = 11, .json = "/bindings/0/event=ppk --code 0x0102 --shift"},
        {.args = "list fp", .text = "fpmedia A"},
        {.args = "bind usb USB\\VID_1&PID_2\\9 --path u.exe --name Scanner", .text = "key VID_1&PID_2"},
        {.args = "find usb USB\\VID_1&PID_2\\1 --json", .json = "/path=u.exe"},
        {.args = "list usb --json", .json = "/bindings/0/event=usb USB\\VID_1&PID_2\\*"},
        {.args = "unbind skey 3", .text = "unbound skey 3 (2 record(s) removed from SKeyData.dat)",
         .before = Put("SKeyData.dat", ";keys\r\n" + NumeralRecord("A", 0x0203) + NumeralRecord("B", 0x0204) +
                                           NumeralRecord("A2", 0x0203))},
        {.args = "list skey --json", .json = "/bindings/0/title=B"},
        {.args = "unbind skey 3", .code = 10, .text = "nothing is bound to skey 3"},
        {.args = "find skey 3", .code = 10},
        // Bad input: refused before the file is opened.
        {.args = "bind ppk --ctrl --shift --path x", .code = 2, .text = "at most one of --alt, --ctrl and --shift"},
        {.args = "bind ppk --path x --name N", .code = 2, .text = "--name and --attribute belong to"},
        {.args = "bind skey 4 --path C:\\Path:x", .code = 2, .text = "holds the text 'Path:'"},
        {.args = "bind skey 4 --path x --title " + longTitle, .code = 2, .text = "260 bytes long; a field holds at most 259",
         .unchanged = "TimrData.dat"},
        {.args = "bind skey 4 --title", .code = 2, .text = "--title lacks its value"},
        {.args = "bind skey 4", .code = 2, .text = "--path is required"},
        {.args = "bind usb USB --path u", .code = 2, .text = "the identifier needs the form"},
        {.args = "list bogus", .code = 2, .text = "unknown kind 'bogus'"},
        // A file that does not load whole is never written back.
        {.args = "bind skey 5 --path x", .code = 11, .text = "SKeyData.dat, line 7: the section \"B\" has no Key: line",
         .before = Put("SKeyData.dat", NumeralRecord("A", 0x0201) + "Title:B\r\nDescription:\r\nPath:\r\nWorkDir:\r\n"
                                                                    "Option:\r\n"),
         .unchanged = "SKeyData.dat"},
        {.args = "list skey", .code = 11, .text = "line 7"},
        {.args = "bind skey 5 --path x", .code = 11, .text = "does not exist; run 'trctl setup'",
         .before = [] {
             for (const char* f : {"SKeyData.dat", "TimrData.dat", "FPData.dat", "PPKData.dat", "USBData.dat"})
                 ::DeleteFileA((trtest::DataFolder() + "\\" + f).c_str());
             ASSERT_TRUE(::RemoveDirectoryA(trtest::DataFolder().c_str()));
         }},
    });
    ::CreateDirectoryA(trtest::DataFolder().c_str(), nullptr);
}

TEST_F(Trctl, ListShowsEveryBindingInTheFormBindTakes) {
    const std::vector<std::string> forms = {"ppk", "ppk --code 0x01A0 --ctrl", "skey 255", "timer", "jppk", "fpslot",
                                            "fpmedia A", "usb USB\\VID_9\\*", "ieee1394 1394\\*\\0800460102030405",
                                            "category KALVOR&CAM"};
    for (const auto& form : forms) RunRows({{.args = "bind " + form + " --path x.exe"}});
    m_box.Write("TimrData.dat", NumeralRecord("No event reaches it", 0x02000001));
    const auto list = nlohmann::json::parse(trtest::RunTrctl("list --json").out, nullptr, false);
    std::vector<nlohmann::json> events, expected(forms.begin(), forms.end());
    for (const auto& b : list.value("bindings", nlohmann::json::array())) events.push_back(b["event"]);
    expected[3] = nullptr;  // the timer's file now holds a key that no event reaches
    EXPECT_EQ(expected, events);
}

TEST_F(Trctl, SettingsThroughTheExports) {
    const std::string wave = m_temp / "roll.wav", written = "jog PushSound = \"" + wave;
    ASSERT_TRUE(trtest::WriteFileBytes(wave, "RIFF"));
    RunRows({
        {.args = "settings", .code = 2, .text = "name a family (jog, ppk, skey, timer, fp, usb, xbus)"},
        {.args = "settings skey --json", .json = "/settings/0/value=5"},  // the read's default
        {.args = "settings ppk --json", .json = "/settings/0/read=false"},
        {.args = "settings ppk infodialog=7 Enable=0", .text = "ppk InfoDialog = 7"},
        {.args = "settings ppk --json", .json = "/settings/2/value=7"},
        {.args = "settings ppk Enable=1 InfoDialog=100", .code = 2, .text = "InfoDialog=100 is not allowed: 0 to 99"},
        {.args = "settings ppk --json", .json = "/settings/0/value=0"},  // Enable=1 was not written either
        {.args = "settings fp Slot=0x1A", .text = "fp Slot = 26"},
        {.args = "settings fp Slot=27", .code = 2, .text = "1 to 26"},
        {.args = "settings jog Bogus=1", .code = 2, .text = "unknown setting 'Bogus' (AppDirection, JogDirection"},
        {.args = "settings jog RollSound=C:\\none.wav", .code = 2, .text = "an existing .wav file, or empty"},
        {.args = "settings xbus Caution=0 Category=1", .text = "xbus Caution = 0"},
        {.args = "settings xbus --json", .json = "/settings/2/value=1"},
        {.args = "settings bogus", .code = 2, .text = "unknown family 'bogus'"},
        {.args = "settings jog RollSound=" + wave + " PushSound=" + wave, .text = written.c_str()},
        {.args = "settings jog --json", .json = "/settings/5/read=true"},
    });
    DWORD value = 0, size = sizeof(value);
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueA(HKEY_CURRENT_USER, "Software\\Kalvor Corporation\\Trelvane\\PPKConfig",
                                            "InfoDialog", RRF_RT_REG_DWORD, nullptr, &value, &size));
    EXPECT_EQ(7u, value);
}

// The resident server's hot keys and timer schedule, as trctl edits them.
TEST_F(Trctl, HotKeysAndTheTimerSchedule) {
    RunRows({
        {.args = "hotkeys --json", .json = "/hotKeys/0/registrations/3=Win+Shift+Insert"},
        {.args = "hotkeys set skey 20 ctrl+alt+k", .text = "skey 20: Ctrl+Alt+K (no server runs;"},
        {.args = "hotkeys --json", .json = "/hotKeys/13/origin=set"},
        {.args = "hotkeys set ppk Win+Alt+P", .code = 2, .text = "may not hold Alt, Ctrl or Shift"},
        {.args = "hotkeys set skey 21 Win+Shift+Insert", .code = 2, .text = "Win+Shift+Insert is taken by ppk"},
        {.args = "hotkeys set skey 22 Shift+F5", .code = 2, .text = "a hot key needs Win, Ctrl or Alt"},
        {.args = "hotkeys set skey 256 Win+F5", .code = 2, .text = "skey: '256' is not a number from 1 to 255"},
        {.args = "hotkeys set skey 5 Win+Q+W", .code = 2, .text = "names more than one key"},
        {.args = "hotkeys clear skey 1", .text = "skey 1: no hot key"},
        {.args = "hotkeys --json", .json = "/hotKeys/1/origin=cleared"},
        {.args = "hotkeys set skey 30 Win+F1", .text = "skey 30: Win+F1"},
        {.args = "hotkeys default skey 1", .code = 2, .text = "Win+F1 is taken by skey 30"},
        {.args = "hotkeys press skey 40", .code = 2, .text = "skey 40 has no hot key"},
        {.args = "hotkeys press skey 2 --alt", .code = 2, .text = "only for ppk"},
        {.args = "hotkeys --hold 5", .code = 2, .text = "--hold belongs to 'hotkeys press'"},
        {.args = "timer --json", .json = "/mode=off"},
        {.args = "timer daily 07:30 --watch 10", .text = "timer: daily at 07:30, next "},
        {.args = "timer --json", .json = "/watchMinutes=10"},
        {.args = "timer weekly mon-wed,sat 18:05", .text = "weekly on mon, tue, wed, sat at 18:05"},
        {.args = "timer --json", .json = "/weekFlag=78"},
        {.args = "timer weekly fri-mon 9:00", .text = "weekly on sun, mon, fri, sat at 09:00"},
        {.args = "timer once +5", .text = "timer: once on "},
        {.args = "timer once \"2000-01-01 10:00\"", .code = 2, .text = "2000-01-01 10:00 has passed already"},
        {.args = "timer weekly xyz 10:00", .code = 2, .text = "names no days"},
        {.args = "timer daily 25:00", .code = 2, .text = "'25:00' is no time of day"},
        {.args = "timer off", .text = "timer: off"},
        {.args = "timer --json", .json = "/next=null"},
    });
}

TEST_F(Trctl, JogMenuEdits) {
    m_box.Write("JogData.dat", ";menu\r\nTitle:Tools\r\nDescription:\r\nLevel:0\r\nTitle:Calc\r\nDescription:\r\n"
                               "Level:1\r\nPath:calc.exe\r\nWorkDir:\r\nOption:\r\nTitle:About\r\nDescription:\r\n"
                               "Level:0\r\nPath:winver.exe\r\nWorkDir:\r\nOption:\r\n");
    RunRows({
        {.args = "jog add Games --folder", .text = "added \"Games\" as entry 3 at level 0"},
        {.args = "jog add Mine --path mine.exe --into 3", .text = "added \"Mine\" as entry 4 at level 1"},
        {.args = "jog add X --path x.exe --into 2", .code = 2, .text = "entry 2 is no folder"},
        {.args = "jog add X --path x.exe --folder", .code = 2, .text = "give --path (an application) or --folder"},
        {.args = "jog move 0", .code = 2, .text = "give --into, --after or --before"},
        {.args = "jog remove 0 --into 1", .code = 2, .text = "jog remove: --into does not belong here"},
        {.args = "jog move 0 --into 3", .text = "moved \"Tools\" to entry 3 at level 1"},
        {.args = "jog --json", .json = "/entries/1/children/1/children/0/title=Calc"},
        {.args = "jog move 1 --into 3", .code = 2, .text = "cannot move next to or into itself"},
        {.args = "jog remove 1", .code = 2, .text = "holds 3 entries; add --recursive"},
        {.args = "jog remove 1 --recursive", .text = "removed \"Games\" and the 3 entries in it"},
        {.args = "jog rename 0 Info", .text = "renamed \"About\" to \"Info\""},
        {.args = "jog --json", .json = "/entries/0/title=Info"},
        {.args = "jog remove 1", .code = 2, .text = "entry: '1' is not a number from 0 to 0"},
        {.args = "jog add First --folder --before 0", .text = "added \"First\" as entry 0 at level 0"},
        {.args = "jog add Only --path o.exe", .text = "added \"Only\" as entry 0 at level 0",
         .before = [this] { m_box.Remove("JogData.dat"); }},
        {.args = "jog add X --folder", .code = 11, .text = "entry 1 (\"B\") is at level 1 where at most 0 is allowed",
         .before = Put("JogData.dat", "Title:A\r\nDescription:\r\nLevel:0\r\nPath:a\r\nWorkDir:\r\nOption:\r\n"
                                      "Title:B\r\nDescription:\r\nLevel:1\r\n"),
         .unchanged = "JogData.dat"},
        {.args = "jog", .code = 11, .text = "JogData.dat, line 4: the section \"B\" has no Level: line",
         .before = Put("JogData.dat", "Title:A\r\nDescription:\r\nLevel:0\r\nTitle:B\r\nDescription:\r\n")},
    });
}

TEST_F(Trctl, DoctorOnePerCheck) {
    char program[MAX_PATH] = "";
    ASSERT_TRUE(TrComGetPath(TR_PATH_PROGRAM_DIR, program));
    ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfFolder() + "TrLocale.DLL", std::string(program) + "\\TrLocale.DLL"));
    const auto install = [this] {
        m_box.Write("JogData.dat", "Title:A\r\nDescription:\r\nLevel:0\r\n");
        for (const char* f : {"JPPKData.dat", "PPKData.dat", "SKeyData.dat", "FPData.dat", "TimrData.dat"})
            m_box.Write(f, NumeralRecord("A", 0x0201));
        for (const char* f : {"XbusData.dat", "XbusCtg.dat", "USBData.dat"}) m_box.Write(f, ";\r\n");
        NoInfoDialog();
    };
    RunRows({
        {.args = "doctor", .code = 13, .text = "PPKData.dat does not exist; 'trctl setup'"},
        {.args = "doctor --json", .json = "/failed=0", .before = install},
        {.args = "doctor", .code = 13, .text = "PPKData.dat, line 1: the section \"A\" has no Key: line",
         .before = Put("PPKData.dat", "Title:A\r\nDescription:\r\nPath:\r\nWorkDir:\r\nOption:\r\n")},
        {.args = "doctor", .code = 13, .text = "breaks the menu's level rules: entry 0",
         .before = Put("JogData.dat", "Title:A\r\nDescription:\r\nLevel:1\r\n")},
    });
}

TEST_F(Trctl, DevicesUnderWindows98And2000) {
    trtest::RegSandbox enumKey{HKEY_LOCAL_MACHINE, kEnum1394};
    for (const char* id : {"0800460102030405", "0800460102030499"})
        ASSERT_TRUE(trtest::SetRegValue(HKEY_LOCAL_MACHINE, std::string(kEnum1394) + "\\" + id, "DeviceDesc", REG_SZ,
                                        "Camera", 7));
    const std::string cam = "ieee1394 1394\\KALVOR&CAM\\0800460102030405", other = "ieee1394 KALVOR&CAM\\0800460102030499";
    const std::vector<Row> rows = {
        {.args = "os --json", .json = "/deviceRules=Win98", .json2k = "/deviceRules=Win2K"},
        {.args = "bind category KALVOR&CAM --path cat.exe", .text = "added to XbusCtg.dat, key KALVOR&CAM"},
        {.args = "bind " + cam + " --path cam.exe", .text = "added to XbusData.dat, key 0800460102030405"},
        {.args = "find " + cam + " --json", .json = "/path=cam.exe"},
        {.args = "bind ieee1394 KALVOR&CAM\\5678 --path s.exe", .text = "key 0000000000005678"},
        {.args = "find ieee1394 KALVOR&CAM\\5678 --json", .code = 0, .json = "/path=s.exe", .code2k = 10,
         .text2k = "this system does not know the device"},
        {.args = "bind ieee1394 1394\\KALVOR&CAM\\A\\B --path x", .text = "key 000000000000000B",
         .text2k = "key 0000000000000A\\B"},
        {.args = "find " + other, .code = 10},
        {.args = "settings xbus Category=1"},
        {.args = "find " + other + " --json", .json = "/path=cat.exe"},
        {.args = "list ieee1394 --json", .json = "/bindings/0/event=ieee1394 1394\\*\\0800460102030405"},
        {.args = "unbind " + cam, .text = "1 record(s) removed from XbusData.dat"},
        {.args = "find " + cam + " --json", .json = "/path=cat.exe"},
        {.args = "bind usb USB\\VID_1&PID_2\\1 --path u.exe"},
        {.args = "find usb USB\\VID_1&PID_2\\5 --json", .json = "/path=u.exe"},
    };
    for (const std::string version : {"win98", "win2k"}) {
        const std::string exe = "trctl_" + version + ".exe";
        ASSERT_TRUE(trtest::CopyFileTo(trtest::TrctlPath(), trtest::TrctlPath(exe)) &&
                    trtest::SetWineVersionFor(exe, version.c_str()));
        for (const char* f : {"XbusData.dat", "XbusCtg.dat", "USBData.dat"}) m_box.Remove(f);
        trtest::SetUserValue("XbusConfig", "Category", 0);
        RunRows(rows, exe);
        trtest::SetWineVersionFor(exe, nullptr);
        ::DeleteFileA(trtest::TrctlPath(exe).c_str());
    }
}

// Texts of the ANSI code page come out of --json as UTF-8.
TEST_F(Trctl, Utf8TextsInJson) {
    const bool cp932 = trtest::IsCodePage932();
    const std::string ansi = cp932 ? "\x83\x65\x83\x58\x83\x67" : "caf\xE9",
                      utf8 = cp932 ? "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88" : "caf\xC3\xA9";
    RunRows({{.args = "bind skey 7 --path x.exe --title " + ansi}});
    const trtest::Captured o = trtest::RunTrctl("find skey 7 --json");
    EXPECT_EQ(utf8, nlohmann::json::parse(o.out, nullptr, false).value("title", std::string()));
}

}  // namespace
