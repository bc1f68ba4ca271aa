#pragma once

#include <string>
#include <string_view>
#include <vector>

// The regular files of a directory whose names end in an extension, compared without regard to case
// (".TPL" lists "cobol.tpl" too), sorted by name ascending without regard to case. Empty when the directory
// cannot be read.
std::vector<std::string> ListFilesWithExtension(const std::string& directory, std::string_view extension);
