// Parses arbitrary bytes as a dialog definition file, then lays out and builds whatever parses,
// in both the natural and the full-window style.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/app_session.h"
#include "core/var_store.h"
#include "dialogs/dialog_layout.h"
#include "dialogs/dialog_parser.h"

using namespace tavoe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AppSession app;
    // Variables the parser and the builder read, so COLOR and MULTICOL references resolve.
    VarSetValue(app, "ZCOLOR.PAIR", "3,12");
    VarSetValue(app, "ZMULTI", "TRUE");
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto def = ParseDialogText(app, "fuzz", text);
    if (def) {
        DialogScreen screen;
        screen.pixels = LegacyPixelMetrics{640, 480, 4, 4, 20, 8, 16, BorderMode::Alternate};
        BuildDialogTemplate(app, *def, screen);
        VarSetValue(app, "ZMENUSTYLE", "Legacy Tavo");
        BuildDialogTemplate(app, *def, screen);
        for (const DialogObject& obj : def->objects) {
            (void)ResolveButtonCaption(app, *def, obj);
        }
        (void)ResolveDialogTitle(app, *def);
    }
    return 0;
}
