#include "shell/main_window.h"

#include <algorithm>
#include <vector>

#include "commands/command_history.h"
#include "commands/dispatch_sources.h"
#include "core/app_session.h"
#include "editing/cursor.h"
#include "editing/cursor_actions.h"
#include "editing/line_commands.h"
#include "editing/selection.h"
#include "editing/session_clipboard.h"
#include "filelist/file_list_session.h"
#include "filelist/file_list_view.h"
#include "shell/command_route.h"
#include "shell/edit_session.h"
#include "shell/instance_macro_host.h"
#include "shell/menu_bar.h"
#include "ui/screen.h"
#include "view/view_commands.h"
#include "view/view_fields.h"
#include "view/view_paint.h"

namespace tavoe {

namespace {

// Colours of the window's own rows, in the palette's terms.
constexpr ui::ColorPair kCaption{3, 8};
constexpr ui::ColorPair kBar{0, 2};
constexpr ui::ColorPair kBarAccent{8, 2};
constexpr ui::ColorPair kLine{0, 3};
constexpr ui::ColorPair kScroll{1, 2};

bool IsAltLetter(const ui::KeyEvent& key) {
    return key.key == ui::Key::Char && key.mods == ui::kModAlt &&
           ((key.ch >= 'a' && key.ch <= 'z') || (key.ch >= 'A' && key.ch <= 'Z'));
}

std::string Trimmed(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

ClientView CurrentClientView(const AppSession& app) {
    const DlgStkFrame* top = TopContext(app);
    if (top == nullptr) {
        return ClientView::None;
    }
    if (top->kind == ContextKind::Task && !app.editSessions.empty()) {
        return ClientView::Edit;
    }
    if (top->kind == ContextKind::FileList) {
        return ClientView::FileList;
    }
    return ClientView::None;
}

ClientView ShownClientView(const AppSession& app) {
    // Dialogs and menus are drawn over the window they were opened from: look below them.
    for (auto it = app.contexts.rbegin(); it != app.contexts.rend(); ++it) {
        if (it->kind == ContextKind::Task) {
            return app.editSessions.empty() ? ClientView::None : ClientView::Edit;
        }
        if (it->kind == ContextKind::FileList) {
            return ClientView::FileList;
        }
    }
    return ClientView::None;
}

MainWindow::MainWindow(AppSession& app, ui::Screen& screen)
    : app_(app), screen_(screen), sink_(screen), commandField_(ui::Rect{0, 0, 1, 10}) {
    app_.mainWindow = this;
    app_.screen = &screen;
    app_.messageSink = &sink_;
    sink_.soundsEnabled = [] { return true; };  // the message routine has checked ZMSGSOUNDS already
    commandField_.maxLength = 255;
    commandField_.insertToggles = false;
    // Ctrl+C, Ctrl+X and Ctrl+V in the command field use the instance's clipboard.
    ConnectFieldClipboard(app_, commandField_);
    screen_.SetBasePainter([this](ui::Canvas& canvas) { Paint(canvas); });
    LayoutEditWindow(app_);
}

MainWindow::~MainWindow() {
    screen_.SetBasePainter({});
    if (app_.messageSink == &sink_) {
        app_.messageSink = nullptr;
    }
    if (app_.mainWindow == this) {
        app_.mainWindow = nullptr;
    }
    if (app_.screen == &screen_) {
        app_.screen = nullptr;
    }
}

void MainWindow::SetCommandText(std::string_view text) {
    commandField_.SetText(text);
}

void MainWindow::FocusCommandField() {
    if (EditSession* session = CurrentEditSession(app_);
        session && CurrentClientView(app_) == ClientView::Edit) {
        session->view.focus = KeyField::Command;
    }
    ownFocus_ = KeyField::Command;
    commandField_.OnFocus(ui::FocusReason::Program);
}

KeyField MainWindow::FocusedField() const {
    switch (CurrentClientView(app_)) {
        case ClientView::Edit:
            return app_.editSessions.front()->view.focus;
        case ClientView::FileList:
            return KeyField::FileListCommand;
        case ClientView::None:
            break;
    }
    const DlgStkFrame* top = TopContext(app_);
    if (top != nullptr && (top->kind == ContextKind::Menu || top->kind == ContextKind::Dialog)) {
        return KeyField::Menu;
    }
    return ownFocus_;
}

void MainWindow::ClearMessageLine() {
    sink_.ClearLine();
    app_.messageShown = false;
}

// ---- Painting ----------------------------------------------------------------------------------

void MainWindow::Paint(ui::Canvas& canvas) {
    // The parts on the screen follow settings that any command may change (ZTOOLBAR, HEX, ...).
    LayoutEditWindow(app_);
    const EditWindowLayout& l = layout;
    ui::Painter whole(canvas, canvas.Bounds());
    ui::Painter caption = whole.Sub(l.caption);
    PaintCaption(caption);
    ui::Painter bar = whole.Sub(l.menuBar);
    PaintMenuBar(bar);
    if (!l.toolbar.Empty()) {
        ui::Painter toolbar = whole.Sub(l.toolbar);
        PaintToolbar(toolbar);
    }
    ClientView view = CurrentClientView(app_);
    ClientView shown = ShownClientView(app_);
    EditSession* session = shown == ClientView::Edit ? CurrentEditSession(app_) : nullptr;
    if (shown != ClientView::FileList) {
        PaintFieldBar(canvas, session);
        if (session != nullptr) {
            PaintEditWindow(canvas, *session);
        }
    } else if (FileListWindow* list = CurrentFileList(app_); list != nullptr && !l.client.Empty()) {
        ui::Painter client = whole.Sub(l.client);
        PaintFileListWindow(app_, *list, client, view == ClientView::FileList);
    }
    PaintMessageAndStatus(canvas);
    // The caret: the command field's, or the data window's cursor (a dialog or menu on top has its own).
    if (view != shown || view == ClientView::FileList) {
        return;
    }
    KeyField focus = FocusedField();
    if (session != nullptr && (focus == KeyField::Data || focus == KeyField::Prefix) && !l.data.Empty()) {
        int row = std::clamp(session->view.cursorRow, 0, l.data.rows - 1);
        int col = std::clamp(session->view.cursorColumn, 0, l.data.cols - 1);
        canvas.SetCursor(l.data.row + row, l.data.col + col, CaretShape(app_));
    } else if (focus == KeyField::Command && !l.commandField.Empty()) {
        ui::Painter field = whole.Sub(l.commandField);
        commandField_.rect = ui::Rect{0, 0, l.commandField.rows, l.commandField.cols};
        commandField_.SetScreenRect(l.commandField);
        commandField_.Paint(field, screen_.GetTheme(), true);
    }
}

void MainWindow::PaintCaption(ui::Painter& painter) {
    painter.FillAll(kCaption);
    std::string title = Instance(app_).title.empty() ? "Tavo/E" : Instance(app_).title;
    int col = std::max((painter.Cols() - static_cast<int>(title.size())) / 2, 0);
    painter.Text(0, col, title, kCaption);
}

void MainWindow::PaintMenuBar(ui::Painter& painter) {
    painter.FillAll(kBar);
    std::vector<int> columns = MenuTitleColumns();
    const std::vector<MenuDef>& menus = MainMenus();
    for (size_t i = 0; i < menus.size(); ++i) {
        std::string_view title = menus[i].title;
        int col = columns[i];
        for (size_t k = 0; k < title.size(); ++k) {
            if (title[k] == '&' && k + 1 < title.size()) {
                painter.Put(0, col++, static_cast<uint8_t>(title[++k]), kBarAccent);
            } else {
                painter.Put(0, col++, static_cast<uint8_t>(title[k]), kBar);
            }
        }
    }
}

void MainWindow::PaintToolbar(ui::Painter& painter) {
    painter.FillAll(kBar);
    painter.Text(0, 0, ToolbarText(), kBar);
}

void MainWindow::PaintFieldBar(ui::Canvas& canvas, EditSession* session) {
    const EditWindowLayout& l = layout;
    if (l.fieldBar.Empty()) {
        return;
    }
    ui::Painter whole(canvas, canvas.Bounds());
    ui::Painter bar = whole.Sub(l.fieldBar);
    bar.FillAll(kBar);
    bar.Text(0, l.commandLabel.col, " Command ", kBar);
    ui::Painter field = whole.Sub(l.commandField);
    commandField_.rect = ui::Rect{0, 0, l.commandField.rows, l.commandField.cols};
    commandField_.SetScreenRect(l.commandField);
    commandField_.Paint(field, screen_.GetTheme(), false);
    if (session != nullptr && !l.colsField.Empty()) {
        std::string cols = ColsFieldText(app_, *session);
        ui::Painter colsField = whole.Sub(l.colsField);
        colsField.FillAll(kBar);
        colsField.Text(0, std::max(l.colsField.cols - static_cast<int>(cols.size()), 0), cols, kBar);
    }
}

void MainWindow::PaintEditWindow(ui::Canvas& canvas, EditSession& session) {
    const EditWindowLayout& l = layout;
    ui::Painter whole(canvas, canvas.Bounds());
    if (!l.ruler.Empty()) {
        ui::Painter ruler = whole.Sub(l.ruler);
        PaintRulerRow(app_, session, ruler);
    }
    if (!l.data.Empty()) {
        ui::Painter data = whole.Sub(l.data);
        PaintEditData(app_, session, data);
    }
    if (!l.hexPane.Empty()) {
        ui::Painter hex = whole.Sub(l.hexPane);
        PaintHexPane(app_, session, hex);
    }
    if (!l.verticalBar.Empty()) {
        ui::Painter v = whole.Sub(l.verticalBar);
        for (int r = 0; r < v.Rows(); ++r) {
            v.Put(r, 0, ui::glyph::kLightShade, kScroll, ui::CellKind::Graphic);
        }
        v.Put(0, 0, ui::glyph::kArrowUp, kScroll, ui::CellKind::Graphic);
        v.Put(v.Rows() - 1, 0, ui::glyph::kArrowDown, kScroll, ui::CellKind::Graphic);
        if (v.Rows() > 2) {
            auto [first, length] = VerticalThumbCells(app_, session, v.Rows() - 2);
            for (int r = std::max(first, 0); r < first + length && r < v.Rows() - 2; ++r) {
                v.Put(r + 1, 0, ui::glyph::kFullBlock, kScroll, ui::CellKind::Graphic);
            }
        }
    }
    if (!l.horizontalBar.Empty()) {
        ui::Painter h = whole.Sub(l.horizontalBar);
        for (int c = 0; c < h.Cols(); ++c) {
            h.Put(0, c, ui::glyph::kLightShade, kScroll, ui::CellKind::Graphic);
        }
        h.Put(0, 0, ui::glyph::kArrowLeft, kScroll, ui::CellKind::Graphic);
        h.Put(0, h.Cols() - 1, ui::glyph::kArrowRight, kScroll, ui::CellKind::Graphic);
    }
    if (!l.keyBar.Empty()) {
        FunctionKeyBar keys = BuildFunctionKeyBar(app_, l.keyBar.cols);
        ui::Painter bar = whole.Sub(l.keyBar);
        bar.FillAll(kBar);
        for (int r = 0; r < static_cast<int>(keys.rows.size()) && r < bar.Rows(); ++r) {
            bar.Text(r, 0, keys.rows[static_cast<size_t>(r)], kBar);
        }
    }
}

void MainWindow::PaintMessageAndStatus(ui::Canvas& canvas) {
    const EditWindowLayout& l = layout;
    ui::Painter whole(canvas, canvas.Bounds());
    if (!l.messageLine.Empty()) {
        ui::Painter line = whole.Sub(l.messageLine);
        line.FillAll(kLine);
        // The text stands after one blank, every "&" shown as it is.
        if (app_.messageShown && CurrentClientView(app_) == ClientView::Edit) {
            line.Text(0, 1, sink_.LastLine(), kLine);
        }
    }
    if (!l.statusLine.Empty()) {
        ui::Painter status = whole.Sub(l.statusLine);
        status.FillAll(kBar);
        if (!app_.statusText.empty()) {
            status.Text(0, 0, app_.statusText, kBar);  // a long load invites Escape
        } else if (CurrentClientView(app_) == ClientView::Edit) {
            status.Text(0, 0, ShowStatusLine(app_), kBar);
        }
    }
}

// ---- Events ------------------------------------------------------------------------------------

// Asked between the batches of a long load: shows the load's status text now and then, and looks
// through the input that has arrived for Escape. Everything else typed meanwhile is kept for later.
bool MainWindow::EscapeWhileLoading() {
    auto now = std::chrono::steady_clock::now();
    if (now - loadShown_ >= std::chrono::milliseconds(200)) {
        loadShown_ = now;
        screen_.Present();
    }
    bool escape = false;
    std::vector<ui::Event> later;
    ui::Event event;
    while (screen_.PollEvent(event)) {
        if (event.kind == ui::EventKind::Key && event.key.Is(ui::Key::Escape)) {
            escape = true;
        } else {
            later.push_back(event);
        }
    }
    for (const ui::Event& kept : later) {
        screen_.HoldEvent(kept);
    }
    return escape;
}

void MainWindow::HandleEvent(const ui::Event& event) {
    switch (event.kind) {
        case ui::EventKind::Key:
            HandleKey(event.key);
            break;
        case ui::EventKind::Mouse:
            HandleMouse(event.mouse);
            break;
        case ui::EventKind::TypedLine:
            HandleTypedLine(event.text);
            break;
        case ui::EventKind::Resize:
            LayoutEditWindow(app_);
            break;
        default:
            break;
    }
}

void MainWindow::HandleTypedLine(const std::string& text) {
    if (CurrentClientView(app_) == ClientView::FileList) {
        if (FileListWindow* list = CurrentFileList(app_)) {
            ClearMessageLine();
            FileListTypedLine(app_, *list, text);
        }
        return;
    }
    // A script line goes into the command field, and Enter is pressed there.
    FocusCommandField();
    commandField_.SetText(text);
    HandleKey(ui::NamedKey(ui::Key::Enter));
}

void MainWindow::HandleKey(const ui::KeyEvent& key) {
    ClientView view = CurrentClientView(app_);
    if (IsAltLetter(key)) {
        int menu = MenuWithAccessKey(static_cast<char>(key.ch));
        if (menu >= 0) {
            OpenMenu(app_, menu);
            return;
        }
    }
    // F10 is the menu bar's key where no file is shown; in an edit session or a file list it runs its
    // mapping like the other function keys.
    if (key.Is(ui::Key::F10) && view == ClientView::None) {
        OpenMenu(app_, kFileMenu);
        return;
    }
    // A file list edits its own command field and rows; function keys run their mappings below.
    if (view == ClientView::FileList) {
        if (FileListWindow* list = CurrentFileList(app_)) {
            if (FileListKey(app_, *list, key, layout.client.rows)) {
                return;
            }
        }
    }
    KeyContext context;
    context.field = FocusedField();
    std::string commandText = commandField_.Text();
    if (context.field == KeyField::FileListCommand || context.field == KeyField::FileList) {
        commandText.clear();  // a file list's command field is its own
    }
    context.commandText = commandText;
    // In the prefix area the key mapping checks the line command typed so far.
    std::string prefixText;
    if (context.field == KeyField::Prefix && view == ClientView::Edit) {
        EditSession* session = CurrentEditSession(app_);
        LineRecord* line = CursorLine(app_, *session);
        prefixText = line != nullptr ? std::string(LinePendingCommand(*line)) : std::string();
        context.prefixText = prefixText;
        context.prefixOffset = session->view.cursorColumn;
    }
    KeyOutcome outcome = MapKey(app_, context, key);
    PerformOutcome(outcome, key);
}

void MainWindow::PerformOutcome(const KeyOutcome& outcome, const ui::KeyEvent& key) {
    switch (outcome.action) {
        case KeyAction::Unmapped:
        case KeyAction::None:
            return;
        case KeyAction::PassToField:
            if (FocusedField() == KeyField::Command) {
                commandField_.OnKey(key, screen_);
            }
            return;
        case KeyAction::RunCommand:
            if (outcome.clearField == FieldClear::Clear) {
                if (FocusedField() != KeyField::FileListCommand && FocusedField() != KeyField::FileList) {
                    commandField_.SetText("");
                }
            }
            RunCommand(outcome.route, outcome.command);
            return;
        case KeyAction::ExecuteField:
            ExecuteField();
            return;
        case KeyAction::ProcessLineCommands:
            if (CurrentClientView(app_) != ClientView::Edit) {
                ExecuteField();  // the main window's own field has no line commands: it just clears
                return;
            }
            if (EditSession* session = CurrentEditSession(app_)) {
                ClearMessageLine();
                ProcessLineCommands(app_, *session);
                if (outcome.focus == KeyFocus::DataArea) {
                    KeyOutcome move;
                    move.action = KeyAction::MoveToData;
                    EditAction(move);
                }
            }
            return;
        case KeyAction::InsertToggled:
            return;  // the caret follows the typing mode when the window is painted
        case KeyAction::Redraw:
            screen_.RedrawAll();
            return;
        default:
            EditAction(outcome);
            return;
    }
}

void MainWindow::EditAction(const KeyOutcome& outcome) {
    EditSession* session = CurrentClientView(app_) == ClientView::Edit ? CurrentEditSession(app_) : nullptr;
    if (session == nullptr) {
        return;
    }
    PerformEditAction(app_, *session, outcome);
}

void MainWindow::RunCommand(CommandRoute route, const std::string& command) {
    ClearMessageLine();
    RunCommandLine(app_, route, command);
}

// Enter in a command field: the edit session's primary command field, the file list's, or, with
// neither on the screen, the main window's own field, whose commands go to the general processor.
void MainWindow::ExecuteField() {
    ClearMessageLine();
    KeyField field = FocusedField();
    if (field == KeyField::FileListCommand || field == KeyField::FileList) {
        return;  // a file list runs its own command field
    }
    std::string text = commandField_.Text();
    if (CurrentClientView(app_) == ClientView::Edit) {
        commandField_.SetText("");
        std::string left = EditCommandFieldEnter(app_, text);
        // The command may have replaced the field (RETRIEVE) or ended the session.
        if (commandField_.Text().empty()) {
            commandField_.SetText(left);
        }
        return;
    }
    std::string line = Trimmed(text);
    commandField_.SetText("");
    if (line.empty()) {
        return;
    }
    HistoryAdd(app_, line);
    RunCommandLine(app_, CommandRoute::General, line);
}

void MainWindow::HandleMouse(const ui::MouseEvent& mouse) {
    const EditWindowLayout& l = layout;
    ClientView view = CurrentClientView(app_);
    if (view == ClientView::FileList && l.client.Contains(mouse.row, mouse.col)) {
        if (FileListWindow* list = CurrentFileList(app_)) {
            ui::MouseEvent inside = mouse;
            inside.row -= l.client.row;
            inside.col -= l.client.col;
            FileListMouse(app_, *list, inside, mouse.row, mouse.col);
        }
        return;
    }
    bool press = mouse.action == ui::MouseAction::Press && mouse.button == ui::MouseButton::Left;
    if (press && l.menuBar.Contains(mouse.row, mouse.col)) {
        int menu = MenuAtColumn(mouse.col - l.menuBar.col);
        if (menu >= 0) {
            OpenMenu(app_, menu);
        }
        return;
    }
    if (press && !l.toolbar.Empty() && l.toolbar.Contains(mouse.row, mouse.col)) {
        int button = ToolbarButtonAt(mouse.col - l.toolbar.col);
        if (button >= 0) {
            ClearMessageLine();
            RunToolbarButton(app_, button);
        }
        return;
    }
    if (press && l.commandField.Contains(mouse.row, mouse.col)) {
        FocusCommandField();
        ui::MouseEvent local = mouse;
        local.row -= l.commandField.row;
        local.col -= l.commandField.col;
        commandField_.OnMouse(local, screen_);
        return;
    }
    EditSession* session = view == ClientView::Edit ? CurrentEditSession(app_) : nullptr;
    if (session == nullptr) {
        return;
    }
    KeyContext context;
    if (press && !l.keyBar.Empty() && l.keyBar.Contains(mouse.row, mouse.col)) {
        FunctionKeyBar keys = BuildFunctionKeyBar(app_, l.keyBar.cols);
        int number = keys.KeyAt(mouse.row - l.keyBar.row, mouse.col - l.keyBar.col);
        if (number > 0) {
            context.field = FocusedField();
            std::string text = commandField_.Text();
            context.commandText = text;
            PerformOutcome(RunFunctionKey(app_, context, number), ui::KeyEvent{});
        }
        return;
    }
    if (press && !l.verticalBar.Empty() && l.verticalBar.Contains(mouse.row, mouse.col)) {
        int row = mouse.row - l.verticalBar.row;
        bool above = row < l.verticalBar.rows / 2;
        if (l.verticalBar.rows > 2 && row > 0 && row < l.verticalBar.rows - 1) {
            auto [first, length] = VerticalThumbCells(app_, *session, l.verticalBar.rows - 2);
            if (row - 1 >= first && row - 1 < first + length) {
                return;  // on the thumb itself
            }
            above = row - 1 < first;
        }
        const char* command = row == 0                        ? "UP 1"
                              : row == l.verticalBar.rows - 1 ? "DOWN 1"
                              : above                         ? "UP"
                                                              : "DOWN";
        RunCommand(CommandRoute::Edit, command);
        return;
    }
    if (press && !l.horizontalBar.Empty() && l.horizontalBar.Contains(mouse.row, mouse.col)) {
        int col = mouse.col - l.horizontalBar.col;
        const char* command = col == 0                          ? "LEFT 1"
                              : col == l.horizontalBar.cols - 1 ? "RIGHT 1"
                              : col < l.horizontalBar.cols / 2  ? "LEFT"
                                                                : "RIGHT";
        RunCommand(CommandRoute::Edit, command);
        return;
    }
    bool wheel = mouse.action == ui::MouseAction::WheelUp || mouse.action == ui::MouseAction::WheelDown;
    if (wheel && (mouse.row < 0 || l.client.Contains(mouse.row, mouse.col))) {
        // A wheel turned anywhere over the edit window, or with no known mouse place, scrolls the view.
        context.field = FocusedField();
        PerformOutcome(MapMouse(app_, context, mouse), ui::KeyEvent{});
        return;
    }
    const bool held = mouse.action == ui::MouseAction::Drag || mouse.action == ui::MouseAction::Release;
    if (held && session->selection.dragging && !l.data.Empty()) {
        // A drag that started in the data window selects up to the cell under the mouse, kept inside
        // the window: a stream, or a block with Ctrl.
        if (mouse.action == ui::MouseAction::Drag) {
            PlaceCursor(app_, *session, std::clamp(mouse.row - l.data.row, 0, l.data.rows - 1),
                        std::clamp(mouse.col - l.data.col, 0, l.data.cols - 1));
            MouseSelectTo(app_, *session,
                          (mouse.mods & ui::kModCtrl) != 0 ? SelectionMode::Block : SelectionMode::Stream);
        } else {
            MouseSelectEnd(*session);
        }
        return;
    }
    if (!l.data.Contains(mouse.row, mouse.col)) {
        return;
    }
    int row = mouse.row - l.data.row;
    int col = mouse.col - l.data.col;
    if (mouse.action == ui::MouseAction::Press || mouse.action == ui::MouseAction::DoubleClick) {
        PlaceCursor(app_, *session, row, col);
        RecordClickForMacros(app_, *session);
    }
    if (press) {
        MouseSelectBegin(app_, *session);
    }
    context.field = FocusedField();
    std::string text = commandField_.Text();
    context.commandText = text;
    PerformOutcome(MapMouse(app_, context, mouse), ui::KeyEvent{});
}

}  // namespace tavoe
