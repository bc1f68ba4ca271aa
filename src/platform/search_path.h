#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// Search paths: lists of directories separated by ";", searched from the left. A file is read from
// the first directory that holds it and written to the first directory of the path, so a user's own
// copies take precedence over shared ones.

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f != nullptr) {
            std::fclose(f);
        }
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The directories of a path value, in order, empty entries and surrounding blanks dropped.
std::vector<std::string> SplitSearchPath(std::string_view pathValue);

// Joins a directory and a file name with exactly one "/" between them.
std::string JoinPath(std::string_view directory, std::string_view name);

// The name as it exists in the directory: the exact name when present, else the first entry whose
// name matches it ignoring case (file names from definitions and commands are case-insensitive).
// Empty when neither exists.
std::string ResolveNameInDirectory(std::string_view directory, std::string_view name);

// The full path of the first file along the path that matches the name (exact, then ignoring case in
// each directory before moving on); empty when no directory holds it.
std::string FindAlongPath(std::string_view pathValue, std::string_view name);

// Opens the first match along the path for reading ("r" or "rb"); null when none is found. The path
// of the opened file is stored in foundPath when given.
FilePtr OpenAlongPath(std::string_view pathValue, std::string_view name, const char* mode,
                      std::string* foundPath = nullptr);

// The path a file of this name is written to: in the first directory of the path, keeping the case
// of an existing file there. Empty when the path names no directory.
std::string WritePathFor(std::string_view pathValue, std::string_view name);

}  // namespace tavoe
