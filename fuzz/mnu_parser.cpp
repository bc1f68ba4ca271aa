// Parses arbitrary bytes as a menu definition file, then lays out whatever parses in both the
// natural and the full-window style and acts on a reply built from the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/app_session.h"
#include "dialogs/menu_parser.h"
#include "dialogs/menu_runtime.h"

using namespace tavoe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AppSession app;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto def = ParseMenuText(app, "fuzz", text);
    if (def) {
        DialogScreen screen;
        LayoutMenu(*def, WindowFill::Natural, screen);
        screen.rows = 5;
        screen.cols = 10;
        screen.pixels = LegacyPixelMetrics{640, 480, 4, 4, 20, 8, 16, BorderMode::Normal};
        LayoutMenu(*def, WindowFill::SessionWindow, screen);
        std::string reply(text.substr(0, size % 5));
        ActOnMenuReply(app, *def, reply);
    }
    return 0;
}
