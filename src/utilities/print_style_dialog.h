#pragma once

namespace tavoe {

// PRNSTYLE: the print styles along ZPATH.PRINTSTYLES, with the pop-up Select, Edit and Delete and
// the button New. Edit and New open the property sheet "Print Style Options"; a style that passes the
// checks is written and becomes the active style (ZPRNSTYLE).

struct AppSession;
struct PrintStyle;

void PrnStyleDialog(AppSession& app);

// Runs the property sheet on the style until it is left or the edited style passes the checks, then
// writes it and makes it the active style. 0 when a style was written, -1 when the sheet was left
// without changes (or the write failed, reported).
int EditPrintStyle(AppSession& app, PrintStyle style);

}  // namespace tavoe
