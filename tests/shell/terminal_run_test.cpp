// The program in a real terminal, as `make run` starts it: a tmux session of its own (a private
// server socket), driven with send-keys and read with capture-pane.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "shell_test_support.h"

namespace fs = std::filesystem;

namespace {

std::string Shell(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return out;
    }
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, n);
    }
    pclose(pipe);
    return out;
}

class Tmux {
public:
    Tmux() : socket_("tavoe_shell_" + std::to_string(::getpid())) {
        Run("-f /dev/null new-session -d -s t -x 80 -y 24 'env -u TMUX sh'");
        Run("set-option -t t status off");
    }
    ~Tmux() { Run("kill-server"); }

    std::string Run(const std::string& args) { return Shell("tmux -L " + socket_ + " " + args + " 2>&1"); }
    void Type(const std::string& line) {
        Run("send-keys -t t -l '" + line + "'");
        Run("send-keys -t t Enter");
    }
    std::string Screen() { return Run("capture-pane -p -t t"); }
    bool WaitFor(const std::string& text) {
        for (int i = 0; i < 200; ++i) {
            if (Screen().find(text) != std::string::npos) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

private:
    std::string socket_;
};

TEST(TerminalRun, OpensTheSampleShowsTheWindowAndGivesTheTerminalBack) {
    if (std::system("tmux -V >/dev/null 2>&1") != 0) {
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
    Tmux tmux;
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
    tmux.Run("send-keys -t t F3");
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
    if (std::system("tmux -V >/dev/null 2>&1") != 0) {
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
    Tmux tmux;
    tmux.Type("cd " + dir.Path().string() + " && HOME=$PWD TAVOE35=$PWD/home " + program +
              " payroll.cbl; echo ENDED-$?");
    ASSERT_TRUE(tmux.WaitFor("Welcome to Tavo/E.")) << tmux.Screen();
    tmux.Run("send-keys -t t Enter");
    ASSERT_TRUE(tmux.WaitFor("Interface style")) << tmux.Screen();
    tmux.Run("send-keys -t t Enter");
    ASSERT_TRUE(tmux.WaitFor("000100  IDENTIFICATION DIVISION.")) << tmux.Screen();
    std::string screen = tmux.Screen();
    EXPECT_NE(screen.find(" Command "), std::string::npos) << screen;
    EXPECT_NE(screen.find("*** Top of File ***"), std::string::npos) << screen;
    EXPECT_NE(screen.find("000200  PROGRAM-ID. PAYROLL."), std::string::npos) << screen;
    EXPECT_NE(screen.find(" L -  C -"), std::string::npos) << screen;

    // From the command field to the first record's first data column; Insert switches to overtype.
    tmux.Run("send-keys -t t Tab Down Insert");
    tmux.Run("send-keys -t t -l '*'");
    ASSERT_TRUE(tmux.WaitFor("000100 *IDENTIFICATION DIVISION.")) << tmux.Screen();
    EXPECT_NE(tmux.Screen().find(" L 1  C 8"), std::string::npos) << tmux.Screen();
    tmux.Run("send-keys -t t F8");
    ASSERT_TRUE(tmux.WaitFor("001700  01  WS-EOF")) << tmux.Screen();
    EXPECT_EQ(tmux.Screen().find("*** Top of File ***"), std::string::npos) << tmux.Screen();
    tmux.Run("send-keys -t t F7");
    ASSERT_TRUE(tmux.WaitFor("*** Top of File ***")) << tmux.Screen();

    tmux.Run("send-keys -t t Home Home");
    tmux.Type("save");
    ASSERT_TRUE(tmux.WaitFor("File saved")) << tmux.Screen();
    tmux.Run("send-keys -t t F3");
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
