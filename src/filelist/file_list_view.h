#pragma once

#include <string>

#include "ui/canvas.h"
#include "ui/event.h"

namespace tavoe {

// The file list window, drawn into the main window's client area like the edit view: the command
// field, the title line, the header line, the column headings, the rows (each behind a few cells
// where one-letter line commands are typed) and a vertical scroll bar.

struct AppSession;
class FileListWindow;

// Rows of the client area taken by the lines above the entries.
inline constexpr int kListCommandRow = 0;
inline constexpr int kListTitleRow = 1;
inline constexpr int kListHeaderRow = 2;
inline constexpr int kListHeadingRow = 3;
inline constexpr int kListFirstEntryRow = 4;

// Paints the window into the painter (the client area) and places the caret when it has the focus.
void PaintFileListWindow(AppSession& app, FileListWindow& window, ui::Painter& painter, bool focused);

// A key for the window; false when the window does not use it (function keys, Alt letters), so the
// key mapping runs it.
bool FileListKey(AppSession& app, FileListWindow& window, const ui::KeyEvent& key, int clientRows);

// A mouse event at a position relative to the client area.
void FileListMouse(AppSession& app, FileListWindow& window, const ui::MouseEvent& mouse, int screenRow,
                   int screenCol);

// A script line: typed into the command field, then Enter (which runs the line commands typed in
// the rows first).
void FileListTypedLine(AppSession& app, FileListWindow& window, const std::string& text);

}  // namespace tavoe
