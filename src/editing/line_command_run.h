#pragma once

#include <cstdint>

#include "core/status.h"

namespace tavoe {

// What the actions of the line commands share while one Enter is processed, and the small line-list
// helpers they use. Internal to the line command files of this folder and the commands beside them
// (LOCATE, RESET, DELETE with labels).

struct AppSession;
struct EditSession;
struct EditBuffer;
struct LineRecord;

struct LineCommandRun {
    AppSession& app;
    EditSession& session;
    bool markersStale = false;       // visibility changed: the excluded-lines markers are rebuilt
    bool overlayWarned = false;      // the overlay bounds message goes out once per Enter
    bool renumber = false;           // a copy, move or repeat in a file numbered FULL
    bool excludeOrShow = false;      // X, F, L or S ran: the current line leaves markers
    LineRecord* cursorTo = nullptr;  // where the cursor goes after the Enter (I)
};

// The next line, reading the next batch of a file still being loaded when there is none yet.
LineRecord* LineNextLoading(EditBuffer& buffer, LineRecord* line);

// The last line of a range of `count` lines from `line` (hidden lines count): it stops at the last
// line before the end marker, reading more of a file still being loaded when it needs to.
LineRecord* RangeEndOfCount(EditBuffer& buffer, LineRecord* line, std::int32_t count);

// `a` stands before `b` in the file. Walks outwards from `a` in both directions, so the cost grows
// with the distance between the two lines, not with the file.
bool LinePrecedes(const LineRecord* a, const LineRecord* b);

// The position (0 for the top marker, 1 for the first line after it) shown in messages.
std::int64_t LinePosition(const EditBuffer& buffer, const LineRecord* line);

// The line behind which lines inserted "after `line`" go: the line itself, or the last of the hidden
// lines that follow it directly. A file still being loaded is read on first when `line` is the last
// line loaded, so inserted lines never end up in front of records still to come.
LineRecord* InsertionPointAfter(EditBuffer& buffer, LineRecord* line);

// Width for new excluded-lines markers: the data area's, within the record.
int MarkerWidthFor(AppSession& app, EditSession& session);

// Recolours a line whose text changed and marks the buffer modified.
void TextChanged(EditBuffer& buffer, LineRecord& line);

// Takes the lines from..to (in file order) out of the file, journaling each removal. The view's top
// line moves off them first.
void DeleteLineRange(LineCommandRun& run, LineRecord* from, LineRecord* to);

// Rebuilds the excluded-lines markers after lines were shown, hidden or deleted, keeping the view's
// top line on (or just before) the line it showed; the row table is refreshed.
void RebuildMarkersKeepingView(AppSession& app, EditSession& session);

}  // namespace tavoe
