// TrctlRows.cpp - running trctl and checking rows of its invocations.
#include "TrctlRows.h"

#include <algorithm>

namespace trtest {
namespace {

using Json = nlohmann::json;

void CheckJson(const std::string& out, const char* expectation, const std::string& where) {
    const std::string e = expectation;
    const std::size_t eq = e.find('=');
    const Json document = Json::parse(out, nullptr, false);
    ASSERT_FALSE(document.is_discarded()) << where << ": not JSON:\n" << out;
    const Json::json_pointer pointer(e.substr(0, eq));
    ASSERT_TRUE(document.contains(pointer)) << where << ": no " << e.substr(0, eq) << " in\n" << out;
    const Json expected = Json::parse(e.substr(eq + 1), nullptr, false);
    const Json& actual = document.at(pointer);
    if (!expected.is_discarded()) EXPECT_EQ(expected, actual) << where;
    else EXPECT_EQ(Json(e.substr(eq + 1)), actual) << where;
}

}  // namespace

std::string TrctlPath(const std::string& exeName) { return SelfFolder() + exeName; }

std::string DataFolder() {
    char folder[MAX_PATH] = "";
    TrComGetPath(TR_PATH_DATA_DIR, folder);
    return folder;
}

void RunRows(const std::vector<Row>& rows, const std::string& exeName) {
    const bool win2k = exeName.find("win2k") != std::string::npos;
    for (const Row& row : rows) {
        const std::string where = exeName + " " + row.args;
        if (row.before) row.before();
        std::string before, after;
        if (row.unchanged) ReadFileBytes(DataFolder() + "\\" + row.unchanged, before);
        const Captured o = RunTrctl(row.args, exeName);
        const int code = win2k && row.code2k >= 0 ? row.code2k : row.code;
        EXPECT_EQ(code, o.code) << where << "\n" << o.out << o.err;
        const char* text = win2k && row.text2k ? row.text2k : row.text;
        EXPECT_NE(std::string::npos, (o.out + o.err).find(text)) << where << ": no '" << text << "' in\n" << o.out << o.err;
        EXPECT_EQ(code ? 1 : 0, std::count(o.err.begin(), o.err.end(), '\n')) << where << ": " << o.err;
        // A Windows 2000 run that ends otherwise has JSON to check only when json2k names it.
        const char* json = win2k && (row.json2k || code != row.code) ? row.json2k : row.json;
        if (json) CheckJson(o.out, json, where);
        if (row.unchanged) {
            EXPECT_TRUE(ReadFileBytes(DataFolder() + "\\" + row.unchanged, after));
            EXPECT_EQ(before, after) << where << ": " << row.unchanged << " changed";
        }
    }
}

}  // namespace trtest
