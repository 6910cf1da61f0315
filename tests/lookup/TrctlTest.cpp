// trctl find and serve as a script sees them: exit codes, one line on stderr
// for each failure, and a real start for serve.
#include "LookupTestData.h"

#include <algorithm>

namespace {

using trtest::NumeralRecord;

TEST(Trctl, ExitCodesAndOneLinePerFailure) {
    trtest::LookupSandbox box;
    trtest::TempFolder temp;
    const std::string outLog = temp / "out.txt", errLog = temp / "err.txt", record = temp / "record.txt";
    ::SetEnvironmentVariableA("TR_RECORDER_OUT", record.c_str());
    ASSERT_TRUE(box.Write("PPKData.dat", NumeralRecord("Editor", 0x0101, "notepad.exe", "/x")));
    ASSERT_TRUE(box.Write("TimrData.dat", "Title:cut short\r\n"));
    ASSERT_TRUE(box.Write("JPPKData.dat",
                          NumeralRecord("Rec", 0x03000000, trtest::SelfFolder() + "tr_recorder.exe", "from-serve")));
    ASSERT_TRUE(box.Write("SKeyData.dat", NumeralRecord("Nothing", 0x0201, temp / "no-such-file.trnone")));
    // The text is looked for anywhere in the output.
    const struct { const char* args; int code; const char* text; } cases[] = {
        {"find ppk", 0, "title        Editor"}, {"find ppk --code 0x0102", 10, "no application is bound"},
        {"find timer", 11, "TimrData.dat cannot be read"}, {"find skey 0", 2, "key number from 1 to 255"},
        {"serve --help", 0, "ieee1394 <device-id>"}, {"serve skey 1", 12, "launch was refused"},
        {"serve jppk --timeout 20", 0, "program ended"}};
    for (const auto& c : cases) {
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        tr::Handle out(::CreateFileA(outLog.c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, 0, nullptr));
        tr::Handle err(::CreateFileA(errLog.c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, 0, nullptr));
        const int code = trtest::RunProcess(trtest::SelfFolder() + "trctl.exe", c.args, out.Get(), err.Get());
        EXPECT_EQ(c.code, code) << c.args;
        out.Reset(), err.Reset();
        std::string outText, errText;
        EXPECT_TRUE(trtest::ReadFileBytes(outLog, outText) && trtest::ReadFileBytes(errLog, errText));
        EXPECT_NE(std::string::npos, (outText + errText).find(c.text)) << c.args << ": " << outText << errText;
        EXPECT_EQ(c.code ? 1 : 0, std::count(errText.begin(), errText.end(), '\n')) << c.args << ": " << errText;
    }
    std::string recorded;
    EXPECT_TRUE(trtest::ReadFileBytes(record, recorded) && recorded.find("arg1=from-serve") != std::string::npos)
        << recorded;
    ::SetEnvironmentVariableA("TR_RECORDER_OUT", nullptr);
}

}  // namespace
