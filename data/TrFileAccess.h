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

// A data file open for rewriting: already truncated to zero length, held
// without sharing until Close or destruction.
class RewriteFile {
public:
    virtual ~RewriteFile() = default;
    // Appends the bytes; false when not all of them reached the file.
    virtual bool Write(std::string_view bytes) = 0;
    // Closes the file; false when closing reported an error.
    virtual bool Close() = 0;
};

// Opens the file for rewriting, creating or truncating it. When the open is
// refused with "access denied", clears only the read-only attribute (the
// other attributes and the times stay) and tries once more. Null when the
// file cannot be opened; it is then untouched apart from that attribute.
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
