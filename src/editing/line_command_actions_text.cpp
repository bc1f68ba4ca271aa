// Shifts and case changes: the line commands that change the text of lines within the bounds.

#include <algorithm>
#include <cctype>
#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "editing/edit_session.h"
#include "editing/line_command_actions.h"
#include "editing/line_command_run.h"
#include "editing/undo_journal.h"

namespace tavoe {

namespace {

struct Bounds {
    std::int32_t left;   // first column, from 1
    std::int32_t right;  // last column
};

Bounds BoundsOf(const EditBuffer& buffer) {
    const FileProfile& profile = buffer.profile;
    std::int32_t record = profile.maxRecordLength > 0 ? profile.maxRecordLength : kProfileRecordLengthMax;
    std::int32_t left = std::clamp(profile.boundsLeft, 1, record);
    std::int32_t right = profile.boundsRight > 0 ? std::min(profile.boundsRight, record) : record;
    return {left, std::max(left, right)};
}

// The text of the line shifted within the bounds; `lostNonBlank` tells whether a character other than
// a blank would fall off. A data shift (`keep`) only shifts as far as blanks allow.
std::string Shifted(std::string text, Bounds bounds, std::int32_t amount, bool keep, bool& incomplete) {
    const size_t first = static_cast<size_t>(bounds.left - 1);
    if (text.size() <= first) {
        return text;  // nothing within the bounds
    }
    size_t end = std::min(text.size(), static_cast<size_t>(bounds.right));
    size_t by = static_cast<size_t>(amount < 0 ? -amount : amount);
    if (amount > 0) {
        // Room on the right: the columns up to the right bound, past the text's end, are blanks.
        end = std::min(static_cast<size_t>(bounds.right), text.size() + by);
        text.resize(std::max(text.size(), end), ' ');
    }
    std::string region = text.substr(first, end - first);
    if (keep) {
        size_t blanks = 0;
        if (amount < 0) {
            while (blanks < region.size() && region[blanks] == ' ') {
                ++blanks;
            }
        } else {
            while (blanks < region.size() && region[region.size() - 1 - blanks] == ' ') {
                ++blanks;
            }
        }
        if (blanks < by) {
            incomplete = true;
            by = blanks;
        }
    }
    by = std::min(by, region.size());
    if (amount < 0) {
        region = region.substr(by) + std::string(by, ' ');
    } else {
        region = std::string(by, ' ') + region.substr(0, region.size() - by);
    }
    text.replace(first, region.size(), region);
    return text;
}

template <typename Change>
void ForEachDataLine(LineRecord* from, LineRecord* to, Change change) {
    LineRecord* last = RangeEndThroughHidden(to);
    for (LineRecord* line = from; line != nullptr; line = LineNext(line)) {
        if (line->kind == LineKind::Data) {
            change(*line);
        }
        if (line == last) {
            break;
        }
    }
}

void Store(LineCommandRun& run, LineRecord& line, const std::string& text) {
    EditBuffer& buffer = run.session.buffer;
    if (text == LineText(line)) {
        return;
    }
    JournalTextChange(run.app, run.session, line);
    if (LineSetText(buffer, line, text) == 0) {
        LineStripPadding(buffer, line);
        TextChanged(buffer, line);
    }
}

}  // namespace

Status ShiftLines(LineCommandRun& run, LineRecord* from, LineRecord* to, ShiftKind kind,
                  std::int32_t amount) {
    UndoGroup group(run.app, run.session);
    const Bounds bounds = BoundsOf(run.session.buffer);
    bool anyIncomplete = false;
    ForEachDataLine(from, to, [&](LineRecord& line) {
        bool incomplete = false;
        std::string text =
            Shifted(std::string(LineText(line)), bounds, amount, kind == ShiftKind::Data, incomplete);
        Store(run, line, text);
        if (incomplete) {
            LineSetFlag(line, LineFlagA::Error);
            anyIncomplete = true;
        }
    });
    if (anyIncomplete) {
        ShowMessage(run.app, "Data shift incomplete.", MsgTo::Line, Beep::Exclamation);
    }
    return 0;
}

Status ChangeCase(LineCommandRun& run, LineRecord* from, LineRecord* to, bool upper) {
    UndoGroup group(run.app, run.session);
    const Bounds bounds = BoundsOf(run.session.buffer);
    ForEachDataLine(from, to, [&](LineRecord& line) {
        std::string text(LineText(line));
        size_t end = std::min(text.size(), static_cast<size_t>(bounds.right));
        for (size_t i = static_cast<size_t>(bounds.left - 1); i < end; ++i) {
            unsigned char ch = static_cast<unsigned char>(text[i]);
            if (ch < 0x80) {
                text[i] = static_cast<char>(upper ? std::toupper(ch) : std::tolower(ch));
            }
        }
        Store(run, line, text);
    });
    return 0;
}

}  // namespace tavoe
