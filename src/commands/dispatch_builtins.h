#pragma once

#include <string_view>

#include "core/command_desc.h"

namespace tavoe {

// The commands the dispatchers carry themselves, and the checks the edit dispatcher makes before a
// handler runs.

struct AppSession;
struct EditSession;

// BOUNDS, CANCEL, MERGEMSG, NUMBER, RENUMBER, SAVE, SORT, UNNUMBER and XKEYBOARD, with the rows of
// the edit commands of this layer still to come (CAPS, CHANGE, EXCLUDE, FIND, FLIP, LOCATE, MATCH,
// PROFILE, RCHANGE, RESET, RFIND) and TABS, which only answers its check.
CommandRows DispatcherEditCommands();

// BACKUP, BROWSE, DEFAULTS, EDIT, END, FUNCTION, OPEN, PCMDEDIT, PCMDFILELIST, PFSHOW, RETRIEVE and
// RETURN.
CommandRows DispatcherGeneralCommands();

// The parameter checks of the edit dispatcher (CAPS, COLORMAP, COPY, CUT, DELETE, NUMBER, PASTE,
// PROFILE, RULER, SHOWEOL, TABS). False after a message when the handler must not run.
bool PassesEditCommandChecks(AppSession& app, EditSession& session, std::string_view verb,
                             std::string_view params);

}  // namespace tavoe
