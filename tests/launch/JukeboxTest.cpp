// Jukebox detection: the companion's named mutex held by a child process, and
// the tray program's "Run" value under both roots.
#include "tests/env/EnvTestSupport.h"

namespace {

constexpr char kMutex[] = "Kalvor Lyrane Jukebox";
constexpr char kJukeboxKey[] = "Software\\Kalvor Corporation\\Lyrane Jukebox";
constexpr BOOL kMarker = 0x5A5A5A5A;

// The companion: holds the mutex until released.
TR_CHILD_ROLE(jukebox) {
    const tr::Handle mutex(::CreateMutexA(nullptr, TRUE, kMutex));
    if (!mutex) return 1;
    trtest::SignalReady();
    trtest::WaitForRelease();
    return ::ReleaseMutex(mutex.Get()) ? 0 : 2;
}

BOOL Exists() {
    BOOL exist = kMarker;
    EXPECT_TRUE(TrComExistLyraneJukebox(&exist));
    return exist;
}

TEST(Jukebox, CompanionSeenOnlyWhileItHoldsTheMutex) {
    EXPECT_EQ(FALSE, Exists());
    EXPECT_FALSE(TrComExistLyraneJukebox(nullptr));
    trtest::Child companion;
    ASSERT_TRUE(companion.Start("jukebox") && companion.WaitReady());
    EXPECT_EQ(TRUE, Exists());
    EXPECT_EQ(0, companion.Wait());  // released first
    const tr::Handle event(::CreateEventA(nullptr, TRUE, FALSE, kMutex));  // the name taken by another kind
    EXPECT_TRUE(event && Exists() == FALSE);
}

// The per-user value wins whenever it can be read, even when empty; the data
// are bytes up to the first zero, whatever the type. REG_NONE: a sub-key
// named like the value.
TEST(Jukebox, TrayValuePerUserWins) {
    const std::string tray = std::string(kJukeboxKey) + "\\Tray";
    const struct { DWORD userType; std::string user; const char* machine; BOOL result, exist; } rows[] = {
        {REG_SZ, "", "1", TRUE, FALSE},          {0, "", "C:\\Jukebox\\Tray.exe", TRUE, TRUE},
        {0, "", nullptr, FALSE, kMarker},        {REG_DWORD, envtest::DwordBytes(0x100), "1", TRUE, FALSE},
        {REG_SZ, std::string(300, 'r'), "", TRUE, FALSE},  // too long: the machine's value
        {REG_NONE, "", nullptr, FALSE, kMarker}};
    for (const auto& r : rows) {
        trtest::RegSandbox user(HKEY_CURRENT_USER, kJukeboxKey), machine(HKEY_LOCAL_MACHINE, kJukeboxKey);
        ASSERT_TRUE(r.userType != REG_NONE || envtest::CreateKey(HKEY_CURRENT_USER, tray + "\\Run"));
        ASSERT_TRUE(r.userType != REG_SZ || envtest::SetString(HKEY_CURRENT_USER, tray, "run", r.user));
        ASSERT_TRUE(r.userType != REG_DWORD || envtest::SetBytes(HKEY_CURRENT_USER, tray, "run", REG_DWORD, r.user));
        ASSERT_TRUE(!r.machine || envtest::SetString(HKEY_LOCAL_MACHINE, tray, "RUN", r.machine));
        BOOL exist = kMarker;
        EXPECT_EQ(r.result, TrComExistLyraneJukeboxInTaskTray(&exist)) << &r - rows;
        EXPECT_EQ(r.exist, exist) << &r - rows;
    }
    EXPECT_FALSE(TrComExistLyraneJukeboxInTaskTray(nullptr));
}

}  // namespace
