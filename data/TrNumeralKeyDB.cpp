// TrNumeralKeyDB.cpp - records filed under 32-bit keys.
#include "include/TrCommonClasses.h"

#include "base/TrGuard.h"
#include "data/TrDataLines.h"
#include "data/TrRecordList.h"

#include <cstdio>

namespace {

// The order decides which field a line fills: the first of these labels
// that occurs anywhere in the line.
const tr::data::LabelId kLabels[] = {tr::data::kLabelTitle,   tr::data::kLabelDescription, tr::data::kLabelPath,
                                     tr::data::kLabelWorkDir, tr::data::kLabelOption,      tr::data::kLabelKey};
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
    return LoadSections(strTitleLine, [this](const SectionLines& lines) {
        // The working record is the list's new last entry, taken back when
        // the section turns out bad.
        CTrNumeralKeyData& data = m_pDataList->emplace_back();
        if (StoreData(lines, data)) return true;
        m_pDataList->pop_back();
        return false;
    });
}

int CTrNumeralKeyDB::StoreData(const SectionLines& lines, CTrNumeralKeyData& data) {
    int count = 0;
    for (const SectionLine& line : lines) {
        const std::size_t label = tr::data::FirstLabelOf(line.labels, kLabels, kLabelCount);
        if (label == kLabelCount) continue;
        const std::string_view value = tr::data::ValueAfter(line.text, tr::data::kLabelText[kLabels[label]]);
        switch (label) {
        case 0: tr::data::StoreValue(data.m_strTitle, value); break;
        case 1: tr::data::StoreValue(data.m_strDescription, value); break;
        case 2: tr::data::StoreValue(data.m_strPath, value); break;
        case 3: tr::data::StoreValue(data.m_strWorkDir, value); break;
        case 4: tr::data::StoreValue(data.m_strOption, value); break;
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
