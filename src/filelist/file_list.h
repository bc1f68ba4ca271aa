#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "filelist/file_list_link.h"

namespace tavoe {

// The data of one file list: the paths it lists, its directory and file rows (directories always
// before files), the counts shown in the header line, and the sort last applied.

// Attribute bits. Read-only, hidden, system and archive are the classic four; a Linux list also
// knows symbolic links and executables, which the Attr column shows as `ls -l` users expect.
enum EntryAttr : uint8_t {
    kAttrReadOnly = 1,
    kAttrHidden = 2,
    kAttrSystem = 4,
    kAttrArchive = 8,
    kAttrLink = 16,
    kAttrExec = 32,
};

struct FileEntry {
    bool isDirectory = false;
    std::string name;  // without the directory
    std::string ext;   // after the last "." when extensions are shown separately, else ""
    uint64_t size = 0;
    std::time_t modified = 0;  // last write, shown in local time
    uint8_t attrs = 0;         // EntryAttr bits
    std::string path;          // the directory the entry was found in, ending in "/"
    EntryAction action = EntryAction::None;
    int count = 0;          // changes or hits for the Changed and Found actions
    std::string pending;    // the line command typed in the row's action column
    bool selected = false;  // chosen with the mouse or SELECT
    bool excluded = false;  // hidden from the list (file-list FIND, the Exclude verb)
};

enum class SortField { Name, Ext, Size, Date, Attr, Action, Path };
enum class SortOrder { Ascending, Descending };

struct FileList {
    std::string paths[4];  // as listed, each ending in "/" (empty: nothing)
    std::string mask = "*";
    bool recursive = false;
    std::vector<FileEntry> dirs;
    std::vector<FileEntry> files;
    uint64_t dirCount = 0;
    uint64_t fileCount = 0;
    uint64_t byteCount = 0;
    long maxEntries = 10000;
    bool locked = false;
    bool aborted = false;
    bool limited = false;  // loading stopped at maxEntries
    bool sorted = false;
    SortField sortField = SortField::Name;
    SortOrder sortOrder = SortOrder::Ascending;
    bool reloadNeeded = false;
    bool redrawNeeded = false;
    std::string title;  // a project's "File List for %s"; empty for a directory list
};

// The rows in display order: directories, then files, skipping excluded ones.
std::vector<FileEntry*> VisibleRows(FileList& list);

// The full path of an entry: the directory it was found in and its name.
std::string EntryFullPath(const FileEntry& entry);

// Recounts dirCount, fileCount and byteCount from the rows that are not excluded.
void RecountList(FileList& list);

}  // namespace tavoe
