// Leak sweep: every export over and over in one process, on its success paths
// and on its failure paths (a data file missing or held open, a key missing,
// the shared block's lock held, bad input), then the same in a child copy of
// this program in a folder without TrLocale.DLL; each dialog opened and
// closed, and a real program launched, a fiftieth as often. The process's
// kernel handles, GDI and USER objects must end within 2 of where they began
// and its private bytes grow by less than 1 MB, and every call must give the
// same result every round. --tr-count=<n>: the rounds (the full sweep: 10,000).
#include "TrTestSupport.h"
#include "tests/lookup/LookupTestData.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

namespace {

using trtest::NumeralRecord;
using trtest::StringRecord;

constexpr int kCiRounds = 50;
constexpr int kDialogShare = 50;  // dialogs and launches: one round in this many
constexpr long kObjectSlack = 2;
constexpr std::size_t kPrivateSlack = 1 << 20;
constexpr int kWrongOutput = -99;  // a result whose out-values are not as the Part says

struct Figures {
    long handles, gdi, user;
    std::size_t privateBytes;
    static Figures Now() {
        return {trtest::HandleCount(), trtest::GdiObjectCount(), trtest::UserObjectCount(), trtest::PrivateBytes()};
    }
};

bool Within(const Figures& before, const Figures& after) {
    const auto close = [](long a, long b) { return a >= 0 && b >= 0 && (a > b ? a - b : b - a) <= kObjectSlack; };
    return close(before.handles, after.handles) && close(before.gdi, after.gdi) && close(before.user, after.user) &&
           after.privateBytes < before.privateBytes + kPrivateSlack;
}

std::string Show(const Figures& b, const Figures& a) {
    char text[256];
    std::snprintf(text, sizeof(text),
                  "handles %ld -> %ld, GDI %ld -> %ld, USER %ld -> %ld, private bytes %zu KB -> %zu KB", b.handles,
                  a.handles, b.gdi, a.gdi, b.user, a.user, b.privateBytes / 1024, a.privateBytes / 1024);
    return text;
}

// One call of an export (or an exported class) on one path, and the result
// it must give: its Part's result, or kWrongOutput when an out-value is off.
struct Call {
    std::string name;
    std::function<int()> run;
    int expect;
};

// The out-values are checked after the call, whatever order the arguments
// are evaluated in.
template <class Check>
int Checked(int result, Check outputsRight) {
    return outputsRight() ? result : kWrongOutput;
}

// Holds a file open without sharing, as another process would.
tr::Handle HoldFile(const std::string& path) {
    return tr::Handle(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

// The places the calls work on, and what this process made for them.
struct Place {
    explicit Place(bool withLocale) : databasesOpen(withLocale) {
        char folder[MAX_PATH] = "";
        TrComGetPath(TR_PATH_DATA_DIR, folder);
        data = folder;
    }
    std::string data;                   // the user's data folder
    trtest::TempFolder scratch;         // files of this process
    HWND server = nullptr;              // registered as the server, in the parent
    bool databasesOpen;                 // false without TrLocale.DLL: every lookup fails to open
    std::string Data(const char* name) const { return data + "\\" + name; }
};

// Data files of the sweep: every lookup family has a record it finds, except
// that SKeyData.dat is missing and JPPKData.dat lacks the key asked for.
void MakeDataFiles(const trtest::LookupSandbox& box) {
    ASSERT_TRUE(box.Write("PPKData.dat", NumeralRecord("ppk", 0x0101)) &&
                box.Write("FPData.dat", NumeralRecord("slot", 0x0301) + NumeralRecord("media", 0x01000301)) &&
                box.Write("TimrData.dat", NumeralRecord("timer", 0x02000000)) &&
                box.Write("JPPKData.dat", NumeralRecord("other", 0x03000001)) &&
                box.Write("USBData.dat", StringRecord("usb", "VID_1&PID_2")) &&
                box.Write("JogData.dat", "Title:Tools\r\nDescription:d\r\nLevel:0\r\nTitle:Calc\r\nDescription:d\r\n"
                                         "Level:1\r\nPath:C:\\c.exe\r\nWorkDir:\r\nOption:\r\n"));
}

// A Win98 device description, from operator new as the lookup releases it.
void FreeDevice(DWORD_PTR device) {
    auto* info = reinterpret_cast<TR_REG_INFO_STRUC*>(device);
    ::operator delete(info->pszRegPath);
    ::operator delete(info);
}
DWORD_PTR UsbDevice(const char* path) {
    char* text = static_cast<char*>(::operator new(std::strlen(path) + 1));
    std::strcpy(text, path);
    return reinterpret_cast<DWORD_PTR>(new (::operator new(sizeof(TR_REG_INFO_STRUC)))
                                           TR_REG_INFO_STRUC{0, 0, 0, text});
}

int Lookup(const std::function<int(TR_APP_DATA_STRUC*)>& lookup, const char* title) {
    TR_APP_DATA_STRUC block = trtest::Marked();
    const int ok = lookup(&block);
    return Checked(ok, [&] { return ok ? std::string(block.szTitle) == title : trtest::Untouched(block); });
}

std::string ProductKey(const char* sub) { return std::string(trtest::kProductKey) + "\\" + sub; }
const HKEY kUser = HKEY_CURRENT_USER;

// A settings pair over 1 to 5 values: written (key made), read back, read
// over a missing key, and written with no key path.
template <class Read, class Write>
void AddSettings(std::vector<Call>& calls, const char* family, Read read, Write write) {
    const std::string key = ProductKey(family), missing = ProductKey("Missing");
    calls.push_back({std::string(family) + " write", [=] { return write(key.c_str()); }, 1});
    calls.push_back({std::string(family) + " read", [=] { return read(key.c_str()); }, 1});
    calls.push_back({std::string(family) + " read, no key", [=] { return read(missing.c_str()); }, 0});
    calls.push_back({std::string(family) + " write, no key path", [=] { return write(nullptr); }, 0});
}

// Every export on its paths. The results are the Part's where TrLocale.DLL
// is there (the child without it checks them against its first round).
std::vector<Call> ExportCalls(Place& place) {
    std::vector<Call> calls;
    const auto add = [&](std::string name, std::function<int()> run, int expect) {
        calls.push_back({std::move(name), std::move(run), expect});
    };

    // The shared block: registered by this process's server, so present.
    add("block: client set", [&place] { return TrComSetClient(place.server); }, 1);
    add("block: server got",
        [&place] { HWND h = nullptr; return Checked(TrComGetServer(&h), [&] { return h == place.server; }); }, 1);
    add("block: client got",
        [&place] { HWND h = nullptr; return Checked(TrComGetClient(&h), [&] { return h == place.server; }); }, 1);
    add("block: probed while present", [] { return TrComCreateSharedMemory(); }, 0);
    add("block: second server", [] { return TrComSetServer(reinterpret_cast<HWND>(0x1234)); }, 0);
    add("block: lock held", [] {
        tr::Handle lock(::CreateMutexA(nullptr, TRUE, "TrCommon1999 Mutex"));
        HWND h = reinterpret_cast<HWND>(0x77);
        const int sum = TrComCreateSharedMemory() + TrComSetServer(h) + TrComSetClient(h) + TrComGetServer(&h) +
                        TrComGetClient(&h) + TrComDeleteSharedMemory();
        ::ReleaseMutex(lock.Get());
        return Checked(sum, [&] { return h == reinterpret_cast<HWND>(0x77); });  // Delete alone gives 1
    }, 1);

    // Paths and platform.
    add("path appended", [] {
        char b[MAX_PATH] = "C:\\a";
        return Checked(TrComPathAppend(b, "b"), [&] { return !std::strcmp(b, "C:\\a\\b"); });
    }, 1);
    add("path too long",
        [] { char b[MAX_PATH] = "C:\\"; std::memset(b + 3, 'x', 250); return TrComPathAppend(b, "123456789"); }, 0);
    add("file exists", [&place] { return TrComPathFileExists(place.Data("PPKData.dat").c_str()) != 0; }, 1);
    add("file missing", [&place] { return TrComPathFileExists(place.Data("SKeyData.dat").c_str()); }, 0);
    add("folder made", [&place] {
        const std::string folder = place.scratch / "made\\deeper";
        const int made = TrComCreateDirectory(folder.c_str());
        return Checked(made, [&] {
            return ::RemoveDirectoryA(folder.c_str()) && ::RemoveDirectoryA((place.scratch / "made").c_str());
        });
    }, 1);
    add("folder refused", [] { return TrComCreateDirectory("NoRoot"); }, 0);
    add("os",
        [] { DWORD os = 0, ex = 0; return Checked(TrComGetOS(&os) + TrComGetOSEx(&ex), [&] { return os && ex; }); }, 2);
    add("os, no output", [] { return TrComGetOS(nullptr) + TrComGetOSEx(nullptr); }, 0);
    add("product paths, one index a round", [index = 0]() mutable {
        char path[MAX_PATH] = "";
        const int got = TrComGetPath(index, path);
        index = (index + 1) % TR_PATH_COUNT;
        return Checked(got, [&] { return path[0] != '\0'; });
    }, 1);
    add("product path out of range", [] {
        char path[MAX_PATH] = "x";
        return Checked(TrComGetPath(TR_PATH_COUNT, path), [&] { return path[0] == 'x'; });
    }, 0);

    // Settings, each family's pair.
    AddSettings(calls, "XbusConfig",
                [](const char* k) { DWORD v[5]; return TrXbusCfgRead(kUser, k, v, v + 1, v + 2, v + 3, v + 4); },
                [](const char* k) { return TrXbusCfgWrite(kUser, k, 1, 1, 1, 1, 5); });
    AddSettings(calls, "XbusCaution", [](const char* k) { DWORD v; return TrXbusConfigCautionRead(kUser, k, &v); },
                [](const char* k) { return TrXbusConfigCautionWrite(kUser, k, 1); });
    AddSettings(calls, "JogConfig", [](const char* k) {
        DWORD v[6];
        return TrJogCfgReadDirection(kUser, k, v, v + 1) & TrJogCfgReadAutoCloseTimer(kUser, k, v + 2) &
               TrJogCfgReadPPPKInfoDlgTime(kUser, k, v + 3) & TrJogCfgReadJogLED(kUser, k, v + 4) &
               TrJogCfgReadJogBack(kUser, k, v + 5);
    }, [](const char* k) {
        return TrJogCfgWriteDirection(kUser, k, 1, 1) & TrJogCfgWriteAutoCloseTimer(kUser, k, 10) &
               TrJogCfgWritePPPKInfoDlgTime(kUser, k, 5) & TrJogCfgWriteJogLED(kUser, k, 1) &
               TrJogCfgWriteJogBack(kUser, k, 1);
    });
    AddSettings(calls, "SKeyConfig", [](const char* k) { DWORD v; return TrSKeyCfgRead(kUser, k, &v); },
                [](const char* k) { return TrSKeyCfgWrite(kUser, k, 5); });
    AddSettings(calls, "TimerConfig", [](const char* k) { DWORD v; return TrTimerCfgRead(kUser, k, &v); },
                [](const char* k) { return TrTimerCfgWrite(kUser, k, 5); });
    AddSettings(calls, "FlashpodConfig", [](const char* k) {
        DWORD v[6];
        return TrFPCfgRead(kUser, k, v, v + 1, v + 2) & TrFPDriveRead(kUser, k, v + 3, v + 4) &
               TrFPCfgOptionRead(kUser, k, v + 5);
    }, [](const char* k) {
        return TrFPCfgWrite(kUser, k, 1, 1, 5) & TrFPDriveWrite(kUser, k, 4, 2) &
               TrFPCfgOptionWrite(kUser, k, 1);
    });
    AddSettings(calls, "PPKConfig", [](const char* k) { DWORD v[3]; return TrPPKCfgRead(kUser, k, v, v + 1, v + 2); },
                [](const char* k) { return TrPPKCfgWrite(kUser, k, 1, 1, 5); });
    AddSettings(calls, "USBConfig", [](const char* k) { DWORD v[3]; return TrUSBCfgRead(kUser, k, v, v + 1, v + 2); },
                [](const char* k) { const DWORD one = 1; return TrUSBCfgWrite(kUser, k, &one, &one, 5); });
    // After the writes above: a family whose values are all there, and one without any.
    add("registry values", [] { TR_REG_VALUE_OF_KIND<TR_REG_KIND_FLASHPOD> v{}; return TrComGetRegValue(&v); }, 1);
    add("registry values, one missing",
        [] { TR_REG_VALUE_OF_KIND<TR_REG_KIND_TIMER> v{}; return TrComGetRegValue(&v); }, 0);
    const std::string wave = place.scratch / "roll.wav", ini = place.scratch / "Sound.ini",
                      sounds = ProductKey("JogConfig");
    trtest::WriteFileBytes(wave, "RIFF");
    trtest::WriteFileBytes(ini, "[JogSound]\r\nRoll=" + wave + "\r\nPush=" + wave + "\r\n");
    add("sounds written", [=] { return TrJogCfgWriteSound(kUser, sounds.c_str(), wave.c_str(), wave.c_str()); }, 1);
    add("sounds read", [=] {
        std::string r, p;
        return Checked(TrJogCfgReadSound(kUser, sounds.c_str(), r, p), [&] { return r == wave && p == wave; });
    }, 1);
    add("sounds, none given", [=] { return TrJogCfgWriteSound(kUser, sounds.c_str(), nullptr, wave.c_str()); }, 0);
    add("default sounds", [=] { std::string r, p; return TrJogCfgGetDefaultSound(0, ini.c_str(), r, p); }, 1);
    add("default sounds, no profile",
        [=] { std::string r, p; return TrJogCfgGetDefaultSound(0, (ini + "x").c_str(), r, p); }, 0);
    add("wave file", [=] { return TrJogCfgIsWaveFile(wave.c_str()) + TrJogCfgIsWaveFile(ini.c_str()); }, 1);

    // Per-user setup and the jukebox companion (which does not run).
    add("machine settings copied", [] { return TrComCopyRegKeyToCurrentUser(FALSE); }, 1);
    add("data files copied", [] { return TrComCopyDataToUserFolder(FALSE); }, 1);
    add("user rights", [] { DWORD r = 0; return Checked(TrComCheckUserRight(&r), [&] { return r != 0; }); }, 1);
    add("user rights, no output", [] { return TrComCheckUserRight(nullptr); }, 0);
    // Not running; no tray value, so that answer stays untouched.
    add("jukebox", [] {
        BOOL a = 2, b = 2;
        return Checked(TrComExistLyraneJukebox(&a) + TrComExistLyraneJukeboxInTaskTray(&b),
                       [&] { return !a && b == 2; });
    }, 1);
    add("jukebox, no output",
        [] { return TrComExistLyraneJukebox(nullptr) + TrComExistLyraneJukeboxInTaskTray(nullptr); }, 0);

    // Lookups: found, key missing, file missing, file held open, bad input.
    const auto kalvor = [](DWORD code, const char* title) {
        return [=] { return Lookup([=](auto b) { return TrComGetAppDataOfKalvorEvent(b, code); }, title); };
    };
    add("ppk found", kalvor(0x0101, "ppk"), 1);
    add("ppk, key missing", kalvor(0x0102, ""), 0);
    add("skey, file missing", kalvor(0x0201, ""), 0);
    add("ppk, file held open", [&place, ppk = kalvor(0x0101, "")] {
        const tr::Handle held = HoldFile(place.Data("PPKData.dat"));
        return Checked(ppk(), [&] { return held.Valid(); });
    }, 0);
    add("family outside the table", kalvor(0x0401, ""), 0);
    add("slot found", [] { return Lookup(TrComGetAppDataOfFPSlot, "slot"); }, 1);
    add("timer found", [] { return Lookup(TrComGetAppDataOfTimer, "timer"); }, 1);
    add("jog ppk, key missing", [] { return Lookup(TrComGetAppDataOfJogPPK, ""); }, 0);
    add("media found",
        [] { return Lookup([](auto b) { return TrComGetAppDataOfPnPEvent(b, TR_PNP_FPMEDIA, 0); }, "media"); }, 1);
    // The lookup releases the device only once it reaches an open database,
    // which it never does without TrLocale.DLL: the memory is then ours.
    const auto usb = [&place](const char* path, const char* title) {
        const DWORD_PTR device = UsbDevice(path);
        const int found = Lookup([&](auto b) { return TrComGetAppDataOfPnPEvent(b, TR_PNP_USB, device); }, title);
        if (!place.databasesOpen) FreeDevice(device);
        return found;
    };
    add("usb found", [=] { return usb("USB\\VID_1&PID_2\\7", "usb"); }, 1);
    add("usb, key missing", [=] { return usb("USB\\VID_9&PID_9\\7", ""); }, 0);
    add("lookups, no block", [] {
        return TrComGetAppDataOfKalvorEvent(nullptr, 0x0101) + TrComGetAppDataOfTimer(nullptr) +
               TrComGetAppDataOfJogPPK(nullptr) + TrComGetAppDataOfFPSlot(nullptr) +
               TrComGetAppDataOfPnPEvent(nullptr, TR_PNP_FPMEDIA, 0);
    }, 0);
    add("jog menu", [] {
        int count = 0, all = 0;
        TR_JOG_DATA_STRUC entry = {};
        const int ok = TrComJogDataGetCount(&count) + TrComJogDataGetAllItems(&all) + TrComJogDataGetAt(&entry, 1);
        return Checked(ok, [&] { return count == 1 && all == 2 && !std::strcmp(entry.szTitle, "Calc"); });
    }, 3);
    add("jog menu, index outside",
        [] { TR_JOG_DATA_STRUC e; return TrComJogDataGetAt(&e, 2) + TrComJogDataGetAt(&e, -1); }, 0);
    add("jog menu, file held open", [&place] {
        const tr::Handle held = HoldFile(place.Data("JogData.dat"));
        int count = 7;
        return Checked(TrComJogDataGetCount(&count), [&] { return held.Valid() && count == 0; });
    }, 0);

    // Icons (the caller destroys them), launches that are refused, dialogs
    // that refuse bad input.
    add("icons", [] {
        int made = 0;
        for (const char* path : {"C:\\windows\\system32\\notepad.exe", "C:\\no\\such.exe"}) {
            HICON icon = nullptr;
            made += TrComGetIconHandle(&icon, path, made % 2) && ::DestroyIcon(icon);
        }
        return made;
    }, 2);
    add("icon, no output", [] { return TrComGetIconHandle(nullptr, "C:\\no\\such.exe", TRUE); }, 0);
    add("launch, file missing", [] {
        TR_APP_DATA_STRUC d = {};
        std::strcpy(d.szPath, "C:\\no\\such\\program.exe");
        HANDLE h = reinterpret_cast<HANDLE>(1);
        return Checked(TrComLaunch(&h, &d), [&] { return !h; });
    }, 0);
    add("launch, no association", [&place] {
        TR_APP_DATA_STRUC d = {};
        std::snprintf(d.szPath, TR_TEXT_FIELD, "%s", place.Data("PPKData.dat").c_str());
        HANDLE h = nullptr;
        return TrComLaunch(&h, &d) + TrComLaunch(nullptr, &d);
    }, 0);
    add("dialogs refuse bad input", [] {
        TR_APP_DATA_STRUC d = {};
        int code = 5;
        return Checked(TrComDoModalInfoDlg(&code, &d, 0) + TrComDoModalInfoDlg(&code, &d, 100) +
                           TrComDoModalPastDlg(&code, &d, nullptr) +
                           TrComCreateWatchDlg(nullptr, 5, 1, "x", nullptr, 0),
                       [&] { return code == 5; });
    }, 0);

    // The exported classes: load, find, change and write; a missing file, a
    // file held open, a key missing.
    add("numeral-key database", [&place] {
        CTrNumeralKeyDB db;
        const int loaded = db.Load(place.Data("PPKData.dat"));
        CTrNumeralKeyData* found = db.Find(0x0101);
        if (found) found->SetOption("-x");
        db.Set(0x0102, CTrNumeralKeyData(7));
        db.Write(place.scratch / "ppk.dat");
        CTrNumeralKeyDB again;
        const bool written = again.Load(place.scratch / "ppk.dat") == 0 && again.Find(0x0102) && again.Find(0x0101);
        return Checked(loaded + db.Load(place.Data("SKeyData.dat")),
                       [&] { return found && !db.Find(0x0999) && written; });
    }, 1);
    add("numeral-key database, file held open", [&place] {
        const tr::Handle held = HoldFile(place.scratch / "ppk.dat");
        CTrNumeralKeyDB db;
        return Checked(db.Load(place.scratch / "ppk.dat") + db.Write(place.scratch / "ppk.dat"),
                       [&] { return held.Valid(); });
    }, 2);
    add("string-key database", [&place] {
        CTrStringKeyDB db;
        const int loaded = db.Load(place.Data("USBData.dat"));
        return Checked(
            loaded, [&] { return db.Find(std::string("VID_1&PID_2")) && !db.Find(std::string("none")) && db.Find(0); });
    }, 0);
    add("jog menu database", [&place] {
        CTrJogDataDB db;
        const int loaded = db.Load(place.Data("JogData.dat"));
        db.InsertTop(CTrJogData());
        db.Write(place.scratch / "jog.dat");
        CTrJogDataDB again;
        return Checked(loaded, [&] { return db.GetAllNumber() == 2 && again.Load(place.scratch / "jog.dat") == 0; });
    }, 0);
    add("refuse list", [&place] {
        CTrRefuseDB db;
        int open = -1;
        return Checked(db.IsInDB("x", place.scratch / "none.txt", open), [&] { return open == 1; });
    }, 0);
    add("finder", [] {
        CTrAppDataFinder finder;
        const int failed = finder.OpenDataBases(CTrAppDataFinder::kPPK | CTrAppDataFinder::kSKey);
        const bool found = finder.Find(0, 0x0101, 0, 0, 0, 0) && !finder.Find(0, 0x0201, 0, 0, 0, 0);
        return Checked(failed, [&] { return found && finder.CloseDataBases(); });
    }, CTrAppDataFinder::kSKey);
    return calls;
}

int Modal(const std::function<BOOL(int*)>& call) {
    int code = 0;
    const BOOL ok = trtest::CancellingDialogs([&] { return call(&code); });
    return Checked(ok, [&] { return code == IDCANCEL; });
}

// The dialogs opened and closed, and a real program launched.
std::vector<Call> DialogCalls(Place& place) {
    static const SYSTEMTIME kPast = {2024, 1, 1, 1, 12, 0, 0, 0};
    TR_APP_DATA_STRUC d = {};
    std::strcpy(d.szTitle, "title");
    std::strcpy(d.szPath, "C:\\no\\such\\app.exe");
    TR_APP_DATA_STRUC program = {};
    std::snprintf(program.szPath, TR_TEXT_FIELD, "%s", (trtest::SelfFolder() + "tr_recorder.exe").c_str());
    return {
        {"info dialog", [=] { return Modal([&](int* c) { return TrComDoModalInfoDlg(c, &d, 30); }); }, 1},
        {"past-time dialog", [=] { return Modal([&](int* c) { return TrComDoModalPastDlg(c, &d, &kPast); }); }, 1},
        {"watch window", [&place] {
            HWND h = nullptr;
            const BOOL ok = TrComCreateWatchDlg(&h, 5, 0x200002, "watch", nullptr, 0);
            const bool owned = ok && ::GetWindow(h, GW_OWNER) == place.server && ::DestroyWindow(h);
            for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageA(&msg);
            return Checked(ok, [&] { return owned; });
        }, 1},
        {"launch", [=] {
            HANDLE h = nullptr;
            const int ok = TrComLaunch(&h, &program);
            const bool ended = h && ::WaitForSingleObject(h, 20000) == WAIT_OBJECT_0 && ::CloseHandle(h);
            return Checked(ok, [&] { return ended; });
        }, 1},
    };
}

// Runs the calls 'rounds' times; each result is checked against the
// expected one, or against the first round's when 'firstRoundDecides'.
// Returns the failures as text (at most a few of them).
struct Round {
    Round(std::vector<Call>& c, bool firstDecides) : calls(c), firstRoundDecides(firstDecides) {}
    std::vector<Call>& calls;
    bool firstRoundDecides;
    std::vector<int> first;
    std::string failures;
    int failed = 0;

    void Run(int rounds) {
        for (int r = 0; r < rounds; ++r)
            for (std::size_t i = 0; i < calls.size(); ++i) {
                const int got = calls[i].run();
                if (first.size() <= i) first.push_back(got);
                const int want = firstRoundDecides ? first[i] : calls[i].expect;
                if (got == want || ++failed > 5) continue;
                failures += calls[i].name + ": " + std::to_string(got) + " (want " + std::to_string(want) + ")\n";
            }
    }
};

// The sweep of one process: warm-up rounds fill the system's caches (fonts,
// classes, the registry's), then the counted rounds. Prints and returns the
// figures' text; 'ok' tells whether they are within bounds and every
// result was right.
std::string Sweep(Place& place, int rounds, bool firstRoundDecides, bool& ok) {
    std::vector<Call> exports = ExportCalls(place), dialogs = DialogCalls(place);
    Round exportRounds(exports, firstRoundDecides), dialogRounds(dialogs, firstRoundDecides);
    exportRounds.Run(3);
    dialogRounds.Run(3);
    // The dialogs after every fiftieth round (and after the last of fewer);
    // the figures at each tenth of the rounds show a growth from a plateau.
    const Figures before = Figures::Now();
    std::string trace = "  at each tenth: GDI";
    int dialogsRun = 0;
    for (int r = 1; r <= rounds; ++r) {
        exportRounds.Run(1);
        if (r % kDialogShare == 0 || (rounds < kDialogShare && r == rounds)) dialogRounds.Run(1), ++dialogsRun;
        if (r * 10 % rounds < 10) trace += " " + std::to_string(trtest::GdiObjectCount()) + "/" +
                                          std::to_string(trtest::PrivateBytes() / 1024) + "K";
    }
    const Figures after = Figures::Now();
    ok = Within(before, after) && !exportRounds.failed && !dialogRounds.failed;
    char head[160];
    std::snprintf(head, sizeof(head),
                  "%d rounds of %zu export calls, %d rounds of %zu dialog and launch calls: ", rounds, exports.size(),
                  dialogsRun, dialogs.size());
    return head + Show(before, after) + "\n" + trace + " (GDI objects/private bytes)\n" + exportRounds.failures +
           dialogRounds.failures;
}

// The sweep beside no TrLocale.DLL: args[0] the rounds, args[1] where the
// figures go. Exit 0 when they are within bounds and every round agreed
// with the first.
TR_CHILD_ROLE(sweep_without_locale) {
    if (::GetModuleHandleA("TrLocale.DLL") || ::SearchPathA(nullptr, "TrLocale.DLL", nullptr, 0, nullptr, nullptr))
        return 90;
    Place place(false);
    bool ok = false;
    const std::string figures = Sweep(place, std::stoi(args.at(0)), true, ok);
    return trtest::WriteFileBytes(args.at(1), figures) && ok ? 0 : 1;
}

TEST(LeakSweep, EveryExportOverAndOverLeavesNoHandleObjectOrMemoryBehind) {
    const int rounds = trtest::CountArg(kCiRounds);
    trtest::LookupSandbox box;
    MakeDataFiles(box);
    Place place(true);
    ASSERT_FALSE(place.data.empty());
    const tr::Window server(
        ::CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr));
    place.server = server.Get();
    ASSERT_TRUE(place.server && TrComSetServer(place.server));

    // The dialogs load their icons with LoadIconA, and Wine keeps such shared
    // icons of every address TrLocale.DLL was ever loaded at until the process
    // ends: held here, it keeps one address. Let go after the rounds, it must
    // unload, so no call left it loaded.
    tr::Module held(::LoadLibraryA("TrLocale.DLL"));
    bool ok = false;
    const std::string figures = Sweep(place, rounds, false, ok);
    std::printf("leak sweep with TrLocale.DLL: %s", figures.c_str());
    EXPECT_TRUE(ok) << figures;
    held.Reset();
    EXPECT_EQ(nullptr, ::GetModuleHandleA("TrLocale.DLL"));

    // The same beside no TrLocale.DLL, in a child copy of this program.
    trtest::TempFolder alone;
    ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfPath(), alone / "sweep.exe") &&
                trtest::CopyFileTo(trtest::SelfFolder() + "TrCommon.dll", alone / "TrCommon.dll"));
    const int code = trtest::RunChild("sweep_without_locale", {std::to_string(rounds), alone / "figures.txt"},
                                      alone / "sweep.exe", INFINITE);
    std::string childFigures = "<none>";
    trtest::ReadFileBytes(alone / "figures.txt", childFigures);
    std::printf("leak sweep without TrLocale.DLL: %s", childFigures.c_str());
    EXPECT_EQ(0, code) << childFigures;

    // Deleting the block's windows last: afterwards the server is gone.
    const Figures before = Figures::Now();
    int deleted = 0;
    for (int i = 0; i < rounds; ++i) deleted += TrComDeleteSharedMemory();
    HWND left = reinterpret_cast<HWND>(1);
    EXPECT_TRUE(deleted == rounds && TrComGetServer(&left) && !left);
    const Figures after = Figures::Now();
    std::printf("leak sweep, %d deletions of the block's windows: %s\n", rounds, Show(before, after).c_str());
    EXPECT_TRUE(Within(before, after));
}

}  // namespace
