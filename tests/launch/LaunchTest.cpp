// TrComLaunch under Wine starting the recorder (tr_recorder.exe) directly,
// through an association and through shortcuts. Each launch runs in a child
// with its own server window: a process keeps the shared block mapped until it
// ends, so the test process never touches it and "no server" stays reachable.
#include "TrTestSupport.h"

#include "include/TrCommon.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

namespace {

// Exit code bits of the launch child.
enum : int { kTrue = 1, kHandle = 2, kComAsBefore = 4, kCursorKept = 8, kInput = 0x10, kServerActive = 0x20 };
constexpr int kStarted = kTrue | kHandle | kComAsBefore | kCursorKept | kInput | kServerActive;
constexpr int kRefused = kComAsBefore | kCursorKept;

// args: server ("window", "zero" or "none"), COM ("pre": initialised before),
// then Path, WorkDir and Option ("fill": the whole field, no terminator).
TR_CHILD_ROLE(launch) {
    tr::Window window(args.at(0) == "window" ? ::CreateWindowA("STATIC", "", 0, 0, 0, 9, 9, nullptr, nullptr,
                                                               nullptr, nullptr) : nullptr);
    const bool preCom = args.at(1) == "pre";
    if ((args[0] != "none" && !TrComSetServer(window.Get())) || (preCom && FAILED(::CoInitialize(nullptr)))) return 0x80;
    TR_APP_DATA_STRUC block = {};
    char* fields[] = {block.szPath, block.szWorkDir, block.szOption};
    for (int i = 0; i < 3; ++i) std::snprintf(fields[i], TR_TEXT_FIELD, "%s", args.at(2 + i).c_str());
    if (args.at(4) == "fill") std::memset(block.szOption, 'o', TR_TEXT_FIELD);
    // The foreground hand-over activates the server window, generates input
    // and puts the cursor back.
    ::SetCursorPos(123, 77);
    LASTINPUTINFO input = {sizeof(input), 0};
    ::GetLastInputInfo(&input);
    const DWORD inputBefore = input.dwTime;
    ::Sleep(30);
    HANDLE process = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0xdeadbeef));
    const int ok = TrComLaunch(&process, &block);
    POINT at = {};
    ::GetCursorPos(&at);
    ::GetLastInputInfo(&input);
    const HRESULT again = ::CoInitialize(nullptr);  // S_FALSE exactly when the caller had it
    const int code = (ok ? kTrue : 0) | (process ? kHandle : 0) |
                     ((preCom ? again == S_FALSE : again == S_OK) ? kComAsBefore : 0) |
                     (at.x == 123 && at.y == 77 ? kCursorKept : 0) | (input.dwTime != inputBefore ? kInput : 0) |
                     (window && ::GetActiveWindow() == window.Get() ? kServerActive : 0);
    if (ok && process) { ::WaitForSingleObject(process, 20000); ::CloseHandle(process); }
    for (int i = SUCCEEDED(again) + preCom; i > 0; --i) ::CoUninitialize();
    if (args[0] != "none") TrComDeleteSharedMemory();
    return code;
}

const std::string kRecorder = trtest::SelfFolder() + "tr_recorder.exe";

std::string ShortPath(const std::string& path) {
    char buf[MAX_PATH] = "";
    return ::GetShortPathNameA(path.c_str(), buf, MAX_PATH) ? buf : path;
}

// A shortcut to the recorder, made the way the shell makes them.
bool MakeShortcut(const std::string& file, const std::string& workDir, const std::string& icon = "") {
    tr::ComPtr<IShellLinkA> link;
    tr::ComPtr<IPersistFile> persist;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.PutVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, persist.PutVoid())))
        return false;
    link->SetPath(kRecorder.c_str());
    link->SetArguments("from-link");
    link->SetWorkingDirectory(workDir.c_str());
    if (!icon.empty()) link->SetIconLocation(icon.c_str(), 0);
    wchar_t wide[MAX_PATH] = L"";
    ::MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    return SUCCEEDED(persist->Save(wide, TRUE));
}

struct Launch : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)) && ::CreateDirectoryA(m_work.c_str(), nullptr) &&
                    ::CreateDirectoryA(m_linkDir.c_str(), nullptr));
        ::SetEnvironmentVariableA("TR_RECORDER_OUT", m_out.c_str());
    }
    void TearDown() override { ::SetEnvironmentVariableA("TR_RECORDER_OUT", nullptr); ::CoUninitialize(); }
    int Run(const std::string& path, const std::string& workDir = "", const std::string& option = "",
            const char* server = "window", const char* com = "none") {
        ::DeleteFileA(m_out.c_str());
        return trtest::RunChild("launch", {server, com, path, workDir, option});
    }
    // What the recorder wrote ("cwd=...\narg0=...\n..."), "" when nothing came.
    std::string Recorded(DWORD waitMs = 15000) {
        std::string bytes;
        for (DWORD waited = 0; !trtest::ReadFileBytes(m_out, bytes) && waited < waitMs; waited += 50) ::Sleep(50);
        return bytes;
    }

    trtest::TempFolder m_temp;
    const std::string m_out = m_temp / "record.txt", m_work = m_temp / "work", m_linkDir = m_temp / "lnkdir";
};

TEST_F(Launch, ProgramsStartDirectlyAndThroughTheirAssociation) {
    EXPECT_EQ(kStarted, Run(kRecorder, m_work, "one \"two words\""));
    std::string record = Recorded();
    const std::string args = "\narg1=one\narg2=two words\n";  // and nothing after
    EXPECT_TRUE(record.find("cwd=" + m_work + "\n") == 0 && record.size() > args.size() &&
                record.compare(record.size() - args.size(), args.size(), args) == 0) << record;
    EXPECT_EQ(kStarted, Run(kRecorder, "", "fill"));
    EXPECT_NE(std::string::npos, Recorded().find("\narg1=" + std::string(TR_TEXT_FIELD - 1, 'o') + "\n"))
        << "cut to the field";
    EXPECT_EQ(kStarted & ~kServerActive, Run(kRecorder, "", "zero", "zero")) << "a registered window of 0 still starts";

    trtest::RegSandbox ext(HKEY_CLASSES_ROOT, ".trrecdoc"), type(HKEY_CLASSES_ROOT, "TrRecorderDocument");
    const std::string command = "\"" + kRecorder + "\" \"%1\" %*", doc = m_temp / "letter.trrecdoc";
    ASSERT_EQ(0, ::RegSetValueA(HKEY_CLASSES_ROOT, ".trrecdoc", REG_SZ, "TrRecorderDocument", 0));
    ASSERT_EQ(0, ::RegSetValueA(HKEY_CLASSES_ROOT, "TrRecorderDocument\\shell\\open\\command", REG_SZ, command.c_str(),
                                0));
    ASSERT_TRUE(trtest::WriteFileBytes(doc, "document"));
    EXPECT_EQ(kStarted, Run(doc, m_work) | kHandle);
    record = Recorded();
    EXPECT_TRUE(record.find("cwd=" + m_work + "\n") == 0 && record.find("\narg1=" + doc + "\n") != std::string::npos)
        << record;
}

TEST_F(Launch, ShortcutsAreReadByTheLauncherWithTheBlockTakingPrecedence) {
    // ".lnk" in any letter case; COM "pre": the caller initialised it; the
    // block's WorkDir and Option go before the link's. Read by the launcher,
    // the target arrives in short form; a link whose icon is its target (as
    // GetPath reports it, short) is handed to the shell as it is.
    const struct { const char *file, *com, *option; bool ownWorkDir, iconIsTarget; } cases[] = {
        {"CAPS.LNK", "pre", "", false, false}, {"Mixed.Lnk", "none", "block-arg", true, false},
        {"self.lnk", "none", "", false, true}};
    for (const auto& c : cases) {
        const std::string lnk = m_temp / c.file;
        ASSERT_TRUE(MakeShortcut(lnk, m_linkDir, c.iconIsTarget ? ShortPath(kRecorder) : ""));
        EXPECT_EQ(kStarted, Run(lnk, c.ownWorkDir ? m_work : "", c.option, "window", c.com) | kHandle) << c.file;
        const std::string record = Recorded(), arg1 = std::string("\narg1=") + (*c.option ? c.option : "from-link");
        const std::string arg0 = "\narg0=" + ShortPath(kRecorder) + "\n", cwd = c.ownWorkDir ? m_work : m_linkDir;
        EXPECT_NE(std::string::npos, record.find(arg1 + "\n")) << record;
        EXPECT_EQ(c.iconIsTarget, record.find(arg0) == std::string::npos) << record;
        EXPECT_TRUE(c.iconIsTarget || record.find("cwd=" + cwd + "\n") == 0) << record;
    }
}

TEST_F(Launch, RefusedRequestsStartNothingAndReturnNoHandle) {
    const std::string garbage = m_temp / "garbage.lnk", plain = m_temp / "notes.trnoassoc";
    ASSERT_TRUE(trtest::WriteFileBytes(garbage, "this is no shell link\r\n" + std::string(200, '\x7f')) &&
                trtest::WriteFileBytes(plain, "x"));
    // An empty path, no association and no ".lnk", a path naming nothing, a
    // garbage shortcut; then a good path with no server window registered.
    for (const std::string& path : {std::string(), plain, m_temp / "missing.exe", garbage, kRecorder}) {
        EXPECT_EQ(kRefused, Run(path, "", "", path == kRecorder ? "none" : "window")) << path;
        EXPECT_EQ("", Recorded(1500)) << path << ": nothing may start";
    }
    HANDLE h = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0xdeadbeef));
    EXPECT_FALSE(TrComLaunch(nullptr, nullptr) || TrComLaunch(&h, nullptr) || h);
}

}  // namespace
