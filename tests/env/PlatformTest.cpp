// Platform codes under each Windows version Wine can pretend to be. Wine
// reads the version per executable name, so each case runs a renamed copy of
// this test executable as a child.
#include "TrTestSupport.h"

#include "include/TrCommon.h"

#include <cstdlib>

namespace {

// Exit code: TrComGetOS * 16 + TrComGetOSEx, or 255 when a call failed.
TR_CHILD_ROLE(os_codes) {
    DWORD code = 0xdeadbeef, codeEx = 0xdeadbeef;
    if (TrComGetOS(&code) != 1 || TrComGetOSEx(&codeEx) != 1) return 255;
    return static_cast<int>(code * 16 + codeEx);
}

struct VersionCase {
    const char* version;
    DWORD os, osEx;
};

class PlatformCodes : public ::testing::TestWithParam<VersionCase> {};

TEST_P(PlatformCodes, FollowTheReportedVersion) {
    const VersionCase& c = GetParam();
    const std::string name = std::string("tr_os_") + c.version + ".exe";
    ASSERT_TRUE(trtest::SetWineVersionFor(name, c.version));
    trtest::SelfCopy copy(name);
    ASSERT_TRUE(copy.Ok());
    EXPECT_EQ(static_cast<int>(c.os * 16 + c.osEx), trtest::RunChild("os_codes", {}, copy.Path()));
    trtest::SetWineVersionFor(name, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Wine, PlatformCodes,
                         ::testing::Values(VersionCase{"win95", TR_OS_WIN95, TR_OS_WIN95},
                                           VersionCase{"win98", TR_OS_WIN98, TR_OS_WIN98},
                                           VersionCase{"winme", TR_OS_WIN98, TR_OS_WINME},
                                           VersionCase{"nt40", TR_OS_WINNT, TR_OS_WINNT},
                                           VersionCase{"win2k", TR_OS_WINNT, TR_OS_WIN2K},
                                           VersionCase{"winxp", TR_OS_WINNT, TR_OS_WIN2K},
                                           VersionCase{"win10", TR_OS_WINNT, TR_OS_WIN2K}),
                         [](const ::testing::TestParamInfo<VersionCase>& info) { return std::string(info.param.version); });

TEST(Platform, NullOutputIsRefused) {
    EXPECT_EQ(0, TrComGetOS(nullptr));
    EXPECT_EQ(0, TrComGetOSEx(nullptr));
}

}  // namespace
