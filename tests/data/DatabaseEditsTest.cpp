// What the databases do in memory: lookups and edits, the jog menu's cursors
// and walk by index, and the refuse list's matches.
#include <gtest/gtest.h>

#include "DataFiles.h"

#include <tuple>
#include <vector>

namespace {

using namespace datatest;

CTrJogData Entry(const std::string& title) {
    CTrJogData e;
    e.SetTitle(title);
    return e;
}

TEST(NumeralKeyDB, FindTakesTheFirstMatchAndSetKeepsOrGivesTheKey) {
    EXPECT_EQ(0x01000002u, CTrNumeralKeyDB::GenerateKey(1, 2));
    EXPECT_EQ(0xFEFFFFFFu, CTrNumeralKeyDB::GenerateKey(0xFFFFFFFF, 0xFFFFFFFF));
    Files files;
    ASSERT_TRUE(files.Put("in.dat", Num("one", "01000002") + Num("two", "1000002") + Num("b", "2")));
    CTrNumeralKeyDB db;
    ASSERT_EQ(0, db.Load(files.Path("in.dat")));
    EXPECT_EQ("one", db.Find(1, 2)->GetTitle());
    CTrNumeralKeyData data(0x77);
    data.SetTitle("new");
    EXPECT_EQ(1, db.Set(2, data));
    EXPECT_EQ(1, db.Set(1, 0, data));
    std::vector<std::pair<std::string, DWORD>> seen;
    for (const CTrNumeralKeyData* r = db.Read(1); r; r = db.Read(0)) seen.emplace_back(r->GetTitle(), r->GetKey());
    EXPECT_EQ(decltype(seen)({{"one", 0x01000002}, {"two", 0x01000002}, {"new", 2}, {"new", 0x01000000}}), seen);
    EXPECT_EQ(3, db.GetDataNumber());  // edits leave the count of the last load
}

TEST(StringKeyDB, SetChangesOnlyExistingRecordsAndAllButTheKey) {
    CTrStringKeyDB db;
    CTrStringKeyData data;
    data.SetKey("k");
    db.Add(data);
    data.SetKey("K");
    db.Add(data);
    data.SetTitle("T"), data.SetDescription("D"), data.SetPath("P"), data.SetWorkDir("W"), data.SetOption("O");
    data.SetName("N"), data.SetAttribute("A"), data.SetKey("ignored");
    EXPECT_EQ(0, db.Set(std::string("k "), data));
    EXPECT_EQ(0, db.Set(2, data));
    EXPECT_EQ(0, db.Set(-1, data));
    EXPECT_EQ(1, db.Set(0, data));
    EXPECT_EQ(1, db.Set(std::string("K"), data));
    Files files;
    ASSERT_EQ(0, db.Write(files.Path("out.dat")));
    const std::string fields =
        CrLf({"Title:T", "Description:D", "Path:P", "WorkDir:W", "Option:O", "Name:N", "Attribute:A"});
    EXPECT_EQ(fields + "Key:k\r\n" + fields + "Key:K\r\n", files.Get("out.dat"));
}

TEST(JogDataDB, EditsKeepTheCountersAndTheCursorsValid) {
    Files files;
    ASSERT_TRUE(files.Put("in.dat", Fold("b", "0") + App("c", "1")));
    CTrJogDataDB db;
    ASSERT_EQ(0, db.Load(files.Path("in.dat")));
    db.Add(Entry("d"));
    EXPECT_EQ("a", db.InsertTop(Entry("a"))->GetTitle());
    const auto end = db.ReadList()->end();
    CTrJogData* added = nullptr;
    EXPECT_EQ("last", db.InsertAfter(end, Entry("last"), &added)->GetTitle());
    EXPECT_EQ(&db.Get(4), added);
    db.InsertBefore(end, Entry("first"), &added);
    EXPECT_EQ(&db.Get(0), added);
    const auto c = std::next(db.ReadList()->begin(), 3);
    db.InsertAfter(c, Entry("c+"), nullptr);
    db.InsertBefore(c, Entry("c-"), nullptr);
    EXPECT_EQ(1, db.RemoveAt(c));
    EXPECT_EQ(0, db.RemoveAt(end));
    std::vector<std::string> titles;
    for (const CTrJogData& e : *db.ReadList()) titles.push_back(e.GetTitle());
    EXPECT_EQ((std::vector<std::string>{"first", "a", "b", "c-", "c+", "d", "last"}), titles);
    // Removing the entry a cursor is on ends that cursor.
    EXPECT_EQ("first", db.Read(1)->GetTitle());
    EXPECT_EQ(1, db.RemoveAt(std::next(db.GetNowPosition())));
    EXPECT_EQ(nullptr, db.Read(0));
    EXPECT_EQ(1, db.RemoveAt(db.GetNowPosition()));
    EXPECT_EQ(end, db.GetNowPosition());
    db.ClearAll();
    EXPECT_EQ(nullptr, db.Read(0));
    // The counters describe the file as loaded; only folders set the depth.
    EXPECT_EQ(1, db.GetRootNumber());
    EXPECT_EQ(2, db.GetAllNumber());
    EXPECT_EQ(1, db.GetMaxLevel());
}

TEST(JogDataDB, GetReachesEveryIndexAndOutsideGivesABlankEntry) {
    CTrJogDataDB db;
    for (int i = 0; i < 51; ++i) db.Add(Entry(std::to_string(i)));
    for (int i = 0; i < 51; ++i) EXPECT_EQ(std::to_string(i), db.Get(i).GetTitle());
    for (int i : {-1, 51}) {
        db.Get(i).SetTitle("scribble");
        EXPECT_EQ("", db.Get(i).GetTitle());
        EXPECT_EQ(-1, db.Get(i).GetLevel());
    }
}

TEST(RefuseDB, BracketedLinesAreEntriesFoundAnywhereInTheText) {
    Files files;
    CTrRefuseDB db;
    int open = -1;
    for (auto [list, text, found] : std::vector<std::tuple<std::string, std::string, int>>{
             {"[abc]\r\n", "xabcx", 1}, {"[ABC]\n", "abc", 0},     {"[]", "anything", 1}, {"[x]\n", "", 0},
             {"[[abc]]\n", "abc", 1},   {"[a]b]\n", "a]b", 1},     {"[a]b]\n", "ab", 0},  {"[ab c]\n", "abc", 0},
             {"[abc] \n", "abc", 0},    {" [abc]\n", "abc", 0},    {"[\n", "[", 0},       {"[[[\n", "", 0},
             {"abc\n", "abc", 0},       {"[abc]\r\r\n", "abc", 0}, {"", "", 0},       {"\nfree\n[zz]\n[b]\n", "abc", 1},
             {std::string("[a\0b]\n", 6), std::string("xa\0by", 5), 1}, {std::string("[a\0b]\n", 6), "a", 0}}) {
        ASSERT_TRUE(files.Put("r.txt", list));
        EXPECT_EQ(found, db.IsInDB(text, files.Path("r.txt"), open)) << list << " / " << text;
        EXPECT_EQ(0, open);
    }
    EXPECT_EQ(0, db.IsInDB("abc", files.Path("missing.txt"), open));
    EXPECT_EQ(1, open);
}

}  // namespace
