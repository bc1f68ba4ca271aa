#pragma once

#include <deque>
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "ui/backend.h"
#include "ui/headless/batch_script.h"

namespace tavoe {

namespace ui {

// What the program behind a batch run supplies for the script's variable lines.
struct BatchHooks {
    // !var NAME: the value to print as "var: NAME=VALUE".
    std::function<std::string(std::string_view name)> getVar;
    // !set NAME=VALUE.
    std::function<void(std::string_view name, std::string_view value)> setVar;
};

// The backend of --batch: events come from a script, the canvas is printed on request, and every
// message is printed as it happens ("message: TEXT", "box: TEXT", with a newline written as the two
// characters \n). A script error prints "batch: ..." on the error stream, and from then on, like the
// end of the script, every wait returns EventKind::EndOfInput; ExitCode() is then 2.
class HeadlessBackend : public Backend {
public:
    HeadlessBackend(std::istream& script, std::ostream& out, std::ostream& err, int rows = 24, int cols = 80);

    void SetHooks(BatchHooks hooks) { hooks_ = std::move(hooks); }

    int Rows() const override { return rows_; }
    int Cols() const override { return cols_; }
    void SetPalette(const Palette& palette) override { (void)palette; }
    void SetDisplaySet(DisplaySet set) override;
    void Present(Canvas& canvas) override;
    Event WaitEvent() override;
    bool PollEvent(Event& out) override;
    void Beep() override {}
    void NoteMessageLine(std::string_view text) override;
    std::optional<MsgBoxReply> AnswerMessageBox(const MessageBoxSpec& spec) override;

    // Prints the last presented canvas between "--- screen ---" and "--- end ---". With colours, a
    // "--- colors ---" part follows the rows: for each row "ROW:" and, at every column where the colour
    // changes, " COL:FB" with the foreground and background palette indexes as hexadecimal digits.
    enum class Dump { Text, WithColors };
    void PrintScreen(Dump dump = Dump::Text, int firstRow = 0, int lastRow = 0);
    // Reports a script error ("batch: TEXT") and ends the script.
    void Fail(std::string_view message);

    bool Failed() const { return failed_; }
    bool AtEnd() const { return ended_ || failed_; }
    int ExitCode() const { return failed_ ? 2 : 0; }

    // "COLSxROWS" as given to --size; false for anything else or a size outside 10x5..1000x500.
    static bool ParseSize(std::string_view text, int& rows, int& cols);

private:
    void PrintEscaped(const char* prefix, std::string_view text);

    BatchScript script_;
    std::ostream& out_;
    std::ostream& err_;
    int rows_;
    int cols_;
    DisplaySet set_ = DisplaySet::Iso8859;
    Canvas shown_;
    BatchHooks hooks_;
    std::deque<Event> pending_;
    std::deque<MsgBoxReply> replies_;
    bool ended_ = false;
    bool failed_ = false;
};

}  // namespace ui

}  // namespace tavoe
