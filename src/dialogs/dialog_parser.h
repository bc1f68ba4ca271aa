#pragma once

#include <memory>
#include <string_view>

#include "dialogs/dialog_def.h"

namespace tavoe {

// The dialog definition language. A file holds one DIALOG header block (its only property is
// TITLE) followed by OBJ blocks of NAME=VALUE properties, one block per control:
//
//   DIALOG { TITLE="Find" }
//   OBJ { TYPE=STATIC ROW=1 COL=1 TEXT="Find:" }
//   OBJ { TYPE=INPUT  ROW=1 COL=8 WIDTH=30 VAR=FindStr FOCUS=YES }
//
// Braces are decoration and may stand wherever a token may start; "//" starts a comment; several
// blocks may share a line and a block may span lines. Lines are read 255 characters at a time.

struct AppSession;

// Parses the text of the definition of the dialog requested as `name` (the definition's name is
// that name upper-cased). Every error is reported as a message box with the exclamation beep and
// yields null; a text that ends before any DIALOG keyword yields null without a message. The
// result is checked but not laid out.
std::unique_ptr<DialogDefinition> ParseDialogText(AppSession& app, std::string_view name,
                                                  std::string_view text);

// Opens name.dlg along ZPATH.DIALOGS (the name in the case requested; the opener also finds the
// file in any case), parses it and appends the definition to the session's dialog cache, which is
// created when the session has none. Null after reporting, or silently for a file without DIALOG.
DialogDefinition* ParseDialog(AppSession& app, std::string_view name);

}  // namespace tavoe
