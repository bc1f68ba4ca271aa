#pragma once

#include <string>
#include <string_view>

namespace tavoe {

// Running a full-panel option menu: the menu is found in the session's cache or read from its file,
// shown modally with the option field focused, and the reply (a typed option, a clicked option, a
// jump "0.2" or any primary command) is acted on by queuing commands.

struct AppSession;
struct MenuDefinition;

// The menu of that name, from the cache when ZCACHE.MENUS is "TRUE" and the style is not "Legacy
// Tavo", otherwise read and laid out afresh (and cached). Null after the failure was reported.
MenuDefinition* PrepareMenu(AppSession& app, std::string_view name);

// MENU name: pushes ("menu", name) unless that frame is on top, runs the menu and acts on the reply.
void ShowMenu(AppSession& app, std::string_view name);

// What a reply does, once the menu has closed (exposed for tests): "" shows the context below, " "
// shows the menu again, "*" nothing, one other character the command of the first option that
// begins with it, "x.y..." the jump "=x.y...", anything else runs as a primary command.
void ActOnMenuReply(AppSession& app, const MenuDefinition& def, const std::string& reply);

}  // namespace tavoe
