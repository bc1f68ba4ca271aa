// The program in a real terminal, as `make run` starts it: a tmux session of its own (a private
// server socket), driven with send-keys and read with capture-pane.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "../support/tmux_session.h"
#include "shell_test_support.h"

using namespace tavoe;

namespace fs = std::filesystem;

namespace {

TEST(TerminalRun, OpensTheSampleShowsTheWindowAndGivesTheTerminalBack) {
    if (!TmuxSession::Available()) {
        GTEST_SKIP() << "tmux is not installed";
    }
    ScratchDir dir("terminal");
    fs::copy_file(fs::path(TAVOE_SOURCE_DIR) / "data/samples/payroll.cbl", dir.Path() / "payroll.cbl");
    // A profile from an earlier run: no first-run welcome stands in front of the file.
    fs::create_directories(dir.Path() / "home/profiles");
    for (const auto& entry : fs::directory_iterator(fs::path(TAVOE_SOURCE_DIR) / "data/profiles")) {
        fs::copy_file(entry.path(), dir.Path() / "home/profiles" / entry.path().filename());
    }
    dir.File("home/profiles/TAVOE.PRF", "ZMENUSTYLE,Windows GUI\n");
    std::string program = std::string(TAVOE_BINARY_DIR) + "/bin/tavoe";
    TmuxSession tmux("shell");
    tmux.Type("cd " + dir.Path().string() + " && stty -g > before && TAVOE35=$PWD/home " + program +
              " payroll.cbl; stty -g > after; echo ENDED-$?");
    ASSERT_TRUE(tmux.WaitFor("PROGRAM-ID. PAYROLL.")) << tmux.Screen();
    std::string screen = tmux.Screen();
    EXPECT_NE(screen.find("payroll.cbl"), std::string::npos) << screen;  // the caption
    EXPECT_NE(screen.find(" File  Edit  Search  View  Options  Utility  Window  Help"), std::string::npos)
        << screen;
    EXPECT_NE(screen.find(" Command "), std::string::npos) << screen;
    EXPECT_NE(screen.find("COLS 07 78"), std::string::npos) << screen;
    EXPECT_NE(screen.find(" L -  C -"), std::string::npos) << screen;

    // F3 runs END: the only file of an instance started for it ends, and so does the instance.
    tmux.Keys("F3");
    ASSERT_TRUE(tmux.WaitFor("ENDED-0")) << tmux.Screen();
    EXPECT_EQ(ReadWholeFile((dir.Path() / "before").string()),
              ReadWholeFile((dir.Path() / "after").string()));
    EXPECT_TRUE(fs::exists(dir.Path() / "home/profiles/TAVOE.PRF"));
}

// A first start as a new user meets it: the welcome and the interface style, then the file with the
// field bar, numbered rows and the status line; a character overtyped, a page down and back with F8
// and F7, SAVE typed in the command field, F3 to leave. The file on disk holds the change and
// nothing else.
TEST(TerminalRun, NewUserTypesScrollsSavesAndLeaves) {
    if (!TmuxSession::Available()) {
        GTEST_SKIP() << "tmux is not installed";
    }
    ScratchDir dir("terminal_new_user");
    const fs::path sample = fs::path(TAVOE_SOURCE_DIR) / "data/samples/payroll.cbl";
    fs::copy_file(sample, dir.Path() / "payroll.cbl");
    for (const char* folder : {"dialogs", "menus", "profiles"}) {
        fs::create_directories(dir.Path() / "home" / folder);
        fs::copy(fs::path(TAVOE_SOURCE_DIR) / "data" / folder, dir.Path() / "home" / folder,
                 fs::copy_options::recursive);
    }
    std::string program = std::string(TAVOE_BINARY_DIR) + "/bin/tavoe";
    TmuxSession tmux("shell");
    tmux.Type("cd " + dir.Path().string() + " && HOME=$PWD TAVOE35=$PWD/home " + program +
              " payroll.cbl; echo ENDED-$?");
    ASSERT_TRUE(tmux.WaitFor("Welcome to Tavo/E.")) << tmux.Screen();
    tmux.Keys("Enter");
    ASSERT_TRUE(tmux.WaitFor("Interface style")) << tmux.Screen();
    tmux.Keys("Enter");
    // The edit view is painted behind the dialog already; the status line comes once it is gone.
    ASSERT_TRUE(tmux.WaitFor(" L -  C -")) << tmux.Screen();
    std::string screen = tmux.Screen();
    EXPECT_EQ(screen.find("Interface style"), std::string::npos) << screen;
    EXPECT_NE(screen.find("000100  IDENTIFICATION DIVISION."), std::string::npos) << screen;
    EXPECT_NE(screen.find(" Command "), std::string::npos) << screen;
    EXPECT_NE(screen.find("*** Top of File ***"), std::string::npos) << screen;
    EXPECT_NE(screen.find("000200  PROGRAM-ID. PAYROLL."), std::string::npos) << screen;
    EXPECT_NE(screen.find(" L -  C -"), std::string::npos) << screen;

    // From the command field to the first record's first data column; Insert switches to overtype.
    tmux.Keys("Tab Down Insert");
    tmux.Keys("-l '*'");
    ASSERT_TRUE(tmux.WaitFor("000100 *IDENTIFICATION DIVISION.")) << tmux.Screen();
    EXPECT_NE(tmux.Screen().find(" L 1  C 8  Ovr"), std::string::npos) << tmux.Screen();
    tmux.Keys("F8");
    ASSERT_TRUE(tmux.WaitFor("001700  01  WS-EOF")) << tmux.Screen();
    EXPECT_EQ(tmux.Screen().find("*** Top of File ***"), std::string::npos) << tmux.Screen();
    tmux.Keys("F7");
    ASSERT_TRUE(tmux.WaitFor("*** Top of File ***")) << tmux.Screen();

    tmux.Keys("Home Home");
    tmux.Type("save");
    ASSERT_TRUE(tmux.WaitFor("File saved")) << tmux.Screen();
    tmux.Keys("F3");
    ASSERT_TRUE(tmux.WaitFor("ENDED-0")) << tmux.Screen();

    std::string before = ReadWholeFile(sample.string());
    std::string after = ReadWholeFile((dir.Path() / "payroll.cbl").string());
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[6], '*');
    before[6] = '*';
    EXPECT_EQ(after, before);
    EXPECT_TRUE(fs::exists(dir.Path() / "home/profiles/TAVOE.PRF"));
}

}  // namespace
