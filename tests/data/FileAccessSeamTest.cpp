// The data layer's Windows file access compiled in: whole-file reads, mapped
// or copied, and rewrites: the read-only retry, with the open call replaced so
// that the refusal happens even where the system would let the open through
// (Wine running as root ignores read-only files); a process ended after each
// step; a write that fails part way.
#include "TrTestSupport.h"

#include "data/TrFileAccessWin.h"

#include <cstdio>
#include <cstring>
#include <set>

namespace {

// The refusals the fake open gives before it opens for real.
DWORD g_refusals[2];
int g_calls;

HANDLE ScriptedOpen(const std::string& path) {
    const int call = g_calls++;
    if (call < 2 && g_refusals[call]) return ::SetLastError(g_refusals[call]), INVALID_HANDLE_VALUE;
    return tr::data::OpenForWriting(path);
}

// A mapped read gives the bytes a copied one gives, and keeps the file from
// every other open (this process's too) until the last keeper goes.
TEST(WholeFileRead, MappedAndCopiedReadsAgreeAndAMappedFileStaysHeld) {
    trtest::TempFolder folder;
    const std::string path = folder / "big.dat", empty = folder / "empty.dat";
    std::string text(300000, 'x');
    text[0] = text.back() = '\0', text[4096] = '\r';
    ASSERT_TRUE(trtest::WriteFileBytes(path, text) && trtest::WriteFileBytes(empty, ""));
    const long handles = trtest::HandleCount();
    const auto openOther = [&] {
        return tr::Handle(::CreateFileA(path.c_str(), GENERIC_READ, 7, nullptr, OPEN_EXISTING, 0, nullptr));
    };
    for (const std::size_t mapFrom : {std::size_t(0), text.size() + 1}) {
        tr::data::FileContent content;
        ASSERT_TRUE(tr::data::ReadWholeFileWith(path, content, mapFrom));
        EXPECT_TRUE(content.bytes == text);
        ::SetLastError(0xdeadbeef);
        const bool opened = static_cast<bool>(openOther());
        EXPECT_TRUE(mapFrom ? opened : !opened && ::GetLastError() == ERROR_SHARING_VIOLATION);
        content.keeper.reset();
        EXPECT_TRUE(openOther());
    }
    tr::data::FileContent content;  // an empty file cannot be mapped: it is read
    EXPECT_TRUE(tr::data::ReadWholeFileWith(empty, content, 0) && content.bytes.empty() && content.keeper);
    content.keeper.reset();
    EXPECT_EQ(handles, trtest::HandleCount());
}

// Names of the files in a folder.
std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA fd;
    tr::FindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &fd));
    if (find) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(fd.cFileName);
        } while (::FindNextFileA(find.Get(), &fd));
    }
    return names;
}

const FILETIME kPast = {0x12345678, 0x01c00000};

// Whether a creation time set on a file is still there after it is closed.
bool CreationTimesKept(const std::string& probe) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!trtest::WriteFileBytes(probe, "")) return false;
    {
        tr::Handle f(::CreateFileA(probe.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ::SetFileTime(f.Get(), &kPast, nullptr, nullptr);
    }
    const bool kept = ::GetFileAttributesExA(probe.c_str(), GetFileExInfoStandard, &data) &&
                      !std::memcmp(&data.ftCreationTime, &kPast, sizeof(kPast));
    ::DeleteFileA(probe.c_str());
    return kept;
}

TEST(ReadOnlyRetry, OnlyAccessDeniedClearsReadOnlyAndOpensOnceMore) {
    // The first and the second refusal, and the opens expected.
    const DWORD cases[][3] = {
        {ERROR_ACCESS_DENIED, 0, 2}, {ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, 2}, {ERROR_SHARING_VIOLATION, 0, 1}};
    trtest::TempFolder folder;
    const std::string path = folder / "ro.dat";
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0] + c[1]);
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(trtest::WriteFileBytes(path, "old content"));
        {  // times in the past, so a change would show
            tr::Handle f(::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(::SetFileTime(f.Get(), &kPast, &kPast, &kPast));
        }
        // Hidden and system too: opening such a file to truncate it must not need their flags.
        const DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
        ASSERT_TRUE(::SetFileAttributesA(path.c_str(), attributes));
        WIN32_FILE_ATTRIBUTE_DATA want, now;
        ASSERT_TRUE(::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &want));
        g_refusals[0] = c[0], g_refusals[1] = c[1], g_calls = 0;
        auto file = tr::data::OpenForRewriteWith(path, {.open = &ScriptedOpen});
        const int calls = static_cast<int>(c[2]);
        const bool opened = c[1] == 0 && calls == 2;
        EXPECT_EQ(opened, file != nullptr);
        EXPECT_EQ(calls, g_calls);
        // A failed retry leaves read-only alone cleared, the times untouched.
        if (calls == 2) want.dwFileAttributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &now));
        EXPECT_TRUE(opened || std::memcmp(&now, &want, sizeof now) == 0);
        EXPECT_TRUE(!file || (file->Write("new") && file->Close()));
        std::string bytes;
        ASSERT_TRUE(trtest::ReadFileBytes(path, bytes));
        EXPECT_EQ(opened ? "new" : "old content", bytes);
        // The new file keeps hidden and system (read-only went with the
        // retry), and its creation time where the file system keeps one that
        // is set (Wine's does not).
        ASSERT_TRUE(::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &now));
        if (opened) {
            EXPECT_EQ(attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY), now.dwFileAttributes & attributes);
            EXPECT_TRUE(!CreationTimesKept(folder / "probe.dat") ||
                        !std::memcmp(&want.ftCreationTime, &now.ftCreationTime, sizeof(FILETIME)));
        }
        EXPECT_EQ(std::set<std::string>{"ro.dat"}, Names(folder.Path()));
    }
    // Unscripted, Windows refuses the open and the retry clears read-only;
    // Wine as root opens the file, and the rewrite clears it before the
    // replacement, which refuses a read-only original. Same end either way.
    for (const DWORD kept : {DWORD{0}, DWORD{FILE_ATTRIBUTE_HIDDEN}}) {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(trtest::WriteFileBytes(path, "old") &&
                    ::SetFileAttributesA(path.c_str(), kept | FILE_ATTRIBUTE_READONLY));
        auto file = tr::data::OpenForRewrite(path);
        ASSERT_TRUE(file && file->Write("new") && file->Close()) << kept;
        std::string bytes;
        EXPECT_TRUE(trtest::ReadFileBytes(path, bytes) && bytes == "new");
        EXPECT_EQ(kept, ::GetFileAttributesA(path.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    }
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Ends the process, as a kill would, after the step numbered g_killAt (from 1).
int g_killAt, g_steps;
void KillAtStep(tr::data::RewriteStep) {
    if (++g_steps == g_killAt) ::TerminateProcess(::GetCurrentProcess(), 70 + g_steps);
}

// Rewrites args[0] with args[2] in two writes, ended after step args[1] (0:
// never). Exit 70 + the step, 0 when the rewrite completed, 1 when it failed.
TR_CHILD_ROLE(rewrite_killed) {
    g_killAt = std::stoi(args.at(1));
    const std::string& text = args.at(2);
    auto file = tr::data::OpenForRewriteWith(args.at(0), {.after = &KillAtStep});
    return file && file->Write(text.substr(0, text.size() / 2)) && file->Write(text.substr(text.size() / 2)) &&
                   file->Close()
               ? 0
               : 1;
}

TEST(RewriteInOneStep, AProcessEndedAfterAnyStepLeavesTheOldFileOrTheNewOneWhole) {
    // Held, TempCreated, Written twice, Flushed, Stamped, TempClosed, Replaced.
    constexpr int kSteps = 8;
    const std::string old = "Title:old\r\nKey:00000001\r\n", fresh = std::string(5000, 'n'), later = "later";
    trtest::TempFolder folder;
    const std::string path = folder / "PPKData.dat";
    int tried = 0;
    for (const bool existed : {true, false}) {
        for (int killAt = 1; killAt <= kSteps + 1; ++killAt, ++tried) {
            SCOPED_TRACE(testing::Message()
                         << (existed ? "existing file" : "new file") << ", ended after step " << killAt);
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(path.c_str());
            ASSERT_TRUE(!existed || (trtest::WriteFileBytes(path, old) &&
                                     ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN)));
            const bool ended = killAt <= kSteps, replaced = killAt >= kSteps;
            EXPECT_EQ(ended ? 70 + killAt : 0,
                      trtest::RunChild("rewrite_killed", {path, std::to_string(killAt), fresh}));
            std::string bytes = "<none>";
            trtest::ReadFileBytes(path, bytes);
            EXPECT_EQ(replaced ? fresh : existed ? old : "<none>", bytes);
            // At most the new content's own file is left beside it.
            std::set<std::string> names = Names(folder.Path());
            names.erase("PPKData.dat~");
            EXPECT_EQ(replaced || existed ? std::set<std::string>{"PPKData.dat"} : std::set<std::string>{}, names);
            // The next rewrite takes its place and leaves nothing else.
            auto file = tr::data::OpenForRewrite(path);
            ASSERT_TRUE(file && file->Write(later) && file->Close());
            EXPECT_TRUE(trtest::ReadFileBytes(path, bytes) && bytes == later);
            EXPECT_EQ(std::set<std::string>{"PPKData.dat"}, Names(folder.Path()));
            EXPECT_EQ(existed ? FILE_ATTRIBUTE_HIDDEN : 0u, ::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
        }
    }
    std::printf("rewrite ended after each of %d steps, existing and new file: %d runs\n", kSteps, tried);
}

// Writes half of what it is given, then fails as a full disk does.
BOOL WINAPI HalfThenDiskFull(HANDLE file, LPCVOID data, DWORD size, LPDWORD done, LPOVERLAPPED) {
    if (!::WriteFile(file, data, size / 2, done, nullptr)) return FALSE;
    ::SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

TEST(RewriteInOneStep, WhileItRunsOthersAreRefusedAndAWriteThatFailsPartWayLeavesTheOldFile) {
    trtest::TempFolder folder;
    const std::string path = folder / "SKeyData.dat";
    ASSERT_TRUE(trtest::WriteFileBytes(path, "old content"));
    const long handles = trtest::HandleCount();
    auto file = tr::data::OpenForRewriteWith(path, {.write = &HalfThenDiskFull});
    ASSERT_TRUE(file);
    tr::data::FileContent content;
    ::SetLastError(0xdeadbeef);
    EXPECT_FALSE(tr::data::ReadWholeFile(path, content));
    EXPECT_EQ(ERROR_SHARING_VIOLATION, ::GetLastError());
    ::SetLastError(0xdeadbeef);
    EXPECT_FALSE(tr::data::OpenForRewrite(path));
    EXPECT_EQ(ERROR_SHARING_VIOLATION, ::GetLastError());
    // The failing call's error stays through Close and the end of the rewrite.
    ::SetLastError(0xdeadbeef);
    EXPECT_FALSE(file->Write("new content, longer than the old"));
    EXPECT_EQ(ERROR_DISK_FULL, ::GetLastError());
    EXPECT_FALSE(file->Close());
    file.reset();
    EXPECT_EQ(ERROR_DISK_FULL, ::GetLastError());
    std::string bytes;
    EXPECT_TRUE(trtest::ReadFileBytes(path, bytes) && bytes == "old content");
    EXPECT_EQ(std::set<std::string>{"SKeyData.dat"}, Names(folder.Path()));
    EXPECT_EQ(handles, trtest::HandleCount());
}

}  // namespace
