#pragma once

#include <string>

namespace tavoe {

namespace ui {

enum class MsgBoxButtons : uint8_t { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgBoxIcon : uint8_t { None, Information, Exclamation, Error, Question };
enum class MsgBoxReply : uint8_t { Ok, Cancel, Yes, No };

// What a message box shows and offers. defaultButton counts the buttons from 0 in their order
// (OK Cancel, Yes No, Yes No Cancel).
struct MessageBoxSpec {
    std::string text;  // lines separated by '\n'
    std::string title = "Tavo/E";
    MsgBoxButtons buttons = MsgBoxButtons::Ok;
    MsgBoxIcon icon = MsgBoxIcon::None;
    int defaultButton = 0;
};

// The replies a box offers, in button order; the count is returned.
int MsgBoxChoices(MsgBoxButtons buttons, MsgBoxReply out[3]);
// The reply of the default button (the first when defaultButton is out of range).
MsgBoxReply MsgBoxDefaultReply(const MessageBoxSpec& spec);
const char* MsgBoxReplyName(MsgBoxReply reply);  // "OK", "CANCEL", "YES", "NO"

}  // namespace ui

}  // namespace tavoe
