// TrDeviceKeys.cpp - key texts of device identifiers. Backslashes are found
// character by character, so a double-byte character whose trail byte is a
// backslash never splits a key.
#include "lookup/TrDeviceKeys.h"

#include "base/TrText.h"

namespace tr {
namespace lookup {
namespace {

// mingw's "%016s" pads with blanks, the product's runtime with '0': padded by hand.
void PadWithZeros(std::string& key) {
    if (key.size() < kUniqueKeyWidth) key.insert(0, kUniqueKeyWidth - key.size(), '0');
}

}  // namespace

bool LastKey(const std::string& source, std::string& key) {
    key = source;
    const std::size_t last = FindLastChar(source, '\\');
    if (last == kNotFound) return false;
    key.erase(0, last + 1);
    PadWithZeros(key);
    return true;
}

bool SecondKey(const std::string& source, std::string& key) {
    key = source;
    const std::size_t first = FindChar(source, '\\');
    if (first == kNotFound) return false;
    const std::size_t second = FindChar(source, '\\', first + 1);
    if (second == kNotFound) return false;
    key = source.substr(first + 1, second - first - 1);
    return !key.empty();
}

void Win2kXbusKeys(const std::string& device, std::string& unique, std::string& type) {
    const std::size_t slash = FindChar(device, '\\');
    if (slash == kNotFound) {
        unique = type = device;
    } else {
        unique = device.substr(slash + 1);
        type = device.substr(0, slash);
    }
    PadWithZeros(unique);
}

}  // namespace lookup
}  // namespace tr
