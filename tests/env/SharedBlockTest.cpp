// The shared block across processes. The test process itself never maps the
// block (a process keeps its mapping until it ends), so every state of the
// block is made by child processes: each scenario starts from "no block".
#include "TrTestSupport.h"

#include "include/TrCommon.h"

#include <cstdlib>

namespace {

HWND H(unsigned long v) { return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(v)); }
const HWND kMarker = H(0xdeadbeef);

// A child that runs a script of operations and checks each result itself:
//   create=R  setserver:W=R  setclient:W=R  getserver=R[:W]  getclient=R[:W]
//   delete=R  hold (signal ready, wait for release)  mark (remember the
//   handle count)  handles=+N (count grown by exactly N since the mark or
//   the start)
// Exit 0 when every expectation held, else 100 + the failing step's index.
TR_CHILD_ROLE(sb_script) {
    long startHandles = trtest::HandleCount();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& step = args[i];
        const int fail = 100 + static_cast<int>(i);
        if (step == "mark") {
            startHandles = trtest::HandleCount();
            continue;
        }
        if (step == "hold") {
            trtest::SignalReady();
            trtest::WaitForRelease();
            continue;
        }
        const std::size_t eq = step.find('=');
        if (eq == std::string::npos) return fail;
        const std::string op = step.substr(0, eq);
        std::string expect = step.substr(eq + 1);
        if (op == "handles") {
            if (trtest::HandleCount() - startHandles != std::strtol(expect.c_str() + 1, nullptr, 0)) return fail;
            continue;
        }
        const int want = expect[0] - '0';
        unsigned long wantWindow = 0;
        if (expect.size() > 2) wantWindow = std::strtoul(expect.c_str() + 2, nullptr, 0);
        const std::size_t colon = op.find(':');
        const std::string name = op.substr(0, colon);
        const HWND arg = colon == std::string::npos ? nullptr : H(std::strtoul(op.c_str() + colon + 1, nullptr, 0));
        int got = -1;
        HWND out = kMarker;
        if (name == "create") got = TrComCreateSharedMemory();
        else if (name == "setserver") got = TrComSetServer(arg);
        else if (name == "setclient") got = TrComSetClient(arg);
        else if (name == "getserver") got = TrComGetServer(&out);
        else if (name == "getclient") got = TrComGetClient(&out);
        else if (name == "delete") got = TrComDeleteSharedMemory();
        if (got != want) return fail;
        if (name.compare(0, 3, "get") == 0 && out != (got ? H(wantWindow) : kMarker)) return fail;
    }
    return 0;
}

// Holds a named object of the given kind ("mutex" or "event") under a name
// until released.
TR_CHILD_ROLE(hold_named) {
    if (args.size() != 2) return 2;
    tr::Handle h;
    h.Reset(args[0] == "mutex" ? ::CreateMutexA(nullptr, TRUE, args[1].c_str())
                               : ::CreateEventA(nullptr, TRUE, FALSE, args[1].c_str()));
    if (!h) return 3;
    trtest::SignalReady();
    trtest::WaitForRelease();
    return 0;
}

int Script(const std::vector<std::string>& steps) { return trtest::RunChild("sb_script", steps); }

TEST(SharedBlock, NothingWorksBeforeAServerAndNothingIsLeftBehind) {
    // Every open-existing call fails and leaves no block: the probe still says
    // "no block" afterwards, and a server can still register.
    EXPECT_EQ(0, Script({"getserver=0", "getclient=0", "setclient:0x22=0", "create=1", "create=1",
                         "delete=1", "handles=+0", "setserver:0x11=1", "getserver=1:0x11"}));
}

TEST(SharedBlock, StateTableAcrossProcesses) {
    trtest::Child server;
    ASSERT_TRUE(server.Start("sb_script", {"create=1", "setserver:0x1234=1", "mark", "getclient=1:0", "handles=+0", "hold",
                                           "getclient=1:0x5678", "delete=1", "getserver=1:0", "getclient=1:0"}));
    ASSERT_TRUE(server.WaitReady()) << "server script ended with " << server.Wait();
    // Another process: the block exists, a second server is refused and the
    // first one kept; a client joins.
    EXPECT_EQ(0, Script({"create=0", "setserver:0x9999=0", "handles=+0", "getserver=1:0x1234", "mark",
                         "setclient:0x5678=1", "getclient=1:0x5678", "handles=+0"}));
    // A third process sees both windows.
    EXPECT_EQ(0, Script({"getserver=1:0x1234", "getclient=1:0x5678"}));
    // The server clears the block; a process that still holds it sees zeros.
    trtest::Child holder;
    ASSERT_TRUE(holder.Start("sb_script", {"getserver=1:0x1234", "hold", "getserver=1:0", "getclient=1:0", "create=0"}));
    ASSERT_TRUE(holder.WaitReady());
    EXPECT_EQ(0, server.Wait());
    EXPECT_EQ(0, holder.Wait());
    // With every user gone the block is gone too.
    EXPECT_EQ(0, Script({"create=1", "getserver=0"}));
}

TEST(SharedBlock, DeleteWithoutEverMappingChangesNothing) {
    trtest::Child server;
    ASSERT_TRUE(server.Start("sb_script", {"setserver:0x42=1", "hold"}));
    ASSERT_TRUE(server.WaitReady());
    EXPECT_EQ(0, Script({"delete=1", "handles=+0", "getserver=1:0x42"}));
    EXPECT_EQ(0, server.Wait());
}

// While the lock's name is taken (by a mutex someone holds, or by an object
// of another kind) every operation fails at once, even in a process that
// holds the block, and nothing is opened.
void ExpectEverythingRefused(const char* kind, const char* name) {
    trtest::Child server;
    ASSERT_TRUE(server.Start("sb_script", {"setserver:0x77=1", "hold", "getserver=0", "getclient=0", "create=0",
                                           "setserver:0x78=0", "setclient:0x79=0", "delete=1"}));
    ASSERT_TRUE(server.WaitReady());
    trtest::Child blocker;
    ASSERT_TRUE(blocker.Start("hold_named", {kind, name}));
    ASSERT_TRUE(blocker.WaitReady());

    const long before = trtest::HandleCount();
    const DWORD start = ::GetTickCount();
    HWND out = kMarker;
    ::SetLastError(0xdeadbeef);
    EXPECT_EQ(0, TrComGetServer(&out));
    EXPECT_EQ(kMarker, out);
    EXPECT_EQ(0, TrComGetClient(&out));
    EXPECT_EQ(kMarker, out);
    EXPECT_EQ(0, TrComCreateSharedMemory());
    EXPECT_EQ(0, TrComSetServer(H(0x1)));
    EXPECT_EQ(0, TrComSetClient(H(0x2)));
    EXPECT_EQ(1, TrComDeleteSharedMemory());
    EXPECT_LT(::GetTickCount() - start, 2000u) << "an operation waited for the lock";
    EXPECT_EQ(before, trtest::HandleCount());

    EXPECT_EQ(0, server.Wait());  // the same refusals inside the block's owner
    EXPECT_EQ(0, blocker.Wait());
    EXPECT_EQ(0, Script({"create=1"}));  // and the block is left alone/gone
}

TEST(SharedBlock, HeldMutexRefusesEveryOperationAtOnce) { ExpectEverythingRefused("mutex", "TrCommon1999 Mutex"); }

TEST(SharedBlock, LockNameTakenByAnotherKindOfObject) { ExpectEverythingRefused("event", "TrCommon1999 Mutex"); }

TEST(SharedBlock, BlockNameTakenByAnotherKindOfObject) {
    trtest::Child blocker;
    ASSERT_TRUE(blocker.Start("hold_named", {"event", "TrCommon1999 FileMap"}));
    ASSERT_TRUE(blocker.WaitReady());
    const long before = trtest::HandleCount();
    HWND out = kMarker;
    EXPECT_EQ(0, TrComCreateSharedMemory());
    EXPECT_EQ(0, TrComSetServer(H(0x1)));
    EXPECT_EQ(0, TrComGetServer(&out));
    EXPECT_EQ(kMarker, out);
    EXPECT_EQ(before, trtest::HandleCount());
    EXPECT_EQ(0, blocker.Wait());
}

TEST(SharedBlock, NullOutputsAreRefused) {
    EXPECT_EQ(0, TrComGetServer(nullptr));
    EXPECT_EQ(0, TrComGetClient(nullptr));
}

}  // namespace
