// Platform codes, and the user's rights that hang on the platform family,
// under each Windows version Wine can pretend to be. Wine reads the version
// per executable name, so each case runs a renamed copy of this test
// executable as a child.
#include "TrTestSupport.h"

#include "include/TrCommon.h"

namespace {

// Exit code: rights * 256 + TrComGetOS * 16 + TrComGetOSEx, or 255 when a
// call failed, took a null output or left a handle open.
TR_CHILD_ROLE(platform) {
    DWORD os = 0xdeadbeef, osEx = 0xdeadbeef, rights = 0xdeadbeef;
    const long handles = trtest::HandleCount();
    if (TrComGetOS(&os) != 1 || TrComGetOSEx(&osEx) != 1 || TrComCheckUserRight(&rights) != 1 ||
        TrComGetOS(nullptr) || TrComGetOSEx(nullptr) || TrComCheckUserRight(nullptr) || trtest::HandleCount() != handles)
        return 255;
    return static_cast<int>(rights * 256 + os * 16 + osEx);
}

// The real token's groups: Wine's user is in Administrators and Users; every
// user of the Windows 95 family counts as an administrator.
constexpr DWORD kAdmin = TR_RIGHT_ADMINISTRATORS, kWineUser = TR_RIGHT_ADMINISTRATORS | TR_RIGHT_USERS;
struct VersionCase { const char* version; DWORD os, osEx, rights; };

class PlatformCodes : public ::testing::TestWithParam<VersionCase> {};

TEST_P(PlatformCodes, FollowTheReportedVersion) {
    const VersionCase& c = GetParam();
    const std::string name = std::string("tr_os_") + c.version + ".exe";
    ASSERT_TRUE(trtest::SetWineVersionFor(name, c.version));
    trtest::SelfCopy copy(name);
    EXPECT_EQ(static_cast<int>(c.rights * 256 + c.os * 16 + c.osEx), trtest::RunChild("platform", {}, copy.Path()));
    trtest::SetWineVersionFor(name, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Wine, PlatformCodes,
                         ::testing::Values(VersionCase{"win95", TR_OS_WIN95, TR_OS_WIN95, kAdmin},
                                           VersionCase{"win98", TR_OS_WIN98, TR_OS_WIN98, kAdmin},
                                           VersionCase{"winme", TR_OS_WIN98, TR_OS_WINME, kAdmin},
                                           VersionCase{"nt40", TR_OS_WINNT, TR_OS_WINNT, kWineUser},
                                           VersionCase{"win2k", TR_OS_WINNT, TR_OS_WIN2K, kWineUser},
                                           VersionCase{"winxp", TR_OS_WINNT, TR_OS_WIN2K, kWineUser},
                                           VersionCase{"win10", TR_OS_WINNT, TR_OS_WIN2K, kWineUser}),
                         [](const ::testing::TestParamInfo<VersionCase>& info) { return std::string(info.param.version); });

}  // namespace
