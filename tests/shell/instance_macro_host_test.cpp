#include "shell/instance_macro_host.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "buffer/line_record.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "editing/selection.h"
#include "macro/macro_engine.h"
#include "macro/macro_service.h"
#include "shell/command_route.h"
#include "shell/edit_session.h"
#include "shell/instance_ports.h"
#include "shell/main_window.h"
#include "shell_test_support.h"
#include "ui/screen.h"

using namespace tavoe;

namespace {

// An instance with a window and one file of five lines open for editing.
struct ServiceFixture {
    ReplyBackend backend;
    ui::Screen screen{backend};
    AppSession app;
    MainWindow window{app, screen};
    ScratchDir dir{"service"};
    std::string path;

    explicit ServiceFixture(OpenMode mode = OpenMode::Edit) {
        ConnectInstance(app);
        VarSetValue(app, "ZNEWEDITS", "StackInCurrentSession");
        VarSetValue(app, "ZPATH.MACROS", dir.Path().string());
        path = dir.File("five.txt", "one\ntwo\nthree\nfour\nfive\n");
        EXPECT_EQ(OpenEditSession(app, path, mode), 0);
    }
    EditSession& Session() { return *CurrentEditSession(app); }
    LineRecord* Data(int n) {
        LineRecord* line = FirstDataLine(Session().buffer);
        while (line != nullptr && --n > 0) {
            line = NextDataLine(line);
        }
        return line;
    }
    std::string Service(const char* selector, const char* p2 = nullptr, const char* p3 = nullptr) {
        std::string two = p2 != nullptr ? p2 : "";
        std::string three = p3 != nullptr ? p3 : "";
        return TavoService(app, MacroEngineOf(app).Host(), selector, p2 != nullptr ? &two : nullptr,
                           p3 != nullptr ? &three : nullptr);
    }
    std::string Selection() {
        return Service("QUERY", "SELECT_MODE") + " " + Service("QUERY", "SELECT_START_LINE") + "," +
               Service("QUERY", "SELECT_START_COL") + "-" + Service("QUERY", "SELECT_END_LINE") + "," +
               Service("QUERY", "SELECT_END_COL");
    }
    void Select(SelectionMode mode, int first, int32_t from, int last, int32_t to) {
        SetSelection(Session(), mode, *Data(first), from, *Data(last), to);
    }
    std::string LastMessage() const { return app.messages.empty() ? "" : app.messages.back().text; }
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace

TEST(InstanceServiceQuery, LabelsAndExclusionAreReadByDataLineNumber) {
    ServiceFixture f;
    LineSetLabel(*f.Data(3), ".LAB");
    LineClearFlag(*f.Data(4), LineFlagB::Visible);
    EXPECT_EQ(f.Service("QUERY", "LINE_LABEL", "3"), ".LAB");
    EXPECT_EQ(f.Service("QUERY", "LINE_LABEL", "2"), "");
    EXPECT_EQ(f.Service("QUERY", "LINE_LABEL", "9"), "");
    EXPECT_EQ(f.Service("QUERY", "XSTATUS", "4"), "TRUE");
    EXPECT_EQ(f.Service("QUERY", "XSTATUS", "3"), "FALSE");
    EXPECT_EQ(f.Service("QUERY", "XSTATUS", "0"), "FALSE");
    EXPECT_EQ(f.Service("QUERY", "LINE_COUNT"), "5");
}

TEST(InstanceServiceQuery, SelectionCornersAndModeAreTheSessions) {
    ServiceFixture f;
    EXPECT_EQ(f.Selection(), "NONE 0,0-0,0");
    f.Select(SelectionMode::WholeLine, 2, 1, 3, 1);
    EXPECT_EQ(f.Selection(), "WHOLELINE 2,1-3,64000");
    f.Select(SelectionMode::Stream, 2, 3, 3, 2);
    EXPECT_EQ(f.Selection(), "STREAM 2,3-3,2");
    f.Select(SelectionMode::Block, 2, 2, 4, 4);
    EXPECT_EQ(f.Selection(), "BLOCK 2,2-4,4");
    f.Select(SelectionMode::Block, 5, 2, 5, 3);  // one line of a block stays a block
    EXPECT_EQ(f.Selection(), "BLOCK 5,2-5,3");
    ClearSelection(f.Session());
    EXPECT_EQ(f.Selection(), "NONE 0,0-0,0");
}

TEST(InstanceServiceQuery, LastClickIsReadOnce) {
    ServiceFixture f;
    f.Session().view.macroLastLine = 4;
    f.Session().view.macroLastColumn = 9;
    EXPECT_EQ(f.Service("QUERY", "LAST_LINE_NUMBER"), "4");
    EXPECT_EQ(f.Service("QUERY", "LAST_LINE_NUMBER"), "0");
    EXPECT_EQ(f.Service("QUERY", "LAST_COL_NUMBER"), "9");
    EXPECT_EQ(f.Service("QUERY", "LAST_COL_NUMBER"), "0");
}

TEST(InstanceServiceSet, LineDataReplacesTheCursorLineOnly) {
    ServiceFixture f;
    f.Service("SET", "CURSOR_ROW", "3");  // row 1 is the top marker
    EXPECT_EQ(f.Service("QUERY", "LINE_NUMBER"), "2");
    EXPECT_EQ(f.Service("QUERY", "FILEMODIFIED"), "FALSE");
    f.Service("SET", "LINE_DATA", "TWO, replaced   ");
    EXPECT_EQ(LineText(*f.Data(2)), "TWO, replaced   ");
    EXPECT_EQ(f.Service("QUERY", "LINE_DATA"), "TWO, replaced");
    EXPECT_EQ(f.Service("QUERY", "LINE_LENGTH"), "16");
    EXPECT_EQ(f.Service("QUERY", "FILEMODIFIED"), "TRUE");
    EXPECT_EQ(LineText(*f.Data(1)), "one");
    EXPECT_EQ(LineText(*f.Data(3)), "three");
}

TEST(InstanceServiceSet, TopMarkerAndBrowseAreRefusedAndLeftAsTheyWere) {
    ServiceFixture f;
    f.Service("SET", "CURSOR_ROW", "1");
    f.Service("SET", "LINE_DATA", "over the marker");
    EXPECT_EQ(f.LastMessage(), "TAVOSERVICE, SET, LINE_DATA, can not set contents of non-data line.");
    f.Service("SET", "COL_NUMBER", "3");
    EXPECT_EQ(f.LastMessage(),
              "TAVOSERVICE, SET, COL_NUMBER, must be on data line when setting data column.");
    EXPECT_EQ(LineText(*LineFirst(f.Session().buffer)), kTopMarkerText);
    EXPECT_FALSE(f.Session().Modified());

    ServiceFixture browse(OpenMode::Browse);
    browse.Service("SET", "CURSOR_ROW", "2");
    browse.Service("SET", "LINE_DATA", "changed");
    EXPECT_EQ(browse.LastMessage(),
              "TAVOSERVICE, SET, LINE_DATA, can not set line contents in a browse session.");
    EXPECT_EQ(LineText(*browse.Data(1)), "one");
}

TEST(InstanceServiceSet, CursorMovesAndScrollsSideways) {
    ServiceFixture f;
    f.Service("SET", "CURSOR_ROW", "4");
    f.Service("SET", "COL_NUMBER", "200");
    EXPECT_EQ(f.Service("QUERY", "COL_NUMBER"), "200");
    EXPECT_EQ(f.Service("QUERY", "CURSOR_ROW"), "4");
    std::string cols = f.Service("QUERY", "COLS");
    int first = std::stoi(cols);
    int last = std::stoi(cols.substr(cols.find(',') + 1));
    EXPECT_GT(first, 1);
    EXPECT_LE(first, 200);
    EXPECT_GE(last, 200);
    f.Service("SET", "CURSOR_ROW", "9999");
    EXPECT_EQ(f.Service("QUERY", "CURSOR_ROW"), std::to_string(f.Session().view.cursorRow + 1));
    EXPECT_GT(f.Session().view.cursorRow, 3);
}

TEST(InstanceMacros, EntryMacroRunsOnOpenAndExitMacroBeforeSave) {
    ScratchDir macros("service_macros");
    std::ofstream(macros.Path() / "ENTRY.C") << "void main(void) { tavoservice(\"VPUT\", \"ENTRY.LINES\", "
                                                "tavoservice(\"QUERY\", \"LINE_COUNT\")); }\n";
    // The exit macro changes the line at the cursor and asks for a save itself, which must not
    // start it again.
    std::ofstream(macros.Path() / "EXITM.C")
        << "int n;\nvoid main(void) { n = tavoservice(\"VGET\", \"EXITM.RUNS\") + 1;\n"
           "tavoservice(\"VPUT\", \"EXITM.RUNS\", n);\n"
           "tavoservice(\"SET\", \"CURSOR_ROW\", 2);\n"
           "tavoservice(\"SET\", \"LINE_DATA\", \"changed on the way out\");\n"
           "tavoservice(\"CMD\", \"save\"); }\n";
    ReplyBackend backend;
    ui::Screen screen{backend};
    AppSession app;
    MainWindow window{app, screen};
    ConnectInstance(app);
    VarSetValue(app, "ZPATH.MACROS", macros.Path().string());
    VarSetValue(app, "ZIMACRO", "entry");
    VarSetValue(app, "ZXMACRO", "exitm");
    std::string path = macros.File("data.txt", "one\ntwo\nthree\n");
    ASSERT_EQ(OpenEditSession(app, path, OpenMode::Edit), 0);
    EXPECT_EQ(VarGetValue(app, "ENTRY.LINES"), "3");
    RunCommandLine(app, CommandRoute::Edit, "save");
    EXPECT_EQ(VarGetValue(app, "EXITM.RUNS"), "1");
    EXPECT_EQ(ReadFile(path), "changed on the way out\ntwo\nthree\n");
}
