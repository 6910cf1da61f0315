// TrFieldText.cpp - cutting texts to fixed fields on character boundaries.
#include "base/TrFieldText.h"

#include "base/TrText.h"

#include <cstring>

namespace tr {

std::size_t FittingLength(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text.size();
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t next = i + CharLength(text, i);
        if (next > maxBytes) break;
        i = next;
    }
    return i;
}

std::size_t CopyToField(char* field, std::size_t capacity, std::string_view text) {
    if (capacity == 0) return 0;
    const std::size_t n = FittingLength(text, capacity - 1);
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
    return n;
}

}  // namespace tr
