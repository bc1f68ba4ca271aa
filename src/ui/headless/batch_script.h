#pragma once

#include <istream>
#include <string>
#include <vector>

#include "ui/event.h"
#include "ui/key_script.h"
#include "ui/message_box_options.h"

namespace tavoe {

namespace ui {

enum class ScriptItemKind : uint8_t {
    TypedLine,  // text typed into the current field, followed by Enter
    Keys,       // !keys: events
    Reply,      // !reply: the answer for the next message box that asks
    Screen,     // !screen [colors] [A[-B]] (text "COLORS": the colours of the cells follow)
    Var,        // !var NAME
    Set,        // !set NAME=VALUE
    End,        // no more lines
    Error       // a bad line; text is the message without the "batch: " prefix
};

struct ScriptItem {
    ScriptItemKind kind = ScriptItemKind::End;
    std::string text;   // typed line (display bytes), variable name, or error message
    std::string value;  // !set value
    std::vector<Event> events;
    MsgBoxReply reply = MsgBoxReply::Ok;
    int firstRow = 0;  // !screen A-B: the rows to print, counted from 1; 0 and 0 print all
    int lastRow = 0;
};

// Reads a batch script line by line and says what each line asks for. Comment lines ("#") are
// skipped; every other line not beginning with "!" is a typed line (an empty one is a bare Enter).
class BatchScript {
public:
    BatchScript(std::istream& in, DisplaySet set = DisplaySet::Iso8859);
    void SetDisplaySet(DisplaySet set);

    ScriptItem Next();
    int LineNumber() const { return lineNumber_; }

private:
    std::istream& in_;
    DisplaySet set_;
    KeyScriptParser parser_;
    int lineNumber_ = 0;
};

}  // namespace ui

}  // namespace tavoe
