#pragma once

#include <array>
#include <string_view>

namespace tavoe {

// The dialogs DIALOG opens by name, each with its own preparation; other names are ignored.
extern const std::array<std::string_view, 76> BuiltInDialogNames;
bool IsBuiltInDialog(std::string_view upperName);

}  // namespace tavoe
