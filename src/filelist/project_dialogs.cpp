// The project dialogs: the list of projects (PROJOPEN), a new project (PROJNEW) and the open
// project's members with adding files (PROJECT).
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "core/app_session.h"
#include "core/command_line.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/open_mode.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_vars.h"
#include "filelist/file_list_dialogs.h"
#include "filelist/file_list_session.h"
#include "filelist/projects.h"
#include "platform/dir_entries.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "ui/file_chooser.h"

namespace tavoe {

namespace {

bool IsSeparator(std::string_view row) {
    return row.starts_with("--- ");
}

// The PROJOPEN rows: a separator per directory of the search path, then its projects by name.
std::vector<std::string> ProjectRows(AppSession& app, bool& any) {
    std::vector<std::string> rows;
    any = false;
    for (const std::string& directory : SplitSearchPath(VarGetValue(app, "ZPATH.PROJECTS"))) {
        rows.push_back(Format("--- %s --- ", directory.c_str()));
        for (const std::string& file : ListFilesWithExtension(directory, ".prj")) {
            rows.push_back(file.substr(0, file.size() - 4));
            any = true;
        }
    }
    return rows;
}

std::string ChosenRow(AppSession& app, std::string_view list) {
    if (VarGetNumber(app, DialogVar(list, "Reply.0")) < 1) {
        return {};
    }
    return VarGetValue(app, DialogVar(list, "Reply.1"));
}

void ApplyProjOpen(AppSession& app) {
    std::string reply = DialogReply(app, "", "ProjOpen");
    if (reply == "NEW") {
        VarSetValue(app, "ProjNew.Name", "");
        VarSetValue(app, "ProjNew.FileProf", "");
        PopContext(app);
        PostCommand(app, "DIALOG PROJNEW");
        return;
    }
    std::string chosen = ChosenRow(app, "ProjOpen.List");
    if (chosen.empty() || IsSeparator(chosen)) {
        ShowMessage(app,
                    reply == "DELETE"
                        ? "You must select a project before clicking on DELETE."
                        : "You must select a project before clicking on OPEN or pressing ENTER.",
                    MsgTo::Box, Beep::Exclamation);
        ShowDialogAgain(app, "PROJOPEN");
        return;
    }
    if (reply == "DELETE") {
        std::string path = FindProjectFile(app, chosen);
        if (!path.empty() && Shell(app).ConfirmOkCancel(app, Format("OK to delete %s?", path.c_str())) &&
            std::remove(path.c_str()) != 0) {
            ShowMessage(app, Format("%s, %s error.", path.c_str(), "DELETE"), MsgTo::Box, Beep::Exclamation);
        }
        ShowDialogAgain(app, "PROJOPEN");
        return;
    }
    LeaveDialog(app);
    (void)OpenProject(app, chosen);
}

void ApplyProjNew(AppSession& app) {
    std::string name = std::string(CommandTrim(VarGetValue(app, "ProjNew.Name")));
    std::string profile = std::string(CommandTrim(VarGetValue(app, "ProjNew.FileProf")));
    if (name.empty()) {
        ShowMessage(app, "Project name required.", MsgTo::Box, Beep::Exclamation);
        ShowDialogAgain(app, "PROJNEW");
        return;
    }
    if (!ValidProjectName(name)) {
        ShowMessage(app, "Project name must be all alphanumeric (A..Z, 0..9).", MsgTo::Box,
                    Beep::Exclamation);
        ShowDialogAgain(app, "PROJNEW");
        return;
    }
    std::string path = FindProjectFile(app, name);
    if (!path.empty() &&
        !Shell(app).ConfirmOkCancel(app, "OK for new project to overwrite existing project?")) {
        ShowDialogAgain(app, "PROJNEW");
        return;
    }
    if (!profile.empty() && FindAlongPath(VarGetValue(app, "ZPATH.FILEPROFILES"), profile + ".fp").empty()) {
        ShowMessage(app, Format("File profile override '%s' does not exist.", profile.c_str()), MsgTo::Box,
                    Beep::Exclamation);
        ShowDialogAgain(app, "PROJNEW");
        return;
    }
    if (path.empty()) {
        path = WritePathFor(VarGetValue(app, "ZPATH.PROJECTS"), name + ".prj");
    }
    std::string text = ProjectText(ProjectFile{profile, {}});
    std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "wb");
    bool ok = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file != nullptr && std::fclose(file) != 0) {
        ok = false;
    }
    if (!ok) {
        ShowMessage(app, Format("%s, %s error.", path.c_str(), "WRITE"), MsgTo::Box, Beep::Exclamation);
        ShowDialogAgain(app, "PROJNEW");
        return;
    }
    LeaveDialog(app);
    (void)OpenProject(app, name);
}

// The chooser's type list: the file-type filters, then every file.
std::vector<ui::FileFilter> ChooserFilters(AppSession& app) {
    std::vector<ui::FileFilter> filters;
    for (const std::string& line : FileTypeFilters(app)) {
        ui::FileFilter filter;
        SplitFilter(line, filter.label, filter.patterns);
        filter.label = line;
        filters.push_back(std::move(filter));
    }
    filters.push_back({"All files (*.*)", "*"});
    return filters;
}

// Adds the files chosen in the file chooser. It starts where the last files were added from, with
// the filter used then; both are kept (persistently) for the next time.
void AddChosenFiles(AppSession& app, FileListWindow& window) {
    if (app.screen == nullptr) {
        return;
    }
    ui::FileChooserOptions options;
    options.title = "Navigate to directory, select files to add (ESC to cancel)";
    options.directory = VarGetValue(app, "ZLAST.PROJ.PATH");
    std::error_code error;
    if (!options.directory.empty() && !std::filesystem::is_directory(options.directory, error)) {
        options.directory.clear();  // gone since: start in the current directory
    }
    options.filters = ChooserFilters(app);
    long last = static_cast<long>(options.filters.size()) - 1;
    // Before any files were added this way every file is offered.
    long index =
        VarGetValue(app, "ZLAST.PROJ.FILTER").empty() ? last : VarGetNumber(app, "ZLAST.PROJ.FILTER");
    options.filterIndex = static_cast<int>(std::clamp(index, 0L, last));
    options.multiple = true;
    ui::FileChooserResult chosen = ui::RunFileChooser(*app.screen, options);
    if (!chosen.ok || chosen.names.empty()) {
        return;
    }
    VarSetValue(app, "ZLAST.PROJ.PATH", chosen.directory);
    VarSetPersist(app, "ZLAST.PROJ.PATH", 1);
    VarSetNumber(app, "ZLAST.PROJ.FILTER", chosen.filterIndex);
    VarSetPersist(app, "ZLAST.PROJ.FILTER", 1);
    std::vector<std::string> files;
    for (size_t i = 0; i < chosen.names.size(); ++i) {
        files.push_back(chosen.Path(i));
    }
    (void)AddProjectMembers(app, window, files);
}

void ApplyProject(AppSession& app) {
    FileListWindow* window = CurrentFileList(app);
    std::string reply = DialogReply(app, "", "Project");
    if (window == nullptr || window->projectName.empty()) {
        ShowMessage(app, "Must open project before adding files.", MsgTo::Box, Beep::Exclamation);
        LeaveDialog(app);
        return;
    }
    if (reply == "ADD") {
        std::string path = std::string(CommandTrim(VarGetValue(app, "Project.AddPath")));
        std::string mask = std::string(CommandTrim(VarGetValue(app, "Project.AddMask")));
        VarSetValue(app, "ProjAdd.Path", path);
        VarSetValue(app, "ProjAdd.FileMask", mask);
        VarSetValue(app, "ZLAST.PROJ.PATH", path);
        VarSetPersist(app, "ZLAST.PROJ.PATH", 1);
        if (!path.empty() && path.front() != '/') {
            path = std::filesystem::absolute(path).lexically_normal().string();  // typed relative to here
        }
        (void)AddProjectFiles(app, *window, path, mask);
        ShowDialogAgain(app, "PROJECT");
        return;
    }
    if (reply == "...") {
        AddChosenFiles(app, *window);
        ShowDialogAgain(app, "PROJECT");
        return;
    }
    if (reply == "EDIT" || reply == "BROWSE") {
        std::string chosen = ChosenRow(app, "Project.List");
        if (chosen.empty()) {
            ShowMessage(app, "Select file before requesting operation.", MsgTo::Box, Beep::Exclamation);
            ShowDialogAgain(app, "PROJECT");
            return;
        }
        LeaveDialog(app);
        (void)Shell(app).OpenEditSession(app, chosen, reply == "BROWSE" ? OpenMode::Browse : OpenMode::Edit);
        return;
    }
    LeaveDialog(app);
}

}  // namespace

void ProjOpenDialog(AppSession& app) {
    bool any = false;
    std::vector<std::string> rows = ProjectRows(app, any);
    if (!any) {
        ShowMessage(app, "No projects found, click on NEW to create a project.", MsgTo::Box,
                    Beep::Information);
    }
    WriteDialogArray(app, "ProjOpen.List", rows);
    VarSetNumber(app, "ProjOpen.List.Top", 0);
    RunOptionDialog(app, "PROJOPEN", [&app] { ApplyProjOpen(app); });
}

void ProjNewDialog(AppSession& app) {
    RunOptionDialog(app, "PROJNEW", [&app] { ApplyProjNew(app); });
}

void ProjectDialog(AppSession& app) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr || window->projectName.empty()) {
        ShowMessage(app, "Must open project before adding files.", MsgTo::Box, Beep::Exclamation);
        ShowContextAgain(app);
        return;
    }
    WriteDialogArray(app, "Project.List", window->members);
    VarSetNumber(app, "Project.List.Top", 0);
    VarSetValue(app, "Project.AddPath", VarGetValue(app, "ZLAST.PROJ.PATH"));
    std::string mask = VarGetValue(app, "ProjAdd.FileMask");
    VarSetValue(app, "Project.AddMask", mask.empty() ? std::string("*") : mask);
    RunOptionDialog(app, "PROJECT", [&app] { ApplyProject(app); });
}

}  // namespace tavoe
