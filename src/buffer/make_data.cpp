#include "buffer/make_data.h"

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/line_record.h"
#include "core/message.h"

namespace tavoe {

Status MakeLinesData(EditBuffer& buffer, LineRecord* first, LineRecord* last) {
    if (first == nullptr) {
        return 0;
    }
    last = RangeEndThroughHidden(last != nullptr ? last : first);
    bool refused = false;
    for (LineRecord* line = first; line != nullptr; line = LineNext(line)) {
        if (line->kind == LineKind::Note || line->kind == LineKind::Cols) {
            LineSetFlag(*line,
                        line->kind == LineKind::Note ? LineFlagA::MadeFromNote : LineFlagA::MadeFromCols);
            line->kind = LineKind::Data;
            if (buffer.journal != nullptr) {
                buffer.journal->JournalInsert(buffer, *line);
            }
            if (buffer.colorizer != nullptr) {
                buffer.colorizer->ColorizeLine(buffer, *line);
            }
            buffer.modified = true;
        } else if (line->kind != LineKind::ExcludedMarker) {
            refused = true;
        }
        if (line == last) {
            break;
        }
    }
    if (refused) {
        ShowMessage(buffer.host, "Only NOTE and COLS lines can be converted to data.", MsgTo::Line,
                    Beep::Error);
        return -1;
    }
    return 0;
}

}  // namespace tavoe
