// Diagnosis.h - why a lookup or a launch did not get an application going,
// in words for the user. Shared by Trelvane.exe and trctl.
#ifndef TRELVANE_DIAGNOSIS_H
#define TRELVANE_DIAGNOSIS_H

#include <windows.h>

#include <TrCommon.h>

#include <string>

namespace trelvane {

// Why TrComLaunch refused the block, checked in the order the launcher takes
// its steps; 'error' is the thread's error right after the refusal.
std::string LaunchProblem(const TR_APP_DATA_STRUC& app, DWORD error);

// The user's data files behind each bit of the finder's open mask (the
// IEEE 1394 bit stands for two), with their TrComGetPath index.
struct DataFileSlot {
    WORD bit;
    int pathIndex;
    bool numeral;  // a numeral-key file, else a string-key file
};
extern const DataFileSlot kDataFileSlots[8];

// Why the databases of an open mask (CTrAppDataFinder::k* bits) cannot be
// opened, naming the first file at fault; empty when they open, and when a
// numeral-key file only holds no binding at all (nothing is bound then).
std::string DataFileProblem(WORD mask);

}  // namespace trelvane

#endif  // TRELVANE_DIAGNOSIS_H
