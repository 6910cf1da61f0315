// Platform codes and the user's rights under each Windows version Wine can
// report; Wine reads it per executable name, so each row runs a renamed copy.
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
TEST(PlatformCodes, FollowTheVersionWineReports) {
    constexpr DWORD kAdmin = TR_RIGHT_ADMINISTRATORS, kWineUser = TR_RIGHT_ADMINISTRATORS | TR_RIGHT_USERS;
    const struct { const char* version; DWORD os, osEx, rights; } rows[] = {
        {"win95", TR_OS_WIN95, TR_OS_WIN95, kAdmin},    {"win98", TR_OS_WIN98, TR_OS_WIN98, kAdmin},
        {"winme", TR_OS_WIN98, TR_OS_WINME, kAdmin},    {"nt40", TR_OS_WINNT, TR_OS_WINNT, kWineUser},
        {"win2k", TR_OS_WINNT, TR_OS_WIN2K, kWineUser}, {"winxp", TR_OS_WINNT, TR_OS_WIN2K, kWineUser},
        {"win10", TR_OS_WINNT, TR_OS_WIN2K, kWineUser}};
    for (const auto& r : rows) {
        const std::string name = std::string("tr_os_") + r.version + ".exe";
        ASSERT_TRUE(trtest::SetWineVersionFor(name, r.version));
        trtest::SelfCopy copy(name);
        EXPECT_EQ(static_cast<int>(r.rights * 256 + r.os * 16 + r.osEx), trtest::RunChild("platform", {}, copy.Path())) << r.version;
        trtest::SetWineVersionFor(name, nullptr);
    }
}

}  // namespace
