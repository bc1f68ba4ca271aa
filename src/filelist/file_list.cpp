#include "filelist/file_list.h"

namespace tavoe {

std::vector<FileEntry*> VisibleRows(FileList& list) {
    std::vector<FileEntry*> rows;
    rows.reserve(list.dirs.size() + list.files.size());
    for (FileEntry& entry : list.dirs) {
        if (!entry.excluded) {
            rows.push_back(&entry);
        }
    }
    for (FileEntry& entry : list.files) {
        if (!entry.excluded) {
            rows.push_back(&entry);
        }
    }
    return rows;
}

std::string EntryFullPath(const FileEntry& entry) {
    return entry.path + entry.name;
}

void RecountList(FileList& list) {
    list.dirCount = 0;
    list.fileCount = 0;
    list.byteCount = 0;
    for (const FileEntry& entry : list.dirs) {
        list.dirCount += entry.excluded ? 0 : 1;
    }
    for (const FileEntry& entry : list.files) {
        if (!entry.excluded) {
            ++list.fileCount;
            list.byteCount += entry.size;
        }
    }
}

}  // namespace tavoe
