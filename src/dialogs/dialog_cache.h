#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dialog_def.h"
#include "dialogs/dialog_layout.h"
#include "dialogs/menu_def.h"

namespace tavoe {

// The session's parsed dialogs. With ZCACHE.DIALOGS "TRUE" (and an interface style other than
// "Legacy Tavo") a dialog is read, checked and laid out once per session and reused at every later
// showing; otherwise every showing reads the file again, so edits to a .dlg file take effect at once.

struct AppSession;

struct DialogCache {
    std::vector<std::unique_ptr<DialogDefinition>> definitions;  // in the order they were parsed
    DialogDefinition* showing = nullptr;                         // the definition now showing
    // Built menus, reused while ZCACHE.MENUS is "TRUE" (and the style is not "Legacy Tavo"), and the
    // name of the menu now running, whose keys are routed to it ("" when none).
    std::vector<std::unique_ptr<MenuDefinition>> menus;
    std::string activeMenu;
};

// The session's cache, created when it has none.
DialogCache& SessionDialogCache(AppSession& app);

// Takes a parsed definition into the session's cache (after any others) and returns it.
DialogDefinition* AddToDialogCache(AppSession& app, std::unique_ptr<DialogDefinition> def);

// The cached definition of that name (compared upper-case), or null.
DialogDefinition* FindCachedDialog(AppSession& app, std::string_view name);

// The first half of showing a dialog: finds the cached definition or reads, checks, lays out and
// builds it afresh, and records it as the one now showing. The screen is the session window the
// dialog is shown in (for the legacy full-window size). Null after the failure was reported (or
// silently for an empty definition); the caller then fails with result 4.
DialogDefinition* PrepareDialog(AppSession& app, std::string_view name, const DialogScreen& screen);

// Destroys a definition: its window state, its objects and its template. Removes it from the
// session's cache and clears the cache's reference to the dialog now showing when it is this one.
void FreeDialog(AppSession& app, DialogDefinition* def);

// Removes the cached definition of that name (compared upper-case) and frees it; nothing when none
// is cached.
void DiscardDialog(AppSession& app, std::string_view name);

}  // namespace tavoe
