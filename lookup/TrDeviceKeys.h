// TrDeviceKeys.h - the key texts the finder makes of device identifiers. Pure
// text work over the ANSI code page, so it also builds natively and is fuzzed.
#ifndef TR_LOOKUP_DEVICEKEYS_H
#define TR_LOOKUP_DEVICEKEYS_H

#include <string>

namespace tr {
namespace lookup {

// Width of the unique identifier of an IEEE 1394 device.
constexpr std::size_t kUniqueKeyWidth = 16;

// The text after the last backslash, padded on the left with '0' to 16
// characters (a longer text stays whole). False when there is no backslash;
// 'key' then holds the whole source.
bool LastKey(const std::string& source, std::string& key);

// The text between the first and the second backslash. False when either is
// missing ('key' holds the whole source) or the text between them is empty
// ('key' is empty).
bool SecondKey(const std::string& source, std::string& key);

// The two keys of a Win2K IEEE 1394 device identifier "<type>\<unique>": the
// unique key is the text after the first backslash padded like LastKey (the
// product formats it with "%016s", whose padding is '0' there); the type key
// the text before it. Without a backslash both come from the whole text.
void Win2kXbusKeys(const std::string& device, std::string& unique, std::string& type);

}  // namespace lookup
}  // namespace tr

#endif  // TR_LOOKUP_DEVICEKEYS_H
