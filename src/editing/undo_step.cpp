#include "editing/undo_step.h"

#include <algorithm>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "editing/edit_session.h"
#include "editing/undo_journal.h"

namespace tavoe {

namespace {

// Marker width when no marker is left to measure: an 80-column window without its prefix area.
constexpr int kFallbackWindowColumns = 80;

bool IsLinked(const EditBuffer& buffer, const LineRecord* line) {
    return line != nullptr && (line->prev != nullptr || line->next != nullptr || buffer.lines.first == line);
}

bool IsHiddenOrMarker(const LineRecord* line) {
    return line != nullptr && (!LineIsVisible(*line) || line->kind == LineKind::ExcludedMarker);
}

// A change next to hidden lines or a marker leaves the markers' counts or places stale.
bool TouchesExcluded(const LineRecord* line) {
    return IsHiddenOrMarker(line) || IsHiddenOrMarker(LinePrev(line)) || IsHiddenOrMarker(LineNext(line));
}

// The first shown line at or after `line`, else the last shown one before it.
LineRecord* ShownLineNear(LineRecord* line) {
    for (LineRecord* walk = line; walk != nullptr; walk = LineNext(walk)) {
        if (LineIsVisible(*walk)) {
            return walk;
        }
    }
    for (LineRecord* walk = LinePrev(line); walk != nullptr; walk = LinePrev(walk)) {
        if (LineIsVisible(*walk)) {
            return walk;
        }
    }
    return nullptr;
}

class Replay {
public:
    explicit Replay(EditSession& session) : buffer_(session.buffer), view_(session.view) {
        // The line the cursor stands on counts as the current line: typing changes that line.
        const int row = view_.cursorRow;
        if (row >= 0 && row < static_cast<int>(view_.rowTable.size())) {
            cursorLine_ = view_.rowTable[static_cast<size_t>(row)];
        }
    }

    void Undo(UndoEntry& entry) {
        switch (entry.kind) {
            case UndoKind::TextChanged:
                RestoreText(entry);
                break;
            case UndoKind::LineDeleted:
                RestoreDeleted(entry);
                break;
            case UndoKind::LineInserted:
                TakeInsertedBack(entry);
                break;
        }
    }

    void RefreshView();

private:
    void Recolor(LineRecord& line) {
        if (buffer_.colorizer != nullptr) {
            buffer_.colorizer->ColorizeLine(buffer_, line);
        }
    }

    void RestoreText(UndoEntry& entry) {
        if (entry.saved == nullptr) {
            return;
        }
        LineRecord& line = *entry.line;
        LineRecord& copy = *entry.saved;
        markersStale_ = markersStale_ || !LineIsVisible(line);
        if (!LineIsVisible(line) && IsLinked(buffer_, &line)) {
            ++buffer_.visibleLineCount;
        }
        LineAdoptText(buffer_, line, copy);
        line.kind = copy.kind;
        LineSetFlagTo(line, LineFlagA::BlankPadded, LineHasFlag(copy, LineFlagA::BlankPadded));
        // The prefix shows the marks ("==CHG>", "==ERR>") the line had before the change.
        LineSetFlagTo(line, LineFlagB::Changed, LineHasFlag(copy, LineFlagB::Changed));
        LineSetFlagTo(line, LineFlagA::Error, LineHasFlag(copy, LineFlagA::Error));
        LineFree(buffer_, &copy);
        entry.saved = nullptr;
        Recolor(line);
        LineClearFlag(line, LineFlagA::NumberValid);
        LineClearFlag(line, LineFlagA::TextModified);
        LineSetFlag(line, LineFlagB::Visible);
        if (IsDataLine(line)) {
            buffer_.modified = true;
        }
        if (buffer_.currentLine == &line || cursorLine_ == &line) {
            // Back to the column of the change, scrolling left when it lies left of the view.
            std::int32_t column = std::max(entry.column, 1);
            if (column - 1 < view_.horizontalOffset) {
                view_.horizontalOffset = column - 1;
            }
            view_.cursorColumn = view_.prefixWidth + (column - 1 - view_.horizontalOffset);
        }
    }

    // Every line of the entry's chain goes back, in order, in front of the line they stood before.
    void RestoreDeleted(UndoEntry& entry) {
        LineRecord* successor = IsLinked(buffer_, entry.saved) ? entry.saved : nullptr;
        TakeDeleteChain(entry, [&](LineRecord& line) { RestoreLine(line, successor); });
    }

    void RestoreLine(LineRecord& line, LineRecord* successor) {
        if (LineInsertBefore(buffer_, successor, &line) != 0 &&
            LineInsertBefore(buffer_, nullptr, &line) != 0) {
            return;  // the line is on the list already; nothing to put back
        }
        LineClearFlag(line, LineFlagA::NumberValid);
        LineClearFlag(line, LineFlagA::UndoMark);
        buffer_.modified = true;
        if (line.color == nullptr) {
            Recolor(line);
        }
        // A line deleted from the top of the window comes back in view.
        if (successor != nullptr && view_.topLine == successor) {
            view_.topLine = &line;
        }
        markersStale_ = markersStale_ || TouchesExcluded(&line);
    }

    // The entry's lines, first to last. Excluded-lines markers made since stand between them at
    // most; they are not the entry's and stay.
    void TakeInsertedBack(UndoEntry& entry) {
        LineRecord* last = entry.saved != nullptr ? entry.saved : entry.line;
        for (LineRecord* line = entry.line; line != nullptr;) {
            LineRecord* next = line == last ? nullptr : LineNext(line);
            // Excluded-line markers are made and dropped outside the journal, so one may stand
            // inside the run; every other line of it was inserted by the run.
            if (line->kind != LineKind::ExcludedMarker) {
                TakeLineBack(*line, entry.hold);
            }
            line = next;
        }
    }

    void TakeLineBack(LineRecord& line, UndoHold hold) {
        if (LineHasFlag(line, LineFlagA::MadeFromCols) || LineHasFlag(line, LineFlagA::MadeFromNote)) {
            line.kind = LineHasFlag(line, LineFlagA::MadeFromCols) ? LineKind::Cols : LineKind::Note;
            LineClearFlag(line, LineFlagA::MadeFromCols);
            LineClearFlag(line, LineFlagA::MadeFromNote);
            LineFreeColor(buffer_, line);
            buffer_.modified = true;
            return;
        }
        if (!IsLinked(buffer_, &line)) {
            return;
        }
        markersStale_ = markersStale_ || TouchesExcluded(&line);
        if (view_.topLine == &line) {
            view_.topLine = LineNext(&line) != nullptr ? LineNext(&line) : LinePrev(&line);
        }
        LineRemove(buffer_, &line);  // a current line hands over to the next line
        if (hold == UndoHold::Owned) {
            LineFree(buffer_, &line);
        }
    }

    // The widest marker now shown: markers are all made with one width.
    int MarkerWidth() const {
        int width = 0;
        for (const LineRecord& line : Lines(buffer_)) {
            if (line.kind == LineKind::ExcludedMarker) {
                width = std::max(width, static_cast<int>(line.length));
            }
        }
        if (width > 0) {
            return width;
        }
        int columns = std::max(kFallbackWindowColumns - view_.prefixWidth, 0);
        return std::min(columns, std::max(buffer_.profile.maxRecordLength - view_.horizontalOffset, 0));
    }

    EditBuffer& buffer_;
    EditViewState& view_;
    const LineRecord* cursorLine_ = nullptr;
    bool markersStale_ = false;
};

void Replay::RefreshView() {
    if (!IsLinked(buffer_, view_.topLine)) {
        view_.topLine = LineFirst(buffer_);
    }
    if (markersStale_) {
        // The top line may be a marker that the rebuild releases: hold on to the line behind it.
        LineRecord* anchor = view_.topLine;
        while (anchor != nullptr && anchor->kind == LineKind::ExcludedMarker) {
            anchor = LineNext(anchor);
        }
        RebuildExcludedMarkers(buffer_, MarkerWidth());
        while (anchor != nullptr && !LineIsVisible(*anchor)) {
            anchor = LinePrev(anchor);  // ends on the marker in front of the anchor's run
        }
        view_.topLine = anchor != nullptr ? anchor : LineFirst(buffer_);
    }
    view_.topLine = ShownLineNear(view_.topLine);
    if (view_.rowTable.empty()) {
        return;
    }
    LineRecord* line = view_.topLine;
    for (LineRecord*& row : view_.rowTable) {
        while (line != nullptr && !LineIsVisible(*line)) {
            line = LineNext(line);
        }
        row = line;
        line = LineNext(line);
    }
    // The cursor moves up to a row that still shows a line.
    int rows = static_cast<int>(view_.rowTable.size());
    if (view_.cursorRow >= rows) {
        view_.cursorRow = rows - 1;
    }
    while (view_.cursorRow > 0 && view_.rowTable[static_cast<size_t>(view_.cursorRow)] == nullptr) {
        --view_.cursorRow;
    }
}

// Lines of an I command wait for typing; an undo ends the wait, so they are ordinary (empty) lines
// from here on, and are taken out again when their insertion is undone.
void SettleInsertPlaceholders(EditBuffer& buffer) {
    for (LineRecord& line : Lines(buffer)) {
        LineClearFlag(line, LineFlagA::InsertPending);
    }
}

void ReportEmpty(AppSession& app) {
    ShowMessage(app, "UNDO journal empty or UNDO is disabled.", MsgTo::Line, Beep::Exclamation);
}

}  // namespace

std::int64_t UndoSteps(AppSession& app, EditSession* session, std::uint64_t maxSteps) {
    if (session == nullptr) {
        ShowMessage(app, "Not in Edit, command ignored.", MsgTo::Box, Beep::Exclamation);
        return -1;
    }
    SettleInsertPlaceholders(session->buffer);
    UndoJournal* journal = UndoSyncSession(app, *session);
    if (journal == nullptr || journal->Empty()) {
        ReportEmpty(app);
        return -1;
    }
    Replay replay(*session);
    journal->SetReplaying(true);
    std::int64_t steps = 0;
    while (static_cast<std::uint64_t>(steps) < maxSteps && !journal->Empty()) {
        const std::uint32_t group = journal->Newest()->group;
        while (journal->Newest() != nullptr && journal->Newest()->group == group) {
            UndoEntry* entry = journal->PopNewest();
            replay.Undo(*entry);
            journal->ReleaseEntry(entry);
        }
        ++steps;
    }
    journal->SetReplaying(false);
    journal->ResetGroupState();
    replay.RefreshView();
    return steps;
}

Status UndoStep(AppSession& app, EditSession* session) {
    return UndoSteps(app, session, 1) < 0 ? -1 : 0;
}

}  // namespace tavoe
