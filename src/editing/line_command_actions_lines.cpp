// D, I, R, C/M with A or B, and overlays: the line commands that put lines in or take them out.

#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/line_record.h"
#include "buffer/numbering.h"
#include "core/app_session.h"
#include "editing/edit_session.h"
#include "editing/line_command_actions.h"
#include "editing/line_command_run.h"
#include "editing/undo_journal.h"

namespace tavoe {

namespace {

// The lines a copy, move or repeat carries: the data lines of the range (hidden ones included, with
// their excluded state). Markers are not carried: they are made again for the hidden lines.
std::vector<LineRecord*> CarriedLines(LineRecord* from, LineRecord* to) {
    std::vector<LineRecord*> lines;
    for (LineRecord* line = from; line != nullptr; line = LineNext(line)) {
        if (line->kind == LineKind::Data) {
            lines.push_back(line);
        }
        if (line == to) {
            break;
        }
    }
    return lines;
}

void FreeAll(EditBuffer& buffer, std::vector<LineRecord*>& lines) {
    for (LineRecord* line : lines) {
        LineFree(buffer, line);
    }
    lines.clear();
}

// `rounds` copies of the lines, one after the other, made before anything is linked in so that a
// failure leaves the file as it was.
bool DuplicateRounds(LineCommandRun& run, const std::vector<LineRecord*>& lines, std::int64_t rounds,
                     std::vector<LineRecord*>& copies) {
    EditBuffer& buffer = run.session.buffer;
    copies.reserve(static_cast<size_t>(rounds) * lines.size());
    for (std::int64_t round = 0; round < rounds; ++round) {
        for (LineRecord* line : lines) {
            LineRecord* copy = LineDuplicate(buffer, *line);
            if (copy == nullptr) {
                FreeAll(buffer, copies);
                return false;
            }
            if (!LineIsVisible(*line)) {
                LineClearFlag(*copy, LineFlagB::Visible);
                run.markersStale = true;
            }
            copies.push_back(copy);
        }
    }
    return true;
}

// After a line went in: numbering as the profile asks.
void NumberInserted(LineCommandRun& run, LineRecord& line) {
    const FileProfile& profile = run.session.buffer.profile;
    if (profile.numberType == NumberType::None || line.kind != LineKind::Data) {
        return;
    }
    if (profile.numberAuto == NumberAuto::Incr) {
        (void)NumberNewLine(run.session.buffer, line);
    } else if (profile.numberAuto == NumberAuto::Full) {
        run.renumber = true;
    }
}

bool InRange(const LineRecord* line, LineRecord* from, LineRecord* to) {
    for (LineRecord* walk = from; walk != nullptr; walk = LineNext(walk)) {
        if (walk == line) {
            return true;
        }
        if (walk == to) {
            break;
        }
    }
    return false;
}

// Links the lines in order at the destination; the first line linked, or null.
LineRecord* LinkAt(LineCommandRun& run, const std::vector<LineRecord*>& lines, LineRecord*& after,
                   LineRecord* before, std::vector<LineRecord*>* refused) {
    EditBuffer& buffer = run.session.buffer;
    LineRecord* first = nullptr;
    for (LineRecord* line : lines) {
        Status status =
            before != nullptr ? LineInsertBefore(buffer, before, line) : LineInsertAfter(buffer, after, line);
        if (status != 0) {
            if (refused != nullptr) {
                refused->push_back(line);
            } else {
                LineFree(buffer, line);
            }
            continue;
        }
        if (before == nullptr) {
            after = line;
        }
        if (first == nullptr) {
            first = line;
        }
        NumberInserted(run, *line);
    }
    return first;
}

// The first inserted line becomes the current line; the view goes to it unless the destination is
// already shown.
void ShowInserted(LineCommandRun& run, LineRecord* first, LineRecord* destination) {
    if (first == nullptr) {
        return;
    }
    EditSession& session = run.session;
    session.buffer.currentLine = first;
    for (LineRecord* row : session.view.rowTable) {
        if (row == destination) {
            return;
        }
    }
    session.view.topLine = first;
}

}  // namespace

Status DeleteLines(LineCommandRun& run, LineRecord* from, LineRecord* to) {
    UndoGroup group(run.app, run.session);
    LineRecord* last = RangeEndThroughHidden(to);
    LineRecord* after = LineNext(last);
    DeleteLineRange(run, from, last);
    if (after != nullptr && LineIsVisible(*after)) {
        run.session.buffer.currentLine = after;
    }
    if (after != nullptr && !LineIsVisible(*after)) {
        run.markersStale = true;  // two excluded runs may have met
    }
    return 0;
}

Status InsertNewLines(LineCommandRun& run, LineRecord* line, std::int32_t count) {
    EditBuffer& buffer = run.session.buffer;
    if (line->kind == LineKind::EndMarker) {
        return Refuse(run.app, "Can't insert below this line.", MsgTo::Box, Beep::Exclamation);
    }
    UndoGroup group(run.app, run.session);
    LineRecord* after = InsertionPointAfter(buffer, line);
    LineRecord* first = nullptr;
    for (std::int32_t i = 0; i < count; ++i) {
        LineRecord* fresh = LineNew(buffer, {});
        if (fresh == nullptr) {
            break;  // reported by the line store; the lines made so far stay
        }
        fresh->kind = LineKind::Data;
        LineSetFlag(*fresh, LineFlagA::InsertPending);
        if (LineInsertAfter(buffer, after, fresh) != 0) {
            LineFree(buffer, fresh);
            break;
        }
        after = fresh;
        first = first != nullptr ? first : fresh;
    }
    run.cursorTo = first;
    return first != nullptr ? 0 : -1;
}

Status RepeatLines(LineCommandRun& run, LineRecord* from, LineRecord* to, std::int32_t times) {
    EditBuffer& buffer = run.session.buffer;
    LineRecord* last = RangeEndThroughHidden(to);
    LineRecord* point = InsertionPointAfter(buffer, last);
    if (last->kind == LineKind::EndMarker || LineNext(point) == nullptr) {
        return Refuse(run.app, "Can't replicate Bottom of File line.", MsgTo::Box, Beep::Exclamation);
    }
    std::vector<LineRecord*> sources = CarriedLines(from, last);
    std::vector<LineRecord*> copies;
    if (!DuplicateRounds(run, sources, times, copies)) {
        return -1;
    }
    UndoGroup group(run.app, run.session);
    LinkAt(run, copies, point, nullptr, nullptr);
    return 0;
}

Status CopyOrMoveLines(LineCommandRun& run, LineRecord* from, LineRecord* to, bool move, Destination dest) {
    EditBuffer& buffer = run.session.buffer;
    LineRecord* last = RangeEndThroughHidden(to);
    LineRecord* point = dest.after ? InsertionPointAfter(buffer, dest.line) : dest.line;
    // A destination inside the block; a move may not name the block's own lines at all, since they
    // leave their place.
    bool inside = move ? InRange(point, from, last)
                       : (dest.after ? point != last && InRange(point, from, last)
                                     : point != from && InRange(point, from, last));
    if (inside) {
        return Refuse(run.app, move ? "M/MM invalid destination." : "C/CC invalid destination.", MsgTo::Box,
                      Beep::Exclamation);
    }
    std::vector<LineRecord*> sources = CarriedLines(from, last);
    std::int32_t copies = dest.copies > 0 ? dest.copies : 1;
    std::vector<LineRecord*> made;
    if (!DuplicateRounds(run, sources, move ? copies - 1 : copies, made)) {
        return -1;
    }
    for (LineRecord* line : sources) {
        run.markersStale = run.markersStale || !LineIsVisible(*line);
    }
    UndoGroup group(run.app, run.session);
    LineRecord* home = nullptr;
    if (move) {
        home = LineNext(last);
        for (LineRecord* line : sources) {
            LineRecord* successor = LineNext(line);
            if (line == run.session.view.topLine) {
                run.session.view.topLine = successor;
            }
            LineRemove(buffer, line);
            JournalMoveOut(run.app, run.session, *line, successor);
        }
    }
    LineRecord* after = point;
    LineRecord* before = dest.after ? nullptr : point;
    LineRecord* first = LinkAt(run, made, after, before, nullptr);
    if (move) {
        // The originals go in last. Should the destination refuse one, it goes back where the block
        // was: a move never loses lines.
        std::vector<LineRecord*> refused;
        LineRecord* firstOriginal = LinkAt(run, sources, after, before, &refused);
        first = first != nullptr ? first : firstOriginal;
        for (LineRecord* line : refused) {
            if (LineInsertBefore(buffer, home, line) != 0) {
                (void)LineInsertBefore(buffer, nullptr, line);
            }
        }
    }
    ShowInserted(run, first, dest.line);
    return 0;
}

Status OverlayLines(LineCommandRun& run, LineRecord* from, LineRecord* to, bool move, LineRecord* targetFrom,
                    LineRecord* targetTo) {
    EditBuffer& buffer = run.session.buffer;
    const FileProfile& profile = buffer.profile;
    std::vector<LineRecord*> sources = CarriedLines(from, RangeEndThroughHidden(to));
    std::vector<LineRecord*> targets = CarriedLines(targetFrom, RangeEndThroughHidden(targetTo));
    if (sources.empty() || targets.empty()) {
        return 0;
    }
    const std::int32_t left = profile.boundsLeft > 0 ? profile.boundsLeft : 1;
    const std::int32_t right = profile.boundsRight > 0 ? profile.boundsRight : profile.maxRecordLength;
    UndoGroup group(run.app, run.session);
    bool incomplete = false;
    for (size_t i = 0; i < targets.size(); ++i) {
        LineRecord& source = *sources[i % sources.size()];
        LineRecord& target = *targets[i];
        std::string_view laid = LineText(source);
        if (static_cast<std::int32_t>(laid.size()) < left) {
            if (!run.overlayWarned) {
                ShowMessage(run.app, "Overlay text is not within current bounds, command ignored.",
                            MsgTo::Box, Beep::Exclamation);
                run.overlayWarned = true;
            }
            continue;
        }
        std::string text(LineText(target));
        bool changed = false;
        const std::int32_t end = std::min<std::int32_t>(right, static_cast<std::int32_t>(laid.size()));
        for (std::int32_t column = left; column <= end; ++column) {
            char ch = laid[static_cast<size_t>(column - 1)];
            if (ch == ' ') {
                continue;
            }
            if (static_cast<std::int32_t>(text.size()) < column) {
                text.resize(static_cast<size_t>(column), ' ');
            }
            char& under = text[static_cast<size_t>(column - 1)];
            if (under == ' ') {
                under = ch;
                changed = true;
            } else if (under != ch) {
                incomplete = true;
            }
        }
        if (changed) {
            JournalTextChange(run.app, run.session, target);
            if (LineSetText(buffer, target, text) == 0) {
                TextChanged(buffer, target);
            }
        }
    }
    if (move) {
        if (incomplete) {
            ShowMessage(run.app, "O/OO incomplete, M/MM lines not deleted.", MsgTo::Line, Beep::Information);
        } else {
            for (LineRecord* line : sources) {
                DeleteLineRange(run, line, line);
            }
        }
    }
    return 0;
}

}  // namespace tavoe
