// The settings exports, one row per read/write pair run by one checker over
// the real registry, and the jog dial's sounds over real files.
#include "EnvTestSupport.h"

#include <cstring>

namespace {

using namespace envtest;

constexpr DWORD M = 0xdeadbeef, E = 100;  // an untouched output; the usual edge value, kept
// A reader and a writer of 1 to 3 values over a DWORD array.
#define P1(r, w) [](auto k, auto s, auto o) { return r(k, s, o); }, [](auto k, auto s, auto v) { return w(k, s, v); }
#define P2(r, w) [](auto k, auto s, auto o) { return r(k, s, o, o + 1); }, [](auto k, auto s, auto v) { return w(k, s, v, v); }
#define P3(r, w) \
    [](auto k, auto s, auto o) { return r(k, s, o, o + 1, o + 2); }, [](auto k, auto s, auto v) { return w(k, s, v, v, v); }
int UsbWrite(HKEY k, const char* s, DWORD enable, DWORD newDevice, DWORD info) { return TrUSBCfgWrite(k, s, &enable, &newDevice, info); }

// Outputs over a missing key (preset, result 0), an empty key (dflt,
// emptyResult), all values 2 (2, result 1) and all at 'edge', the first value
// above the row's range (readEdge, resultEdge); stored by writes of 2 and edge.
struct Pair {
    int (*read)(HKEY, const char*, DWORD*);
    int (*write)(HKEY, const char*, DWORD);
    std::vector<const char*> names;  // in lower case: names match without regard to case
    std::vector<DWORD> preset, dflt, readEdge, wrote2, wroteEdge;
    int emptyResult, resultEdge;
    DWORD edge;
};

class Settings : public ProductKeySandbox {};

TEST_F(Settings, EveryExportPairOverTheRealRegistry) {
    const Pair pairs[] = {
        {[](auto k, auto s, auto o) { return TrXbusCfgRead(k, s, o, o + 1, o + 2, o + 3, o + 4); },
         [](auto k, auto s, auto v) { return TrXbusCfgWrite(k, s, v, v, v, v, v); },
         {"enable", "newdevice", "category", "smartconnect", "infodialog"},
         {0, 0, 0, 1, 5}, {0, 0, 0, 1, 5}, {E, E, E, E, 5}, {2, 2, 2, 2, 2}, {E, E, E, E, E}, 1, 1, 100},
        {P2(TrJogCfgReadDirection, TrJogCfgWriteDirection), {"appdirection", "jogdirection"},
         {M, M}, {1, 1}, {M, M}, {2, 2}, {1, 1}, 0, 1, 3},
        {P1(TrJogCfgReadAutoCloseTimer, TrJogCfgWriteAutoCloseTimer), {"autoclosetimer"}, {0}, {0}, {0}, {2}, {0}, 0, 0, 61},
        {P1(TrJogCfgReadPPPKInfoDlgTime, TrJogCfgWritePPPKInfoDlgTime), {"infodialog"}, {5}, {5}, {5}, {2}, {5}, 0, 0, 100},
        {P1(TrJogCfgReadJogBack, TrJogCfgWriteJogBack), {"backbutton"}, {1}, {0}, {E}, {2}, {E}, 0, 1, 100},
        {P1(TrJogCfgReadJogLED, TrJogCfgWriteJogLED), {"led enable"}, {1}, {1}, {E}, {2}, {E}, 0, 1, 100},
        {P1(TrSKeyCfgRead, TrSKeyCfgWrite), {"infodialog"}, {M}, {5}, {E}, {2}, {5}, 0, 1, 100},
        {P1(TrTimerCfgRead, TrTimerCfgWrite), {"infodialog"}, {M}, {5}, {E}, {2}, {5}, 0, 1, 100},
        {P1(TrFPCfgOptionRead, TrFPCfgOptionWrite), {"driveletter"}, {0}, {0}, {E}, {2}, {E}, 0, 1, 100},
        {P1(TrXbusConfigCautionRead, TrXbusConfigCautionWrite), {"caution"}, {M}, {1}, {E}, {2}, {E}, 0, 1, 100},
        {P3(TrFPCfgRead, TrFPCfgWrite), {"enable", "slotenable", "infodialog"},
         {M, M, M}, {0, 1, 5}, {E, E, E}, {1, 2, 2}, {1, E, 5}, 0, 1, 100},
        {P2(TrFPDriveRead, TrFPDriveWrite), {"slot", "adaptor"}, {18, 4}, {18, 4}, {18, 4}, {2, 2}, {18, 4}, 0, 1, 27},
        {P3(TrPPKCfgRead, TrPPKCfgWrite), {"enable", "lid enable", "infodialog"},
         {M, M, M}, {1, 0, 5}, {E, E, E}, {2, 2, 2}, {E, E, 5}, 0, 1, 100},
        {P3(TrUSBCfgRead, UsbWrite), {"enable", "newdevice", "infodialog"},
         {0, 0, 5}, {0, 0, 5}, {E, E, 5}, {2, 2, 2}, {E, E, E}, 1, 1, 100}};
    const std::string key = ProductKey("Settings");
    for (const Pair& p : pairs) {
        SCOPED_TRACE(testing::Message() << "pair " << (&p - pairs) << ", " << p.names[0]);
        auto read = [&](DWORD type, const std::string& bytes, int result, const std::vector<DWORD>& expected) {
            for (const char* name : p.names) ASSERT_TRUE(!type || SetBytes(HKEY_CURRENT_USER, key, name, type, bytes));
            std::vector<DWORD> out(p.names.size(), M);
            const long before = trtest::HandleCount();
            EXPECT_EQ(result, p.read(HKEY_CURRENT_USER, key.c_str(), out.data()));
            EXPECT_EQ(before, trtest::HandleCount());
            EXPECT_EQ(expected, out);
        };
        trtest::DeleteRegTree(HKEY_CURRENT_USER, key);
        read(0, "", 0, p.preset);
        ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, key));
        read(0, "", p.emptyResult, p.dflt);
        read(REG_DWORD, DwordBytes(2), 1, std::vector<DWORD>(p.names.size(), 2));
        read(REG_DWORD, DwordBytes(p.edge), p.resultEdge, p.readEdge);
        EXPECT_EQ(0, p.read(HKEY_CURRENT_USER, key.c_str(), nullptr));  // no output to read into
        for (const auto& [value, stored] : {std::pair{DWORD{2}, p.wrote2}, std::pair{p.edge, p.wroteEdge}}) {
            trtest::DeleteRegTree(HKEY_CURRENT_USER, key);
            EXPECT_EQ(1, p.write(HKEY_CURRENT_USER, key.c_str(), value));
            for (std::size_t i = 0; i < p.names.size(); ++i)
                EXPECT_EQ(DwordBytes(stored[i]), GetBytes(HKEY_CURRENT_USER, key, p.names[i], REG_DWORD)) << value << " " << p.names[i];
        }
    }
    // A null output or key path, a root that is no key: 0, nothing written.
    DWORD a = M;
    EXPECT_EQ(0, TrUSBCfgWrite(HKEY_CURRENT_USER, (key + "\\New").c_str(), nullptr, &a, 1));
    EXPECT_EQ(0, TrXbusCfgWrite(HKEY_CURRENT_USER, nullptr, 1, 1, 1, 1, 1) + TrJogCfgWriteJogLED(HKEY(0x1234), "Software", 1));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key + "\\New"));
}

TEST_F(Settings, JogSoundsOverRealFiles) {
    trtest::TempFolder files;
    const std::string roll = files / "roll.wav", push = files / "push.WaV", key = ProductKey("JogConfig"), ini = files / "Sound.ini";
    for (const std::string& f : {roll, push, files / "long.wave"}) ASSERT_TRUE(trtest::WriteFileBytes(f, "RIFF"));
    EXPECT_EQ(0, TrJogCfgIsWaveFile((files / "long.wave").c_str()));
    std::string r = "old", p = "old";  // each path is handed over only when it names an existing wave file
    EXPECT_EQ(1, TrJogCfgWriteSound(HKEY_CURRENT_USER, key.c_str(), roll.c_str(), push.c_str()));
    EXPECT_EQ(1, TrJogCfgReadSound(HKEY_CURRENT_USER, key.c_str(), r, p));
    EXPECT_EQ(roll + push, r + p);
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, key, "PushSound", files / "gone.wav"));
    EXPECT_EQ(0, TrJogCfgReadSound(HKEY_CURRENT_USER, key.c_str(), r, p));
    EXPECT_EQ(roll, r + p);
    EXPECT_EQ(0, TrJogCfgWriteSound(HKEY_CURRENT_USER, key.c_str(), nullptr, push.c_str()));
    auto defaults = [&](const char* profile) {  // "<result> <roll><push>": they come in pairs
        r = p = "old";
        const int result = trtest::WriteFileBytes(ini, profile) ? TrJogCfgGetDefaultSound(0, ini.c_str(), r, p) : -1;
        return std::to_string(result) + " " + r + p;
    };
    EXPECT_EQ("1 C:\\r.wavC:\\p.wav", defaults("[JogSound]\r\nRoll=C:\\r.wav\r\nPush=C:\\p.wav\r\n"));
    EXPECT_EQ("0 ", defaults("[JogSound]\r\nRoll=C:\\r.wav\r\nPush=\r\n"));
    EXPECT_EQ(0, TrJogCfgGetDefaultSound(0, nullptr, r = "old", p = "old"));
    EXPECT_EQ("", r + p);
}

// The plain-C forms: a path is handed over only with its terminator in the caller's buffer,
// one that does not fit counts as unreadable; a buffer of size 0 is never written.
TEST_F(Settings, JogSoundsIntoCallerBuffers) {
    trtest::TempFolder files;
    const std::string roll = files / "roll.wav", push = files / "p.wav", key = ProductKey("JogConfig");
    const std::string ini = files / "Sound.ini", marker = "marker";
    ASSERT_TRUE(trtest::WriteFileBytes(roll, "RIFF") && trtest::WriteFileBytes(push, "RIFF"));
    ASSERT_TRUE(TrJogCfgWriteSound(HKEY_CURRENT_USER, key.c_str(), roll.c_str(), push.c_str()));
    ASSERT_TRUE(trtest::WriteFileBytes(ini, "[JogSound]\r\nRoll=" + roll + "\r\nPush=" + push + "\r\n"));
    const DWORD r = static_cast<DWORD>(roll.size() + 1), p = static_cast<DWORD>(push.size() + 1);
    const struct { bool profile; DWORD rollSize, pushSize; int result; std::string roll, push; } rows[] = {
        {.profile = false, .rollSize = r, .pushSize = p, .result = 1, .roll = roll, .push = push},
        {.profile = false, .rollSize = r - 1, .pushSize = p, .result = 0, .roll = "", .push = push},  // each alone
        {.profile = false, .rollSize = r, .pushSize = 0, .result = 0, .roll = marker, .push = marker},
        {.profile = true, .rollSize = r, .pushSize = p, .result = 1, .roll = roll, .push = push},
        {.profile = true, .rollSize = r, .pushSize = p - 1, .result = 0, .roll = "", .push = ""},  // both or neither
        {.profile = true, .rollSize = 0, .pushSize = p, .result = 0, .roll = marker, .push = marker},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        char rollOut[MAX_PATH], pushOut[MAX_PATH];
        std::strcpy(rollOut, marker.c_str());
        std::strcpy(pushOut, marker.c_str());
        EXPECT_EQ(row.result, row.profile
                                  ? TrJogCfgGetDefaultSoundA(0, ini.c_str(), rollOut, row.rollSize, pushOut, row.pushSize)
                                  : TrJogCfgReadSoundA(HKEY_CURRENT_USER, key.c_str(), rollOut, row.rollSize, pushOut,
                                                       row.pushSize));
        EXPECT_EQ(row.roll + "|" + row.push, std::string(rollOut) + "|" + pushOut);
    }
    char out[MAX_PATH];
    EXPECT_EQ(0, TrJogCfgReadSoundA(HKEY_CURRENT_USER, key.c_str(), nullptr, r, out, p) +
                     TrJogCfgGetDefaultSoundA(0, ini.c_str(), out, r, nullptr, p));
}

}  // namespace
