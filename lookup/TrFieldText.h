// TrFieldText.h - putting a record's text into a caller's fixed 260-byte
// field: cut to the field on a character boundary, never overrun.
#ifndef TR_LOOKUP_FIELDTEXT_H
#define TR_LOOKUP_FIELDTEXT_H

#include <cstddef>
#include <string_view>

namespace tr {

// Copies as many whole characters of text as fit in capacity - 1 bytes,
// then the terminator. A double-byte character that would straddle the end
// is left out whole. Returns the number of bytes copied.
std::size_t CopyToField(char* field, std::size_t capacity, std::string_view text);

// Length of the longest prefix of text that is made of whole characters and
// is at most maxBytes long.
std::size_t FittingLength(std::string_view text, std::size_t maxBytes);

}  // namespace tr

#endif  // TR_LOOKUP_FIELDTEXT_H
