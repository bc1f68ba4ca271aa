#pragma once

#include <string_view>

namespace tavoe {

// What was last done to a file-list entry, shown in its Action column.
enum class EntryAction {
    None = 0,
    Browsed = 1,
    Changed = 2,  // with a count of changes
    Copied = 3,
    Created = 4,
    Deleted = 5,
    Edited = 6,
    Found = 7,  // with a count of hits
    Info = 8,
    Moved = 9,
    Printed = 10,
    Renamed = 11,
    SearchHit = 12,
    UserCmd = 13,
};

// What the file operations need of the file list they were started from: mark an entry, drop it,
// and ask for a reload or a redraw once the operation ends. The list implements it; every
// operation also runs without a list (the recent-files dialog, a macro) and then skips these steps.
class FileListLink {
public:
    virtual ~FileListLink() = default;

    // A locked list is not reloaded, so it drops or marks entries itself.
    virtual bool Locked() const = 0;
    // Paths are full paths as the operation received them.
    virtual void SetEntryAction(std::string_view path, EntryAction action, int count = 0) = 0;
    virtual void RemoveEntry(std::string_view path) = 0;
    virtual void MarkForReload() = 0;
    virtual void MarkForRedraw() = 0;
};

}  // namespace tavoe
