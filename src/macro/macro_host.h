#pragma once

#include <string>
#include <string_view>

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

    // The editor's service interface for TAVOSERVICE: selector (upper case), P2 and P3 (absent when
    // not passed). Returns the result text. Default: the store selectors VGET, VPUT, VDELETE and
    // VPERSIST, CMD through RunCommand, and "TavoService: '%s' not supported." for the rest.
    virtual std::string TavoService(AppSession& app, std::string_view selector, const std::string* p2,
                                    const std::string* p3);
};

}  // namespace tavoe
