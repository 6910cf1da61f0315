// PackagingTest.cpp - what ships beside the code: the version block of every
// module and of the installer, trctl --version, and TrCommon.h as a C host
// compiles it (HeaderFromC.c, built as strict C99).
#include "TrTestSupport.h"

#include "HeaderFromC.h"
#include "TrVersion.h"
#include "include/TrCommon.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace {

TEST(Packaging, EveryModuleAndTheInstallerCarryTheProjectVersion) {
    const DWORD ms = MAKELONG(TR_VERSION_MINOR, TR_VERSION_MAJOR), ls = MAKELONG(TR_VERSION_BUILD, TR_VERSION_PATCH);
    for (const char* name : {"TrCommon.dll", "TrLocale.DLL", "trctl.exe", "TrelvaneSetup.exe"}) {
        SCOPED_TRACE(name);
        const std::string path = trtest::SelfFolder() + name;
        DWORD zero = 0xdeadbeef;
        ::SetLastError(0xdeadbeef);
        const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &zero);
        ASSERT_NE(0u, size) << ::GetLastError();
        EXPECT_EQ(0u, zero);
        std::vector<char> block(size);
        ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        ASSERT_EQ(sizeof(*fixed), length);
        EXPECT_EQ(ms, fixed->dwFileVersionMS);
        EXPECT_EQ(ls, fixed->dwFileVersionLS);
        EXPECT_EQ(ms, fixed->dwProductVersionMS);
        EXPECT_EQ(ls, fixed->dwProductVersionLS);
        for (const std::string key : {"FileVersion", "ProductVersion"}) {
            char* text = nullptr;
            ASSERT_TRUE(::VerQueryValueA(block.data(), ("\\StringFileInfo\\040904b0\\" + key).c_str(),
                                         reinterpret_cast<void**>(&text), &length)) << key;
            EXPECT_STREQ(TR_VERSION_TEXT, text) << key;
        }
    }
}

TEST(Packaging, TrctlPrintsItsVersion) {
    const trtest::Captured ran = trtest::RunCaptured(trtest::SelfFolder() + "trctl.exe", "--version");
    EXPECT_EQ(0, ran.code);
    EXPECT_EQ("trctl " TR_VERSION_TEXT "\r\n", ran.out);
    EXPECT_EQ("", ran.err);
}

TEST(Packaging, TheFunctionHeaderServesCHosts) {
    // The structures a C host lays out are the ones the library exchanges.
    TrCLayout c;
    std::memset(&c, 0xAB, sizeof(c));
    TrCLayoutOf(&c);
    EXPECT_EQ(sizeof(TR_APP_DATA_STRUC), c.appData);
    EXPECT_EQ(offsetof(TR_APP_DATA_STRUC, szOption), c.appOption);
    EXPECT_EQ(sizeof(TR_SHARED_BLOCK), c.sharedBlock);
    EXPECT_EQ(sizeof(TR_REG_INFO_STRUC), c.regInfo);
    EXPECT_EQ(offsetof(TR_REG_INFO_STRUC, pszRegPath), c.regInfoPath);
    EXPECT_EQ(sizeof(TR_JOG_DATA_STRUC), c.jogData);
    EXPECT_EQ(offsetof(TR_JOG_DATA_STRUC, nLevel), c.jogLevel);
    EXPECT_EQ(offsetof(TR_JOG_DATA_STRUC, bIsFolder), c.jogIsFolder);
    EXPECT_EQ(sizeof(TR_REG_VALUES), c.regValues);
    EXPECT_EQ(offsetof(TR_REG_VALUES, timerApp.szOption), c.regTimerApp);

    // Calls made from C reach the plain-named exports.
    char path[MAX_PATH] = "C:\\dir";
    EXPECT_EQ(TRUE, TrCPathAppend(path, "file.dat"));
    EXPECT_STREQ("C:\\dir\\file.dat", path);
    EXPECT_EQ(TRUE, TrCRegInfoRoundTrip("USB\\VID_1234&PID_5678\\1"));
    EXPECT_EQ(FALSE, TrCRegInfoRoundTrip(nullptr));
}

}  // namespace
