// FIND and RFIND, the shared not-found report and repeat restart, and FIND DUPLINES.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "commands/find_commands.h"
#include "commands/find_repeat.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/line_command_run.h"
#include "platform/format.h"

namespace tavoe {

namespace {

// FIND DUPLINES: among the excluded data lines of the range, every group of lines of one length
// (at least the end column) whose text between the columns is equal is shown again.
void ShowDuplicateLines(AppSession& app, EditSession& session, const FindParameters& p) {
    LineRecord* from = p.rangeFrom != nullptr ? p.rangeFrom : LineFirst(session.buffer);
    LineRecord* to = RangeLast(session, p);
    auto first = static_cast<std::size_t>(p.startColumn - 1);
    auto end = static_cast<std::size_t>(p.endColumn);
    std::string key;
    std::unordered_map<std::string, std::vector<LineRecord*>> byKey;
    for (LineRecord* line = from; line != nullptr; line = LineNext(line)) {
        if (IsDataLine(*line) && !LineIsVisible(*line) && line->length >= end && first < end) {
            key = std::to_string(line->length);
            key.push_back(':');
            key.append(LineText(*line).substr(first, end - first));
            byKey[key].push_back(line);
        }
        if (line == to) {
            break;
        }
    }
    std::int64_t shown = 0;
    for (auto& [text, lines] : byKey) {
        if (lines.size() < 2) {
            continue;
        }
        for (LineRecord* line : lines) {
            shown += ShowLineAgain(*line) ? 1 : 0;
        }
    }
    if (shown > 0) {
        session.view.topLine = LineFirst(session.buffer);
        RebuildMarkersKeepingView(app, session);
        session.view.topLine = LineFirst(session.buffer);
        RefreshRowTable(app, session);
    }
    session.find.stringCount = shown;
    session.find.lineCount = shown;
    ShowMessage(app, Format("%lld duplicate lines found", static_cast<long long>(shown)), MsgTo::Line,
                Beep::Information);
}

// The hits of a FIND ALL are painted when their line is shown: the parameters are kept here and the
// line searched again then, so that FIND ALL over a million lines makes no colour bytes.
class PendingHighlight final : public FindHitMarker {
public:
    explicit PendingHighlight(const FindParameters& p) : p_(p), matcher_(p_) {}

    void MarkHits(AppSession& app, EditSession& session, LineRecord& line) override {
        std::string_view text = LineText(line);
        const auto length = static_cast<std::int64_t>(matcher_.Length());
        for (std::int64_t at = matcher_.FindInLine(text, 0, INT32_MAX, SearchWay::Forward); at >= 0;
             at = matcher_.FindInLine(text, at + length, INT32_MAX, SearchWay::Forward)) {
            HighlightHit(app, session, line, static_cast<std::size_t>(at), matcher_.Length());
        }
        LineClearFlag(line, LineFlagB::FindPending);
    }

private:
    FindParameters p_;
    FindMatcher matcher_;
};

void FindAll(AppSession& app, EditSession& session, const FindParameters& p, const FindMatcher& matcher) {
    LineRecord* from = p.rangeFrom != nullptr ? p.rangeFrom : LineFirst(session.buffer);
    LineRecord* to = RangeLast(session, p);
    const auto length = static_cast<std::int64_t>(matcher.Length());
    std::int64_t occurrences = 0;
    std::int64_t lines = 0;
    LineRecord* firstLine = nullptr;
    std::int64_t firstAt = 0;
    bool shownAgain = false;
    for (LineRecord* line = from; line != nullptr; line = LineNext(line)) {
        if (matcher.Eligible(*line)) {
            std::string_view text = LineText(*line);
            std::int64_t at = matcher.FindInLine(text, 0, INT32_MAX, SearchWay::Forward);
            if (at >= 0) {
                ++lines;
                if (firstLine == nullptr) {
                    firstLine = line;
                    firstAt = at;
                }
                shownAgain = ShowLineAgain(*line) || shownAgain;
                LineSetFlag(*line, LineFlagB::FindPending);
                do {
                    ++occurrences;
                    at = matcher.FindInLine(text, at + length, INT32_MAX, SearchWay::Forward);
                } while (at >= 0);
            }
        }
        if (line == to) {
            break;
        }
    }
    session.find.stringCount = occurrences;
    session.find.lineCount = lines;
    session.find.pendingHits = std::make_shared<PendingHighlight>(p);
    if (firstLine == nullptr) {
        ReportNotFound(app, session, p, SearchWay::Forward, RepeatOf::Find);
        return;
    }
    if (shownAgain) {
        RebuildMarkersKeepingView(app, session);
    }
    auto column = static_cast<std::int32_t>(firstAt + 1);
    session.find.lastHitLine = firstLine;
    session.find.lastHitColumn = column;
    PositionAfterFind(app, session, *firstLine, column, static_cast<std::int32_t>(length));
    if (!p.quiet) {
        ShowMessage(
            app,
            Format("Found %lld occurrences of '%s' in %lld lines.", static_cast<long long>(occurrences),
                   p.string1.c_str(), static_cast<long long>(lines)),
            MsgTo::Line, Beep::Information);
    }
}

void FindOne(AppSession& app, EditSession& session, const FindParameters& p, const FindMatcher& matcher) {
    SearchStart start = StartOfSearch(app, session, p);
    LineRecord* stop = start.way == SearchWay::Forward ? start.to : start.from;
    std::optional<SearchHit> hit = SearchLines(session, matcher, start.line, start.column, start.way, stop);
    if (!hit) {
        ReportNotFound(app, session, p, start.way, RepeatOf::Find);
        return;
    }
    if (ShowLineAgain(*hit->line)) {
        RebuildMarkersKeepingView(app, session);
    }
    HighlightHit(app, session, *hit->line, static_cast<std::size_t>(hit->column - 1), matcher.Length());
    PositionAfterFind(app, session, *hit->line, hit->column, static_cast<std::int32_t>(matcher.Length()));
    session.find.stringCount = 1;
    session.find.lineCount = 1;
}

void RunFind(AppSession& app, EditSession& session, std::string_view params) {
    FindParameters p = ParseFindParameters(app, session, params, ParseMode::Find, StringRequired::Yes);
    if (p.failed) {
        return;
    }
    if (p.constraint == FindConstraint::DupLines) {
        ShowDuplicateLines(app, session, p);
        return;
    }
    FindMatcher matcher(p);
    if (p.direction == FindDirection::All) {
        FindAll(app, session, p, matcher);
    } else {
        FindOne(app, session, p, matcher);
    }
}

bool StartsWithWord(std::string_view upper, std::string_view word, std::string_view& rest) {
    if (upper.size() > word.size() && upper.substr(0, word.size()) == word && upper[word.size()] == ' ') {
        rest = upper.substr(word.size() + 1);
        return true;
    }
    return false;
}

}  // namespace

bool ShowLineAgain(LineRecord& line) {
    if (LineIsVisible(line)) {
        return false;
    }
    LineSetFlag(line, LineFlagB::Visible);
    return true;
}

LineRecord* RangeLast(EditSession& session, const FindParameters& p) {
    if (p.rangeTo != nullptr) {
        return p.rangeTo;
    }
    (void)FinishLoad(session.buffer);  // an aborted load is reported; its lines are searched
    return LineLast(session.buffer);
}

void ReportNotFound(AppSession& app, EditSession& session, const FindParameters& p, SearchWay way,
                    RepeatOf what) {
    session.find.stringCount = 0;
    session.find.lineCount = 0;
    if (p.quiet) {
        return;
    }
    const char* shown = p.string1.c_str();
    bool repeating = what == RepeatOf::Find ? session.find.repeatFind : session.find.repeatChange;
    if (!repeating) {
        ShowMessage(app,
                    Format("'%s' not found between columns %d and %d", shown, p.startColumn, p.endColumn),
                    MsgTo::Line, Beep::Information);
        return;
    }
    bool forward = way == SearchWay::Forward;
    const char* verb = what == RepeatOf::Find ? "RFIND" : "RCHANGE";
    ShowMessage(app, Format("%s at %s of data, '%s' not found.", verb, forward ? "bottom" : "top", shown),
                MsgTo::Line, Beep::Information);
    (what == RepeatOf::Find ? session.find.findWrapArmed : session.find.changeWrapArmed) = true;
    session.find.wrapBackward = !forward;
}

void RestartRepeatIfArmed(AppSession& app, EditSession& session, RepeatOf what) {
    bool& armed = what == RepeatOf::Find ? session.find.findWrapArmed : session.find.changeWrapArmed;
    if (!armed) {
        return;
    }
    armed = false;
    EditViewState& view = session.view;
    if (session.find.wrapBackward) {
        (void)FinishLoad(session.buffer);
        view.topLine = LineLast(session.buffer);
    } else {
        view.topLine = LineFirst(session.buffer);
    }
    session.find.lastHitLine = nullptr;
    RefreshRowTable(app, session);
    SetCursorRow(app, session, 0);
    view.cursorColumn = 0;  // the prefix area: the search takes the whole line
}

void FindCommand(AppSession& app, EditSession& session, std::string_view params) {
    RunFind(app, session, params);
}

void RFindCommand(AppSession& app, EditSession& session, std::string_view params) {
    std::string upper = CommandToUpper(CommandTrim(params));
    if (!upper.empty()) {
        // The edit menu's form: the whole command as the parameter.
        std::string_view original = CommandTrim(params);
        std::string_view rest;
        for (std::string_view verb : {"F", "FIND"}) {
            if (StartsWithWord(upper, verb, rest)) {
                FindCommand(app, session, original.substr(original.size() - rest.size()));
                return;
            }
        }
        for (std::string_view verb : {"C", "CH", "CHG", "CHANGE"}) {
            if (StartsWithWord(upper, verb, rest)) {
                ChangeCommand(app, session, original.substr(original.size() - rest.size()));
                return;
            }
        }
        ShowMessage(app, "RFIND, invalid parameters.", MsgTo::Box, Beep::Information);
        return;
    }
    if (!session.find.haveFind) {
        ShowMessage(app, "No previous FIND.", MsgTo::Line, Beep::Information);
        return;
    }
    std::string text = RepeatText(session.find.lastFindText);
    RestartRepeatIfArmed(app, session, RepeatOf::Find);
    session.find.repeatFind = true;
    RunFind(app, session, text);
    session.find.repeatFind = false;
}

}  // namespace tavoe
