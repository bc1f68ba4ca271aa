#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// Projects: a named list of files kept in NAME.prj on the ZPATH.PROJECTS search path, with an
// optional file profile that overrides the one chosen for each file. An open project is shown as a
// file list of its members.

struct AppSession;
class FileListWindow;

struct ProjectFile {
    std::string profile;               // "FileProf=" line; empty when there is no override
    std::vector<std::string> members;  // "File=" lines, in order
};

// Reads the text of a project file: "FileProf=" and "File=" lines; every other line, and a line
// longer than 255 characters, is ignored. Empty member names are skipped.
ProjectFile ParseProjectText(std::string_view text);
// The text written for a project: the "FileProf=" line when there is an override, then one
// "File=" line per member, each ended by a newline.
std::string ProjectText(const ProjectFile& project);

// Letters and digits only, at least one.
bool ValidProjectName(std::string_view name);

// The project file's path along ZPATH.PROJECTS; "" when it is not found.
std::string FindProjectFile(AppSession& app, std::string_view name);

// Opens the project as a file list: ZPROJ.NAME, ZPROJ.TITLE ("File List for %s") and ZPROFILE are
// set. An empty project says "Click on ADD to populate empty project.". False when the project
// cannot be found or read.
bool OpenProject(AppSession& app, std::string_view name);

// Builds the list rows of a project window from its members.
void LoadProjectRows(AppSession& app, FileListWindow& window);

// Adds files to the open project: an existing file, or every file matching the mask in a directory.
// A file already in the project: "'%s' already in project.". Returns how many were added.
int AddProjectFiles(AppSession& app, FileListWindow& window, std::string_view path, std::string_view mask);

// Adds the files named (full paths) to the open project, refusing each one already in it as above.
// Returns how many were added.
int AddProjectMembers(AppSession& app, FileListWindow& window, const std::vector<std::string>& files);

// Writes the project file and clears ZPROJ.NAME and ZPROFILE.
void CloseProject(AppSession& app, FileListWindow& window);

// The project dialogs: the list of projects, a new project, and the open project's window.
void ProjOpenDialog(AppSession& app);
void ProjNewDialog(AppSession& app);
void ProjectDialog(AppSession& app);

}  // namespace tavoe
