// TrRefuseDB.cpp - the refuse list: bracketed entries, one a line, any of
// which refuses a text that contains it.
#include "include/TrCommonClasses.h"

#include "base/TrGuard.h"
#include "base/TrText.h"
#include "data/TrFileAccess.h"

namespace {

// The entry of a line whose first character is '[' and whose last character
// is ']': the line without every leading '[' and every trailing ']'. False
// for every other line.
bool EntryOf(std::string_view line, std::string_view& entry) {
    if (line.empty() || line[0] != '[') return false;
    // One walk over the characters: a ']' at the end counts only when it is a
    // character of its own, not the trail byte of a double-byte character.
    std::size_t lead = 0;
    while (lead < line.size() && line[lead] == '[') ++lead;
    std::size_t keep = lead;  // end of the last character that is not ']'
    bool lastIsBracket = false;
    for (std::size_t i = lead; i < line.size();) {
        const std::size_t n = tr::CharLength(line, i);
        lastIsBracket = n == 1 && line[i] == ']';
        i += n;
        if (!lastIsBracket) keep = i;
    }
    if (!lastIsBracket) return false;  // also a line of '[' only
    entry = line.substr(lead, keep - lead);
    return true;
}

}  // namespace

CTrRefuseDB::CTrRefuseDB() = default;

CTrRefuseDB::~CTrRefuseDB() = default;

// Out of memory counts as a file that could not be read: 0, open result 1.
int CTrRefuseDB::IsInDB(const std::string& strText, const std::string& strFileName, int& nOpenResult) {
    return tr::GuardedElse(
        [&] {
            nOpenResult = OpenDB(strFileName);
            if (nOpenResult != 0) return 0;
            const int found = CheckString(strText);
            m_file.Close();
            return found;
        },
        [&] { return m_file.Close(), nOpenResult = 1, 0; });
}

int CTrRefuseDB::OpenDB(const std::string& strFileName) {
    tr::data::FileContent content;
    if (!tr::data::IsUsablePath(strFileName) || !tr::data::ReadWholeFile(strFileName, content)) return 1;
    m_file.OpenBytes(content.bytes, std::move(content.keeper));
    return 0;
}

int CTrRefuseDB::CheckString(const std::string& strText) {
    std::string line;
    std::string_view entry;
    while (m_file.ReadString(line))
        if (EntryOf(line, entry) && tr::FindText(strText, entry) != tr::kNotFound) return 1;
    return 0;
}
