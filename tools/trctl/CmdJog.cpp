// CmdJog.cpp - the jog dial's menu: printed through the menu exports, edited
// through the jog menu database, keeping the menu's level rules.
#include "DataFiles.h"
#include "Json.h"
#include "Options.h"

#include "include/TrCommonClasses.h"

#include <climits>
#include <cstdio>
#include <iterator>
#include <vector>

namespace trctl {
namespace {

using List = CTrJogDataDB::DataList;
using Position = CTrJogDataDB::Position;

// The entry after the one at pos and everything below it.
Position SubtreeEnd(List& list, Position pos) {
    const int level = pos->GetLevel();
    for (++pos; pos != list.end() && pos->GetLevel() > level; ++pos) {}
    return pos;
}

Position InsertAt(CTrJogDataDB& db, Position pos, const CTrJogData& entry) {
    CTrJogData* added = nullptr;
    // InsertBefore takes the list's end for its front; appending is InsertAfter's.
    return pos == db.ReadList()->end() ? db.InsertAfter(pos, entry, &added) : db.InsertBefore(pos, entry, &added);
}

int Index(List& list, Position pos) { return static_cast<int>(std::distance(list.begin(), pos)); }

bool EntryAt(List& list, const std::string& text, Position& pos, std::string& error) {
    long long index = 0;
    if (list.empty() || !ParseNumber(text, 0, static_cast<long long>(list.size()) - 1, index)) {
        error = list.empty() ? "the menu is empty" : NumberError("entry", text, 0, static_cast<long long>(list.size()) - 1);
        return false;
    }
    pos = std::next(list.begin(), index);
    return true;
}

// Where --into, --after or --before puts an entry (before pos), at which
// level, and the entry it is placed by (the list's end for none).
bool Target(const Options& o, List& list, Position& pos, int& level, Position& anchor, std::string& error) {
    const char* chosen = nullptr;
    for (const char* name : {"--into", "--after", "--before"}) {
        if (!o.Has(name)) continue;
        if (chosen) {
            error = std::string("give one of --into, --after and --before, not ") + chosen + " and " + name;
            return false;
        }
        chosen = name;
    }
    pos = anchor = list.end();
    level = 0;
    if (!chosen) return true;
    if (!EntryAt(list, *o.Value(chosen), anchor, error)) return false;
    const Position at = anchor;
    const std::string which = chosen;
    if (which == "--into" && !at->IsFolder()) {
        error = "entry " + *o.Value(chosen) + " is no folder";
        return false;
    }
    pos = which == "--before" ? at : SubtreeEnd(list, at);
    level = at->GetLevel() + (which == "--into" ? 1 : 0);
    return true;
}

int Print(bool json) {
    int all = 0, applications = 0;
    if (!TrComJogDataGetAllItems(&all) || !TrComJogDataGetCount(&applications)) {
        CTrJogDataDB db;
        const DataFileLoad load = LoadDataFile(db, TR_PATH_JOG_DATA);
        return Fail(kExitDataFile, "jog: " + (load.problem.empty() ? load.name + " holds no entry" : load.problem));
    }
    std::vector<TR_JOG_DATA_STRUC> entries(static_cast<std::size_t>(all));
    for (int i = 0; i < all; ++i)
        if (!TrComJogDataGetAt(&entries[i], i)) return Fail(kExitDataFile, "jog: JogData.dat changed while reading");
    if (!json) {
        std::printf("%d entries, %d applications\n", all, applications);
        for (int i = 0; i < all; ++i) {
            const auto& e = entries[i];
            const int indent = e.nLevel > 0 && e.nLevel < 20 ? e.nLevel * 2 : 0;
            std::printf("%3d  %*s%s%s%s\n", i, indent, "", e.szTitle, e.bIsFolder ? "/" : "  -> ",
                        e.bIsFolder ? "" : e.szPath);
        }
        return kExitOk;
    }
    // A folder holds the entries after it that are deeper than it.
    std::size_t next = 0;
    struct Tree {
        const std::vector<TR_JOG_DATA_STRUC>& e;
        std::size_t& i;
        Json Below(int level) {
            Json children = Json::array();
            while (i < e.size() && e[i].nLevel > level) {
                const std::size_t index = i++;
                const auto& x = e[index];
                Json entry = {{"index", index},           {"title", Utf8(x.szTitle)},
                              {"description", Utf8(x.szDescription)}, {"path", Utf8(x.szPath)},
                              {"workdir", Utf8(x.szWorkDir)}, {"option", Utf8(x.szOption)},
                              {"level", x.nLevel},          {"folder", x.bIsFolder != 0}};
                if (x.bIsFolder) entry["children"] = Below(x.nLevel);
                children.push_back(entry);
            }
            return children;
        }
    } tree{entries, next};
    PrintJson({{"count", all}, {"applications", applications}, {"entries", tree.Below(INT_MIN)}});
    return kExitOk;
}

}  // namespace

int RunJog(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("jog", args,
                      {{"--json", false}, {"--path", true}, {"--description", true}, {"--workdir", true},
                       {"--option", true}, {"--folder", false}, {"--into", true}, {"--after", true},
                       {"--before", true}, {"--recursive", false}},
                      o, rc))
        return rc;
    const Args& words = o.Positional();
    const std::string verb = words.empty() ? std::string() : words[0];
    const char* other = verb.empty()       ? o.OtherThan({"--json"})
                        : verb == "add"    ? o.OtherThan({"--path", "--description", "--workdir", "--option",
                                                          "--folder", "--into", "--after", "--before"})
                        : verb == "remove" ? o.OtherThan({"--recursive"})
                        : verb == "move"   ? o.OtherThan({"--into", "--after", "--before"})
                                           : o.OtherThan({"--description"});
    if (other) return Fail(kExitUsage, "jog" + (verb.empty() ? "" : " " + verb) + ": " + other + " does not belong here");
    if (words.empty()) return Print(o.Has("--json"));
    const std::size_t wanted = verb == "add" || verb == "remove" || verb == "move" ? 2 : verb == "rename" ? 3 : 0;
    if (!wanted) return Fail(kExitUsage, "jog: unknown edit '" + verb + "' (add, remove, move, rename)");
    if (words.size() != wanted)
        return Fail(kExitUsage, "jog " + verb + ": expects " +
                                    (verb == "add" ? "<title>" : verb == "rename" ? "<entry> <title>" : "<entry>"));
    const std::string prefix = "jog " + verb + ": ";

    // Every text is checked before the file is touched.
    CTrJogData entry;
    const std::string& title = verb == "rename" ? words[2] : words[1];
    std::string problem;
    const struct { const char* option; const std::string* text; } fields[] = {
        {"<title>", verb == "add" || verb == "rename" ? &title : nullptr}, {"--description", o.Value("--description")},
        {"--path", o.Value("--path")}, {"--workdir", o.Value("--workdir")}, {"--option", o.Value("--option")}};
    for (const auto& f : fields)
        if (f.text && !(problem = FieldProblem(*f.text)).empty())
            return Fail(kExitUsage, prefix + f.option + " " + problem + "; nothing was changed");

    CTrJogDataDB db;
    const DataFileLoad load = LoadDataFile(db, TR_PATH_JOG_DATA);
    if (!(load.result == TR_DB_OK || load.result == TR_DB_NO_SECTION || (verb == "add" && load.missing)))
        return Fail(kExitDataFile, prefix + load.problem + "; nothing was changed");
    List& list = *db.ReadList();
    if (!(problem = JogLevelProblem(list)).empty())
        return Fail(kExitDataFile, prefix + "JogData.dat breaks the menu's level rules: " + problem);

    std::string error, done;
    Position pos;
    int level = 0;
    if (verb == "add") {
        if (o.Has("--folder") == o.Has("--path"))
            return Fail(kExitUsage, prefix + "give --path (an application) or --folder");
        if (o.Has("--folder") && (o.Has("--workdir") || o.Has("--option")))
            return Fail(kExitUsage, prefix + "a folder has no --workdir or --option");
        Position anchor;
        if (!Target(o, list, pos, level, anchor, error)) return Fail(kExitUsage, prefix + error);
        entry.SetTitle(title);
        if (o.Value("--description")) entry.SetDescription(*o.Value("--description"));
        if (o.Value("--path")) entry.SetPath(*o.Value("--path"));
        if (o.Value("--workdir")) entry.SetWorkDir(*o.Value("--workdir"));
        if (o.Value("--option")) entry.SetOption(*o.Value("--option"));
        entry.SetLevel(level);
        pos = InsertAt(db, pos, entry);
        done = "added \"" + title + "\" as entry " + std::to_string(Index(list, pos)) + " at level " +
               std::to_string(level);
    } else {
        if (!EntryAt(list, words[1], pos, error)) return Fail(kExitUsage, prefix + error);
        const Position end = SubtreeEnd(list, pos);
        const int count = static_cast<int>(std::distance(pos, end));
        const std::string name = "\"" + pos->GetTitle() + "\"";
        if (verb == "rename") {
            if (o.Value("--description")) pos->SetDescription(*o.Value("--description"));
            pos->SetTitle(title);
            done = "renamed " + name + " to \"" + title + "\"";
        } else if (verb == "remove") {
            if (count > 1 && !o.Has("--recursive"))
                return Fail(kExitUsage, prefix + "the folder " + name + " holds " + std::to_string(count - 1) +
                                            " entries; add --recursive to remove them too");
            for (Position p = pos; p != end;) db.RemoveAt(p++);
            done = "removed " + name + (count > 1 ? " and the " + std::to_string(count - 1) + " entries in it" : "");
        } else {  // move, with everything below it
            Position to, anchor;
            if (!o.Has("--into") && !o.Has("--after") && !o.Has("--before"))
                return Fail(kExitUsage, prefix + "give --into, --after or --before");
            if (!Target(o, list, to, level, anchor, error)) return Fail(kExitUsage, prefix + error);
            for (Position p = pos; p != end; ++p)
                if (p == anchor) return Fail(kExitUsage, prefix + "an entry cannot move next to or into itself");
            if (to == pos) to = end;  // right where it is: before what follows it
            std::vector<CTrJogData> moved(pos, end);
            const int shift = level - pos->GetLevel();
            for (Position p = pos; p != end;) db.RemoveAt(p++);
            Position first = list.end();
            for (auto& m : moved) {
                m.SetLevel(m.GetLevel() + shift);
                const Position added = InsertAt(db, to, m);
                if (first == list.end()) first = added;
            }
            done = "moved " + name + " to entry " + std::to_string(Index(list, first)) + " at level " +
                   std::to_string(level);
        }
    }
    if (!(problem = JogLevelProblem(list)).empty())
        return Fail(kExitUsage, prefix + "the menu would break its level rules (" + problem + "); nothing was changed");
    if (!WriteDataFile(db, load.path, problem)) return Fail(kExitDataFile, prefix + problem);
    std::printf("jog: %s\n", done.c_str());
    return kExitOk;
}

}  // namespace trctl
