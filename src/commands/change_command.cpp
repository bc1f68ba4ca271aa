// CHANGE and RCHANGE: every hit is replaced by string two, one line at a time, so that a line is
// either wholly changed or left as it was; one command is one UNDO step.

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/numbering.h"
#include "commands/find_commands.h"
#include "commands/find_repeat.h"
#include "core/app_session.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "editing/edit_session.h"
#include "editing/line_command_run.h"
#include "editing/undo_journal.h"
#include "platform/format.h"

namespace tavoe {

namespace {

char ToLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
char ToUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

enum class LineChange { Changed, Refused, Cancelled };

// The text a change is built in. When the line shows Find highlights its colour bytes are kept in
// step with every edit, so a found string keeps its colour in the columns it moves to; new bytes
// take the colour of the byte before them.
class Draft {
public:
    void Load(const LineRecord& line) {
        text_.assign(LineText(line));
        carry_ = LineHasFlag(line, LineFlagB::Highlighted) && line.color != nullptr;
        if (carry_) {
            color_.assign(reinterpret_cast<const char*>(line.color), line.length);
        }
    }
    const std::string& Text() const { return text_; }

    void Replace(std::size_t at, std::size_t count, std::string_view with) {
        text_.replace(at, count, with);
        if (carry_) {
            color_.replace(at, count, with.size(), FillColor(at));
        }
    }
    void InsertBlanks(std::size_t at, std::size_t count) { Replace(at, 0, std::string(count, ' ')); }
    void Erase(std::size_t at, std::size_t count) { Replace(at, count, {}); }
    void Resize(std::size_t size) {
        if (size > text_.size()) {
            InsertBlanks(text_.size(), size - text_.size());
        } else {
            Erase(size, text_.size() - size);
        }
    }

    // Gives the changed line the carried colour bytes (its text must be stored already).
    void StoreColors(EditBuffer& buffer, LineRecord& line) const {
        if (!carry_ || line.length == 0 || LineEnsureColor(buffer, line) != 0) {
            return;
        }
        std::size_t count = std::min<std::size_t>(color_.size(), line.capacity);
        std::memcpy(line.color, color_.data(), count);
        if (count > 0 && count < line.capacity) {
            std::memset(line.color + count, line.color[count - 1], line.capacity - count);
        }
        LineSetFlag(line, LineFlagB::Highlighted);
    }

private:
    char FillColor(std::size_t at) const {
        if (color_.empty()) {
            return 0;
        }
        return at > 0 ? color_[std::min(at, color_.size()) - 1] : color_[0];
    }

    std::string text_;
    std::string color_;
    bool carry_ = false;
};

// One command's work on lines: the replacement text is built in `scratch` (reused, so a CHANGE ALL
// over a million lines allocates once), checked against the record length, and only then stored.
// Hits are replaced from the right, so the offsets of those still to come stay valid.
class Changer {
public:
    Changer(AppSession& app, EditSession& session, const FindParameters& p, const FindMatcher& matcher)
        : app_(app), session_(session), p_(p), matcher_(matcher) {
        const FileProfile& profile = session.buffer.profile;
        maxLength_ = profile.maxRecordLength > 0 ? static_cast<std::size_t>(profile.maxRecordLength) : 64000;
        rightBound_ = static_cast<std::size_t>(profile.boundsRight > 0 ? profile.boundsRight : 0);
        dataShift_ = VarGetValue(app, "ZDATASHIFTINCHANGE") == "TRUE" && rightBound_ > 0;
    }

    // Replaces the hits at `offsets` (ascending, not overlapping). A line that would not fit the
    // record length, or whose shift past the right bound the user declined, is left unchanged and
    // marked in error.
    LineChange ChangeLine(LineRecord& line, const std::vector<std::int64_t>& offsets);

    std::int64_t refused = 0;
    bool shownAgain = false;

private:
    std::string Replacement(std::string_view hit) const;
    std::size_t AbsorbBlanks(std::size_t from, std::size_t bound, std::size_t wanted);
    bool MayShiftPastBound();

    AppSession& app_;
    EditSession& session_;
    const FindParameters& p_;
    const FindMatcher& matcher_;
    std::size_t maxLength_ = 64000;
    std::size_t rightBound_ = 0;
    bool dataShift_ = false;
    int shiftAnswer_ = -1;  // the user's answer about shifting past the right bound, once per command
    Draft draft_;
};

std::string Changer::Replacement(std::string_view hit) const {
    if (!p_.picture2 || p_.string2.size() != hit.size()) {
        return p_.string2;
    }
    std::string out(hit.size(), ' ');
    for (std::size_t i = 0; i < hit.size(); ++i) {
        char rule = p_.string2[i];
        out[i] = rule == '=' ? hit[i] : rule == '<' ? ToLower(hit[i]) : rule == '>' ? ToUpper(hit[i]) : rule;
    }
    return out;
}

// Takes up to `wanted` blanks out of the draft's [from, bound): of each run of two or more blanks all but
// one, and all of a run that ends at the bound; the runs nearest the bound go first. Returns how
// many were taken.
std::size_t Changer::AbsorbBlanks(std::size_t from, std::size_t bound, std::size_t wanted) {
    const std::string& text = draft_.Text();
    std::size_t taken = 0;
    std::size_t end = std::min(bound, text.size());
    while (taken < wanted && end > from) {
        if (text[end - 1] != ' ') {
            --end;
            continue;
        }
        std::size_t run = end;
        while (run > from && text[run - 1] == ' ') {
            --run;
        }
        std::size_t spare = end - run - (end == bound ? 0 : 1);
        std::size_t take = std::min(spare, wanted - taken);
        draft_.Erase(end - take, take);
        taken += take;
        end = run;
    }
    return taken;
}

bool Changer::MayShiftPastBound() {
    if (shiftAnswer_ < 0) {
        shiftAnswer_ =
            Shell(app_).ConfirmOkCancel(app_, "OK to shift non-blank characters past right bound?") ? 1 : 0;
    }
    return shiftAnswer_ == 1;
}

LineChange Changer::ChangeLine(LineRecord& line, const std::vector<std::int64_t>& offsets) {
    const std::size_t length = matcher_.Length();
    draft_.Load(line);
    const std::string& text = draft_.Text();
    // A blank string may match past the end of the text: the line counts as padded up to the hit.
    std::size_t lastEnd = static_cast<std::size_t>(offsets.back()) + length;
    if (text.size() < lastEnd) {
        draft_.Resize(lastEnd);
    }
    if (dataShift_ && p_.string2.size() > length && text.size() < rightBound_) {
        draft_.Resize(rightBound_);
    }
    for (auto it = offsets.rbegin(); it != offsets.rend(); ++it) {
        auto at = static_cast<std::size_t>(*it);
        std::string replacement = Replacement(std::string_view(text).substr(at, length));
        std::size_t before = text.size();
        draft_.Replace(at, length, replacement);
        std::size_t end = at + replacement.size();
        if (replacement.size() < length) {
            // A shorter line keeps the data beyond the right bound in its columns.
            std::size_t shrink = length - replacement.size();
            if (rightBound_ > 0 && at + length <= rightBound_ && rightBound_ < before &&
                text.find_first_not_of(' ', rightBound_ - shrink) != std::string::npos) {
                draft_.InsertBlanks(rightBound_ - shrink, shrink);
            }
        } else if (dataShift_ && replacement.size() > length && at + length <= rightBound_) {
            std::size_t growth = replacement.size() - length;
            growth -= AbsorbBlanks(end, rightBound_ + growth, growth);
            if (growth > 0 && text.find_first_not_of(' ', rightBound_) != std::string::npos &&
                !MayShiftPastBound()) {
                LineClearFlag(line, LineFlagB::Changed);
                LineSetFlag(line, LineFlagA::Error);
                return LineChange::Cancelled;
            }
        }
    }
    if (text.size() > maxLength_) {
        // Only trailing blanks may be given up to stay within the record length.
        if (text.find_first_not_of(' ', maxLength_) != std::string::npos) {
            LineSetFlag(line, LineFlagA::Error);
            ++refused;
            return LineChange::Refused;
        }
        draft_.Resize(maxLength_);
    }
    JournalTextChange(app_, session_, line);
    if (LineSetText(session_.buffer, line, text) != 0) {
        ++refused;
        return LineChange::Refused;
    }
    draft_.StoreColors(session_.buffer, line);
    LineSetFlag(line, LineFlagB::Changed);
    LineClearFlag(line, LineFlagA::Error);
    shownAgain = ShowLineAgain(line) || shownAgain;
    session_.buffer.modified = true;
    if (session_.buffer.colorizer != nullptr) {
        session_.buffer.colorizer->ColorizeLine(session_.buffer, line);
    }
    return LineChange::Changed;
}

void ReportRefused(AppSession& app, std::int64_t refused, std::size_t maxLength) {
    if (refused > 0) {
        ShowMessage(
            app,
            Format("CHANGE would make %lld lines longer than the record length %zu; they are unchanged "
                   "and marked in error.",
                   static_cast<long long>(refused), maxLength),
            MsgTo::Box, Beep::Exclamation);
    }
}

void ChangeAll(AppSession& app, EditSession& session, const FindParameters& p, const FindMatcher& matcher) {
    LineRecord* from = p.rangeFrom != nullptr ? p.rangeFrom : LineFirst(session.buffer);
    LineRecord* to = RangeLast(session, p);
    const auto length = static_cast<std::int64_t>(matcher.Length());
    Changer changer(app, session, p, matcher);
    std::vector<std::int64_t> offsets;
    std::int64_t occurrences = 0;
    std::int64_t lines = 0;
    LineRecord* firstLine = nullptr;
    std::int64_t firstAt = 0;
    {
        UndoGroup group(app, session);
        for (LineRecord* line = from; line != nullptr; line = LineNext(line)) {
            if (matcher.Eligible(*line)) {
                std::string_view text = LineText(*line);
                offsets.clear();
                for (std::int64_t at = matcher.FindInLine(text, 0, INT32_MAX, SearchWay::Forward); at >= 0;
                     at = matcher.FindInLine(text, at + length, INT32_MAX, SearchWay::Forward)) {
                    offsets.push_back(at);
                }
                LineChange result =
                    offsets.empty() ? LineChange::Refused : changer.ChangeLine(*line, offsets);
                if (result == LineChange::Cancelled) {
                    break;
                }
                if (result == LineChange::Changed) {
                    occurrences += static_cast<std::int64_t>(offsets.size());
                    ++lines;
                    if (firstLine == nullptr) {
                        firstLine = line;
                        firstAt = offsets.front();
                    }
                }
            }
            if (line == to) {
                break;
            }
        }
    }
    session.find.stringCount = occurrences;
    session.find.lineCount = lines;
    if (changer.shownAgain) {
        RebuildMarkersKeepingView(app, session);
    }
    ReportRefused(app, changer.refused,
                  static_cast<std::size_t>(std::max(session.buffer.profile.maxRecordLength, 0)));
    if (firstLine == nullptr) {
        if (changer.refused == 0) {
            ReportNotFound(app, session, p, SearchWay::Forward, RepeatOf::Change);
        }
        return;
    }
    auto column = static_cast<std::int32_t>(firstAt + 1);
    session.find.lastHitLine = firstLine;
    session.find.lastHitColumn = column;
    PositionAfterFind(app, session, *firstLine, column, static_cast<std::int32_t>(p.string2.size()));
    if (!p.quiet) {
        ShowMessage(app,
                    Format("Changed %lld occurrences of '%s' to '%s' in %lld lines.",
                           static_cast<long long>(occurrences), p.string1.c_str(), p.string2.c_str(),
                           static_cast<long long>(lines)),
                    MsgTo::Line, Beep::Information);
    }
}

void ChangeOne(AppSession& app, EditSession& session, const FindParameters& p, const FindMatcher& matcher) {
    SearchStart start = StartOfSearch(app, session, p);
    LineRecord* stop = start.way == SearchWay::Forward ? start.to : start.from;
    std::optional<SearchHit> hit = SearchLines(session, matcher, start.line, start.column, start.way, stop);
    if (!hit) {
        ReportNotFound(app, session, p, start.way, RepeatOf::Change);
        return;
    }
    Changer changer(app, session, p, matcher);
    bool changed = false;
    {
        UndoGroup group(app, session);
        changed = changer.ChangeLine(*hit->line, {hit->column - 1}) == LineChange::Changed;
    }
    if (changer.shownAgain) {
        RebuildMarkersKeepingView(app, session);
    }
    ReportRefused(app, changer.refused,
                  static_cast<std::size_t>(std::max(session.buffer.profile.maxRecordLength, 0)));
    session.find.stringCount = changed ? 1 : 0;
    session.find.lineCount = changed ? 1 : 0;
    PositionAfterFind(app, session, *hit->line, hit->column, static_cast<std::int32_t>(p.string2.size()));
}

void RunChange(AppSession& app, EditSession& session, std::string_view params) {
    if (session.ReadOnly()) {
        ShowMessage(app, "Not allowed to modify READ-ONLY file.", MsgTo::Box, Beep::Information);
        return;
    }
    FindParameters p = ParseFindParameters(app, session, params, ParseMode::Change, StringRequired::Yes);
    if (p.failed) {
        return;
    }
    if (session.buffer.profile.numberType != NumberType::None) {
        if (std::optional<NumberField> field = ProfileNumberField(session.buffer)) {
            auto first = static_cast<std::int32_t>(field->offset + 1);
            auto last = static_cast<std::int32_t>(field->End());
            if (p.startColumn >= first && p.endColumn <= last) {
                ShowMessage(app,
                            Format("Not allowed to change line number field, columns %d to %d.", first, last),
                            MsgTo::Box, Beep::Exclamation);
                return;
            }
        }
    }
    if (p.string2.empty() && !p.exact2) {
        ShowMessage(app, "String2 null, use QUOTE/QUOTE to indicate null string, CHANGE ignored.", MsgTo::Box,
                    Beep::Exclamation);
        return;
    }
    FindMatcher matcher(p);
    if (p.direction == FindDirection::All) {
        ChangeAll(app, session, p, matcher);
    } else {
        ChangeOne(app, session, p, matcher);
    }
}

}  // namespace

void ChangeCommand(AppSession& app, EditSession& session, std::string_view params) {
    RunChange(app, session, params);
}

void RChangeCommand(AppSession& app, EditSession& session, std::string_view) {
    if (!session.find.haveChange) {
        ShowMessage(app, "No previous CHANGE.", MsgTo::Line, Beep::Information);
        return;
    }
    std::string text = RepeatText(session.find.lastChangeText);
    RestartRepeatIfArmed(app, session, RepeatOf::Change);
    session.find.repeatChange = true;
    RunChange(app, session, text);
    session.find.repeatChange = false;
}

}  // namespace tavoe
