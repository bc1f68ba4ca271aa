// Reads arbitrary bytes as a colorization file: the reader must not crash or hang, a faulty file
// gives exactly one message box and no colorizer, what the writer makes of a clean read must read
// back without a message to the same text, and the colorizer then colours the input's own lines
// (every state, field mode included) within their buffers.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_session.h"
#include "profiles/colorization_io.h"

using namespace tavoe;

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    AppSession app;
    auto colorizer = ParseColorizationText(app, "fuzz", "FUZZ.clr", text);
    if (!colorizer) {
        Check(!app.messages.empty());
        Check(app.messages.back().to == MsgTo::Box);
        return 0;
    }
    std::string written = ColorizationText(*colorizer);
    AppSession again;
    auto reread = ParseColorizationText(again, "fuzz", "FUZZ.clr", written);
    Check(reread != nullptr);
    Check(again.messages.empty());
    Check(ColorizationText(*reread) == written);

    ColorLineState state = ColorLineState::Normal;
    std::string_view rest = text;
    while (!rest.empty()) {
        size_t newline = rest.find('\n');
        std::string_view line = rest.substr(0, newline);
        rest = newline == std::string_view::npos ? std::string_view{} : rest.substr(newline + 1);
        size_t capacity = (line.size() + 7) / 8 * 8;
        std::vector<uint8_t> attributes(capacity + 1, 0xA5);
        ColorizeOutcome outcome = ColorizeText(*colorizer, line, state, 0x03, attributes.data(), capacity);
        Check(attributes[capacity] == 0xA5);
        Check(NextLineState(*colorizer, line, state) == outcome.end);
        state = outcome.end;
    }
    return 0;
}
