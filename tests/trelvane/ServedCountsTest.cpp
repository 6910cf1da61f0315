// The server after a thousand served events: its kernel handles, GDI
// objects and windows are as many as before. GetGuiResources is a stub in
// Wine (0 for every process), so the GDI objects are counted in the
// process's own GDI handle table (its PEB's GdiSharedHandleTable, as Wine
// keeps it) and the USER side by the windows the process owns; on Windows
// GetGuiResources is printed too.
#include "ServerRun.h"

#include <winternl.h>

#include <cstdio>
#include <cstdlib>

namespace {

using trtest::NumeralRecord;
using trtest::RecorderPath;

// Entries of the GDI handle table that hold an object other than a stock one.
long GdiObjects(HANDLE process) {
    struct Entry {
        ULONGLONG object;
        ULONG owner;
        USHORT unique;  // bit 7: a stock object
        UCHAR type, flags;
        ULONGLONG user;
    };
    static_assert(sizeof(Entry) == 24, "GDI handle table entry on x64");
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG size = 0;
    void* table = nullptr;
    SIZE_T got = 0;
    constexpr std::size_t kTableAt = 0xF8;  // PEB.GdiSharedHandleTable on x64
    if (::NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), &size) ||
        !::ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + kTableAt, &table, sizeof(table),
                             &got) ||
        !table)
        return -1;
    std::vector<Entry> entries(0x4000);
    ::ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(Entry), &got);
    long n = 0;
    for (std::size_t i = 0; i < got / sizeof(Entry); ++i) n += entries[i].type && !(entries[i].unique & 0x80);
    return n;
}

long WindowsOf(DWORD pid) {
    struct Count {
        DWORD pid;
        long n;
    } count = {pid, 0};
    ::EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(h, &owner);
            auto* c = reinterpret_cast<Count*>(p);
            if (owner != c->pid) return TRUE;
            ++c->n;
            ::EnumChildWindows(
                h,
                [](HWND, LPARAM q) -> BOOL {
                    ++reinterpret_cast<Count*>(q)->n;
                    return TRUE;
                },
                p);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.n;
}

struct Counts {
    long handles, gdi, windows;
    DWORD guiGdi, guiUser;
};

Counts Measure(DWORD pid) {
    const tr::Handle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    return {trtest::HandleCountOf(pid), GdiObjects(process.Get()), WindowsOf(pid),
            ::GetGuiResources(process.Get(), GR_GDIOBJECTS), ::GetGuiResources(process.Get(), GR_USEROBJECTS)};
}

TEST(ServedCounts, AThousandServedEventsLeaveTheServersHandlesGdiObjectsAndWindowsFlat) {
    trtest::LookupSandbox box;
    trtest::Recorder recorder;
    for (const char* family : {"SKeyConfig", "USBConfig"}) ASSERT_TRUE(trtest::SetUserValue(family, "InfoDialog", 0));
    ASSERT_TRUE(trtest::SetUserValue("USBConfig", "Enable", 1));
    box.Write("SKeyData.dat", NumeralRecord("Rec", 0x0201, RecorderPath(), "key") +
                                  NumeralRecord("Gone", 0x0203, "C:\\no such\\program.exe"));
    box.Write("USBData.dat", trtest::StringRecord("Stick", "VID_1234&PID_5678", RecorderPath(), "usb"));
    trtest::RunningServer server;
    ASSERT_TRUE(server.Started()) << server.Log();
    // Every tenth event a key without a program (a balloon and an event log
    // line), every third a plugged-in device, the others a key.
    int started = 0, problems = 0;
    const auto serve = [&](int i) {
        if (i % 10 == 9) {
            { const trtest::Keys press("Win+F3"); }
            return server.WaitFor("problem: skey 3", ++problems, 20000);
        }
        if (i % 3 == 0) {
            trtest::SendInterfaceArrival(server.Window(), trtest::kUsbInterfaceClass,
                                         "\\\\?\\USB#VID_1234&PID_5678#SN1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}");
        } else {
            const trtest::Keys press("Win+F1");
        }
        return server.WaitFor(": started \"", ++started, 20000);
    };
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(serve(i)) << i << "\n" << server.Log();  // caches settle first
    ::Sleep(1000);
    const Counts before = Measure(server.Pid());
    const int startedBefore = started, problemsBefore = problems;
    const char* env = std::getenv("TR_SERVED_EVENTS");
    const int events = env ? std::atoi(env) : 1000;
    for (int i = 0; i < events; ++i) ASSERT_TRUE(serve(i)) << "event " << i;
    ::Sleep(1000);  // the last recorder has ended
    const Counts after = Measure(server.Pid());
    std::printf("Trelvane.exe before and after %d served events (%d started, %d reported): kernel handles %ld -> %ld, "
                "GDI objects %ld -> %ld, windows %ld -> %ld; GetGuiResources GDI %lu -> %lu, USER %lu -> %lu\n",
                events, started - startedBefore, problems - problemsBefore, before.handles, after.handles, before.gdi, after.gdi,
                before.windows, after.windows, before.guiGdi, after.guiGdi, before.guiUser, after.guiUser);
    EXPECT_GT(before.handles, 0);
    EXPECT_LE(after.handles, before.handles + 2);
    EXPECT_GE(before.gdi, 0);
    EXPECT_LE(after.gdi, before.gdi);
    EXPECT_EQ(before.windows, after.windows);
    EXPECT_LE(after.guiGdi, before.guiGdi);
    EXPECT_LE(after.guiUser, before.guiUser);
    EXPECT_EQ(0, server.Stop());
}

}  // namespace
