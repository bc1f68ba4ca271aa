#pragma once

#include <string_view>
#include "core/status.h"

namespace tavoe {

// Maintenance of the primary command aliases (the AEditCmd dialog of the alias list AliasCmd): an
// alias is a short verb of letters and digits that stands for one primary command name. The list
// lives in AppSession::aliases and is saved with the main profile.

struct AppSession;

// Adds the alias typed in the dialog variables AEditCmd.Alias and AEditCmd.Actual (both upper-cased,
// the alias cut to 14 characters). Refuses, with a message box, an empty alias ("Alias field not
// specified, CHANGE ignored."), one with other characters than A..Z and 0..9, one that is already a
// primary command or alias, an empty actual, an actual with a blank, and an actual that is no primary
// command. Every outcome posts "DIALOG ALIASCMD" so the alias list shows again. 0 when added, -1
// when refused.
Status AliasCmdAdd(AppSession& app);

// The same checks and append for an alias and actual given directly (already upper-cased or not);
// nothing is posted.
Status AddCommandAlias(AppSession& app, std::string_view alias, std::string_view actual);

// Removes the entry with this alias (exact comparison). False when there is none.
bool DeleteCommandAlias(AppSession& app, std::string_view alias);

}  // namespace tavoe
