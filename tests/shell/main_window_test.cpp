#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <sstream>

#include "commands/command_history.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "shell/edit_session.h"
#include "shell/instance_ports.h"
#include "shell/main_loop.h"
#include "shell/menu_bar.h"
#include "shell/recent_files.h"
#include "shell_test_support.h"
#include "ui/canvas_text.h"
#include "ui/headless/headless_backend.h"
#include "ui/screen.h"

using namespace tavoe;

namespace {

// An instance on the headless backend, fed from a script string.
struct WindowFixture {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    ui::HeadlessBackend backend;
    ui::Screen screen;
    AppSession app;
    MainWindow window;
    ScratchDir dir{"window"};

    explicit WindowFixture(const std::string& script, int rows = 16, int cols = 80)
        : in(script), backend(in, out, err, rows, cols), screen(backend), window(app, screen) {
        ConnectInstance(app);
        VarSetValue(app, "ZLCMDCOLS.EDIT", "7");
        VarSetValue(app, "ZPROMPTONEXIT", "TRUE");
        VarSetValue(app, "ZTOOLBAR", "TRUE");
    }

    std::string Row(int row) {
        screen.Render();
        return ui::CanvasRowText(screen.GetCanvas(), row, screen.GetDisplaySet());
    }
    void Run() { RunMainLoop(app); }
};

TEST(MainWindow, PaintsCaptionBarsFieldsDataAndStatus) {
    WindowFixture f("");
    std::string path = f.dir.File("shown.txt", "first line\nsecond line\n");
    ASSERT_EQ(OpenEditSession(f.app, path, OpenMode::Edit), 0);
    const EditWindowLayout& l = CurrentLayout(f.app);
    EXPECT_NE(f.Row(l.caption.row).find("shown.txt"), std::string::npos);
    EXPECT_EQ(f.Row(l.menuBar.row), " " + MenuBarText().substr(1, MenuBarText().find_last_not_of(' ')));
    EXPECT_EQ(f.Row(l.toolbar.row).substr(0, 7), " [New] ");
    std::string fieldBar = f.Row(l.fieldBar.row);
    EXPECT_EQ(fieldBar.substr(0, 9), " Command ");
    EXPECT_NE(fieldBar.find("COLS 001 073"), std::string::npos);  // 80 columns less the scroll bar and prefix
    EXPECT_EQ(f.Row(l.data.row + 1).substr(0, 18), "       first line");
    EXPECT_EQ(f.Row(l.statusLine.row), " L -  C -");

    // A message with "&" stands on the message line after one blank, the "&" shown as it is.
    ShowMessage(f.app, "Tom & Jerry", MsgTo::Line, Beep::None);
    EXPECT_EQ(f.Row(l.messageLine.row), " Tom & Jerry");
    EXPECT_NE(f.out.str().find("message: Tom & Jerry"), std::string::npos);
}

TEST(MainWindow, TheMessageLineWidthIsItsCapacity) {
    WindowFixture f("", 16, 40);
    ASSERT_EQ(OpenEditSession(f.app, f.dir.File("c.txt", "c\n"), OpenMode::Edit), 0);
    f.screen.Render();
    EXPECT_EQ(f.app.messageCapacity, 40);
    ShowMessage(f.app, std::string(39, 'a'), MsgTo::Line, Beep::None);
    EXPECT_EQ(f.app.messages.back().to, MsgTo::Line);
    ShowMessage(f.app, std::string(40, 'b'), MsgTo::Line, Beep::None);
    EXPECT_EQ(f.app.messages.back().to, MsgTo::Box);
    EXPECT_NE(f.out.str().find("box: " + std::string(40, 'b')), std::string::npos);
}

TEST(MainWindow, TypedLinesWithoutAFileGoToTheGeneralProcessorAndTheHistory) {
    WindowFixture f("pfshow\n  \n");
    f.Run();
    EXPECT_EQ(VarGetValue(f.app, "ZPFSHOW"), "TRUE");
    std::vector<std::string> history = HistoryEntries(f.app);
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0], "pfshow");
    EXPECT_EQ(f.window.CommandText(), "");
}

TEST(MainWindow, TypedLinesInAnEditSessionGoToItsCommandField) {
    WindowFixture f("&pfshow\n");
    ASSERT_EQ(OpenEditSession(f.app, f.dir.File("e.txt", "e\n"), OpenMode::Edit), 0);
    f.Run();
    // "&" runs the command, keeps it in the field and records it without the "&".
    EXPECT_EQ(VarGetValue(f.app, "ZPFSHOW"), "TRUE");
    EXPECT_EQ(f.window.CommandText(), "&pfshow");
    EXPECT_EQ(HistoryEntries(f.app).front(), "pfshow");
}

TEST(MainWindow, MenusOpenWithAltLetterF10AndTheMouseAndRunTheirItems) {
    WindowFixture f(
        "!keys <A-v>\n"
        "!screen\n"
        "!keys f\n"               // View, Function keys: PFSHOW
        "!keys <F10><Esc>\n"      // F10 opens the File menu where no file is shown
        "!keys <Click:2,47>\n"    // the Window menu (script positions count from 1)
        "!keys <End><Enter>\n");  // its last fixed item before the sessions: RETURN
    f.Run();
    std::string out = f.out.str();
    EXPECT_NE(out.find("Show end of line"), std::string::npos);
    EXPECT_NE(out.find("box: Graphical PF keys are now ON, they are only visible in Edit/Browse."),
              std::string::npos);
    EXPECT_EQ(VarGetValue(f.app, "ZPFSHOW"), "TRUE");
    EXPECT_EQ(MenuAtColumn(46), kWindowMenu);
    EXPECT_EQ(f.err.str(), "");
}

TEST(MainWindow, TheFileMenuListsRecentFilesThatReopenWhenChosen) {
    WindowFixture f("");
    std::string path = f.dir.File("recent.txt", "r\n");
    ASSERT_EQ(OpenEditSession(f.app, path, OpenMode::Edit), 0);
    ASSERT_EQ(EndEditSession(f.app, *CurrentEditSession(f.app)), EndResult::Ended);
    std::vector<ShellMenuItem> items = MenuItemsNow(f.app, kFileMenu);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.back().id, kRecentMenuFirstId);
    EXPECT_EQ(items.back().text, "&1  " + path);
    EXPECT_FALSE(items.back().greyed);
    RunMenuItem(f.app, kRecentMenuFirstId);
    ASSERT_NE(CurrentEditSession(f.app), nullptr);
    EXPECT_EQ(CurrentEditSession(f.app)->FileName(), path);
    // Now open: greyed, and choosing it again opens nothing more.
    RunMenuItem(f.app, kRecentMenuFirstId);
    EXPECT_EQ(f.app.editSessions.size(), 1u);
}

TEST(MainWindow, ToolbarButtonsRunTheirCommands) {
    WindowFixture f("!keys <Click:3,44>\n");  // [Undo]: an edit command, with no file open
    f.Run();
    EXPECT_EQ(ToolbarButtonAt(1), 0);
    EXPECT_EQ(ToolbarButtonAt(7), 1);
    EXPECT_EQ(ToolbarButtonAt(43), 6);
    EXPECT_EQ(ToolbarButtonAt(0), -1);
    EXPECT_EQ(f.err.str(), "");
    ASSERT_FALSE(f.app.messages.empty());
    EXPECT_EQ(f.app.messages.back().text, "Not in file EDIT, command ignored.");
}

TEST(MainWindow, CursorKeysMoveBetweenTheFieldAndTheDataWindow) {
    WindowFixture f("!keys <Tab><Down><Right><Right>\n");
    ASSERT_EQ(OpenEditSession(f.app, f.dir.File("k.txt", "abcdef\n"), OpenMode::Edit), 0);
    f.Run();
    EditSession* session = CurrentEditSession(f.app);
    EXPECT_EQ(session->view.focus, KeyField::Data);
    EXPECT_EQ(session->view.cursorRow, 1);
    EXPECT_EQ(session->view.cursorColumn, 9);
    EXPECT_EQ(f.Row(CurrentLayout(f.app).statusLine.row), " L 1  C 3  Ins");
}

TEST(MainWindow, TypingChangesTheLineUnderTheCursorButNotInABrowse) {
    WindowFixture f("!keys <Tab><Down>XY<Del>\n");
    std::string path = f.dir.File("t.txt", "abc\n");
    ASSERT_EQ(OpenEditSession(f.app, path, OpenMode::Browse), 0);
    ASSERT_EQ(OpenEditSession(f.app, f.dir.File("u.txt", "abc\n"), OpenMode::Edit), 0);
    f.Run();
    EditSession* edit = CurrentEditSession(f.app);
    EXPECT_EQ(LineText(*FirstDataLine(edit->buffer)), "XYbc");
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(LineText(*FirstDataLine(f.app.editSessions[1]->buffer)), "abc");
}

}  // namespace
