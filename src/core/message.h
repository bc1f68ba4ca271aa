#pragma once

#include <string>
#include <string_view>

// How every layer tells the user something. Declared here, with no dependencies beyond the session
// record, so storage, the variable store and the dialogs can all report through it.

struct AppSession;

enum class MsgTo { Line = 0, Box = 1 };

// Beep types as stored in the session and in macros; values outside 0..4 are possible from callers
// and are reported as unknown.
enum class Beep : int { None = 0, Information = 1, Exclamation = 2, Error = 3, Question = 4 };

// One message as it was shown: where it went and which beep it carried.
struct ShownMessage {
    std::string text;
    MsgTo to = MsgTo::Line;
    Beep beep = Beep::None;
};

void ShowMessage(AppSession& app, std::string_view text, MsgTo to, Beep beep);
