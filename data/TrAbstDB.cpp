// TrAbstDB.cpp - the data-file engine: finds the sections of a data file,
// keeps its comment line, and rewrites the whole file.
#include "include/TrCommonClasses.h"

#include "base/TrText.h"
#include "data/TrDataLines.h"
#include "data/TrFileAccess.h"

#include <new>

CTrAbstDB::CTrAbstDB() : m_nDBType(0), m_nDataNumber(0) {}

CTrAbstDB::~CTrAbstDB() = default;

int CTrAbstDB::Load(const std::string& strPath) {
    m_strFileName = strPath;
    tr::data::FileContent content;
    try {
        if (!tr::data::IsUsablePath(strPath) || !tr::data::ReadWholeFile(strPath, content)) return TR_DB_NO_FILE;
    } catch (const std::bad_alloc&) {
        return TR_DB_NO_FILE;
    }
    m_file.OpenBytes(content.bytes, std::move(content.keeper));
    int result;
    try {
        result = OpenLoadFile();
    } catch (const std::bad_alloc&) {
        // Out of memory part way: what was stored so far stays, as after a
        // bad section.
        m_posRead = GetPosition();
        result = TR_DB_NO_FILE;
    }
    m_file.Close();
    return result;
}

int CTrAbstDB::Reload() { return Load(std::string(m_strFileName)); }

int CTrAbstDB::OpenLoadFile() {
    ClearAll();
    DWORD position = 0;
    std::string line;
    if (!SeekToFirstSection(position, line)) return TR_DB_NO_SECTION;
    const int result = LoadAllData(line);
    m_posRead = GetPosition();
    return result;
}

int CTrAbstDB::SeekToFirstSection(DWORD& dwPosition, std::string& strLine) {
    m_file.SeekToBegin();
    m_strComment.clear();
    return SeekToNextSection(dwPosition, strLine, 1);
}

int CTrAbstDB::SeekToNextSection(DWORD& dwPosition, std::string& strLine, int bFirst) {
    dwPosition = m_file.GetPosition();
    if (!m_file.ReadString(strLine)) return 0;
    while (!tr::StartsWith(strLine, tr::data::kTitle)) {
        if (bFirst && tr::StartsWith(strLine, ";")) m_strComment = strLine;
        if (!m_file.ReadString(strLine)) return 0;
        dwPosition = m_file.GetPosition();
    }
    return 1;
}

bool CTrAbstDB::ReadSectionLine(SectionLine& line) {
    return m_file.ReadLine(line.text, line.labels);
}

int CTrAbstDB::LoadOneSection(SectionLines& lines, SectionLine& line) {
    constexpr tr::data::LabelSet kTitle = tr::data::Bit(tr::data::kLabelTitle);
    if (line.labels & kTitle) return 1;
    for (;;) {
        lines.push_back(line);
        if (!ReadSectionLine(line)) return 0;
        if (line.labels & kTitle) return 1;
    }
}

int CTrAbstDB::LoadSections(std::string& strTitleLine, const std::function<bool(const SectionLines&)>& store) {
    m_nDataNumber = 0;
    // The section lines are views into the file's bytes: nothing is copied
    // until a value lands in its record.
    SectionLines lines;
    SectionLine line = {strTitleLine, tr::data::LabelsIn(strTitleLine)};
    for (;;) {
        lines.push_back(line);
        if (!ReadSectionLine(line)) return TR_DB_CUT_TITLE;
        const int more = LoadOneSection(lines, line);
        if (!store(lines)) return TR_DB_BAD_SECTION;
        ++m_nDataNumber;
        lines.clear();
        if (!more) return TR_DB_OK;
    }
}

int CTrAbstDB::Write(const std::string& strPath) {
    if (!tr::data::IsUsablePath(strPath)) return TR_DB_NO_FILE;
    std::unique_ptr<tr::data::RewriteFile> out;
    try {
        out = tr::data::OpenForRewrite(strPath);
    } catch (const std::bad_alloc&) {
        return TR_DB_NO_FILE;
    }
    if (!out) return TR_DB_NO_FILE;

    // The file is now empty. The new text is gathered in memory and written
    // in one go, so the time in which a crash leaves a short file is only
    // that of the one write.
    int result = TR_DB_WRITE_FAIL;
    m_file.OpenNew();
    try {
        const int comment = m_strComment.empty() ? TR_DB_OK : WriteComment(m_strComment);
        std::string path(strPath);
        result = WriteAllData(path);
        if (result == TR_DB_OK) result = comment;
    } catch (const std::bad_alloc&) {
        result = TR_DB_WRITE_FAIL;
    }
    const bool written = out->Write(m_file.Text());
    const bool closed = out->Close();
    m_file.Close();
    if (!written || !closed) result = TR_DB_WRITE_FAIL;

    if (m_nDBType == 2 || m_nDBType == 3) PostMessageToRewriteData();
    return result;
}

int CTrAbstDB::WriteComment(const std::string& strComment) {
    return m_file.WriteLine(strComment, {}) ? TR_DB_OK : TR_DB_WRITE_FAIL;
}

int CTrAbstDB::PostMessageToRewriteData() { return tr::data::AnnounceRewrite() ? 1 : 0; }

int CTrAbstDB::GetDataNumber() const { return m_nDataNumber; }
