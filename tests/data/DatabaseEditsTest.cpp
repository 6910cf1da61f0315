// What the databases do in memory: numeral-key lookups and edits, the jog menu's cursors
// and walk by index, and the refuse list's matches.
#include <gtest/gtest.h>

#include "DataFiles.h"

#include <functional>
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

// Get remembers the place it reached last; every walk order must still find
// the right entry, and every edit must make it forget a place that moved or died.
TEST(JogDataDB, GetFollowsEveryWalkAndForgetsItsPlaceOnEdits) {
    CTrJogDataDB db;
    for (int i = 0; i < 40; ++i) db.Add(Entry(std::to_string(i)));
    std::vector<const CTrJogData*> byList;
    for (const CTrJogData& e : *db.ReadList()) byList.push_back(&e);
    std::vector<int> order;
    for (int i = 0; i < 40; ++i) order.push_back(i);                  // forward
    for (int i = 39; i >= 0; --i) order.push_back(i);                 // backward
    for (int i : {17, 3, 38, 21, 22, 0, 39, 20, 19, 25}) order.push_back(i);  // jumps
    for (int i : order) ASSERT_EQ(byList[i], &db.Get(i)) << i;

    const auto at = [&](int i) { return std::next(db.ReadList()->begin(), i); };
    struct Edit {
        const char* what;
        std::function<void()> edit;
        int index;
        const char* expected;  // Get(index)'s title after the edit
    };
    const std::vector<Edit> edits = {
        {.what = "InsertTop shifts every index", .edit = [&] { db.InsertTop(Entry("top")); }, .index = 20,
         .expected = "19"},
        {.what = "RemoveAt the remembered entry", .edit = [&] { db.RemoveAt(at(20)); }, .index = 20, .expected = "20"},
        {.what = "InsertBefore an earlier entry", .edit = [&] { db.InsertBefore(at(3), Entry("b"), nullptr); },
         .index = 20, .expected = "18"},
        {.what = "InsertAfter an earlier entry", .edit = [&] { db.InsertAfter(at(3), Entry("a"), nullptr); },
         .index = 20, .expected = "17"},
        {.what = "ClearAll, then Add", .edit = [&] { db.ClearAll(), db.Add(Entry("only")); }, .index = 0,
         .expected = "only"},
    };
    for (const Edit& e : edits) {
        db.Get(e.index);  // remember a place, then edit
        e.edit();
        EXPECT_EQ(e.expected, db.Get(e.index).GetTitle()) << e.what;
    }
    EXPECT_EQ("", db.Get(1).GetTitle());  // outside the list still gives the blank entry
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
