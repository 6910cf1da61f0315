// What the databases do in memory: numeral-key lookups and edits, the jog menu's cursors
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
}

TEST(JogDataDB, EditsKeepTheCursorsValidAndGetReachesEveryIndex) {
    CTrJogDataDB db;
    for (int i = 0; i < 51; ++i) db.Add(Entry(std::to_string(i)));
    const auto end = db.ReadList()->end(), second = std::next(db.ReadList()->begin());
    CTrJogData* added = nullptr;
    db.InsertBefore(second, Entry("a"), &added);
    EXPECT_EQ(&db.Get(1), added);
    db.InsertAfter(second, Entry("b"), nullptr);
    EXPECT_EQ(1, db.RemoveAt(second));
    EXPECT_EQ(0, db.RemoveAt(end));
    EXPECT_EQ("b", db.Get(2).GetTitle());
    EXPECT_EQ("50", db.Get(51).GetTitle());
    // Removing the entry a cursor is on ends that cursor.
    EXPECT_EQ("0", db.Read(1)->GetTitle());
    EXPECT_EQ(1, db.RemoveAt(std::next(db.GetNowPosition())));
    EXPECT_EQ(nullptr, db.Read(0));
    EXPECT_EQ(1, db.RemoveAt(db.GetNowPosition()));
    EXPECT_EQ(end, db.GetNowPosition());
    db.Get(-1).SetTitle("scribble");  // outside: a blank entry each time
    EXPECT_EQ("", db.Get(-1).GetTitle());
    EXPECT_EQ(-1, db.Get(50).GetLevel());
}

TEST(RefuseDB, BracketedLinesAreEntriesFoundAnywhereInTheText) {
    Files files;
    CTrRefuseDB db;
    int open = -1;
    for (auto [list, text, found] : std::vector<std::tuple<std::string, std::string, int>>{
             {"[abc]\r\n", "xabcx", 1}, {"[ABC]\n", "abc", 0}, {"[]", "anything", 1}, {"[a]b]\n", "a]b", 1},
             {"[abc] \n", "abc", 0},    {"\nfree\n[zz]\n[b]\n", "abc", 1},
             {std::string("[a\0b]\n", 6), std::string("xa\0by", 5), 1}, {std::string("[a\0b]\n", 6), "a", 0}}) {
        ASSERT_TRUE(files.Put("r.txt", list));
        EXPECT_EQ(found, db.IsInDB(text, files.Path("r.txt"), open)) << list << " / " << text;
        EXPECT_EQ(0, open);
    }
    EXPECT_EQ(0, db.IsInDB("abc", files.Path("missing.txt"), open));
    EXPECT_EQ(1, open);
}

}  // namespace
