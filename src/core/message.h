#pragma once

#include <string>
#include <string_view>

namespace tavoe {

// How every layer tells the user something: ShowMessage hands the text to a Reporter. The running
// instance (AppSession) is one and decides between the message line and a box; a lower layer that
// needs nothing else of the instance takes a Reporter, and a test can pass a recording one.

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

class Reporter {
public:
    virtual ~Reporter() = default;
    // Shows (or records) one message; the beep is already known to be one of the five types.
    virtual void Report(std::string_view text, MsgTo to, Beep beep) = 0;
};

// Tells the user. A beep type outside 0..4 is reported first as "Next message out had unknown beep
// type." (box, error beep), and the message then goes out without a beep.
void ShowMessage(Reporter& reporter, std::string_view text, MsgTo to, Beep beep);

// Refuses an operation: the reason goes out as ShowMessage sends it, and the answer is -1 for the
// caller to return.
int Refuse(Reporter& reporter, std::string_view text, MsgTo to, Beep beep);

}  // namespace tavoe
