#pragma once

namespace tavoe {

// The line commands typed into the prefix area: keystroke editing tells this part when a line's
// pending command was typed into or emptied, and Enter (or ENTER, or a line command typed in the
// command field) processes the pending commands.

struct AppSession;
struct EditSession;
struct LineRecord;

// The line's pending line command was typed into (it holds text now) or emptied.
void PendingCommandTyped(AppSession& app, EditSession& session, LineRecord& line);
void PendingCommandCleared(AppSession& app, EditSession& session, LineRecord& line);

// Processes the pending line commands of the session, in typing order; the number executed (a block
// end or a destination that now waits counts as executed).
int ProcessLineCommands(AppSession& app, EditSession& session);

// The line's pending command is dropped, and any waiting block or destination on it forgotten (RESET
// COMMAND over a range).
void ForgetLineCommands(EditSession& session, LineRecord& line);
// Every pending command and waiting block of the session is dropped (RESET).
void ForgetAllLineCommands(EditSession& session);

}  // namespace tavoe
