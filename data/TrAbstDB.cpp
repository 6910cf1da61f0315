// TrAbstDB.cpp - the data-file engine: finds the sections of a data file,
// keeps its comment line, and rewrites the whole file.
#include "include/TrCommonClasses.h"

#include "base/TrGuard.h"
#include "base/TrText.h"
#include "data/TrDataLines.h"
#include "data/TrFileAccess.h"

CTrAbstDB::CTrAbstDB() : m_nDBType(0), m_nDataNumber(0) {}

CTrAbstDB::~CTrAbstDB() = default;

int CTrAbstDB::Load(const std::string& strPath) {
    // Out of memory is a file that could not be read (1). Once parsing has
    // begun, the records stored before that stay, as after a bad section.
    bool parsing = false;
    return tr::GuardedElse(
        [&] {
            m_strFileName = strPath;
            tr::data::FileContent content;
            if (!tr::data::IsUsablePath(strPath) || !tr::data::ReadWholeFile(strPath, content)) return TR_DB_NO_FILE;
            m_file.OpenBytes(content.bytes, std::move(content.keeper));
            parsing = true;
            const int result = OpenLoadFile();
            m_file.Close();
            return result;
        },
        [&] {
            if (parsing) m_posRead = GetPosition();
            m_file.Close();
            return TR_DB_NO_FILE;
        });
}

int CTrAbstDB::Reload() {
    return tr::Guarded(TR_DB_NO_FILE, [&] { return Load(std::string(m_strFileName)); });
}

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
    if (!tr::data::IsUsablePath(strPath)) return ::SetLastError(ERROR_BAD_PATHNAME), TR_DB_NO_FILE;
    const std::unique_ptr<tr::data::RewriteFile> out = tr::GuardedElse(
        [&] { return tr::data::OpenForRewrite(strPath); },
        [] { return ::SetLastError(ERROR_NOT_ENOUGH_MEMORY), std::unique_ptr<tr::data::RewriteFile>(); });
    if (!out) return TR_DB_NO_FILE;  // the open's own error stays

    // The file stays as it is until Close puts the new text, gathered in
    // memory and written beside it, in its place in one step: a crash or a
    // failed write leaves the old file. A line that cannot be gathered (out
    // of memory) passes its record over, as a line that cannot be written would.
    int result = TR_DB_NO_FILE;  // also when the records could not be gathered at all
    m_file.OpenNew();
    const bool gathered = tr::Guarded(false, [&] {
        if (!m_strComment.empty()) WriteComment(m_strComment);
        std::string path(strPath);
        result = WriteAllData(path);
        return true;
    });
    // The first failure's error is the one the caller sees.
    DWORD error = gathered && m_file.AllWritten() ? ERROR_SUCCESS : ERROR_NOT_ENOUGH_MEMORY;
    const auto note = [&error](bool done) {
        if (done || error != ERROR_SUCCESS) return;
        error = ::GetLastError();
        if (error == ERROR_SUCCESS) error = ERROR_WRITE_FAULT;  // a failure that named no cause
    };
    note(out->Write(m_file.Text()));
    note(out->Close());
    m_file.Close();

    if (m_nDBType == 2 || m_nDBType == 3) PostMessageToRewriteData();
    ::SetLastError(error);
    return result;
}

int CTrAbstDB::WriteComment(const std::string& strComment) {
    return m_file.WriteLine(strComment, {}) ? TR_DB_OK : TR_DB_WRITE_FAIL;
}

int CTrAbstDB::PostMessageToRewriteData() { return tr::data::AnnounceRewrite() ? 1 : 0; }

int CTrAbstDB::GetDataNumber() const { return m_nDataNumber; }
