#include "shell/instance_macro_host.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "buffer/edit_buffer.h"
#include "core/app_session.h"
#include "dialogs/dialog_runtime.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/labels.h"
#include "editing/selection.h"
#include "editing/undo_journal.h"
#include "macro/macro_host.h"
#include "shell/command_route.h"
#include "shell/edit_session.h"
#include "shell/instances.h"
#include "shell/main_window.h"
#include "ui/screen.h"
#include "utilities/print_job.h"

namespace tavoe {

namespace {

// The position of a data line among the data lines (from 1); 0 for any other line.
int32_t DataLineNumber(const EditBuffer& buffer, const LineRecord* target) {
    if (target == nullptr || !IsDataLine(*target)) {
        return 0;
    }
    int32_t number = 0;
    for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
        ++number;
        if (line == target) {
            return number;
        }
    }
    return 0;
}

// The n-th data line (from 1), or null.
LineRecord* NthDataLine(const EditBuffer& buffer, int32_t n) {
    if (n < 1) {
        return nullptr;
    }
    for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
        if (--n == 0) {
            return line;
        }
    }
    return nullptr;
}

int32_t DataLineCount(const EditBuffer& buffer) {
    int32_t count = 0;
    for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
        ++count;
    }
    return count;
}

// The line macros act on: the line under the cursor, or the current line when the cursor is on
// none (the same line the label .ZCSR names).
LineRecord* ServiceLine(AppSession& app, EditSession& session) {
    return FindLabel(app, session, ".ZCSR");
}

bool CapsOn(const EditBuffer& buffer) {
    return buffer.profile.caps == CapsMode::On ||
           (buffer.profile.caps == CapsMode::Auto && buffer.file.capsOn);
}

std::string TrimmedRight(std::string_view text) {
    size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

// What the macro queries tell of the selection; NONE and zeros without one.
struct SelectionFacts {
    std::string mode = "NONE";
    int32_t startLine = 0;
    int32_t endLine = 0;
    int32_t startColumn = 0;
    int32_t endColumn = 0;
};

// The corners of the session's selection (data line numbers and columns) and its mode.
SelectionFacts ReadSelection(const EditSession& session) {
    SelectionFacts facts;
    SelectionSpan span = FindSelection(session);
    if (!span) {
        return facts;
    }
    int32_t number = 0;
    for (LineRecord* line = FirstDataLine(session.buffer); line != nullptr; line = NextDataLine(line)) {
        ++number;
        if (line == span.first) {
            facts.startLine = number;
        }
        if (line == span.last) {
            facts.endLine = number;
            break;
        }
    }
    facts.startColumn = span.first->selStart;
    facts.endColumn = span.last->selEnd;
    facts.mode = span.mode == SelectionMode::WholeLine ? "WHOLELINE"
                 : span.mode == SelectionMode::Block   ? "BLOCK"
                                                       : "STREAM";
    return facts;
}

std::string Number(int64_t value) {
    return std::to_string(value);
}

// The session's answers to QUERY.
std::string SessionValue(AppSession& app, EditSession& session, ServiceQuery query, int32_t number) {
    EditBuffer& buffer = session.buffer;
    EditViewState& view = session.view;
    switch (query) {
        case ServiceQuery::BoundsLeft:
            return Number(buffer.profile.boundsLeft);
        case ServiceQuery::BoundsRight:
            return Number(buffer.profile.boundsRight);
        case ServiceQuery::Caps:
            return CapsOn(buffer) ? "TRUE" : "FALSE";
        case ServiceQuery::CharsetFile:
            return std::string(ProfileCharsetName(buffer.profile.diskCharset));
        case ServiceQuery::CharsetDisplay:
            return std::string(ProfileCharsetName(buffer.profile.displayCharset));
        case ServiceQuery::ColNumber: {
            CursorPlace place = CursorPlaceOf(app, session);
            return Number(place.line != nullptr && place.area == CursorArea::Data ? place.column : 0);
        }
        case ServiceQuery::Cols: {
            int32_t maxLength = buffer.profile.maxRecordLength > 0 ? buffer.profile.maxRecordLength : 1;
            int32_t first = std::min(FirstShownColumn(session), maxLength);
            int32_t last = std::min(first + std::max(DataAreaColumns(app, session), 1) - 1, maxLength);
            return std::to_string(first) + "," + std::to_string(last);
        }
        case ServiceQuery::CursorRow:
            return Number(view.cursorRow + 1);
        case ServiceQuery::FileModified:
            return session.Modified() ? "TRUE" : "FALSE";
        case ServiceQuery::FileSpec:
            return session.FileName();
        case ServiceQuery::FindStringCount:
            return Number(LastFindCounts(session).strings);
        case ServiceQuery::FindLineCount:
            return Number(LastFindCounts(session).lines);
        case ServiceQuery::LastLineNumber:
            return Number(std::exchange(view.macroLastLine, 0));
        case ServiceQuery::LastColNumber:
            return Number(std::exchange(view.macroLastColumn, 0));
        case ServiceQuery::LineData: {
            LineRecord* line = ServiceLine(app, session);
            return line != nullptr ? TrimmedRight(LineText(*line)) : std::string();
        }
        case ServiceQuery::LineCount:
            return Number(DataLineCount(buffer));
        case ServiceQuery::LineLabel: {
            LineRecord* line = NthDataLine(buffer, number);
            if (line == nullptr || !LineHasLabel(*line)) {
                return {};
            }
            std::string_view label = LineLabel(*line);
            return std::string(label.substr(0, label.find(' ')));
        }
        case ServiceQuery::LineLength: {
            LineRecord* line = ServiceLine(app, session);
            return Number(line != nullptr ? LineLength(*line) : 0);
        }
        case ServiceQuery::LineNumber:
            return Number(DataLineNumber(buffer, ServiceLine(app, session)));
        case ServiceQuery::SelectMode:
            return ReadSelection(session).mode;
        case ServiceQuery::SelectStartCol:
            return Number(ReadSelection(session).startColumn);
        case ServiceQuery::SelectEndCol:
            return Number(ReadSelection(session).endColumn);
        case ServiceQuery::SelectStartLine:
            return Number(ReadSelection(session).startLine);
        case ServiceQuery::SelectEndLine:
            return Number(ReadSelection(session).endLine);
        case ServiceQuery::XStatus: {
            LineRecord* line = NthDataLine(buffer, number);
            return line != nullptr && !LineIsVisible(*line) ? "TRUE" : "FALSE";
        }
        default:
            return {};
    }
}

// Replaces the text of the line as one undoable change that marks the file modified.
void ReplaceLineText(AppSession& app, EditSession& session, LineRecord& line, std::string_view text) {
    UndoGroup group(app, session);
    JournalTextChange(app, session, line);
    if (LineSetText(session.buffer, line, text) != 0) {
        return;  // reported; the line is as it was
    }
    session.buffer.modified = true;
    LineClearFlag(line, LineFlagA::InsertPending);
    if (session.buffer.colorizer != nullptr) {
        session.buffer.colorizer->ColorizeLine(session.buffer, line);
    }
}

// Brings the screen up to date with what the macro changed so far.
void Redraw(AppSession& app) {
    if (EditSession* session = CurrentEditSession(app)) {
        RefreshRowTable(app, *session);
    }
    if (app.screen != nullptr && !app.batchMode) {
        app.screen->Render();
        app.screen->Present();
    }
}

class InstanceMacroHost : public MacroHost {
public:
    int RunCommand(AppSession& app, std::string_view command) override {
        RunCommandLine(app, CurrentRoute(app), command);
        return 0;
    }

    TraceAnswer AskTrace(AppSession& app, std::string_view title, std::string_view listing) override {
        ui::MsgBoxReply reply = AskQuestion(app, std::string(title) + "\n\n" + std::string(listing),
                                            ui::MsgBoxButtons::YesNoCancel, ui::MsgBoxIcon::Question, 0);
        return reply == ui::MsgBoxReply::Yes  ? TraceAnswer::Step
               : reply == ui::MsgBoxReply::No ? TraceAnswer::TraceOff
                                              : TraceAnswer::EndMacro;
    }

    std::string QuerySession(AppSession& app, ServiceQuery query, int32_t number) override {
        if (query == ServiceQuery::TaskCount) {
            return Number(static_cast<int64_t>(app.editSessions.size()));
        }
        EditSession* session = CurrentEditSession(app);
        return session != nullptr ? SessionValue(app, *session, query, number)
                                  : MacroHost::QuerySession(app, query, number);
    }

    ServiceSetOutcome SetSession(AppSession& app, ServiceSet what, std::string_view value) override {
        if (what == ServiceSet::Title) {
            // Shown alone, as a file name is. The current session keeps it, so it comes back
            // whenever the session is shown again.
            if (EditSession* session = CurrentEditSession(app)) {
                session->view.title = std::string(value);
            }
            SetTitleContext(app, value, TitleContext::EditFileName);
            return ServiceSetOutcome::Done;
        }
        EditSession* session = CurrentEditSession(app);
        if (session == nullptr) {
            return ServiceSetOutcome::NoSession;
        }
        int32_t number = static_cast<int32_t>(std::strtol(std::string(value).c_str(), nullptr, 10));
        switch (what) {
            case ServiceSet::CursorRow: {
                EditViewState& view = session->view;
                view.cursorColumn = std::max(view.cursorColumn, view.prefixWidth);
                view.focus = KeyField::Data;
                SetCursorRow(app, *session, number - 1);
                return ServiceSetOutcome::Done;
            }
            case ServiceSet::ColNumber: {
                LineRecord* line = ServiceLine(app, *session);
                if (line == nullptr || !IsDataLine(*line)) {
                    return ServiceSetOutcome::NotDataLine;
                }
                ShowCursorColumn(app, *session, number);
                return ServiceSetOutcome::Done;
            }
            case ServiceSet::LineData: {
                if (session->ReadOnly()) {
                    return ServiceSetOutcome::ReadOnly;
                }
                LineRecord* line = ServiceLine(app, *session);
                if (line == nullptr || !IsDataLine(*line)) {
                    return ServiceSetOutcome::NotDataLine;
                }
                ReplaceLineText(app, *session, *line, value);
                return ServiceSetOutcome::Done;
            }
            case ServiceSet::Title:
                break;
        }
        return ServiceSetOutcome::Done;
    }

    std::string ShowDialog(AppSession& app, std::string_view name) override {
        std::optional<std::string> reply = ShowDialogForMacro(app, name);
        Redraw(app);
        return reply.value_or(std::string());
    }

    void Pause(AppSession& app, int milliseconds) override {
        Redraw(app);
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }

    void PrintFile(AppSession& app, const std::string& path) override {
        (void)tavoe::PrintFile(app, path, {});
    }
};

}  // namespace

void RecordClickForMacros(AppSession& app, EditSession& session) {
    CursorPlace place = CursorPlaceOf(app, session);
    int32_t line = DataLineNumber(session.buffer, place.line);
    session.view.macroLastLine = line;
    session.view.macroLastColumn = line > 0 && place.area == CursorArea::Data ? place.column : 0;
}

std::unique_ptr<MacroHost> MakeInstanceMacroHost() {
    return std::make_unique<InstanceMacroHost>();
}

}  // namespace tavoe
