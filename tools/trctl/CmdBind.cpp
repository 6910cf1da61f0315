// CmdBind.cpp - bind, unbind and list: editing and reading the bindings
// through the database classes, as the product's binding editor does (load,
// change, write; every write tells the client window).
#include "Bindings.h"
#include "DataFiles.h"
#include "Json.h"

#include "include/TrCommonClasses.h"

#include <cstdio>
#include <type_traits>

namespace trctl {
namespace {

// The application texts of a binding, as given on the command line.
struct Texts {
    std::string title, description, path, workDir, option, name, attribute;
};

// Loads the kind's file for an edit. A missing file (in an existing data
// folder) starts empty. Anything else that keeps the file from loading
// whole ends the command before anything is written, so a partly loaded
// file is never written back.
template <class Db>
int LoadForEdit(const char* command, Db& db, const BindingKind& kind, DataFileLoad& load) {
    load = LoadDataFile(db, kind.pathIndex);
    if (load.result == TR_DB_OK || load.result == TR_DB_NO_SECTION || load.missing) return kExitOk;
    return Fail(kExitDataFile, std::string(command) + ": " + load.problem + "; nothing was changed");
}

template <class Record>
void SetTexts(Record& record, const Texts& t) {
    record.SetTitle(t.title);
    record.SetDescription(t.description);
    record.SetPath(t.path);
    record.SetWorkDir(t.workDir);
    record.SetOption(t.option);
}

std::string KeyText(const BindingPlace& place) {
    if (!place.kind->numeral) return place.textKey;
    char hex[16];
    std::snprintf(hex, sizeof(hex), "%08lX", static_cast<unsigned long>(place.key));
    return hex;
}

// The event and its place; usage errors in 'error'.
bool ParseBindingEvent(const Options& options, Event& event, BindingPlace& place, std::string& error) {
    std::size_t used = 0;
    if (!ParseEvent(options, 0, event, used, error, true)) return false;
    if (used != options.Positional().size()) {
        error = "unexpected argument '" + options.Positional()[used] + "'";
        return false;
    }
    if (!PlaceOf(event, place, error)) return false;
    const std::string problem = place.kind->numeral ? std::string() : FieldProblem(place.textKey);
    if (problem.empty()) return true;
    error = "the key '" + place.textKey + "' " + problem;
    return false;
}

int Written(const char* command, CTrAbstDB& db, const DataFileLoad& load, const std::string& done) {
    std::string problem;
    if (!WriteDataFile(db, load.path, problem)) return Fail(kExitDataFile, std::string(command) + ": " + problem);
    std::printf("%s\n", done.c_str());
    return kExitOk;
}

// Every record under the key goes, so no later duplicate takes over. The
// records are copied out, the list emptied (the comment line stays) and the
// others added back in their order.
template <class Db, class Key>
int Unbind(const Event& event, const BindingPlace& place, const Key& key) {
    Db db;
    DataFileLoad load;
    if (const int rc = LoadForEdit("unbind", db, *place.kind, load)) return rc;
    std::vector<std::remove_cv_t<std::remove_pointer_t<decltype(db.Read(1))>>> kept;
    std::size_t removed = 0;
    for (auto* r = db.Read(1); r; r = db.Read(0)) {
        if (r->GetKey() == key) ++removed;
        else kept.push_back(*r);
    }
    if (!removed) return Fail(kExitNoBinding, "unbind: nothing is bound to " + event.label);
    db.ClearAll();
    for (const auto& r : kept) db.Add(r);
    return Written("unbind", db, load, "unbound " + event.label + " (" + std::to_string(removed) +
                                           " record(s) removed from " + load.name + ")");
}

}  // namespace

int RunBind(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("bind", args,
                      {TRCTL_EVENT_OPTIONS, {"--path", true}, {"--title", true}, {"--description", true},
                       {"--workdir", true}, {"--option", true}, {"--name", true}, {"--attribute", true}},
                      o, rc))
        return rc;
    Event event;
    BindingPlace place;
    std::string error;
    if (!ParseBindingEvent(o, event, place, error)) return Fail(kExitUsage, "bind: " + error);

    // Every text is checked before the file is touched: nothing is cut.
    Texts t;
    const struct { const char* option; std::string* text; } fields[] = {
        {"--path", &t.path},     {"--title", &t.title},   {"--description", &t.description},
        {"--workdir", &t.workDir}, {"--option", &t.option}, {"--name", &t.name}, {"--attribute", &t.attribute}};
    for (const auto& f : fields) {
        const std::string* value = o.Value(f.option);
        if (!value) continue;
        const std::string problem = FieldProblem(*value);
        if (!problem.empty())
            return Fail(kExitUsage, std::string("bind: ") + f.option + " " + problem + "; nothing was changed");
        *f.text = *value;
    }
    if (t.path.empty()) return Fail(kExitUsage, "bind: --path is required (the program, document or shortcut)");
    if (place.kind->numeral && (o.Has("--name") || o.Has("--attribute")))
        return Fail(kExitUsage, "bind: --name and --attribute belong to usb, ieee1394 and category bindings");
    if (!o.Has("--title")) t.title = t.path.substr(t.path.find_last_of("\\/") + 1);

    DataFileLoad load;
    bool replaced = false;
    std::string done;
    if (place.kind->numeral) {
        CTrNumeralKeyDB db;
        if ((rc = LoadForEdit("bind", db, *place.kind, load)) != kExitOk) return rc;
        replaced = db.Find(place.key) != nullptr;
        CTrNumeralKeyData record(place.key);
        SetTexts(record, t);
        db.Set(place.key, record);  // replaces the first record under the key (the one found), or appends
        done = "bound " + event.label + " -> " + t.path + " (" + (replaced ? "replaced in " : "added to ") + load.name +
               ", key " + KeyText(place) + ")";
        return Written("bind", db, load, done);
    }
    CTrStringKeyDB db;
    if ((rc = LoadForEdit("bind", db, *place.kind, load)) != kExitOk) return rc;
    CTrStringKeyData record;
    SetTexts(record, t);
    record.SetName(t.name);
    record.SetAttribute(t.attribute);
    record.SetKey(place.textKey);
    replaced = db.Set(place.textKey, record) != 0;
    if (!replaced) db.Add(record);
    done = "bound " + event.label + " -> " + t.path + " (" + (replaced ? "replaced in " : "added to ") + load.name +
           ", key " + KeyText(place) + ")";
    return Written("bind", db, load, done);
}

int RunUnbind(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("unbind", args, {TRCTL_EVENT_OPTIONS}, o, rc)) return rc;
    Event event;
    BindingPlace place;
    std::string error;
    if (!ParseBindingEvent(o, event, place, error)) return Fail(kExitUsage, "unbind: " + error);
    return place.kind->numeral ? Unbind<CTrNumeralKeyDB>(event, place, place.key)
                               : Unbind<CTrStringKeyDB>(event, place, place.textKey);
}

int RunList(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("list", args, {{"--json", false}}, o, rc)) return rc;
    const Args& words = o.Positional();
    if (words.size() > 1) return Fail(kExitUsage, "list: unexpected argument '" + words[1] + "'");
    std::vector<const BindingKind*> kinds;
    if (words.empty()) {
        for (const auto& k : BindingKinds()) kinds.push_back(&k);
    } else if (const BindingKind* k = FindBindingKind(words[0])) {
        kinds.push_back(k);
    } else {
        return Fail(kExitUsage, "list: unknown kind '" + words[0] +
                                    "' (ppk, skey, timer, jppk, fp, usb, ieee1394, category)");
    }

    const bool json = o.Has("--json");
    Json bindings = Json::array(), problems = Json::array();
    std::string failures;
    auto show = [&](const BindingKind& kind, const DataFileLoad& load, const CTrBaseData& r, DWORD key,
                    const std::string& textKey, const CTrStringKeyData* device) {
        const std::string event = EventOfKey(kind, key, textKey);
        char hex[16];
        std::snprintf(hex, sizeof(hex), "%08lX", static_cast<unsigned long>(key));
        const std::string keyText = kind.numeral ? hex : textKey;
        if (!json) {
            std::printf("%-34s %s -> %s\n", event.empty() ? ("(key " + keyText + ")").c_str() : event.c_str(),
                        r.GetTitle().c_str(), r.GetPath().c_str());
            return;
        }
        Json b;
        b["kind"] = kind.name;
        b["file"] = load.name;
        b["event"] = event.empty() ? Json() : Json(Utf8(event));
        b["key"] = Utf8(keyText);
        b["title"] = Utf8(r.GetTitle());
        b["description"] = Utf8(r.GetDescription());
        b["path"] = Utf8(r.GetPath());
        b["workdir"] = Utf8(r.GetWorkDir());
        b["option"] = Utf8(r.GetOption());
        if (device) {
            b["name"] = Utf8(device->GetName());
            b["attribute"] = Utf8(device->GetAttribute());
        }
        bindings.push_back(b);
    };
    for (const BindingKind* kind : kinds) {
        DataFileLoad load;
        if (kind->numeral) {
            CTrNumeralKeyDB db;
            load = LoadDataFile(db, kind->pathIndex);
            for (const CTrNumeralKeyData* r = db.Read(1); r; r = db.Read(0))
                show(*kind, load, *r, r->GetKey(), std::string(), nullptr);
        } else {
            CTrStringKeyDB db;
            load = LoadDataFile(db, kind->pathIndex);
            for (const CTrStringKeyData* r = db.Read(1); r; r = db.Read(0)) show(*kind, load, *r, 0, r->GetKey(), r);
        }
        if (load.problem.empty()) continue;
        problems.push_back(Utf8(load.problem));
        failures += (failures.empty() ? "" : "; ") + load.problem;
    }
    if (json) PrintJson(Json{{"bindings", bindings}, {"problems", problems}});
    return failures.empty() ? kExitOk : Fail(kExitDataFile, "list: " + failures);
}

}  // namespace trctl
