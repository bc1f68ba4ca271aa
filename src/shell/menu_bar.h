#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shell/instances.h"

namespace tavoe {

// The main window's menu bar: File, Edit, Search, View, Options, Utility, Window and Help. Every
// fixed item runs a command: the main menus' through the general command processor, the Edit menu's
// (and the other items that act on the file being edited) through the edit command processor. The
// File menu ends with the recently used files (items 280 to 287) and the Window menu with the
// running sessions (items 290 and up, after a separator).

struct AppSession;

enum class MenuRoute { General, Edit };

struct MenuItemDef {
    int id = 0;             // 0: a separator
    const char* text = "";  // "&" marks the access key
    const char* command = "";
    MenuRoute route = MenuRoute::General;
};

struct MenuDef {
    const char* title;  // "&File"
    std::vector<MenuItemDef> items;
};

// The menus of the bar, in order.
const std::vector<MenuDef>& MainMenus();

inline constexpr int kFileMenu = 0;
inline constexpr int kWindowMenu = 6;

// The items a menu shows now: the fixed ones, then for the File menu the recently used files and for
// the Window menu a separator and the running sessions.
std::vector<ShellMenuItem> MenuItemsNow(AppSession& app, int menu);

// The fixed item with this identifier, or null.
const MenuItemDef* FindMenuItem(int id);

// Runs the item: a fixed item's command through its processor, a recent file as "edit <path>", a
// session item by bringing that session to the front. Greyed items (a file open in a session, the own
// session) do nothing.
void RunMenuItem(AppSession& app, int id);

// Where the menu titles lie on the menu bar: the column of each title, for a bar starting at column 0.
std::vector<int> MenuTitleColumns();
// The menu whose title covers the column, or -1.
int MenuAtColumn(int col);
// The menu whose title has this access key (either case), or -1.
int MenuWithAccessKey(char letter);

// The menu bar's text: the titles without their "&", at MenuTitleColumns().
std::string MenuBarText();

// Opens the menu below its title and runs the chosen item. Returns the item's identifier, or 0 when
// the menu was left without a choice.
int OpenMenu(AppSession& app, int menu);

// The toolbar: a row of buttons, each running a command.
struct ToolbarButton {
    const char* label;
    const char* command;
    MenuRoute route;
};
const std::vector<ToolbarButton>& ToolbarButtons();
std::string ToolbarText();
// The button under the column, or -1.
int ToolbarButtonAt(int col);
void RunToolbarButton(AppSession& app, int button);

}  // namespace tavoe
