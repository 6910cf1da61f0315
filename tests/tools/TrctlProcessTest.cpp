// trctl next to other processes: a data file another process holds, the
// rewrite message a bind sends to a watching host, and server windows that
// are not trctl's own or no longer there.
#include "TrctlRows.h"

namespace {

using trtest::Row;

// A server window that is not trctl's; with "zero" it is cleared again at
// once, leaving a block without a server window for as long as we hold it.
TR_CHILD_ROLE(trctl_foreign_server) {
    tr::Window window(::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    if (!window || !TrComSetServer(window.Get())) return 3;
    if (!args.empty() && args[0] == "zero") TrComDeleteSharedMemory();
    trtest::SignalReady();
    trtest::WaitForRelease();
    TrComDeleteSharedMemory();
    return 0;
}

class TrctlProcesses : public ::testing::Test {
protected:
    trtest::LookupSandbox m_box;
};

TEST_F(TrctlProcesses, AFileHeldElsewhereIsReportedAndLeftAsItWas) {
    ASSERT_TRUE(m_box.Write("SKeyData.dat", trtest::NumeralRecord("A", 0x0201)));
    trtest::Child holder;
    ASSERT_TRUE(holder.Start(trtest::kHoldFileRole, {trtest::DataFolder() + "\\SKeyData.dat"}) && holder.WaitReady());
    trtest::RunRows({
        {.args = "bind skey 1 --path x", .code = 11, .text = "SKeyData.dat is in use by another process",
         .unchanged = "SKeyData.dat"},
        {.args = "unbind skey 1", .code = 11, .text = "in use by another process", .unchanged = "SKeyData.dat"},
        {.args = "find skey 1", .code = 11, .text = "SKeyData.dat is in use by another process"},
    });
    holder.Release();
    EXPECT_EQ(0, holder.Wait());
}

TEST_F(TrctlProcesses, HostWatchPrintsTheRewriteOfABindInAnotherProcess) {
    trtest::RunRows({
        {.args = "windows", .code = 3, .text = "no shared block"},
        {.args = "host --seconds 0", .code = 2, .text = "--seconds: '0' is not a number from 1 to 2147483"},
        {.args = "host --watch extra", .code = 2, .text = "unexpected argument 'extra'"},
    });
    trtest::RunningProgram host(trtest::TrctlPath(), "host --watch --seconds 60");
    ASSERT_TRUE(host.WaitFor("watching for rewrite messages")) << host.Output();
    trtest::RunRows({
        {.args = "windows --json", .json = "/serverFromTrctlHost=true"},
        {.args = "bind skey 1 --path x.exe", .text = "added to SKeyData.dat"},
    });
    EXPECT_TRUE(host.WaitFor("rewrite message 1 received (wParam 0, lParam 0)")) << host.Output();
    trtest::RunRows({{.args = "windows --close"}});
    EXPECT_EQ(0, host.Wait());
    EXPECT_NE(std::string::npos, host.Output().find("server window closed")) << host.Output();
    EXPECT_EQ(std::string::npos, host.Output().find("rewrite message 2")) << host.Output();
}

TEST_F(TrctlProcesses, OnlyTrctlsOwnServerClosesWithoutForceAndAWindowOf0IsNone) {
    {
        trtest::Child server;
        ASSERT_TRUE(server.Start("trctl_foreign_server") && server.WaitReady());
        trtest::RunRows({
            {.args = "windows --close", .code = 2, .text = "was not registered by trctl host; add --force"},
            {.args = "windows --close --force"},
        });
    }
    trtest::Child zero;
    ASSERT_TRUE(zero.Start("trctl_foreign_server", {"zero"}) && zero.WaitReady());
    trtest::RunRows({
        {.args = "windows --json", .json = "/server=0"},
        {.args = "host --seconds 1", .code = 4, .text = "exists without a live server window"},
        {.args = "info 1", .code = 3, .text = "holds no live server window"},
        {.args = "serve skey 1", .code = 3, .text = "holds no live server window"},
    });
}

}  // namespace
