#include "utilities/template_command.h"

#include <algorithm>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_vars.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "platform/format.h"
#include "utilities/template_insert.h"

namespace tavoe {

namespace {

constexpr const char* kDialog = "TEMPLATE";

void Box(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Exclamation);
}

// The line the template goes below and the column it is indented to: the cursor's line (kept while
// the command is typed) and its column in the data area, column 1 in the prefix area; below the
// window's rows, the current line (or the top marker) and column 1.
void InsertionPoint(AppSession& app, EditSession& session, LineRecord*& line, int& column) {
    CursorPlace place = CursorPlaceOf(app, session);
    line = place.line;
    column = place.area == CursorArea::Data ? place.column : 1;
    if (line == nullptr) {
        line = session.buffer.currentLine != nullptr ? session.buffer.currentLine : LineFirst(session.buffer);
        column = 1;
    }
    if (LineGetKind(*line) == LineKind::EndMarker) {
        line = LinePrev(line);
    }
}

bool CheckSession(AppSession& app, EditSession& session) {
    if (session.ReadOnly()) {
        Box(app, "Browse session, TEMPLATE not allowed.");
        return false;
    }
    if (session.buffer.profile.languageTemplate.empty()) {
        Box(app,
            Format("No template binding specified for file type %s", session.buffer.profile.name.c_str()));
        return false;
    }
    return true;
}

void Insert(AppSession& app, EditSession& session, std::string_view name) {
    LineRecord* below = nullptr;
    int column = 1;
    InsertionPoint(app, session, below, column);
    TemplateCursor cursor;
    if (InsertTemplate(app, session.buffer, below, column, name, cursor) == 0 && cursor.line != nullptr) {
        PlaceCursorOnLine(app, session, cursor.line, cursor.column);
    }
}

void ApplyTemplate(AppSession& app) {
    EditSession* session = CurrentEditSession(app);
    if (DialogReply(app, "Template.Popup", "Template") == "CANCEL" || session == nullptr) {
        LeaveDialog(app);
        return;
    }
    long chosen = VarGetNumber(app, "Template.List.Reply.0");
    if (chosen != 1) {
        Box(app, chosen < 1 ? "Must select one template." : "Only allowed to select one template.");
        ShowDialogAgain(app, kDialog);
        return;
    }
    std::string name = VarGetValue(app, "Template.List.Reply.1");
    LeaveDialog(app);
    Insert(app, *session, name);
}

}  // namespace

void PlaceCursorOnLine(AppSession& app, EditSession& session, LineRecord* line, int column) {
    const int row = RowShowingLine(app, session, line);
    if (row < 0) {
        return;
    }
    SetCursorRow(app, session, row);
    ShowCursorColumn(app, session, column);
}

void TemplateDialog(AppSession& app) {
    EditSession* session = CurrentEditSession(app);
    if (session == nullptr) {
        Box(app, "No task active, command ignored.");
        ShowContextAgain(app);
        return;
    }
    if (!CheckSession(app, *session)) {
        ShowContextAgain(app);
        return;
    }
    std::vector<std::string> names;
    if (ListTemplates(app, session->buffer.profile.languageTemplate, names) != 0) {
        ShowContextAgain(app);
        return;
    }
    WriteDialogArray(app, "Template.List", names);
    VarSetValue(app, "Template.List.Top", "0");
    VarSetValue(app, "Template.List.Reply.0", "0");
    VarSetValue(app, "Template.Popup.Reply", "");
    WriteDialogArray(app, "Template.Popup", {"Insert"});
    RunOptionDialog(app, kDialog, [&app] { ApplyTemplate(app); });
}

void TemplateCommand(AppSession& app, EditSession& session, std::string_view params) {
    size_t first = params.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        PostCommand(app, Format("DIALOG %s", kDialog));
        return;
    }
    std::string_view rest = params.substr(first);
    std::string name(rest.substr(0, rest.find(' ')));
    if (!CheckSession(app, session)) {
        return;
    }
    Insert(app, session, UpperCased(name));
}

}  // namespace tavoe
