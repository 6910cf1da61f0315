// The data layer's Windows file access compiled in: whole-file reads, mapped
// or copied, and the read-only retry of a rewrite, with the open call
// replaced so that the refusal happens even where the system would let the
// open through (Wine running as root ignores read-only files).
#include "TrTestSupport.h"

#include "data/TrFileAccessWin.h"

#include <cstring>

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
            const FILETIME past = {0x12345678, 0x01c00000};
            ASSERT_TRUE(::SetFileTime(f.Get(), &past, &past, &past));
        }
        // Hidden and system too: opening such a file to truncate it must not need their flags.
        const DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
        ASSERT_TRUE(::SetFileAttributesA(path.c_str(), attributes));
        WIN32_FILE_ATTRIBUTE_DATA want, now;
        ASSERT_TRUE(::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &want));
        g_refusals[0] = c[0], g_refusals[1] = c[1], g_calls = 0;
        auto file = tr::data::OpenForRewriteWith(path, &ScriptedOpen);
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
    }
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
