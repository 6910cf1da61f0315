// Fuzzer of the finder's device keys: any bytes in as a USB or IEEE 1394
// device identifier (the first byte picks code page 932 or a single-byte
// one), the Win98 second and last keys and the Win2K unique and type keys
// out, each checked against the backslashes found by walking the text
// character by character.
#include "base/TrText.h"
#include "data/native/TrNativeCodePage.h"
#include "lookup/TrDeviceKeys.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool ok, const char* what) {
    if (!ok) std::fprintf(stderr, "fuzz invariant broken: %s\n", what), std::abort();
}

// Offsets of the backslashes that are whole characters.
std::vector<std::size_t> Separators(const std::string& s) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < s.size(); i += tr::CharLength(s, i))
        if (s[i] == '\\') found.push_back(i);
    return found;
}

// A key of at least 16 characters that ends with 'tail', '0' in front.
bool PaddedFrom(const std::string& key, const std::string& tail) {
    const std::size_t width = tail.size() < tr::lookup::kUniqueKeyWidth ? tr::lookup::kUniqueKeyWidth : tail.size();
    return key.size() == width && key.compare(width - tail.size(), tail.size(), tail) == 0 &&
           key.find_first_not_of('0') >= width - tail.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    tr::native::SelectCodePage(data[0] & 1 ? 932 : 1252);
    const std::string source(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<std::size_t> at = Separators(source);

    std::string last = "marker", second = "marker", unique = "marker", type = "marker";
    const bool lastOk = tr::lookup::LastKey(source, last);
    Check(lastOk == !at.empty(), "last key result");
    Check(lastOk ? PaddedFrom(last, source.substr(at.back() + 1)) : last == source, "last key");

    const bool secondOk = tr::lookup::SecondKey(source, second);
    const std::string between = at.size() < 2 ? source : source.substr(at[0] + 1, at[1] - at[0] - 1);
    Check(secondOk == (at.size() >= 2 && !between.empty()), "second key result");
    Check(second == between, "second key");

    tr::lookup::Win2kXbusKeys(source, unique, type);
    Check(type == (at.empty() ? source : source.substr(0, at[0])), "type key");
    Check(PaddedFrom(unique, at.empty() ? source : source.substr(at[0] + 1)), "unique key");
    return 0;
}
