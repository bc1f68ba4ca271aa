#pragma once

#include <string_view>

namespace tavoe {

// The UNDO primary command.

struct AppSession;
struct EditSession;

// UNDO [parameter], the parameter compared in upper case:
//   (none)    one step;
//   n         up to n steps (digits), stopping quietly when the journal runs empty;
//   ALL       steps until the journal is empty;
//   CLEAR     empties the session's journal;
//   ON, OFF   turns UNDO on or off for the instance (every edit session) and sets ZUNDO to "TRUE" or
//             "FALSE"; OFF discards every journal;
//   TOGGLE    OFF when on, ON when off;
// anything else: "UNDO: invalid parameter". Steps need an edit session (`session` may be null).
void UndoCommand(AppSession& app, EditSession* session, std::string_view parameter);

// UNDO as the edit dispatcher runs it, in a session.
void UndoEditCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
