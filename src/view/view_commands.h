#pragma once

#include <string_view>

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

// Installs the view into the program: the main window paints the data window, the ruler row, the
// hexadecimal pane, the COLS field and the status line through this view; the dispatcher gets the
// HEX, RULER and SHOWEOL handlers, the scroll commands, and the view's screen bookkeeping hook
// (the row table is rebuilt after each command). The tables are the process's; every function receives the
// AppSession.
void InstallEditView();
