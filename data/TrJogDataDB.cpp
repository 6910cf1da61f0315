// TrJogDataDB.cpp - the jog dial's menu: folders and applications in menu
// order, their nesting given only by each entry's level.
#include "include/TrCommonClasses.h"

#include "base/TrGuard.h"
#include "data/TrDataLines.h"

#include <cstdio>
#include <string>

namespace {

const std::string_view kMainLabels[] = {tr::data::kTitle, tr::data::kDescription, tr::data::kLevel};
const std::string_view kSubLabels[] = {tr::data::kPath, tr::data::kWorkDir, tr::data::kOption};

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
      m_posNow(m_pDataList->end()) {
    m_nDBType = 1;
    m_posRead = m_pDataList->end();
}

CTrJogDataDB::~CTrJogDataDB() = default;

void CTrJogDataDB::ClearAll() {
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

CTrJogDataDB::DataList* CTrJogDataDB::ReadList() { return m_pDataList.get(); }

int CTrJogDataDB::GetRootNumber() const { return m_nRootNumber; }
int CTrJogDataDB::GetMaxLevel() const { return m_nMaxLevel; }
int CTrJogDataDB::GetAllNumber() const { return m_nRootNumber + m_nDataNumber; }

void CTrJogDataDB::Add(const CTrJogData& data) {
    m_pDataList->push_back(data);
}

CTrJogData& CTrJogDataDB::Get(int nIndex) {
    const std::size_t size = m_pDataList->size();
    if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= size) return NoEntry();
    // A linked list: a walk over every index costs time quadratic in the
    // length; walking from the nearer end halves it.
    const std::size_t target = static_cast<std::size_t>(nIndex);
    if (target < size / 2) {
        Position pos = m_pDataList->begin();
        for (std::size_t i = 0; i < target; ++i) ++pos;
        return *pos;
    }
    Position pos = m_pDataList->end();
    for (std::size_t i = size; i > target; --i) --pos;
    return *pos;
}

CTrJogDataDB::Position CTrJogDataDB::GetNowPosition() const { return m_posNow; }

CTrJogData& CTrJogDataDB::GetAt(Position pos) { return pos == m_pDataList->end() ? NoEntry() : *pos; }

CTrJogDataDB::Position CTrJogDataDB::InsertAfter(Position pos, const CTrJogData& data, CTrJogData** ppNew) {
    const Position where = pos == m_pDataList->end() ? pos : std::next(pos);
    return InsertInto(*m_pDataList, where, data, ppNew);
}

CTrJogDataDB::Position CTrJogDataDB::InsertBefore(Position pos, const CTrJogData& data, CTrJogData** ppNew) {
    const Position where = pos == m_pDataList->end() ? m_pDataList->begin() : pos;
    return InsertInto(*m_pDataList, where, data, ppNew);
}

CTrJogDataDB::Position CTrJogDataDB::InsertTop(const CTrJogData& data) {
    return InsertInto(*m_pDataList, m_pDataList->begin(), data, nullptr);
}

int CTrJogDataDB::RemoveAt(Position pos) {
    if (pos == m_pDataList->end()) return 0;
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
    std::vector<std::string_view> lines;
    std::string_view line = strTitleLine;
    int more = 1;
    for (;;) {
        lines.push_back(line);
        if (!m_file.ReadLine(line)) return TR_DB_CUT_TITLE;
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

int CTrJogDataDB::CheckFolder(std::vector<std::string_view>& lines, std::string_view& strLine, int* pbMore) {
    if (tr::data::ContainsLabel(strLine, tr::data::kTitle)) return 0;
    bool path = false;
    for (;;) {
        lines.push_back(strLine);
        if (!path && tr::data::ContainsLabel(strLine, tr::data::kPath)) path = true;
        *pbMore = m_file.ReadLine(strLine) ? 1 : 0;
        if (!*pbMore || tr::data::ContainsLabel(strLine, tr::data::kTitle)) break;
    }
    return path ? 1 : 0;
}

int CTrJogDataDB::StoreData(std::vector<std::string_view>* pLines, CTrJogData& data) {
    int count = 0;
    std::size_t kept = 0;  // lines without one of the three labels stay for StoreSubData
    for (const std::string_view line : *pLines) {
        const std::size_t label = tr::data::FirstLabelIn(line, kMainLabels, 3);
        if (label == 3) {
            (*pLines)[kept++] = line;
            continue;
        }
        const std::string_view value = tr::data::ValueAfter(line, kMainLabels[label]);
        switch (label) {
        case 0: data.m_strTitle.assign(value); break;
        case 1: data.m_strDescription.assign(value); break;
        default: data.SetLevel(tr::data::DecimalLevel(value)); break;
        }
        ++count;
    }
    pLines->resize(kept);
    return count == 3 ? 1 : 0;
}

int CTrJogDataDB::StoreSubData(std::vector<std::string_view>* pLines, CTrJogData& data) {
    int count = 0;
    for (const std::string_view line : *pLines) {
        const std::size_t label = tr::data::FirstLabelIn(line, kSubLabels, 3);
        if (label == 3) continue;
        const std::string_view value = tr::data::ValueAfter(line, kSubLabels[label]);
        switch (label) {
        case 0: data.m_strPath.assign(value); break;
        case 1: data.m_strWorkDir.assign(value); break;
        default: data.m_strOption.assign(value); break;
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
