// X, F, L and S (hiding and showing lines), the special lines BNDS, COLS, MASK and TABS, MD and Z.

#include <algorithm>
#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/line_record.h"
#include "buffer/make_data.h"
#include "core/app_session.h"
#include "editing/edit_session.h"
#include "editing/line_command_actions.h"
#include "editing/line_command_run.h"
#include "editing/selection.h"
#include "editing/undo_journal.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr std::int32_t kColsLengthMax = 9999;

// The hidden lines behind a marker, in file order.
std::vector<LineRecord*> HiddenRun(LineRecord* marker) {
    std::vector<LineRecord*> run;
    for (LineRecord* line = LineNext(marker); line != nullptr && !LineIsVisible(*line);
         line = LineNext(line)) {
        run.push_back(line);
    }
    return run;
}

std::size_t Indentation(const LineRecord& line) {
    std::string_view text = LineText(line);
    size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? text.size() : first;
}

bool HasText(const LineRecord& line) {
    return LineText(line).find_first_not_of(' ') != std::string_view::npos;
}

std::int32_t RecordLength(const EditBuffer& buffer) {
    return buffer.profile.maxRecordLength > 0 ? buffer.profile.maxRecordLength : kProfileRecordLengthMax;
}

}  // namespace

std::string ColsRulerText(std::int32_t length) {
    length = std::clamp(length, 0, kColsLengthMax);
    std::string text(static_cast<size_t>(length), '-');
    for (std::int32_t column = 5; column <= length; column += 5) {
        text[static_cast<size_t>(column - 1)] = '+';
    }
    for (std::int32_t column = 10; length - column >= 4; column += 10) {
        std::string digits = std::to_string(column);
        text.replace(static_cast<size_t>(column - 1), digits.size(), digits);
    }
    return text;
}

Status ExcludeLines(LineCommandRun& run, LineRecord* from, LineRecord* to) {
    LineRecord* last = RangeEndThroughHidden(to);
    for (LineRecord* line = from; line != nullptr; line = LineNext(line)) {
        if (line->kind != LineKind::TopMarker && line->kind != LineKind::EndMarker) {
            LineClearFlag(*line, LineFlagB::Visible);
        }
        if (line == last) {
            break;
        }
    }
    run.markersStale = true;
    run.excludeOrShow = true;
    return 0;
}

Status ShowHiddenLines(LineCommandRun& run, LineRecord* marker, std::int32_t count, ShowWhich which) {
    if (marker->kind != LineKind::ExcludedMarker) {
        const char* text = which == ShowWhich::First  ? "FIRST only allowed on excluded line."
                           : which == ShowWhich::Last ? "LAST only allowed on excluded line."
                                                      : "S line command only allowed on exclude line.";
        return Refuse(run.app, text, MsgTo::Box, Beep::Exclamation);
    }
    std::vector<LineRecord*> hidden = HiddenRun(marker);
    size_t wanted = std::min(static_cast<size_t>(std::max(count, 1)), hidden.size());
    if (which == ShowWhich::First) {
        for (size_t i = 0; i < wanted; ++i) {
            LineSetFlag(*hidden[i], LineFlagB::Visible);
        }
    } else if (which == ShowWhich::Last) {
        for (size_t i = hidden.size() - wanted; i < hidden.size(); ++i) {
            LineSetFlag(*hidden[i], LineFlagB::Visible);
        }
    } else {
        size_t shown = 0;
        while (shown < wanted) {
            size_t least = SIZE_MAX;
            for (LineRecord* line : hidden) {
                if (!LineIsVisible(*line) && line->kind == LineKind::Data && HasText(*line)) {
                    least = std::min(least, Indentation(*line));
                }
            }
            if (least == SIZE_MAX) {
                break;
            }
            for (LineRecord* line : hidden) {
                if (shown < wanted && !LineIsVisible(*line) && line->kind == LineKind::Data &&
                    HasText(*line) && Indentation(*line) == least) {
                    LineSetFlag(*line, LineFlagB::Visible);
                    ++shown;
                }
            }
        }
    }
    run.markersStale = true;
    run.excludeOrShow = true;
    return 0;
}

Status InsertSpecialLine(LineCommandRun& run, LineRecord* before, SpecialLine which) {
    EditBuffer& buffer = run.session.buffer;
    const FileProfile& profile = buffer.profile;
    std::int32_t length = RecordLength(buffer);
    std::string text;
    LineKind kind = LineKind::Bounds;
    switch (which) {
        case SpecialLine::Bounds: {
            text.assign(static_cast<size_t>(length), ' ');
            std::int32_t left = std::clamp(profile.boundsLeft, 1, length);
            std::int32_t right = profile.boundsRight > 0 ? std::min(profile.boundsRight, length) : length;
            text[static_cast<size_t>(left - 1)] = '<';
            text[static_cast<size_t>(right - 1)] = '>';
            break;
        }
        case SpecialLine::Cols: {
            static bool limitReported = false;  // once per run of the program
            if (length > kColsLengthMax && !limitReported) {
                limitReported = true;
                ShowMessage(run.app, Format("COLS line length limited to %d.", kColsLengthMax), MsgTo::Box,
                            Beep::Information);
            }
            text = ColsRulerText(length);
            kind = LineKind::Cols;
            break;
        }
        case SpecialLine::Mask:
            text = profile.maskLine;
            kind = LineKind::Mask;
            break;
        case SpecialLine::Tabs:
            text.assign(static_cast<size_t>(length), ' ');
            for (std::int32_t stop : profile.tabKeyStopsAt) {
                if (stop <= 0) {
                    break;
                }
                if (stop <= length) {
                    text[static_cast<size_t>(stop - 1)] = '*';
                }
            }
            kind = LineKind::Tabs;
            break;
    }
    LineRecord* line = LineNew(buffer, text);
    if (line == nullptr) {
        return -1;
    }
    line->kind = kind;
    LineRecord* current = buffer.currentLine;
    if (LineInsertBefore(buffer, before, line) != 0) {
        LineFree(buffer, line);
        return -1;
    }
    buffer.currentLine = current;  // the current line stays a line of the file
    if (run.session.view.topLine == before) {
        run.session.view.topLine = line;
    }
    return 0;
}

Status MakeDataLines(LineCommandRun& run, LineRecord* from, LineRecord* to) {
    UndoGroup group(run.app, run.session);
    return MakeLinesData(run.session.buffer, from, to);
}

Status SelectLineRange(LineCommandRun& run, LineRecord* from, LineRecord* to) {
    SelectLines(run.session, *from, *RangeEndThroughHidden(to));
    return 0;
}

}  // namespace tavoe
