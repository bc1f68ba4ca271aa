#pragma once

#include <functional>
#include <string_view>

namespace tavoe {

// The message box offered to shared libraries that macros load (the sample library among them). A
// library cannot know the editor's sessions, so the program exports one C function that the library
// looks up by name at call time; the shell installs the handler that actually shows the box.

// Shows `text` with the caption `title`; an empty title stands for the default caption.
using MessageBoxHandler = std::function<void(std::string_view text, std::string_view title)>;

// Installs the handler that tavoe_message_box forwards to; an empty handler restores the fallback,
// which writes the message on standard error.
void SetMessageBoxHandler(MessageBoxHandler handler);

// The exported hook, with C linkage so libraries find it with dlsym(RTLD_DEFAULT, "tavoe_message_box").
// Either pointer may be null (taken as an empty text).
extern "C" [[gnu::visibility("default")]] void tavoe_message_box(const char* text, const char* title);

}  // namespace tavoe
