#include "view/view_paint.h"

#include <algorithm>

#include "buffer/edit_buffer.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "editing/edit_session.h"
#include "profiles/colorizer.h"
#include "view/line_colors.h"
#include "view/view_colors.h"
#include "view/view_fields.h"
#include "view/view_rows.h"

namespace tavoe {

namespace {

// The longest COLS ruler.
constexpr int32_t kRulerLengthMax = 9999;

// The top and end markers, excluded-lines markers and NOTE lines are drawn from their first
// character whatever the horizontal offset.
bool DrawnFromStart(LineKind kind) {
    return kind == LineKind::TopMarker || kind == LineKind::EndMarker || kind == LineKind::ExcludedMarker ||
           kind == LineKind::Note;
}

// The colours and limits every row of one paint shares.
struct RowStyle {
    ui::ColorPair text;       // Edit or Browse
    ui::ColorPair select;     // Select
    ui::ColorPair numbers;    // Numbers
    ui::ColorPair other;      // Other
    ui::ColorPair afterText;  // the rest of the record area: Numbers with SHOWEOL, else text
    int prefixWidth = 0;
    int dataColumns = 0;
    int recordColumns = 0;  // data columns that still lie within the maximum record length
};

RowStyle StyleOf(AppSession& app, const EditSession& session, int columns) {
    RowStyle style;
    style.text = ElementColors(app, session.ReadOnly() ? ColorElement::Browse : ColorElement::Edit);
    style.select = ElementColors(app, ColorElement::Select);
    style.numbers = ElementColors(app, ColorElement::Numbers);
    style.other = ElementColors(app, ColorElement::Other);
    style.afterText = session.view.showEol ? style.numbers : style.text;
    style.prefixWidth = std::clamp(session.view.prefixWidth, 0, columns);
    style.dataColumns = columns - style.prefixWidth;
    int32_t record = session.buffer.profile.maxRecordLength - std::max(session.view.horizontalOffset, 0);
    style.recordColumns = std::clamp(record, 0, style.dataColumns);
    return style;
}

void PaintPrefix(const EditBuffer& buffer, LineRecord* line, int row, ui::Painter& painter, AppSession& app,
                 const RowStyle& style, const PrefixOptions& options) {
    if (style.prefixWidth <= 0) {
        return;
    }
    PrefixShown prefix = RowPrefix(buffer, line, style.prefixWidth, options);
    ui::ColorPair color = prefix.element == ColorElement::Numbers ? style.numbers
                          : prefix.element == ColorElement::Other ? style.other
                                                                  : ElementColors(app, prefix.element);
    for (int col = 0; col < style.prefixWidth; ++col) {
        painter.Put(row, col, static_cast<uint8_t>(prefix.text[static_cast<size_t>(col)]), color);
    }
    if (options.boxed) {
        painter.Put(row, style.prefixWidth - 1, ui::glyph::kVLine, color, ui::CellKind::Graphic);
    }
}

// Draws the shown part of the line's text from data column 0 and returns how many columns it took.
int PaintText(const LineRecord& line, int row, ui::Painter& painter, const EditViewState& view,
              const RowStyle& style) {
    std::string_view text = LineText(line);
    size_t first = DrawnFromStart(line.kind) ? 0 : static_cast<size_t>(std::max(view.horizontalOffset, 0));
    if (first >= text.size() || style.dataColumns <= 0) {
        return 0;
    }
    int count = static_cast<int>(std::min(text.size() - first, static_cast<size_t>(style.dataColumns)));
    int x = style.prefixWidth;
    auto put = [&](int i, ui::ColorPair color) {
        painter.Put(row, x + i, static_cast<uint8_t>(text[first + static_cast<size_t>(i)]), color);
    };
    if (line.kind == LineKind::Note) {
        for (int i = 0; i < count; ++i) {
            put(i, style.other);
        }
        return count;
    }
    // The selection in record columns (from 1); the character i of the row is column first + i + 1.
    bool selected = LineHasSelection(line);
    int64_t selFirst = line.selStart;
    int64_t selLast = std::max(line.selEnd, line.selStart);
    auto inSelection = [&](int i) {
        int64_t column = static_cast<int64_t>(first) + i + 1;
        return selected && column >= selFirst && column <= selLast;
    };
    for (int i = 0; i < count; ++i) {
        ui::ColorPair color = style.text;
        if (inSelection(i)) {
            color = style.select;
        } else if (line.color != nullptr) {
            color = ColorByteColors(line.color[first + static_cast<size_t>(i)]);
        }
        put(i, color);
    }
    return count;
}

// Blanks from data column `from` to the end of the row: within the record area in the after-text
// colours, beyond the maximum record length in the Numbers colours.
void PaintRowEnd(int row, int from, ui::Painter& painter, const RowStyle& style) {
    int x = style.prefixWidth;
    if (from < style.recordColumns) {
        painter.Fill(ui::Rect{row, x + from, 1, style.recordColumns - from}, style.afterText);
        from = style.recordColumns;
    }
    if (from < style.dataColumns) {
        painter.Fill(ui::Rect{row, x + from, 1, style.dataColumns - from}, style.numbers);
    }
}

}  // namespace

PrefixOptions PrefixOptionsOf(AppSession& app) {
    PrefixOptions options;
    options.showNumbers = VarGetValue(app, "ZSHOWLINENUM") == "TRUE";
    return options;
}

void PaintEditRows(AppSession& app, EditSession& session, ui::Painter& painter) {
    PaintEditRowsWith(app, session, painter, PrefixOptionsOf(app));
}

void PaintEditRowsWith(AppSession& app, EditSession& session, ui::Painter& painter,
                       const PrefixOptions& options) {
    if (app.closing || painter.Rows() <= 0 || painter.Cols() <= 0) {
        return;
    }
    session.view.dataRows = painter.Rows();
    session.view.dataColumns = painter.Cols();
    RebuildRowTable(session, painter.Rows());
    RowStyle style = StyleOf(app, session, painter.Cols());
    // Only the lines shown are coloured, and only those changed since they were last coloured.
    std::uint8_t base = ColorAttribute(style.text.fg, style.text.bg);
    for (LineRecord* line : session.view.rowTable) {
        if (line != nullptr) {
            EnsureLineColors(app, session.buffer, *line, base);
            if (LineHasFlag(*line, LineFlagB::FindPending)) {
                if (session.find.pendingHits != nullptr) {
                    session.find.pendingHits->MarkHits(app, session, *line);
                }
                LineClearFlag(*line, LineFlagB::FindPending);
            }
        }
    }
    for (int row = 0; row < painter.Rows(); ++row) {
        LineRecord* line = session.view.rowTable[static_cast<size_t>(row)];
        PaintPrefix(session.buffer, line, row, painter, app, style, options);
        int drawn = line != nullptr ? PaintText(*line, row, painter, session.view, style) : 0;
        PaintRowEnd(row, drawn, painter, style);
    }
}

void PaintRulerRow(AppSession& app, EditSession& session, ui::Painter& painter) {
    if (app.closing || painter.Rows() <= 0) {
        return;
    }
    RowStyle style = StyleOf(app, session, painter.Cols());
    if (style.prefixWidth > 0) {
        std::string tag = "<COLS>   ";
        tag.resize(static_cast<size_t>(style.prefixWidth), ' ');
        painter.Text(0, 0, tag, style.other);
    }
    int32_t length = std::min(session.buffer.profile.maxRecordLength, kRulerLengthMax);
    int32_t offset = std::max(session.view.horizontalOffset, 0);
    int drawn = std::clamp(length - offset, 0, style.dataColumns);
    for (int i = 0; i < drawn; ++i) {
        painter.Put(0, style.prefixWidth + i, static_cast<uint8_t>(RulerCharAt(offset + i + 1, length)),
                    style.text);
    }
    PaintRowEnd(0, drawn, painter, style);
}

void PaintHexPane(AppSession& app, EditSession& session, ui::Painter& painter) {
    if (app.closing || painter.Rows() <= 0) {
        return;
    }
    RowStyle style = StyleOf(app, session, painter.Cols());
    painter.FillAll(style.text);
    HexPaneRows rows = ShowHexPane(session, style.dataColumns);
    painter.Text(0, style.prefixWidth, rows.high, style.text);
    if (painter.Rows() > 1) {
        painter.Text(1, style.prefixWidth, rows.low, style.text);
    }
}

ScrollThumb VerticalThumb(const EditSession& session, int rows, int cells) {
    ScrollThumb thumb;
    if (cells <= 0) {
        thumb.length = 0;
        return thumb;
    }
    const FileState& file = session.buffer.file;
    double total = static_cast<double>(file.recordCount);
    if (!file.loadComplete && file.bytesConsumed > 0 && file.loadStamp.valid &&
        file.loadStamp.size > file.bytesConsumed) {
        total = total * static_cast<double>(file.loadStamp.size) / static_cast<double>(file.bytesConsumed);
    }
    total += 2;  // the two markers
    const LineRecord* top = session.view.topLine;
    double position = 0;
    if (top != nullptr && top->kind != LineKind::TopMarker) {
        const LineRecord* data = top;
        while (data != nullptr && (!IsDataLine(*data) || data->recordNumber == 0)) {
            data = LineNext(data);
        }
        position = data != nullptr ? static_cast<double>(data->recordNumber) : total;
    }
    double shown = std::min(static_cast<double>(std::max(rows, 1)), total);
    thumb.length = std::clamp(static_cast<int>(cells * shown / total + 0.5), 1, cells);
    thumb.first = std::clamp(static_cast<int>(cells * position / total), 0, cells - thumb.length);
    return thumb;
}

}  // namespace tavoe
