#include "editing/match_command.h"

#include <algorithm>
#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr std::string_view kOpening = "([{<";
constexpr std::string_view kClosing = ")]}>";

struct Hit {
    LineRecord* line = nullptr;
    std::int32_t column = 0;  // from 1
};

Hit FindPartner(LineRecord* line, std::int32_t column, char from, char to, bool forward) {
    int depth = 0;
    for (LineRecord* walk = line; walk != nullptr; walk = forward ? LineNext(walk) : LinePrev(walk)) {
        if (walk->kind != LineKind::Data) {
            continue;
        }
        std::string_view text = LineText(*walk);
        std::int64_t i = walk == line ? column - 1 + (forward ? 1 : -1)
                                      : (forward ? 0 : static_cast<std::int64_t>(text.size()) - 1);
        for (; i >= 0 && i < static_cast<std::int64_t>(text.size()); i += forward ? 1 : -1) {
            char ch = text[static_cast<size_t>(i)];
            if (ch == from) {
                ++depth;
            } else if (ch == to) {
                if (depth == 0) {
                    return {walk, static_cast<std::int32_t>(i + 1)};
                }
                --depth;
            }
        }
    }
    return {};
}

}  // namespace

void MatchCommand(AppSession& app, EditSession& session, std::string_view) {
    CursorPlace place = CursorPlaceOf(app, session);
    LineRecord* line = place.line;
    std::string_view text = line != nullptr ? LineText(*line) : std::string_view();
    char ch = place.area == CursorArea::Data && place.column >= 1 &&
                      place.column <= static_cast<std::int32_t>(text.size())
                  ? text[static_cast<size_t>(place.column - 1)]
                  : '\0';
    size_t open = kOpening.find(ch);
    size_t close = kClosing.find(ch);
    if (line == nullptr || line->kind != LineKind::Data || ch == '\0' ||
        (open == std::string_view::npos && close == std::string_view::npos)) {
        ShowMessage(app,
                    "MATCH: cursor not on text line or data at current cursor position is non-matchable.",
                    MsgTo::Box, Beep::Exclamation);
        return;
    }
    const bool forward = open != std::string_view::npos;
    const char partner = forward ? kClosing[open] : kOpening[close];
    Hit hit = FindPartner(line, place.column, ch, partner, forward);
    if (hit.line == nullptr) {
        ShowMessage(app, Format("Matching '%c' not found", partner), MsgTo::Line, Beep::Exclamation);
        return;
    }
    if (!LineIsVisible(*hit.line)) {
        ShowMessage(app, Format("Matching '%c' not found", partner), MsgTo::Line, Beep::Exclamation);
        return;
    }
    session.view.cursorRow = std::max(RowShowingLine(app, session, hit.line), 0);
    ShowCursorColumn(app, session, hit.column);
}

}  // namespace tavoe
