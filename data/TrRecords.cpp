// TrRecords.cpp - the application records: plain values that copy deeply.
#include "include/TrCommonClasses.h"

// --- CTrBaseData -----------------------------------------------------------

CTrBaseData::CTrBaseData() = default;
CTrBaseData::CTrBaseData(const CTrBaseData& other) = default;
CTrBaseData::~CTrBaseData() = default;

void CTrBaseData::AllClear() {
    m_strTitle.clear();
    m_strDescription.clear();
    m_strPath.clear();
    m_strOption.clear();
    m_strWorkDir.clear();
}

void CTrBaseData::SetTitle(const std::string& text) { m_strTitle = text; }
void CTrBaseData::SetDescription(const std::string& text) { m_strDescription = text; }
void CTrBaseData::SetPath(const std::string& text) { m_strPath = text; }
void CTrBaseData::SetOption(const std::string& text) { m_strOption = text; }
void CTrBaseData::SetWorkDir(const std::string& text) { m_strWorkDir = text; }
const std::string& CTrBaseData::GetTitle() const { return m_strTitle; }
const std::string& CTrBaseData::GetDescription() const { return m_strDescription; }
const std::string& CTrBaseData::GetPath() const { return m_strPath; }
const std::string& CTrBaseData::GetOption() const { return m_strOption; }
const std::string& CTrBaseData::GetWorkDir() const { return m_strWorkDir; }

// Copied aside first: running out of memory leaves this record whole.
const CTrBaseData& CTrBaseData::operator=(const CTrBaseData& other) {
    CTrBaseData copy(other);
    m_strTitle.swap(copy.m_strTitle);
    m_strDescription.swap(copy.m_strDescription);
    m_strPath.swap(copy.m_strPath);
    m_strOption.swap(copy.m_strOption);
    m_strWorkDir.swap(copy.m_strWorkDir);
    return *this;
}

// --- CTrNumeralKeyData -----------------------------------------------------

CTrNumeralKeyData::CTrNumeralKeyData() : m_dwKey(0) {}
CTrNumeralKeyData::CTrNumeralKeyData(DWORD dwKey) : m_dwKey(dwKey) {}
CTrNumeralKeyData::CTrNumeralKeyData(const CTrNumeralKeyData& other) = default;
CTrNumeralKeyData::~CTrNumeralKeyData() = default;

void CTrNumeralKeyData::AllClear() {
    m_dwKey = 0;
    CTrBaseData::AllClear();
}

void CTrNumeralKeyData::BaseClear() { CTrBaseData::AllClear(); }
void CTrNumeralKeyData::SetKey(DWORD dwKey) { m_dwKey = dwKey; }
DWORD CTrNumeralKeyData::GetKey() const { return m_dwKey; }

const CTrNumeralKeyData& CTrNumeralKeyData::operator=(const CTrNumeralKeyData& other) {
    CTrBaseData::operator=(other);
    m_dwKey = other.m_dwKey;
    return *this;
}

// --- CTrStringKeyData ------------------------------------------------------

CTrStringKeyData::CTrStringKeyData() = default;
CTrStringKeyData::CTrStringKeyData(const CTrStringKeyData& other) = default;
CTrStringKeyData::~CTrStringKeyData() = default;

void CTrStringKeyData::AllClear() {
    CTrBaseData::AllClear();
    m_strKey.clear();
    m_strName.clear();
    m_strAttribute.clear();
}

void CTrStringKeyData::BaseClear() { CTrBaseData::AllClear(); }
void CTrStringKeyData::SetKey(const std::string& text) { m_strKey = text; }
void CTrStringKeyData::SetName(const std::string& text) { m_strName = text; }
void CTrStringKeyData::SetAttribute(const std::string& text) { m_strAttribute = text; }
const std::string& CTrStringKeyData::GetKey() const { return m_strKey; }
const std::string& CTrStringKeyData::GetName() const { return m_strName; }
const std::string& CTrStringKeyData::GetAttribute() const { return m_strAttribute; }

const CTrStringKeyData& CTrStringKeyData::operator=(const CTrStringKeyData& other) {
    CTrStringKeyData copy(other);  // all or nothing, as above
    m_strTitle.swap(copy.m_strTitle);
    m_strDescription.swap(copy.m_strDescription);
    m_strPath.swap(copy.m_strPath);
    m_strOption.swap(copy.m_strOption);
    m_strWorkDir.swap(copy.m_strWorkDir);
    m_strAttribute.swap(copy.m_strAttribute);
    m_strName.swap(copy.m_strName);
    m_strKey.swap(copy.m_strKey);
    return *this;
}

// --- CTrJogData ------------------------------------------------------------

CTrJogData::CTrJogData() : m_nLevel(-1) {}
CTrJogData::CTrJogData(const CTrJogData& other) = default;
CTrJogData::~CTrJogData() = default;

void CTrJogData::AllClear() {
    m_nLevel = -1;
    CTrBaseData::AllClear();
}

void CTrJogData::SetLevel(int nLevel) { m_nLevel = nLevel; }
int CTrJogData::GetLevel() const { return m_nLevel; }
int CTrJogData::IsFolder() const { return m_strPath.empty() ? 1 : 0; }

const CTrJogData& CTrJogData::operator=(const CTrJogData& other) {
    CTrBaseData::operator=(other);
    m_nLevel = other.m_nLevel;
    return *this;
}
