#include "profiles/profile_defaults.h"

#include <array>
#include <string>

#include "core/app_session.h"
#include "core/var_store.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "profiles/main_profile.h"

namespace tavoe {

namespace {

using R = DefaultRule;
using B = DefaultBase;

// Walked in this order at every start.
constexpr ProfileDefault kDefaults[] = {
    // Paths and general.
    {"ZSESSIONCOOPERATION", "TRUE"},
    {"ZBACKUP", "FILEPROF"},
    {"ZMSGSOUNDS", "TRUE"},
    {"ZXLATESUBCHAR", "?"},
    {"ZPATH.COLORIZATION", "profiles", R::IfEmpty, B::HomeDirectory},
    {"ZPATH.FILEPROFILES", "profiles", R::IfEmpty, B::HomeDirectory},
    {"ZPATH.PRINTSTYLES", "profiles", R::IfEmpty, B::HomeDirectory},
    {"ZPATH.PROJECTS", "profiles", R::IfEmpty, B::HomeDirectory},
    {"ZPATH.USERCOMMANDS", "profiles", R::IfEmpty, B::HomeDirectory},
    {"ZPATH.DIALOGS", "dialogs", R::IfEmpty, B::HomeDirectory},
    {"ZPATH.MACROS", "macros", R::IfEmpty, B::HomeDirectory},
    {"ZPATH.MENUS", "menus", R::IfEmpty, B::HomeDirectory},
    {"ZPATH.TEMPLATES", "templates", R::IfEmpty, B::HomeDirectory},
    {"ZPATH.HELP", "help", R::IfEmpty, B::HomeDirectory},
    {"ZMENUSTYLE", "Windows GUI"},
    {"ZCOD", "FALSE"},
    {"ZCACHE.MENUS", "TRUE"},
    {"ZCACHE.DIALOGS", "TRUE"},
    {"ZCACHE.MACROS", "TRUE"},
    {"ZFONT.DIALOG", "Courier,10"},
    {"ZFONT.EDIT", "Courier,10"},
    {"ZFONT.PRINT", "Courier,10"},
    {"ZPRNSTYLE", "DEFAULT"},
    {"ZOPEN.STARTDRIVELISTATA", "FALSE"},
    {"ZBROWSE", "FALSE"},
    {"ZMULT.TEXT.1", "", R::PersistOnly},
    {"ZMULT.TEXT.2", "", R::PersistOnly},
    {"ZMULT.TEXT.3", "", R::PersistOnly},
    {"ZMULT.TEXT.4", "", R::PersistOnly},
    {"ZCOMP.SPEC.NEW", "", R::PersistOnly},
    {"ZCOMP.SPEC.OLD", "", R::PersistOnly},
    {"ZCOMPDIR.PATHA", "", R::PersistOnly},
    {"ZCOMPDIR.PATHB", "", R::PersistOnly},
    {"ZCOMPDIR.PATHREPORT", "", R::PersistOnly},
    {"ZCOMPDIR.FILETYPE", "", R::PersistOnly},

    // File list.
    {"ZFLIST.RECURS", "FALSE", R::Always},
    {"ZFLIST.INCLUDE.NAME", "TRUE", R::Always},
    {"ZFLIST.MAXWIDTHNAME", "30"},
    {"ZFLIST.MAXWIDTHEXT", "6"},
    {"ZFLIST.MAXENTRIES", "30000"},
    {"ZFLIST.EXTSEPARATE", "TRUE"},
    {"ZFLIST.DISMISS", "TRUE"},
    {"ZFLIST.SHOW.DIRS", "TRUE"},
    {"ZFLIST.SHOW.FILES", "TRUE"},
    {"ZFLIST.SHOW.HIDDEN", "FALSE"},
    {"ZFLIST.SHOW.SYSTEM", "FALSE"},
    {"ZFLIST.DIRMASK", "*.*"},
    {"ZFLIST.FORMAT.DATE", "USA"},
    {"ZFLIST.CONFIRMDELETE", "TRUE"},
    {"ZFLIST.MAXFILES", "20000"},
    {"ZFLIST.SORT", "NAME ASCENDING"},
    {"ZFLIST.INCLUDE.SIZE", "TRUE"},
    {"ZFLIST.INCLUDE.DATE", "TRUE"},
    {"ZFLIST.INCLUDE.ATTR", "TRUE"},
    {"ZFLIST.INCLUDE.ACTION", "TRUE"},
    {"ZFILTERS.LASTINDEX", "0"},

    // Palette: 24-bit colours, red in the low byte.
    {"ZCOLOR.0", "0"},
    {"ZCOLOR.1", "8421504"},
    {"ZCOLOR.2", "12632256"},
    {"ZCOLOR.3", "16777215"},
    {"ZCOLOR.4", "32768"},
    {"ZCOLOR.5", "32896"},
    {"ZCOLOR.6", "65280"},
    {"ZCOLOR.7", "65535"},
    {"ZCOLOR.8", "8388608"},
    {"ZCOLOR.9", "8421440"},
    {"ZCOLOR.10", "16711680"},
    {"ZCOLOR.11", "16776960"},
    {"ZCOLOR.12", "128"},
    {"ZCOLOR.13", "8388736"},
    {"ZCOLOR.14", "255"},
    {"ZCOLOR.15", "16711935"},

    // Screen colour pairs: foreground,background palette indexes.
    {"ZCOLOR.EDIT", "0,3"},
    {"ZCOLOR.BROWSE", "0,3"},
    {"ZCOLOR.SELECT", "3,0"},
    {"ZCOLOR.FIND", "3,14"},
    {"ZCOLOR.NUMBERS", "8,2"},
    {"ZCOLOR.LCMDS", "0,2"},
    {"ZCOLOR.OTHER", "7,10"},

    // Editor options.
    {"ZLCMDCOLS.EDIT", "7"},
    {"ZLCMDCOLS.BROWSE", "0"},
    {"ZPFSHOW.STYLE", "Numbers"},
    {"ZPFSHOW", "FALSE"},
    {"ZPFSHOW.BASE", "TRUE"},
    {"ZPFSHOW.SHIFT", "FALSE"},
    {"ZPFSHOW.CTRL", "FALSE"},
    {"ZPFSHOW.ALT", "FALSE"},
    {"ZTOOLBAR", "TRUE"},
    {"ZSCROLL.HORIZ.BAR", "TRUE"},
    {"ZSCROLL.VERT.BAR", "TRUE"},
    {"ZNEWEDITS", "StackInCurrentSession"},
    {"ZSCROLL.VERT", "PAGE"},
    {"ZSCROLL.HORIZ", "PAGE"},
    {"ZCURSOR.HSCROLL", "TRUE"},
    {"ZENTERSCROLL", "TRUE"},
    {"ZSCROLLSPEED", "5"},
    {"ZCURSORWIDTH.INSERT", "Narrow"},
    {"ZCURSORWIDTH.OVERTYPE", "Wide"},
    {"ZSHIFT", "2"},
    {"ZLINEPOSAFTERFIND", "2"},
    {"ZDATASHIFTINCHANGE", "FALSE"},
    {"ZPROMPTONEXIT", "TRUE"},
    {"ZINSERT", "TRUE"},
    {"ZRIGHTCTRL", "FALSE"},
    {"ZSHOWLINENUM", "TRUE"},
    {"ZDBLCLICKMACRO", "TRUE"},
    {"ZUNDO", "TRUE"},
    {"ZEDITWRITELOCK", "TRUE"},
    {"ZEDITVIRTUALLOAD", "TRUE"},

    // File compare.
    {"ZCOMP.TERMINATORS", "TRUE"},
    {"ZCOMP.MAXRECLEN", "255"},
    {"ZCOMP.COL.START", "1"},
    {"ZCOMP.COL.END", "255"},
    {"ZCOMP.MODE", "Quick"},
    {"ZCOMP.IGNORE.WHITESPACE", "FALSE"},
    {"ZCOMP.IGNORE.EMPTYLINES", "FALSE"},
    {"ZCOMP.IGNORE.CASE", "FALSE"},

    // Keys.
    {"ZCTRL.C", "COPY"},
    {"ZCTRL.N", "NEW"},
    {"ZCTRL.O", "OPEN"},
    {"ZCTRL.P", "PRINT"},
    {"ZCTRL.S", "SAVE"},
    {"ZCTRL.V", "PASTE"},
    {"ZCTRL.X", "CUT"},
    {"ZCTRL.Z", "UNDO"},
    {"ZF01.BASE", "Help"},
    {"ZF02.BASE", "SplitH"},
    {"ZF03.BASE", "End"},
    {"ZF04.BASE", "Return"},
    {"ZF05.BASE", "Rfind"},
    {"ZF06.BASE", "Rchange"},
    {"ZF07.BASE", "Up"},
    {"ZF08.BASE", "Down"},
    {"ZF09.BASE", "Swap"},
    {"ZF10.BASE", "Left"},
    {"ZF11.BASE", "Right"},
    {"ZF12.BASE", "Retrieve"},
    {"ZF01.SHIFT", "Cut"},
    {"ZF02.SHIFT", "Copy"},
    {"ZF03.SHIFT", "Paste"},
    {"ZF04.SHIFT", "Delete"},
    {"ZF09.SHIFT", "SWAPBACK"},
    {"ZF12.SHIFT", "RETRIEVE BACK"},
    {"ZF04.ALT", "Exit"},
};

constexpr std::string_view kFilterDefaults[] = {
    "COBOL Program Source *.cbl", "COBOL Copybook *.cpy",
    "COBOL All *.cbl;*.cpy",      "C Program Source *.c",
    "C Data Structures *.h",      "C All *.c;*.h",
    "Java Program Source *.java", "HTML Source *.html;*.htm",
    "Text Files *.txt",           "All Files *.*",
};
constexpr std::string_view kPopupPrimaryDefaults[] = {"Cut", "Copy", "Paste", "Delete"};
constexpr std::string_view kPopupLineDefaults[] = {"I", "TS", "TJ", "))", "(("};

constexpr ProfileDefaultGroup kGroups[] = {
    {"ZFILTERS.", kFilterDefaults},
    {"ZEDIT.POP.PCMD.", kPopupPrimaryDefaults},
    {"ZEDIT.POP.LCMD.", kPopupLineDefaults},
};

constexpr int kFilterSlots = 16;  // ZFILTERS.1 .. ZFILTERS.16 are always saved

constexpr DefaultAlias kAliases[] = {
    {"B", "BROWSE"},       {"BOT", "BOTTOM"},    {"BND", "BOUNDS"},     {"BNDS", "BOUNDS"},
    {"C", "CHANGE"},       {"CAN", "CANCEL"},    {"CHG", "CHANGE"},     {"COLOR", "COLORS"},
    {"COLOUR", "COLORS"},  {"CRE", "CREATE"},    {"DEL", "DELETE"},     {"DOS", "SYSTEM"},
    {"E", "EDIT"},         {"EX", "EXCLUDE"},    {"EXC", "EXCLUDE"},    {"F", "FIND"},
    {"FSPLIT", "SPLITF"},  {"HSPLIT", "SPLITH"}, {"L", "LOCATE"},       {"LOC", "LOCATE"},
    {"MD", "MAKEDIR"},     {"NUM", "NUMBER"},    {"O", "OPEN"},         {"PRI", "PRINT"},
    {"PR", "PROFILE"},     {"PRO", "PROFILE"},   {"PROF", "PROFILE"},   {"REN", "RENUMBER"},
    {"RENUM", "RENUMBER"}, {"REP", "REPLACE"},   {"REPL", "REPLACE"},   {"RES", "RESET"},
    {"S", "SAVE"},         {"SAV", "SAVE"},      {"SPLIT", "SPLITH"},   {"TAB", "TABS"},
    {"TSO", "SYSTEM"},     {"UNN", "UNNUMBER"},  {"UNNUM", "UNNUMBER"}, {"USER", "USERCMD"},
    {"VSPLIT", "SPLITV"},  {"X", "EXCLUDE"},
};
static_assert(std::size(kAliases) == 42);

// The root directory stands where the open dialogs of the original platform started at a drive root.
constexpr HistoryComboList kComboLists[] = {
    {"ZOPEN.PATH", "/"},      {"ZOPEN.TYPE", "*.*"},    {"ZMULT.PATH.1", "/"}, {"ZMULT.PATH.2", "null"},
    {"ZMULT.PATH.3", "null"}, {"ZMULT.PATH.4", "null"}, {"ZMULT.TYPE", "*.*"},
};

bool IsEmpty(AppSession& app, std::string_view name) {
    VarRecord* rec = VarLocate(app, name);
    return rec != nullptr && !rec->HasValue();
}

void SetPersistent(AppSession& app, std::string_view name, std::string_view value) {
    if (VarLocate(app, name) == nullptr) {
        return;  // reported by the store
    }
    VarSetValue(app, name, value);
    VarSetPersist(app, name, 1);
}

// The key variables saved with the profile though they have no default: the control letters that
// can be mapped, and the command and label variables of every function key (Alt+F6 is not mapped).
void MarkKeyVariablesPersistent(AppSession& app) {
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (letter == 'H' || letter == 'I' || letter == 'J' || letter == 'M') {
            continue;
        }
        VarSetPersist(app, Format("ZCTRL.%c", letter), 1);
    }
    for (int key = 1; key <= 12; ++key) {
        for (const char* group : {"BASE", "SHIFT", "CTRL", "ALT"}) {
            if (key == 6 && std::string_view(group) == "ALT") {
                continue;
            }
            VarSetPersist(app, Format("ZF%02d.%s", key, group), 1);
            VarSetPersist(app, Format("ZF%02d.%s.LABEL", key, group), 1);
        }
    }
}

}  // namespace

std::span<const ProfileDefault> ProfileDefaults() {
    return kDefaults;
}

std::span<const ProfileDefaultGroup> ProfileDefaultGroups() {
    return kGroups;
}

std::span<const DefaultAlias> DefaultCommandAliases() {
    return kAliases;
}

std::span<const HistoryComboList> HistoryComboLists() {
    return kComboLists;
}

std::string_view BuiltInDefault(std::string_view name) {
    for (const ProfileDefault& row : kDefaults) {
        if (row.name == name && row.base == DefaultBase::Text) {
            return row.value;
        }
    }
    return {};
}

std::string DefaultValueFor(const AppSession& app, const ProfileDefault& row) {
    if (row.base == DefaultBase::HomeDirectory) {
        std::string own = JoinPath(MainProfileHome(app), row.value);
        if (app.sharedHome.empty()) {
            return own;
        }
        // A personal home over a shared installation: the user's own copies first, the shared
        // ones after them; help is read from the installation only.
        std::string shared = JoinPath(app.sharedHome, row.value);
        return row.name == "ZPATH.HELP" ? shared : own + ";" + shared;
    }
    return std::string(row.value);
}

void ApplyProfileDefaults(AppSession& app) {
    for (const ProfileDefault& row : kDefaults) {
        switch (row.rule) {
            case DefaultRule::Always:
                SetPersistent(app, row.name, DefaultValueFor(app, row));
                break;
            case DefaultRule::IfEmpty:
                if (IsEmpty(app, row.name)) {
                    SetPersistent(app, row.name, DefaultValueFor(app, row));
                }
                break;
            case DefaultRule::PersistOnly:
                VarSetPersist(app, row.name, 1);
                break;
        }
    }
    // A group is one setting: when its first entry is missing the whole group is laid down again,
    // replacing whatever later entries the profile held, so the list never has a hole at the top.
    for (const ProfileDefaultGroup& group : kGroups) {
        std::string first = std::string(group.prefix) + "1";
        if (!IsEmpty(app, first)) {
            continue;
        }
        int index = 1;
        for (std::string_view value : group.values) {
            SetPersistent(app, std::string(group.prefix) + std::to_string(index++), value);
        }
    }
    for (int i = 1; i <= kFilterSlots; ++i) {
        VarSetPersist(app, Format("ZFILTERS.%d", i), 1);
    }
    MarkKeyVariablesPersistent(app);
}

void PrepareHistoryComboLists(AppSession& app) {
    for (const HistoryComboList& list : kComboLists) {
        std::string name(list.name);
        SetPersistent(app, name + ".SIZE", std::to_string(kHistoryComboSize));
        if (IsEmpty(app, name + ".1")) {
            SetPersistent(app, name + ".0", "1");
            SetPersistent(app, name + ".1", list.firstEntry);
        }
        for (int i = 2; i <= kHistoryComboSize; ++i) {
            std::string entry = name + "." + std::to_string(i);
            if (!IsEmpty(app, entry)) {
                VarSetPersist(app, entry, 1);
            }
        }
    }
}

}  // namespace tavoe
