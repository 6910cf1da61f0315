// Allocation-failure injection over the test build of the library: every
// export and every data-class operation runs once per allocation it makes,
// that allocation failing. Each run must give the operation's failure result
// (or its success, where the allocation was not needed for it), leave the
// caller's buffers as specified, let no exception out, leak no handle or
// registry key, and the next run without a failure must work as before.
#include "tests/alloc/TrAllocHook.h"
#include "tests/lookup/LookupTestData.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using trtest::NumeralRecord;
using trtest::StringRecord;

// One operation: what it needs set up first (not counted), the call with what
// it gave, what it gives with memory to spare, and what the library
// lets it give when an allocation fails.
struct Operation {
    std::string name;
    std::function<void()> prepare = [] {};
    std::function<std::string()> run;
    std::string success;
    std::vector<std::string> failures = {};
};

std::string Str(long long v) { return std::to_string(v); }
// Results of calls made one after the other, as digits.
template <std::size_t N>
std::string Joined(const int (&results)[N]) {
    std::string out;
    for (const int r : results) out += Str(r);
    return out;
}

// A lookup's outcome: the title it gave, or whether the block stayed as it was.
std::string Looked(int ok, const TR_APP_DATA_STRUC& block) {
    return ok ? std::string("1 ") + block.szTitle : trtest::Untouched(block) ? "0 untouched" : "0 changed";
}

// A device as Win98 callers hand it over, from the caller's operator new; the
// library's release of it is watched.
TR_REG_INFO_STRUC* Device(const std::string& path) {
    auto* text = static_cast<char*>(std::memcpy(::operator new(path.size() + 1), path.c_str(), path.size() + 1));
    auto* info = new (::operator new(sizeof(TR_REG_INFO_STRUC))) TR_REG_INFO_STRUC{1, 2, 3, text};
    TrAllocHookWatch(info);
    return info;
}
// " released=<n>" for a device. The library releases the text for real, then the
// watched structure, which is only counted; what it did not release goes back here.
std::string Released(TR_REG_INFO_STRUC* info) {
    const long n = TrAllocHookReleases();
    TrAllocHookWatch(nullptr);
    if (n == 0) ::operator delete(info->pszRegPath);
    ::operator delete(info);
    return " released=" + Str(n);
}

// The application the dialogs show; its file has no icon of its own.
TR_APP_DATA_STRUC Application() {
    TR_APP_DATA_STRUC b = {};
    std::strcpy(b.szTitle, "Title"), std::strcpy(b.szDescription, "Description");
    std::strcpy(b.szPath, "C:\\no\\such\\app.exe");
    return b;
}

// A lookup export over a block full of markers.
Operation Lookup(std::string name, int(TRCOMAPI* call)(TR_APP_DATA_STRUC*), const std::string& title) {
    return {.name = std::move(name), .run = [call] {
                TR_APP_DATA_STRUC b = trtest::Marked();
                const int ok = call(&b);
                return Looked(ok, b); },
            .success = "1 " + title, .failures = {"0 untouched"}};
}
// The PnP export for a device; the device is released once the lookup reached an open
// database, whatever it found.
Operation DeviceLookup(std::string name, DWORD type, std::string path, const std::string& title) {
    return {.name = std::move(name), .run = [type, path] {
                TR_APP_DATA_STRUC b = trtest::Marked();
                TR_REG_INFO_STRUC* device = Device(path);
                const int ok = TrComGetAppDataOfPnPEvent(&b, type, reinterpret_cast<DWORD_PTR>(device));
                return Looked(ok, b) + Released(device); },
            .success = "1 " + title + " released=1",
            .failures = {"0 untouched released=0", "0 untouched released=1"}};
}

std::string Modal(const std::function<BOOL(int*)>& call) {
    int code = 0x5eed;
    const BOOL ok = trtest::CancellingDialogs([&] { return call(&code); });
    return Str(ok) + " " + (code == 0x5eed ? "untouched" : Str(code));
}

// Started by the launch in the last row; ends at once.
TR_CHILD_ROLE(alloc_quiet) { return 0; }

// The product installed in a sandbox with a data file per event family, the
// files of the database operations, and this process's window as the server.
class World {
public:
    World() {
        const std::string jog = "Title:menu\r\nDescription:\r\nLevel:0\r\n" + Jog();
        m_ok = m_box.Write("PPKData.dat", NumeralRecord("ppk", 0x0101)) &&
               m_box.Write("SKeyData.dat", NumeralRecord("skey", 0x0201)) &&
               m_box.Write("FPData.dat", NumeralRecord("slot", 0x0301) + NumeralRecord("media", 0x01000301)) &&
               m_box.Write("TimrData.dat", NumeralRecord("timer", 0x02000000)) &&
               m_box.Write("JPPKData.dat", NumeralRecord("jppk", 0x03000000)) &&
               m_box.Write("USBData.dat", StringRecord("scanner", "VID_1234&PID_5678")) &&
               m_box.Write("XbusData.dat", StringRecord("camera", "0800460102030405")) &&
               m_box.Write("XbusCtg.dat", StringRecord("cameras", "KALVOR&CAM")) && m_box.Write("JogData.dat", jog) &&
               trtest::WriteFileBytes(File('n'), Numeral()) && trtest::WriteFileBytes(File('s'), Strings()) &&
               trtest::WriteFileBytes(File('j'), jog) && trtest::WriteFileBytes(File('r'), "[abc]\r\n") &&
               trtest::WriteFileBytes(Path("roll.wav"), "RIFF") && trtest::WriteFileBytes(Path("push.wav"), "RIFF") &&
               trtest::WriteFileBytes(Path("sound.ini"), "[JogSound]\r\nRoll=" + Path("roll.wav") +
                                                              "\r\nPush=" + Path("push.wav") + "\r\n") &&
               m_window && TrComSetServer(m_window.Get());
        // The first exception a process raises makes Wine keep two handles for good; one
        // failed allocation up front keeps them out of every count.
        CTrNumeralKeyDB warm;
        TrAllocHookArm(1);
        warm.Load(File('n'));
        TrAllocHookDisarm();
    }
    bool Ok() const { return m_ok; }
    HWND Server() const { return m_window.Get(); }
    // The data files of the database operations by kind ('n', 's', 'j', refuse list 'r'), where
    // Write goes, other files by name.
    std::string File(char kind) const { return m_files / (std::string(1, kind) + ".dat"); }
    std::string Out() const { return m_files / "out.dat"; }
    std::string Path(const char* name) const { return m_files / name; }
    // Contents as Write gives them back.
    static std::string Numeral() { return ";comment\r\n" + NumeralRecord("first", 1) + NumeralRecord("second", 2); }
    static std::string Strings() { return StringRecord("first", "k1") + StringRecord("second", "k2"); }
    static std::string Jog() {
        return "Title:app\r\nDescription:\r\nLevel:1\r\nPath:C:\\a.exe\r\nWorkDir:\r\nOption:\r\n";
    }

private:
    trtest::LookupSandbox m_box;
    trtest::TempFolder m_files;
    tr::Window m_window{::CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr)};
    bool m_ok = false;
};

// The objects the data-class operations work on, made in 'prepare', outside the count.
std::unique_ptr<CTrAbstDB> db, all[3];
std::unique_ptr<CTrAppDataFinder> finder;
constexpr WORD kAllEvents = 0xFB;  // every database an event uses (0x04 is used by none)
CTrRefuseDB refuse;
DWORD g_rights;  // the current user's groups, as a run with memory to spare finds them

std::unique_ptr<CTrAbstDB> Database(char kind) {
    if (kind == 'n') return std::make_unique<CTrNumeralKeyDB>();
    if (kind == 's') return std::make_unique<CTrStringKeyDB>();
    return std::make_unique<CTrJogDataDB>();
}
CTrNumeralKeyDB& Numeral() { return static_cast<CTrNumeralKeyDB&>(*db); }
CTrStringKeyDB& Strings() { return static_cast<CTrStringKeyDB&>(*db); }
CTrJogDataDB& Jog() { return static_cast<CTrJogDataDB&>(*db); }
std::string Text(const std::string& path) { std::string b; return trtest::ReadFileBytes(path, b) ? b : "<none>"; }
// A record with a title long enough to be allocated, not kept inside the
// text object; made before the first count.
const std::string kNewTitle = "a title long enough to need memory of its own";
template <class Record>
const Record& NewRecord() {
    static const Record record = [] { Record r; r.SetTitle(kNewTitle); return r; }();
    return record;
}

std::vector<Operation> Operations(const World& w) {
    const auto loaded = [&w](char kind) { return [&w, kind] { db = Database(kind), db->Load(w.File(kind)); }; };
    const auto opened = [] { finder = std::make_unique<CTrAppDataFinder>(), finder->OpenDataBases(kAllEvents); };
    const std::string key = std::string(trtest::kProductKey) + "\\JogConfig";
    // The lengths of the roll and push sounds' paths a sound export gave, and of the files'.
    const auto lengths = [](const std::string& roll, const std::string& push) {
        return " " + Str(roll.size()) + " " + Str(push.size());
    };
    const std::string files = lengths(w.Path("roll.wav"), w.Path("push.wav"));

    std::vector<Operation> ops = {
        // --- jog sounds, the group test -------------------------------------------------
        {.name = "TrJogCfgWriteSound, TrJogCfgReadSound, TrJogCfgReadSoundA", .run = [&w, key, lengths] {
             std::string roll = "old", push = "old";
             char rollA[MAX_PATH] = "old", pushA[MAX_PATH] = "old";
             const int wrote = TrJogCfgWriteSound(HKEY_CURRENT_USER, key.c_str(), w.Path("roll.wav").c_str(),
                                                  w.Path("push.wav").c_str());
             const int read = TrJogCfgReadSound(HKEY_CURRENT_USER, key.c_str(), roll, push);
             const int readA = TrJogCfgReadSoundA(HKEY_CURRENT_USER, key.c_str(), rollA, MAX_PATH, pushA, MAX_PATH);
             return Str(wrote) + Str(read) + Str(readA) + lengths(roll, push) + lengths(rollA, pushA); },
         .success = "111" + files + files, .failures = {"101 0 0" + files, "110" + files + " 0 0"}},
        {.name = "TrJogCfgGetDefaultSound, TrJogCfgGetDefaultSoundA", .run = [&w, lengths] {
             std::string roll = "old", push = "old";
             char rollA[MAX_PATH] = "old", pushA[MAX_PATH] = "old";
             const int r = TrJogCfgGetDefaultSound(0, w.Path("sound.ini").c_str(), roll, push);
             const int a = TrJogCfgGetDefaultSoundA(0, w.Path("sound.ini").c_str(), rollA, MAX_PATH, pushA, MAX_PATH);
             return Str(r) + Str(a) + lengths(roll, push) + lengths(rollA, pushA); },
         .success = "11" + files + files, .failures = {"01 0 0" + files, "10" + files + " 0 0"}},
        {.name = "TrComCheckUserRight", .prepare = [] { TrComCheckUserRight(&g_rights); }, .run = [] {
             DWORD rights = 0xdeadbeef;
             const int r = TrComCheckUserRight(&rights);
             // Bits found before a failing test stay; none of the others may appear.
             return Str(r) + ((rights & ~g_rights) ? " extra bits" : r && rights != g_rights ? " bits lost" : " bits"); },
         .success = "1 bits", .failures = {"0 bits"}},
        // --- event lookup and jog menu ---------------------------------------------------
        Lookup("TrComGetAppDataOfKalvorEvent", [](TR_APP_DATA_STRUC* b) { return TrComGetAppDataOfKalvorEvent(b, 0x0201); },
               "skey"),
        Lookup("TrComGetAppDataOfTimer", TrComGetAppDataOfTimer, "timer"),
        Lookup("TrComGetAppDataOfJogPPK", TrComGetAppDataOfJogPPK, "jppk"),
        Lookup("TrComGetAppDataOfFPSlot", TrComGetAppDataOfFPSlot, "slot"),
        Lookup("TrComGetAppDataOfPnPEvent, Flashpod medium",
               [](TR_APP_DATA_STRUC* b) { return TrComGetAppDataOfPnPEvent(b, TR_PNP_FPMEDIA, 0); }, "media"),
        DeviceLookup("TrComGetAppDataOfPnPEvent, USB device", TR_PNP_USB, "USB\\VID_1234&PID_5678\\1", "scanner"),
        DeviceLookup("TrComGetAppDataOfPnPEvent, IEEE 1394 device", TR_PNP_XBUS, "1394\\KALVOR&CAM\\0800460102030405",
                     "camera"),
        {.name = "TrComNewRegInfo, TrComFreeRegInfo", .run = [] {
             TR_REG_INFO_STRUC* info = reinterpret_cast<TR_REG_INFO_STRUC*>(0xdeadbeef);
             if (!TrComNewRegInfo(&info, "USB\\VID_1234&PID_5678\\1")) return std::string(info ? "0 set" : "0 null");
             const std::string path = info->pszRegPath;
             return "1 " + path + " " + Str(TrComFreeRegInfo(info)); },
         .success = "1 USB\\VID_1234&PID_5678\\1 1", .failures = {"0 null"}},
        {.name = "TrComJogDataGetAt", .run = [] {
             TR_JOG_DATA_STRUC entry;
             std::memset(&entry, 0xAB, sizeof(entry));
             const int ok = TrComJogDataGetAt(&entry, 1);
             const bool untouched = entry.szTitle[0] == '\xAB' && entry.bIsFolder == int(0xABABABAB);
             return ok ? "1 " + std::string(entry.szTitle) + " " + Str(entry.nLevel)
                       : untouched ? "0 untouched" : "0 changed"; },
         .success = "1 app 1", .failures = {"0 untouched"}},
        {.name = "TrComJogDataGetCount, TrComJogDataGetAllItems", .run = [] {
             int count = -1, all = -1;
             const int a = TrComJogDataGetCount(&count);
             const int b = TrComJogDataGetAllItems(&all);
             return Str(a) + " " + Str(count) + " " + Str(b) + " " + Str(all); },
         .success = "1 1 1 2", .failures = {"0 0 1 2", "1 1 0 0"}},
        // --- dialogs: one that cannot be made for want of memory gives FALSE or the end code -1
        {.name = "TrComDoModalInfoDlg", .run = [] {
             const TR_APP_DATA_STRUC b = Application();
             return Modal([&](int* code) { return TrComDoModalInfoDlg(code, &b, 99); }); },
         .success = "1 2", .failures = {"0 untouched", "1 -1"}},
        {.name = "TrComDoModalPastDlg", .run = [] {
             const TR_APP_DATA_STRUC b = Application();
             const SYSTEMTIME set = {2024, 2, 4, 29, 7, 5, 0, 0};
             return Modal([&](int* code) { return TrComDoModalPastDlg(code, &b, &set); }); },
         .success = "1 2", .failures = {"0 untouched", "1 -1"}},
        {.name = "TrComCreateWatchDlg", .run = [] {
             HWND h = reinterpret_cast<HWND>(1);
             const int ok = TrComCreateWatchDlg(&h, 90, 0x200002, "watch", nullptr, 0);
             const std::string made = h == reinterpret_cast<HWND>(1) ? " untouched" : h ? " window" : " null";
             if (ok) ::DestroyWindow(h);
             return Str(ok) + made; },
         .success = "1 window", .failures = {"0 untouched", "0 null"}},
        // --- data classes ----------------------------------------------------------------
        {.name = "CTrNumeralKeyDB::Set", .prepare = loaded('n'), .run = [] {
             const CTrNumeralKeyData& data = NewRecord<CTrNumeralKeyData>();
             const int changed = Numeral().Set(1, data);
             const int added = Numeral().Set(0, 3, data);
             const auto* first = Numeral().Find(1);
             return Str(changed) + Str(added) + " " + (first->GetTitle() == kNewTitle ? "new" : first->GetTitle()) +
                    (Numeral().Find(3) ? " added" : " not added"); },
         .success = "11 new added", .failures = {"01 first added", "10 new not added"}},
        {.name = "CTrStringKeyDB::Set", .prepare = loaded('s'), .run = [] {
             const CTrStringKeyData& data = NewRecord<CTrStringKeyData>();
             const int byKey = Strings().Set("k1", data);
             const int byIndex = Strings().Set(1, data);
             const auto title = [](int i) {
                 const std::string& t = Strings().Find(i)->GetTitle();
                 return t == kNewTitle ? "new" : t;
             };
             return Str(byKey) + Str(byIndex) + " " + title(0) + " " + title(1); },
         .success = "11 new new", .failures = {"01 first new", "10 new second"}},
        {.name = "CTrJogDataDB::InsertAfter, InsertBefore, InsertTop", .prepare = loaded('j'), .run = [] {
             const CTrJogData& data = NewRecord<CTrJogData>();
             const auto end = Jog().ReadList()->end();
             CTrJogData* after = nullptr, * before = nullptr;
             const bool a = Jog().InsertAfter(Jog().ReadList()->begin(), data, &after) != end;
             const bool b = Jog().InsertBefore(end, data, &before) != end;
             const bool t = Jog().InsertTop(data) != end;
             return Str(a) + Str(after != nullptr) + Str(b) + Str(before != nullptr) + Str(t) + " " +
                    Str(Jog().ReadList()->size()); },
         .success = "11111 5", .failures = {"00111 4", "11001 4", "11110 4"}},
        {.name = "Find and Read of each database, Get and RemoveAt of the jog menu", .prepare = [&w] {
             for (int i = 0; i < 3; ++i) all[i] = Database("nsj"[i]), all[i]->Load(w.File("nsj"[i]));
         }, .run = [] {
             auto& n = static_cast<CTrNumeralKeyDB&>(*all[0]);
             auto& s = static_cast<CTrStringKeyDB&>(*all[1]);
             auto& j = static_cast<CTrJogDataDB&>(*all[2]);
             const bool found = n.Find(2) && n.Find(0, 1) && n.Read(1) && s.Find("k2") && s.Find(1) && s.Read(1) &&
                                j.Read(1) && j.Get(1).GetLevel() == 1;
             const int removed = j.RemoveAt(j.ReadList()->begin());
             return Str(found) + Str(removed) + Str(j.ReadList()->size()); },
         .success = "111"},
        {.name = "CTrRefuseDB::IsInDB", .run = [&w] {
             int open = -1;
             const int found = refuse.IsInDB("xabcx", w.File('r'), open);
             return Str(found) + " " + Str(open); },
         .success = "1 0", .failures = {"0 1"}},
        {.name = "CTrAbstDB::Reload", .prepare = loaded('n'), .run = [] {
             const int result = db->Reload();
             return Str(result) + " " + Str(db->GetDataNumber()); },
         .success = "0 2", .failures = {"1 0", "1 1", "1 2"}},
        // --- the finder ------------------------------------------------------------------
        {.name = "CTrAppDataFinder::OpenDataBases", .prepare = [] { finder = std::make_unique<CTrAppDataFinder>(); },
         .run = [] { return Str(finder->OpenDataBases(kAllEvents)); },
         // The bit of the database that could not be loaded, or 0xFFFF: nothing left open.
         .success = "0", .failures = {"1", "2", "8", "16", "32", "64", "128", "65535"}},
        {.name = "CTrAppDataFinder::Find, USB device", .prepare = opened, .run = [] {
             TR_REG_INFO_STRUC* device = Device("USB\\VID_1234&PID_5678\\1");
             const CTrBaseData* found = finder->Find(1, reinterpret_cast<DWORD_PTR>(device), 0x0101, 0, 0, 1);
             return (found ? found->GetTitle() : "null") + Released(device); },
         .success = "scanner released=1", .failures = {"null released=1"}},
        {.name = "CTrAppDataFinder::Find, IEEE 1394 device", .prepare = opened, .run = [] {
             TR_REG_INFO_STRUC* device = Device("1394\\KALVOR&CAM\\0800460102030499");  // its category's record
             const CTrBaseData* found = finder->Find(1, reinterpret_cast<DWORD_PTR>(device), 0x0001, 0, 1, 1);
             return (found ? found->GetTitle() : "null") + Released(device); },
         .success = "cameras released=1", .failures = {"null released=1"}},
        {.name = "CTrAppDataFinder::Find, Flashpod medium", .prepare = opened, .run = [] {
             const CTrBaseData* found = finder->Find(1, 0, 0x0301, 0, 0, 0);
             return found ? found->GetTitle() : "null"; },
         .success = "media", .failures = {"null"}},
        {.name = "CTrAppDataFinder::ExtractLastKey, ExtractSecondKey", .run = [] {
             std::string last, second;
             const int l = CTrAppDataFinder::ExtractLastKey("A\\B\\123", last);
             const int s = CTrAppDataFinder::ExtractSecondKey("A\\B\\123", second);
             return Str(l) + Str(s) + (l ? " " + last : "") + (s ? " " + second : ""); },
         .success = "11 0000000000000123 B", .failures = {"01 B", "10 0000000000000123"}},
        // The exports that allocate nothing: one run each shows it (no pairs); what they give
        // is their own tests' part. The shared block comes last: deleting it clears the server.
        {.name = "the exports that allocate nothing", .prepare = [&w] { trtest::RemoveTree(w.Path("A")); },
         .run = [&w, key] {
             const HKEY u = HKEY_CURRENT_USER;
             const char* k = key.c_str();
             char path[MAX_PATH] = "C:\\Program Files\\Tool ", found[MAX_PATH];
             DWORD v[5] = {};
             const DWORD one = 1;
             BOOL running, tray;
             TR_REG_VALUE_OF_KIND<TR_REG_KIND_USER> values{};
             TR_APP_DATA_STRUC app = {};
             std::strcpy(app.szPath, trtest::SelfPath().c_str());
             std::strcpy(app.szOption, "--tr-child alloc_quiet none");
             HANDLE process = nullptr;
             HICON icon = nullptr;
             HWND window = nullptr;
             const int results[] = {
                 TrComPathAppend(path, " \\Sub folder"), TrComCreateDirectory(w.Path("A\\B\\C").c_str()),
                 TrComPathFileExists(w.File('n').c_str()), TrComGetOS(v), TrComGetOSEx(v),
                 TrComGetPath(TR_PATH_JOG_DATA, found), TrComGetRegValue(&values),
                 TrXbusConfigCautionWrite(u, k, 1), TrXbusConfigCautionRead(u, k, v),
                 TrXbusCfgWrite(u, k, 1, 1, 1, 1, 1), TrXbusCfgRead(u, k, v, v + 1, v + 2, v + 3, v + 4),
                 TrJogCfgWriteDirection(u, k, 1, 2), TrJogCfgReadDirection(u, k, v, v + 1),
                 TrJogCfgWriteAutoCloseTimer(u, k, 10), TrJogCfgReadAutoCloseTimer(u, k, v),
                 TrJogCfgWritePPPKInfoDlgTime(u, k, 7), TrJogCfgReadPPPKInfoDlgTime(u, k, v),
                 TrSKeyCfgWrite(u, k, 7), TrSKeyCfgRead(u, k, v), TrTimerCfgWrite(u, k, 7), TrTimerCfgRead(u, k, v),
                 TrJogCfgWriteJogLED(u, k, 1), TrJogCfgReadJogLED(u, k, v),
                 TrJogCfgWriteJogBack(u, k, 1), TrJogCfgReadJogBack(u, k, v),
                 TrFPCfgWrite(u, k, 1, 1, 7), TrFPCfgRead(u, k, v, v + 1, v + 2),
                 TrFPDriveWrite(u, k, 5, 6), TrFPDriveRead(u, k, v, v + 1),
                 TrFPCfgOptionWrite(u, k, 1), TrFPCfgOptionRead(u, k, v),
                 TrPPKCfgWrite(u, k, 1, 1, 7), TrPPKCfgRead(u, k, v, v + 1, v + 2),
                 TrUSBCfgWrite(u, k, &one, &one, 7), TrUSBCfgRead(u, k, v, v + 1, v + 2),
                 TrJogCfgIsWaveFile(w.Path("roll.wav").c_str()),
                 TrComCopyRegKeyToCurrentUser(FALSE), TrComCopyDataToUserFolder(FALSE),
                 TrComExistLyraneJukebox(&running), TrComExistLyraneJukeboxInTaskTray(&tray),
                 TrComLaunch(&process, &app), TrComGetIconHandle(&icon, "C:\\no\\such\\app.exe", TRUE),
                 TrComSetClient(w.Server()), TrComGetClient(&window), TrComCreateSharedMemory(),
                 TrComSetServer(w.Server()), TrComDeleteSharedMemory(), TrComGetServer(&window)};
             const tr::Handle started(process);
             const tr::Icon shown(icon);
             ::WaitForSingleObject(started.Get(), 30000);
             return Joined(results); },
         // Paths, platform and the key table, the settings and the wave-file test, per-user
         // setup, the jukebox (no tray program), launch and icon, the shared block.
         .success = std::string(36, '1') + "11" + "10" + "11" + "110011"},
    };
    // Load and Write of each kind of database: a failed Write gives 1 as well, its last error tells.
    for (const char kind : {'n', 's', 'j'}) {
        const std::string text = kind == 'n' ? World::Numeral() : kind == 's' ? World::Strings() : Text(w.File('j'));
        ops.push_back({.name = std::string("Load of ") + kind, .prepare = [kind] { db = Database(kind); },
                       .run = [&w, kind] {
                           const int result = db->Load(w.File(kind));
                           return Str(result) + " " + Str(db->GetDataNumber()); },
                       // The jog menu counts its one application, not its folder.
                       .success = kind == 'j' ? "0 1" : "0 2", .failures = {"1 0", "1 1"}});
        // A rewrite that cannot start keeps the old file; one whose records
        // could not all be gathered puts the rest in its place.
        ops.push_back({.name = std::string("Write of ") + kind,
                       .prepare = [&w, load = loaded(kind)] { load(), trtest::WriteFileBytes(w.Out(), "old"); },
                       .run = [&w, text] {
                           ::SetLastError(0xdeadbeef);
                           const int r = db->Write(w.Out());
                           const DWORD error = ::GetLastError();
                           const std::string now = Text(w.Out());
                           return Str(r) + " " + Str(error) + (now == text ? " whole" : now == "old" ? " old" : " cut"); },
                       .success = "1 0 whole", .failures = {"1 8 cut", "1 8 old"}});
    }
    return ops;
}

TEST(AllocationFailure, EveryOperationFailsCleanlyAtEachOfItsAllocations) {
    World world;
    ASSERT_TRUE(world.Ok());
    long pairs = 0, failed = 0;
    for (const Operation& op : Operations(world)) {
        SCOPED_TRACE(op.name);
        long allocations = 0, handles = 0;
        const auto run = [&](long failAt) {
            op.prepare();
            handles = trtest::HandleCount();
            TrAllocHookArm(failAt);
            std::string outcome;
            try {
                outcome = op.run();
            } catch (...) {
                outcome = "an exception came through";
            }
            allocations = TrAllocHookDisarm();
            handles = trtest::HandleCount() - handles;
            return outcome;
        };
        run(0);  // once first: what a process allocates only at its first use of a path
        ASSERT_EQ(op.success, run(0));
        const long count = allocations;
        for (long at = 1; at <= count; ++at) {
            const std::string outcome = run(at);
            const bool allowed = outcome == op.success ||
                                 std::find(op.failures.begin(), op.failures.end(), outcome) != op.failures.end();
            EXPECT_TRUE(allowed) << "allocation " << at << " of " << count << " failing gave: " << outcome;
            EXPECT_EQ(0, handles) << "handles left open with allocation " << at << " failing";
            EXPECT_EQ(op.success, run(0)) << "the run after allocation " << at << " failed";
            ++pairs;
            failed += outcome != op.success;
        }
        std::printf("%-72s %4ld allocations\n", op.name.c_str(), count);
    }
    std::printf("allocation failure injection: %ld (operation, allocation) pairs run, %ld ended in the failure "
                "result, the others in success\n", pairs, failed);
    EXPECT_GT(failed, 0);
}

}  // namespace
