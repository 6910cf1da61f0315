// The shared block across processes. A process keeps its mapping until it ends, so only
// children map the block and each scenario starts from "no block".
#include "TrTestSupport.h"

#include "include/TrCommon.h"

#include <cstdio>
#include <sstream>

namespace {

HWND H(unsigned long long v) { return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(v)); }

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
        unsigned long long arg = 0, window = 0xdeadbeef;
        if (std::sscanf(step.c_str(), "%15[a-z]:%llx=%d", op, &arg, &want) < 3)
            std::sscanf(step.c_str(), "%15[a-z]=%d:%llx", op, &want, &window);
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
    // A 32-bit window value with its top bit set comes back sign-extended, as Windows widens it.
    const std::string client = sizeof(void*) == 8 ? "0xffffffff80005678" : "0x80005678";
    ASSERT_TRUE(server.Start("sb_script", {"create=1 setserver:0x1234=1 mark getclient=1:0 handles=+0 hold "
                                           "getclient=1:" + client + " delete=1 getserver=1:0 getclient=1:0"}));
    ASSERT_TRUE(server.WaitReady()) << "server script ended with " << server.Wait();
    // Another process: a second server is refused, the first kept; a client joins.
    EXPECT_EQ(0, Script("create=0 setserver:0x9999=0 handles=+0 getserver=1:0x1234 mark "
                        "setclient:0x80005678=1 getclient=1:" + client + " handles=+0"));
    // A third process that never mapped the block cannot clear it.
    EXPECT_EQ(0, Script("delete=1 handles=+0 getserver=1:0x1234 getclient=1:" + client));
    // The server clears the block; a process that still holds it sees zeros.
    ASSERT_TRUE(holder.Start("sb_script", {"getserver=1:0x1234 hold getserver=1:0 getclient=1:0 create=0"}) && holder.WaitReady());
    EXPECT_EQ(0, server.Wait());
    EXPECT_EQ(0, holder.Wait());
    EXPECT_EQ(0, Script("create=1 getserver=0"));  // with every user gone the block is gone too
}

// Registers server 0x4321 through a copy of the library that only this child loads, then
// frees it; a second load finds the window through the mapping the first one kept, without
// opening another. Exit 0, else the number of the failed step.
TR_CHILD_ROLE(sb_free_library) {
    tr::Module library(::LoadLibraryA(args.at(0).c_str()));
    const auto entry = [&](const char* name) { return reinterpret_cast<void*>(::GetProcAddress(library.Get(), name)); };
    const auto set = reinterpret_cast<int(TRCOMAPI*)(HWND)>(entry("TrComSetServer"));
    if (!set || !set(H(0x4321))) return 2;
    library.Reset();
    const long mark = trtest::HandleCount();
    library.Reset(::LoadLibraryA(args[0].c_str()));
    const auto get = reinterpret_cast<int(TRCOMAPI*)(HWND*)>(entry("TrComGetServer"));
    HWND server = nullptr;
    if (!get || !get(&server) || server != H(0x4321)) return 3;
    library.Reset();
    if (trtest::HandleCount() != mark) return 4;
    trtest::SignalReady();
    return trtest::WaitForRelease() ? 0 : 5;
}

// A host that loads and frees the library around its calls keeps the block for everyone.
TEST(SharedBlock, AProcessThatFreedTheLibraryKeepsTheBlockUntilItEnds) {
    trtest::TempFolder folder;
    const std::string copy = folder / "TrCommonFreed.dll";
    ASSERT_TRUE(trtest::CopyFileTo(trtest::SelfFolder() + "TrCommon.dll", copy));
    trtest::Child server;
    ASSERT_TRUE(server.Start("sb_free_library", {copy}));
    ASSERT_TRUE(server.WaitReady()) << "the child ended with " << server.Wait();
    EXPECT_EQ(0, Script("getserver=1:0x4321 create=0"));
    EXPECT_EQ(0, server.Wait());
    EXPECT_EQ(0, Script("create=1 getserver=0"));  // gone with the process
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
