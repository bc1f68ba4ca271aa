// External commands and user commands run for real (headless: each runs to its end), with file names
// that would break a careless command line.
#include "utilities/external_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "../profiles/search_path_fixture.h"
#include "utilities/user_command.h"

namespace tavoe {

namespace fs = std::filesystem;

namespace {

TEST(SystemText, OptionWordsAtTheFront) {
    struct Case {
        const char* text;
        bool interpret, stop, batch, suspend;
        const char* command;
    } cases[] = {
        {"ls -l", true, true, false, false, "ls -l"},
        {"nointerp notepad.exe", false, true, false, false, "notepad.exe"},
        {"nointerp batch build.sh", false, true, true, false, "build.sh"},
        {"  NOSTOP SUSPEND make all", true, false, false, true, "make all"},
        {"Stop x", true, true, false, false, "Stop x"},  // mixed case is no option word
        {"suspend nosuspend batch nobatch interp x", true, true, false, false, "x"},
        {"stopped", true, true, false, false, "stopped"},  // the word needs its blank
        {"nostop", true, true, false, false, "nostop"},
    };
    for (const Case& c : cases) {
        SystemRequest r = ParseSystemText(c.text);
        EXPECT_EQ(r.options.interpret, c.interpret) << c.text;
        EXPECT_EQ(r.options.stop, c.stop) << c.text;
        EXPECT_EQ(r.options.batch, c.batch) << c.text;
        EXPECT_EQ(r.options.suspend, c.suspend) << c.text;
        EXPECT_EQ(r.command, c.command) << c.text;
    }
}

TEST(SystemText, WordsWithoutAShell) {
    EXPECT_EQ(SplitCommandWords("  a  'b c' \"d'e\" f;g "),
              (std::vector<std::string>{"a", "b c", "d'e", "f;g"}));
    EXPECT_EQ(SplitCommandWords("x'' ''"), (std::vector<std::string>{"x", ""}));
    EXPECT_TRUE(SplitCommandWords("   ").empty());
}

class ExternalTest : public SearchPathFixture {
protected:
    ExternalTest() : SearchPathFixture("xcmd", "ZPATH.USERCOMMANDS") {}
    void SetUp() override {
        SearchPathFixture::SetUp();
        app.batchMode = true;
        // A file name that a shell would split, unquote and end at the semicolon.
        nasty = (root / "it's a \"file\"; rm -rf x &").string();
        VarSetValue(app, "ZDSN", nasty);
        Write(nasty, "payload\n");
        ::setenv("TMPDIR", root.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("TMPDIR");
        SearchPathFixture::TearDown();
    }
    std::string nasty;
};

TEST_F(ExternalTest, NoShellKeepsEachSymbolInItsWord) {
    ExternalOptions direct{false, true, false, false};
    std::string copy = (root / "copy out").string();
    ASSERT_EQ(RunExternalCommand(app, "cp &zdsn '" + copy + "'", direct, nullptr), 0);
    EXPECT_EQ(Read(copy), "payload\n");
    EXPECT_TRUE(fs::exists(nasty));
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(ExternalTest, ShellSeesEachSymbolAsOneQuotedWord) {
    // Through the shell, with and without the work script: the name stays one word, its semicolon,
    // quotes and "&" do nothing; "&zsemi" still separates two shell commands.
    for (bool stop : {false, true}) {
        std::string out = (root / (stop ? "copy2" : "copy1")).string();
        ExternalOptions shell{true, stop, false, false};
        ASSERT_EQ(RunExternalCommand(app, "cat &zdsn > '" + out + "' &zsemi echo more >> '" + out + "'",
                                     shell, nullptr),
                  0);
        EXPECT_EQ(Read(out), "payload\nmore\n");
    }
    EXPECT_TRUE(fs::exists(nasty));
    EXPECT_FALSE(fs::exists(root / "x"));
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(ExternalTest, FailuresAreReported) {
    ExternalOptions direct{false, false, false, false};
    EXPECT_EQ(RunExternalCommand(app, "/no/such/program x", direct, nullptr), -1);
    EXPECT_EQ(app.messages.back().text, "Unable to create process for external command.");
    EXPECT_EQ(RunExternalCommand(app, "false", direct, nullptr), -1);
    EXPECT_EQ(app.messages.back().text, "External command ended with exit code 1.");
    EXPECT_EQ(RunExternalCommand(app, "   ", direct, nullptr), -1);
    EXPECT_EQ(app.messages.back().text, "COMMAND must be specified.");
}

TEST_F(ExternalTest, WorkScriptShowsRunsWaitsAndGoesAway) {
    ExternalOptions stop{true, true, false, false};
    std::string out = (root / "out").string();
    ASSERT_EQ(RunExternalCommand(app, "echo ran > '" + out + "'", stop, nullptr), 0);
    EXPECT_EQ(Read(out), "ran\n");
    for (const auto& entry : fs::directory_iterator(root)) {
        EXPECT_EQ(entry.path().filename().string().find("tavotemp"), std::string::npos);
    }
    // The script ends with the command's status, not the pause's.
    EXPECT_EQ(RunExternalCommand(app, "exit 3", stop, nullptr), -1);
    EXPECT_EQ(app.messages.back().text, "External command ended with exit code 3.");
    ::setenv("TMPDIR", (root / "missing").c_str(), 1);
    EXPECT_EQ(RunExternalCommand(app, "true", stop, nullptr), -1);
    EXPECT_EQ(app.messages.back().text, "Need directory " + (root / "missing").string() +
                                            " for temporary work file, it does not exist.");
}

TEST_F(ExternalTest, BatchRunsAScriptThroughTheShell) {
    Write(root / "build.sh", "echo built > \"$1\"\n");  // not executable
    std::string out = (root / "built").string();
    ExternalOptions batch{false, false, true, false};
    ASSERT_EQ(RunExternalCommand(app, "'" + (root / "build.sh").string() + "' '" + out + "'", batch, nullptr),
              0);
    EXPECT_EQ(Read(out), "built\n");
    std::string script = WorkScriptText("build.sh", true);
    EXPECT_NE(script.find("\n/bin/sh build.sh\nstatus=$?\n"), std::string::npos) << script;
}

// Counts the screen being put away and restored.
class CountingHandover : public TerminalHandover {
public:
    void Suspend() override { ++suspended; }
    void Resume() override { ++resumed; }
    int suspended = 0;
    int resumed = 0;
};

TEST_F(ExternalTest, TerminalIsAlwaysGivenBack) {
    app.batchMode = false;
    const char* tmux = std::getenv("TMUX");
    std::string saved = tmux != nullptr ? tmux : "";
    ::unsetenv("TMUX");
    ASSERT_EQ(SurfaceFor(app), CommandSurface::Terminal);
    CountingHandover handover;
    ExternalOptions wait{false, false, false, true};
    EXPECT_EQ(RunExternalCommand(app, "/no/such/program", wait, &handover), -1);
    EXPECT_EQ(RunExternalCommand(app, "false", wait, &handover), -1);
    EXPECT_EQ(RunExternalCommand(app, "true", wait, &handover), 0);
    EXPECT_EQ(handover.suspended, 3);
    EXPECT_EQ(handover.resumed, 3);
    // Neither waited for nor stopping: detached, the screen stays.
    std::string out = (root / "detached").string();
    ExternalOptions detached{false, false, false, false};
    EXPECT_EQ(RunExternalCommand(app, "touch '" + out + "'", detached, &handover), 0);
    EXPECT_EQ(handover.suspended, 3);
    for (int i = 0; i < 200 && !fs::exists(out); ++i) {
        ::usleep(10000);
    }
    EXPECT_TRUE(fs::exists(out));
    if (!saved.empty()) {
        ::setenv("TMUX", saved.c_str(), 1);
    }
}

TEST_F(ExternalTest, UserCommandFilesAndChecks) {
    UserCommand command;
    command.name = "COPYIT";
    command.description = "copy the file";
    command.command = "cp &zdsn '" + (root / "copied").string() + "'";
    command.options = ExternalOptions{false, false, false, true};
    ASSERT_EQ(ValidateUserCommand(app, command), 0);
    ASSERT_EQ(WriteUserCommand(app, command), 0);
    EXPECT_EQ(Read(root / "user" / "COPYIT.ucmd"),
              "Name=COPYIT\nDescription=copy the file\nCommand=" + command.command +
                  "\nMode=External\nInterpret=FALSE\nStop=FALSE\nBatch=FALSE\nSuspend=TRUE\n");
    ASSERT_EQ(UserCmdCommand(app, " COPYIT ", nullptr), 0);
    EXPECT_EQ(Read(root / "copied"), "payload\n");

    EXPECT_EQ(UserCmdCommand(app, "NOSUCH", nullptr), -1);
    EXPECT_EQ(app.messages.back().text, "PObjRead: unable to open control file 'NOSUCH.ucmd' for read.");
    Write(root / "server" / "BAD.ucmd", "Name=BAD\nMode=Shell\n");
    EXPECT_EQ(UserCmdCommand(app, "BAD", nullptr), -1);
    EXPECT_EQ(app.messages.back().text, "User command 'BAD': keyword 'Mode' has invalid value 'Shell'.");

    struct Case {
        const char* name;
        const char* description;
        const char* text;
        const char* message;
    } cases[] = {
        {"", "d", "c", "NAME, DESCRIPTION, and COMMAND must be specified."},
        {"N", "", "c", "NAME, DESCRIPTION, and COMMAND must be specified."},
        {"N", "d", "", "NAME, DESCRIPTION, and COMMAND must be specified."},
        {"A B", "d", "c", "No blanks or punctuation allowed in User Command name."},
        {"../X", "d", "c", "No blanks or punctuation allowed in User Command name."},
        {"ABCDEFGHIJK", "d", "c", "NAME too long."},
    };
    for (const Case& c : cases) {
        UserCommand bad;
        bad.name = c.name;
        bad.description = c.description;
        bad.command = c.text;
        EXPECT_EQ(ValidateUserCommand(app, bad), -1) << c.name;
        EXPECT_EQ(app.messages.back().text, c.message);
    }
}

}  // namespace

}  // namespace tavoe
