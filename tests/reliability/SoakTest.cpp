// Contention soak: four processes (this one and three child copies) race on
// the shared block (registering, looking up and deleting the server and
// client windows) and on one numeral-key data file (Load, change and Write,
// and lookups through the exports), --tr-count=<n> operations each (the full
// soak: 10,000) within two minutes. Every call must give a result its Part
// defines and none may wait: the block's lock is a try-lock, so a call that
// takes seconds hangs. A block field must always hold 0 or a window one of the
// four registered, and every Load that succeeds must see one whole version of
// the file: each writer stamps its own version into every record, so a mix of
// two versions or a cut file shows.
#include "TrTestSupport.h"
#include "tests/lookup/LookupTestData.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using trtest::NumeralRecord;

constexpr int kCiOperations = 400;
constexpr DWORD kDeadlineMs = 120000;  // for all the operations of one process
constexpr double kHangMs = 5000;       // no operation may take this long
constexpr int kChildren = 3;
constexpr int kRecords = 12;
constexpr DWORD kFirstKey = 0x0100;  // PPK events 0x0100 to 0x010B
constexpr char kWindowClass[] = "TrSoakWindow";

std::string Title(int i) { return "app" + std::to_string(i); }

// The data file of one version: every record carries the stamp.
std::string FileOfVersion(const std::string& stamp) {
    std::string text = ";soak\r\n";
    for (int i = 0; i < kRecords; ++i) {
        char record[160];
        std::snprintf(record, sizeof(record),
                      "Title:%s\r\nDescription:%s\r\nPath:C:\\%s.exe\r\nWorkDir:\r\nOption:\r\nKey:%08lX\r\n",
                      Title(i).c_str(), stamp.c_str(), Title(i).c_str(), static_cast<unsigned long>(kFirstKey + i));
        text += record;
    }
    return text;
}

bool IsStamp(const std::string& text) {
    unsigned long pid = 0, seq = 0;
    char end = 0;
    return std::sscanf(text.c_str(), "v%lu.%lu%c", &pid, &seq, &end) == 2;
}

// True when a loaded database is one whole version: every record in its
// place, all with the same stamp.
bool WholeVersion(CTrNumeralKeyDB& db) {
    if (db.GetDataNumber() != kRecords) return false;
    std::string stamp;
    int i = 0;
    for (const CTrNumeralKeyData* r = db.Read(1); r; r = db.Read(0), ++i) {
        if (i >= kRecords || r->GetKey() != kFirstKey + i || r->GetTitle() != Title(i)) return false;
        if (i == 0) stamp = r->GetDescription();
        if (r->GetDescription() != stamp) return false;
    }
    return i == kRecords && IsStamp(stamp);
}

// A block field's value: 0, or a window of one of the soaking processes.
bool WrittenBySome(HWND h) {
    char cls[32] = "";
    return !h || (::GetClassNameA(h, cls, sizeof(cls)) && !std::strcmp(cls, kWindowClass));
}

enum Kind { kSetServer, kSetClient, kGetServer, kGetClient, kProbe, kDelete, kLoad, kWrite, kLookup, kKinds };
constexpr const char* kKindNames[kKinds] = {"set server", "set client", "get server", "get client", "probe",
                                            "delete",     "load",       "write",      "lookup"};
// How often each kind comes, out of the sum.
constexpr int kWeights[kKinds] = {1, 3, 3, 3, 1, 1, 3, 2, 3};

// The outcome of one operation: as its Part says on success, a failure its
// Part defines (a busy lock, a file held by another process), or anything else.
enum Outcome { kOk, kRefused, kWrong, kOutcomes };

// The data file the processes race on.
const std::string& DataFile() {
    static const std::string path = [] {
        char folder[MAX_PATH] = "";
        TrComGetPath(TR_PATH_DATA_DIR, folder);
        return std::string(folder) + "\\PPKData.dat";
    }();
    return path;
}

// One soaking process: its two windows, its operations and their tallies.
class Soaker {
public:
    Soaker() : m_seed(::GetCurrentProcessId() * 2654435761u) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA, wc.lpszClassName = kWindowClass;
        ::RegisterClassA(&wc);
        for (tr::Window* w : {&m_server, &m_client})
            w->Reset(::CreateWindowA(kWindowClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    }
    bool Ready() const { return m_server && m_client; }

    void Run(int operations) {
        const ULONGLONG start = ::GetTickCount64();
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        for (; m_done < operations && ::GetTickCount64() - start < kDeadlineMs; ++m_done) {
            const Kind kind = NextKind();
            LARGE_INTEGER t0, t1;
            ::QueryPerformanceCounter(&t0);
            ++m_tallies[kind][Do(kind)];
            ::QueryPerformanceCounter(&t1);
            const double ms = (t1.QuadPart - t0.QuadPart) * 1000.0 / frequency.QuadPart;
            if (ms > m_slowestMs) m_slowestMs = ms;
            Pump();
        }
        m_seconds = (::GetTickCount64() - start) / 1000.0;
    }

    bool Clean(int operations) const {
        int wrong = 0;
        for (const auto& t : m_tallies) wrong += t[kWrong];
        return !wrong && m_done == operations && m_slowestMs < kHangMs;
    }

    std::string Report(const std::string& who) const {
        char line[200];
        std::snprintf(line, sizeof(line), "%s (%lu): %d operations in %.1f s, slowest %.0f ms, %d rewrite messages;",
                      who.c_str(), ::GetCurrentProcessId(), m_done, m_seconds, m_slowestMs, m_rewrites);
        std::string text = line;
        for (int k = 0; k < kKinds; ++k) {
            const int* t = m_tallies[k];
            std::snprintf(line, sizeof(line), " %s %d/%d/%d", kKindNames[k], t[kOk], t[kRefused], t[kWrong]);
            text += line;
        }
        return text + " (ok/refused/wrong)\n";
    }

private:
    Kind NextKind() {
        m_seed = m_seed * 1103515245u + 12345u;
        int pick = static_cast<int>((m_seed >> 16) % 20);
        int k = 0;
        while (pick >= kWeights[k]) pick -= kWeights[k++];
        return static_cast<Kind>(k);
    }

    // 1 or 0 as the block's exports give them, with a field read back.
    static Outcome BlockResult(int result) { return result == 1 ? kOk : result == 0 ? kRefused : kWrong; }
    static Outcome Read(int (*get)(HWND*)) {
        HWND h = reinterpret_cast<HWND>(0xdead);
        const int result = get(&h);
        if (result == 0) return h == reinterpret_cast<HWND>(0xdead) ? kRefused : kWrong;
        return result == 1 && WrittenBySome(h) ? kOk : kWrong;
    }

    Outcome Do(Kind kind) {
        switch (kind) {
        case kSetServer: return BlockResult(TrComSetServer(m_server.Get()));
        case kSetClient: return BlockResult(TrComSetClient(m_client.Get()));
        case kGetServer: return Read(&TrComGetServer);
        case kGetClient: return Read(&TrComGetClient);
        case kProbe: return BlockResult(TrComCreateSharedMemory());
        case kDelete: return TrComDeleteSharedMemory() == 1 ? kOk : kWrong;
        case kLoad: {
            CTrNumeralKeyDB db;
            const int result = db.Load(DataFile());
            return result == 1 ? kRefused : result == 0 && WholeVersion(db) ? kOk : kWrong;
        }
        case kWrite: return Write();
        case kLookup: {
            const int i = static_cast<int>((m_seed >> 8) % kRecords);
            TR_APP_DATA_STRUC block = trtest::Marked();
            if (!TrComGetAppDataOfKalvorEvent(&block, kFirstKey + i))
                return trtest::Untouched(block) ? kRefused : kWrong;
            return block.szTitle == Title(i) && IsStamp(block.szDescription) ? kOk : kWrong;
        }
        default: return kWrong;
        }
    }

    // A new version: loaded whole, every record stamped, written back. A
    // completed Write gives 0, or 1 with the last error ERROR_SUCCESS where
    // Write reports its result that way; a refused one 1 with the error.
    Outcome Write() {
        CTrNumeralKeyDB db;
        const int loaded = db.Load(DataFile());
        if (loaded == 1) return kRefused;
        if (loaded != 0 || !WholeVersion(db)) return kWrong;
        const std::string stamp = "v" + std::to_string(::GetCurrentProcessId()) + "." + std::to_string(++m_versions);
        for (int i = 0; i < kRecords; ++i) db.Find(kFirstKey + i)->SetDescription(stamp);
        ::SetLastError(0xdeadbeef);
        const int written = db.Write(DataFile());
        const DWORD error = ::GetLastError();
        if (written == 0 || (written == 1 && error == ERROR_SUCCESS)) return kOk;
        return written == 1 && (error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED) ? kRefused : kWrong;
    }

    // Rewrite messages for this process's client window.
    void Pump() {
        static const UINT rewrite = ::RegisterWindowMessageA(TR_MSG_REWRITE_WINDOW_NAME);
        for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ::DispatchMessageA(&msg))
            m_rewrites += msg.message == rewrite;
    }

    tr::Window m_server, m_client;
    unsigned m_seed;
    int m_tallies[kKinds][kOutcomes] = {};
    int m_done = 0, m_versions = 0, m_rewrites = 0;
    double m_slowestMs = 0, m_seconds = 0;
};

// One of the other three processes. args: operations, the start event, the
// report file, its number. It keeps its windows until released, so every window value
// stays readable until all four are done. Exit 0 when its soak was clean.
TR_CHILD_ROLE(soak) {
    Soaker soaker;
    tr::Handle start(::OpenEventA(SYNCHRONIZE, FALSE, args.at(1).c_str()));
    if (!soaker.Ready() || !start) return 2;
    trtest::SignalReady();
    if (::WaitForSingleObject(start.Get(), 60000) != WAIT_OBJECT_0) return 3;
    const int operations = std::stoi(args.at(0));
    soaker.Run(operations);
    const std::string& report = args.at(2);
    if (!trtest::WriteFileBytes(report + ".part", soaker.Report("child copy " + args.at(3))) ||
        !::MoveFileExA((report + ".part").c_str(), report.c_str(), MOVEFILE_REPLACE_EXISTING))
        return 4;
    trtest::WaitForRelease(kDeadlineMs);
    return soaker.Clean(operations) ? 0 : 1;
}

TEST(ContentionSoak, FourProcessesOnTheSharedBlockAndOneDataFileOnlySeeWholeValues) {
    const int operations = trtest::CountArg(kCiOperations);
    trtest::LookupSandbox box;
    ASSERT_TRUE(box.Write("PPKData.dat", FileOfVersion("v0.0")));
    trtest::TempFolder reports;
    const std::string startName = "TrSoak start " + std::to_string(::GetCurrentProcessId());
    const tr::Handle start(::CreateEventA(nullptr, TRUE, FALSE, startName.c_str()));
    std::vector<trtest::Child> children(kChildren);
    for (int i = 0; i < kChildren; ++i) {
        ASSERT_TRUE(children[i].Start("soak", {std::to_string(operations), startName, reports / std::to_string(i),
                                               std::to_string(i + 1)}));
        ASSERT_TRUE(children[i].WaitReady()) << "child ended with " << children[i].Wait();
    }
    Soaker soaker;
    ASSERT_TRUE(soaker.Ready());
    ::SetEvent(start.Get());
    soaker.Run(operations);

    // The others report when done, then wait to be released.
    std::string lines = soaker.Report("test process");
    for (int i = 0; i < kChildren; ++i) {
        std::string line;
        for (const ULONGLONG begin = ::GetTickCount64();
             !trtest::ReadFileBytes(reports / std::to_string(i), line) && ::GetTickCount64() - begin < kDeadlineMs;)
            ::Sleep(50);
        lines += line.empty() ? "child " + std::to_string(i) + ": no report\n" : line;
    }
    std::printf("contention soak, %d operations in each of 4 processes:\n%s", operations, lines.c_str());
    EXPECT_TRUE(soaker.Clean(operations)) << lines;
    for (trtest::Child& child : children) EXPECT_EQ(0, child.Wait(10000)) << lines;

    // What is left: one whole version, and nothing beside it.
    CTrNumeralKeyDB db;
    EXPECT_TRUE(db.Load(DataFile()) == 0 && WholeVersion(db));
    EXPECT_FALSE(TrComPathFileExists((DataFile() + "~").c_str()));
}

}  // namespace
