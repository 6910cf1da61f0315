// TrJogDataDB.cpp - the jog dial's menu: folders and applications in menu
// order, their nesting given only by each entry's level.
#include "include/TrCommonClasses.h"

#include "base/TrGuard.h"
#include "data/TrDataLines.h"

#include <cstdio>
#include <string>

namespace {

const tr::data::LabelId kMainLabels[] = {tr::data::kLabelTitle, tr::data::kLabelDescription, tr::data::kLabelLevel};
const tr::data::LabelId kSubLabels[] = {tr::data::kLabelPath, tr::data::kLabelWorkDir, tr::data::kLabelOption};

constexpr std::size_t kNoPlace = static_cast<std::size_t>(-1);

// What Get and GetAt hand out for a place with no entry behind it: a blank
// entry of this thread's own, cleared on every such call.
CTrJogData& NoEntry() {
    thread_local CTrJogData none;
    none.AllClear();
    return none;
}

// A copy of data inserted before 'where'; end() ("no position") when memory
// runs out, *ppNew then untouched.
CTrJogDataDB::Position InsertInto(CTrJogDataDB::DataList& list, CTrJogDataDB::Position where, const CTrJogData& data,
                                  CTrJogData** ppNew) {
    const auto added = tr::Guarded(list.end(), [&] { return list.insert(where, data); });
    if (ppNew && added != list.end()) *ppNew = &*added;
    return added;
}

}  // namespace

CTrJogDataDB::CTrJogDataDB()
    : m_nRootNumber(0), m_nMaxLevel(0), m_pDataList(std::make_unique<DataList>()),
      m_posNow(m_pDataList->end()), m_nGetIndex(kNoPlace), m_posGet(m_pDataList->end()) {
    m_nDBType = 1;
    m_posRead = m_pDataList->end();
}

CTrJogDataDB::~CTrJogDataDB() = default;

void CTrJogDataDB::ForgetGetPlace() {
    m_nGetIndex = kNoPlace;
    m_posGet = m_pDataList->end();
}

void CTrJogDataDB::ClearAll() {
    ForgetGetPlace();
    m_pDataList->clear();
    m_posRead = m_pDataList->end();
    m_posNow = m_pDataList->end();
}

int CTrJogDataDB::Rewind() {
    m_posRead = m_pDataList->begin();
    return 1;
}

TrDataPosition CTrJogDataDB::GetPosition() { return m_pDataList->begin(); }

const CTrJogData* CTrJogDataDB::Read(int bFromFirst) {
    if (bFromFirst) Rewind();
    auto* pos = std::get_if<Position>(&m_posRead);
    if (!pos || *pos == m_pDataList->end()) return nullptr;
    m_posNow = (*pos)++;
    return &*m_posNow;
}

CTrJogDataDB::DataList* CTrJogDataDB::ReadList() {
    // The caller may change the list from here on: Get starts afresh.
    ForgetGetPlace();
    return m_pDataList.get();
}

int CTrJogDataDB::GetRootNumber() const { return m_nRootNumber; }
int CTrJogDataDB::GetMaxLevel() const { return m_nMaxLevel; }
int CTrJogDataDB::GetAllNumber() const { return m_nRootNumber + m_nDataNumber; }

void CTrJogDataDB::Add(const CTrJogData& data) {
    ForgetGetPlace();
    m_pDataList->push_back(data);
}

CTrJogData& CTrJogDataDB::Get(int nIndex) {
    const std::size_t size = m_pDataList->size();
    if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= size) return NoEntry();
    // A linked list: the walk starts from whichever is nearest, the head,
    // the tail or the place reached last, so Get(i) after Get(i - 1) is one
    // step.
    const std::size_t target = static_cast<std::size_t>(nIndex);
    std::size_t at = 0;
    Position pos = m_pDataList->begin();
    std::size_t steps = target;
    if (size - 1 - target < steps) {
        at = size - 1;
        pos = std::prev(m_pDataList->end());
        steps = size - 1 - target;
    }
    if (m_nGetIndex < size) {
        const std::size_t fromPlace = m_nGetIndex > target ? m_nGetIndex - target : target - m_nGetIndex;
        if (fromPlace < steps) {
            at = m_nGetIndex;
            pos = m_posGet;
        }
    }
    for (; at < target; ++at) ++pos;
    for (; at > target; --at) --pos;
    m_nGetIndex = target;
    m_posGet = pos;
    return *pos;
}

CTrJogDataDB::Position CTrJogDataDB::GetNowPosition() const { return m_posNow; }

CTrJogData& CTrJogDataDB::GetAt(Position pos) { return pos == m_pDataList->end() ? NoEntry() : *pos; }

CTrJogDataDB::Position CTrJogDataDB::InsertAfter(Position pos, const CTrJogData& data, CTrJogData** ppNew) {
    ForgetGetPlace();
    const Position where = pos == m_pDataList->end() ? pos : std::next(pos);
    return InsertInto(*m_pDataList, where, data, ppNew);
}

CTrJogDataDB::Position CTrJogDataDB::InsertBefore(Position pos, const CTrJogData& data, CTrJogData** ppNew) {
    ForgetGetPlace();
    const Position where = pos == m_pDataList->end() ? m_pDataList->begin() : pos;
    return InsertInto(*m_pDataList, where, data, ppNew);
}

CTrJogDataDB::Position CTrJogDataDB::InsertTop(const CTrJogData& data) {
    ForgetGetPlace();
    return InsertInto(*m_pDataList, m_pDataList->begin(), data, nullptr);
}

int CTrJogDataDB::RemoveAt(Position pos) {
    if (pos == m_pDataList->end()) return 0;
    ForgetGetPlace();
    // Cursors on the removed entry would dangle: they point at nothing now,
    // and reading starts again with Rewind or Read from the first entry.
    if (auto* read = std::get_if<Position>(&m_posRead); read && *read == pos) m_posRead = m_pDataList->end();
    if (m_posNow == pos) m_posNow = m_pDataList->end();
    m_pDataList->erase(pos);
    return 1;
}

int CTrJogDataDB::LoadAllData(std::string& strTitleLine) {
    m_nDataNumber = 0;
    m_nRootNumber = 0;
    m_nMaxLevel = 0;
    // The section lines are views into the file's bytes.
    SectionLines lines;
    SectionLine line = {strTitleLine, tr::data::LabelsIn(strTitleLine)};
    int more = 1;
    for (;;) {
        lines.push_back(line);
        if (!ReadSectionLine(line)) return TR_DB_CUT_TITLE;
        const int application = CheckFolder(lines, line, &more);
        // The working entry is the list's new last entry (level -1, texts
        // empty), taken back when the section turns out bad.
        CTrJogData& data = m_pDataList->emplace_back();
        if (!StoreData(&lines, data) || (application && !StoreSubData(&lines, data))) {
            m_pDataList->pop_back();
            return TR_DB_BAD_SECTION;
        }
        if (application) {
            ++m_nDataNumber;
        } else {
            ++m_nRootNumber;
            // Level + 1 as the 32-bit arithmetic of the file format gives it.
            const int next = static_cast<int>(static_cast<unsigned>(data.GetLevel()) + 1u);
            if (next > m_nMaxLevel) m_nMaxLevel = next;
        }
        lines.clear();
        if (!more) return TR_DB_OK;
    }
}

int CTrJogDataDB::CheckFolder(SectionLines& lines, SectionLine& line, int* pbMore) {
    constexpr tr::data::LabelSet kTitle = tr::data::Bit(tr::data::kLabelTitle);
    if (line.labels & kTitle) return 0;
    bool path = false;
    for (;;) {
        lines.push_back(line);
        path = path || (line.labels & tr::data::Bit(tr::data::kLabelPath));
        *pbMore = ReadSectionLine(line) ? 1 : 0;
        if (!*pbMore || (line.labels & kTitle)) break;
    }
    return path ? 1 : 0;
}

int CTrJogDataDB::StoreData(SectionLines* pLines, CTrJogData& data) {
    int count = 0;
    std::size_t kept = 0;  // lines without one of the three labels stay for StoreSubData
    for (const SectionLine& line : *pLines) {
        const std::size_t label = tr::data::FirstLabelOf(line.labels, kMainLabels, 3);
        if (label == 3) {
            (*pLines)[kept++] = line;
            continue;
        }
        const std::string_view value = tr::data::ValueAfter(line.text, tr::data::kLabelText[kMainLabels[label]]);
        switch (label) {
        case 0: tr::data::StoreValue(data.m_strTitle, value); break;
        case 1: tr::data::StoreValue(data.m_strDescription, value); break;
        default: data.SetLevel(tr::data::DecimalLevel(value)); break;
        }
        ++count;
    }
    pLines->resize(kept);
    return count == 3 ? 1 : 0;
}

int CTrJogDataDB::StoreSubData(SectionLines* pLines, CTrJogData& data) {
    int count = 0;
    for (const SectionLine& line : *pLines) {
        const std::size_t label = tr::data::FirstLabelOf(line.labels, kSubLabels, 3);
        if (label == 3) continue;
        const std::string_view value = tr::data::ValueAfter(line.text, tr::data::kLabelText[kSubLabels[label]]);
        switch (label) {
        case 0: tr::data::StoreValue(data.m_strPath, value); break;
        case 1: tr::data::StoreValue(data.m_strWorkDir, value); break;
        default: tr::data::StoreValue(data.m_strOption, value); break;
        }
        ++count;
    }
    return count == 3 ? 1 : 0;
}

// A record that cannot be written (4) is passed over; Write passes on the 1.
int CTrJogDataDB::WriteAllData(std::string& /*strPath*/) {
    for (const auto& data : *m_pDataList) WriteData(data);
    return 1;
}

int CTrJogDataDB::WriteData(const CTrJogData& data) {
    char level[16];
    std::snprintf(level, sizeof(level), "%d", data.GetLevel());
    bool ok = m_file.WriteLine(tr::data::kTitle, data.GetTitle()) &&
              m_file.WriteLine(tr::data::kDescription, data.GetDescription()) &&
              m_file.WriteLine(tr::data::kLevel, level);
    if (ok && !data.IsFolder())
        ok = m_file.WriteLine(tr::data::kPath, data.GetPath()) && m_file.WriteLine(tr::data::kWorkDir, data.GetWorkDir()) &&
             m_file.WriteLine(tr::data::kOption, data.GetOption());
    return ok ? TR_DB_OK : TR_DB_WRITE_FAIL;
}
