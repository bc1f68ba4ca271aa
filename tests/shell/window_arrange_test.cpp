#include "shell/window_arrange.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "core/app_session.h"
#include "platform/format.h"
#include "shell/instances.h"

using namespace tavoe;

namespace {

// Instances registered in a block of the test's own. They run as batch instances, which have no
// terminal: tmux is never driven, whatever terminal the tests run in.
class Arrange : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        start_.programPath = "/nonexistent/bin/tavoe";
        start_.blockName = Format("/tavoe_arrangetest_%d_%d", static_cast<int>(getpid()), ++counter);
    }
    void TearDown() override {
        for (auto& app : apps_) {
            UnregisterSession(*app);
        }
        shm_unlink(start_.blockName.c_str());
    }

    AppSession& NewSession() {
        apps_.push_back(std::make_unique<AppSession>());
        AppSession& app = *apps_.back();
        app.batchMode = true;
        Instance(app).activateWindow = [](AppSession&, int, int) { return true; };
        RegisterSession(app, start_);
        return app;
    }

    static std::vector<std::string> Texts(const AppSession& app) {
        std::vector<std::string> texts;
        for (const ShownMessage& m : app.messages) {
            texts.push_back(m.text);
        }
        return texts;
    }

    SessionStart start_;
    std::vector<std::unique_ptr<AppSession>> apps_;
};

TEST_F(Arrange, OneSessionIgnoresEveryArrangement) {
    AppSession& app = NewSession();
    ArrangeOverlay(app);
    ArrangeTileH(app);
    ArrangeTileV(app);
    EXPECT_EQ(Texts(app), (std::vector<std::string>{"Only one session, OVERLAY ignored.",
                                                    "Only one session, TILE HORIZONTAL ignored.",
                                                    "Only one session, TILE VERTICAL ignored."}));
    for (const ShownMessage& m : app.messages) {
        EXPECT_EQ(m.to, MsgTo::Box);
        EXPECT_EQ(m.beep, Beep::Information);
    }
}

TEST_F(Arrange, StepWithThreeSessionsPassesToTiling) {
    AppSession& app = NewSession();
    NewSession();
    NewSession();
    ArrangeStepH(app);
    ArrangeStepV(app);
    std::vector<std::string> texts = Texts(app);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "STEP HORIZONTAL only works with first two sessions, passed to TILE HORIZONTAL.");
    EXPECT_EQ(texts[1],
              "TILE HORIZONTAL needs the sessions to run in tmux panes: a terminal window can not be placed "
              "from inside a terminal.");
    EXPECT_EQ(texts[2], "STEP VERTICAL only works with first two sessions, passed to TILE VERTICAL");
    EXPECT_EQ(texts[3],
              "TILE VERTICAL needs the sessions to run in tmux panes: a terminal window can not be placed "
              "from inside a terminal.");
}

TEST_F(Arrange, SplitOutsideTwoSessionsStartsAnotherOne) {
    AppSession& app = NewSession();
    SplitHorizontal(app);
    std::vector<std::string> texts = Texts(app);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0],
              "SPLITH only works with first two sessions, passing to SPLITF.\n\nSee menu WINDOW for other "
              "available window topology and access options.");
    // A batch instance has nowhere to show another one.
    EXPECT_EQ(texts[1], "Unable to start new Tavo session.");
    EXPECT_EQ(app.messages[1].beep, Beep::Error);

    app.messages.clear();
    SplitVertical(app);
    texts = Texts(app);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0],
              "SPLITV only works with first two sessions, passing to SPLITF.\n\nSee menu WINDOW for window "
              "topology and access options.");

    // With exactly two sessions SPLITH arranges them instead of starting a third.
    NewSession();
    app.messages.clear();
    SplitHorizontal(app);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text,
              "STEP HORIZONTAL needs the sessions to run in tmux panes: a terminal window can not be placed "
              "from inside a terminal.");
}

TEST(LaunchInstance, NeedsTmuxAndAProgram) {
    AppSession app;
    app.batchMode = true;
    Instance(app).programPath = "/bin/true";
    EXPECT_EQ(LaunchInstance(app, {"x.txt"}, LaunchPlace::NewWindow), -1);
    EXPECT_TRUE(app.messages.empty());  // the caller words the failure
}

}  // namespace
