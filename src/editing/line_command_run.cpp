#include "editing/line_command_run.h"

#include <algorithm>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/file_load.h"
#include "buffer/line_record.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"

namespace tavoe {

LineRecord* LineNextLoading(EditBuffer& buffer, LineRecord* line) {
    while (LineNext(line) == nullptr && !buffer.file.loadComplete && !buffer.file.atEnd) {
        if (LoadBatch(buffer) != 1) {
            break;
        }
    }
    if (LineNext(line) == nullptr && !buffer.file.loadComplete && buffer.file.atEnd) {
        (void)FinishLoad(buffer);  // puts the end marker in place
    }
    return LineNext(line);
}

LineRecord* RangeEndOfCount(EditBuffer& buffer, LineRecord* line, std::int32_t count) {
    LineRecord* last = line;
    for (std::int32_t i = 1; i < count; ++i) {
        LineRecord* next = LineNextLoading(buffer, last);
        if (next == nullptr || next->kind == LineKind::EndMarker) {
            break;
        }
        last = next;
    }
    return last;
}

bool LinePrecedes(const LineRecord* a, const LineRecord* b) {
    const LineRecord* forward = a;
    const LineRecord* backward = a;
    while (forward != nullptr || backward != nullptr) {
        if (forward != nullptr) {
            forward = LineNext(forward);
            if (forward == b) {
                return true;
            }
        }
        if (backward != nullptr) {
            backward = LinePrev(backward);
            if (backward == b) {
                return false;
            }
        }
    }
    return false;
}

std::int64_t LinePosition(const EditBuffer& buffer, const LineRecord* line) {
    std::int64_t position = 0;
    for (const LineRecord& walk : Lines(buffer)) {
        if (&walk == line) {
            return position;
        }
        ++position;
    }
    return position;
}

LineRecord* InsertionPointAfter(EditBuffer& buffer, LineRecord* line) {
    LineRecord* point = line;
    for (LineRecord* next = LineNextLoading(buffer, point); next != nullptr && !LineIsVisible(*next);
         next = LineNextLoading(buffer, point)) {
        point = next;
    }
    return point;
}

int MarkerWidthFor(AppSession& app, EditSession& session) {
    int columns = DataAreaColumns(app, session);
    int record = session.buffer.profile.maxRecordLength - session.view.horizontalOffset;
    return std::max(0, std::min(columns, record));
}

void TextChanged(EditBuffer& buffer, LineRecord& line) {
    buffer.modified = true;
    if (buffer.colorizer != nullptr) {
        buffer.colorizer->ColorizeLine(buffer, line);
    }
}

void DeleteLineRange(LineCommandRun& run, LineRecord* from, LineRecord* to) {
    EditBuffer& buffer = run.session.buffer;
    EditViewState& view = run.session.view;
    LineRecord* after = LineNext(to);
    LineRecord* before = LinePrev(from);
    for (LineRecord* line = from;;) {
        LineRecord* next = LineNext(line);
        if (line == view.topLine) {
            view.topLine = after != nullptr ? after : before;
        }
        if (!LineIsVisible(*line) || line->kind == LineKind::ExcludedMarker) {
            run.markersStale = true;
        }
        LineDelete(buffer, line);
        if (line == to || next == nullptr) {
            break;
        }
        line = next;
    }
}

void RebuildMarkersKeepingView(AppSession& app, EditSession& session) {
    EditBuffer& buffer = session.buffer;
    EditViewState& view = session.view;
    LineRecord* anchor = view.topLine;
    while (anchor != nullptr && anchor->kind == LineKind::ExcludedMarker) {
        anchor = LineNext(anchor);
    }
    int width = std::min(DataAreaColumns(app, session),
                         std::max(buffer.profile.maxRecordLength - std::max(view.horizontalOffset, 0), 0));
    (void)RebuildExcludedMarkers(buffer, std::max(width, 1));
    while (anchor != nullptr && !LineIsVisible(*anchor)) {
        anchor = LinePrev(anchor);  // ends on the marker in front of the anchor's run
    }
    view.topLine = anchor != nullptr ? anchor : LineFirst(buffer);
    RefreshRowTable(app, session);
}

}  // namespace tavoe
