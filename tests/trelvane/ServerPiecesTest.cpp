// The server's pieces on their own: combinations in words, the hot-key map
// made of defaults and registry values, the schedule's times, and what a
// WM_DEVICECHANGE names.
#include "ServerRun.h"

#include "Devices.h"
#include "HotKeyMap.h"
#include "Schedule.h"

#include <algorithm>

namespace {

using trelvane::Minute;
using trelvane::Origin;

TEST(ServerPieces, CombinationsReadAndWrittenInWords) {
    const struct { const char* text; const char* written = nullptr; const char* error = nullptr; } rows[] = {
        {.text = "Win+F1", .written = "Win+F1"},
        {.text = "shift+ctrl+WIN+f5", .written = "Win+Ctrl+Shift+F5"},
        {.text = "Control+Alt+k", .written = "Ctrl+Alt+K"},
        {.text = "Win+0x7B", .written = "Win+F12"},
        {.text = "Alt+NumPad7", .written = "Alt+NumPad7"},
        {.text = "Win+pageup", .written = "Win+PageUp"},
        {.text = "Win+0x92", .written = "Win+0x92"},
        {.text = "none", .written = ""},
        {.text = "", .written = ""},
        {.text = "Win+", .error = "'Win+' has an empty part"},
        {.text = "Win+Win+F1", .error = "'Win+Win+F1' names Win twice"},
        {.text = "Win+F25", .error = "'F25' in 'Win+F25' is no key name"},
        {.text = "Win+A+B", .error = "'Win+A+B' names more than one key"},
        {.text = "Win+0xFF", .error = "'0xFF' in 'Win+0xFF' is no key name"},
        {.text = "Win+Ctrl", .error = "'Win+Ctrl' names no key"},
        {.text = "F5+Win", .written = "Win+F5"},
    };
    for (const auto& row : rows) {
        trelvane::Combination c{0xAB, 0xCD};  // marker: untouched on failure
        std::string error;
        const bool ok = trelvane::ParseCombination(row.text, c, error);
        EXPECT_EQ(row.error == nullptr, ok) << row.text << ": " << error;
        if (!ok) {
            EXPECT_EQ(0u, error.find(row.error)) << error;
            EXPECT_TRUE(c.modifiers == 0xAB && c.key == 0xCD) << row.text;
        } else {
            EXPECT_EQ(row.written, trelvane::CombinationText(c)) << row.text;
        }
    }
}

TEST(ServerPieces, TheHotKeyMapTakesTheUsersValuesAndRefusesWhatCannotWork) {
    trtest::LookupSandbox box;
    const std::string key = trelvane::HotKeysKeyPath();
    ASSERT_FALSE(key.empty());
    for (const auto& [name, text] : {std::pair{"SKey20", "Win+Ctrl+F9"}, {"skey1", ""}, {"PPK", "Win+Alt+P"},
                                     {"SKey5", "F5"}, {"SKey30", "Win+F2"}, {"SKey31", "Win+Shift+Insert"},
                                     {"SKey300", "Win+F9"}})
        ASSERT_TRUE(trtest::SetRegValue(HKEY_CURRENT_USER, key, name, REG_SZ, text, DWORD(std::strlen(text) + 1)));
    const DWORD number = 7;
    ASSERT_TRUE(trtest::SetRegValue(HKEY_CURRENT_USER, key, "SKey7", REG_DWORD, &number, 4));
    const trelvane::HotKeyMap map = trelvane::ReadHotKeyMap();
    const struct { DWORD code; Origin origin; const char* combination; const char* problem = nullptr; } rows[] = {
        {.code = 0x0101, .origin = Origin::Refused, .combination = "", .problem = "may not hold Alt, Ctrl or Shift"},
        {.code = 0x0201, .origin = Origin::Cleared, .combination = ""},
        {.code = 0x0202, .origin = Origin::Default, .combination = "Win+F2"},
        {.code = 0x0205, .origin = Origin::Refused, .combination = "", .problem = "needs Win, Ctrl or Alt"},
        {.code = 0x0207, .origin = Origin::Refused, .combination = "", .problem = "(HotKeys value SKey7) is no text"},
        {.code = 0x020C, .origin = Origin::Default, .combination = "Win+F12"},
        {.code = 0x0214, .origin = Origin::User, .combination = "Win+Ctrl+F9"},
        {.code = 0x021E, .origin = Origin::Refused, .combination = "", .problem = "Win+F2 is taken by skey 2"},
        // The PPK key is refused, so its Shift form is free.
        {.code = 0x021F, .origin = Origin::User, .combination = "Win+Shift+Insert"},
    };
    for (const auto& row : rows) {
        const auto it = std::find_if(map.hotKeys.begin(), map.hotKeys.end(), [&](const auto& h) { return h.code == row.code; });
        ASSERT_NE(map.hotKeys.end(), it) << std::hex << row.code;
        EXPECT_EQ(row.origin, it->origin) << std::hex << row.code;
        EXPECT_EQ(row.combination, trelvane::CombinationText(it->combination)) << std::hex << row.code;
        EXPECT_NE(std::string::npos, it->problem.find(row.problem ? row.problem : "")) << it->problem;
    }
    EXPECT_EQ(16u, map.hotKeys.size());  // PPK, SKey 1 to 12, 20, 30 and 31
    ASSERT_EQ(5u, map.problems.size());  // PPK, SKey 5, 7, 30 and the unknown name
    EXPECT_EQ(1, std::count(map.problems.begin(), map.problems.end(),
                            "HotKeys value 'SKey300' is not PPK or SKey1 to SKey255 (or is too long); it is ignored"));
}

// Minutes from "YYYY-MM-DD HH:MM".
Minute At(const char* text) {
    SYSTEMTIME t = {};
    std::sscanf(text, "%4hu-%2hu-%2hu %2hu:%2hu", &t.wYear, &t.wMonth, &t.wDay, &t.wHour, &t.wMinute);
    return trelvane::ToMinute(t);
}

trelvane::Schedule Make(DWORD mode, const char* time, DWORD weekFlag = 0) {
    trelvane::Schedule s;
    s.mode = mode;
    s.weekFlag = weekFlag;
    std::sscanf(time, "%4lu-%2lu-%2lu %2lu:%2lu", &s.year, &s.month, &s.day, &s.hour, &s.minute);
    return s;
}

TEST(ServerPieces, ScheduleTimesOnceDailyAndWeekly) {
    using trelvane::kTimerDaily;
    using trelvane::kTimerOnce;
    using trelvane::kTimerWeekly;
    constexpr DWORD kMonFri = 1u << 1 | 1u << 5;
    const struct {
        trelvane::Schedule schedule;
        const char* after;
        const char* next;  // "" for none
        const char* since = nullptr;  // LastUpTo(since, until) gives last
        const char* until = nullptr;
        const char* last = nullptr;
    } rows[] = {
        {.schedule = Make(kTimerDaily, "0000-00-00 07:30"), .after = "2026-03-01 07:29", .next = "2026-03-01 07:30"},
        {.schedule = Make(kTimerDaily, "0000-00-00 07:30"), .after = "2026-03-01 07:30", .next = "2026-03-02 07:30",
         .since = "2026-03-01 00:00", .until = "2026-03-05 07:00", .last = "2026-03-04 07:30"},
        {.schedule = Make(kTimerDaily, "0000-00-00 23:59"), .after = "2026-12-31 23:59", .next = "2027-01-01 23:59"},
        // 2026-03-07 is a Saturday.
        {.schedule = Make(kTimerWeekly, "0000-00-00 08:00", kMonFri), .after = "2026-03-07 09:00",
         .next = "2026-03-09 08:00", .since = "2026-03-01 00:00", .until = "2026-03-08 23:00", .last = "2026-03-06 08:00"},
        {.schedule = Make(kTimerWeekly, "0000-00-00 08:00", kMonFri), .after = "2026-03-06 08:00",
         .next = "2026-03-09 08:00", .since = "2026-03-06 08:00", .until = "2026-03-08 23:00", .last = ""},
        {.schedule = Make(kTimerOnce, "2028-02-29 12:00"), .after = "2028-02-29 11:59", .next = "2028-02-29 12:00",
         .since = "2028-01-01 00:00", .until = "2030-01-01 00:00", .last = "2028-02-29 12:00"},
        {.schedule = Make(kTimerOnce, "2028-02-29 12:00"), .after = "2028-02-29 12:00", .next = ""},
        {.schedule = Make(kTimerOnce, "2027-02-29 12:00"), .after = "2026-01-01 00:00", .next = ""},
        {.schedule = Make(trelvane::kTimerOff, "2027-01-01 12:00"), .after = "2026-01-01 00:00", .next = ""},
    };
    for (const auto& row : rows) {
        const Minute next = trelvane::NextAfter(row.schedule, At(row.after));
        EXPECT_EQ(row.next, next == trelvane::kNoMinute ? "" : trelvane::MinuteText(next)) << row.after;
        if (!row.since) {
            continue;
        }
        const Minute last = trelvane::LastUpTo(row.schedule, At(row.since), At(row.until));
        EXPECT_EQ(row.last, last == trelvane::kNoMinute ? "" : trelvane::MinuteText(last)) << row.until;
    }
}

TEST(ServerPieces, SchedulesThatCannotBeServedSayWhy) {
    const struct { trelvane::Schedule schedule; const char* problem; } rows[] = {
        {.schedule = Make(trelvane::kTimerOnce, "2027-02-29 12:00"), .problem = "the date 2027-02-29 does not exist"},
        {.schedule = Make(trelvane::kTimerDaily, "0000-00-00 24:00"), .problem = "the time 24:00 does not exist"},
        {.schedule = Make(trelvane::kTimerWeekly, "0000-00-00 08:00", 0x80), .problem = "has no day in WeekFlag"},
        {.schedule = Make(7, "0000-00-00 08:00"), .problem = "TimerMode 7 is not 0 to 3"},
        {.schedule = Make(trelvane::kTimerDaily, "0000-00-00 08:00"), .problem = ""},
    };
    for (const auto& row : rows) {
        const std::string problem = trelvane::ScheduleProblem(row.schedule);
        EXPECT_EQ(*row.problem == '\0', problem.empty()) << problem;
        EXPECT_NE(std::string::npos, problem.find(row.problem)) << problem;
        if (!problem.empty()) {
            EXPECT_EQ(trelvane::kNoMinute, trelvane::NextAfter(row.schedule, 0));
        }
    }
    trtest::LookupSandbox box;  // no "Timer" key: off, five minutes' watch
    trelvane::Schedule read = Make(trelvane::kTimerDaily, "2001-02-03 04:05");
    ASSERT_TRUE(trelvane::ReadSchedule(read));
    EXPECT_EQ(trelvane::kTimerOff, read.mode);
    EXPECT_EQ(5u, read.timeLimit);
    EXPECT_EQ(0u, read.postState);
}

TEST(ServerPieces, InterfacePathsGiveDeviceInstanceIdentifiers) {
    const struct { const char* path; const char* id; } rows[] = {
        // The identifiers of plain USB and IEEE 1394 paths: the arrivals below.
        {.path = "\\\\?\\USB#VID_1&PID_2#5&1a2b&0&1#{x}", .id = "USB\\VID_1&PID_2\\5&1a2b&0&1"},
        {.path = "\\\\?\\USB#VID_1&PID_2#SN1", .id = ""},             // no class
        {.path = "\\\\?\\USB#VID_1&PID_2#{x}", .id = ""},             // no instance
        {.path = "\\\\?\\USB#VID_1&PID_2#A#B#{x}", .id = ""},         // four parts
        {.path = "\\\\?\\USB##SN1#{x}", .id = ""},                    // an empty part
        {.path = "USB#VID_1&PID_2#SN1#{x}", .id = ""},                // no prefix
    };
    for (const auto& row : rows) EXPECT_EQ(row.id, trelvane::InstanceIdOfInterfacePath(row.path)) << row.path;
}

TEST(ServerPieces, ArrivalsKeepUsbDevicesIeee1394DevicesAndRemovableVolumes) {
    const GUID other = {};
    trelvane::ArrivalFilter filter;
    const auto arrived = [&](const std::vector<char>& data, WPARAM what = DBT_DEVICEARRIVAL) {
        std::string names;
        for (const auto& d : filter.Arrived(what, reinterpret_cast<LPARAM>(data.empty() ? nullptr : data.data())))
            names += (d.kind == trelvane::Device::Medium ? std::string("medium ") + char('A' + d.drive) : d.instanceId) + ";";
        return names;
    };
    const auto wide = trtest::InterfaceArrival(trtest::kUsbInterfaceClass, L"\\\\?\\USB#VID_1&PID_2#SN#{x}");
    EXPECT_EQ("USB\\VID_1&PID_2\\SN;", arrived(wide));
    EXPECT_EQ("", arrived(wide, DBT_DEVICEREMOVECOMPLETE));
    EXPECT_EQ("", arrived(trtest::InterfaceArrival(other, L"\\\\?\\USB#VID_1&PID_2#SN#{x}")));
    const auto camera = trtest::InterfaceArrival(other, L"\\\\?\\1394#K&C#0001#{x}");
    EXPECT_EQ("1394\\K&C\\0001;", arrived(camera));
    EXPECT_EQ("", arrived(camera));  // its next interface
    auto truncated = wide;
    reinterpret_cast<DEV_BROADCAST_HDR*>(truncated.data())->dbch_size = 8;
    EXPECT_EQ("", arrived(truncated));

    ASSERT_TRUE(trtest::RemovableDriveReady());
    EXPECT_EQ("medium R;", arrived(trtest::VolumeArrival((1u << 17) | (1u << 2) | (1u << 25))));  // C: and Z: are fixed
    EXPECT_EQ("", arrived(trtest::VolumeArrival(1u << 17, DBTF_NET)));
    EXPECT_EQ("", arrived({}));
}

}  // namespace
