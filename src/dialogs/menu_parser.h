#pragma once

#include <memory>
#include <string_view>

#include "dialogs/dialog_layout.h"
#include "dialogs/menu_def.h"

namespace tavoe {

// Menu definition files. The first line is the title record, every further line one entry of four
// comma-separated fields: option, verb, annotation and the primary command the option runs.
//
//   TITLE="Primary Option Menu"
//   0, Settings, "Terminal and user parameters", menu pan0
//   1, View, "Display source data or listings", FUNCTION LEGACY_OPT_1
//
// A field in double quotes may contain commas; otherwise it runs to the next comma (the command to
// the end of the line). Blanks before a field are skipped, blank lines are skipped, and lines are
// read 255 characters at a time.

struct AppSession;

// Parses the text of the menu requested as `name`. Every error is reported as a message box with
// the exclamation beep and yields null.
std::unique_ptr<MenuDefinition> ParseMenuText(AppSession& app, std::string_view name, std::string_view text);

// Opens name.mnu along ZPATH.MENUS and parses it; null after reporting.
std::unique_ptr<MenuDefinition> ReadMenu(AppSession& app, std::string_view name);

// Lays the menu out in dialog units and cells. With SessionWindow (the legacy style) the menu grows
// to the session window as dialogs do, and its label reads "OPTION".
void LayoutMenu(MenuDefinition& def, WindowFill fill, const DialogScreen& screen);

}  // namespace tavoe
