#include "ui/headless/headless_backend.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

#include "ui/canvas_text.h"

namespace tavoe {

namespace ui {

HeadlessBackend::HeadlessBackend(std::istream& script, std::ostream& out, std::ostream& err, int rows,
                                 int cols)
    : script_(script), out_(out), err_(err), rows_(rows), cols_(cols), shown_(rows, cols) {}

void HeadlessBackend::SetDisplaySet(DisplaySet set) {
    set_ = set;
    script_.SetDisplaySet(set);
}

void HeadlessBackend::Present(Canvas& canvas) {
    canvas.TakeChanges();
    shown_ = canvas;
}

void HeadlessBackend::PrintScreen(Dump dump, int firstRow, int lastRow) {
    // Rows are counted from 1 in scripts; without a range every row is printed.
    int first = firstRow > 0 ? firstRow - 1 : 0;
    int last = lastRow > 0 ? std::min(lastRow, shown_.Rows()) - 1 : shown_.Rows() - 1;
    std::string text = CanvasText(shown_, set_);
    out_ << "--- screen ---\n";
    size_t start = 0;
    for (int row = 0; start < text.size() && row <= last; ++row) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        if (row >= first) {
            out_ << std::string_view(text).substr(start, end - start);
        }
        start = end;
    }
    if (dump == Dump::WithColors) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        out_ << "--- colors ---\n";
        for (int row = first; row <= last; ++row) {
            out_ << row << ':';
            for (int col = 0; col < shown_.Cols(); ++col) {
                ColorPair color = shown_.At(row, col).color;
                if (col == 0 || !(color == shown_.At(row, col - 1).color)) {
                    out_ << ' ' << col << ':' << kHex[color.fg & 15] << kHex[color.bg & 15];
                }
            }
            out_ << '\n';
        }
    }
    out_ << "--- end ---\n";
    out_.flush();
}

void HeadlessBackend::Fail(std::string_view message) {
    if (!failed_) {
        err_ << "batch: " << message << '\n';
        err_.flush();
    }
    failed_ = true;
    pending_.clear();
}

Event HeadlessBackend::WaitEvent() {
    while (!failed_) {
        if (wake_.Drain()) {
            return Event::Of(EventKind::Wake);
        }
        if (!pending_.empty()) {
            Event event = pending_.front();
            pending_.pop_front();
            return event;
        }
        if (ended_) {
            break;
        }
        ScriptItem item = script_.Next();
        switch (item.kind) {
            case ScriptItemKind::TypedLine: {
                Event event = Event::Of(EventKind::TypedLine);
                event.text = std::move(item.text);
                return event;
            }
            case ScriptItemKind::Keys:
                pending_.insert(pending_.end(), item.events.begin(), item.events.end());
                break;
            case ScriptItemKind::Reply:
                replies_.push_back(item.reply);
                break;
            case ScriptItemKind::Screen:
                PrintScreen(item.text == "COLORS" ? Dump::WithColors : Dump::Text, item.firstRow,
                            item.lastRow);
                break;
            case ScriptItemKind::Var:
                if (!hooks_.getVar) {
                    Fail("line " + std::to_string(script_.LineNumber()) + ": !var is not available here");
                    break;
                }
                out_ << "var: " << item.text << '=' << hooks_.getVar(item.text) << '\n';
                out_.flush();
                break;
            case ScriptItemKind::Set:
                if (!hooks_.setVar) {
                    Fail("line " + std::to_string(script_.LineNumber()) + ": !set is not available here");
                    break;
                }
                hooks_.setVar(item.text, item.value);
                break;
            case ScriptItemKind::End:
                ended_ = true;
                break;
            case ScriptItemKind::Error:
                Fail(item.text);
                break;
        }
    }
    return Event::Of(EventKind::EndOfInput);
}

bool HeadlessBackend::PollEvent(Event& out) {
    // Script lines are never read ahead: a script cannot type into work that is under way.
    (void)out;
    return false;
}

void HeadlessBackend::PrintEscaped(const char* prefix, std::string_view text) {
    out_ << prefix;
    for (char c : text) {
        if (c == '\n') {
            out_ << "\\n";
        } else {
            out_ << c;
        }
    }
    out_ << '\n';
    out_.flush();
}

void HeadlessBackend::NoteMessageLine(std::string_view text) {
    PrintEscaped("message: ", text);
}

std::optional<MsgBoxReply> HeadlessBackend::AnswerMessageBox(const MessageBoxSpec& spec) {
    PrintEscaped("box: ", spec.text);
    MsgBoxReply fallback = MsgBoxDefaultReply(spec);
    // A box with only OK asks nothing, so it leaves the queued replies for the next one that asks.
    if (spec.buttons == MsgBoxButtons::Ok || replies_.empty() || failed_) {
        return fallback;
    }
    MsgBoxReply reply = replies_.front();
    replies_.pop_front();
    MsgBoxReply choices[3];
    int count = MsgBoxChoices(spec.buttons, choices);
    for (int i = 0; i < count; ++i) {
        if (choices[i] == reply) {
            return reply;
        }
    }
    Fail(std::string("reply ") + MsgBoxReplyName(reply) + " does not fit the message box \"" + spec.text +
         "\"");
    return fallback;
}

bool HeadlessBackend::ParseSize(std::string_view text, int& rows, int& cols) {
    size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) {
        return false;
    }
    int c = 0;
    int r = 0;
    std::string_view cs = text.substr(0, x);
    std::string_view rs = text.substr(x + 1);
    auto [cEnd, cErr] = std::from_chars(cs.data(), cs.data() + cs.size(), c);
    auto [rEnd, rErr] = std::from_chars(rs.data(), rs.data() + rs.size(), r);
    if (cErr != std::errc() || rErr != std::errc() || cEnd != cs.data() + cs.size() ||
        rEnd != rs.data() + rs.size() || c < 10 || r < 5 || c > 1000 || r > 500) {
        return false;
    }
    rows = r;
    cols = c;
    return true;
}

}  // namespace ui

}  // namespace tavoe
