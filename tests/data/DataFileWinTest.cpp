// Data files on Windows, with other processes: no sharing with a process
// that holds the file, a folder in place of a file, no handle left open, and
// the rewrite message a client window in another process receives.
#include "DataFiles.h"

namespace {

using namespace datatest;

// A folder in place of a file: read-only too, refused with "access denied"
// like a read-only file, it must not lose that attribute.
TEST(DataFileWin, AHeldFileOrAFolderGives1AndStaysAsItWasWithNothingLeftOpen) {
    Files files;
    const std::string held = files.Path("held.dat"), folder = files.Path("folder.dat");
    const std::string big = ";" + std::string(300 * 1024, 'x') + "\r\n" + Fold("t", "0");  // read as a mapped view
    ASSERT_TRUE(files.Put("held.dat", big));
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_READONLY));
    const DWORD attributes = ::GetFileAttributesA(folder.c_str());
    CTrJogDataDB db;  // posts nothing, so no shared block is opened
    ASSERT_EQ(0, db.Load(held));
    ::SetLastError(0xdeadbeef);
    EXPECT_EQ(1, db.Write(held));  // Load left the file free
    EXPECT_EQ(ERROR_SUCCESS, ::GetLastError());
    trtest::Child holder;
    ASSERT_TRUE(holder.Start(trtest::kHoldFileRole, {held}));
    ASSERT_TRUE(holder.WaitReady()) << "holder ended with " << holder.Wait();
    const long handles = trtest::HandleCount();
    for (const std::string& path : {held, folder}) {
        EXPECT_EQ(1, db.Load(path));
        ::SetLastError(0xdeadbeef);
        EXPECT_EQ(1, db.Write(path));
        EXPECT_EQ(path == held ? ERROR_SHARING_VIOLATION : ERROR_ACCESS_DENIED, ::GetLastError()) << path;
    }
    EXPECT_EQ(handles, trtest::HandleCount());
    EXPECT_EQ(0, holder.Wait());
    EXPECT_EQ(big, files.Get("held.dat"));
    EXPECT_EQ(attributes, ::GetFileAttributesA(folder.c_str()));
    ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_DIRECTORY);
}

// A message-only client window, registered in a shared block this process
// creates and keeps. Exit code: the rewrite messages it got, or 200 when one
// carried parameters.
TR_CHILD_ROLE(data_client) {
    const UINT rewrite = ::RegisterWindowMessageA("TrMsgRewriteWindow");
    tr::Window window(::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    if (!window || !TrComSetServer(window.Get()) || !TrComSetClient(window.Get())) return 199;
    trtest::SignalReady();
    int count = 0;
    bool wrong = false;
    for (bool released = false; !released;) {
        released = trtest::WaitForRelease(10);  // a last drain after the release
        for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ::DispatchMessageA(&msg))
            if (msg.message == rewrite) ++count, wrong |= msg.hwnd != window.Get() || msg.wParam || msg.lParam;
    }
    return wrong ? 200 : count;
}

// Writes one database per letter of args[1] into the folder args[0]; exit 0
// when every Write gave 1 and left no error (the posting in between sets some).
TR_CHILD_ROLE(data_writer) {
    for (char kind : args.at(1))
        if (Make(kind)->Write(args[0] + "\\" + kind + ".dat") != 1 || ::GetLastError() != ERROR_SUCCESS) return 10;
    return 0;
}

// Every process that touches the shared block is a child, so this one never
// keeps it alive.
TEST(DataFileWin, AClientWindowGetsOneMessagePerKeyedWriteAndNoneForTheJogMenu) {
    Files files;
    trtest::Child client;
    ASSERT_TRUE(client.Start("data_client") && client.WaitReady());
    EXPECT_EQ(0, trtest::RunChild("data_writer", {files.folder.Path(), "njsjjn"}));
    EXPECT_EQ(3, client.Wait());
}

}  // namespace
