#include "shell/menu_bar.h"

#include <cctype>

#include "core/app_session.h"
#include "shell/command_route.h"
#include "shell/recent_files.h"
#include "shell/window_layout.h"
#include "ui/mnemonic.h"
#include "ui/popup_menu.h"
#include "ui/screen.h"

namespace tavoe {

namespace {

constexpr MenuRoute G = MenuRoute::General;
constexpr MenuRoute E = MenuRoute::Edit;
constexpr int kTitleGap = 2;  // blanks between two titles
constexpr int kBarIndent = 1;

const std::vector<MenuDef> kMenus = {
    {"&File",
     {{100, "&New...", "NEW", G},
      {101, "&Open...", "OPEN", G},
      {102, "&Edit...", "EDIT", G},
      {103, "&Browse...", "FUNCTION LEGACY_OPT_1", G},
      {104, "&Recent files...", "REDIT", G},
      {105, "File &list", "FILELIST SHOW", G},
      {106, "Pro&jects...", "PROJECTLIST", G},
      {0},
      {107, "&Save", "SAVE", E},
      {108, "Save &as...", "SAVEAS", E},
      {109, "&Close", "END", G},
      {110, "Cancel chan&ges", "CANCEL", E},
      {0},
      {111, "&Print", "PRINT", E},
      {112, "Print st&yle...", "PRINTSTYLE", G},
      {113, "Print se&tup...", "PRINTSETUP", G},
      {0},
      {114, "E&xit", "EXIT", G}}},
    {"&Edit",
     {{120, "&Undo", "UNDO", E},
      {0},
      {121, "Cu&t", "CUT", E},
      {122, "&Copy", "COPY", E},
      {123, "&Paste", "PASTE", E},
      {124, "&Delete", "DELETE", E},
      {125, "Select &all", "SELECT ALL", E},
      {0},
      {126, "&Import...", "IMPORT", E},
      {127, "&Export...", "EXPORT", E},
      {128, "C&reate file...", "CREATE", E},
      {129, "Rep&lace file...", "REPLACE", E},
      {0},
      {130, "&Template...", "TEMPLATE", E},
      {131, "&Sort", "SORT", E},
      {132, "Re&number", "RENUMBER", E},
      {133, "Reco&lor", "RECOLOR", E}}},
    {"&Search",
     {{140, "&Find...", "DIALOG FIND", G},
      {141, "&Change...", "DIALOG CHANGE", G},
      {142, "Find &next", "RFIND", E},
      {143, "Change n&ext", "RCHANGE", E},
      {0},
      {144, "&Locate...", "DIALOG LOCATE", G},
      {145, "&Match bracket", "MATCH", E},
      {146, "F&lip excluded", "FLIP", E},
      {147, "&Reset", "RESET", E},
      {0},
      {148, "&Tag find", "TAGFIND", E},
      {149, "File &scan...", "FILESCAN", G}}},
    {"&View",
     {{160, "&Top", "TOP", E},
      {161, "&Bottom", "BOTTOM", E},
      {0},
      {162, "&Hex", "HEX", E},
      {163, "&Ruler", "RULER", E},
      {164, "Show &end of line", "SHOWEOL", E},
      {165, "&Function keys", "PFSHOW", G},
      {0},
      {166, "File &profile", "PROFILE", E},
      {167, "&Variables...", "DIALOG VARS", G}}},
    {"&Options",
     {{180, "&General...", "GENOPTIONS", G},
      {181, "&Interface style...", "ISTYLE", G},
      {182, "&Editor...", "DIALOG EDOPT", G},
      {183, "&File profiles...", "PROFILES", G},
      {184, "&Colors...", "COLORS", G},
      {185, "F&onts...", "DIALOG FONTMENU", G},
      {186, "&Keys...", "KEYS", G},
      {187, "&Directories...", "PATHS", G},
      {188, "File list o&ptions...", "FLISTOPTIONS", G},
      {189, "F&ilters...", "FILTERS", G},
      {0},
      {190, "Command &aliases...", "ALIASCMD", G},
      {191, "P&rofile aliases...", "ALIASPRF", G},
      {0},
      {192, "Restore &defaults", "DEFAULTS", G}}},
    {"&Utility",
     {{200, "&Compare files...", "COMPARE", G},
      {201, "Compare &directories...", "COMPAREDIR", G},
      {202, "Con&vert...", "CONVERT", G},
      {203, "&Multiple file list...", "MULTILIST", G},
      {204, "D&rive list...", "DRIVELIST", G},
      {0},
      {205, "&User commands...", "USERCMD", G},
      {206, "&System command...", "SYSTEM", G},
      {207, "Dialog &test...", "DIALOGTEST", G}}},
    {"&Window",
     {{330, "&New session", "SPLITF", G},
      {331, "Split &horizontal", "SPLITH", G},
      {332, "Split &vertical", "SPLITV", G},
      {333, "&Swap", "SWAP", G},
      {334, "Swap &back", "SWAPBACK", G},
      {0},
      {335, "&Overlay", "WINOVERLAY", G},
      {336, "Tile hori&zontal", "WINTILEH", G},
      {337, "&Tile vertical", "WINTILEV", G},
      {338, "Step ho&rizontal", "WINSTEPH", G},
      {339, "Step v&ertical", "WINSTEPV", G},
      {0},
      {340, "&Close all sessions", "CLOSEALL", G},
      {341, "&Return to top menu", "RETURN", G}}},
    {"&Help",
     {{360, "&Contents", "HELP", G},
      {361, "&Read me", "HELP README GENERAL", G},
      {0},
      {362, "&General commands", "DIALOG QRFGPCMD", G},
      {363, "&Edit commands", "DIALOG QRFEPCMD", G},
      {364, "&Line commands", "DIALOG QRFELCMD", G},
      {365, "&File list commands", "DIALOG QRFFPCMD", G},
      {366, "File list l&ine commands", "DIALOG QRFFLCMD", G},
      {0},
      {367, "&About", "ABOUT", G}}},
};

const std::vector<ToolbarButton> kToolbar = {
    {"New", "NEW", G},     {"Open", "OPEN", G},   {"Save", "SAVE", E}, {"Cut", "CUT", E},
    {"Copy", "COPY", E},   {"Paste", "PASTE", E}, {"Undo", "UNDO", E}, {"Find", "DIALOG FIND", G},
    {"Print", "PRINT", E}, {"Help", "HELP", G},
};

bool IsSessionItem(int id) {
    return id >= kWindowMenuFirstId && id < kWindowMenuFirstId + kMaxSessions;
}

bool IsRecentItem(int id) {
    return id >= kRecentMenuFirstId && id < kRecentMenuFirstId + kRecentMenuCount;
}

void Run(AppSession& app, MenuRoute route, std::string_view command) {
    RunCommandLine(app, route == MenuRoute::Edit ? CommandRoute::Edit : CommandRoute::General, command);
}

}  // namespace

const std::vector<MenuDef>& MainMenus() {
    return kMenus;
}

std::vector<ShellMenuItem> MenuItemsNow(AppSession& app, int menu) {
    std::vector<ShellMenuItem> items;
    if (menu < 0 || menu >= static_cast<int>(kMenus.size())) {
        return items;
    }
    for (const MenuItemDef& def : kMenus[static_cast<size_t>(menu)].items) {
        items.push_back(ShellMenuItem{def.id, def.text, false});
    }
    if (menu == kFileMenu) {
        std::vector<ShellMenuItem> recent = RecentMenuItems(app);
        if (!recent.empty()) {
            items.push_back(ShellMenuItem{0, "", false});
            items.insert(items.end(), recent.begin(), recent.end());
        }
    } else if (menu == kWindowMenu) {
        items.push_back(ShellMenuItem{0, "", false});
        std::vector<ShellMenuItem> sessions = WindowMenuItems(app);
        items.insert(items.end(), sessions.begin(), sessions.end());
    }
    return items;
}

const MenuItemDef* FindMenuItem(int id) {
    if (id == 0) {
        return nullptr;
    }
    for (const MenuDef& menu : kMenus) {
        for (const MenuItemDef& item : menu.items) {
            if (item.id == id) {
                return &item;
            }
        }
    }
    return nullptr;
}

void RunMenuItem(AppSession& app, int id) {
    if (const MenuItemDef* item = FindMenuItem(id)) {
        Run(app, item->route, item->command);
        return;
    }
    if (IsRecentItem(id)) {
        for (const ShellMenuItem& item : RecentMenuItems(app)) {
            if (item.id == id && !item.greyed) {
                std::string command = RecentFileCommand(app, id);
                if (!command.empty()) {
                    Run(app, MenuRoute::General, command);
                }
            }
        }
        return;
    }
    if (IsSessionItem(id)) {
        for (const ShellMenuItem& item : WindowMenuItems(app)) {
            if (item.id == id && !item.greyed) {
                RunInstanceMenuCommand(app, id);
            }
        }
    }
}

std::vector<int> MenuTitleColumns() {
    std::vector<int> columns;
    int col = kBarIndent;
    for (const MenuDef& menu : kMenus) {
        columns.push_back(col);
        col += static_cast<int>(ui::StripMnemonic(menu.title).size()) + kTitleGap;
    }
    return columns;
}

int MenuAtColumn(int col) {
    std::vector<int> columns = MenuTitleColumns();
    for (size_t i = 0; i < kMenus.size(); ++i) {
        int width = static_cast<int>(ui::StripMnemonic(kMenus[i].title).size());
        if (col >= columns[i] && col < columns[i] + width) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int MenuWithAccessKey(char letter) {
    char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (size_t i = 0; i < kMenus.size(); ++i) {
        if (ui::MnemonicOf(kMenus[i].title) == wanted) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string MenuBarText() {
    std::string text(static_cast<size_t>(kBarIndent), ' ');
    for (const MenuDef& menu : kMenus) {
        text += ui::StripMnemonic(menu.title);
        text += std::string(static_cast<size_t>(kTitleGap), ' ');
    }
    return text;
}

int OpenMenu(AppSession& app, int menu) {
    if (app.screen == nullptr || menu < 0 || menu >= static_cast<int>(kMenus.size())) {
        return 0;
    }
    std::vector<ShellMenuItem> items = MenuItemsNow(app, menu);
    std::vector<ui::MenuEntry> entries;
    for (const ShellMenuItem& item : items) {
        if (item.id == 0) {
            entries.push_back(ui::MenuEntry{"", ui::MenuEntryKind::Separator});
        } else {
            entries.push_back(ui::MenuEntry{item.text, ui::MenuEntryKind::Item, item.greyed});
        }
    }
    int row = CurrentLayout(app).menuBar.row + 1;
    int col = MenuTitleColumns()[static_cast<size_t>(menu)] - 1;
    int chosen = ui::RunPopupMenu(*app.screen, entries, row, col < 0 ? 0 : col);
    if (chosen < 0 || chosen >= static_cast<int>(items.size()) ||
        items[static_cast<size_t>(chosen)].id == 0) {
        return 0;
    }
    int id = items[static_cast<size_t>(chosen)].id;
    RunMenuItem(app, id);
    return id;
}

const std::vector<ToolbarButton>& ToolbarButtons() {
    return kToolbar;
}

std::string ToolbarText() {
    std::string text = " ";
    for (const ToolbarButton& button : kToolbar) {
        text += "[";
        text += button.label;
        text += "] ";
    }
    return text;
}

int ToolbarButtonAt(int col) {
    int start = 1;
    for (size_t i = 0; i < kToolbar.size(); ++i) {
        int width = static_cast<int>(std::char_traits<char>::length(kToolbar[i].label)) + 2;
        if (col >= start && col < start + width) {
            return static_cast<int>(i);
        }
        start += width + 1;
    }
    return -1;
}

void RunToolbarButton(AppSession& app, int button) {
    if (button >= 0 && button < static_cast<int>(kToolbar.size())) {
        Run(app, kToolbar[static_cast<size_t>(button)].route, kToolbar[static_cast<size_t>(button)].command);
    }
}

}  // namespace tavoe
