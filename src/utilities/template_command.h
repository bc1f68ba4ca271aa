#pragma once

#include <string_view>

namespace tavoe {

struct AppSession;
struct EditSession;
struct LineRecord;

// TEMPLATE [name] in an edit session: with a name the template is inserted below the cursor line,
// indented to the cursor's column (the command field counts as column 1); without one the TEMPLATE
// dialog lists the templates of the file's binding.
void TemplateCommand(AppSession& app, EditSession& session, std::string_view params);

// Puts the session's cursor on the line and data column (from 1), scrolling the view so that the
// line is shown.
void PlaceCursorOnLine(AppSession& app, EditSession& session, LineRecord* line, int column);

// DIALOG TEMPLATE: the list for the current edit session ("No task active, command ignored." without
// one). Exactly one template must be chosen.
void TemplateDialog(AppSession& app);

}  // namespace tavoe
