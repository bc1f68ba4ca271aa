#include "utilities/user_command.h"

#include <cctype>
#include <vector>

#include "commands/dispatch.h"
#include "core/app_session.h"
#include "core/command_symbols.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_vars.h"
#include "platform/ascii_case.h"
#include "platform/file_write.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "profiles/control_file.h"
#include "utilities/user_command_list.h"

namespace tavoe {

namespace {

constexpr const char* kKeywords[] = {"Name",      "Description", "Command", "Mode",
                                     "Interpret", "Stop",        "Batch",   "Suspend"};
constexpr int kKeywordCount = 8;

bool* OptionField(UserCommand& command, int field) {
    switch (field) {
        case 4:
            return &command.options.interpret;
        case 5:
            return &command.options.stop;
        case 6:
            return &command.options.batch;
        case 7:
            return &command.options.suspend;
        default:
            return nullptr;
    }
}

// Sets the field of the keyword's position from text; false when the value does not fit.
bool SetField(UserCommand& command, int field, const std::string& value) {
    switch (field) {
        case 0:
            command.name = value;
            return true;
        case 1:
            command.description = value;
            return true;
        case 2:
            command.command = value;
            return true;
        case 3:
            if (UpperAscii(value) == "MACRO" || UpperAscii(value) == "EXTERNAL") {
                command.mode =
                    UpperAscii(value) == "MACRO" ? UserCommandMode::Macro : UserCommandMode::External;
                return true;
            }
            return false;
        default:
            if (value != "TRUE" && value != "FALSE") {
                return false;
            }
            *OptionField(command, field) = value == "TRUE";
            return true;
    }
}

void Box(AppSession& app, const std::string& text, Beep beep = Beep::Exclamation) {
    ShowMessage(app, text, MsgTo::Box, beep);
}

std::string Flag(bool on) {
    return on ? "TRUE" : "FALSE";
}

}  // namespace

int ReadUserCommand(AppSession& app, std::string_view name, UserCommand& out) {
    std::vector<std::string> keywords;
    std::vector<std::string> values;
    constexpr int kSlotsRead = kKeywordCount + 4;  // stray lines beyond the eight are noticed
    if (ControlFileRead(app, kUserCommandPathVariable, name, kUserCommandExtension, kSlotsRead, keywords,
                        values) != 0) {
        return -1;
    }
    UserCommand command;
    command.name = std::string(name);
    for (int i = 0; i < kSlotsRead; ++i) {
        if (keywords[i].empty() && values[i].empty()) {
            continue;
        }
        int field = -1;
        for (int k = 0; k < kKeywordCount; ++k) {
            if (UpperAscii(keywords[i]) == UpperAscii(kKeywords[k])) {
                field = k;
            }
        }
        if (field < 0) {
            Box(app, Format("User command '%s': unknown keyword '%s'.", std::string(name).c_str(),
                            keywords[i].c_str()));
            return -1;
        }
        if (!SetField(command, field, values[i])) {
            Box(app, Format("User command '%s': keyword '%s' has invalid value '%s'.",
                            std::string(name).c_str(), keywords[i].c_str(), values[i].c_str()));
            return -1;
        }
    }
    out = std::move(command);
    return 0;
}

int WriteUserCommand(AppSession& app, const UserCommand& command) {
    std::vector<std::string> keywords(std::begin(kKeywords), std::end(kKeywords));
    std::vector<std::string> values{command.name,
                                    command.description,
                                    command.command,
                                    command.mode == UserCommandMode::Macro ? "Macro" : "External",
                                    Flag(command.options.interpret),
                                    Flag(command.options.stop),
                                    Flag(command.options.batch),
                                    Flag(command.options.suspend)};
    return ControlFileWrite(app, kUserCommandPathVariable, command.name, kUserCommandExtension, keywords,
                            values);
}

int ValidateUserCommand(AppSession& app, const UserCommand& command) {
    if (command.name.empty() || command.description.empty() || command.command.empty()) {
        Box(app, "NAME, DESCRIPTION, and COMMAND must be specified.");
        return -1;
    }
    for (char c : command.name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            Box(app, "No blanks or punctuation allowed in User Command name.");
            return -1;
        }
    }
    if (command.name.size() > kUserCommandNameMax) {
        Box(app, "NAME too long.");
        return -1;
    }
    if (command.description.size() > kControlValueMax || command.command.size() > kControlValueMax) {
        Box(app, Format("DESCRIPTION and COMMAND may hold at most %zu characters.", kControlValueMax));
        return -1;
    }
    return 0;
}

int RunUserCommand(AppSession& app, std::string_view name, TerminalHandover* handover) {
    UserCommand command;
    if (ReadUserCommand(app, name, command) != 0) {
        return -1;
    }
    if (command.mode == UserCommandMode::Macro) {
        // SYSTEM replaces the symbols itself, keeping each value one word; replaced here first, a
        // file name with blanks or quotes would be split by it.
        bool system = UpperAscii(SplitCommandWords(command.command).empty()
                                     ? std::string()
                                     : SplitCommandWords(command.command).front()) == "SYSTEM";
        std::string line = system ? command.command : SubstituteCommandSymbols(app, command.command);
        if (line.find_first_not_of(' ') == std::string::npos) {
            Box(app, "COMMAND must be specified.");
            return -1;
        }
        RunGeneralCommand(app, line);
        return 0;
    }
    return RunExternalCommand(app, command.command, command.options, handover);
}

int UserCmdCommand(AppSession& app, std::string_view parameters, TerminalHandover* handover) {
    size_t first = parameters.find_first_not_of(' ');
    std::string name;
    if (first != std::string_view::npos) {
        std::string_view rest = parameters.substr(first);
        name = std::string(rest.substr(0, rest.find(' ')));
    }
    bool listWord = UpperAscii(name) == "RUN" &&
                    FindAlongPath(VarGetValue(app, kUserCommandPathVariable), name + ".ucmd").empty();
    if (name.empty() || listWord) {
        UserCmdDialog(app, handover);
        return 0;
    }
    return RunUserCommand(app, name, handover);
}

namespace {

constexpr const char* kListDialog = "USERCMD";
constexpr const char* kEntryDialog = "USERCMD2";

std::vector<ControlListEntry> CommandRows(AppSession& app) {
    return ControlListRows(app, kUserCommandPathVariable, kUserCommandExtension, "Description");
}

void FillEntryDialog(AppSession& app, const UserCommand& command) {
    VarSetValue(app, "UserCmd2.Name", command.name);
    VarSetValue(app, "UserCmd2.Description", command.description);
    VarSetValue(app, "UserCmd2.Command", command.command);
    WriteDialogArray(app, "UserCmd2.Mode", {"External", "Macro"});
    VarSetValue(app, "UserCmd2.Mode.Select", command.mode == UserCommandMode::Macro ? "2" : "1");
    VarSetValue(app, "UserCmd2.Interpret", Flag(command.options.interpret));
    VarSetValue(app, "UserCmd2.Stop", Flag(command.options.stop));
    VarSetValue(app, "UserCmd2.Batch", Flag(command.options.batch));
    VarSetValue(app, "UserCmd2.Suspend", Flag(command.options.suspend));
}

void ApplyUserCmd(AppSession& app, TerminalHandover* handover) {
    std::string reply = DialogReply(app, "UserCmd.Popup", "UserCmd");
    char letter = reply.empty() ? ' ' : reply[0];
    if (letter == 'N') {
        FillEntryDialog(app, UserCommand{});
        PostCommand(app, Format("DIALOG %s", kEntryDialog));
        return;
    }
    if (letter != 'S' && letter != 'E' && letter != 'D') {
        LeaveDialog(app);
        return;
    }
    std::vector<ControlListEntry> rows = CommandRows(app);
    ControlListEntry entry;
    switch (PickedControlEntry(app, "UserCmd.List", rows, &entry)) {
        case ControlListPick::Nothing:
            Box(app, "Must select a user command before applying operation.", Beep::Information);
            ShowDialogAgain(app, kListDialog);
            return;
        case ControlListPick::Separator:
            Box(app, "Not allowed to select path entry.", Beep::Information);
            ShowDialogAgain(app, kListDialog);
            return;
        case ControlListPick::Entry:
            break;
    }
    if (letter == 'S') {
        LeaveDialog(app);
        RunUserCommand(app, entry.name, handover);
        return;
    }
    if (letter == 'E') {
        UserCommand command;
        if (ReadUserCommand(app, entry.name, command) == 0) {
            FillEntryDialog(app, command);
            PostCommand(app, Format("DIALOG %s", kEntryDialog));
            return;
        }
    } else {
        std::string path = JoinPath(entry.directory, entry.name + std::string(kUserCommandExtension));
        if (!RemoveFile(path).Ok()) {
            Box(app, Format("Unable to delete user command file '%s'.", path.c_str()), Beep::Error);
        }
    }
    ShowDialogAgain(app, kListDialog);
}

// Back to the list below the entry dialog: its own frame goes, the list is queued again.
void BackToList(AppSession& app) {
    PopContext(app);
    PostCommand(app, Format("DIALOG %s", kListDialog));
}

void ApplyUserCmd2(AppSession& app) {
    if (DialogReply(app, "", "UserCmd2") == "CANCEL") {
        BackToList(app);
        return;
    }
    UserCommand command;
    command.name = VarGetValue(app, "UserCmd2.Name");
    command.description = VarGetValue(app, "UserCmd2.Description");
    command.command = VarGetValue(app, "UserCmd2.Command");
    command.mode =
        VarGetValue(app, "UserCmd2.Mode.Select") == "2" ? UserCommandMode::Macro : UserCommandMode::External;
    command.options.interpret = VarGetValue(app, "UserCmd2.Interpret") == "TRUE";
    command.options.stop = VarGetValue(app, "UserCmd2.Stop") == "TRUE";
    command.options.batch = VarGetValue(app, "UserCmd2.Batch") == "TRUE";
    command.options.suspend = VarGetValue(app, "UserCmd2.Suspend") == "TRUE";
    if (ValidateUserCommand(app, command) != 0) {
        ShowDialogAgain(app, kEntryDialog);
        return;
    }
    if (WriteUserCommand(app, command) != 0) {
        ShowDialogAgain(app, kEntryDialog);
        return;
    }
    BackToList(app);
}

}  // namespace

void UserCmdDialog(AppSession& app, TerminalHandover* handover) {
    WriteControlList(app, "UserCmd.List", CommandRows(app));
    VarSetValue(app, "UserCmd.Popup.Reply", "");
    WriteDialogArray(app, "UserCmd.Popup", {"Select", "Edit", "Delete"});
    RunOptionDialog(app, kListDialog, [&app, handover] { ApplyUserCmd(app, handover); });
}

void UserCmd2Dialog(AppSession& app) {
    DialogResult result = ShowDialog(app, kEntryDialog);
    if (result == DialogResult::Committed) {
        ApplyUserCmd2(app);
    } else if (result == DialogResult::Closed) {
        BackToList(app);
    } else {
        FinishUncommittedDialog(app, result);
    }
}

}  // namespace tavoe
