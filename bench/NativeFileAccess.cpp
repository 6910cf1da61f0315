// NativeFileAccess.cpp - the data layer's file access over real files for
// the native benchmark: the same whole-file read as on Windows (files of
// 256 KB and more mapped, smaller ones read), so a native load does the same
// work as one under Wine. POSIX has no share modes: nothing keeps another
// process out while a file is read, which a benchmark does not need.
#include "data/TrFileAccess.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tr {
namespace data {
namespace {

constexpr std::size_t kMapFrom = 256 * 1024;

// Owns a descriptor for the length of one call.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

class Mapping {
public:
    Mapping(void* base, std::size_t size) : m_base(base), m_size(size) {}
    ~Mapping() { ::munmap(m_base, m_size); }
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;

private:
    void* m_base;
    std::size_t m_size;
};

class PosixRewriteFile : public RewriteFile {
public:
    explicit PosixRewriteFile(int fd) : m_fd(fd) {}
    ~PosixRewriteFile() override { Close(); }
    bool Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
            if (n <= 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }
    bool Close() override {
        if (m_fd < 0) return false;
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

}  // namespace

bool ReadWholeFile(const std::string& path, FileContent& content) {
    if (!IsUsablePath(path)) return false;
    Descriptor file{::open(path.c_str(), O_RDONLY)};
    struct stat st;
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const auto length = static_cast<std::size_t>(st.st_size);
    if (length >= kMapFrom) {
        void* base = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, file.fd, 0);
        if (base != MAP_FAILED) {
            content.keeper = std::make_shared<Mapping>(base, length);
            content.bytes = std::string_view(static_cast<const char*>(base), length);
            return true;
        }
    }
    auto bytes = std::make_shared<std::string>(length, '\0');
    std::size_t got = 0;
    while (got < length) {
        const ssize_t n = ::read(file.fd, &(*bytes)[got], length - got);
        if (n < 0) return false;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes->resize(got);
    content.bytes = *bytes;
    content.keeper = std::move(bytes);
    return true;
}

std::unique_ptr<RewriteFile> OpenForRewrite(const std::string& path) {
    if (!IsUsablePath(path)) return nullptr;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixRewriteFile>(fd);
}

bool AnnounceRewrite() { return false; }  // no client window outside Windows

}  // namespace data
}  // namespace tr
