#include "commands/command_tables.h"

#include <algorithm>

// Rows are {verb, id, listed}. The order is the lookup order and the order of the quick-reference
// lists, so rows are never sorted or regrouped.

const std::array<CommandRow, 60> EditPrimaryCommands = {{
    {"BOTTOM", 0, true},     {"BOUNDS", 1, true},     {"CANCEL", 2, true},     {"CAPS", 3, true},
    {"CHANGE", 4, true},     {"COLORMAP", 5, true},   {"COLSCOPY", 6, true},   {"COLSCUT", 7, true},
    {"COLSDELETE", 8, true}, {"COLSINSERT", 9, true}, {"COLSPASTE", 10, true}, {"COPY", 11, true},
    {"COPYL", 12, true},     {"CREATE", 13, true},    {"CURSOR", 14, true},    {"CURSORMOVE", 15, true},
    {"CUT", 16, true},       {"DATA", 17, true},      {"DATALINE", 18, true},  {"DELEOL", 19, true},
    {"DELETE", 20, true},    {"DOWN", 21, true},      {"ENTER", 22, true},     {"EXCLUDE", 23, true},
    {"EXPORT", 24, true},    {"FIND", 25, true},      {"FLIP", 26, true},      {"HEX", 27, true},
    {"HEXIN", 28, true},     {"IMPORT", 29, true},    {"LEFT", 30, true},      {"LOCATE", 31, true},
    {"MATCH", 32, true},     {"MERGEMSG", 33, true},  {"NOTELINE", 34, true},  {"NUMBER", 35, true},
    {"PASTE", 36, true},     {"PRINT", 37, true},     {"PROFILE", 38, true},   {"RCHANGE", 39, true},
    {"RECOLOR", 40, true},   {"RENUMBER", 41, true},  {"REPLACE", 42, true},   {"RESET", 43, true},
    {"RFIND", 44, true},     {"RIGHT", 45, true},     {"RULER", 46, true},     {"SAVE", 47, true},
    {"SAVEAS", 48, true},    {"SELECT", 49, true},    {"SHOWEOL", 50, true},   {"SORT", 51, true},
    {"TAGFIND", 52, true},   {"TEMPLATE", 53, true},  {"TABS", 54, false},     {"TOP", 55, true},
    {"UNDO", 56, true},      {"UNNUMBER", 57, true},  {"UP", 58, true},        {"XKEYBOARD", 59, true},
}};

const std::array<CommandRow, 53> GeneralPrimaryCommands = {{
    {"ABOUT", 1, true},       {"ALIASCMD", 2, true},     {"ALIASPRF", 3, true},
    {"BACKUP", 4, true},      {"BROWSE", 5, true},       {"CLOSEALL", 6, true},
    {"COLORS", 7, true},      {"COMPARE", 8, true},      {"COMPAREDIR", 9, true},
    {"CONVERT", 10, true},    {"DEFAULTS", 11, false},   {"DIALOG", 12, false},
    {"DIALOGTEST", 13, true}, {"DRIVELIST", 14, true},   {"EDIT", 15, true},
    {"END", 16, true},        {"EXIT", 17, true},        {"FILELIST", 18, false},
    {"FILESCAN", 19, true},   {"FILTERS", 20, true},     {"FLISTOPTIONS", 21, true},
    {"FUNCTION", 22, false},  {"GENOPTIONS", 23, true},  {"HELP", 24, true},
    {"ISTYLE", 25, true},     {"KEYS", 26, true},        {"MENU", 27, false},
    {"MULTILIST", 28, true},  {"NEW", 29, true},         {"OPEN", 30, true},
    {"PATHS", 31, true},      {"PCMDEDIT", 32, false},   {"PCMDFILELIST", 33, false},
    {"PFSHOW", 34, true},     {"PRINTSETUP", 35, true},  {"PRINTSTYLE", 36, true},
    {"PROFILES", 37, true},   {"PROJECTLIST", 38, true}, {"REDIT", 39, true},
    {"RETRIEVE", 40, true},   {"RETURN", 41, true},      {"SPLITF", 42, true},
    {"SPLITH", 43, true},     {"SPLITV", 44, true},      {"SWAP", 45, true},
    {"SWAPBACK", 46, true},   {"SYSTEM", 47, true},      {"USERCMD", 53, true},
    {"WINOVERLAY", 48, true}, {"WINSTEPH", 49, true},    {"WINSTEPV", 51, true},
    {"WINTILEH", 50, true},   {"WINTILEV", 52, true},
}};

const std::array<CommandRow, 25> FileListPrimaryCommands = {{
    {"ALLLOWER", 1, true},   {"ALLUPPER", 2, true},    {"BOTTOM", 3, true},     {"CHANGE", 4, true},
    {"CONFIRM", 5, true},    {"DOWN", 6, true},        {"FIND", 7, true},       {"IMACRO", 8, true},
    {"LEFT", 9, true},       {"LISTTOFILE", 10, true}, {"LOCATE", 11, true},    {"MAKEDIR", 13, true},
    {"MAXRECLEN", 12, true}, {"PARENT", 14, true},     {"PRINTLIST", 15, true}, {"PROFILE", 16, true},
    {"REFRESH", 17, true},   {"RESET", 18, true},      {"RIGHT", 19, true},     {"SEARCH", 20, true},
    {"SELECT", 21, true},    {"SORT", 22, true},       {"TOP", 23, true},       {"UP", 24, true},
    {"XMACRO", 25, true},
}};

const std::array<std::string_view, 76> BuiltInDialogNames = {
    "ABOUT",    "ALIASCMD",   "AEDITCMD", "ALIASPRF", "AEDITPRF", "CHANGE",   "CLRFIELD", "CLRMODE",
    "CLRNEW",   "CLRPALETTE", "CLRTYPE",  "CLRWORD",  "COLORS",   "COMPARE",  "COMPDIR",  "CONVERT1",
    "CONVERT2", "CONVERT3",   "CONVV1",   "CONVV2",   "CONVF1",   "CONVF2",   "CONVF3",   "CONVF4",
    "CONVC1",   "COPY",       "DLGTEST",  "DRIVLIST", "EDOPT",    "EDOPTGEN", "FILESCAN", "FILTERS",
    "FILTERS2", "FIND",       "FLISTOPT", "FLSTOPEN", "FONT",     "FONTMENU", "FPNEW",    "FPTYPE",
    "FPRECFMF", "FPRECFMV",   "GENOPT",   "HELPTOC",  "IMPORT",   "ISTYLE",   "KEYS",     "KEYSALT",
    "KEYSATOZ", "KEYSBASE",   "KEYSCTRL", "KEYSRCTL", "KEYSSHFT", "LOCATE",   "MULTOPEN", "PATHS",
    "PRNSETUP", "PRNSTYLE",   "PROJECT",  "PROJNEW",  "PROJOPEN", "QRFELCMD", "QRFEPCMD", "QRFFLCMD",
    "QRFFPCMD", "QRFGPCMD",   "RECENT",   "TEMPLATE", "USERCMD",  "VARS",     "VARS2",    "USERCMD2",
    "WORDNEW",  "WORDS",      "XCMD",     "XKEYBRD",
};

std::vector<std::string_view> ListedCommandNames(std::span<const CommandRow> table) {
    std::vector<std::string_view> names;
    for (const CommandRow& row : table) {
        if (row.listed) {
            names.push_back(row.name);
        }
    }
    return names;
}

bool IsBuiltInDialog(std::string_view upperName) {
    return std::find(BuiltInDialogNames.begin(), BuiltInDialogNames.end(), upperName) !=
           BuiltInDialogNames.end();
}
