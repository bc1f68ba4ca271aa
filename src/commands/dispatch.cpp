#include "commands/dispatch.h"

#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/line_record.h"
#include "commands/command_line.h"
#include "commands/dispatch_builtins.h"
#include "commands/dispatch_host.h"
#include "commands/legacy_jumps.h"
#include "commands/symbols.h"
#include "core/app_session.h"
#include "macro/macro_door.h"

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
    const DispatchTable& table = Dispatch();
    LineRecord* line = nullptr;
    if (table.view.cursorLine) {
        line = table.view.cursorLine(app, *session);
    }
    if (line == nullptr) {
        if (EditBuffer* buffer = DispatchEditBuffer(*session)) {
            line = buffer->currentLine;
        }
    }
    if (line != nullptr && !command.empty()) {
        LineSetPendingCommand(*line, command);
    }
    if (auto process = table.view.processLineCommands) {
        process(app, *session);
    } else {
        ShowNotAvailable(app, subCommand);
    }
    if (auto redraw = table.view.redrawScreen) {
        redraw(app, *session);
    }
}

void RunEditSubCommand(AppSession& app, std::string_view subCommand) {
    EditSession* session = DispatchEditSession(app);
    if (subCommand.front() == ':' || subCommand.front() == '.') {
        RunLineCommand(app, session, subCommand);
        return;
    }
    EditCommandLine line = SplitEditCommand(subCommand);
    int row = LookupPrimaryCommand(app, EditPrimaryCommands, line.verb);
    if (row < 0) {
        // The whole verb goes on, so a macro is named as it was typed.
        RunGeneralCommand(app, line.verb + " " + line.params);
        return;
    }
    const CommandRow& command = EditPrimaryCommands[static_cast<size_t>(row)];
    auto id = static_cast<EditCmd>(command.id);
    if (id == EditCmd::MergeMsg && !line.params.empty()) {
        line.params = SubstituteCommandSymbols(app, line.params);
    }
    if (session == nullptr) {
        ShowMessage(app, kNotInEdit, MsgTo::Box, Beep::Exclamation);
        return;
    }
    if (!PassesEditCommandChecks(app, *session, id, line.params)) {
        return;
    }
    // A copy: a handler may register another handler in its own place while it runs.
    EditCommandHandler handler = Dispatch().handlers.edit[static_cast<size_t>(id)];
    if (handler) {
        handler(app, *session, line.params);
    } else {
        ShowNotAvailable(app, command.name);
    }
}

bool NeedsSessionCooperation(GeneralCmd id) {
    switch (id) {
        case GeneralCmd::CloseAll:
        case GeneralCmd::SplitF:
        case GeneralCmd::SplitH:
        case GeneralCmd::SplitV:
        case GeneralCmd::Swap:
        case GeneralCmd::SwapBack:
        case GeneralCmd::WinOverlay:
        case GeneralCmd::WinStepH:
        case GeneralCmd::WinStepV:
        case GeneralCmd::WinTileH:
        case GeneralCmd::WinTileV:
            return true;
        default:
            return false;
    }
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
    const DispatchTable& table = Dispatch();
    while (std::optional<std::string_view> subCommand = NextSubCommand(rest)) {
        RunEditSubCommand(app, *subCommand);
        // The session is asked for again: the command may have ended it or opened another.
        EditSession* session = DispatchEditSession(app);
        if (session != nullptr && table.view.updateScreenBookkeeping) {
            table.view.updateScreenBookkeeping(app, *session);
        }
    }
    EditSession* session = DispatchEditSession(app);
    if (session != nullptr && table.view.redrawScreen) {
        table.view.redrawScreen(app, *session);
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
        if (LegacyJump(app, option) != 0) {
            DispatchReshowContext(app);
        }
        return;
    }
    int row = LookupPrimaryCommand(app, GeneralPrimaryCommands, command.verb);
    if (row < 0) {
        MacroRun(app, line);
        if (DispatchContext(app) != CommandContext::None) {
            DispatchReshowContext(app);
        }
        return;
    }
    const CommandRow& entry = GeneralPrimaryCommands[static_cast<size_t>(row)];
    auto id = static_cast<GeneralCmd>(entry.id);
    if (NeedsSessionCooperation(id) && !CheckSessionCooperation(app, entry.name)) {
        return;
    }
    if (id == GeneralCmd::FileList && !IsFileListAction(command.p1)) {
        return;  // an unknown FILELIST action is ignored without a message
    }
    GeneralCommandHandler handler = Dispatch().handlers.general[static_cast<size_t>(entry.id)];
    if (handler) {
        handler(app, command);
    } else {
        ShowNotAvailable(app, entry.name);
    }
}

void RunFileListCommand(AppSession& app, std::string_view text) {
    std::string line(UpToNul(text));
    size_t position = 0;
    while (std::optional<FileListCommandLine> command = NextFileListCommand(line, position)) {
        int row = LookupPrimaryCommand(app, FileListPrimaryCommands, command->verb);
        if (row < 0) {
            // Sub-commands already run are not sent again: the general dispatcher would take the
            // whole line, ";" included, as one command.
            RunGeneralCommand(app, std::string_view(line).substr(command->start));
            return;
        }
        const CommandRow& entry = FileListPrimaryCommands[static_cast<size_t>(row)];
        FileListCommandHandler handler = Dispatch().handlers.fileList[static_cast<size_t>(entry.id)];
        if (handler) {
            handler(app, command->params);
        } else {
            ShowNotAvailable(app, entry.name);
        }
    }
}

int LookupPrimaryCommand(AppSession& app, std::span<const CommandRow> table, std::string_view verb) {
    if (verb.size() > kVerbMax) {
        return -1;
    }
    if (const CommandAlias* alias = FindAlias(app.aliases, verb)) {
        verb = alias->actual;
    }
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].name == verb) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool IsPrimaryCommand(AppSession& app, std::string_view verb) {
    return LookupPrimaryCommand(app, GeneralPrimaryCommands, verb) >= 0 ||
           LookupPrimaryCommand(app, EditPrimaryCommands, verb) >= 0 ||
           LookupPrimaryCommand(app, FileListPrimaryCommands, verb) >= 0;
}
