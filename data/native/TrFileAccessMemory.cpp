// TrFileAccessMemory.cpp - the data layer's file access for the native
// build, over the in-memory file table.
#include "data/TrFileAccess.h"

#include <windows.h>

#include "data/native/TrMemoryFiles.h"

#include <map>
#include <set>

namespace tr {
namespace {

struct State {
    std::map<std::string, std::string> files;
    std::set<std::string> locked;
    long failAfter = -1;
    bool client = true;
    int announcements = 0;
};

State& S() {
    static State state;
    return state;
}

class MemoryRewriteFile : public data::RewriteFile {
public:
    explicit MemoryRewriteFile(std::string path) : m_path(std::move(path)) {}
    bool Write(std::string_view bytes) override {
        m_wanted += bytes.size();
        State& s = S();
        std::string& file = m_pending;
        if (s.failAfter >= 0) {
            const std::size_t room = static_cast<std::size_t>(s.failAfter);
            s.failAfter = -1;
            if (bytes.size() > room) {
                file.append(bytes.substr(0, room));
                ::SetLastError(ERROR_DISK_FULL);
                return false;
            }
        }
        file.append(bytes);
        return true;
    }
    // As on Windows, the new content takes the file's place only now, and
    // only when all of it was written; until then the file keeps what it held.
    bool Close() override {
        if (m_closed || m_pending.size() != m_wanted) return false;
        m_closed = true;
        S().files[m_path] = m_pending;
        return true;
    }

private:
    std::string m_path;
    std::string m_pending;
    std::size_t m_wanted = 0;
    bool m_closed = false;
};

}  // namespace

namespace data {

bool ReadWholeFile(const std::string& path, FileContent& content) {
    State& s = S();
    if (!IsUsablePath(path) || s.locked.count(path)) return ::SetLastError(ERROR_SHARING_VIOLATION), false;
    auto it = s.files.find(path);
    if (it == s.files.end()) return false;
    auto copy = std::make_shared<const std::string>(it->second);
    content.bytes = *copy;
    content.keeper = std::move(copy);
    return true;
}

std::unique_ptr<RewriteFile> OpenForRewrite(const std::string& path) {
    State& s = S();
    if (!IsUsablePath(path) || s.locked.count(path)) return ::SetLastError(ERROR_SHARING_VIOLATION), nullptr;
    return std::make_unique<MemoryRewriteFile>(path);
}

bool AnnounceRewrite() {
    State& s = S();
    if (!s.client) return false;
    ++s.announcements;
    return true;
}

}  // namespace data

namespace memfiles {

void Put(const std::string& path, const std::string& bytes) { S().files[path] = bytes; }
bool Get(const std::string& path, std::string& bytes) {
    auto it = S().files.find(path);
    if (it == S().files.end()) return false;
    bytes = it->second;
    return true;
}
bool Exists(const std::string& path) { return S().files.count(path) != 0; }
void Remove(const std::string& path) { S().files.erase(path); }
void Reset() { S() = State(); }
void SetLocked(const std::string& path, bool locked) {
    if (locked) S().locked.insert(path);
    else S().locked.erase(path);
}
void FailWritesAfter(long bytes) { S().failAfter = bytes; }
void SetClientWindow(bool present) { S().client = present; }
int Announcements() { return S().announcements; }

}  // namespace memfiles
}  // namespace tr

