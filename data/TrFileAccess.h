// TrFileAccess.h - the only way the data layer reaches files and the client
// window, so the layer also builds natively (sanitizers, fuzzing) with
// another implementation behind the same few calls.
#ifndef TR_DATA_FILEACCESS_H
#define TR_DATA_FILEACCESS_H

#include <memory>
#include <string>
#include <string_view>

namespace tr {
namespace data {

// A file's whole content in memory: its bytes, and what keeps them valid (a
// buffer of its own, or a read-only view of the file, which keeps the file
// open without sharing until the last copy of the keeper is dropped).
struct FileContent {
    std::string_view bytes;
    std::shared_ptr<const void> keeper;
};

// Reads the whole file, opened without sharing. False when the file cannot
// be opened or read (missing, held open by another process, a folder, a path
// that is not a valid path of at most 259 characters, or too big to hold in
// memory); 'content' is then unspecified.
bool ReadWholeFile(const std::string& path, FileContent& content);

// A data file being rewritten. The new content gathers in a file of its own
// beside the original, which it replaces in one step at Close; until then the
// original is untouched and held, so other processes' opens are refused as
// while the file is written. A rewrite that fails, or is dropped without
// Close, leaves the original as it was. A failed call leaves the thread's
// last error at the error of the system call that failed.
class RewriteFile {
public:
    virtual ~RewriteFile() = default;
    // Appends the bytes to the new content; false when not all of them could
    // be written (the rewrite is then abandoned).
    virtual bool Write(std::string_view bytes) = 0;
    // Puts the new content in place of the original; false when it could not
    // (the original stays) or a Write failed before.
    virtual bool Close() = 0;
};

// Starts rewriting the file, or making it when it does not exist. When the
// original's open is refused with "access denied", clears only its read-only
// attribute (the other attributes and the times stay) and tries once more.
// Null when the rewrite cannot start; the file is then untouched apart from
// that attribute.
std::unique_ptr<RewriteFile> OpenForRewrite(const std::string& path);

// Tells the client window that a data file was rewritten. True when there
// was a client window to tell.
bool AnnounceRewrite();

// Paths are Windows paths of at most 259 characters without NUL bytes.
inline bool IsUsablePath(const std::string& path) {
    return !path.empty() && path.size() < 260 && path.find('\0') == std::string::npos;
}

}  // namespace data
}  // namespace tr

#endif  // TR_DATA_FILEACCESS_H
