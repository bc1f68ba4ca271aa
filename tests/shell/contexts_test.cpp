#include "shell/contexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app_session.h"
#include "core/var_store.h"
#include "shell/find_app_session.h"
#include "shell/instances.h"
#include "support/scripted_shell_port.h"

using namespace tavoe;

namespace {

// An instance whose general command processor records what it was given.
struct RecordingApp {
    AppSession app;
    ScriptedShellPort& shell = ScriptedShellPort::Install(app);
    std::vector<std::string>& sent = shell.sent;
};

TEST(ContextStack, PushCutsKindAndNameToFifteenCharacters) {
    RecordingApp r;
    PushContext(r.app, ContextKind::Menu, "AVERYLONGMENUNAME1234");
    ASSERT_NE(TopContext(r.app), nullptr);
    EXPECT_EQ(TopContext(r.app)->name, "AVERYLONGMENUNA");
    EXPECT_TRUE(TopContextIs(r.app, ContextKind::Menu, "AVERYLONGMENUNAME1234"));
    PushContext(r.app, ContextKind::Dialog, "Find");
    ShowTopContextInShell(r.app);
    // The re-shown menu is posted with its cut name, and runs only when the queue is run.
    EXPECT_TRUE(r.sent.empty());
    EXPECT_EQ(RunPostedCommands(r.app), 1);
    EXPECT_EQ(r.sent, std::vector<std::string>{"MENU AVERYLONGMENUNA"});
}

TEST(ContextStack, ShowTopPostsDialogAgainAndPopsWithoutShowing) {
    RecordingApp r;
    PushContext(r.app, ContextKind::Dialog, "Compare");
    PushContext(r.app, ContextKind::Dialog, "Find");
    PopContext(r.app);
    EXPECT_TRUE(TopContextIs(r.app, ContextKind::Dialog, "Compare"));
    EXPECT_TRUE(r.app.commandQueue.empty());
    ShowContextAgain(r.app);
    ASSERT_EQ(r.app.commandQueue.size(), 1u);
    EXPECT_EQ(r.app.commandQueue.front(), "DIALOG Compare");
    EXPECT_EQ(r.app.contexts.size(), 1u);
}

TEST(ContextStack, EmptyStackClosesAnInstanceStartedForFiles) {
    RecordingApp r;
    r.app.closeWhenEmpty = true;
    PushContext(r.app, ContextKind::Task, "payroll.cbl");
    ShowTopContextInShell(r.app);
    EXPECT_TRUE(Instance(r.app).closeRequested);
    EXPECT_TRUE(r.sent.empty());
}

TEST(ContextStack, EmptyStackShowsTheHeldBackMenuOfTheStyle) {
    RecordingApp r;
    r.app.menuPostponed = true;
    VarSetValue(r.app, "ZMENUSTYLE", "Legacy Tavo");
    PushContext(r.app, ContextKind::Task, "a");
    ShowTopContextInShell(r.app);
    EXPECT_EQ(r.sent, std::vector<std::string>{"menu legacy"});
    VarSetValue(r.app, "ZMENUSTYLE", "Windows GUI");
    PushContext(r.app, ContextKind::Task, "a");
    ShowTopContextInShell(r.app);
    EXPECT_EQ(r.sent.size(), 1u);
    EXPECT_FALSE(Instance(r.app).closeRequested);
}

TEST(CommandQueue, PostedCommandsRunInOrderIncludingThoseTheyPost) {
    RecordingApp r;
    r.shell.run = [&r](AppSession& app, std::string_view command) {
        r.sent.emplace_back(command);
        if (command == "first") {
            PostCommand(app, "third");
        }
    };
    PostCommand(r.app, "first");
    PostCommand(r.app, "second");
    EXPECT_EQ(RunPostedCommands(r.app), 3);
    EXPECT_EQ(r.sent, (std::vector<std::string>{"first", "second", "third"}));
}

}  // namespace

namespace {

TEST(FindAppSession, TheInstanceOfAScreenElseTheFirstRunning) {
    EXPECT_EQ(FindAppSession(nullptr), nullptr);
    AppSession first;
    AppSession second;
    ui::Screen* screen = reinterpret_cast<ui::Screen*>(&second);  // only compared, never used
    second.screen = screen;
    {
        RunningInstance runningFirst(first);
        RunningInstance runningSecond(second);
        EXPECT_EQ(FindAppSession(screen), &second);
        EXPECT_EQ(FindAppSession(nullptr), &first);
    }
    EXPECT_EQ(FindAppSession(screen), nullptr);
}

}  // namespace
