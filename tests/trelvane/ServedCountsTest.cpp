// The server after a thousand served events: its kernel handles, GDI
// objects and windows are as many as before. GetGuiResources is a stub in
// Wine (0 for every process), so the GDI objects are counted in the
// process's own GDI handle table and the USER side by the windows the
// process owns; on Windows GetGuiResources is printed too.
#include "ServerRun.h"

#include <cstdio>
#include <cstdlib>

namespace {

using trtest::NumeralRecord;
using trtest::RecorderPath;

constexpr char kStick[] = "\\\\?\\USB#VID_1234&PID_5678#SN1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

struct Counts {
    long handles, gdi, windows;
    DWORD guiGdi, guiUser;
};

Counts Measure(DWORD pid) {
    const tr::Handle process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
    return {trtest::HandleCountOf(pid), trtest::GdiTableCountOf(pid), trtest::WindowCountOf(pid),
            ::GetGuiResources(process.Get(), GR_GDIOBJECTS), ::GetGuiResources(process.Get(), GR_USEROBJECTS)};
}

TEST(ServedCounts, AThousandServedEventsLeaveTheServersHandlesGdiObjectsAndWindowsFlat) {
    trtest::LookupSandbox box;
    trtest::Recorder recorder;
    ASSERT_TRUE(trtest::ServeAtOnce());
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
            trtest::SendArrival(server.Window(), trtest::InterfaceArrival(trtest::kUsbInterfaceClass, kStick));
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
