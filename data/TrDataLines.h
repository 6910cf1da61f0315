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

// The labels the databases know, as bits of a set.
enum LabelId : unsigned {
    kLabelTitle,
    kLabelDescription,
    kLabelPath,
    kLabelWorkDir,
    kLabelOption,
    kLabelKey,
    kLabelName,
    kLabelAttribute,
    kLabelLevel,
    kLabelCount
};
using LabelSet = unsigned;
constexpr LabelSet Bit(LabelId id) { return 1u << id; }
constexpr std::string_view kLabelText[kLabelCount] = {kTitle,  kDescription, kPath,      kWorkDir, kOption,
                                                      kKey,    kName,        kAttribute, kLevel};

// Every known label that occurs anywhere in the line on a character
// boundary (never inside a double-byte character). 'readable' (at least
// line.size()) is how many bytes from line.data() on belong to the same
// buffer and may be read, which lets short lines be scanned faster.
LabelSet LabelsIn(std::string_view line, std::size_t readable);
inline LabelSet LabelsIn(std::string_view line) { return LabelsIn(line, line.size()); }

// The line that starts at 'start' (up to the first LF before 'end', a CR
// right before the LF left out) and the labels in it, found in one pass.
// Gives where the next line starts.
const char* ReadLabelledLine(const char* start, const char* end, std::string_view& line, LabelSet& labels);

// The first label of 'order' (in its order) that is in the set, or 'count'
// when none is: the label that takes a line.
inline std::size_t FirstLabelOf(LabelSet labels, const LabelId* order, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (labels & Bit(order[i])) return i;
    return count;
}

// The value of a line taken by a label: as many bytes as the label has cut
// from the front of the line (wherever the label itself stood), then leading
// white space removed. Trailing characters stay.
std::string_view ValueAfter(std::string_view line, std::string_view label);

// Stores a field's value. A value that does not fit the field's room gets
// a buffer of exactly its size: one allocation, none wasted (assign would
// make room for twice the old capacity).
inline void StoreValue(std::string& field, std::string_view value) {
    if (value.size() > field.capacity()) field = std::string(value);
    else field.assign(value);
}

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
