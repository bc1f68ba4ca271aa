#include "editing/labels.h"

#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "platform/ascii_case.h"
#include "platform/format.h"

namespace tavoe {

namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

Status SetLineLabel(AppSession& app, EditSession& session, LineRecord& line, std::string_view text) {
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
    }
    if (text.empty() || !IsLetter(text.front()) || text.front() == 'z' || text.front() == 'Z') {
        return Refuse(app, "Label name must be a-z/A-Z chars, Z not allowed as first character.", MsgTo::Box,
                      Beep::Exclamation);
    }
    size_t letters = 0;
    while (letters < text.size() && letters < kLabelLettersMax && IsLetter(text[letters])) {
        ++letters;
    }
    std::string label = "." + UpperAscii(text.substr(0, letters));
    for (LineRecord& other : Lines(session.buffer)) {
        if (&other != &line && LineLabelEquals(other, label)) {
            LineClearLabel(other);
        }
    }
    LineSetLabel(line, label);
    LineSetPendingCommand(line, {});
    return 0;
}

LineRecord* FindLabel(AppSession& app, EditSession& session, std::string_view label) {
    if (label.empty() || label.front() != '.') {
        return nullptr;
    }
    std::string name = UpperAscii(label);
    if (name == ".ZFIRST") {
        return FirstDataLine(session.buffer);
    }
    if (name == ".ZLAST") {
        (void)FinishLoad(session.buffer);  // an aborted load is reported; its last line is the last
        return LastDataLine(session.buffer);
    }
    if (name == ".ZCSR") {
        LineRecord* line = CursorLine(app, session);
        return line != nullptr ? line : session.buffer.currentLine;
    }
    for (LineRecord& line : Lines(session.buffer)) {
        if (LineLabelEquals(line, name)) {
            return &line;
        }
    }
    return nullptr;
}

bool LineAtOrBefore(const LineRecord* a, const LineRecord* b) {
    for (const LineRecord* line = a; line != nullptr; line = LineNext(line)) {
        if (line == b) {
            return true;
        }
    }
    return false;
}

std::optional<LabelRange> ResolveRange(AppSession& app, EditSession& session, std::string_view label1,
                                       std::string_view label2) {
    LabelRange range{LineFirst(session.buffer), nullptr};
    if (label1.empty()) {
        (void)FinishLoad(session.buffer);
        range.to = LineLast(session.buffer);
        return range;
    }
    LineRecord* ends[2] = {nullptr, nullptr};
    std::string_view labels[2] = {label1, label2};
    for (int i = 0; i < 2; ++i) {
        if (labels[i].empty()) {
            continue;
        }
        ends[i] = FindLabel(app, session, labels[i]);
        if (ends[i] == nullptr) {
            std::string shown = UpperAscii(labels[i]);
            ShowMessage(app, Format("Label '%s' not found.", shown.c_str()), MsgTo::Box, Beep::Exclamation);
            return std::nullopt;
        }
    }
    if (ends[1] == nullptr) {
        (void)FinishLoad(session.buffer);
        ends[1] = LineLast(session.buffer);
    }
    if (!LineAtOrBefore(ends[0], ends[1])) {
        std::swap(ends[0], ends[1]);
    }
    return LabelRange{ends[0], ends[1]};
}

}  // namespace tavoe
