#pragma once

#include <string_view>
#include <vector>

namespace tavoe {

// The lines of a dialog or menu definition file as its reader sees them: at most 255 characters
// (the rest of a longer line comes as the next line), without the newline and a carriage return.
std::vector<std::string_view> SplitDefinitionLines(std::string_view text);

}  // namespace tavoe
