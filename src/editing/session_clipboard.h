#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/clipboard.h"
#include "ui/clipboard_codec.h"

namespace tavoe {

namespace ui {
class InputField;
}

// The instance's clipboard as the editing commands use it: display-set bytes in the clipboard format
// (CR LF after each line), converted for the desktop through the display set the screen shows.

struct AppSession;

// The instance's clipboard (app.clipboard), made on first use over the user's clipboard directory and
// the desktop programs of the machine.
Clipboard& SessionClipboard(AppSession& app);

// The conversion for the display set of the instance's screen (ISO-8859-1 without a screen).
ui::DisplaySetCodec SessionClipboardCodec(const AppSession& app);

// Replaces the clipboard text. When no desktop program took it, the terminal is offered it (it may
// pass it on to the desktop). False when even our own clipboard could not store it; no message.
bool PutClipboardText(AppSession& app, std::string_view bytes);

// The same for a text in pieces (a large selection): the whole result, so a caller can tell a
// source that gave up from a failed store.
ClipboardWriteResult PutClipboardPieces(AppSession& app, const ClipboardPieces& pieces);

// Gives a text field the instance's clipboard for its Ctrl+C, Ctrl+X and Ctrl+V; a field whose text
// may not leave it (a password) only pastes.
enum class FieldCopy { Allowed, Refused };
void ConnectFieldClipboard(AppSession& app, ui::InputField& field, FieldCopy copy = FieldCopy::Allowed);

// The clipboard text; nullopt when it is empty.
std::optional<std::string> GetClipboardText(AppSession& app);

}  // namespace tavoe
