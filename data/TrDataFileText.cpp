// TrDataFileText.cpp - a data file held in memory: Load parses the bytes read
// in one go, Write gathers the new text before it goes to disk in one go.
#include "include/TrCommonClasses.h"

#include "base/TrGuard.h"
#include "data/TrByteScan.h"
#include "data/TrDataLines.h"

#include <new>

#include <cstring>

CTrAbstDB::CDataFile::CDataFile() : m_nNext(0), m_bOpen(false), m_bLineLost(false) {}

bool CTrAbstDB::CDataFile::IsOpen() const { return m_bOpen; }

void CTrAbstDB::CDataFile::OpenBytes(std::string_view bytes, std::shared_ptr<const void> keeper) {
    m_bytes = bytes;
    m_keeper = std::move(keeper);
    m_nNext = 0;
    m_bOpen = true;
}

void CTrAbstDB::CDataFile::OpenNew() {
    m_bytes = std::string_view();
    m_keeper.reset();
    m_strText.clear();
    m_nNext = 0;
    m_bOpen = true;
    m_bLineLost = false;
}

void CTrAbstDB::CDataFile::Close() {
    // Give the memory (or the file's view) back: a data file can be large,
    // the object lives on, and a view keeps the file open.
    m_bytes = std::string_view();
    m_keeper.reset();
    std::string().swap(m_strText);
    m_nNext = 0;
    m_bOpen = false;
}

bool CTrAbstDB::CDataFile::ReadString(std::string& line) {
    std::string_view view;
    if (!ReadLine(view)) return false;
    line.assign(view.data(), view.size());
    return true;
}

bool CTrAbstDB::CDataFile::ReadLine(std::string_view& line) {
    const std::size_t size = m_bytes.size();
    if (!m_bOpen || m_nNext >= size) return false;
    const char* start = m_bytes.data() + m_nNext;
    const char* end = m_bytes.data() + size;
    const char* lf = tr::data::FindByte(start, end, '\n');
    m_nNext = static_cast<std::size_t>(lf - m_bytes.data()) + (lf != end ? 1 : 0);
    line = tr::data::LineBefore(start, lf, end);
    return true;
}

bool CTrAbstDB::CDataFile::ReadLine(std::string_view& line, unsigned& labels) {
    if (!m_bOpen || m_nNext >= m_bytes.size()) return false;
    const char* start = m_bytes.data() + m_nNext;
    const char* next = tr::data::ReadLabelledLine(start, m_bytes.data() + m_bytes.size(), line, labels);
    m_nNext += static_cast<std::size_t>(next - start);
    return true;
}

DWORD CTrAbstDB::CDataFile::GetPosition() const { return static_cast<DWORD>(m_nNext); }

void CTrAbstDB::CDataFile::SeekToBegin() { m_nNext = 0; }

bool CTrAbstDB::CDataFile::WriteLine(std::string_view label, std::string_view value) {
    if (!m_bOpen) return false;
    return tr::GuardedElse(
        [&] {
            // Room first, so a line is appended whole or not at all.
            m_strText.reserve(m_strText.size() + label.size() + value.size() + 2);
            m_strText += label;
            m_strText += value;
            m_strText += "\r\n";
            return true;
        },
        [&] { return m_bLineLost = true, false; });
}

bool CTrAbstDB::CDataFile::AllWritten() const { return !m_bLineLost; }

const std::string& CTrAbstDB::CDataFile::Text() const { return m_strText; }
