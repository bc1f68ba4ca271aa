#include "editing/session_clipboard.h"

#include "core/app_session.h"
#include "ui/input_field.h"
#include "ui/screen.h"

namespace tavoe {

namespace {

// Terminals refuse or cut long clipboard escapes; longer texts reach only our own clipboard.
constexpr std::size_t kTerminalOfferMax = 100000;

}  // namespace

Clipboard& SessionClipboard(AppSession& app) {
    if (!app.clipboard) {
        app.clipboard = std::make_unique<Clipboard>(ClipboardDirectory(), SystemDesktopClipboard());
    }
    return *app.clipboard;
}

ui::DisplaySetCodec SessionClipboardCodec(const AppSession& app) {
    return ui::DisplaySetCodec(app.screen != nullptr ? app.screen->GetDisplaySet() : ui::DisplaySet::Iso8859);
}

ClipboardWriteResult PutClipboardPieces(AppSession& app, const ClipboardPieces& pieces) {
    const ui::DisplaySetCodec codec = SessionClipboardCodec(app);
    // The text's first bytes, kept for the terminal, which only takes short texts.
    std::string head;
    ClipboardWriteResult result = SessionClipboard(app).Write(
        [&](std::string& piece) {
            ClipboardPiece said = pieces(piece);
            if (head.size() <= kTerminalOfferMax) {
                head.append(piece, 0, kTerminalOfferMax + 1 - head.size());
            }
            return said;
        },
        codec);
    if (result.stored && !result.desktopTook && app.screen != nullptr && result.bytes <= kTerminalOfferMax) {
        head.resize(result.bytes);
        (void)app.screen->GetBackend().OfferClipboard(codec.ToUtf8(head));
    }
    return result;
}

bool PutClipboardText(AppSession& app, std::string_view bytes) {
    return PutClipboardPieces(app, SinglePiece(bytes)).stored;
}

void ConnectFieldClipboard(AppSession& app, ui::InputField& field, FieldCopy copy) {
    if (copy == FieldCopy::Allowed) {
        field.copyText = [&app](const std::string& text) { (void)PutClipboardText(app, text); };
    }
    field.pasteText = [&app] { return GetClipboardText(app).value_or(std::string()); };
}

std::optional<std::string> GetClipboardText(AppSession& app) {
    return SessionClipboard(app).Read(SessionClipboardCodec(app));
}

}  // namespace tavoe
