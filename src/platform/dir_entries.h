#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// The regular files of a directory whose names end in an extension, compared without regard to case
// (".TPL" lists "cobol.tpl" too), sorted by name ascending without regard to case. Empty when the directory
// cannot be read.
std::vector<std::string> ListFilesWithExtension(const std::string& directory, std::string_view extension);

// The name of the sub-directory as it exists in the directory: the exact name when it is a directory
// there, else the first directory entry whose name matches it ignoring case. Empty when none does.
std::string FindSubdirectory(const std::string& directory, std::string_view name);

}  // namespace tavoe
