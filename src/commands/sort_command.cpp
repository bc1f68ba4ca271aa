#include "commands/sort_command.h"

#include <algorithm>
#include <optional>
#include <string>

#include "buffer/charset.h"
#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/file_load.h"
#include "commands/sort_lines.h"
#include "commands/sort_params.h"
#include "core/app_session.h"
#include "core/shell_port.h"
#include "core/storage_host.h"
#include "editing/edit_session.h"
#include "editing/edit_view_port.h"
#include "editing/labels.h"
#include "editing/undo_journal.h"
#include "platform/format.h"
#include "profiles/file_profile.h"

namespace tavoe {

namespace {

constexpr int kProgressDotsMax = 80;

// The columns a field may use: the profile's bounds, or the whole record where none are set.
SortBounds SessionBounds(const FileProfile& profile) {
    const int32_t length = profile.maxRecordLength > 0 ? profile.maxRecordLength : kProfileRecordLengthMax;
    SortBounds bounds;
    bounds.left = profile.boundsLeft > 0 ? profile.boundsLeft : 1;
    bounds.right = profile.boundsRight > 0 ? profile.boundsRight : length;
    return bounds;
}

// Lines are compared in the file's own character set: an EBCDIC file by the EBCDIC codes of the
// shown characters (digits after letters), any other by byte value.
CollatingTable SessionCollating(const FileProfile& profile) {
    if (profile.diskCharset != ProfileCharset::Ebcdic) {
        return ByteValueCollating();
    }
    const CharSet shown =
        profile.displayCharset == ProfileCharset::AsciiIbmPc ? CharSet::AsciiIbmPc : CharSet::AsciiIso8859;
    const std::array<std::uint8_t, 256>* table = TranslationTable(shown, CharSet::Ebcdic);
    return table != nullptr ? *table : ByteValueCollating();
}

// The range the labels name, in file order: the whole file without labels, from the label to the
// last line with one. nullopt after a message when a label names no line.
std::optional<LabelRange> SortRange(AppSession& app, EditSession& session,
                                    const std::vector<std::string>& labels) {
    LabelRange range{LineFirst(session.buffer), LineLast(session.buffer)};
    if (labels.empty()) {
        return range;
    }
    LineRecord* ends[2] = {nullptr, LineLast(session.buffer)};
    for (size_t i = 0; i < labels.size(); ++i) {
        ends[i] = FindLabel(app, session, labels[i]);
        if (ends[i] == nullptr) {
            Refuse(app, Format("Label '%s' not found", labels[i].c_str()), MsgTo::Box, Beep::Exclamation);
            return std::nullopt;
        }
    }
    if (!LineAtOrBefore(ends[0], ends[1])) {
        std::swap(ends[0], ends[1]);
    }
    return LabelRange{ends[0], ends[1]};
}

// Every key exists up to the longest line of the range: a field that starts beyond it has no text
// (reported, and it takes no part), one that ends beyond it is cut there.
std::vector<SortField> FieldsWithinText(AppSession& app, const std::vector<SortField>& fields,
                                        std::uint32_t longest) {
    std::vector<SortField> kept;
    for (SortField field : fields) {
        if (static_cast<std::uint32_t>(field.startColumn) > longest) {
            ShowMessage(app, Format("SORT: no text between %d and %d", field.startColumn, field.endColumn),
                        MsgTo::Box, Beep::Exclamation);
            continue;
        }
        field.endColumn = std::min<int32_t>(field.endColumn, static_cast<int32_t>(longest));
        kept.push_back(field);
    }
    return kept;
}

// The window title shows "Sorting " and a row of 1 to 80 dots, one more at each question; Escape
// stops the sort.
class TitleProgress : public SortProgress {
public:
    TitleProgress(AppSession& app, EditSession& session) : app_(app), session_(session) {}
    ~TitleProgress() override {
        if (dots_ > 0) {
            Shell(app_).ShowProgressTitle(app_, "");
        }
    }
    TitleProgress(const TitleProgress&) = delete;
    TitleProgress& operator=(const TitleProgress&) = delete;

    bool KeepGoing() override {
        dots_ = dots_ % kProgressDotsMax + 1;
        Shell(app_).ShowProgressTitle(app_, "Sorting " + std::string(static_cast<size_t>(dots_), '.'));
        return !session_.buffer.host.EscapePressed();
    }

private:
    AppSession& app_;
    EditSession& session_;
    int dots_ = 0;
};

// Marks the session's sort as running for as long as it lives.
class ActiveSort {
public:
    explicit ActiveSort(EditSession& session) : session_(session) { session_.sortActive = true; }
    ~ActiveSort() { session_.sortActive = false; }
    ActiveSort(const ActiveSort&) = delete;
    ActiveSort& operator=(const ActiveSort&) = delete;

private:
    EditSession& session_;
};

// The width of an excluded-lines marker: the shown data columns, at most the record past the
// horizontal scroll.
int MarkerWidth(AppSession& app, EditSession& session) {
    const DataWindowSize window = EditView(app).WindowSize(app, session);
    const int columns = std::max(window.columns - session.view.prefixWidth, 0);
    return std::clamp(session.buffer.profile.maxRecordLength - session.view.horizontalOffset, 0, columns);
}

// After the lines moved: the first shown row stays at the place it had in the range (a marker there
// hands over to the line behind it), and when excluded lines moved among shown ones the markers are
// made again for the new runs.
void RefreshAfterSort(AppSession& app, EditSession& session, const SortSelection& selection,
                      SortFilter filter, std::optional<size_t> topSlot) {
    EditBuffer& buffer = session.buffer;
    LineRecord* anchor = session.view.topLine;
    if (topSlot.has_value()) {
        anchor = selection.slots[*topSlot];
    }
    // Sorting only excluded or only shown lines keeps every line's visibility in its place.
    if (filter == SortFilter::All && selection.hiddenChosen) {
        while (anchor != nullptr && anchor->kind == LineKind::ExcludedMarker) {
            anchor = LineNext(anchor);
        }
        (void)RebuildExcludedMarkers(buffer, MarkerWidth(app, session));  // reports its own failure
        while (anchor != nullptr && !LineIsVisible(*anchor)) {
            anchor = LinePrev(anchor);  // ends on the marker in front of the anchor's run
        }
    }
    if (session.view.topLine != nullptr) {
        session.view.topLine = anchor != nullptr ? anchor : LineFirst(buffer);
    }
    EditView(app).RebuildRows(app, session);
}

}  // namespace

void SortCommand(AppSession& app, EditSession& session, std::string_view params) {
    if (session.sortActive) {
        Refuse(app, "SORT: already active, try again later.", MsgTo::Box, Beep::Information);
        return;
    }
    if (session.ReadOnly()) {
        Refuse(app, "Not allowed to modify READ-ONLY file.", MsgTo::Box, Beep::Exclamation);
        return;
    }
    EditBuffer& buffer = session.buffer;
    const SortParse parse = ParseSortParams(params, SessionBounds(buffer.profile));
    if (!parse.error.empty()) {
        Refuse(app, parse.error, MsgTo::Box, Beep::Exclamation);
        return;
    }
    const SortRequest& request = parse.request;
    if (FinishLoad(buffer) != 0) {
        return;  // the load was stopped or failed, and said so
    }
    std::optional<LabelRange> range = SortRange(app, session, request.labels);
    if (!range.has_value()) {
        return;
    }
    ActiveSort active(session);
    SortSelection selection = SelectSortLines(range->from, range->to, request.filter);
    SortOutcome outcome = SortOutcome::InOrder;
    if (selection.chosen.size() >= 2) {
        const std::vector<SortField> fields = FieldsWithinText(app, request.fields, selection.longest);
        std::optional<size_t> topSlot;
        if (auto at = std::find(selection.slots.begin(), selection.slots.end(), session.view.topLine);
            at != selection.slots.end()) {
            topSlot = static_cast<size_t>(at - selection.slots.begin());
        }
        TitleProgress progress(app, session);
        outcome = SortSelectedLines(buffer, selection, fields, SessionCollating(buffer.profile), progress);
        if (outcome == SortOutcome::Reordered) {
            buffer.modified = true;
            // The journal's entries name the places lines had; they no longer hold.
            if (SessionUndoJournal(session) != nullptr) {
                (void)UndoClear(app, session);  // reports its own failure
            }
            RefreshAfterSort(app, session, selection, request.filter, topSlot);
        }
    }
    if (outcome == SortOutcome::Stopped) {
        ShowMessage(app, "Sort aborted, cancel out of file to restore original order.", MsgTo::Box,
                    Beep::Exclamation);
        return;
    }
    ShowMessage(app, "Sort complete.", MsgTo::Line, Beep::Information);
}

}  // namespace tavoe
