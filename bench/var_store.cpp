// Lookup speed of the variable store with a realistic population: every dialog field, setting and
// history entry of a long session is a variable, and the editor reads settings on most operations.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/app_session.h"
#include "core/var_store.h"

using namespace tavoe;

namespace {

// About 2,000 names as a session collects them: search paths and other Z settings, function keys,
// FIND state, dialog fields of many dialogs, history lists and the Vars dialog's own list.
std::vector<std::string> SessionNames() {
    std::vector<std::string> names;
    for (const char* path : {"DIALOGS", "MENUS", "MACROS", "FILEPROFILES", "COLORIZATION", "PRINTSTYLES",
                             "PROJECTS", "TEMPLATES", "USERCOMMANDS", "HELP"}) {
        names.push_back(std::string("ZPATH.") + path);
    }
    for (int key = 1; key <= 24; ++key) {
        char name[16];
        std::snprintf(name, sizeof name, "ZF%02d", key);
        for (const char* suffix : {"", ".S", ".C", ".A"}) {
            names.push_back(std::string(name) + suffix);
        }
    }
    for (const char* field : {"FINDSTR", "CHANGESTR", "CASE", "WORD", "PREFIX", "SUFFIX", "DIRECTION",
                              "RANGE", "COLS", "EXCLUDED", "HEX", "PICTURE", "BTNPUSHED", "COUNT", "LINES"}) {
        names.push_back(std::string("FIND.") + field);
    }
    const char* groups[] = {"ZFLIST", "ZCOMP",    "ZCACHE", "ZPRINT",  "ZCONV", "ZEDIT",
                            "ZMENU",  "ZOPEN",    "ZMULT",  "ZSCAN",   "ZTAG",  "ZUCMD",
                            "ZCOLOR", "ZPROFILE", "ZALIAS", "ZDIRCOMP"};
    for (const char* group : groups) {
        for (int i = 1; i <= 30; ++i) {
            names.push_back(std::string(group) + ".SETTING" + std::to_string(i));
        }
    }
    const char* dialogs[] = {"Find",     "Change",   "Compare",  "Convert", "Print",  "PStyle",   "Template",
                             "TagFind",  "ExtCmd",   "UserCmd",  "DirComp", "Scan",   "FPType",   "FPNew",
                             "AliasPrf", "AEditPrf", "AliasCmd", "Project", "FList",  "Property", "Vars2",
                             "VarFind",  "Options",  "Colors",   "ClrEdit", "Keys",   "Sort",     "Locate",
                             "Save",     "SaveAs",   "Open",     "Browse",  "Edit",   "Rename",   "Copy",
                             "Move",     "Delete",   "Attrib",   "General", "Display"};
    for (const char* dialog : dialogs) {
        for (int i = 1; i <= 20; ++i) {
            names.push_back(std::string(dialog) + ".Field" + std::to_string(i));
        }
        names.push_back(std::string(dialog) + ".BtnPushed");
    }
    for (const char* list :
         {"ZOPEN.PATH", "ZOPEN.TYPE", "ZMULT.PATH.1", "Find.FindStr", "Change.ChangeStr"}) {
        for (const char* suffix : {".0", ".SIZE", ".Select", ".Top"}) {
            names.push_back(std::string(list) + suffix);
        }
        for (int i = 1; i <= 10; ++i) {
            names.push_back(std::string(list) + "." + std::to_string(i));
        }
    }
    for (int i = 1; (int)names.size() < 2000; ++i) {
        names.push_back("Vars.List." + std::to_string(i));
    }
    return names;
}

void Populate(AppSession& app, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        VarSetValue(app, name, "value of " + name);
    }
}

// Every variable looked up in turn: the average cost over the whole population.
void BM_VarGetValueAllNames(benchmark::State& state) {
    AppSession app;
    std::vector<std::string> names = SessionNames();
    Populate(app, names);
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(VarGetValue(app, names[next]));
        next = next + 1 == names.size() ? 0 : next + 1;
    }
    state.counters["variables"] = static_cast<double>(names.size());
    state.counters["slots"] = [&] {
        int used = 0;
        while (used < kVarSlotCount && app.varStore->slots[used].first != nullptr) {
            ++used;
        }
        return static_cast<double>(used);
    }();
}
BENCHMARK(BM_VarGetValueAllNames);

// The settings the editor reads most often, taken from a full store.
void BM_VarGetValueHotSettings(benchmark::State& state) {
    AppSession app;
    Populate(app, SessionNames());
    VarSetValue(app, "ZMSGSOUNDS", "TRUE");
    const std::vector<std::string> hot = {"ZMSGSOUNDS", "ZPATH.MACROS", "ZCACHE.SETTING1", "Find.FindStr.1"};
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(VarGetValue(app, hot[next]));
        next = (next + 1) % hot.size();
    }
}
BENCHMARK(BM_VarGetValueHotSettings);

// The longest walk: the last variable of the largest list, in the last slot taken.
void BM_VarGetValueWorstCase(benchmark::State& state) {
    AppSession app;
    std::vector<std::string> names = SessionNames();
    Populate(app, names);
    const std::string& last = names.back();
    for (auto _ : state) {
        benchmark::DoNotOptimize(VarGetValue(app, last));
    }
}
BENCHMARK(BM_VarGetValueWorstCase);

}  // namespace

BENCHMARK_MAIN();
