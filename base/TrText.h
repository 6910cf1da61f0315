// TrText.h - text helpers over bytes of the ANSI code page.
//
// Every search steps over double-byte characters whole, so a trail byte that
// happens to equal '\\', '[' or a label's letter is never matched. Case and
// white space rules are those of single bytes (ASCII); a double-byte character
// is never changed or trimmed.
#ifndef TR_BASE_TEXT_H
#define TR_BASE_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>

namespace tr {

constexpr std::size_t kNotFound = std::string_view::npos;

// Length in bytes of the character that starts at s[i]: 2 for a lead byte
// followed by any byte, else 1 (a lead byte at the very end stands alone).
std::size_t CharLength(std::string_view s, std::size_t i);

// First occurrence of the single-byte character c at or after 'from' (which
// must be a character boundary), or kNotFound.
std::size_t FindChar(std::string_view s, char c, std::size_t from = 0);

// Last occurrence of the single-byte character c, or kNotFound.
std::size_t FindLastChar(std::string_view s, char c);

// First occurrence of 'needle' that starts on a character boundary at or
// after 'from', or kNotFound. An empty needle is found at 'from'.
std::size_t FindText(std::string_view s, std::string_view needle, std::size_t from = 0);

// True when s begins with 'prefix' (a prefix always ends on a character
// boundary of s when it is itself made of whole characters).
bool StartsWith(std::string_view s, std::string_view prefix);

// Single-byte letters a-z upper-cased; double-byte characters untouched.
void MakeUpper(std::string& s);
std::string ToUpper(std::string_view s);

// Blank, tab, CR, LF, vertical tab and form feed.
inline bool IsSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string_view TrimLeft(std::string_view s);
// Trailing white space; a trail byte can never be taken for a blank because
// every double-byte trail byte of the supported code pages is 0x40 or above.
std::string_view TrimRight(std::string_view s);

}  // namespace tr

#endif  // TR_BASE_TEXT_H
