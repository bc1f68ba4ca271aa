#pragma once

#include <string>
#include <string_view>

#include "filelist/file_list.h"

namespace tavoe {

// Loading the entries of a file list from its paths.

struct Reporter;

// What a loading pass reads from the settings (ZFLIST.* variables).
struct LoadOptions {
    std::string mask = "*";  // ";"-separated patterns for the files; "*.*" lists every file
    bool recursive = false;
    bool showDirs = true;
    bool showFiles = true;
    bool showHidden = false;
    bool showSystem = false;
    bool extSeparate = true;
    long maxEntries = 10000;  // below 1 means 10000
};

// Told every 100 entries loaded; answers whether the user asked to stop.
class LoadProgress {
public:
    virtual ~LoadProgress() = default;
    virtual void Loaded(size_t count) = 0;
    virtual bool StopRequested() = 0;
};

// A path must be absolute: else "Path must be in form: /..." and false. A "/" is appended.
bool NormalizeListPath(Reporter& reporter, std::string& path);

// Loads every non-empty path of the list into it (its rows are replaced). Dot names are hidden;
// directories beginning with "." are never listed. A directory that cannot be read adds nothing.
// Recursion enters every listed directory once (by device and inode), never following a symbolic
// link to a directory, so a link loop cannot make it run forever. Stops at the entry limit with the
// limit message.
void LoadFileList(Reporter& reporter, FileList& list, const LoadOptions& options, LoadProgress* progress);

// Reads the details of one entry (lstat, and stat through a link) into `entry`; false when it does
// not exist (any more).
bool StatEntry(const std::string& fullPath, FileEntry& entry);

// The extension of a name when extensions are shown separately: after the last ".", not for a
// name whose only "." is its first character.
std::string ExtensionOf(std::string_view name);

}  // namespace tavoe
