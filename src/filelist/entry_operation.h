#pragma once

#include <string>

namespace tavoe {

struct AppSession;
class FileListWindow;

// The file operations behind the letters C, M, R, D, P, I and U on one entry of a list; 0 on
// success, -1 after a message. The one place where the list hands an entry to them.
int EntryOperation(AppSession& app, FileListWindow& window, const std::string& path, char letter);

// The searches of one file for the file-list FIND, CHANGE and SEARCH: the number of hits, the
// number of changes, 1 when the text is in the file and 0 when not; -1 when the search could not run
// (reported).
int FindInListedFile(AppSession& app, FileListWindow& window, const std::string& path, const std::string& params);
int ChangeInListedFile(AppSession& app, FileListWindow& window, const std::string& path, const std::string& params);
int SearchListedFile(AppSession& app, const std::string& path, const std::string& text);

// NEW: asks for a directory and a new file name and edits the new file.
void NewFileCommand(AppSession& app);

}  // namespace tavoe
