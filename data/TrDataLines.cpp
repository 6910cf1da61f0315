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

// Whether the text of label 'id' before its last letter (the letter and the
// colon are known to match) stands at p. The sizes are constants, so the
// compiler compares a word at a time instead of calling memcmp.
template <LabelId id>
inline bool HeadAt(const char* p) {
    constexpr std::string_view text = kLabelText[id];
    return std::memcmp(p, text.data(), text.size() - 2) == 0;
}

inline bool HeadAt(LabelId id, const char* p) {
    switch (id) {
    case kLabelTitle: return HeadAt<kLabelTitle>(p);
    case kLabelDescription: return HeadAt<kLabelDescription>(p);
    case kLabelPath: return HeadAt<kLabelPath>(p);
    case kLabelWorkDir: return HeadAt<kLabelWorkDir>(p);
    case kLabelOption: return HeadAt<kLabelOption>(p);
    case kLabelKey: return HeadAt<kLabelKey>(p);
    case kLabelName: return HeadAt<kLabelName>(p);
    case kLabelAttribute: return HeadAt<kLabelAttribute>(p);
    case kLabelLevel: return HeadAt<kLabelLevel>(p);
    default: return false;
    }
}

// The labels that end at the colon at 'colon' (not yet in 'found').
inline LabelSet LabelsEndingAt(std::string_view line, std::size_t colon, LabelSet found) {
    const char* begin = line.data();
    LabelSet labels = 0;
    for (LabelSet c = kByLastLetter.set[static_cast<unsigned char>(begin[colon - 1])] & ~found; c; c &= c - 1) {
        const auto id = static_cast<LabelId>(__builtin_ctz(c));
        const std::size_t size = kLabelText[id].size();
        if (colon + 1 < size) continue;
        const std::size_t start = colon + 1 - size;
        if (!HeadAt(id, begin + start)) continue;
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

const char* ReadLabelledLine(const char* start, const char* end, std::string_view& line, LabelSet& labels) {
    // The colons are noted while the line end is sought; their labels can be
    // told only once the whole line is known (a match away from the line's
    // start is confirmed by a search of the line). A line with more colons
    // than noted is looked at again as a whole.
    constexpr std::size_t kNoted = 16;
    std::size_t colons[kNoted];
    std::size_t count = 0;
    bool more = false;
    const char* lf = FindLineEnd(start, end, [&](std::size_t colon) {
        if (count < kNoted) colons[count++] = colon;
        else more = true;
    });
    line = LineBefore(start, lf, end);
    if (more) {
        labels = LabelsIn(line, static_cast<std::size_t>(end - start));
    } else {
        LabelSet found = 0;
        for (std::size_t i = 0; i < count; ++i)
            if (colons[i] != 0) found |= LabelsEndingAt(line, colons[i], found);
        labels = found;
    }
    return lf != end ? lf + 1 : end;
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
