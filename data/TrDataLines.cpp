// TrDataLines.cpp - label recognition over the bytes of one line.
#include "data/TrDataLines.h"

#include "base/TrText.h"

#include <climits>
#include <cstring>

namespace tr {
namespace data {

bool ContainsLabel(std::string_view line, std::string_view label) {
    // Every label ends with ':'. Finding the colons first (a plain byte
    // search) rules out most lines at once; a candidate is then confirmed
    // by the code-page aware search, so a match that starts inside a
    // double-byte character never counts.
    const std::size_t n = label.size();
    if (n == 0 || line.size() < n) return false;
    for (std::size_t c = line.find(':', n - 1); c != std::string_view::npos; c = line.find(':', c + 1)) {
        const std::size_t start = c + 1 - n;
        if (std::memcmp(line.data() + start, label.data(), n) != 0) continue;
        if (start == 0) return true;  // the start of a line is always a character boundary
        return FindText(line, label) != kNotFound;
    }
    return false;
}

namespace {

// Whether 'label' ends with the colon at c: its text right before, compared
// from the back so most candidates fail at the first byte.
inline bool EndsAt(std::string_view line, std::size_t c, std::string_view label) {
    const std::size_t n = label.size();
    if (c + 1 < n) return false;
    const char* p = line.data() + c + 1 - n;
    for (std::size_t i = n - 1; i-- > 0;)
        if (p[i] != label[i]) return false;
    return true;
}

}  // namespace

std::size_t FirstLabelIn(std::string_view line, const std::string_view* labels, std::size_t count) {
    // One pass over the line's colons marks every label that ends at one of
    // them; a mark that does not start the line is confirmed with the
    // code-page aware search, as in ContainsLabel.
    constexpr std::size_t kMax = 16;
    bool candidate[kMax] = {};
    bool any = false;
    const std::size_t n = count < kMax ? count : kMax;
    for (std::size_t c = line.find(':'); c != std::string_view::npos; c = line.find(':', c + 1)) {
        for (std::size_t i = 0; i < n; ++i) {
            if (candidate[i] || !EndsAt(line, c, labels[i])) continue;
            const std::size_t start = c + 1 - labels[i].size();
            if (start != 0 && FindText(line, labels[i]) == kNotFound) continue;
            candidate[i] = any = true;
        }
    }
    if (any)
        for (std::size_t i = 0; i < n; ++i)
            if (candidate[i]) return i;
    return count;
}

std::string_view ValueAfter(std::string_view line, std::string_view label) {
    return TrimLeft(line.size() > label.size() ? line.substr(label.size()) : std::string_view());
}

std::uint32_t HexKey(std::string_view text) {
    std::string digits(text);
    MakeUpper(digits);
    std::uint32_t value = 0;
    for (const char ch : digits) {
        const unsigned char b = static_cast<unsigned char>(ch);
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
