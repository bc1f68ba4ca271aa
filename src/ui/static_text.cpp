#include "ui/static_text.h"

namespace tavoe {

namespace ui {

StaticText::StaticText(const Rect& r, std::string t, TextPrefix p) : text(std::move(t)), prefix(p) {
    rect = r;
}

void StaticText::Paint(Painter& painter, const Theme& theme, bool focused) {
    (void)focused;
    painter.FillAll(theme.dialog);
    std::string shown = ShownText(text, prefix);
    ColorPair pair = color.value_or(theme.dialog);
    int row = 0;
    size_t start = 0;
    while (start <= shown.size() && row < rect.rows) {
        size_t end = shown.find('\n', start);
        std::string_view line =
            std::string_view(shown).substr(start, end == std::string::npos ? end : end - start);
        int length = static_cast<int>(line.size());
        int col = align == Align::Left     ? 0
                  : align == Align::Center ? (rect.cols - length) / 2
                                           : rect.cols - length;
        painter.Text(row, col < 0 ? 0 : col, line, pair);
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
        ++row;
    }
}

void Separator::Paint(Painter& painter, const Theme& theme, bool focused) {
    (void)focused;
    painter.FillAll(theme.dialog);
    painter.HLine(0, 0, rect.cols, theme.dialog);
}

}  // namespace ui

}  // namespace tavoe
