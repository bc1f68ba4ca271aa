#pragma once

#include <string_view>

namespace tavoe {

struct AppSession;
struct EditSession;

// SORT [X | EX | NX] [A | D] [start [end] [A | D]]... [.label1 [.label2]]: reorders the data lines of
// the session, or of a label range, by column fields (commands/sort_params.h, sort_lines.h). The
// chosen lines take the places the chosen lines held; every other line stays where it was. An EBCDIC
// file's keys are compared in EBCDIC order. Progress shows in the window title; Escape stops the sort
// and leaves the lines in their original order. The undo journal cannot take a sort back: a sort that
// moves lines empties it, and what is typed afterwards can be undone back to the sorted order. Ends
// with "Sort complete.".
void SortCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
