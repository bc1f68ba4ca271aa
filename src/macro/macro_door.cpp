#include "macro/macro_door.h"

#include <filesystem>

#include "core/app_session.h"
#include "core/command_line.h"
#include "core/command_symbols.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "macro/macro_runner.h"
#include "macro/macro_source.h"
#include "platform/format.h"

namespace tavoe {

namespace {

std::string FileListDirectory(AppSession& app) {
    return Shell(app).FileListDirectory(app);
}

}  // namespace

std::string MacroSourceFileName(std::string_view macroName) {
    return CommandToUpper(macroName) + ".C";
}

std::string MacroWorkingDirectory(AppSession& app) {
    std::string directory;
    if (TopContextKind(app) == ContextKind::FileList) {
        directory = FileListDirectory(app);
    } else if (!app.editSessions.empty()) {
        directory = VarGetValue(app, "ZDSNPATH");
    }
    if (directory.empty()) {
        directory = VarIsTrue(app, "ZCOD") ? VarGetValue(app, "ZLAST.COD.PATH") : FileListDirectory(app);
    }
    if (directory.empty()) {
        std::error_code error;
        directory = std::filesystem::current_path(error).string();
    }
    return directory;
}

std::string FindMacroSource(AppSession& app, std::string_view workingDirectory, std::string_view fileName) {
    return FindMacroSourceFile(app, workingDirectory, fileName);
}

std::optional<MacroLaunch> PrepareMacroLaunch(AppSession& app, std::string_view commandText) {
    // A file name can hold no NUL: the line ends at one.
    std::string expanded = SubstituteCommandSymbols(app, commandText.substr(0, commandText.find('\0')));
    CommandWords split = CommandFirstWord(expanded);
    MacroLaunch start;
    start.name = std::string(split.word);
    start.arguments = std::string(split.rest);
    std::string fileName = MacroSourceFileName(start.name);
    if (fileName.size() > kMacroFileNameMax) {
        ShowMessage(app, Format("Macro source file name too long, %s", fileName.c_str()), MsgTo::Box,
                    Beep::Error);
        return std::nullopt;
    }
    start.workingDirectory = MacroWorkingDirectory(app);
    start.sourcePath = FindMacroSource(app, start.workingDirectory, fileName);
    if (start.sourcePath.empty()) {
        ShowMessage(app, Format("Unable to read macro %s", fileName.c_str()), MsgTo::Box, Beep::Error);
        return std::nullopt;
    }
    return start;
}

Status MacroRun(AppSession& app, std::string_view commandText) {
    std::optional<MacroLaunch> launch = PrepareMacroLaunch(app, commandText);
    return launch ? RunMacroLaunch(app, *launch) : Status(-1);
}

}  // namespace tavoe
