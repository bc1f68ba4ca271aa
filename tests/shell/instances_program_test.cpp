// Several instances of the program running at once, each a `tavoe --batch` process driven through
// its standard input: they share the command history and the session table, and the slot of an
// instance that was killed goes to the next one that starts.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "shell_test_support.h"

using namespace tavoe;

extern char** environ;

namespace {

// One program run with pipes on its standard input and output.
class BatchProcess {
public:
    BatchProcess(const std::string& home, const std::vector<std::string>& args) {
        int in[2];
        int out[2];
        if (::pipe(in) != 0 || ::pipe(out) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<std::string> words{std::string(TAVOE_BINARY_DIR) + "/bin/tavoe", "--batch"};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& w : words) {
            argv.push_back(w.data());
        }
        argv.push_back(nullptr);
        std::vector<std::string> env{"HOME=" + home, "TAVOE35=" + home, "PATH=/usr/bin:/bin"};
        std::vector<char*> envp;
        for (std::string& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        toChild_ = in[1];
        fromChild_ = out[0];
        ::fcntl(fromChild_, F_SETFL, O_NONBLOCK);
    }

    ~BatchProcess() {
        CloseInput();
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (fromChild_ >= 0) {
            ::close(fromChild_);
        }
    }

    bool Running() const { return pid_ > 0; }

    void Send(const std::string& line) {
        std::string text = line + "\n";
        ASSERT_EQ(::write(toChild_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    // Everything the program printed from now until a line holding `marker` (at most 10 seconds).
    std::string ReadUntil(const std::string& marker) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (;;) {
            size_t found = buffer_.find(marker);
            if (found != std::string::npos) {
                size_t end = buffer_.find('\n', found);
                end = end == std::string::npos ? buffer_.size() : end + 1;
                std::string taken = buffer_.substr(0, end);
                buffer_.erase(0, end);
                return taken;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                return "timed out waiting for '" + marker + "' after: " + buffer_;
            }
            pollfd p{fromChild_, POLLIN, 0};
            ::poll(&p, 1, 100);
            char chunk[4096];
            ssize_t n = ::read(fromChild_, chunk, sizeof chunk);
            if (n > 0) {
                buffer_.append(chunk, static_cast<size_t>(n));
            }
        }
    }

    // A round trip: once the answer is back, everything sent before has been handled.
    std::string Sync() {
        Send("!var ZTAVOVERSION");
        return ReadUntil("var: ZTAVOVERSION=");
    }

    void Kill() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    void CloseInput() {
        if (toChild_ >= 0) {
            ::close(toChild_);
            toChild_ = -1;
        }
    }

    // Ends the script and returns the exit code.
    int Finish() {
        CloseInput();
        int status = 0;
        if (::waitpid(pid_, &status, 0) != pid_) {
            return -1;
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string buffer_;
};

// The Window menu as the instance shows it: opened, printed, closed.
std::string WindowMenu(BatchProcess& process) {
    process.Sync();
    process.Send("!keys <A-w>");
    process.Send("!screen");
    process.Send("!keys <Esc>");
    return process.ReadUntil("--- end ---");
}

TEST(RunningInstances, ShareTheHistoryAndTheSessionTableAndReclaimAKilledSlot) {
    ScratchDir home("instances");
    BatchProcess first(home.Path().string(), {"--size", "80x40"});
    ASSERT_TRUE(first.Running());
    ASSERT_NE(first.Sync().find("var: ZTAVOVERSION=3.5"), std::string::npos);

    BatchProcess second(home.Path().string(), {"--size", "80x40"});
    ASSERT_TRUE(second.Running());
    second.Send("xyzzy");
    std::string secondOut = second.Sync();
    EXPECT_NE(secondOut.find("box: Unable to read macro"), std::string::npos) << secondOut;

    // The command typed in the second instance is retrieved in the first.
    first.Sync();
    first.Send("!keys <F12>");
    first.Send("!screen");
    std::string screen = first.ReadUntil("--- end ---");
    EXPECT_NE(screen.find(" Command xyzzy"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Verso[1]"), std::string::npos) << screen;  // the title counts the sessions

    std::string menu = WindowMenu(first);
    EXPECT_NE(menu.find("Verso[1]"), std::string::npos) << menu;
    EXPECT_NE(menu.find("Verso[2]"), std::string::npos) << menu;

    // A killed instance never leaves the table itself; the next one to start takes its slot back.
    second.Kill();
    BatchProcess third(home.Path().string(), {"--size", "80x40"});
    ASSERT_TRUE(third.Running());
    third.Send("!screen");
    std::string thirdScreen = third.ReadUntil("--- end ---");
    EXPECT_NE(thirdScreen.find("Verso[2]"), std::string::npos) << thirdScreen;
    menu = WindowMenu(first);
    EXPECT_NE(menu.find("Verso[2]"), std::string::npos) << menu;
    EXPECT_EQ(menu.find("Verso[3]"), std::string::npos) << menu;

    EXPECT_EQ(third.Finish(), 0);
    EXPECT_EQ(first.Finish(), 0);
}

}  // namespace
