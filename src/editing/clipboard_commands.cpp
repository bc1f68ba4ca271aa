#include "editing/clipboard_commands.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "buffer/line_record.h"
#include "buffer/numbering.h"
#include "buffer/record_codec.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "core/message.h"
#include "editing/clipboard_lines.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/selection.h"
#include "editing/session_clipboard.h"
#include "editing/typing.h"
#include "editing/typing_fields.h"
#include "editing/undo_journal.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr std::string_view kReadOnly = "Not allowed to modify READ-ONLY file.";
constexpr std::size_t kClipboardMax = 64000000;
constexpr std::size_t kClipboardOverhead = 64;
constexpr std::int32_t kCobolFieldWidth = 6;

bool IsWholeLine(const LineRecord& line) {
    return line.selStart == 1 && line.selEnd >= kSelectionLineEnd;
}

// The selected bytes of one line, limited to its text.
std::string_view SelectedPart(const LineRecord& line) {
    std::string_view text = LineText(line);
    const auto from = static_cast<std::size_t>(line.selStart - 1);
    if (from >= text.size()) {
        return {};
    }
    return text.substr(from, static_cast<std::size_t>(line.selEnd) - from);
}

// What goes in front of a stream's first part in a numbered file, so its columns keep their place:
// the COBOL number field (as far as the part starts after it) and blanks up to the start column.
std::string StreamLead(const EditBuffer& buffer, const LineRecord& first) {
    const NumberType type = buffer.profile.numberType;
    if (type == NumberType::None || first.selStart <= 1) {
        return {};
    }
    std::string lead(static_cast<std::size_t>(first.selStart - 1), ' ');
    if (type == NumberType::Cobol || type == NumberType::CobStd) {
        std::string_view text = LineText(first);
        const std::size_t keep = std::min({lead.size(), text.size(), std::size_t{kCobolFieldWidth}});
        lead.replace(0, keep, text.substr(0, keep));
    }
    return lead;
}

// TAB expansion as the load does it, when the profile asks for it.
std::string ExpandClipboardTabs(const EditBuffer& buffer, std::string text) {
    const std::int32_t width = buffer.profile.tabsExpandOnRead;
    if (width <= 0 || text.find('\t') == std::string::npos) {
        return text;
    }
    std::string out;
    out.reserve(text.size());
    std::vector<char> scratch;
    ForEachClipboardLine(text, [&](std::string_view line, std::string_view lineEnd) {
        out.append(ExpandTabs(scratch, line.data(), static_cast<std::int32_t>(line.size()), width));
        out.append(lineEnd);
        return true;
    });
    return out;
}

// The stream paste: the text goes into the cursor line at the cursor's column.
Status PasteStream(AppSession& app, EditSession& session, std::string_view text) {
    CursorPlace place = CursorPlaceOf(app, session);
    if (place.line == nullptr || !IsDataLine(*place.line)) {
        ShowMessage(app, "Not allowed to paste stream into non-text line.", MsgTo::Box, Beep::Exclamation);
        return -1;
    }
    const std::int32_t column = place.area == CursorArea::Data ? place.column : FirstShownColumn(session);
    UndoGroup group(app, session);
    Status result = InsertChars(app, session, *place.line, text, column);
    if (session.view.focus == KeyField::Data) {
        ShowCursorColumn(app, session, column + static_cast<std::int32_t>(text.size()));
    }
    return result;
}

// The line paste: each clipboard line (cut into pieces of the maximum record length) becomes a new
// data or NOTE line before the cursor line.
Status PasteLines(AppSession& app, EditSession& session, std::string_view text, PasteAs as) {
    EditBuffer& buffer = session.buffer;
    LineRecord* before = CursorLine(app, session);
    if (before == nullptr) {
        ShowMessage(app, "To PASTE, cursor must be on a line.", MsgTo::Box, Beep::Exclamation);
        return -1;
    }
    if (before->kind == LineKind::TopMarker) {
        before = LineNext(before);
    }
    const auto width = static_cast<std::size_t>(MaxRecordLength(buffer));
    const FileProfile& profile = buffer.profile;
    const bool numberEach = profile.numberType != NumberType::None && profile.numberAuto == NumberAuto::Incr;
    bool folded = false;
    LineRecord* first = nullptr;
    UndoGroup group(app, session);
    Status result = 0;
    ForEachClipboardLine(text, [&](std::string_view line, std::string_view) {
        folded = folded || line.size() > width;
        do {
            std::string_view piece = line.substr(0, width);
            line.remove_prefix(piece.size());
            LineRecord* fresh = LineNew(buffer, piece);
            if (fresh == nullptr) {
                result = -1;  // reported by the line store; the lines made so far stay
                return false;
            }
            fresh->kind = as == PasteAs::Notes ? LineKind::Note : LineKind::Data;
            if (LineInsertBefore(buffer, before, fresh) != 0) {
                LineFree(buffer, fresh);
                result = -1;
                return false;
            }
            if (as == PasteAs::Notes) {
                JournalInsert(app, session, *fresh);  // the line list journals data lines only
            } else if (numberEach) {
                (void)NumberNewLine(buffer, *fresh);  // data lines were coloured as they went in
            }
            first = first != nullptr ? first : fresh;
        } while (!line.empty());
        return true;
    });
    buffer.modified = true;
    if (folded) {
        ShowMessage(
            app,
            "Clipboard contains lines longer than max rec length for receiving file, they will be folded.",
            MsgTo::Box, Beep::Exclamation);
    }
    if (profile.numberType != NumberType::None && profile.numberAuto == NumberAuto::Full) {
        Renumber(buffer);
    }
    if (first != nullptr && (session.view.topLine == before || session.view.topLine == nullptr)) {
        session.view.topLine = first;
    }
    RefreshRowTable(app, session);
    return result;
}

// Hands out the clipboard text of the selection in pieces, in one walk over the file (the lines of
// a large file are far apart in memory, so every walk over them costs): the selected part of each
// selected data line with CR LF after it; the last line's CR LF only as the line-end rule says. Gives
// up when the text outgrows the clipboard or no line is selected.
class SelectionPieces {
public:
    SelectionPieces(const EditBuffer& buffer, SelectionMode mode)
        : buffer_(buffer), mode_(mode), line_(LineFirst(buffer)) {}

    ClipboardPiece Next(std::string& piece) {
        if (finished_) {
            return ClipboardPiece::End;
        }
        piece.reserve(kPieceBytes + kSelectionLineEnd);
        for (; line_ != nullptr && piece.size() < kPieceBytes; line_ = LineNext(line_)) {
            if (LineHasSelection(*line_)) {
                Add(*line_, piece);
            }
        }
        heldNul_ = heldNul_ || std::memchr(piece.data(), '\0', piece.size()) != nullptr;
        if (size_ > kClipboardMax) {
            return ClipboardPiece::Abandon;
        }
        if (line_ == nullptr) {
            finished_ = true;
            if (lastSelected_ == nullptr) {
                return ClipboardPiece::Abandon;
            }
            if (lastData_ != nullptr && EndsWithLineEnd(*lastData_)) {
                piece.append("\r\n");
            }
        }
        return ClipboardPiece::More;
    }

    bool FoundSelection() const { return lastSelected_ != nullptr; }
    bool TooLarge() const { return size_ > kClipboardMax; }
    bool HeldNul() const { return heldNul_; }

private:
    static constexpr std::size_t kPieceBytes = std::size_t{1} << 18;

    void Add(const LineRecord& line, std::string& piece) {
        if (lastSelected_ == nullptr && mode_ == SelectionMode::Stream) {
            piece.append(StreamLead(buffer_, line));
        }
        lastSelected_ = &line;
        if (!IsDataLine(line)) {
            return;
        }
        if (lastData_ != nullptr) {
            piece.append("\r\n");  // a line before another one always ends
        }
        lastData_ = &line;
        ++dataLines_;
        size_ += LineLength(line) + 2;
        piece.append(SelectedPart(line));
    }

    // The last data line has its CR LF unless it is the last selected line and either the only one,
    // selected only in part, or the end of a stream inside it.
    bool EndsWithLineEnd(const LineRecord& line) const {
        if (&line != lastSelected_) {
            return true;
        }
        const bool endsInside = mode_ == SelectionMode::Stream && line.selEnd < kSelectionLineEnd;
        return !(dataLines_ == 1 && !IsWholeLine(line)) && !endsInside;
    }

    const EditBuffer& buffer_;
    const SelectionMode mode_;
    const LineRecord* line_;
    const LineRecord* lastSelected_ = nullptr;  // of any kind
    const LineRecord* lastData_ = nullptr;
    int dataLines_ = 0;
    std::size_t size_ = kClipboardOverhead;
    bool heldNul_ = false;
    bool finished_ = false;
};

}  // namespace

Status CopySelection(AppSession& app, EditSession& session) {
    if (session.selection.mode == SelectionMode::None) {
        ShowMessage(app, "No selection.", MsgTo::Line, Beep::Exclamation);
        return -1;
    }
    SelectionPieces pieces(session.buffer, session.selection.mode);
    ClipboardWriteResult result =
        PutClipboardPieces(app, [&](std::string& piece) { return pieces.Next(piece); });
    if (!pieces.FoundSelection()) {
        ShowMessage(app, "No selection.", MsgTo::Line, Beep::Exclamation);
        return -1;
    }
    if (pieces.TooLarge()) {
        ShowMessage(app, "Selection size exceeds available clipboard memory, can not copy.", MsgTo::Box,
                    Beep::Exclamation);
        return -1;
    }
    if (pieces.HeldNul()) {
        ShowMessage(app,
                    "CUT/COPY of data with x'00' will result in premature end at paste time, use MM or CC.",
                    MsgTo::Box, Beep::Exclamation);
    }
    if (!result.stored) {
        ShowMessage(app,
                    Format("Unable to write clipboard file %s", SessionClipboard(app).FilePath().c_str()),
                    MsgTo::Box, Beep::Exclamation);
        return -1;
    }
    return 0;
}

Status CutSelection(AppSession& app, EditSession& session) {
    SelectionSpan span = FindSelection(session);
    if (span && CheckSelectionDeletable(app, session, span) != 0) {
        return -1;
    }
    if (CopySelection(app, session) != 0) {
        return -1;
    }
    return DeleteSelection(app, session);
}

Status Paste(AppSession& app, EditSession& session, PasteAs as) {
    if (session.ReadOnly()) {
        ShowMessage(app, kReadOnly, MsgTo::Line, Beep::Error);
        return -1;
    }
    std::optional<std::string> text = GetClipboardText(app);
    if (!text) {
        ShowMessage(app, "Clipboard is empty.", MsgTo::Line, Beep::Exclamation);
        return -1;
    }
    if (SelectionExists(session) && DeleteSelection(app, session) != 0) {
        return -1;
    }
    std::string expanded = ExpandClipboardTabs(session.buffer, std::move(*text));
    if (!HasLineEnd(expanded)) {
        return PasteStream(app, session, expanded);
    }
    return PasteLines(app, session, expanded, as);
}

void CopyCommand(AppSession& app, EditSession& session, std::string_view) {
    (void)CopySelection(app, session);
}

void CutCommand(AppSession& app, EditSession& session, std::string_view) {
    (void)CutSelection(app, session);
}

void PasteCommand(AppSession& app, EditSession& session, std::string_view params) {
    std::string word = CommandToUpper(CommandTrim(params));
    if (!word.empty() && word != "ASNOTES") {
        ShowMessage(app,
                    Format("PASTE parameter must be ASNOTES: %s", std::string(CommandTrim(params)).c_str()),
                    MsgTo::Box, Beep::Exclamation);
        return;
    }
    (void)Paste(app, session, word.empty() ? PasteAs::Data : PasteAs::Notes);
}

}  // namespace tavoe
