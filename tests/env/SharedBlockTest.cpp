// The shared block across processes. A process keeps its mapping until it ends, so only
// children map the block and each scenario starts from "no block".
#include "TrTestSupport.h"

#include "include/TrCommon.h"

#include <cstdio>
#include <sstream>

namespace {

HWND H(unsigned long v) { return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(v)); }

// A child running blank-separated steps: op=R or op:W=R (call with window W, expect R),
// getserver/getclient=R:W (and window W; 0xdeadbeef, untouched, when R is 0), hold,
// mark (note the handle count), handles=+N (grown by N since). Exit 0, or 100 + failing step.
TR_CHILD_ROLE(sb_script) {
    std::istringstream steps(args.at(0));
    long mark = trtest::HandleCount();
    int index = 100;
    for (std::string step; steps >> step; ++index) {
        if (step == "hold") { trtest::SignalReady(); trtest::WaitForRelease(); }
        if (step == "mark") mark = trtest::HandleCount();
        if (step == "mark" || step == "hold") continue;
        char op[16] = "";
        int want = -2;  // no operation gives it: a step that does not parse fails
        unsigned long arg = 0, window = 0xdeadbeef;
        if (std::sscanf(step.c_str(), "%15[a-z]:%lx=%d", op, &arg, &want) < 3)
            std::sscanf(step.c_str(), "%15[a-z]=%d:%lx", op, &want, &window);
        const std::string name = op;
        HWND out = H(0xdeadbeef);
        const int got = name == "handles"     ? static_cast<int>(trtest::HandleCount() - mark)
                        : name == "create"    ? TrComCreateSharedMemory()
                        : name == "setserver" ? TrComSetServer(H(arg))
                        : name == "setclient" ? TrComSetClient(H(arg))
                        : name == "getserver" ? TrComGetServer(&out)
                        : name == "getclient" ? TrComGetClient(&out)
                        : name == "delete"    ? TrComDeleteSharedMemory()
                                              : -1;
        if (got != want || out != H(window)) return index;
    }
    return 0;
}

// Holds a named "mutex" or "event" until released.
// The name may still be held for a moment by the process of the previous
// step, which has ended but whose handles the system closes after that.
TR_CHILD_ROLE(hold_named) {
    tr::Handle h;
    for (int tries = 0; tries < 50 && !h; ++tries) {
        h.Reset(args.at(0) == "mutex" ? ::CreateMutexA(nullptr, TRUE, args.at(1).c_str())
                                      : ::CreateEventA(nullptr, TRUE, FALSE, args.at(1).c_str()));
        if (!h) ::Sleep(20);
    }
    if (h) trtest::SignalReady();  // else the parent sees a child that never got ready
    return h && trtest::WaitForRelease() ? 0 : 3;
}

int Script(const std::string& steps) { return trtest::RunChild("sb_script", {steps}); }

TEST(SharedBlock, StateTableAcrossProcesses) {
    EXPECT_EQ(0, TrComGetServer(nullptr) + TrComGetClient(nullptr));
    // Before a server, calls that open the block fail and leave none behind.
    EXPECT_EQ(0, Script("getserver=0 getclient=0 setclient:0x22=0 create=1 create=1 delete=1 handles=+0"));
    trtest::Child server, holder;
    ASSERT_TRUE(server.Start("sb_script", {"create=1 setserver:0x1234=1 mark getclient=1:0 handles=+0 hold "
                                           "getclient=1:0x5678 delete=1 getserver=1:0 getclient=1:0"}));
    ASSERT_TRUE(server.WaitReady()) << "server script ended with " << server.Wait();
    // Another process: a second server is refused, the first kept; a client joins.
    EXPECT_EQ(0, Script("create=0 setserver:0x9999=0 handles=+0 getserver=1:0x1234 mark "
                        "setclient:0x5678=1 getclient=1:0x5678 handles=+0"));
    // A third process that never mapped the block cannot clear it.
    EXPECT_EQ(0, Script("delete=1 handles=+0 getserver=1:0x1234 getclient=1:0x5678"));
    // The server clears the block; a process that still holds it sees zeros.
    ASSERT_TRUE(holder.Start("sb_script", {"getserver=1:0x1234 hold getserver=1:0 getclient=1:0 create=0"}) && holder.WaitReady());
    EXPECT_EQ(0, server.Wait());
    EXPECT_EQ(0, holder.Wait());
    EXPECT_EQ(0, Script("create=1 getserver=0"));  // with every user gone the block is gone too
}

// While the lock's or the block's name is taken (a held mutex, an object of another kind) every
// operation fails at once, even where the block is mapped, and nothing is left open.
TEST(SharedBlock, TakenNamesRefuseEveryOperationAtOnce) {
    const std::string refused = "mark getserver=0 getclient=0 create=0 setserver:0x78=0 setclient:0x79=0 handles=+0";
    const struct { const char *kind, *name; bool withServer; } rows[] = {
        {"mutex", "TrCommon1999 Mutex", true}, {"event", "TrCommon1999 Mutex", true}, {"event", "TrCommon1999 FileMap", false}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.kind << " " << r.name);
        trtest::Child owner, blocker;
        ASSERT_TRUE(!r.withServer || (owner.Start("sb_script", {"setserver:0x77=1 hold " + refused + " delete=1"}) && owner.WaitReady()));
        ASSERT_TRUE(blocker.Start("hold_named", {r.kind, r.name}) && blocker.WaitReady()) << "blocker ended with " << blocker.Wait();
        EXPECT_EQ(0, r.withServer ? owner.Wait(2000) : Script(refused)) << "-1: an operation waited for the lock";
        EXPECT_EQ(0, blocker.Wait());
        EXPECT_EQ(0, Script("create=1"));  // and no block is left behind
    }
}

}  // namespace
