/* HeaderFromC.c - TrCommon.h compiled as C99 (strict ISO, no extensions):
   the exchanged structures as a C host lays them out, and calls made from C
   through the import library, for the C++ side of the test to compare. */
#include "TrCommon.h"

#include <stddef.h>

#include "HeaderFromC.h"

void TrCLayoutOf(TrCLayout* layout) {
    layout->appData = sizeof(TR_APP_DATA_STRUC);
    layout->appOption = offsetof(TR_APP_DATA_STRUC, szOption);
    layout->sharedBlock = sizeof(TR_SHARED_BLOCK);
    layout->regInfo = sizeof(TR_REG_INFO_STRUC);
    layout->regInfoPath = offsetof(TR_REG_INFO_STRUC, pszRegPath);
    layout->jogData = sizeof(TR_JOG_DATA_STRUC);
    layout->jogLevel = offsetof(TR_JOG_DATA_STRUC, nLevel);
    layout->jogIsFolder = offsetof(TR_JOG_DATA_STRUC, bIsFolder);
    layout->regValues = sizeof(TR_REG_VALUES);
    layout->regTimerApp = offsetof(TR_REG_VALUES, timerApp.szOption);
}

int TrCPathAppend(char* path, const char* name) { return TrComPathAppend(path, name); }

int TrCRegInfoRoundTrip(const char* path) {
    TR_REG_INFO_STRUC* info = NULL;
    if (!TrComNewRegInfo(&info, path)) return 0;
    return TrComFreeRegInfo(info);
}
