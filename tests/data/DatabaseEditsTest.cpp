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

// Every field of a record, '|' between: a wrong, lost or shared field shows.
std::string Fields(const CTrBaseData& r) {
    return r.GetTitle() + "|" + r.GetDescription() + "|" + r.GetPath() + "|" + r.GetWorkDir() + "|" + r.GetOption();
}
std::string Fields(const CTrStringKeyData& r) {
    return Fields(static_cast<const CTrBaseData&>(r)) + "|" + r.GetName() + "|" + r.GetAttribute() + "|" + r.GetKey();
}
std::string Fields(const CTrJogData& r) {
    return Fields(static_cast<const CTrBaseData&>(r)) + "|" + std::to_string(r.GetLevel());
}
std::string Fields(const CTrNumeralKeyData& r) {
    return Fields(static_cast<const CTrBaseData&>(r)) + "|" + std::to_string(r.GetKey());
}

template <class Record>
void Fill(Record& r, const std::string& tag) {
    r.SetTitle(tag + "t"), r.SetDescription(tag + "d"), r.SetPath(tag + "p");
    r.SetWorkDir(tag + "w"), r.SetOption(tag + "o");
}

// Copies are whole and deep; AllClear blanks every field (key 0, level -1),
// BaseClear only the five application texts.
TEST(Records, CopyAssignAndClearEveryField) {
    CTrStringKeyData s;
    Fill(s, "s"), s.SetName("n"), s.SetAttribute("a"), s.SetKey("k");
    CTrStringKeyData sCopy(s), sAssigned;
    sAssigned = s;
    s.SetKey("changed");
    EXPECT_EQ("st|sd|sp|sw|so|n|a|k", Fields(sCopy));
    EXPECT_EQ("st|sd|sp|sw|so|n|a|k", Fields(sAssigned));
    sCopy.BaseClear();
    EXPECT_EQ("|||||n|a|k", Fields(sCopy));
    sAssigned.AllClear();
    EXPECT_EQ("|||||||", Fields(sAssigned));

    CTrJogData j;
    Fill(j, "j"), j.SetLevel(3);
    CTrJogData jCopy(j), jAssigned;
    jAssigned = j;
    EXPECT_EQ("jt|jd|jp|jw|jo|3", Fields(jCopy));
    EXPECT_EQ("jt|jd|jp|jw|jo|3", Fields(jAssigned));
    jCopy.SetPath(" ");
    EXPECT_EQ(0, jCopy.IsFolder());  // only an empty Path makes a folder
    jAssigned.AllClear();
    EXPECT_EQ("|||||-1", Fields(jAssigned));
    EXPECT_EQ(1, jAssigned.IsFolder());

    CTrNumeralKeyData n(7);
    Fill(n, "n");
    CTrNumeralKeyData nAssigned;
    nAssigned = n;
    EXPECT_EQ("nt|nd|np|nw|no|7", Fields(nAssigned));
    n.BaseClear();
    EXPECT_EQ("|||||7", Fields(n));
    nAssigned.AllClear();
    EXPECT_EQ("|||||0", Fields(nAssigned));
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
    // Reload reads the file anew: the edits are gone.
    ASSERT_TRUE(files.Put("in.dat", Num("again", "3") + Num("more", "4")));
    EXPECT_EQ(0, db.Reload());
    EXPECT_EQ(2, db.GetDataNumber());
    EXPECT_EQ("again", db.Read(1)->GetTitle());
    db.ClearAll();  // the read cursor points at nothing
    EXPECT_EQ(nullptr, db.Read(0));
}

// Set replaces every text but the key, by key or by index, and never adds.
TEST(StringKeyDB, FindAndSetByKeyAndByIndexUpToTheEnds) {
    Files files;
    ASSERT_TRUE(files.Put("in.dat", Str("first", "k") + Str("second", "K") + Str("last", "k ")));
    CTrStringKeyDB db;
    ASSERT_EQ(0, db.Load(files.Path("in.dat")));
    EXPECT_EQ("second", db.Find("K")->GetTitle());  // keys match case and blanks exactly
    EXPECT_EQ(nullptr, db.Find("missing"));
    EXPECT_EQ("first", db.Find(0)->GetTitle());
    EXPECT_EQ("last", db.Find(2)->GetTitle());
    EXPECT_EQ(nullptr, db.Find(3));
    EXPECT_EQ(nullptr, db.Find(-1));
    CTrStringKeyData data;
    Fill(data, "new"), data.SetName("n"), data.SetAttribute("a"), data.SetKey("other");
    EXPECT_EQ(1, db.Set("K", data));
    EXPECT_EQ(1, db.Set(2, data));
    EXPECT_EQ(0, db.Set("missing", data) + db.Set(3, data) + db.Set(-1, data));
    std::vector<std::string> seen;
    for (const CTrStringKeyData* r = db.Read(1); r; r = db.Read(0)) seen.push_back(Fields(*r));
    EXPECT_EQ(std::vector<std::string>({"first|d|p|w|o|n|a|k", "newt|newd|newp|neww|newo|n|a|K",
                                        "newt|newd|newp|neww|newo|n|a|k "}),
              seen);
    EXPECT_EQ("first", db.Read(1)->GetTitle());  // from the end back to the first
}

// Folders and applications as loaded: the counts, and one more than the
// deepest folder's level. A section stops the load at the first that lacks
// one of its lines; what came before stays counted.
TEST(JogDataDB, LoadCountsFoldersApplicationsAndTheDeepestFolder) {
    const std::string app = CrLf({"Path:p", "WorkDir:w", "Option:o"});
    const struct {
        std::string file;
        int result, folders, applications, maxLevel;
    } rows[] = {
        {.file = Fold("a", "0") + Fold("b", "2") + Fold("c", "1"), .result = 0, .folders = 3, .applications = 0,
         .maxLevel = 3},
        {.file = Fold("x", "5") + app + Fold("y", "7") + app + Fold("f", "-1"), .result = 0, .folders = 1,
         .applications = 2, .maxLevel = 0},  // applications' levels count for nothing
        {.file = Fold("a", "1") + CrLf({"Title:no level", "Description:d"}) + Fold("b", "4"), .result = 2,
         .folders = 1, .applications = 0, .maxLevel = 2},
        {.file = Fold("a", "0") + Fold("x", "1") + CrLf({"Path:p", "Option:o"}), .result = 2, .folders = 1,
         .applications = 0, .maxLevel = 1},
    };
    Files files;
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        ASSERT_TRUE(files.Put("jog.dat", row.file));
        CTrJogDataDB db;
        EXPECT_EQ(0, db.GetMaxLevel() + db.GetRootNumber() + db.GetDataNumber());
        EXPECT_EQ(row.result, db.Load(files.Path("jog.dat")));
        EXPECT_EQ(row.folders, db.GetRootNumber());
        EXPECT_EQ(row.applications, db.GetDataNumber());
        EXPECT_EQ(row.maxLevel, db.GetMaxLevel());
        // A bad section is not kept.
        EXPECT_EQ(row.folders + row.applications, static_cast<int>(db.ReadList()->size()));
    }
}

TEST(JogDataDB, EditsKeepTheCursorsValidAndGetReachesEveryIndex) {
    CTrJogDataDB db;
    for (int i = 0; i < 51; ++i) db.Add(Entry(std::to_string(i)));
    const auto end = db.ReadList()->end(), second = std::next(db.ReadList()->begin());
    CTrJogData* added = nullptr;
    db.InsertBefore(second, Entry("a"), &added);
    EXPECT_EQ(&db.Get(1), added);
    db.InsertAfter(second, Entry("b"), nullptr);
    db.InsertAfter(end, Entry("z"), nullptr);  // no position: at the end
    EXPECT_EQ("b", db.Get(3).GetTitle());
    EXPECT_EQ("z", db.ReadList()->back().GetTitle());
    EXPECT_EQ(1, db.RemoveAt(second));
    EXPECT_EQ(0, db.RemoveAt(end));
    EXPECT_EQ("b", db.Get(2).GetTitle());
    EXPECT_EQ("50", db.Get(51).GetTitle());
    // Removing the entry a cursor is on ends that cursor.
    EXPECT_EQ("0", db.Read(1)->GetTitle());
    EXPECT_EQ("0", db.GetAt(db.GetNowPosition()).GetTitle());
    EXPECT_EQ("", db.GetAt(end).GetTitle());
    EXPECT_EQ(1, db.RemoveAt(std::next(db.GetNowPosition())));
    EXPECT_EQ(nullptr, db.Read(0));
    EXPECT_EQ(1, db.RemoveAt(db.GetNowPosition()));
    EXPECT_EQ(end, db.GetNowPosition());
    db.Get(-1).SetTitle("scribble");  // outside: a blank entry each time
    EXPECT_EQ("", db.Get(-1).GetTitle());
    EXPECT_EQ(-1, db.Get(50).GetLevel());
    db.Read(1);
    db.ClearAll();  // the cursors point at nothing
    EXPECT_EQ(end, db.GetNowPosition());
    EXPECT_EQ(nullptr, db.Read(0));
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
    Files files;
    std::string menu;
    for (int i = 0; i < 30; ++i) menu += Fold("f" + std::to_string(i), "0");
    ASSERT_TRUE(files.Put("menu.dat", menu));
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
        {.what = "Load of another menu", .edit = [&] { db.Load(files.Path("menu.dat")); }, .index = 20,
         .expected = "f20"},
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
             {"[abc] \n", "abc", 0},    {"\nfree\n[zz]\n[b]\n", "abc", 1}, {"[[abc]]\n", "xabcx", 1},
             {"[abc\nabc]\n [abc]\n[\n[[\n", "abc", 0},  // lines that are not whole entries
             {std::string("[a\0b]\n", 6), std::string("xa\0by", 5), 1}, {std::string("[a\0b]\n", 6), "a", 0}}) {
        ASSERT_TRUE(files.Put("r.txt", list));
        EXPECT_EQ(found, db.IsInDB(text, files.Path("r.txt"), open)) << list << " / " << text;
        EXPECT_EQ(0, open);
    }
    EXPECT_EQ(0, db.IsInDB("abc", files.Path("missing.txt"), open));
    EXPECT_EQ(1, open);
}

}  // namespace
