// RESET: takes back the marks that line commands, searches and exclusions leave on lines.

#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/labels.h"
#include "editing/line_command_run.h"
#include "editing/line_commands.h"
#include "editing/locate_command.h"
#include "platform/ascii_case.h"
#include "platform/format.h"

namespace tavoe {

namespace {

enum ResetWhat : unsigned {
    kChange = 1u << 0,
    kCommand = 1u << 1,
    kError = 1u << 2,
    kExcluded = 1u << 3,
    kFind = 1u << 4,
    kLabel = 1u << 5,
    kSelection = 1u << 6,
    kSpecial = 1u << 7,
    kEverything = 0xFFu,
};

unsigned KeywordOf(std::string_view upper) {
    static constexpr std::pair<std::string_view, unsigned> kWords[] = {
        {"CHANGE", kChange}, {"COMMAND", kCommand}, {"ERROR", kError},         {"EXCLUDED", kExcluded},
        {"FIND", kFind},     {"LABEL", kLabel},     {"SELECTION", kSelection}, {"SPECIAL", kSpecial},
    };
    for (const auto& [word, what] : kWords) {
        if (word == upper) {
            return what;
        }
    }
    return 0;
}

bool IsSpecialKind(LineKind kind) {
    return kind == LineKind::Bounds || kind == LineKind::Cols || kind == LineKind::Mask ||
           kind == LineKind::Note || kind == LineKind::Tabs;
}

}  // namespace

void ResetCommand(AppSession& app, EditSession& session, std::string_view params) {
    unsigned what = 0;
    std::vector<std::string> labels;
    for (CommandWords words = CommandFirstWord(params); !words.word.empty();
         words = CommandFirstWord(words.rest)) {
        std::string upper = UpperAscii(words.word);
        if (upper.front() == '.') {
            if (labels.size() == 2) {
                ShowMessage(app, "Too many labels specified.", MsgTo::Box, Beep::Exclamation);
                return;
            }
            labels.push_back(upper);
            continue;
        }
        unsigned keyword = KeywordOf(upper);
        if (keyword == 0) {
            ShowMessage(app, Format("'%s' unknown parameter.", std::string(words.word).c_str()), MsgTo::Box,
                        Beep::Exclamation);
            return;
        }
        what |= keyword;
    }
    if (what == 0) {
        what = kEverything;
    }
    std::optional<LabelRange> range =
        ResolveRange(app, session, labels.size() > 0 ? labels[0] : std::string(),
                     labels.size() > 1 ? labels[1] : std::string());
    if (!range) {
        return;
    }
    EditBuffer& buffer = session.buffer;
    if ((what & kCommand) != 0 && labels.empty()) {
        ForgetAllLineCommands(session);
    }
    if ((what & kFind) != 0 && labels.empty()) {
        session.find.pendingHits.reset();
    }
    LineCommandRun run{app, session};
    bool markersStale = false;
    for (LineRecord* line = range->from; line != nullptr;) {
        LineRecord* next = LineNext(line);
        const bool last = line == range->to;
        if ((what & kCommand) != 0 && LineHasPendingCommand(*line)) {
            ForgetLineCommands(session, *line);
        }
        if ((what & kLabel) != 0 && LineHasLabel(*line)) {
            LineClearLabel(*line);
        }
        if ((what & kError) != 0) {
            LineClearFlag(*line, LineFlagA::Error);
        }
        bool recolor = false;
        if ((what & kChange) != 0 && LineHasFlag(*line, LineFlagB::Changed)) {
            LineClearFlag(*line, LineFlagB::Changed);
            LineClearFlag(*line, LineFlagB::Highlighted);
            recolor = true;
        }
        if ((what & kFind) != 0) {
            LineClearFlag(*line, LineFlagB::FindPending);  // hits of a FIND ALL not painted yet
        }
        if ((what & kFind) != 0 && LineHasFlag(*line, LineFlagB::Highlighted) &&
            !LineHasFlag(*line, LineFlagB::Changed)) {
            LineClearFlag(*line, LineFlagB::Highlighted);
            recolor = true;
        }
        if ((what & kSelection) != 0) {
            LineClearSelection(*line);
        }
        if ((what & kExcluded) != 0) {
            if (!LineIsVisible(*line) || line->kind == LineKind::ExcludedMarker) {
                markersStale = true;
            }
            LineSetFlag(*line, LineFlagB::Visible);
        }
        if (recolor && buffer.colorizer != nullptr && line->kind == LineKind::Data) {
            buffer.colorizer->ColorizeLine(buffer, *line);
        }
        if ((what & kSpecial) != 0 && IsSpecialKind(line->kind)) {
            ForgetLineCommands(session, *line);
            DeleteLineRange(run, line, line);
        }
        if (last || next == nullptr) {
            break;
        }
        line = next;
    }
    if (markersStale || run.markersStale) {
        // The rebuild drops every marker and makes new ones for what is still hidden.
        LineRecord* top = session.view.topLine;
        while (top != nullptr && top->kind == LineKind::ExcludedMarker) {
            top = LineNext(top);
        }
        if (buffer.currentLine != nullptr && buffer.currentLine->kind == LineKind::ExcludedMarker) {
            buffer.currentLine = LineNext(buffer.currentLine);
        }
        (void)RebuildExcludedMarkers(buffer, MarkerWidthFor(app, session));
        while (top != nullptr && !LineIsVisible(*top)) {
            top = LinePrev(top);
        }
        session.view.topLine = top != nullptr ? top : LineFirst(buffer);
    }
    if (session.view.topLine == nullptr) {
        session.view.topLine = LineFirst(buffer);
    }
    RefreshRowTable(app, session);
}

}  // namespace tavoe
