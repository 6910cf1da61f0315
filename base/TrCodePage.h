// TrCodePage.h - the one question the text code asks of the system's ANSI
// code page: does this byte start a double-byte character?
//
// On Windows the answer comes from the active code page (TrCodePageWin.cpp).
// Native builds for sanitizers and fuzzing link their own table instead, so
// the text and data layers compile without <windows.h>.
#ifndef TR_BASE_CODEPAGE_H
#define TR_BASE_CODEPAGE_H

namespace tr {

// 256 entries, true for the lead bytes of the current ANSI code page.
const bool* LeadByteTable();

inline bool IsLeadByte(unsigned char c) { return LeadByteTable()[c]; }

}  // namespace tr

#endif  // TR_BASE_CODEPAGE_H
