#include "commands/dispatch_sources.h"

#include "commands/command_history.h"
#include "commands/dispatch.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "editing/cursor_actions.h"
#include "editing/edit_session.h"
#include "editing/line_commands.h"

namespace tavoe {

namespace {

void ProcessPendingLineCommands(AppSession& app, EditSession* session) {
    if (session != nullptr) {
        ProcessLineCommands(app, *session);
    }
}

bool IsResetAlone(std::string_view command) {
    return command == "res" || command == "reset" || command == "RES" || command == "RESET";
}

}  // namespace

std::string EditCommandFieldEnter(AppSession& app, std::string_view fieldText) {
    std::string text(fieldText.substr(0, kCommandFieldMax));
    EditSession* session = CurrentEditSession(app);
    if (CommandTrim(text).empty()) {
        ProcessPendingLineCommands(app, session);
        if (session != nullptr) {
            CursorToDataArea(app, *session);
        }
        return {};
    }
    bool keep = text.front() == '&';
    std::string command = keep ? text.substr(1) : text;
    HistoryAdd(app, command);
    // RESET alone clears pending line commands rather than running them first.
    if (!IsResetAlone(command)) {
        ProcessPendingLineCommands(app, session);
    }
    RunEditCommand(app, command);
    return keep ? text : std::string();
}

std::string FileListCommandFieldEnter(AppSession& app, std::string_view fieldText) {
    size_t start = 0;
    while (start < fieldText.size() && (fieldText[start] == ' ' || fieldText[start] == ';')) {
        ++start;
    }
    std::string command(fieldText.substr(start));
    if (command.empty()) {
        return {};
    }
    HistoryAdd(app, command);
    RunFileListCommand(app, command);
    return {};
}

}  // namespace tavoe
