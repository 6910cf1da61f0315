// TrFieldText.h - putting a text into a caller's fixed field (260 bytes in
// the exchanged structures): cut on a character boundary, never overrun.
#ifndef TR_BASE_FIELDTEXT_H
#define TR_BASE_FIELDTEXT_H

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string_view>

namespace tr {

// Copies as many whole characters of text as fit in capacity - 1 bytes,
// then the terminator. A double-byte character that would straddle the end
// is left out whole. Returns the number of bytes copied.
std::size_t CopyToField(char* field, std::size_t capacity, std::string_view text);

// Length of the longest prefix of text that is made of whole characters and
// is at most maxBytes long.
std::size_t FittingLength(std::string_view text, std::size_t maxBytes);

// Copies a field of MAX_PATH bytes that may lack its terminator into another
// such field, cut as CopyToField cuts.
inline void CopyFieldText(char* field, const char* source) {
    CopyToField(field, MAX_PATH, std::string_view(source, ::strnlen(source, MAX_PATH)));
}

}  // namespace tr

#endif  // TR_BASE_FIELDTEXT_H
