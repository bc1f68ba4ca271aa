#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

namespace ui {

class Screen;

enum class FileChooserMode : uint8_t { Open, Save };

// One entry of the type list: what it shows and the patterns it lets through ("*.cbl;*.cob").
struct FileFilter {
    std::string label;
    std::string patterns;
};

struct FileChooserOptions {
    std::string title = "Open";
    std::string directory;            // where to start; empty: the current directory
    std::string fileName;             // the name offered at first
    std::vector<FileFilter> filters;  // empty: "All files (*.*)" only
    int filterIndex = 0;
    FileChooserMode mode = FileChooserMode::Open;
    bool multiple = false;    // several files may be chosen in the list
    bool showHidden = false;  // names beginning with "." are left out otherwise
};

struct FileChooserResult {
    bool ok = false;
    std::string directory;
    std::vector<std::string> names;
    int filterIndex = 0;
    // directory + "/" + names[i].
    std::string Path(size_t i = 0) const;
};

// The program's file chooser: the directory, a field for the name, the type filter, the list of
// subdirectories ("../" for the parent, names ending in "/") and matching files, OK and Cancel.
// Enter or a double click on a directory opens it; choosing a file puts its name in the field; a
// typed name may be a file (new in Save mode), a directory to go to, or a pattern with "*" or "?"
// that becomes the filter. Backspace in the list goes to the parent directory.
FileChooserResult RunFileChooser(Screen& screen, const FileChooserOptions& options);

// Whether a file name matches one of the ";"-separated patterns ("*" and "?", without regard to
// case; "*.*" matches every name).
bool MatchesPatterns(std::string_view name, std::string_view patterns);

}  // namespace ui

}  // namespace tavoe
