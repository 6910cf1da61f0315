// Json.h - the one JSON document a read command prints with --json.
//
// Texts of the library are bytes of the ANSI code page; JSON wants UTF-8, so
// every text goes through Utf8() on its way in.
#ifndef TRCTL_JSON_H
#define TRCTL_JSON_H

#include <nlohmann/json.hpp>

#include <string>

namespace trctl {

// Keys in the order they were added, so documents read like the help.
using Json = nlohmann::ordered_json;

// ANSI code page bytes as UTF-8.
std::string Utf8(const std::string& ansi);

// Prints the document on standard output, indented, with a line end.
void PrintJson(const Json& document);

}  // namespace trctl

#endif  // TRCTL_JSON_H
