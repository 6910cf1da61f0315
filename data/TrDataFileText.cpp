// TrDataFileText.cpp - a data file held in memory: Load parses the bytes read
// in one go, Write gathers the new text before it goes to disk in one go.
#include "include/TrCommonClasses.h"

#include "base/TrGuard.h"

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
    const void* lf = std::memchr(start, '\n', size - m_nNext);
    std::size_t length = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : size - m_nNext;
    m_nNext += length + (lf ? 1 : 0);
    // Only the CR of a CR LF pair is a line end; a lone CR is a byte of the line.
    if (lf && length > 0 && start[length - 1] == '\r') --length;
    line = std::string_view(start, length);
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
