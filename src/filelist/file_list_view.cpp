#include "filelist/file_list_view.h"

#include <algorithm>
#include <vector>

#include "commands/dispatch.h"
#include "core/app_session.h"
#include "core/context_stack.h"
#include "editing/session_clipboard.h"
#include "filelist/file_list_format.h"
#include "filelist/file_list_line_commands.h"
#include "filelist/file_list_session.h"
#include "filelist/file_list_sort.h"
#include "ui/glyph_map.h"
#include "ui/popup_menu.h"
#include "ui/screen.h"

namespace tavoe {

namespace {

constexpr ui::ColorPair kBar{0, 2};
constexpr ui::ColorPair kField{0, 3};
constexpr ui::ColorPair kTitle{3, 8};
constexpr ui::ColorPair kHeading{8, 2};
constexpr ui::ColorPair kRow{0, 3};
constexpr ui::ColorPair kActionCells{12, 3};
constexpr ui::ColorPair kSelected{3, 8};
constexpr ui::ColorPair kCursorRow{0, 11};
constexpr ui::ColorPair kScroll{1, 2};
constexpr int kCommandLabelWidth = 9;  // " Command "
constexpr size_t kCommandMax = 255;

int EntryRows(int clientRows) {
    return std::max(clientRows - kListFirstEntryRow, 0);
}

// Keeps the cursor inside the rows and on the screen.
void Settle(FileListWindow& window, int rowCount, int clientRows) {
    int shown = std::max(EntryRows(clientRows), 1);
    window.cursorRow = std::clamp(window.cursorRow, 0, std::max(rowCount - 1, 0));
    if (window.cursorRow < window.topRow) {
        window.topRow = window.cursorRow;
    }
    if (window.cursorRow >= window.topRow + shown) {
        window.topRow = window.cursorRow - shown + 1;
    }
    window.topRow = std::clamp(window.topRow, 0, std::max(rowCount - 1, 0));
}

void RunListCommandField(AppSession& app, FileListWindow& window) {
    std::string text = window.command;
    size_t first = text.find_first_not_of(" ;");
    window.command.clear();
    if (first == std::string::npos) {
        return;
    }
    RunFileListCommand(app, text.substr(first));
}

// Enter: the line commands typed in the rows run first; then the command field's text, unless a
// line command has put another context on top.
void Enter(AppSession& app, FileListWindow& window) {
    bool typed = false;
    for (const FileEntry* entry : VisibleRows(window.list)) {
        typed = typed || !entry->pending.empty();
    }
    if (typed) {
        ProcessFileListLineCommands(app, window);
        if (CurrentFileList(app) != &window || TopContextKind(app) != ContextKind::FileList) {
            return;
        }
    }
    RunListCommandField(app, window);
}

void SortByHeading(AppSession& app, FileListWindow& window, SortField field) {
    SortRequest request;
    request.field = field;
    // A second click on the heading the list is sorted by turns the order round.
    if (window.list.sorted && window.list.sortField == field &&
        window.list.sortOrder == SortOrder::Ascending) {
        request.order = SortOrder::Descending;
    }
    SortShowingProgress(app, window, request);
}

void ShowPopup(AppSession& app, FileListWindow& window, int screenRow, int screenCol) {
    static const char* const kVerbs[] = {"Edit",   "Browse",  "Copy",  "Move", "Rename",
                                         "Delete", "Exclude", "Print", "Info", "UserCmd"};
    if (app.screen == nullptr) {
        return;
    }
    std::vector<ui::MenuEntry> entries;
    for (const char* verb : kVerbs) {
        entries.push_back(ui::MenuEntry{verb});
    }
    int chosen = ui::RunPopupMenu(*app.screen, entries, screenRow, screenCol);
    if (chosen >= 0) {
        ApplyPopupVerb(app, window, kVerbs[chosen]);
    }
}

}  // namespace

void PaintFileListWindow(AppSession&, FileListWindow& window, ui::Painter& painter, bool focused) {
    painter.FillAll(kRow);
    int cols = painter.Cols();
    int rows = painter.Rows();
    if (rows < 1) {
        return;
    }
    painter.Fill(ui::Rect{kListCommandRow, 0, 1, cols}, kBar);
    painter.Text(kListCommandRow, 0, " Command ", kBar);
    painter.Fill(ui::Rect{kListCommandRow, kCommandLabelWidth, 1, cols - kCommandLabelWidth}, kField);
    int fieldWidth = std::max(cols - kCommandLabelWidth, 1);
    size_t shift = window.command.size() >= static_cast<size_t>(fieldWidth)
                       ? window.command.size() - static_cast<size_t>(fieldWidth) + 1
                       : 0;
    painter.Text(kListCommandRow, kCommandLabelWidth, std::string_view(window.command).substr(shift), kField);
    if (rows > kListTitleRow) {
        painter.Fill(ui::Rect{kListTitleRow, 0, 1, cols}, kTitle);
        std::string title = window.list.title.empty() ? std::string(kFileListTitle) : window.list.title;
        painter.Text(kListTitleRow, 0, title, kTitle);
    }
    if (rows > kListHeaderRow) {
        painter.Text(kListHeaderRow, 0, HeaderLine(window.list), kRow);
    }
    const RowLayout& layout = window.layout;
    int dataCol = layout.actionWidth + 1;
    int barCol = cols - 1;
    if (rows > kListHeadingRow) {
        painter.Fill(ui::Rect{kListHeadingRow, 0, 1, cols}, kHeading);
        std::string headings = ColumnHeadings(layout);
        if (static_cast<size_t>(window.leftColumn) < headings.size()) {
            painter.Text(kListHeadingRow, dataCol, std::string_view(headings).substr(window.leftColumn),
                         kHeading);
        }
    }
    std::vector<FileEntry*> entries = VisibleRows(window.list);
    int shown = EntryRows(rows);
    for (int r = 0; r < shown; ++r) {
        size_t index = static_cast<size_t>(window.topRow + r);
        if (index >= entries.size()) {
            break;
        }
        const FileEntry& entry = *entries[index];
        int row = kListFirstEntryRow + r;
        bool atCursor =
            focused && window.focus == ListFocus::Rows && window.cursorRow == static_cast<int>(index);
        ui::ColorPair color = entry.selected ? kSelected : kRow;
        painter.Fill(ui::Rect{row, 0, 1, layout.actionWidth}, atCursor ? kCursorRow : kActionCells, '.');
        painter.Text(row, 0, entry.pending, atCursor ? kCursorRow : kActionCells);
        painter.Fill(ui::Rect{row, dataCol, 1, cols - dataCol}, color);
        std::string text = RowText(entry, layout);
        if (static_cast<size_t>(window.leftColumn) < text.size()) {
            painter.Text(row, dataCol, std::string_view(text).substr(window.leftColumn), color);
        }
    }
    // The scroll bar beside the rows: arrows at its ends, the thumb where the shown rows lie.
    if (shown > 2 && cols > dataCol + 1) {
        for (int r = 0; r < shown; ++r) {
            painter.Put(kListFirstEntryRow + r, barCol, ui::glyph::kLightShade, kScroll,
                        ui::CellKind::Graphic);
        }
        painter.Put(kListFirstEntryRow, barCol, ui::glyph::kArrowUp, kScroll, ui::CellKind::Graphic);
        painter.Put(kListFirstEntryRow + shown - 1, barCol, ui::glyph::kArrowDown, kScroll,
                    ui::CellKind::Graphic);
        int track = shown - 2;
        int total = std::max(static_cast<int>(entries.size()), 1);
        int length = std::clamp(track * shown / total, 1, track);
        int first = total > shown ? (track - length) * window.topRow / std::max(total - shown, 1) : 0;
        for (int r = first; r < first + length && r < track; ++r) {
            painter.Put(kListFirstEntryRow + 1 + r, barCol, ui::glyph::kFullBlock, kScroll,
                        ui::CellKind::Graphic);
        }
    }
    if (!focused) {
        return;
    }
    if (window.focus == ListFocus::Command) {
        int caret = kCommandLabelWidth + static_cast<int>(window.command.size() - shift);
        painter.SetCursor(kListCommandRow, std::min(caret, cols - 1), ui::CursorShape::Underline);
    } else if (window.cursorRow >= window.topRow && window.cursorRow < window.topRow + shown) {
        const FileEntry* entry = static_cast<size_t>(window.cursorRow) < entries.size()
                                     ? entries[static_cast<size_t>(window.cursorRow)]
                                     : nullptr;
        int caret = entry != nullptr ? static_cast<int>(entry->pending.size()) : 0;
        painter.SetCursor(kListFirstEntryRow + window.cursorRow - window.topRow,
                          std::min(caret, layout.actionWidth - 1), ui::CursorShape::Underline);
    }
}

namespace {

// Ctrl+C and Ctrl+X copy the command field to the clipboard (Ctrl+X also empties it), Ctrl+V types
// the clipboard's first line into it: as in the edit session's command field.
bool CommandFieldClipboardKey(AppSession& app, FileListWindow& window, int ch) {
    if (ch == 'c' || ch == 'x') {
        (void)PutClipboardText(app, window.command);
        if (ch == 'x') {
            window.command.clear();
        }
        return true;
    }
    if (ch == 'v') {
        std::string pasted = GetClipboardText(app).value_or(std::string());
        for (char c : pasted) {
            if (c == '\n' || c == '\r' || window.command.size() >= kCommandMax) {
                break;
            }
            if (static_cast<unsigned char>(c) >= 0x20) {
                window.command += c;
            }
        }
        return true;
    }
    return false;
}

}  // namespace

bool FileListKey(AppSession& app, FileListWindow& window, const ui::KeyEvent& key, int clientRows) {
    std::vector<FileEntry*> entries = VisibleRows(window.list);
    int count = static_cast<int>(entries.size());
    int page = std::max(EntryRows(clientRows) - 1, 1);
    FileEntry* current = window.focus == ListFocus::Rows && window.cursorRow < count
                             ? entries[static_cast<size_t>(window.cursorRow)]
                             : nullptr;
    switch (key.key) {
        case ui::Key::Char:
            if (window.focus == ListFocus::Command && key.mods == ui::kModCtrl &&
                CommandFieldClipboardKey(app, window, key.ch)) {
                return true;
            }
            if ((key.mods & (ui::kModCtrl | ui::kModAlt)) != 0 || key.ch < 0x20) {
                return false;
            }
            if (window.focus == ListFocus::Command) {
                if (window.command.size() < kCommandMax) {
                    window.command += static_cast<char>(key.ch);
                }
            } else if (current != nullptr &&
                       static_cast<int>(current->pending.size()) < window.layout.actionWidth) {
                current->pending += static_cast<char>(key.ch);
            }
            return true;
        case ui::Key::Backspace:
            if (window.focus == ListFocus::Command) {
                if (!window.command.empty()) {
                    window.command.pop_back();
                }
            } else if (current != nullptr && !current->pending.empty()) {
                current->pending.pop_back();
            }
            return true;
        case ui::Key::Enter:
            Enter(app, window);
            return true;
        case ui::Key::Tab:
        case ui::Key::Home:
            if (window.focus == ListFocus::Command && count > 0 && key.key == ui::Key::Tab) {
                window.focus = ListFocus::Rows;
                window.cursorRow = window.topRow;
                Settle(window, count, clientRows);
            } else {
                window.focus = ListFocus::Command;
            }
            return true;
        case ui::Key::Up:
        case ui::Key::Down:
        case ui::Key::PageUp:
        case ui::Key::PageDown: {
            if (count == 0) {
                return true;
            }
            int step = key.key == ui::Key::Up       ? -1
                       : key.key == ui::Key::Down   ? 1
                       : key.key == ui::Key::PageUp ? -page
                                                    : page;
            if (window.focus == ListFocus::Command) {
                window.focus = ListFocus::Rows;
                window.cursorRow = window.topRow;
                if (step > 0 && step < page) {
                    step = 0;
                }
            }
            window.cursorRow += step;
            if (key.key == ui::Key::PageUp || key.key == ui::Key::PageDown) {
                window.topRow += step;
            }
            Settle(window, count, clientRows);
            return true;
        }
        case ui::Key::Escape:
            window.focus = ListFocus::Command;
            return true;
        default:
            return false;
    }
}

void FileListMouse(AppSession& app, FileListWindow& window, const ui::MouseEvent& mouse, int screenRow,
                   int screenCol) {
    std::vector<FileEntry*> entries = VisibleRows(window.list);
    int count = static_cast<int>(entries.size());
    if (mouse.action == ui::MouseAction::WheelUp || mouse.action == ui::MouseAction::WheelDown) {
        window.topRow += mouse.action == ui::MouseAction::WheelUp ? -3 : 3;
        window.topRow = std::clamp(window.topRow, 0, std::max(count - 1, 0));
        return;
    }
    if (mouse.action != ui::MouseAction::Press && mouse.action != ui::MouseAction::DoubleClick) {
        return;
    }
    int dataCol = window.layout.actionWidth + 1;
    if (mouse.row == kListCommandRow) {
        window.focus = ListFocus::Command;
        return;
    }
    if (mouse.row == kListHeadingRow && mouse.button == ui::MouseButton::Left && mouse.col >= dataCol) {
        SortField field;
        if (HeadingAt(window.layout, mouse.col - dataCol + window.leftColumn, field)) {
            SortByHeading(app, window, field);
        }
        return;
    }
    if (mouse.row < kListFirstEntryRow) {
        return;
    }
    int index = window.topRow + mouse.row - kListFirstEntryRow;
    if (index >= count) {
        return;
    }
    FileEntry& entry = *entries[static_cast<size_t>(index)];
    if (mouse.button == ui::MouseButton::Right) {
        ShowPopup(app, window, screenRow, screenCol);
        return;
    }
    window.cursorRow = index;
    if (mouse.col < dataCol) {
        window.focus = ListFocus::Rows;  // the action cells: type a line command there
        return;
    }
    if (mouse.action == ui::MouseAction::DoubleClick) {
        for (FileEntry* other : entries) {
            other->selected = false;
        }
        entry.selected = true;
        OpenSelectedEntries(app, window);
        return;
    }
    // A click chooses the row alone; with Ctrl it joins or leaves the chosen rows.
    if ((mouse.mods & ui::kModCtrl) == 0) {
        for (FileEntry* other : entries) {
            other->selected = false;
        }
        entry.selected = true;
    } else {
        entry.selected = !entry.selected;
    }
}

void FileListTypedLine(AppSession& app, FileListWindow& window, const std::string& text) {
    window.focus = ListFocus::Command;
    window.command = text.substr(0, kCommandMax);
    Enter(app, window);
}

}  // namespace tavoe
