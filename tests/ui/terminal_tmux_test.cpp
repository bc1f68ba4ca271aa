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

// Runs the widget demo in a real terminal: a tmux session of its own (a private server socket),
// driven with send-keys and read with capture-pane.

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

bool HaveTmux() {
    return std::system("tmux -V >/dev/null 2>&1") == 0;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class TmuxSession {
public:
    TmuxSession() {
        socket_ = "tavoe_ui_" + std::to_string(getpid()) + "_" + std::to_string(counter_++);
        dir_ = fs::temp_directory_path() / socket_;
        fs::create_directories(dir_);
        Tmux("-f /dev/null new-session -d -s t -x 80 -y 24 'env -u TMUX sh'");
        Tmux("set-option -t t status off");
    }
    ~TmuxSession() {
        Tmux("kill-server");
        fs::remove_all(dir_);
    }

    std::string Tmux(const std::string& args) { return Shell("tmux -L " + socket_ + " " + args + " 2>&1"); }
    void Type(const std::string& shellLine) {
        Tmux("send-keys -t t -l '" + shellLine + "'"), Tmux("send-keys -t t Enter");
    }
    void Keys(const std::string& keys) { Tmux("send-keys -t t " + keys); }
    std::string Screen() { return Tmux("capture-pane -p -t t"); }

    // Waits (up to 10 s) until the pane shows the text.
    bool WaitFor(const std::string& text) {
        for (int i = 0; i < 200; ++i) {
            if (Screen().find(text) != std::string::npos) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

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
    static inline int counter_ = 0;
    std::string socket_;
    fs::path dir_;
};

}  // namespace

TEST(TerminalBackendInTmux, FormAppearsTakesInputAndRestoresTheTerminal) {
    if (!HaveTmux()) {
        GTEST_SKIP() << "tmux is not installed";
    }
    TmuxSession tmux;
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
    if (!HaveTmux()) {
        GTEST_SKIP() << "tmux is not installed";
    }
    TmuxSession tmux;
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
    if (!HaveTmux()) {
        GTEST_SKIP() << "tmux is not installed";
    }
    TmuxSession tmux;
    tmux.StartDemo();
    ASSERT_TRUE(tmux.WaitFor("Widget demo")) << tmux.Screen();
    // Ctrl+C is a key for the program (the clipboard needs it): the form stays.
    tmux.Keys("C-c");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_NE(tmux.Screen().find("Widget demo"), std::string::npos);
    std::string pid = ReadFile(tmux.Dir() / "pid");
    ASSERT_FALSE(pid.empty());
    Shell("kill -INT " + pid);
    tmux.ExpectRestored();
}
