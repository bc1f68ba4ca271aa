#include "utilities/utility_commands.h"

#include <vector>

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/var_store.h"
#include "editing/edit_session.h"
#include "platform/file_io.h"
#include "utilities/compare_command.h"
#include "utilities/convert_wizard.h"
#include "utilities/dircompare_command.h"
#include "utilities/external_command.h"
#include "utilities/filescan_command.h"
#include "utilities/print_job.h"
#include "utilities/print_setup.h"
#include "utilities/print_style_dialog.h"
#include "utilities/tag_command.h"
#include "utilities/template_command.h"
#include "utilities/user_command.h"

namespace tavoe {

namespace {

constexpr CommandDesc EditRow(std::string_view verb, EditCommandFn handler = nullptr) {
    return {.table = CommandTable::Edit, .verb = verb, .owner = CommandOwner::Utilities, .edit = handler};
}

constexpr CommandDesc GeneralRow(std::string_view verb, GeneralCommandFn handler = nullptr) {
    return {
        .table = CommandTable::General, .verb = verb, .owner = CommandOwner::Utilities, .general = handler};
}

void Print(AppSession& app, EditSession& session, std::string_view params) {
    (void)PrintCommand(app, session.buffer, params);
}

void PrintSetup(AppSession& app, const GeneralCommandLine&) {
    PrnSetupDialog(app);
}

void PrintStyle(AppSession& app, const GeneralCommandLine&) {
    PrnStyleDialog(app);
}

void System(AppSession& app, const GeneralCommandLine& command) {
    (void)SystemCommand(app, command.allParams, nullptr);
}

void UserCmd(AppSession& app, const GeneralCommandLine& command) {
    (void)UserCmdCommand(app, command.allParams, nullptr);
}

constexpr CommandDesc kUtilityCommands[] = {
    EditRow("PRINT", Print),
    EditRow("TAGFIND", TagFindCommand),
    EditRow("TEMPLATE", TemplateCommand),
    GeneralRow("COMPARE", CompareCommand),
    GeneralRow("COMPAREDIR", CompareDirCommand),
    GeneralRow("CONVERT", ConvertCommand),
    GeneralRow("FILESCAN", FileScanCommand),
    GeneralRow("PRINTSETUP", PrintSetup),
    GeneralRow("PRINTSTYLE", PrintStyle),
    GeneralRow("SYSTEM", System),
    GeneralRow("USERCMD", UserCmd),
};

void XcmdDialogHandler(AppSession& app) {
    XcmdDialog(app, nullptr);
}

void UserCmdDialogHandler(AppSession& app) {
    UserCmdDialog(app, nullptr);
}

constexpr SubsystemDialog kUtilityDialogs[] = {
    {"COMPARE", CompareDialog},        {"COMPDIR", CompDirDialog},   {"FILESCAN", FileScanDialog},
    {"PRNSETUP", PrnSetupDialog},      {"PRNSTYLE", PrnStyleDialog}, {"TEMPLATE", TemplateDialog},
    {"USERCMD", UserCmdDialogHandler}, {"USERCMD2", UserCmd2Dialog}, {"XCMD", XcmdDialogHandler},
};

}  // namespace

CommandRows UtilityCommands() {
    return kUtilityCommands;
}

std::span<const SubsystemDialog> UtilityDialogs() {
    static const std::vector<SubsystemDialog> dialogs = [] {
        std::vector<SubsystemDialog> all(std::begin(kUtilityDialogs), std::end(kUtilityDialogs));
        std::span<const SubsystemDialog> convert = ConvertDialogs();
        all.insert(all.end(), convert.begin(), convert.end());
        return all;
    }();
    return dialogs;
}

void PrefillPathsAndOpen(AppSession& app, std::string_view params,
                         std::initializer_list<const char*> variables, std::string_view dialog) {
    for (const char* variable : variables) {
        size_t begin = params.find_first_not_of(' ');
        if (begin == std::string_view::npos) {
            break;
        }
        params = params.substr(begin);
        size_t end = params.find(' ');
        VarSetValue(app, variable, FullPath(params.substr(0, end)));
        params = end == std::string_view::npos ? std::string_view() : params.substr(end);
    }
    PostCommand(app, "DIALOG " + std::string(dialog));
}

}  // namespace tavoe
