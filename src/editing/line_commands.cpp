#include "editing/line_commands.h"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/line_record.h"
#include "buffer/numbering.h"
#include "core/app_session.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/labels.h"
#include "editing/line_command_actions.h"
#include "editing/line_command_blocks.h"
#include "editing/line_command_parse.h"
#include "editing/line_command_run.h"
#include "platform/format.h"

namespace tavoe {

namespace {

// Every waiting command that names the line is forgotten: its prefix text was changed or cleared.
void ForgetWaitsOn(LineCommandState& state, const LineRecord* line) {
    for (WaitingCommand& wait : state.waiting) {
        if (wait.first == line || wait.second == line) {
            wait = WaitingCommand{};
        }
    }
}

void RemoveTyped(LineCommandState& state, const LineRecord* line) {
    std::erase(state.typed, line);
}

// The entries of this Enter: lines with a pending command that are not waiting, the typed ones first
// in typing order, then any others (set by a macro or the command field) in file order. Waiting
// commands whose lines lost their text (deleted, or blanked) are forgotten first.
// `order` gets the file position of every line with a pending command.
std::vector<LineRecord*> CollectEntries(EditSession& session, LineOrder& order) {
    LineCommandState& state = session.lineCommands;
    std::vector<LineRecord*> inFileOrder;
    std::unordered_set<const LineRecord*> pending;
    std::uint64_t position = 0;
    for (LineRecord& line : Lines(session.buffer)) {
        if (LineHasPendingCommand(line)) {
            inFileOrder.push_back(&line);
            pending.insert(&line);
            order.emplace(&line, position);
        }
        ++position;
    }
    std::unordered_set<const LineRecord*> waitingLines;
    for (WaitingCommand& wait : state.waiting) {
        if (!wait.Pending()) {
            continue;
        }
        if (!pending.contains(wait.first) || (wait.second != nullptr && !pending.contains(wait.second))) {
            wait = WaitingCommand{};
            continue;
        }
        waitingLines.insert(wait.first);
        if (wait.second != nullptr) {
            waitingLines.insert(wait.second);
        }
    }
    std::vector<LineRecord*> entries;
    std::unordered_set<const LineRecord*> taken;
    for (LineRecord* line : state.typed) {
        if (pending.contains(line) && !waitingLines.contains(line) && taken.insert(line).second) {
            entries.push_back(line);
        }
    }
    for (LineRecord* line : inFileOrder) {
        if (!waitingLines.contains(line) && taken.insert(line).second) {
            entries.push_back(line);
        }
    }
    return entries;
}

bool IsExclude(const ParsedLineCommand& parsed) {
    return parsed.name == "X" || parsed.name == "XX";
}

// The nearest shown line that is not an excluded-lines marker, looking down first.
LineRecord* ShownDataNear(LineRecord* line) {
    auto fits = [](const LineRecord* l) { return LineIsVisible(*l) && l->kind != LineKind::ExcludedMarker; };
    for (LineRecord* walk = line; walk != nullptr; walk = LineNext(walk)) {
        if (fits(walk)) {
            return walk;
        }
    }
    for (LineRecord* walk = line; walk != nullptr; walk = LinePrev(walk)) {
        if (fits(walk)) {
            return walk;
        }
    }
    return line;
}

void RebuildMarkers(LineCommandRun& run) {
    EditSession& session = run.session;
    EditBuffer& buffer = session.buffer;
    // The top line may be a marker that the rebuild releases: hold on to a line that stays.
    LineRecord* anchor = session.view.topLine;
    while (anchor != nullptr && anchor->kind == LineKind::ExcludedMarker) {
        anchor = LineNext(anchor);
    }
    bool currentWasMarker =
        buffer.currentLine != nullptr && buffer.currentLine->kind == LineKind::ExcludedMarker;
    if (currentWasMarker) {
        buffer.currentLine = ShownDataNear(buffer.currentLine);
    }
    (void)RebuildExcludedMarkers(buffer, MarkerWidthFor(run.app, session));
    while (anchor != nullptr && !LineIsVisible(*anchor)) {
        anchor = LinePrev(anchor);
    }
    session.view.topLine = anchor != nullptr ? anchor : LineFirst(buffer);
    if (run.excludeOrShow && buffer.currentLine != nullptr) {
        buffer.currentLine = ShownDataNear(buffer.currentLine);
    }
}

// Puts the cursor on the line's row, scrolling the view to the line when it is not shown.
void CursorToLine(AppSession& app, EditSession& session, LineRecord* line, bool prefix) {
    while (line != nullptr && !LineIsVisible(*line)) {
        line = LinePrev(line);
    }
    if (line == nullptr) {
        return;
    }
    session.view.cursorRow = std::max(RowShowingLine(app, session, line), 0);
    session.view.cursorColumn = prefix ? 0 : session.view.prefixWidth;
    session.view.focus = prefix ? KeyField::Prefix : KeyField::Data;
}

bool OnMarkerAllowed(LineKind kind, LineCommandId id) {
    if (kind == LineKind::TopMarker) {
        return id == LineCommandId::After || id == LineCommandId::Insert || id == LineCommandId::TextEntry;
    }
    if (kind == LineKind::EndMarker) {
        return id == LineCommandId::Before || id == LineCommandId::Bounds || id == LineCommandId::Cols ||
               id == LineCommandId::Mask || id == LineCommandId::Tabs;
    }
    return true;
}

}  // namespace

void PendingCommandTyped(AppSession&, EditSession& session, LineRecord& line) {
    LineCommandState& state = session.lineCommands;
    ForgetWaitsOn(state, &line);
    if (std::find(state.typed.begin(), state.typed.end(), &line) == state.typed.end()) {
        state.typed.push_back(&line);
    }
}

void PendingCommandCleared(AppSession&, EditSession& session, LineRecord& line) {
    ForgetWaitsOn(session.lineCommands, &line);
    RemoveTyped(session.lineCommands, &line);
}

void ForgetLineCommands(EditSession& session, LineRecord& line) {
    ForgetWaitsOn(session.lineCommands, &line);
    RemoveTyped(session.lineCommands, &line);
    LineClearPendingCommand(line);
}

void ForgetAllLineCommands(EditSession& session) {
    for (LineRecord& line : Lines(session.buffer)) {
        LineClearPendingCommand(line);
    }
    session.lineCommands = LineCommandState{};
}

int ProcessLineCommands(AppSession& app, EditSession& session) {
    LineOrder order;
    std::vector<LineRecord*> lines = CollectEntries(session, order);
    std::vector<LineEntry> entries;
    entries.reserve(lines.size());
    for (LineRecord* line : lines) {
        std::string text(LinePendingCommand(*line));
        entries.push_back({line, ParseLineCommand(text), text});
    }
    if (entries.size() > 1) {
        std::stable_partition(entries.begin(), entries.end(),
                              [](const LineEntry& entry) { return !IsExclude(entry.parsed); });
    }
    LineCommandRun run{app, session};
    BlockProcessor blocks(run, entries, order);
    int executed = 0;
    LineRecord* stoppedOn = nullptr;
    size_t index = 0;
    for (; index < entries.size(); ++index) {
        LineEntry& entry = entries[index];
        blocks.Begin(index);
        if (entry.parsed.countCapped) {
            ShowMessage(app,
                        Format("Line command repeat count exceeds %d, set to %d.", kLineCommandCountMax,
                               kLineCommandCountMax),
                        MsgTo::Box, Beep::Exclamation);
        }
        std::optional<LineCommandInfo> info = LookupLineCommand(entry.parsed.name);
        if (!info) {
            std::string shown = entry.parsed.name;
            ShowMessage(app, Format("'%s' is not a valid line command.", shown.c_str()), MsgTo::Box,
                        Beep::Exclamation);
            stoppedOn = entry.line;
            break;
        }
        if (session.ReadOnly() && !info->browse) {
            LineClearPendingCommand(*entry.line);
            ShowMessage(
                app,
                Format("'%s' line command can not be used in READ-ONLY file.", entry.parsed.name.c_str()),
                MsgTo::Box, Beep::Exclamation);
            continue;
        }
        LineKind kind = entry.line->kind;
        if (!OnMarkerAllowed(kind, info->id)) {
            ShowMessage(app,
                        Format("'%s' not allowed on %s.", entry.parsed.name.c_str(),
                               kind == LineKind::TopMarker ? "TOF Line." : "BOF Line."),
                        MsgTo::Box, Beep::Exclamation);
            stoppedOn = entry.line;
            break;
        }
        // The text goes before the action runs, since the action may delete the line; it comes back
        // when the command waits or fails.
        LineClearPendingCommand(*entry.line);
        Outcome outcome = blocks.Run(entry, info->id);
        if (outcome != Outcome::Done) {
            LineSetPendingCommand(*entry.line, entry.text);
        }
        if (outcome == Outcome::Failed) {
            stoppedOn = entry.line;
            break;
        }
        ++executed;
    }
    // What was not reached stays pending, in its typing order.
    LineCommandState& state = session.lineCommands;
    state.typed.clear();
    for (size_t rest = index; rest < entries.size(); ++rest) {
        state.typed.push_back(entries[rest].line);
    }
    if (run.markersStale) {
        RebuildMarkers(run);
    }
    if (run.renumber) {
        Renumber(session.buffer);
    }
    if (executed > 0 || stoppedOn != nullptr) {
        if (session.view.topLine == nullptr) {
            session.view.topLine = LineFirst(session.buffer);
        }
        RefreshRowTable(app, session);
    }
    if (stoppedOn != nullptr) {
        CursorToLine(app, session, stoppedOn, true);
    } else if (run.cursorTo != nullptr) {
        CursorToLine(app, session, run.cursorTo, false);
    }
    return executed;
}

}  // namespace tavoe
