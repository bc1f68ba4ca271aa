#pragma once

#include <string_view>

namespace tavoe {

// The column commands: a rectangle of columns over a run of lines, given by the BLOCK selection or by
// parameters (up to two column numbers and up to two labels; the lines default to the whole file).
// They work on the data lines of the rectangle, excluded ones included (as a selection covers them);
// special lines are left alone. Each change is one UNDO step, and a command that cannot do all of its work
// changes nothing.
//
//   COLSINSERT  blank columns at the start column, as many as the rectangle is wide (at most 60);
//   COLSDELETE  the rectangle's columns leave every line, the text behind them moves left;
//   COLSCOPY    the rectangle's text, one clipboard line per data line, each as wide as the rectangle;
//   COLSCUT     COLSCOPY, then COLSDELETE;
//   COLSPASTE   [column | label]: the clipboard's lines go in at the column, one per data line from
//               the cursor's (or the labelled) line on; new lines are added at the end of the file.
//
// On a numbered file the rectangle may not reach into the number columns, and numbers kept at the
// end of the lines stay where they are: the text moves within the columns before them.

struct AppSession;
struct EditSession;

void ColsInsertCommand(AppSession& app, EditSession& session, std::string_view params);
void ColsDeleteCommand(AppSession& app, EditSession& session, std::string_view params);
void ColsCopyCommand(AppSession& app, EditSession& session, std::string_view params);
void ColsCutCommand(AppSession& app, EditSession& session, std::string_view params);
void ColsPasteCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
