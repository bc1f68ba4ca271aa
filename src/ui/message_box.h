#pragma once

#include <string>
#include <vector>

#include "ui/message_box_options.h"

namespace tavoe {

namespace ui {

class Screen;

// Shows a message box and returns the reply. A backend that answers boxes itself (headless) is asked
// first. Otherwise the box runs as a form: the icon, the text (its lines wrapped to fit), the buttons
// with the default one focused. Enter pushes the focused button, Tab/Shift+Tab and Left/Right move
// between buttons, the initial letter of a button pushes it, and Escape or F3 answer Cancel when the
// box has it (OK in a box with only OK; nothing in a Yes/No box).
MsgBoxReply ShowMessageBox(Screen& screen, const MessageBoxSpec& spec);

// The text cut into lines of at most width bytes: at '\n', and at the last blank before the width
// (a word longer than the width is cut).
std::vector<std::string> WrapText(std::string_view text, int width);

}  // namespace ui

}  // namespace tavoe
