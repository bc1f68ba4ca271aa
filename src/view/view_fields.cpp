#include "view/view_fields.h"

#include <algorithm>
#include <array>

#include "buffer/charset.h"
#include "buffer/edit_buffer.h"
#include "core/app_session.h"
#include "editing/edit_session.h"
#include "editing/keys.h"
#include "platform/format.h"
#include "view/view_rows.h"

namespace tavoe {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

std::string ShowColsField(const EditSession& session, int32_t offset, int dataColumns) {
    int32_t length = std::max(session.buffer.profile.maxRecordLength, 1);
    int32_t first = std::clamp(offset + 1, 1, length);
    int32_t last = std::min(first + std::max(dataColumns, 1) - 1, length);
    if (length < 100) {
        return Format("COLS %02d %02d", first, last);
    }
    if (length < 1000) {
        return Format("COLS %03d %03d", first, last);
    }
    if (length < 10000) {
        return Format("COLS %04d %04d", first, last);
    }
    return Format("COLS %05d %05d", first, last);
}

std::string ShowStatusLine(AppSession& app) {
    EditSession* session = CurrentEditSession(app);
    if (app.closing || session == nullptr || !IsFileProfile(session->buffer.profile) ||
        session->buffer.fileName.empty()) {
        return {};
    }
    const EditViewState& view = session->view;
    std::string text = " ";
    const LineRecord* line = ViewCursorLine(*session);
    if (line != nullptr && IsDataLine(*line) && line->recordNumber != 0) {
        text += Format("L %u", static_cast<unsigned>(line->recordNumber));
    } else {
        text += "L -";
    }
    if (view.focus == KeyField::Data && view.cursorColumn >= view.prefixWidth) {
        text += Format("  C %d", view.cursorColumn - view.prefixWidth + 1 + view.horizontalOffset);
        // Where typing goes, whether it inserts or overtypes (a caret's shape does not show in every
        // terminal).
        if (!session->ReadOnly()) {
            text += CurrentTypingMode(app) == ui::TypingMode::Insert ? "  Ins" : "  Ovr";
        }
    } else {
        text += "  C -";
    }
    if (app.editSessions.size() > 1) {
        text += Format("  Task %d", static_cast<int>(app.editSessions.size()));
    }
    if (session->ReadOnly()) {
        text += "  RdOnly";
    }
    return text;
}

HexPaneRows ShowHexPane(const EditSession& session, int dataColumns) {
    HexPaneRows rows;
    const LineRecord* top = session.view.topLine;
    while (top != nullptr && !LineIsVisible(*top)) {
        top = LinePrev(top);
    }
    if (top == nullptr || !IsDataLine(*top)) {
        rows.high = "Hex codes are displayed in this window";
        rows.low = "when top display line is a data line.";
        return rows;
    }
    const FileProfile& profile = session.buffer.profile;
    const std::array<std::uint8_t, 256>* toFile = nullptr;
    if (profile.diskCharset == ProfileCharset::Ebcdic) {
        toFile = TranslationTable(static_cast<CharSet>(profile.displayCharset), CharSet::Ebcdic);
    }
    size_t count = static_cast<size_t>(std::max(dataColumns, 0));
    rows.high.assign(count, ' ');
    rows.low.assign(count, ' ');
    std::string_view text = LineText(*top);
    size_t offset = static_cast<size_t>(std::max(session.view.horizontalOffset, 0));
    for (size_t i = 0; i < count && offset + i < text.size(); ++i) {
        auto code = static_cast<std::uint8_t>(text[offset + i]);
        if (toFile != nullptr) {
            code = (*toFile)[code];
        }
        rows.high[i] = kHexDigits[code >> 4];
        rows.low[i] = kHexDigits[code & 15];
    }
    return rows;
}

char RulerCharAt(int32_t column, int32_t length) {
    if (column < 1 || column > length) {
        return ' ';
    }
    // The digits of a multiple of ten run from that column to the right; five digits at most, so
    // they never reach the next multiple.
    int32_t decade = column - column % 10;
    if (decade >= 10 && length - decade >= 4) {
        std::string digits = std::to_string(decade);
        size_t at = static_cast<size_t>(column - decade);
        if (at < digits.size()) {
            return digits[at];
        }
    }
    return column % 5 == 0 ? '+' : '-';
}

}  // namespace tavoe
