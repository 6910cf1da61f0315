// TrTestMain.cpp - main of every test executable: either plays a child role
// for another test process, or runs the GoogleTest cases.
#include "TrTestSupport.h"

namespace trtest {
bool RunChildRoleIfAsked(int argc, char** argv, int& exitCode);
}

int main(int argc, char** argv) {
    // No message boxes for missing files or crashes: a test must never wait
    // for a user.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    int exitCode = 0;
    if (trtest::RunChildRoleIfAsked(argc, argv, exitCode)) return exitCode;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
