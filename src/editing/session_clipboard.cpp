#include "editing/session_clipboard.h"

#include "core/app_session.h"
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

bool PutClipboardText(AppSession& app, std::string_view bytes) {
    const ui::DisplaySetCodec codec = SessionClipboardCodec(app);
    ClipboardWriteResult result = SessionClipboard(app).Write(bytes, codec);
    if (result.stored && !result.desktopTook && app.screen != nullptr && bytes.size() <= kTerminalOfferMax) {
        (void)app.screen->GetBackend().OfferClipboard(codec.ToUtf8(bytes.substr(0, bytes.find('\0'))));
    }
    return result.stored;
}

std::optional<std::string> GetClipboardText(AppSession& app) {
    return SessionClipboard(app).Read(SessionClipboardCodec(app));
}

}  // namespace tavoe
