// TrFileAccessWin.cpp - data files on Windows: whole-file reads without
// sharing, and rewrites that put the new content in place in one step.
#include "data/TrFileAccessWin.h"

#include "base/TrHandle.h"
#include "base/TrText.h"

#include <cstdint>
#include <cstdio>
#include <limits>

namespace tr {
namespace data {
namespace {

// ReadFile and WriteFile take 32-bit counts; big files go in pieces.
constexpr DWORD kChunk = 1u << 30;

// From this size on a file is mapped instead of read. Under Wine the
// mapping costs about 0.3 ms more to set up and saves about 3 ms per MB.
constexpr std::size_t kMapFrom = 256 * 1024;

// Keeps the thread's last error across clean-up calls, so a failure is
// reported with the error of the call that failed.
class KeepLastError {
public:
    KeepLastError() : m_error(::GetLastError()) {}
    ~KeepLastError() { ::SetLastError(m_error); }
    KeepLastError(const KeepLastError&) = delete;
    KeepLastError& operator=(const KeepLastError&) = delete;

private:
    DWORD m_error;
};

// Attributes the new file takes over from the original.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE;

// A rewrite: the new content goes to a file beside the original, is flushed,
// takes over the original's creation time and attributes, and replaces it.
// The original stays held (or, when there was none, the name stays free)
// until then; a kill at any point leaves the old file or the new one whole.
class WinRewriteFile : public RewriteFile {
public:
    WinRewriteFile(std::string path, std::string tempPath, Handle original, const FILE_BASIC_INFO& stamp,
                   const RewriteSeams& seams)
        : m_path(std::move(path)), m_tempPath(std::move(tempPath)), m_original(std::move(original)), m_stamp(stamp),
          m_seams(seams) {}

    // Makes the file the new content goes to.
    bool Begin() {
        // One left behind may carry the attributes of a stamp, which a create
        // that replaces it would have to repeat.
        ::SetFileAttributesA(m_tempPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        m_temp.Reset(::CreateFileA(m_tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                   nullptr));
        if (!m_temp) {
            m_tempPath.clear();  // held by another rewrite: not ours to remove
            return Fail();
        }
        Step(RewriteStep::TempCreated);
        return true;
    }

    ~WinRewriteFile() override {
        KeepLastError kept;  // the caller may have set it after Close
        Abandon();
    }

    bool Write(std::string_view bytes) override {
        if (!m_temp) return false;
        while (!bytes.empty()) {
            const DWORD want = bytes.size() > kChunk ? kChunk : static_cast<DWORD>(bytes.size());
            DWORD done = 0;
            if (!m_seams.write(m_temp.Get(), bytes.data(), want, &done, nullptr)) return Fail();
            if (done == 0) return ::SetLastError(ERROR_WRITE_FAULT), Fail();
            bytes.remove_prefix(done);
        }
        Step(RewriteStep::Written);
        return true;
    }

    bool Close() override {
        if (!m_temp) return false;  // a failed Write abandoned the rewrite already
        if (!::FlushFileBuffers(m_temp.Get())) return Fail();
        Step(RewriteStep::Flushed);
        if (m_stamp.FileAttributes &&
            !::SetFileInformationByHandle(m_temp.Get(), FileBasicInfo, &m_stamp, sizeof(m_stamp)))
            return Fail();
        Step(RewriteStep::Stamped);
        if (!::CloseHandle(m_temp.Detach())) return Fail();
        Step(RewriteStep::TempClosed);
        if (!Replace()) return Fail();
        m_tempPath.clear();  // it is the data file now
        Step(RewriteStep::Replaced);
        m_original.Reset();
        return true;
    }

private:
    bool Replace() {
        const DWORD flags = REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS;
        if (m_original) {
            // ReplaceFile opens the original to read and delete it, which the
            // hold refuses. The hold hands over to a handle that shares all of
            // that and still refuses the data layer's opens (they share
            // nothing), opened while the hold still stands.
            m_original.Reset(::CreateFileA(m_path.c_str(), DELETE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!m_original) return false;
            if (::ReplaceFileA(m_path.c_str(), m_tempPath.c_str(), nullptr, flags, nullptr, nullptr)) return true;
            m_original.Reset();  // a file system that cannot replace: renamed over
        }
        const DWORD how = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
        return ::MoveFileExA(m_tempPath.c_str(), m_path.c_str(), how) != 0;
    }

    bool Fail() {
        KeepLastError kept;
        Abandon();
        return false;
    }

    // Drops the new content and lets the original go, untouched.
    void Abandon() {
        m_temp.Reset();
        if (!m_tempPath.empty()) ::DeleteFileA(m_tempPath.c_str());
        m_tempPath.clear();
        m_original.Reset();
    }

    void Step(RewriteStep step) const {
        if (m_seams.after) m_seams.after(step);
    }

    std::string m_path;
    std::string m_tempPath;  // empty once the new file is in place or dropped
    Handle m_original;       // empty when there was no file yet
    Handle m_temp;           // empty once closed
    FILE_BASIC_INFO m_stamp;
    RewriteSeams m_seams;
};

// A read-only view of a file, with the file kept open without sharing for
// as long as the view is in use, so nobody can change the bytes under it.
struct MappedFile {
    Handle file;
    Handle mapping;
    MappedView view;
};

// Only files on a fixed drive are mapped. A read through a view that fails
// (a network drive gone, a card pulled out) raises an exception in the
// middle of parsing, where a read by ReadFile just reports the failure.
bool OnFixedDrive(const std::string& path) {
    char full[MAX_PATH];
    const DWORD n = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (n < 3 || n >= MAX_PATH || full[1] != ':' || full[2] != '\\') return false;
    const char root[] = {full[0], ':', '\\', '\0'};
    return ::GetDriveTypeA(root) == DRIVE_FIXED;
}

bool MapWholeFile(Handle& file, std::size_t size, FileContent& content) {
    auto held = std::make_shared<MappedFile>();
    held->mapping.Reset(::CreateFileMappingA(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!held->mapping) return false;
    held->view.Reset(::MapViewOfFile(held->mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!held->view) return false;
    held->file = std::move(file);
    content.bytes = std::string_view(static_cast<const char*>(held->view.Get()), size);
    content.keeper = std::move(held);
    return true;
}

}  // namespace

bool ReadWholeFileWith(const std::string& path, FileContent& content, std::size_t mapFrom) {
    if (!IsUsablePath(path)) return false;
    // No sharing: while this process reads, nobody writes, and a file that
    // another process holds open (in any mode) is refused.
    Handle file(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;  // also a folder: opening one needs backup semantics
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return false;
    if (static_cast<unsigned long long>(size.QuadPart) >= std::numeric_limits<std::size_t>::max() / 2) return false;
    const auto length = static_cast<std::size_t>(size.QuadPart);

    // A big file is mapped rather than copied: its pages come straight from
    // the file cache. For small files the mapping's own set-up costs more
    // than the copy. When mapping fails the file is read as any other.
    if (length > 0 && length >= mapFrom && OnFixedDrive(path) && MapWholeFile(file, length, content)) return true;

    auto bytes = std::make_shared<std::string>(length, '\0');  // bad_alloc goes to the caller
    std::size_t got = 0;
    while (got < bytes->size()) {
        const std::size_t left = bytes->size() - got;
        const DWORD want = left > kChunk ? kChunk : static_cast<DWORD>(left);
        DWORD done = 0;
        if (!::ReadFile(file.Get(), &(*bytes)[got], want, &done, nullptr)) return false;
        if (done == 0) break;  // shorter than its size said: keep what is there
        got += done;
    }
    bytes->resize(got);
    content.bytes = *bytes;
    content.keeper = std::move(bytes);
    return true;
}

bool ReadWholeFile(const std::string& path, FileContent& content) {
    return ReadWholeFileWith(path, content, kMapFrom);
}

HANDLE OpenForWriting(const std::string& path) {
    // Attributes are read and set through this handle too (creation time,
    // hidden, read-only).
    return ::CreateFileA(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string RewriteTempPath(const std::string& path) {
    if (path.size() + 1 < MAX_PATH) return path + '~';
    // No room for one more character: "~" and as much of a hash of the file
    // name as the name's own length leaves room for, in the same folder.
    const std::size_t slash = FindLastChar(path, '\\');
    const std::size_t start = slash == kNotFound ? 0 : slash + 1;
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (std::size_t i = start; i < path.size(); ++i) hash = (hash ^ static_cast<unsigned char>(path[i])) * 16777619u;
    char digits[9];
    std::snprintf(digits, sizeof(digits), "%08X", static_cast<unsigned>(hash));
    const std::size_t room = path.size() - start - 1;
    const std::string temp = path.substr(0, start) + "~" + std::string(digits, room < 8 ? room : 8);
    return temp == path ? std::string() : temp;
}

std::unique_ptr<RewriteFile> OpenForRewriteWith(const std::string& path, const RewriteSeams& seams) {
    if (!IsUsablePath(path)) return nullptr;
    Handle original(seams.open(path));
    if (!original && ::GetLastError() == ERROR_ACCESS_DENIED) {
        // A read-only file: clear that one attribute and try once more.
        // SetFileAttributes leaves the other attributes and the file times as
        // they are. A folder is refused the same way but is never written.
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return nullptr;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ::SetLastError(ERROR_ACCESS_DENIED), nullptr;
        if ((attributes & FILE_ATTRIBUTE_READONLY) &&
            !::SetFileAttributesA(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)))
            return nullptr;
        original.Reset(seams.open(path));
        if (!original) return nullptr;
    }
    // A missing file is made new; any other refusal ends the rewrite.
    if (!original && ::GetLastError() != ERROR_FILE_NOT_FOUND) return nullptr;

    FILE_BASIC_INFO stamp = {};
    if (original) {
        FILE_BASIC_INFO now = {};
        if (!::GetFileInformationByHandleEx(original.Get(), FileBasicInfo, &now, sizeof(now))) return nullptr;
        // Opened although read-only (Wine lets its root user do that): the
        // attribute goes now, as a refused open would have had it go, since
        // the replacement refuses a read-only original.
        if (now.FileAttributes & FILE_ATTRIBUTE_READONLY) {
            FILE_BASIC_INFO cleared = {};  // zero times and attributes stay as they are: "normal" clears
            cleared.FileAttributes = now.FileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
            if (!cleared.FileAttributes) cleared.FileAttributes = FILE_ATTRIBUTE_NORMAL;
            if (!::SetFileInformationByHandle(original.Get(), FileBasicInfo, &cleared, sizeof(cleared))) return nullptr;
        }
        // What the new file takes over: the creation time and the attributes
        // a rewrite in place would have kept, with "archive" set as any write
        // sets it. Zero times are left as they are.
        stamp.CreationTime = now.CreationTime;
        stamp.FileAttributes = (now.FileAttributes & kKeptAttributes) | FILE_ATTRIBUTE_ARCHIVE;
    }
    if (seams.after) seams.after(RewriteStep::Held);

    std::string tempPath = RewriteTempPath(path);
    if (tempPath.empty()) return ::SetLastError(ERROR_FILENAME_EXCED_RANGE), nullptr;
    // All that allocates comes before the new file is made: running out of
    // memory leaves nothing on disk.
    auto rewrite = std::make_unique<WinRewriteFile>(path, std::move(tempPath), std::move(original), stamp, seams);
    if (!rewrite->Begin()) return nullptr;
    return rewrite;
}

std::unique_ptr<RewriteFile> OpenForRewrite(const std::string& path) { return OpenForRewriteWith(path, {}); }

}  // namespace data
}  // namespace tr
