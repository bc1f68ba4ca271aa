#pragma once

#include <string_view>

namespace tavoe {

// Primary commands that put single lines in or take classes of lines out: DATALINE, NOTELINE and
// DELETE with parameters.

struct AppSession;
struct EditSession;

// DATALINE text / NOTELINE text: one data or NOTE line with the text (quotes around it are dropped)
// goes in after the cursor line (before it on the bottom marker).
void DataLineCommand(AppSession& app, EditSession& session, std::string_view params);
void NoteLineCommand(AppSession& app, EditSession& session, std::string_view params);

// DELETE [ALL | X | NX] [label [label]]: the lines of the range (the whole file without labels) of
// the class: every line (ALL, or no class), the excluded ones (X) or the shown ones (NX). The file's
// ends stay; the excluded-lines markers are made again. One UNDO step. Without parameters DELETE
// deletes the selection, which the clipboard commands own.
void DeleteCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
