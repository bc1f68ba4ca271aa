#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "core/command_desc.h"

namespace tavoe {

namespace ui {
class Painter;
}

// The commands of the edit view and its connection to the main window.

struct AppSession;
struct EditSession;

// HEX: without a parameter toggles the hexadecimal pane, "ON" shows it, any other parameter hides
// it. The window is laid out again.
void HexCommand(AppSession& app, EditSession& session, std::string_view params);

// RULER: without a parameter toggles the COLS ruler row, "ON" and "OFF" set it. The window is laid
// out again.
void RulerCommand(AppSession& app, EditSession& session, std::string_view params);

// SHOWEOL: without a parameter toggles the end-of-line colouring, "ON" and "OFF" set it.
void ShowEolCommand(AppSession& app, EditSession& session, std::string_view params);

// The rows of the view's commands: BOTTOM, COLORMAP, DOWN, HEX, LEFT, RECOLOR, RIGHT, RULER, SHOWEOL,
// TOP and UP.
CommandRows ViewCommands();

// Makes the view the instance's edit view (editing/edit_view_port.h): rows and scrolling follow the
// window's layout and the shown lines.
void InstallEditView(AppSession& app);

// What the main window draws through the view: the data window (prefix and data areas, in the
// session's display set), the vertical scroll bar's thumb among `cells` cells (first cell from 0 and
// length), and the COLS field's text.
void PaintEditData(AppSession& app, EditSession& session, ui::Painter& painter);
std::pair<int, int> VerticalThumbCells(AppSession& app, EditSession& session, int cells);
std::string ColsFieldText(AppSession& app, EditSession& session);

}  // namespace tavoe
