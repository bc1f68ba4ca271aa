#include "shell/contexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app_session.h"
#include "core/var_store.h"
#include "shell/find_app_session.h"

namespace {

// An instance whose general command processor records what it was given.
struct RecordingApp {
    AppSession app;
    std::vector<std::string> sent;
    int changes = 0;
    RecordingApp() {
        app.contextHooks.runGeneralCommand = [this](AppSession&, std::string_view command) {
            sent.emplace_back(command);
        };
        app.contextHooks.contextChanged = [this](AppSession&) { ++changes; };
    }
};

TEST(ContextStack, PushCutsKindAndNameToFifteenCharacters) {
    RecordingApp r;
    PushContext(r.app, "menu", "AVERYLONGMENUNAME1234");
    ASSERT_NE(TopContext(r.app), nullptr);
    EXPECT_EQ(TopContext(r.app)->name, "AVERYLONGMENUNA");
    EXPECT_TRUE(TopContextIs(r.app, "menu", "AVERYLONGMENUNAME1234"));
    PushContext(r.app, "dialog", "Find");
    ShowTopContext(r.app);
    // The re-shown menu is posted with its cut name, and runs only when the queue is run.
    EXPECT_TRUE(r.sent.empty());
    EXPECT_EQ(RunPostedCommands(r.app), 1);
    EXPECT_EQ(r.sent, std::vector<std::string>{"MENU AVERYLONGMENUNA"});
}

TEST(ContextStack, ShowTopPostsDialogAgainAndPopsWithoutShowing) {
    RecordingApp r;
    PushContext(r.app, "dialog", "Compare");
    PushContext(r.app, "dialog", "Find");
    PopContext(r.app);
    EXPECT_TRUE(TopContextIs(r.app, "dialog", "Compare"));
    EXPECT_TRUE(r.app.commandQueue.empty());
    ShowContextAgain(r.app);
    ASSERT_EQ(r.app.commandQueue.size(), 1u);
    EXPECT_EQ(r.app.commandQueue.front(), "DIALOG Compare");
    EXPECT_EQ(r.app.contexts.size(), 1u);
}

TEST(ContextStack, EmptyStackClosesAnInstanceStartedForFiles) {
    RecordingApp r;
    r.app.closeWhenEmpty = true;
    PushContext(r.app, "task", "payroll.cbl");
    ShowTopContext(r.app);
    EXPECT_TRUE(r.app.instance.closeRequested);
    EXPECT_TRUE(r.sent.empty());
}

TEST(ContextStack, EmptyStackShowsTheHeldBackMenuOfTheStyle) {
    RecordingApp r;
    r.app.menuPostponed = true;
    VarSetValue(r.app, "ZMENUSTYLE", "Legacy Tavo");
    PushContext(r.app, "task", "a");
    ShowTopContext(r.app);
    EXPECT_EQ(r.sent, std::vector<std::string>{"menu legacy"});
    VarSetValue(r.app, "ZMENUSTYLE", "Windows GUI");
    PushContext(r.app, "task", "a");
    ShowTopContext(r.app);
    EXPECT_EQ(r.sent.size(), 1u);
    EXPECT_FALSE(r.app.instance.closeRequested);
}

TEST(CommandQueue, PostedCommandsRunInOrderIncludingThoseTheyPost) {
    RecordingApp r;
    r.app.contextHooks.runGeneralCommand = [&r](AppSession& app, std::string_view command) {
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
