// Options.h - how every trctl command reads its command line: options and
// their values, numbers, and texts bound for a data-file field.
#ifndef TRCTL_OPTIONS_H
#define TRCTL_OPTIONS_H

#include "Commands.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace trctl {

// An option a command accepts: a flag ("--json") or one followed by a value.
struct OptionDef {
    const char* name;
    bool takesValue;
};

// A command line split into options and positional arguments. A word is an
// option when it starts with "--" (or is "-h") and stands where an option may
// stand: the word after an option that takes a value is that value, whatever
// it looks like, and "--" makes every later word positional. So
// "--title -h" sets the title "-h", while "-h" or "--help" in option place
// asks for the command's help.
class Options {
public:
    const Args& Positional() const { return m_positional; }
    bool Has(const std::string& name) const;
    // The value of the last occurrence of a value option, or nullptr.
    const std::string* Value(const std::string& name) const;
    // The first option given that is not among the names, or nullptr: for
    // commands whose options depend on a word (jog add, jog move).
    const char* OtherThan(std::initializer_list<const char*> names) const;

private:
    friend bool ParseOptions(const char*, const Args&, std::initializer_list<OptionDef>, Options&, int&);
    Args m_positional;
    std::vector<std::pair<std::string, std::string>> m_given;  // name, value ("" for flags)
};

// Parses args for the command. On a usage error prints it (exit code 2 in
// rc), on a request for help sets rc to kShowHelp; both return false.
bool ParseOptions(const char* command, const Args& args, std::initializer_list<OptionDef> known, Options& out,
                  int& rc);

// A whole number written in decimal, or in hexadecimal after "0x": "08" is
// eight, "010" ten. A leading '-' only where low is negative. False when the
// text is no such number or lies outside low..high.
bool ParseNumber(const std::string& text, long long low, long long high, long long& value);
// "--seconds: 'abc' is not a number from 1 to 2147483" for messages.
std::string NumberError(const std::string& what, const std::string& text, long long low, long long high);
// A numeric option's value checked against its range; an absent option
// keeps 'value'. False with the message in 'error'.
bool NumberOption(const Options& options, const char* name, long long low, long long high, long long& value,
                  std::string& error);

// The longest text a field of a data file or an application block holds.
constexpr std::size_t kFieldLimit = 259;

// Why a text cannot go into a data-file field and come back unchanged, or
// empty when it can: longer than the field, a line break, leading white
// space (a load drops it), or a label of the data files inside it (a load
// would take the line for another field or start a new section there).
std::string FieldProblem(const std::string& text);

}  // namespace trctl

#endif  // TRCTL_OPTIONS_H
