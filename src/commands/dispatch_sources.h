#pragma once

#include <string>
#include <string_view>

namespace tavoe {

// Where typed command lines enter the dispatchers: Enter in an edit session's primary command field
// and Enter in a file list's command field. Both record the line in the command history.

struct AppSession;

// Enter in the primary command field of the current edit session; returns what the field holds
// afterwards. An empty field runs the pending line commands and puts the cursor into the data area.
// A text beginning with "&" runs (and goes to the history) without the "&" and stays in the field;
// any other text is cleared from the field, added to the history and run. Before the command the
// pending line commands run, unless the command is exactly "res", "reset", "RES" or "RESET".
std::string EditCommandFieldEnter(AppSession& app, std::string_view fieldText);

// Enter in the file list command field; returns what the field holds afterwards (always empty).
// Leading blanks and ";" are skipped; any other text is added to the history and run.
std::string FileListCommandFieldEnter(AppSession& app, std::string_view fieldText);

}  // namespace tavoe
