#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "../support/tmux_session.h"

// Runs the widget demo in a real terminal: a tmux session of its own (a private server socket),
// driven with send-keys and read with capture-pane.

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A terminal whose shell runs the widget demo, with a scratch folder for what the run leaves.
class DemoTerminal : public TmuxSession {
public:
    DemoTerminal()
        : TmuxSession("ui"), dir_(fs::temp_directory_path() / ("tavoe_ui_demo_" + std::to_string(getpid()))) {
        fs::create_directories(dir_);
    }
    ~DemoTerminal() { fs::remove_all(dir_); }

    const fs::path& Dir() const { return dir_; }

    // Starts the demo from the shell, saving the terminal modes before and after it.
    void StartDemo() {
        std::string demo = std::string(TAVOE_BINARY_DIR) + "/bin/widget_demo";
        std::ofstream script(dir_ / "run.sh");
        script << "stty -g > " << (dir_ / "before").string() << "\n"
               << "sh -c 'echo $$ > " << (dir_ / "pid").string() << "; exec " << demo << "'\n"
               << "stty -g > " << (dir_ / "after").string() << "\n"
               << "echo DEMO''DONE\n";
        script.close();
        Type("sh " + (dir_ / "run.sh").string());
    }

    void ExpectRestored() {
        ASSERT_TRUE(WaitFor("DEMODONE")) << Screen();
        EXPECT_EQ(ReadFile(dir_ / "before"), ReadFile(dir_ / "after"));
        EXPECT_FALSE(ReadFile(dir_ / "before").empty());
        // Back on the normal screen, no mouse reporting, a visible cursor.
        EXPECT_EQ(Tmux("display-message -p -t t '#{alternate_on} #{mouse_any_flag} #{cursor_flag}'"),
                  "0 0 1\n");
    }

private:
    fs::path dir_;
};

}  // namespace

TEST(TerminalBackendInTmux, FormAppearsTakesInputAndRestoresTheTerminal) {
    if (!TmuxSession::Available()) {
        GTEST_SKIP() << "tmux is not installed";
    }
    DemoTerminal tmux;
    tmux.StartDemo();
    ASSERT_TRUE(tmux.WaitFor("Widget demo")) << tmux.Screen();
    EXPECT_EQ(tmux.Tmux("display-message -p -t t '#{alternate_on} #{mouse_any_flag}'"), "1 1\n");
    tmux.Keys("-l 'hello'");
    ASSERT_TRUE(tmux.WaitFor("Name:      hello")) << tmux.Screen();
    // An unknown escape sequence is dropped; Shift+Tab is decoded (back to the last button, then
    // three Tabs reach the Code field).
    tmux.Keys("Escape '[99;99z'");
    tmux.Keys("BTab Tab Tab Tab");
    tmux.Keys("-l 'x9'");
    ASSERT_TRUE(tmux.WaitFor("Code:           X9")) << tmux.Screen();
    EXPECT_NE(tmux.Screen().find("Name:      hello "), std::string::npos) << tmux.Screen();
    tmux.Keys("Enter");
    tmux.ExpectRestored();
    std::string screen = tmux.Screen();
    EXPECT_NE(screen.find("result: OK"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Demo.Name=hello"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Demo.Code=X9"), std::string::npos) << screen;
}

TEST(TerminalBackendInTmux, SurvivesATinyWindowAndQuitsWithF3) {
    if (!TmuxSession::Available()) {
        GTEST_SKIP() << "tmux is not installed";
    }
    DemoTerminal tmux;
    tmux.StartDemo();
    ASSERT_TRUE(tmux.WaitFor("Widget demo")) << tmux.Screen();
    tmux.Tmux("resize-window -t t -x 10 -y 5");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    tmux.Keys("-l 'ab'");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    tmux.Tmux("resize-window -t t -x 80 -y 24");
    ASSERT_TRUE(tmux.WaitFor("Name:      ab")) << tmux.Screen();
    tmux.Keys("F3");
    tmux.ExpectRestored();
    EXPECT_NE(tmux.Screen().find("result: CANCELLED"), std::string::npos) << tmux.Screen();
}

TEST(TerminalBackendInTmux, AnInterruptSignalRestoresTheTerminal) {
    if (!TmuxSession::Available()) {
        GTEST_SKIP() << "tmux is not installed";
    }
    DemoTerminal tmux;
    tmux.StartDemo();
    ASSERT_TRUE(tmux.WaitFor("Widget demo")) << tmux.Screen();
    // Ctrl+C is a key for the program (the clipboard needs it): the form stays.
    tmux.Keys("C-c");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_NE(tmux.Screen().find("Widget demo"), std::string::npos);
    std::string pid = ReadFile(tmux.Dir() / "pid");
    ASSERT_FALSE(pid.empty());
    ASSERT_EQ(std::system(("kill -INT " + pid).c_str()), 0);
    tmux.ExpectRestored();
}
