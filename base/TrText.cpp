// TrText.cpp - code-page aware searches, upper-casing and trimming.
#include "base/TrText.h"

#include "base/TrCodePage.h"

#include <cstring>

namespace tr {

std::size_t CharLength(std::string_view s, std::size_t i) {
    return (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

std::size_t FindChar(std::string_view s, char c, std::size_t from) {
    const bool* lead = LeadByteTable();
    const std::size_t n = s.size();
    for (std::size_t i = from; i < n;) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        if (b == static_cast<unsigned char>(c) && !lead[b]) return i;
        i += (lead[b] && i + 1 < n) ? 2 : 1;
    }
    return kNotFound;
}

std::size_t FindLastChar(std::string_view s, char c) {
    // Walking forward is the only safe way: a byte on its own cannot tell
    // whether it is a trail byte.
    std::size_t last = kNotFound;
    for (std::size_t i = FindChar(s, c); i != kNotFound; i = FindChar(s, c, i + 1)) last = i;
    return last;
}

std::size_t FindText(std::string_view s, std::string_view needle, std::size_t from) {
    if (needle.empty()) return from <= s.size() ? from : kNotFound;
    const bool* lead = LeadByteTable();
    const std::size_t n = s.size();
    for (std::size_t i = from; i < n && n - i >= needle.size();) {
        if (s[i] == needle[0] && std::memcmp(s.data() + i, needle.data(), needle.size()) == 0) return i;
        i += (lead[static_cast<unsigned char>(s[i])] && i + 1 < n) ? 2 : 1;
    }
    return kNotFound;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && std::memcmp(s.data(), prefix.data(), prefix.size()) == 0;
}

void MakeUpper(std::string& s) {
    const bool* lead = LeadByteTable();
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        if (lead[b]) { ++i; continue; }
        if (b >= 'a' && b <= 'z') s[i] = static_cast<char>(b - 'a' + 'A');
    }
}

std::string ToUpper(std::string_view s) {
    std::string out(s);
    MakeUpper(out);
    return out;
}

std::string_view TrimLeft(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsSpace(static_cast<unsigned char>(s[i]))) ++i;
    return s.substr(i);
}

std::string_view TrimRight(std::string_view s) {
    std::size_t n = s.size();
    while (n > 0 && IsSpace(static_cast<unsigned char>(s[n - 1]))) --n;
    return s.substr(0, n);
}

}  // namespace tr
