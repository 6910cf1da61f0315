// TrDataLines.cpp - label recognition over the bytes of one line.
#include "data/TrDataLines.h"

#include "base/TrCodePage.h"
#include "base/TrText.h"
#include "data/TrByteScan.h"

#include <climits>
#include <cstring>

namespace tr {
namespace data {

namespace {

// Labels by the letter before their colon: a colon is looked at closer only
// for the labels that end in the byte before it (none for "C:").
struct LabelsByLastLetter {
    LabelSet set[256] = {};
    constexpr LabelsByLastLetter() {
        for (unsigned id = 0; id < kLabelCount; ++id) {
            const std::string_view text = kLabelText[id];
            set[static_cast<unsigned char>(text[text.size() - 2])] |= 1u << id;
        }
    }
};
constexpr LabelsByLastLetter kByLastLetter;

// A few bytes compared in line: a library call would cost more than the
// comparison itself.
inline bool SameBytes(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

}  // namespace

namespace {

// The labels that end at the colon at 'colon' (not yet in 'found').
inline LabelSet LabelsEndingAt(std::string_view line, std::size_t colon, LabelSet found) {
    const char* begin = line.data();
    LabelSet labels = 0;
    for (LabelSet c = kByLastLetter.set[static_cast<unsigned char>(begin[colon - 1])] & ~found; c; c &= c - 1) {
        const auto id = static_cast<LabelId>(__builtin_ctz(c));
        const std::size_t size = kLabelText[id].size();
        if (colon + 1 < size) continue;
        const std::size_t start = colon + 1 - size;
        if (!SameBytes(begin + start, kLabelText[id].data(), size - 2)) continue;
        // Found by its colon, a match may start inside a double-byte
        // character; the code-page aware search decides. The start of a line
        // is always a character boundary.
        if (start != 0 && FindText(line, kLabelText[id]) == kNotFound) continue;
        labels |= Bit(id);
    }
    return labels;
}

}  // namespace

LabelSet LabelsIn(std::string_view line, std::size_t readable) {
    // One pass over the line's colons (every label ends with one); a colon
    // at the start of the line ends none.
    LabelSet found = 0;
    ForEachByte(line, readable, ':', [&](std::size_t colon) {
        if (colon != 0) found |= LabelsEndingAt(line, colon, found);
    });
    return found;
}

std::string_view ValueAfter(std::string_view line, std::string_view label) {
    std::size_t i = label.size();
    while (i < line.size() && IsSpace(static_cast<unsigned char>(line[i]))) ++i;
    return i < line.size() ? line.substr(i) : std::string_view();
}

std::uint32_t HexKey(std::string_view text) {
    // Upper-cased on the fly: a letter that is the second byte of a
    // double-byte character stays as it is, as MakeUpper leaves it.
    const bool* lead = LeadByteTable();
    std::uint32_t value = 0;
    bool trail = false;
    for (const char ch : text) {
        unsigned char b = static_cast<unsigned char>(ch);
        if (trail) trail = false;
        else if (lead[b]) trail = true;
        else if (b >= 'a' && b <= 'z') b = static_cast<unsigned char>(b - 'a' + 'A');
        const unsigned char diff = (b >= 'A' && b <= 'F') ? static_cast<unsigned char>(b - 'A' + 10)
                                                          : static_cast<unsigned char>(b - '0');
        const std::int32_t d = static_cast<signed char>(diff);
        value = value * 16u + static_cast<std::uint32_t>(d);
    }
    return value;
}

int DecimalLevel(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

}  // namespace data
}  // namespace tr
