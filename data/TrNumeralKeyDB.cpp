// TrNumeralKeyDB.cpp - records filed under 32-bit keys.
#include "include/TrCommonClasses.h"

#include "base/TrGuard.h"
#include "data/TrDataLines.h"
#include "data/TrRecordList.h"

#include <cstdio>

namespace {

// The order decides which field a line fills: the first of these labels
// that occurs anywhere in the line.
const std::string_view kLabels[] = {tr::data::kTitle,   tr::data::kDescription, tr::data::kPath,
                                    tr::data::kWorkDir, tr::data::kOption,      tr::data::kKey};
constexpr std::size_t kLabelCount = sizeof(kLabels) / sizeof(kLabels[0]);

}  // namespace

CTrNumeralKeyDB::CTrNumeralKeyDB() : m_pDataList(std::make_unique<DataList>()) {
    m_nDBType = 2;
    m_posRead = m_pDataList->end();
}

CTrNumeralKeyDB::~CTrNumeralKeyDB() = default;

void CTrNumeralKeyDB::ClearAll() {
    m_pDataList->clear();
    m_posRead = m_pDataList->end();
}

int CTrNumeralKeyDB::Rewind() {
    m_posRead = m_pDataList->begin();
    return 1;
}

TrDataPosition CTrNumeralKeyDB::GetPosition() { return m_pDataList->begin(); }

const CTrNumeralKeyData* CTrNumeralKeyDB::Read(int bFromFirst) {
    if (bFromFirst) Rewind();
    return tr::data::ReadNext(*m_pDataList, m_posRead);
}

CTrNumeralKeyData* CTrNumeralKeyDB::Find(DWORD dwKey) { return tr::data::FindFirst(*m_pDataList, dwKey); }

CTrNumeralKeyData* CTrNumeralKeyDB::Find(DWORD dwFirst, DWORD dwSecond) { return Find(GenerateKey(dwFirst, dwSecond)); }

DWORD CTrNumeralKeyDB::GenerateKey(DWORD dwFirst, DWORD dwSecond) {
    return static_cast<DWORD>(static_cast<std::uint32_t>(dwFirst) * 0x1000000u + static_cast<std::uint32_t>(dwSecond));
}

void CTrNumeralKeyDB::Add(const CTrNumeralKeyData& data) { m_pDataList->push_back(data); }

// Out of memory changes nothing and gives 0 (the record's texts are replaced
// all at once, a new record appended whole or not at all).
int CTrNumeralKeyDB::Set(DWORD dwKey, const CTrNumeralKeyData& data) {
    return tr::Guarded(0, [&] {
        if (CTrNumeralKeyData* found = Find(dwKey)) {
            static_cast<CTrBaseData&>(*found) = data;  // the texts; the key stays
            return 1;
        }
        m_pDataList->push_back(data);
        m_pDataList->back().SetKey(dwKey);
        return 1;
    });
}

int CTrNumeralKeyDB::Set(DWORD dwFirst, DWORD dwSecond, const CTrNumeralKeyData& data) {
    return Set(GenerateKey(dwFirst, dwSecond), data);
}

int CTrNumeralKeyDB::LoadAllData(std::string& strTitleLine) {
    return LoadSections(strTitleLine, [this](const std::vector<std::string_view>& lines) {
        // The working record is the list's new last entry, taken back when
        // the section turns out bad.
        CTrNumeralKeyData& data = m_pDataList->emplace_back();
        if (StoreData(lines, data)) return true;
        m_pDataList->pop_back();
        return false;
    });
}

int CTrNumeralKeyDB::StoreData(const std::vector<std::string_view>& lines, CTrNumeralKeyData& data) {
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
        default: data.SetKey(Xtoi(value)); break;
        }
        ++count;
    }
    return count == 6 ? 1 : 0;
}

DWORD CTrNumeralKeyDB::Xtoi(std::string_view strDigits) { return tr::data::HexKey(strDigits); }

// A record that cannot be written (4) is passed over; Write passes on the 1.
int CTrNumeralKeyDB::WriteAllData(std::string& /*strPath*/) {
    for (const auto& data : *m_pDataList) WriteData(data);
    return 1;
}

int CTrNumeralKeyDB::WriteData(const CTrNumeralKeyData& data) {
    char key[16];
    std::snprintf(key, sizeof(key), "%08X", static_cast<unsigned>(data.GetKey()));
    const bool ok = m_file.WriteLine(tr::data::kTitle, data.GetTitle()) &&
                    m_file.WriteLine(tr::data::kDescription, data.GetDescription()) &&
                    m_file.WriteLine(tr::data::kPath, data.GetPath()) &&
                    m_file.WriteLine(tr::data::kWorkDir, data.GetWorkDir()) &&
                    m_file.WriteLine(tr::data::kOption, data.GetOption()) && m_file.WriteLine(tr::data::kKey, key);
    return ok ? TR_DB_OK : TR_DB_WRITE_FAIL;
}
