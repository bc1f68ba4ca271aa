#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/event.h"
#include "ui/glyph_map.h"

namespace tavoe {

namespace ui {

// Turns the text of a `!keys` script line into events: plain text is typed character by character
// (spaces included), and <...> names a key:
//   <Enter> <Tab> <BS> <Del> <Ins> <Home> <End> <Up> <Down> <Left> <Right> <PgUp> <PgDn> <Esc>
//   <Space> <F1>..<F12> <RCtrl> <Lt> (for "<"), a single character (<C-x>, <A-x>),
//   modifiers S- C- A- in any order before the name (<S-Tab>, <S-F3>, <C-PgDn>, <C-S-F1>),
//   mouse <Click:ROW,COL> <DblClick:ROW,COL> <RClick:ROW,COL> <Drag:ROW,COL> <WheelUp> <WheelDown>
//   <Drag:ROW,COL,ROW2,COL2> (press, move, release; with C- the Ctrl key is held throughout)
//   (optionally <WheelUp:ROW,COL>); ROW and COL count from 1 as the lines of a screen dump do, and
//   a wheel without a position turns where the mouse was last (at row and column -1, "no place",
//   before any mouse position was given; the program then scrolls its edit view).
// Names are compared without regard to case. The text is UTF-8 and is typed as display bytes.
class KeyScriptParser {
public:
    explicit KeyScriptParser(DisplaySet set = DisplaySet::Iso8859) : set_(set) {}
    void SetDisplaySet(DisplaySet set) { set_ = set; }

    // Appends the events of text to out. On a bad name returns false with error set to the message
    // (without the "batch: " prefix) and appends nothing.
    bool Parse(std::string_view text, std::vector<Event>& out, std::string& error);

private:
    bool ParseToken(std::string_view token, std::vector<Event>& out, std::string& error);

    DisplaySet set_;
    int lastRow_ = -1;  // the mouse's last place; -1 before any position was given
    int lastCol_ = -1;
};

}  // namespace ui

}  // namespace tavoe
