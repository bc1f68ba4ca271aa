#include <cstdlib>
#include <ctime>

#include "core/app_session.h"
#include "core/message.h"
#include "macro/macro_interp.h"
#include "macro/macro_runtime.h"
#include "platform/format.h"

namespace tavoe {

// Date and time, the environment, messages, booleans and the trace switch.

namespace {

bool NoArguments(const RuntimeCall& call) {
    return call.Count() == 0 || call.Fail("RUNTIME: no parameters allowed");
}

}  // namespace

bool RtDate(const RuntimeCall& call) {
    if (!NoArguments(call)) {
        return false;
    }
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    call.Return(Format("%d %02d %02d %02d %02d %02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                       local.tm_hour, local.tm_min, local.tm_sec));
    return true;
}

bool RtTime(const RuntimeCall& call) {
    if (!NoArguments(call)) {
        return false;
    }
    call.ReturnNumber(static_cast<int64_t>(std::time(nullptr)));
    return true;
}

bool RtGetEnv(const RuntimeCall& call) {
    std::string name;
    if (call.Count() != 1) {
        return call.Fail("RUNTIME: one parameter required, P1=environment-variable-name");
    }
    if (!call.Text(0, name)) {
        return false;
    }
    const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
    call.Return(value != nullptr ? value : "");
    return true;
}

bool RtPutEnv(const RuntimeCall& call) {
    std::string name;
    std::string value;
    if (call.Count() != 2) {
        return call.Fail("RUNTIME: two parameters required,  P1=environment-variable-name  P2=value");
    }
    if (!call.Text(0, name) || !call.Text(1, value)) {
        return false;
    }
    bool ok = !name.empty() && name.find('=') == std::string::npos && name.find('\0') == std::string::npos &&
              ::setenv(name.c_str(), value.c_str(), 1) == 0;
    call.Return(ok ? "OK" : "ERROR");
    return true;
}

bool RtMsg(const RuntimeCall& call) {
    std::string text;
    if (call.Count() != 1) {
        return call.Fail("RUNTIME: one parameter required, P1=message-text");
    }
    if (!call.Text(0, text)) {
        return false;
    }
    if (!text.empty()) {
        ShowMessage(call.interp.App(), text, MsgTo::Box, Beep::Information);
    }
    call.Return("");
    return true;
}

bool RtNegate(const RuntimeCall& call) {
    std::string value;
    if (call.Count() != 1) {
        return call.Fail("RUNTIME: one parameter required, P1=boolean-state");
    }
    if (!call.Text(0, value)) {
        return false;
    }
    if (value != "TRUE" && value != "FALSE") {
        return call.Fail("RUNTIME: not a valid boolean value");
    }
    call.ReturnBool(value == "FALSE");
    return true;
}

// The trace of the calling function: a positive number of steps, "on" or "off".
bool RtTrace(const RuntimeCall& call) {
    if (call.Count() != 1) {
        return call.Fail("RUNTIME: one parameter required, P1=number, 'on' or 'off'");
    }
    MacroValue value;
    if (!call.interp.EvalInto(call.ArgNode(0), value)) {
        return false;
    }
    MacroFunction* function = call.interp.CurrentFunction();
    const std::string& text = value.Text();
    bool on = false;
    bool counting = false;
    if (value.IsDigits()) {
        if (value.Number() == 0 && !value.Overflows()) {
            return call.Fail("RUNTIME: zero not a valid trace count");
        }
        on = true;
        counting = true;
    } else if (text == "on" || text == "ON") {
        on = true;
    } else if (text != "off" && text != "OFF") {
        return call.Fail("RUNTIME: parm1 must be NUMBER, 'on', or 'off'.");
    }
    if (function != nullptr) {
        function->trace = on;
        function->traceCounting = counting;
        function->traceSteps = counting ? value.Number() : 0;
    }
    return true;
}

}  // namespace tavoe
