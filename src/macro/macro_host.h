#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "macro/macro_service.h"

namespace tavoe {

// What a running macro needs from the editor around it, as one interface with working defaults: the
// lead's window system and command processor subclass it, tests subclass it to drive Escape and
// the trace, and batch runs use the defaults.

struct AppSession;

enum class TraceAnswer { Step, TraceOff, EndMacro };  // the Yes, No and Cancel of the trace box

class MacroHost {
public:
    virtual ~MacroHost() = default;

    // Polled every few thousand p-code nodes: true stops the running macro. Default: the instance's
    // Escape probe (Storage(app)).
    virtual bool EscapePressed(AppSession& app);

    // Shows one trace listing in a Yes/No/Cancel box with the given title. Default: a message box
    // and Step.
    virtual TraceAnswer AskTrace(AppSession& app, std::string_view title, std::string_view listing);

    // Runs an ordinary primary command (the error display's "edit", "mergemsg", "browse"; CMD of the
    // service interface). Default: the shell's general command processor (Shell(app)).
    virtual int RunCommand(AppSession& app, std::string_view command);

    // ---- What the service interface (macro_service.h) asks of the instance ----

    // Editor state for QUERY, as text: the current edit session's values (the empty text or "0"
    // without one; reading LAST_LINE_NUMBER or LAST_COL_NUMBER resets the recorded value), and
    // TASK_COUNT. `number` is P3 as a number (LINE_LABEL, XSTATUS). The dates and the font are
    // answered by the service itself. Base: no session, so "" or "0", and TASK_COUNT 0.
    virtual std::string QuerySession(AppSession& app, ServiceQuery query, int32_t number);

    // Changes editor state for SET; the service has checked the value's form (no zero row or
    // column). Base: TITLE is done and nothing else has a session.
    virtual ServiceSetOutcome SetSession(AppSession& app, ServiceSet what, std::string_view value);

    // Shows a dialog and waits for it, then redraws the session: "OK", "HELP", "CANCEL" or "ERROR",
    // empty for any other ending. Base: "ERROR" (there are no dialogs to show).
    virtual std::string ShowDialog(AppSession& app, std::string_view name);

    // Pauses the macro for the milliseconds (1..15000, checked by the service). Base: sleeps.
    virtual void Pause(AppSession& app, int milliseconds);

    // Prints a file that is not being edited (FILEPRINT). Base: "browse %s;print;end" through
    // RunCommand.
    virtual void PrintFile(AppSession& app, const std::string& path);
};

}  // namespace tavoe
