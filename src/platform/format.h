#pragma once

#include <string>

namespace tavoe {

// The project's one printf-style helper: messages are written at their point of use as literal
// format strings, so searching for a message text finds the code that shows it.
[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...);

}  // namespace tavoe
