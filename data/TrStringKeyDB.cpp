// TrStringKeyDB.cpp - records filed under text keys.
#include "include/TrCommonClasses.h"

#include "base/TrGuard.h"
#include "data/TrDataLines.h"
#include "data/TrRecordList.h"

namespace {

// The order decides which field a line fills: the first of these labels
// that occurs anywhere in the line.
const std::string_view kLabels[] = {tr::data::kTitle,  tr::data::kDescription, tr::data::kPath,
                                    tr::data::kWorkDir, tr::data::kOption,     tr::data::kName,
                                    tr::data::kAttribute, tr::data::kKey};
constexpr std::size_t kLabelCount = sizeof(kLabels) / sizeof(kLabels[0]);

}  // namespace

CTrStringKeyDB::CTrStringKeyDB() : m_pDataList(std::make_unique<DataList>()) {
    m_nDBType = 3;
    m_posRead = m_pDataList->end();
}

CTrStringKeyDB::~CTrStringKeyDB() = default;

void CTrStringKeyDB::ClearAll() {
    m_pDataList->clear();
    m_posRead = m_pDataList->end();
}

int CTrStringKeyDB::Rewind() {
    m_posRead = m_pDataList->begin();
    return 1;
}

TrDataPosition CTrStringKeyDB::GetPosition() { return m_pDataList->begin(); }

const CTrStringKeyData* CTrStringKeyDB::Read(int bFromFirst) {
    if (bFromFirst) Rewind();
    return tr::data::ReadNext(*m_pDataList, m_posRead);
}

CTrStringKeyData* CTrStringKeyDB::Find(const std::string& strKey) { return tr::data::FindFirst(*m_pDataList, strKey); }

CTrStringKeyData* CTrStringKeyDB::Find(int nIndex) {
    if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= m_pDataList->size()) return nullptr;
    auto it = m_pDataList->begin();
    std::advance(it, nIndex);
    return &*it;
}

void CTrStringKeyDB::Add(const CTrStringKeyData& data) { m_pDataList->push_back(data); }

// Out of memory changes nothing and gives 0, as an absent record does.
int CTrStringKeyDB::Set(const std::string& strKey, const CTrStringKeyData& data) {
    CTrStringKeyData* target = Find(strKey);
    if (!target) return 0;
    return tr::Guarded(0, [&] { return SetData(target, data), 1; });
}

int CTrStringKeyDB::Set(int nIndex, const CTrStringKeyData& data) {
    CTrStringKeyData* target = Find(nIndex);
    if (!target) return 0;
    return tr::Guarded(0, [&] { return SetData(target, data), 1; });
}

// Copied aside first, so the target changes all at once or not at all.
void CTrStringKeyDB::SetData(CTrStringKeyData* pTarget, const CTrStringKeyData& source) {
    if (pTarget == &source) return;
    CTrStringKeyData copy(source);
    pTarget->m_strPath.swap(copy.m_strPath);
    pTarget->m_strDescription.swap(copy.m_strDescription);
    pTarget->m_strOption.swap(copy.m_strOption);
    pTarget->m_strTitle.swap(copy.m_strTitle);
    pTarget->m_strName.swap(copy.m_strName);
    pTarget->m_strAttribute.swap(copy.m_strAttribute);
    pTarget->m_strWorkDir.swap(copy.m_strWorkDir);
}

int CTrStringKeyDB::LoadAllData(std::string& strTitleLine) {
    return LoadSections(strTitleLine, [this](const std::vector<std::string_view>& lines) {
        // The working record is the list's new last entry, taken back when
        // the section turns out bad.
        CTrStringKeyData& data = m_pDataList->emplace_back();
        if (StoreData(lines, data)) return true;
        m_pDataList->pop_back();
        return false;
    });
}

int CTrStringKeyDB::StoreData(const std::vector<std::string_view>& lines, CTrStringKeyData& data) {
    int count = 0;
    for (const std::string_view line : lines) {
        const std::size_t label = tr::data::FirstLabelIn(line, kLabels, kLabelCount);
        if (label == kLabelCount) continue;
        const std::string_view value = tr::data::ValueAfter(line, kLabels[label]);
        switch (label) {
        case 0: data.m_strTitle.assign(value); break;
        case 1: data.m_strDescription.assign(value); break;
        case 2: data.m_strPath.assign(value); break;
        case 3: data.m_strWorkDir.assign(value); break;
        case 4: data.m_strOption.assign(value); break;
        case 5: data.m_strName.assign(value); break;
        case 6: data.m_strAttribute.assign(value); break;
        default: data.m_strKey.assign(value); break;
        }
        ++count;
    }
    return count == 8 ? 1 : 0;
}

// A record that cannot be written (4) is passed over; Write passes on the 1.
int CTrStringKeyDB::WriteAllData(std::string& /*strPath*/) {
    for (const auto& data : *m_pDataList) WriteData(data);
    return 1;
}

int CTrStringKeyDB::WriteData(const CTrStringKeyData& data) {
    const bool ok = m_file.WriteLine(tr::data::kTitle, data.GetTitle()) &&
                    m_file.WriteLine(tr::data::kDescription, data.GetDescription()) &&
                    m_file.WriteLine(tr::data::kPath, data.GetPath()) &&
                    m_file.WriteLine(tr::data::kWorkDir, data.GetWorkDir()) &&
                    m_file.WriteLine(tr::data::kOption, data.GetOption()) &&
                    m_file.WriteLine(tr::data::kName, data.GetName()) &&
                    m_file.WriteLine(tr::data::kAttribute, data.GetAttribute()) &&
                    m_file.WriteLine(tr::data::kKey, data.GetKey());
    return ok ? TR_DB_OK : TR_DB_WRITE_FAIL;
}
