/* HeaderFromC.h - what HeaderFromC.c (compiled as C) offers the C++ test. */
#ifndef TR_TESTS_HEADER_FROM_C_H
#define TR_TESTS_HEADER_FROM_C_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct TrCLayout {
    size_t appData, appOption, sharedBlock, regInfo, regInfoPath, jogData, jogLevel, jogIsFolder, regValues,
        regTimerApp;
} TrCLayout;

void TrCLayoutOf(TrCLayout* layout);
int TrCPathAppend(char* path, const char* name);
int TrCRegInfoRoundTrip(const char* path);

#ifdef __cplusplus
}
#endif

#endif
