// EXCLUDE hides the visible lines that hold a string; FLIP shows the hidden lines and hides the
// shown ones.

#include <optional>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "commands/find_commands.h"
#include "commands/find_repeat.h"
#include "core/app_session.h"
#include "editing/edit_session.h"
#include "editing/line_command_run.h"
#include "platform/format.h"

namespace tavoe {

void ExcludeCommand(AppSession& app, EditSession& session, std::string_view params) {
    FindParameters p = ParseFindParameters(app, session, params, ParseMode::Find, StringRequired::No);
    if (p.failed) {
        return;
    }
    if (p.string1.empty()) {
        ShowMessage(app, "String1 required (or put string in quotes)", MsgTo::Box, Beep::Exclamation);
        return;
    }
    p.lineFilter = LineFilter::Visible;
    FindMatcher matcher(p);
    std::int64_t excluded = 0;
    if (p.direction == FindDirection::All) {
        LineRecord* to = RangeLast(session, p);
        for (LineRecord* line = p.rangeFrom != nullptr ? p.rangeFrom : LineFirst(session.buffer);
             line != nullptr; line = LineNext(line)) {
            if (matcher.Eligible(*line) &&
                matcher.FindInLine(LineText(*line), 0, INT32_MAX, SearchWay::Forward) >= 0) {
                LineClearFlag(*line, LineFlagB::Visible);
                ++excluded;
            }
            if (line == to) {
                break;
            }
        }
    } else {
        SearchStart start = StartOfSearch(app, session, p);
        LineRecord* stop = start.way == SearchWay::Forward ? start.to : start.from;
        if (std::optional<SearchHit> hit =
                SearchLines(session, matcher, start.line, start.column, start.way, stop)) {
            LineClearFlag(*hit->line, LineFlagB::Visible);
            excluded = 1;
        }
    }
    session.find.stringCount = excluded;
    session.find.lineCount = excluded;
    if (excluded > 0) {
        RebuildMarkersKeepingView(app, session);
    }
    if (p.quiet) {
        return;
    }
    if (excluded > 0) {
        ShowMessage(app,
                    Format("Excluded %lld lines containing '%s'", static_cast<long long>(excluded),
                           p.string1.c_str()),
                    MsgTo::Line, Beep::Information);
    } else {
        ShowMessage(app,
                    Format("'%s' not found in visible lines between columns %d and %d.", p.string1.c_str(),
                           p.startColumn, p.endColumn),
                    MsgTo::Line, Beep::Information);
    }
}

void FlipCommand(AppSession& app, EditSession& session, std::string_view) {
    (void)FinishLoad(session.buffer);  // an aborted load is reported; the lines it has are flipped
    for (LineRecord& line : Lines(session.buffer)) {
        if (IsDataLine(line)) {
            line.flagsB ^= static_cast<std::uint8_t>(LineFlagB::Visible);
        }
    }
    RebuildMarkersKeepingView(app, session);
}

}  // namespace tavoe
