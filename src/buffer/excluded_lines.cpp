#include "buffer/excluded_lines.h"

#include <algorithm>
#include <cstring>

#include "buffer/edit_buffer.h"
#include "buffer/line_record.h"
#include "platform/format.h"

namespace tavoe {

Status MakeExcludedMarker(EditBuffer& buffer, LineRecord& marker, int width, std::uint32_t count) {
    marker.kind = LineKind::ExcludedMarker;
    marker.hiddenCount = count;
    width = std::clamp(width, 0, kExcludedMarkerMaxWidth);
    std::string text = Format(" %d lines excluded ", static_cast<int>(count));
    if (static_cast<std::size_t>(width) > text.size()) {
        std::size_t difference = static_cast<std::size_t>(width) - text.size();
        std::size_t left = difference / 2;
        text = std::string(left, '-') + text + std::string(difference - left, '-');
    }
    if (LineEnsureCapacity(buffer, marker, kExcludedMarkerMaxWidth) != 0) {
        return -1;
    }
    // The formatted count is at most 27 characters, so the text always fits the 256 bytes.
    std::memcpy(marker.text, text.data(), text.size());
    marker.length = static_cast<std::uint32_t>(text.size());
    return 0;
}

int RebuildExcludedMarkers(EditBuffer& buffer, int width) {
    // Take out the old markers; a current marker hands over to the line after it.
    for (LineRecord* line = LineFirst(buffer); line != nullptr;) {
        LineRecord* next = LineNext(line);
        if (line->kind == LineKind::ExcludedMarker) {
            LineFree(buffer, line);
        }
        line = next;
    }
    int status = 0;
    std::uint32_t shown = 0;
    for (LineRecord* line = LineFirst(buffer); line != nullptr;) {
        if (line->kind == LineKind::TopMarker || line->kind == LineKind::EndMarker) {
            LineSetFlag(*line, LineFlagB::Visible);  // the file's ends are never hidden
        }
        if (LineIsVisible(*line)) {
            ++shown;
            line = LineNext(line);
            continue;
        }
        LineRecord* runStart = line;
        std::uint32_t runLength = 0;
        bool holdsCurrent = false;
        while (line != nullptr && !LineIsVisible(*line) && line->kind != LineKind::EndMarker) {
            holdsCurrent = holdsCurrent || line == buffer.currentLine;
            ++runLength;
            line = LineNext(line);
        }
        LineRecord* marker = LineNew(buffer, {});
        if (marker == nullptr || MakeExcludedMarker(buffer, *marker, width, runLength) != 0) {
            LineFree(buffer, marker);
            status = -1;
            continue;
        }
        // Linked directly: a marker is neither data nor a change to journal.
        DListInsertBefore(&buffer.lines, runStart, marker);
        ++shown;
        if (holdsCurrent) {
            buffer.currentLine = marker;
        }
    }
    buffer.visibleLineCount = shown;
    return status;
}

LineRecord* RangeEndThroughHidden(LineRecord* line) {
    if (line == nullptr || line->kind != LineKind::ExcludedMarker) {
        return line;
    }
    while (LineNext(line) != nullptr && !LineIsVisible(*LineNext(line))) {
        line = LineNext(line);
    }
    return line;
}

}  // namespace tavoe
