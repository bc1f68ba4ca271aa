#pragma once

#include <string_view>

#include "core/status.h"

namespace tavoe {

// SELECT: a selection made by command.
//   SELECT ALL                    every data line, as whole lines (the file is loaded completely)
//   SELECT EOL                    from the cursor to the end of its line (Shift+End)
//   SELECT mode line col line col mode STREAM, WHOLELINE or BLOCK; lines by record number or label
// The words may be separated by blanks or commas.

struct AppSession;
struct EditSession;

Status SelectAll(AppSession& app, EditSession& session);
Status SelectToEndOfLine(AppSession& app, EditSession& session);
Status SelectByRange(AppSession& app, EditSession& session, std::string_view params);

void SelectCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
