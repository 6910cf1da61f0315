// TrDataLines.h - how a data-file line is recognised: sections, labels and
// the value that follows a label.
#ifndef TR_DATA_LINES_H
#define TR_DATA_LINES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tr {
namespace data {

constexpr std::string_view kTitle = "Title:";
constexpr std::string_view kDescription = "Description:";
constexpr std::string_view kPath = "Path:";
constexpr std::string_view kWorkDir = "WorkDir:";
constexpr std::string_view kOption = "Option:";
constexpr std::string_view kKey = "Key:";
constexpr std::string_view kName = "Name:";
constexpr std::string_view kAttribute = "Attribute:";
constexpr std::string_view kLevel = "Level:";

// True when the label occurs anywhere in the line on a character boundary
// (never inside a double-byte character).
bool ContainsLabel(std::string_view line, std::string_view label);

// Index of the first label of 'labels' (in their order) that occurs in the
// line, or 'count' when none does.
std::size_t FirstLabelIn(std::string_view line, const std::string_view* labels, std::size_t count);

// The value of a line taken by a label: as many bytes as the label has cut
// from the front of the line (wherever the label itself stood), then leading
// white space removed. Trailing characters stay.
std::string_view ValueAfter(std::string_view line, std::string_view label);

// Key digits as the key line gives them: upper-cased, then every byte taken
// as a hexadecimal digit with signed 8-bit arithmetic and no validation, the
// sum modulo 2^32.
std::uint32_t HexKey(std::string_view digits);

// Decimal value as atoi reads it: leading white space, an optional sign,
// digits up to the first other character; no digits give 0. Values beyond the
// 32-bit range are held at its ends.
int DecimalLevel(std::string_view text);

}  // namespace data
}  // namespace tr

#endif  // TR_DATA_LINES_H
