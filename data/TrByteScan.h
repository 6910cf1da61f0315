// TrByteScan.h - finding single bytes in a data file's text, sixteen at a
// time where the processor offers SSE2. Only bytes below 0x40 are searched
// for (line ends, colons): no double-byte character has such a byte inside
// it, so no code-page rules are needed.
#ifndef TR_DATA_BYTESCAN_H
#define TR_DATA_BYTESCAN_H

#include <cstddef>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tr {
namespace data {

#if defined(__SSE2__)
// Bit i set when p[i] == c, for the sixteen bytes at p.
inline unsigned MatchMask(const char* p, __m128i c) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, c)));
}
#endif

// The first c in [p, end), or end. A line is short: the library call's own
// cost (and under Wine a byte-wise one) would outweigh the search.
inline const char* FindByte(const char* p, const char* end, char c) {
#if defined(__SSE2__)
    const __m128i needle = _mm_set1_epi8(c);
    for (; end - p >= 16; p += 16)
        if (const unsigned mask = MatchMask(p, needle)) return p + __builtin_ctz(mask);
#endif
    const void* found = p < end ? std::memchr(p, c, static_cast<std::size_t>(end - p)) : nullptr;
    return found ? static_cast<const char*>(found) : end;
}

// The line from 'start' to its line end 'lf' (or 'end' when the file ends
// without one): only the CR of a CR LF pair is a line end, a lone CR is a
// byte of the line.
inline std::string_view LineBefore(const char* start, const char* lf, const char* end) {
    std::size_t length = static_cast<std::size_t>(lf - start);
    if (lf != end && length > 0 && start[length - 1] == '\r') --length;
    return std::string_view(start, length);
}

// The first '\n' in [p, end) (or end), with f(offset from p) called for
// every colon before it, in order: a line's end and its colons in one pass.
template <class F>
inline const char* FindLineEnd(const char* p, const char* end, F&& colon) {
    const char* const start = p;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n'), colons = _mm_set1_epi8(':');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf)));
        unsigned found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, colons)));
        if (ends) found &= (ends & (0u - ends)) - 1;  // only those before the line end
        for (; found; found &= found - 1) colon(static_cast<std::size_t>(p - start) + __builtin_ctz(found));
        if (ends) return p + __builtin_ctz(ends);
    }
#endif
    for (; p < end; ++p) {
        if (*p == '\n') return p;
        if (*p == ':') colon(static_cast<std::size_t>(p - start));
    }
    return end;
}

// Calls f(offset) for every c in s, in order. 'readable' (at least
// s.size()) is how many bytes from s.data() on may be read: bytes past the
// end of s that are still inside the same buffer let a short s be looked at
// sixteen bytes at a time too.
template <class F>
inline void ForEachByte(std::string_view s, std::size_t readable, char c, F&& f) {
    const char* p = s.data();
    const std::size_t n = s.size();
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i needle = _mm_set1_epi8(c);
    for (; i < n && readable - i >= 16; i += 16) {
        unsigned mask = MatchMask(p + i, needle);
        if (n - i < 16) mask &= (1u << (n - i)) - 1;  // the bytes past the end of s
        for (; mask; mask &= mask - 1) f(i + static_cast<std::size_t>(__builtin_ctz(mask)));
    }
    if (i < n && n >= 16) {
        // Near the end of the buffer: the last sixteen bytes of s, without
        // those already seen.
        for (unsigned mask = MatchMask(p + n - 16, needle) >> (16 - (n - i)); mask; mask &= mask - 1)
            f(i + static_cast<std::size_t>(__builtin_ctz(mask)));
        return;
    }
#else
    (void)readable;
#endif
    for (; i < n; ++i)
        if (p[i] == c) f(i);
}

}  // namespace data
}  // namespace tr

#endif  // TR_DATA_BYTESCAN_H
