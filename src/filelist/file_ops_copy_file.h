#pragma once

#include <string>

namespace tavoe {

// Copying one file for the copy and move operations and the tree copy. The new contents are written
// to a temporary file beside the target and renamed into place only when complete, so a failure (a
// full disk, a read error) removes the partial copy and leaves an existing target as it was.

enum class Overwrite { No, Yes };
// A symbolic link met inside a tree is copied as a link; the entry the user picked is followed.
enum class LinkHandling { Follow, CopyLink };

enum class FileCopyOutcome { Copied, TargetExists, SameFile, NotRegular, Failed };

struct FileCopyResult {
    FileCopyOutcome outcome = FileCopyOutcome::Failed;
    int error = 0;  // errno for Failed
};

// Copies source to target, keeping its permission bits and modification time. Only regular files (or,
// with CopyLink, symbolic links) are copied; a device or pipe is refused rather than read.
FileCopyResult CopyOneFile(const std::string& source, const std::string& target, Overwrite overwrite,
                           LinkHandling links);

}  // namespace tavoe
