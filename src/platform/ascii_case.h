#pragma once

#include <string>
#include <string_view>

// Keywords, names and commands compare without regard to case in the ASCII letters only: the same
// answer whatever the locale, and bytes of 128 and up stay as they are.
std::string UpperAscii(std::string_view text);
