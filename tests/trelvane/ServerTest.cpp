// Trelvane.exe in its own process, as a user's session runs it: key presses
// typed on the keyboard, device notifications sent to its window, a bind and
// a hot-key change made by trctl meanwhile, a second instance, the timer,
// and the problems it must report without stopping.
#include "ServerRun.h"
#include "TrctlRows.h"

#include "Schedule.h"
#include "Server.h"

#include <dbt.h>

namespace {

using trtest::Keys;
using trtest::NumeralRecord;
using trtest::RecorderPath;
using trtest::RunningServer;
using trtest::StringRecord;
using trelvane::Minute;

constexpr char kNoProblemsHidden[] = "[balloon yes, event log yes]";

// A time the server was not running for: once at 'at', dealt with up to 'handled'.
trelvane::Schedule OnceAt(Minute at, Minute handled, DWORD watchMinutes = 0) {
    const SYSTEMTIME t = trelvane::FromMinute(at);
    trelvane::Schedule s;
    s.mode = trelvane::kTimerOnce;
    s.year = t.wYear, s.month = t.wMonth, s.day = t.wDay, s.hour = t.wHour, s.minute = t.wMinute;
    s.timeLimit = watchMinutes;
    s.postState = static_cast<DWORD>(handled);
    return s;
}

Minute NowMinute() { return trelvane::MinuteOfTicks(trelvane::LocalNowTicks()); }

// A combination another program holds.
TR_CHILD_ROLE(hold_hot_key) {
    if (!::RegisterHotKey(nullptr, 1, MOD_WIN, VK_F2)) return 3;
    trtest::SignalReady();
    trtest::WaitForRelease();
    ::UnregisterHotKey(nullptr, 1);
    return 0;
}

// The shared block's lock taken, as another program's operation takes it.
TR_CHILD_ROLE(hold_block_lock) {
    tr::OwnedMutex lock(::CreateMutexA(nullptr, TRUE, "TrCommon1999 Mutex"));
    trtest::SignalReady();
    trtest::WaitForRelease();
    return lock ? 0 : 3;
}

// The server in this program, its clock standing three seconds before the
// minute args[0] when it starts (args: minute, "--log", file).
TR_CHILD_ROLE(server_three_seconds_early) {
    const Minute due = std::stoll(args.at(0));
    const long long offset = static_cast<long long>(trelvane::TicksOfMinute(due) - 3 * 10000000ULL) -
                             static_cast<long long>(trelvane::LocalNowTicks());
    trelvane::ServerOptions options;
    options.logPath = args.at(2);
    options.clock = [offset] { return trelvane::LocalNowTicks() + offset; };
    return trelvane::RunServer(options);
}

class ServerProcess : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(trtest::ServeAtOnce()); }

    // Types the combination and gives what the program it started got; the
    // modifiers stay down until then.
    std::string Press(const char* keys, DWORD settleMs = 0) {
        const Keys held(keys, settleMs);
        return m_recorder.NextArg();
    }

    trtest::LookupSandbox m_box;
    trtest::Recorder m_recorder;
};

TEST_F(ServerProcess, KeyPressesStartTheirBindingsThePpkKeyTakesItsModifiersAndTheInfoDialogMayStopThem) {
    m_box.Write("SKeyData.dat", NumeralRecord("One", 0x0201, RecorderPath(), "skey-1") +
                                    NumeralRecord("Twelve", 0x020C, RecorderPath(), "skey-12"));
    m_box.Write("PPKData.dat", NumeralRecord("Plain", 0x0101, RecorderPath(), "ppk") +
                                   NumeralRecord("Alt", 0x10101, RecorderPath(), "ppk-alt") +
                                   NumeralRecord("Shift", 0x40101, RecorderPath(), "ppk-shift"));
    RunningServer server;
    ASSERT_TRUE(server.Started()) << server.Log();
    const struct { const char* keys; const char* started; } rows[] = {
        {.keys = "Win+F1", .started = "skey-1"},
        {.keys = "Win+F12", .started = "skey-12"},
        {.keys = "Win+Insert", .started = "ppk"},
        {.keys = "Win+Alt+Insert", .started = "ppk-alt"},
        {.keys = "Win+Shift+Insert", .started = "ppk-shift"},
    };
    for (const auto& row : rows) EXPECT_EQ(row.started, Press(row.keys, 100)) << row.keys << "\n" << server.Log();
    {
        const Keys held("Win+Ctrl+Insert", 100);
        EXPECT_TRUE(server.WaitFor("ppk --ctrl: nothing is bound")) << server.Log();
    }
    // The family's info dialog first: cancelled it starts nothing; left
    // alone it counts down and the program starts.
    ASSERT_TRUE(trtest::SetUserValue("SKeyConfig", "InfoDialog", 30));
    { const Keys press("Win+F1"); }
    const HWND info = trtest::WaitForDialog(server.Window(), trtest::kInfoDialogControl);
    ASSERT_TRUE(info) << server.Log();
    ::PostMessageA(info, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(server.WaitFor("skey 1: \"One\" not started, the info dialog was cancelled")) << server.Log();
    ASSERT_TRUE(trtest::SetUserValue("SKeyConfig", "InfoDialog", 1));
    { const Keys press("Win+F12"); }
    EXPECT_EQ("skey-12", m_recorder.NextArg()) << server.Log();
    EXPECT_EQ(1, server.Count("skey 12: the info dialog (1 s) ended with OK"));
    EXPECT_FALSE(m_recorder.Ran());
    EXPECT_EQ(0, server.Count("problem"));
    EXPECT_EQ(0, server.Stop());
}

// One server at a time; a bind and hot-key changes made by trctl are seen
// without a restart; --exit ends it.
TEST_F(ServerProcess, ASecondInstanceRefusesChangesMadeElsewhereAreSeenAndExitEndsTheFirst) {
    m_box.Write("SKeyData.dat", NumeralRecord("One", 0x0201, RecorderPath(), "skey-1"));
    RunningServer first;
    ASSERT_TRUE(first.Started()) << first.Log();
    const trtest::Captured second = trtest::RunTrelvane("");
    EXPECT_EQ(trelvane::kServerAnother, second.code);
    EXPECT_NE(std::string::npos, second.All().find("Trelvane is already running (window 0x")) << second.All();
    const trtest::Captured usage = trtest::RunTrelvane("--bogus");
    EXPECT_EQ(trelvane::kServerUsage, usage.code);
    EXPECT_NE(std::string::npos, usage.All().find("usage: Trelvane [--log FILE]")) << usage.All();
    EXPECT_EQ(1, first.Count("Trelvane started"));
    trtest::RunRows({
        {.args = "windows --json", .json = "/serverAlive=true"},
        {.args = "bind skey 20 --path \"" + RecorderPath() + "\" --option skey-20", .text = "added to SKeyData.dat"},
        {.args = "hotkeys set skey 20 Win+Ctrl+F9", .text = "skey 20: Win+Ctrl+F9 (the running server reads it now)"},
        {.args = "hotkeys clear skey 1", .text = "skey 1: no hot key (the running server reads it now)"},
    });
    // Registered at the start, again after each of the three rewrites: 16,
    // 16, 17 with skey 20, then 16 again without skey 1.
    ASSERT_TRUE(first.WaitFor("reload: ", 3) && first.WaitFor("hot keys registered (16)", 3)) << first.Log();
    EXPECT_EQ("skey-20", Press("Win+Ctrl+F9")) << first.Log();
    { const Keys held("Win+F1"); }
    ::Sleep(1500);
    EXPECT_FALSE(m_recorder.Ran()) << "Win+F1 was given up";

    EXPECT_EQ(trelvane::kServerOk, trtest::RunTrelvane("--exit").code);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(first.Process(), 10000));
    EXPECT_TRUE(first.WaitFor("Trelvane stopped"));
    EXPECT_EQ(trelvane::kServerNoneRunning, trtest::RunTrelvane("--exit").code);
}

// The tray icon's menus, clicked and walked with the keyboard as a user does.
TEST_F(ServerProcess, TheTrayMenusStartAJogEntryPointToTheSettingsAndExitAndTheIconComesBack) {
    m_box.Write("JogData.dat", "Title:Tools\r\nDescription:\r\nLevel:0\r\nTitle:Inner\r\nDescription:\r\nLevel:1\r\n"
                               "Path:" + RecorderPath() + "\r\nWorkDir:\r\nOption:inner\r\nTitle:Top\r\nDescription:\r\n"
                               "Level:0\r\nPath:" + RecorderPath() + "\r\nWorkDir:\r\nOption:top\r\n");
    RunningServer server;
    ASSERT_TRUE(server.Started()) << server.Log();
    const auto choose = [&](LPARAM click, std::initializer_list<BYTE> keys) {
        ::PostMessageA(server.Window(), WM_APP + 1, 0, click);
        for (int tries = 0; tries < 100 && !::FindWindowA("#32768", nullptr); ++tries) ::Sleep(50);
        for (BYTE key : keys) {
            ::keybd_event(key, 0, 0, 0);
            ::keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        }
    };
    choose(WM_LBUTTONUP, {VK_DOWN, VK_RIGHT, VK_RETURN});  // the jog menu alone: Tools, its first entry
    EXPECT_EQ("inner", m_recorder.NextArg()) << server.Log();
    choose(WM_RBUTTONUP, {VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});  // Jog menu, Tools, Top
    EXPECT_EQ("top", m_recorder.NextArg()) << server.Log();
    choose(WM_RBUTTONUP, {VK_DOWN, VK_DOWN, VK_RETURN});  // Settings...
    EXPECT_TRUE(server.WaitFor("settings: No binding editor is installed. Bindings, hot keys, the timer and the "
                               "settings are edited with " + trtest::SelfFolder() + "trctl.exe"))
        << server.Log();
    // Explorer made the taskbar anew: the icon goes back in.
    ::PostMessageA(server.Window(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(server.WaitFor("the taskbar was made anew: icon added again")) << server.Log();
    choose(WM_RBUTTONUP, {VK_UP, VK_RETURN});  // Exit, the last entry
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(server.Process(), 10000)) << server.Log();
    EXPECT_EQ(1, server.Count("exit chosen in the tray menu"));
}

TEST_F(ServerProcess, DeviceArrivalsStartTheirBindingsAsTheFamiliesSettingsAllow) {
    const std::string rec = RecorderPath();
    m_box.Write("USBData.dat", StringRecord("Stick", "VID_1234&PID_5678", rec, "usb"));
    m_box.Write("XbusData.dat", StringRecord("Cam", "0800460102030405", rec, "cam"));
    m_box.Write("XbusCtg.dat", StringRecord("Cams", "KALVOR&CAM", rec, "category"));
    m_box.Write("FPData.dat", NumeralRecord("Card", 0x0301, rec, "card"));
    const GUID hid = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
    const auto usb = [](const char* id) {
        return trtest::InterfaceArrival(trtest::kUsbInterfaceClass,
                                        std::string("\\\\?\\USB#") + id + "#{a5dcbf10-6530-11d2-901f-00c04fb951ed}");
    };
    const auto ieee1394 = [](const char* unique, int interface) {
        return trtest::InterfaceArrival(trtest::kUsbInterfaceClass, std::string("\\\\?\\1394#KALVOR&CAM#") + unique +
                                                                        "#{" + std::to_string(interface) + "}");
    };
    ASSERT_TRUE(trtest::RemovableDriveReady());
    RunningServer server;
    ASSERT_TRUE(server.Started()) << server.Log();
    struct Row {
        std::vector<char> arrival;      // what the window is sent
        const char* started = nullptr;  // the recorder's first argument, or
        const char* logged = nullptr;   // what the log says instead (nullptr: nothing at all)
        std::function<void()> before = nullptr;
    };
    const std::vector<Row> rows = {
        {.arrival = usb("VID_1234&PID_5678#SN1"), .started = "usb"},
        {.arrival = usb("VID_1234&PID_9999#SN2"), .logged = "usb USB\\VID_1234&PID_9999\\SN2: nothing is bound"},
        {.arrival = trtest::InterfaceArrival(hid, "\\\\?\\HID#VID_1234&PID_5678#7&1&0#{4d1e55b2-f16f-11cf-88cb-001111000030}")},
        {.arrival = ieee1394("0800460102030405", 1), .started = "cam"},
        {.arrival = ieee1394("0800460102030405", 2)},  // the same device's next interface
        {.arrival = ieee1394("0800460102030499", 3), .started = "category"},
        {.arrival = ieee1394("0800460102030498", 4),
         .logged = "ieee1394 1394\\KALVOR&CAM\\0800460102030498: not served, it has no binding of its own and NewDevice is 0",
         .before = [] { trtest::SetUserValue("XbusConfig", "NewDevice", 0); }},
        {.arrival = trtest::VolumeArrival(1u << ('R' - 'A')), .started = "card"},
        {.arrival = trtest::VolumeArrival(1u << ('C' - 'A'))},  // a fixed disk
        {.arrival = trtest::VolumeArrival(1u << ('R' - 'A'), DBTF_NET)},
        {.arrival = usb("VID_1234&PID_5678#SN1"),
         .logged = "usb USB\\VID_1234&PID_5678\\SN1: not served, the family's Enable setting is 0",
         .before = [] { trtest::SetUserValue("USBConfig", "Enable", 0); }},
    };
    int started = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE("row " + std::to_string(&row - rows.data()));
        if (row.before) row.before();
        const std::string before = server.Log();
        EXPECT_EQ(TRUE, trtest::SendArrival(server.Window(), row.arrival));  // at once: served after the answer
        if (row.started) {
            EXPECT_EQ(row.started, m_recorder.NextArg()) << server.Log();
            EXPECT_TRUE(server.WaitFor(": started \"", ++started));
        } else if (row.logged) {
            EXPECT_TRUE(server.WaitFor(row.logged)) << server.Log();
        } else {
            ::Sleep(500);
            EXPECT_EQ(before, server.Log());
        }
    }
    EXPECT_EQ(1, server.Count("fpmedia R: started \"Card\" (" + rec + " card R:)")) << server.Log();
    EXPECT_FALSE(m_recorder.Ran());
}

// Around the server: a combination another program holds, the shared
// block's lock held at its start, a program that is missing and a damaged
// data file are each reported once, and it runs on.
TEST_F(ServerProcess, ProblemsAreReportedOnceAndTheServerRunsOn) {
    trtest::Child holder, lock;
    ASSERT_TRUE(holder.Start("hold_hot_key") && holder.WaitReady());
    ASSERT_TRUE(lock.Start("hold_block_lock") && lock.WaitReady());
    m_box.Write("SKeyData.dat", NumeralRecord("One", 0x0201, RecorderPath(), "skey-1") +
                                    NumeralRecord("Gone", 0x0203, "C:\\no such\\program.exe"));
    m_box.Write("PPKData.dat", "Title:cut\r\n");
    RunningServer server;
    ASSERT_TRUE(server.Started()) << server.Log();
    const std::string heldKey = "problem: the hot key Win+F2 of skey 2 is held by another program; it is skipped";
    EXPECT_EQ(1, server.Count(heldKey + " " + kNoProblemsHidden)) << server.Log();
    EXPECT_EQ(1, server.Count("hot keys registered (15)"));
    EXPECT_TRUE(server.WaitFor("problem: the server window cannot be registered: the shared block is busy"))
        << server.Log();
    EXPECT_EQ(0, lock.Wait());
    EXPECT_TRUE(server.WaitFor("registered (and as the client window)", 1, 20000)) << server.Log();
    trtest::RunRows({{.args = "hotkeys set skey 30 Win+Alt+F2"}});
    EXPECT_TRUE(server.WaitFor("problem (reported before): the hot key Win+F2")) << server.Log();
    EXPECT_EQ(1, server.Count(heldKey));
    const struct { const char* keys; const char* problem; } rows[] = {
        {.keys = "Win+F3", .problem = "skey 3: \"Gone\" was not started: C:\\no such\\program.exe does not exist"},
        {.keys = "Win+Insert", .problem = "ppk: PPKData.dat is damaged: it ends right after a Title: line (trctl doctor shows more)"},
    };
    for (const auto& row : rows) {
        { const Keys held(row.keys); }
        EXPECT_TRUE(server.WaitFor(std::string("problem: ") + row.problem + " " + kNoProblemsHidden)) << server.Log();
    }
    EXPECT_EQ("skey-1", Press("Win+F1")) << server.Log();  // the others work
    EXPECT_EQ(0, holder.Wait());
}

TEST_F(ServerProcess, WithoutTrLocaleItRunsAndSaysWhyNothingStarts) {
    trtest::TempFolder bare;
    for (const char* file : {"Trelvane.exe", "TrCommon.dll"})
        ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfFolder() + file, bare / file));
    RunningServer server(bare / "Trelvane.exe", bare.Path());
    ASSERT_TRUE(server.Started()) << server.Log();
    EXPECT_EQ(1, server.Count("problem: TrLocale.DLL cannot be loaded: no event can be looked up")) << server.Log();
    { const Keys held("Win+F1"); }
    EXPECT_TRUE(server.WaitFor("problem: skey 1: TrLocale.DLL cannot be loaded, so the data files cannot be found"))
        << server.Log();
    EXPECT_EQ(0, server.Stop());
}

TEST_F(ServerProcess, AMissedTimeShowsThePastDialogOnceAtStartAndAfterASleep) {
    m_box.Write("TimrData.dat", NumeralRecord("Alarm", 0x02000000, RecorderPath(), "timer"));
    const Minute missed = NowMinute() - 30;
    ASSERT_TRUE(trelvane::WriteSchedule(OnceAt(missed, missed - 60)));
    {
        RunningServer server;
        ASSERT_TRUE(server.Started()) << server.Log();
        const HWND dialog = trtest::WaitForDialog(server.Window(), trtest::kPastDialogControl);
        ASSERT_TRUE(dialog) << server.Log();
        EXPECT_EQ("Alarm\r\nAlarm description", trtest::ItemText(dialog, 530));
        EXPECT_NE(std::string::npos, trtest::ItemText(dialog, 533).find(trelvane::MinuteText(missed).substr(11)));
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);  // Start
        EXPECT_EQ("timer", m_recorder.NextArg()) << server.Log();
        trelvane::Schedule stored;
        ASSERT_TRUE(trelvane::ReadSchedule(stored));
        EXPECT_EQ(missed, static_cast<Minute>(stored.postState));
    }
    RunningServer again;
    ASSERT_TRUE(again.Started() && again.WaitFor("timer schedule: ")) << again.Log();
    EXPECT_EQ(0, again.Count("past-time dialog shown"));
    // Set before a sleep through it, seen on waking up; Cancel starts nothing.
    const Minute slept = NowMinute() - 10;
    ASSERT_TRUE(trelvane::WriteSchedule(OnceAt(slept, slept - 5)));
    ::PostMessageA(again.Window(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    const HWND dialog = trtest::WaitForDialog(again.Window(), trtest::kPastDialogControl);
    ASSERT_TRUE(dialog) << again.Log();
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(again.WaitFor("the missed time " + trelvane::MinuteText(slept) + " was dismissed")) << again.Log();
    EXPECT_FALSE(m_recorder.Ran());
}

TEST_F(ServerProcess, ATimeThreeSecondsAheadIsServedOnceAfterTheWatchWindow) {
    m_box.Write("TimrData.dat", NumeralRecord("Alarm", 0x02000000, RecorderPath(), "timer"));
    const Minute due = NowMinute() + 5;
    ASSERT_TRUE(trelvane::WriteSchedule(OnceAt(due, due - 10, 1)));
    RunningServer server(trtest::SelfPath(), std::string(),
                         "--tr-child server_three_seconds_early - " + std::to_string(due));
    ASSERT_TRUE(server.Started()) << server.Log();
    const DWORD start = ::GetTickCount();
    EXPECT_TRUE(server.WaitFor("timer: watch window counts 1 min down to " + trelvane::MinuteText(due))) << server.Log();
    EXPECT_TRUE(::FindWindowA(nullptr, "Trelvane timer"));
    EXPECT_EQ("timer", m_recorder.NextArg(10000)) << server.Log();
    const DWORD waited = ::GetTickCount() - start;
    EXPECT_GE(waited, 2000u);
    EXPECT_LE(waited, 6000u);
    EXPECT_FALSE(::FindWindowA(nullptr, "Trelvane timer"));  // closed at the time, by the server
    trelvane::Schedule stored;
    ASSERT_TRUE(trelvane::ReadSchedule(stored));
    EXPECT_EQ(due, static_cast<Minute>(stored.postState));
    ::Sleep(4000);
    EXPECT_FALSE(m_recorder.Ran());
    EXPECT_EQ(1, server.Count("is due"));
}

}  // namespace
