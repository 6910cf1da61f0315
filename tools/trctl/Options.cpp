// Options.cpp - command-line words into options, numbers and field texts.
#include "Options.h"

#include "base/TrText.h"

#include <cstring>

namespace trctl {

bool Options::Has(const std::string& name) const {
    for (const auto& g : m_given)
        if (g.first == name) return true;
    return false;
}

const std::string* Options::Value(const std::string& name) const {
    const std::string* found = nullptr;
    for (const auto& g : m_given)
        if (g.first == name) found = &g.second;
    return found;
}

const char* Options::OtherThan(std::initializer_list<const char*> names) const {
    for (const auto& g : m_given) {
        bool listed = false;
        for (const char* n : names) listed = listed || g.first == n;
        if (!listed) return g.first.c_str();
    }
    return nullptr;
}

bool ParseOptions(const char* command, const Args& args, std::initializer_list<OptionDef> known, Options& out,
                  int& rc) {
    out = Options();
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (optionsEnd || !(word.compare(0, 2, "--") == 0 || word == "-h")) {
            out.m_positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnd = true;
            continue;
        }
        if (word == "--help" || word == "-h") {
            rc = kShowHelp;
            return false;
        }
        const OptionDef* def = nullptr;
        for (const auto& s : known)
            if (word == s.name) def = &s;
        if (!def) {
            rc = Fail(kExitUsage, std::string(command) + ": unknown option '" + word + "' (see trctl " + command +
                                      " --help)");
            return false;
        }
        if (!def->takesValue) {
            out.m_given.emplace_back(word, std::string());
            continue;
        }
        if (i + 1 >= args.size()) {
            rc = Fail(kExitUsage, std::string(command) + ": " + word + " lacks its value");
            return false;
        }
        out.m_given.emplace_back(word, args[++i]);
    }
    return true;
}

bool ParseNumber(const std::string& text, long long low, long long high, long long& value) {
    std::size_t i = 0;
    const bool negative = low < 0 && !text.empty() && text[0] == '-';
    if (negative) ++i;
    int base = 10;
    if (text.size() > i + 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    unsigned long long v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        v = v * base + d;
        if (v > 0xFFFFFFFFFFull) return false;  // far beyond every range we take
    }
    const long long signedValue = negative ? -static_cast<long long>(v) : static_cast<long long>(v);
    if (signedValue < low || signedValue > high) return false;
    value = signedValue;
    return true;
}

std::string NumberError(const std::string& what, const std::string& text, long long low, long long high) {
    return what + ": '" + text + "' is not a number from " + std::to_string(low) + " to " + std::to_string(high);
}

bool NumberOption(const Options& options, const char* name, long long low, long long high, long long& value,
                  std::string& error) {
    const std::string* text = options.Value(name);
    if (!text) return true;
    if (ParseNumber(*text, low, high, value)) return true;
    error = NumberError(name, *text, low, high);
    return false;
}

std::string FieldProblem(const std::string& text) {
    static const char* const labels[] = {"Title:", "Description:", "Path:",      "WorkDir:", "Option:",
                                         "Key:",   "Name:",        "Attribute:", "Level:"};
    if (text.size() > kFieldLimit)
        return "is " + std::to_string(text.size()) + " bytes long; a field holds at most " +
               std::to_string(kFieldLimit);
    if (text.find_first_of("\r\n") != std::string::npos) return "holds a line break";
    if (!text.empty() && tr::IsSpace(static_cast<unsigned char>(text[0])))
        return "starts with white space, which the data file does not keep";
    for (const char* label : labels)
        if (tr::FindText(text, label) != tr::kNotFound)
            return std::string("holds the text '") + label + "', which the data file reads as a label";
    return std::string();
}

}  // namespace trctl
