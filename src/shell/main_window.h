#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "editing/keys.h"
#include "shell/window_layout.h"
#include "ui/canvas.h"
#include "ui/event.h"
#include "ui/input_field.h"
#include "ui/ui_message_sink.h"

namespace tavoe {

// The main window of an instance, drawn into the screen's canvas below every dialog: the caption
// with the window title, the menu bar, the toolbar, the field bar, the edit session's data window
// (or the file list), the function key bar, the message line and the status line. It takes the
// events no modal window has taken and turns them into key mapping outcomes, menu choices and
// commands.

struct AppSession;
struct EditSession;

namespace ui {
class Screen;
}

class MainWindow {
public:
    // Connects the window to the instance: app.mainWindow, app.screen and the message sink.
    MainWindow(AppSession& app, ui::Screen& screen);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    EditWindowLayout layout;

    // Draws the whole window (the screen's base painter).
    void Paint(ui::Canvas& canvas);

    // Handles an event the main loop received (keys, mouse, typed script lines, resizes).
    void HandleEvent(const ui::Event& event);

    // The primary command field.
    std::string CommandText() const { return commandField_.Text(); }
    void SetCommandText(std::string_view text);
    // Gives the keyboard to the command field (of the edit session, or the main window's own).
    void FocusCommandField();

    // The field that has the keyboard now.
    KeyField FocusedField() const;

    // Performs a key mapping outcome in the focused field.
    void PerformOutcome(const KeyOutcome& outcome, const ui::KeyEvent& key);

    // The message line's text and whether it is shown.
    ui::UiMessageSink& Sink() { return sink_; }
    void ClearMessageLine();

    // The title last given to the terminal (the terminal runner compares and sets it).
    std::string terminalTitle;

    // Asked between the batches of a long load: shows the load's status text now and then and looks
    // through the input that has arrived; true when Escape was typed meanwhile.
    bool EscapeWhileLoading();

private:
    void PaintCaption(ui::Painter& painter);
    void PaintMenuBar(ui::Painter& painter);
    void PaintToolbar(ui::Painter& painter);
    void PaintFieldBar(ui::Canvas& canvas, EditSession* session);
    void PaintEditWindow(ui::Canvas& canvas, EditSession& session);
    void PaintMessageAndStatus(ui::Canvas& canvas);

    void HandleKey(const ui::KeyEvent& key);
    void HandleMouse(const ui::MouseEvent& mouse);
    void HandleTypedLine(const std::string& text);
    void ExecuteField();
    void RunCommand(CommandRoute route, const std::string& command);
    void EditAction(const KeyOutcome& outcome);

    AppSession& app_;
    ui::Screen& screen_;
    ui::UiMessageSink sink_;
    ui::InputField commandField_;
    KeyField ownFocus_ = KeyField::Command;  // with no edit session: the command field or the menu bar
    std::chrono::steady_clock::time_point loadShown_{};  // when a long load last showed its status
};

// Which frame decides what the window shows: an edit session, a file list, or neither.
enum class ClientView { None, Edit, FileList };
ClientView CurrentClientView(const AppSession& app);
// What the window shows: the edit session or file list nearest the top of the context stack, with
// the dialogs and menus above it drawn over it.
ClientView ShownClientView(const AppSession& app);

}  // namespace tavoe
