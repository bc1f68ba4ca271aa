#pragma once

#include <optional>
#include <string>

#include "ui/mnemonic.h"
#include "ui/widget.h"

namespace tavoe {

namespace ui {

enum class Align : uint8_t { Left, Center, Right };

// Static or output text: lines separated by '\n', clipped to the rectangle. With a colour, the text's
// own cells are drawn in it and the rest of the rectangle keeps the form's colour.
class StaticText : public Widget {
public:
    StaticText(const Rect& r, std::string text, TextPrefix prefix = TextPrefix::Mnemonic);

    std::string text;
    TextPrefix prefix;
    Align align = Align::Left;
    std::optional<ColorPair> color;

    void Paint(Painter& painter, const Theme& theme, bool focused) override;
};

// A horizontal line across the rectangle's first row.
class Separator : public Widget {
public:
    explicit Separator(const Rect& r) { rect = r; }
    void Paint(Painter& painter, const Theme& theme, bool focused) override;
};

}  // namespace ui

}  // namespace tavoe
