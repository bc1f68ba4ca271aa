#include "ui/color_chooser.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "ui/button.h"
#include "ui/form.h"
#include "ui/input_field.h"
#include "ui/screen.h"
#include "ui/static_text.h"

namespace tavoe {

namespace ui {
namespace {

constexpr int kSwatchCols = 6;

// The 4x4 grid of palette entries; each swatch shows its index on its own colour.
class PaletteGrid : public Widget {
public:
    PaletteGrid(const Rect& r, const Palette& palette) : palette_(palette) { rect = r; }

    int current = 0;
    std::function<void()> onMove;

    bool Focusable() const override { return true; }

    void Paint(Painter& painter, const Theme& theme, bool focused) override {
        painter.FillAll(theme.dialog);
        for (int i = 0; i < 16; ++i) {
            int row = i / 4;
            int col = (i % 4) * kSwatchCols;
            const Rgb& rgb = palette_[i];
            int light = 3 * rgb.r + 4 * rgb.g + 2 * rgb.b;
            // Text in black (0) or white (3) of the palette, whichever stands out.
            ColorPair pair{static_cast<uint8_t>(light > 9 * 128 ? 0 : 3), static_cast<uint8_t>(i)};
            char label[4];
            std::snprintf(label, sizeof label, "%2d", i);
            painter.Fill(Rect{row, col + 1, 1, 4}, pair);
            painter.Text(row, col + 2, label, pair);
            if (i == current) {
                painter.Put(row, col, '[', theme.dialog);
                painter.Put(row, col + 5, ']', theme.dialog);
                if (focused) {
                    painter.SetCursor(row, col + 2, CursorShape::Block);
                }
            }
        }
    }

    Handled OnKey(const KeyEvent& key, Screen& screen) override {
        (void)screen;
        int next = current;
        if (key.Is(Key::Left)) {
            next = current % 4 == 0 ? current : current - 1;
        } else if (key.Is(Key::Right)) {
            next = current % 4 == 3 ? current : current + 1;
        } else if (key.Is(Key::Up)) {
            next = current < 4 ? current : current - 4;
        } else if (key.Is(Key::Down)) {
            next = current >= 12 ? current : current + 4;
        } else if (key.Is(Key::Home)) {
            next = 0;
        } else if (key.Is(Key::End)) {
            next = 15;
        } else {
            return Handled::No;
        }
        Move(next);
        return Handled::Yes;
    }

    Handled OnMouse(const MouseEvent& mouse, Screen& screen) override {
        (void)screen;
        if (mouse.action != MouseAction::Press && mouse.action != MouseAction::DoubleClick) {
            return Handled::No;
        }
        int row = mouse.row;
        int col = mouse.col / kSwatchCols;
        if (row >= 0 && row < 4 && col >= 0 && col < 4) {
            Move(row * 4 + col);
        }
        return Handled::Yes;
    }

private:
    void Move(int next) {
        if (next != current) {
            current = next;
            if (onMove) {
                onMove();
            }
        }
    }

    const Palette& palette_;
};

}  // namespace

ColorChooserResult RunColorChooser(Screen& screen, const Palette& palette, int index,
                                   const std::string& title) {
    const Palette original = screen.GetPalette();
    ColorChooserResult result;
    result.palette = palette;
    result.index = std::clamp(index, 0, 15);
    screen.SetPalette(result.palette);

    Form form(title, 7, 40);
    PaletteGrid& grid = form.Add<PaletteGrid>(Rect{0, 0, 4, 4 * kSwatchCols}, result.palette);
    grid.current = result.index;
    const char* names[3] = {"Red:", "Green:", "Blue:"};
    InputField* fields[3];
    for (int i = 0; i < 3; ++i) {
        form.Add<StaticText>(Rect{i, 26, 1, 6}, names[i], TextPrefix::Literal);
        fields[i] = &form.Add<InputField>(Rect{i, 33, 1, 4});
        fields[i]->maxLength = 3;
        fields[i]->accept = [](uint8_t c) { return c >= '0' && c <= '9'; };
    }
    StaticText& hex = form.Add<StaticText>(Rect{3, 26, 1, 12}, "", TextPrefix::Literal);

    bool loading = false;
    auto show = [&]() {
        const Rgb& rgb = result.palette[grid.current];
        char text[16];
        std::snprintf(text, sizeof text, "#%02X%02X%02X", rgb.r, rgb.g, rgb.b);
        hex.text = text;
    };
    auto load = [&]() {
        loading = true;
        const Rgb& rgb = result.palette[grid.current];
        const uint8_t values[3] = {rgb.r, rgb.g, rgb.b};
        for (int i = 0; i < 3; ++i) {
            fields[i]->SetText(std::to_string(values[i]));
        }
        loading = false;
        show();
    };
    for (int i = 0; i < 3; ++i) {
        fields[i]->onChange = [&, i](InputField& field) {
            if (loading) {
                return;
            }
            int value = field.Text().empty() ? 0 : std::min(std::stoi(field.Text()), 255);
            Rgb& rgb = result.palette[grid.current];
            (i == 0 ? rgb.r : i == 1 ? rgb.g : rgb.b) = static_cast<uint8_t>(value);
            screen.SetPalette(result.palette);
            show();
        };
    }
    grid.onMove = load;
    load();

    Button& ok = form.Add<Button>(Rect{6, 16, 1, 10}, "OK");
    ok.isDefault = true;
    ok.onPush = [&form](Button&) { form.End(0); };
    form.defaultButton = &ok;
    Button& cancel = form.Add<Button>(Rect{6, 28, 1, 10}, "Cancel");
    cancel.onPush = [&form](Button&) { form.End(Form::kCancelled); };
    form.SetFocus(&grid, FocusReason::Initial);

    if (screen.RunModal(form) != 0) {
        screen.SetPalette(original);
        return ColorChooserResult{false, index, palette};
    }
    result.ok = true;
    result.index = grid.current;
    screen.SetPalette(original);
    return result;
}

}  // namespace ui

}  // namespace tavoe
