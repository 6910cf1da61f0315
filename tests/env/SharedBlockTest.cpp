// The shared block across processes. The test process itself never maps the
// block (a process keeps its mapping until it ends), so every state of the
// block is made by child processes: each scenario starts from "no block".
#include "TrTestSupport.h"

#include "include/TrCommon.h"

#include <cstdio>

namespace {

HWND H(unsigned long v) { return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(v)); }
const HWND kMarker = H(0xdeadbeef);

// A child that runs a script and checks each result itself. Steps: op=R or
// op:W=R (call with window W, expect result R), getserver/getclient=R:W (and
// window W; the marker when R is 0), hold (signal ready, wait for release),
// mark (note the handle count), handles=+N (count grown by N since the mark).
// Exit 0 when every step held, else 100 + the failing step's index.
TR_CHILD_ROLE(sb_script) {
    long mark = trtest::HandleCount();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const char* step = args[i].c_str();
        if (args[i] == "hold") {
            trtest::SignalReady();
            trtest::WaitForRelease();
        }
        if (args[i] == "mark") mark = trtest::HandleCount();
        if (args[i] == "mark" || args[i] == "hold") continue;
        char op[16] = "";
        int want = -1;
        unsigned long arg = 0, window = 0xdeadbeef;
        if (std::sscanf(step, "%15[a-z]:%lx=%d", op, &arg, &want) < 3 && std::sscanf(step, "%15[a-z]=%d:%lx", op, &want, &window) < 2)
            return 100 + static_cast<int>(i);
        const std::string name = op;
        HWND out = kMarker;
        const int got = name == "handles"     ? static_cast<int>(trtest::HandleCount() - mark)
                        : name == "create"    ? TrComCreateSharedMemory()
                        : name == "setserver" ? TrComSetServer(H(arg))
                        : name == "setclient" ? TrComSetClient(H(arg))
                        : name == "getserver" ? TrComGetServer(&out)
                        : name == "getclient" ? TrComGetClient(&out)
                        : name == "delete"    ? TrComDeleteSharedMemory()
                                              : -1;
        if (got != want || out != H(window)) return 100 + static_cast<int>(i);
    }
    return 0;
}

// Holds a named object of the given kind ("mutex" or "event") until released.
TR_CHILD_ROLE(hold_named) {
    const tr::Handle h(args.at(0) == "mutex" ? ::CreateMutexA(nullptr, TRUE, args.at(1).c_str())
                                             : ::CreateEventA(nullptr, TRUE, FALSE, args.at(1).c_str()));
    if (!h) return 3;
    trtest::SignalReady();
    trtest::WaitForRelease();
    return 0;
}

int Script(const std::vector<std::string>& steps) { return trtest::RunChild("sb_script", steps); }

TEST(SharedBlock, StateTableAcrossProcesses) {
    EXPECT_EQ(0, TrComGetServer(nullptr) + TrComGetClient(nullptr));
    // Before a server every open-existing call fails and leaves no block: the
    // probe still says "no block" afterwards.
    EXPECT_EQ(0, Script({"getserver=0", "getclient=0", "setclient:0x22=0", "create=1", "create=1", "delete=1", "handles=+0"}));
    trtest::Child server;
    ASSERT_TRUE(server.Start("sb_script", {"create=1", "setserver:0x1234=1", "mark", "getclient=1:0", "handles=+0", "hold",
                                           "getclient=1:0x5678", "delete=1", "getserver=1:0", "getclient=1:0"}));
    ASSERT_TRUE(server.WaitReady()) << "server script ended with " << server.Wait();
    // Another process: the block exists, a second server is refused and the
    // first one kept; a client joins.
    EXPECT_EQ(0, Script({"create=0", "setserver:0x9999=0", "handles=+0", "getserver=1:0x1234", "mark",
                         "setclient:0x5678=1", "getclient=1:0x5678", "handles=+0"}));
    // A third process that never mapped the block cannot clear it.
    EXPECT_EQ(0, Script({"delete=1", "handles=+0", "getserver=1:0x1234", "getclient=1:0x5678"}));
    // The server clears the block; a process that still holds it sees zeros.
    trtest::Child holder;
    ASSERT_TRUE(holder.Start("sb_script", {"getserver=1:0x1234", "hold", "getserver=1:0", "getclient=1:0", "create=0"}));
    ASSERT_TRUE(holder.WaitReady());
    EXPECT_EQ(0, server.Wait());
    EXPECT_EQ(0, holder.Wait());
    // With every user gone the block is gone too.
    EXPECT_EQ(0, Script({"create=1", "getserver=0"}));
}

// While the lock's or the block's name is taken (by a mutex someone holds, or
// by an object of another kind) every operation fails at once, even in the
// process that holds the block, and nothing is left open. With the block's
// name taken no process can make a block first.
TEST(SharedBlock, TakenNamesRefuseEveryOperationAtOnce) {
    const std::vector<std::string> refused = {"mark", "getserver=0", "getclient=0", "create=0",
                                              "setserver:0x78=0", "setclient:0x79=0", "handles=+0"};
    std::vector<std::string> server = {"setserver:0x77=1", "hold"};
    server.insert(server.end(), refused.begin(), refused.end());
    server.push_back("delete=1");
    const struct { const char *kind, *name; bool withServer; } rows[] = {
        {"mutex", "TrCommon1999 Mutex", true}, {"event", "TrCommon1999 Mutex", true}, {"event", "TrCommon1999 FileMap", false}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.kind << " " << r.name);
        trtest::Child owner, blocker;
        ASSERT_TRUE(!r.withServer || (owner.Start("sb_script", server) && owner.WaitReady()));
        ASSERT_TRUE(blocker.Start("hold_named", {r.kind, r.name}) && blocker.WaitReady());
        EXPECT_EQ(0, r.withServer ? owner.Wait(2000) : Script(refused)) << "-1: an operation waited for the lock";
        EXPECT_EQ(0, blocker.Wait());
        EXPECT_EQ(0, Script({"create=1"}));  // and no block is left behind
    }
}

}  // namespace
