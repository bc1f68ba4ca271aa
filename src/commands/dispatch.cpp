#include "commands/dispatch.h"

#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/line_record.h"
#include "commands/command_set.h"
#include "commands/dispatch_builtins.h"
#include "commands/legacy_jumps.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "core/command_symbols.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/edit_view_port.h"
#include "editing/line_commands.h"
#include "macro/macro_door.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr std::string_view kNotInEdit = "Not in file EDIT, command ignored.";

// A line command typed in the command field (":d5", ".A"): it becomes the pending command of the
// cursor line, or of the current line when the cursor is on none, and the line commands run.
void RunLineCommand(AppSession& app, EditSession* session, std::string_view subCommand) {
    if (session == nullptr) {
        ShowMessage(app, kNotInEdit, MsgTo::Box, Beep::Exclamation);
        return;
    }
    size_t start = subCommand.find_first_not_of(':');
    std::string_view command =
        start == std::string_view::npos ? std::string_view() : subCommand.substr(start);
    LineRecord* line = CursorLine(app, *session);
    if (line == nullptr) {
        line = session->buffer.currentLine;
    }
    if (line != nullptr && !command.empty()) {
        LineSetPendingCommand(*line, command);
        PendingCommandTyped(app, *session, *line);
    }
    ProcessLineCommands(app, *session);
}

void RunEditSubCommand(AppSession& app, std::string_view subCommand) {
    EditSession* session = CurrentEditSession(app);
    if (subCommand.front() == ':' || subCommand.front() == '.') {
        RunLineCommand(app, session, subCommand);
        return;
    }
    EditCommandLine line = SplitEditCommand(subCommand);
    const CommandDesc* command = LookupPrimaryCommand(app, CommandTable::Edit, line.verb);
    if (command == nullptr) {
        // The whole verb goes on, so a macro is named as it was typed.
        RunGeneralCommand(app, line.verb + " " + line.params);
        return;
    }
    if (command->verb == "MERGEMSG" && !line.params.empty()) {
        line.params = SubstituteCommandSymbols(app, line.params);
    }
    if (session == nullptr) {
        ShowMessage(app, kNotInEdit, MsgTo::Box, Beep::Exclamation);
        return;
    }
    if (!PassesEditCommandChecks(app, *session, command->verb, line.params)) {
        return;
    }
    if (command->edit != nullptr) {
        command->edit(app, *session, line.params);
    } else {
        ShowNotAvailable(app, command->verb);
    }
}

// Commands that act on other instances need session cooperation on.
bool CheckSessionCooperation(AppSession& app, std::string_view verb) {
    if (app.sessionCooperation) {
        return true;
    }
    std::string shown(verb);
    ShowMessage(
        app,
        Format("Command '%s' is not operative when Session Cooperation is OFF.\n\nClick on menu OPTIONS, "
               "item GENERAL to set Session Cooperation.",
               shown.c_str()),
        MsgTo::Box, Beep::Information);
    return false;
}

bool IsFileListAction(std::string_view upper) {
    return upper == "NEW" || upper == "OPEN" || upper == "RESIZE" || upper == "SHOW";
}

// A command line ends at a NUL byte, as a C string would: no name or path made from it may hold one.
std::string_view UpToNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

}  // namespace

void RunEditCommand(AppSession& app, std::string_view text) {
    text = UpToNul(text);
    // The line is copied: a command may change the field or buffer the text came from.
    std::string line(text.substr(0, kEditCommandTextMax));
    std::string_view rest = line;
    while (std::optional<std::string_view> subCommand = NextSubCommand(rest)) {
        RunEditSubCommand(app, *subCommand);
        // The session is asked for again: the command may have ended it or opened another. Its rows
        // follow what the command changed before the next one runs.
        if (EditSession* session = CurrentEditSession(app)) {
            EditView(app).RebuildRows(app, *session);
        }
    }
}

void RunGeneralCommand(AppSession& app, std::string_view text) {
    text = UpToNul(text);
    size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == ';')) {
        ++start;
    }
    if (start == text.size()) {
        return;
    }
    std::string line(text.substr(start));
    GeneralCommandLine command = SplitGeneralCommand(line);
    if (command.verb.front() == '=') {
        std::string option = line.substr(1, command.verb.size() - 1);
        // A refused jump shows the current context again; with nothing open there is nothing to show
        // (re-showing an empty stack would end the program).
        if (LegacyJump(app, option) != 0 && TopContextKind(app) != ContextKind::None) {
            ShowContextAgain(app);
        }
        return;
    }
    const CommandDesc* entry = LookupPrimaryCommand(app, CommandTable::General, command.verb);
    if (entry == nullptr) {
        (void)MacroRun(app, line);  // reports its own failures
        if (TopContextKind(app) != ContextKind::None) {
            ShowContextAgain(app);
        }
        return;
    }
    if (entry->cooperation == Cooperation::Needed && !CheckSessionCooperation(app, entry->verb)) {
        return;
    }
    if (entry->verb == "FILELIST" && !IsFileListAction(command.p1)) {
        return;  // an unknown FILELIST action is ignored without a message
    }
    if (entry->general != nullptr) {
        entry->general(app, command);
    } else {
        ShowNotAvailable(app, entry->verb);
    }
}

void RunFileListCommand(AppSession& app, std::string_view text) {
    std::string line(UpToNul(text));
    size_t position = 0;
    while (std::optional<FileListCommandLine> command = NextFileListCommand(line, position)) {
        const CommandDesc* entry = LookupPrimaryCommand(app, CommandTable::FileList, command->verb);
        if (entry == nullptr) {
            // Sub-commands already run are not sent again: the general dispatcher would take the
            // whole line, ";" included, as one command.
            RunGeneralCommand(app, std::string_view(line).substr(command->start));
            return;
        }
        if (entry->fileList != nullptr) {
            entry->fileList(app, command->params);
        } else {
            ShowNotAvailable(app, entry->verb);
        }
    }
}

}  // namespace tavoe
