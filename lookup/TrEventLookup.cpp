// TrEventLookup.cpp - the event lookup exports: one finder per call, the
// record's five texts copied into the caller's block.
//
// On FALSE the block is untouched: the record is copied into a local block
// first and handed over only when the whole lookup succeeded.
#include "include/TrCommon.h"
#include "include/TrCommonClasses.h"

#include "base/TrFieldText.h"
#include "base/TrGuard.h"

#include <cstring>
#include <string>

namespace {

constexpr DWORD kFamilyPPK = 1;
constexpr DWORD kFamilySKey = 2;
constexpr DWORD kFamilyFlashpod = 3;

DWORD Family(DWORD code) { return (code >> 8) & 0xFF; }

void CopyRecord(TR_APP_DATA_STRUC& block, const CTrBaseData& record) {
    tr::CopyToField(block.szTitle, TR_TEXT_FIELD, record.GetTitle());
    tr::CopyToField(block.szDescription, TR_TEXT_FIELD, record.GetDescription());
    tr::CopyToField(block.szPath, TR_TEXT_FIELD, record.GetPath());
    tr::CopyToField(block.szWorkDir, TR_TEXT_FIELD, record.GetWorkDir());
    tr::CopyToField(block.szOption, TR_TEXT_FIELD, record.GetOption());
}

// The user's "DriveLetter" setting of the Flashpod family; the fill must read
// all four of its values, so a missing one means no designation.
bool DriveLetterWanted() {
    TR_REG_VALUE_OF_KIND<TR_REG_KIND_FLASHPOD> values{};
    return TrComGetRegValue(&values) && values.values.flashpod.dwDriveLetter != 0;
}

// Appends a designation such as " E:" to Option. When the field is full, the
// option text gives way (on a character boundary) so the drive still arrives.
void AppendDesignation(TR_APP_DATA_STRUC& block, const char* designation) {
    std::string option(block.szOption);
    option.resize(tr::FittingLength(option, TR_TEXT_FIELD - 1 - std::strlen(designation)));
    option += designation;
    tr::CopyToField(block.szOption, TR_TEXT_FIELD, option);
}

// Steps common to the lookups: open, find, copy, close. The designation, if
// any, is appended to the local block before it is handed over.
int LookupOnce(TR_APP_DATA_STRUC* pData, WORD mask, DWORD category, DWORD_PTR key, DWORD type,
               const char* designation) {
    CTrAppDataFinder finder;
    if (finder.OpenDataBases(mask) != 0) return FALSE;  // the destructor closes what opened
    TR_APP_DATA_STRUC local;
    const CTrBaseData* record = finder.Find(category, key, type, 0, 0, 1);
    if (record) CopyRecord(local, *record);
    finder.CloseDataBases();
    if (!record) return FALSE;
    if (designation[0] && DriveLetterWanted()) AppendDesignation(local, designation);
    std::memcpy(pData, &local, sizeof(local));
    return TRUE;
}

// Running out of memory is a failed lookup, and the block is still
// untouched then.
int Lookup(TR_APP_DATA_STRUC* pData, WORD mask, DWORD category, DWORD_PTR key, DWORD type,
           const char* designation) {
    return tr::Guarded(FALSE, [&] { return LookupOnce(pData, mask, category, key, type, designation); });
}

// Modifier keys held at this moment; only the first found counts.
DWORD ModifierBits() {
    if (::GetAsyncKeyState(VK_MENU) & 0x8000) return TR_EVENT_ALT;
    if (::GetAsyncKeyState(VK_CONTROL) & 0x8000) return TR_EVENT_CTRL;
    if (::GetAsyncKeyState(VK_SHIFT) & 0x8000) return TR_EVENT_SHIFT;
    return 0;
}

}  // namespace

extern "C" {

int TRCOMAPI TrComGetAppDataOfPnPEvent(TR_APP_DATA_STRUC* pData, DWORD dwDeviceType, DWORD_PTR dwDeviceKey) {
    if (!pData) return FALSE;
    WORD mask = 0;
    switch (dwDeviceType & 0xFFFF) {
    case TR_PNP_XBUS: mask = CTrAppDataFinder::kXbus; break;
    case TR_PNP_USB: mask = CTrAppDataFinder::kUsb; break;
    case TR_PNP_FPMEDIA: mask = CTrAppDataFinder::kFlashpod; break;
    default: return FALSE;  // the device memory stays the caller's
    }
    char designation[4] = "";
    if (dwDeviceType == TR_PNP_FPMEDIA_DRIVE) {
        designation[0] = ' ';
        designation[1] = static_cast<char>('A' + ((static_cast<DWORD>(dwDeviceKey) >> 24) & 0xFF));
        designation[2] = ':';
    }
    return Lookup(pData, mask, 1, dwDeviceKey, dwDeviceType, designation);
}

int TRCOMAPI TrComGetAppDataOfKalvorEvent(TR_APP_DATA_STRUC* pData, DWORD dwEventCode) {
    if (!pData) return FALSE;
    WORD mask = 0;
    switch (Family(dwEventCode)) {
    case kFamilyPPK:
        mask = CTrAppDataFinder::kPPK;
        dwEventCode |= ModifierBits();
        break;
    case kFamilySKey: mask = CTrAppDataFinder::kSKey; break;
    case kFamilyFlashpod: mask = CTrAppDataFinder::kFlashpod; break;
    default: return FALSE;
    }
    return Lookup(pData, mask, 0, dwEventCode, 0, Family(dwEventCode) == kFamilyFlashpod ? " S:" : "");
}

int TRCOMAPI TrComGetAppDataOfTimer(TR_APP_DATA_STRUC* pData) {
    if (!pData) return FALSE;
    return Lookup(pData, CTrAppDataFinder::kTimer, 2, 0, 0, "");
}

int TRCOMAPI TrComGetAppDataOfJogPPK(TR_APP_DATA_STRUC* pData) {
    if (!pData) return FALSE;
    return Lookup(pData, CTrAppDataFinder::kJogPPK, 3, 0, 7, "");
}

int TRCOMAPI TrComGetAppDataOfFPSlot(TR_APP_DATA_STRUC* pData) {
    return TrComGetAppDataOfKalvorEvent(pData, TR_EVENT_FPSLOT);
}

}  // extern "C"
