// TrNativeCodePage.h - the ANSI code page the native build pretends to run
// under, so native tests and fuzzers also cover double-byte data.
#ifndef TR_DATA_NATIVE_CODEPAGE_H
#define TR_DATA_NATIVE_CODEPAGE_H

namespace tr {
namespace native {

// 932 (lead bytes 0x81-0x9F and 0xE0-0xFC) or anything else for a
// single-byte code page. The start-up choice comes from the environment
// variable TR_CODEPAGE (default: single-byte).
void SelectCodePage(int codePage);
int SelectedCodePage();

}  // namespace native
}  // namespace tr

#endif  // TR_DATA_NATIVE_CODEPAGE_H
