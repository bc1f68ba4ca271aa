#pragma once

#include <string>
#include <string_view>

namespace tavoe {

// Keywords, names and commands compare without regard to case in the ASCII letters only: the same
// answer whatever the locale, and bytes of 128 and up stay as they are.
std::string UpperAscii(std::string_view text);

}  // namespace tavoe
