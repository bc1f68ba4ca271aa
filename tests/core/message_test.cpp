#include <gtest/gtest.h>

#include "core/app_session.h"
#include "core/var_store.h"
#include "platform/format.h"

using namespace tavoe;

TEST(Format, FormatsLikePrintfAndHandlesLongText) {
    EXPECT_EQ(Format("Found %d occurrences of '%s'", 3, "abc"), "Found 3 occurrences of 'abc'");
    std::string long_text(5000, 'x');
    EXPECT_EQ(Format("%s!", long_text.c_str()).size(), 5001u);
    EXPECT_EQ(Format("%s", ""), "");
}

TEST(ShowMessage, LineNeedsEditSessionAndRoom) {
    AppSession app;
    ShowMessage(app, "no session", MsgTo::Line, Beep::None);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].to, MsgTo::Box);

    app.hasCurrentEditSession = true;
    app.messageCapacity = 10;
    ShowMessage(app, "123456789", MsgTo::Line, Beep::None);  // 9 + 1 fits exactly
    ShowMessage(app, "1234567890", MsgTo::Line, Beep::None);
    EXPECT_EQ(app.messages[1].to, MsgTo::Line);
    EXPECT_TRUE(app.messageShown);
    EXPECT_EQ(app.messages[2].to, MsgTo::Box);
}

// A file being opened reports before its session is current: its line messages wait and then land on
// the line; several go together into one box; a failed open shows them in a box as before.
TEST(ShowMessage, LineMessagesOfAnOpeningFileWaitForItsSession) {
    AppSession app;
    app.holdLineMessages = true;
    ShowMessage(app, "caps set", MsgTo::Line, Beep::Information);
    ShowMessage(app, "a real error", MsgTo::Box, Beep::Error);
    ASSERT_EQ(app.messages.size(), 1u);  // the box is not held
    app.hasCurrentEditSession = true;
    ReleaseHeldLineMessages(app);
    ASSERT_EQ(app.messages.size(), 2u);
    EXPECT_EQ(app.messages[1].text, "caps set");
    EXPECT_EQ(app.messages[1].to, MsgTo::Line);
    EXPECT_FALSE(app.holdLineMessages);

    app.holdLineMessages = true;
    app.hasCurrentEditSession = false;
    ShowMessage(app, "first", MsgTo::Line, Beep::Information);
    ShowMessage(app, "second", MsgTo::Line, Beep::Exclamation);
    app.hasCurrentEditSession = true;
    ReleaseHeldLineMessages(app);
    ASSERT_EQ(app.messages.size(), 3u);
    EXPECT_EQ(app.messages[2].text, "first\nsecond");
    EXPECT_EQ(app.messages[2].to, MsgTo::Box);
    EXPECT_EQ(app.messages[2].beep, Beep::Exclamation);
}

TEST(ShowMessage, UnknownBeepTypeIsReportedFirst) {
    AppSession app;
    ShowMessage(app, "hello", MsgTo::Box, static_cast<Beep>(7));
    ASSERT_EQ(app.messages.size(), 2u);
    EXPECT_EQ(app.messages[0].text, "Next message out had unknown beep type.");
    EXPECT_EQ(app.messages[0].beep, Beep::Error);
    EXPECT_EQ(app.messages[1].text, "hello");
}

namespace {

// Records what reaches the window system.
class RecordingSink : public MessageSink {
public:
    void ShowLine(const std::string& text) override { lines.push_back(text); }
    void ShowBox(const std::string& text, Beep) override { boxes.push_back(text); }
    void Sound(Beep beep) override { sounds.push_back(beep); }
    std::vector<std::string> lines;
    std::vector<std::string> boxes;
    std::vector<Beep> sounds;
};

}  // namespace

TEST(ShowMessage, BeepsOnlyWhenMsgSoundsIsExactlyTrue) {
    AppSession app;
    RecordingSink sink;
    app.messageSink = &sink;
    ShowMessage(app, "unset", MsgTo::Box, Beep::Exclamation);
    EXPECT_TRUE(sink.sounds.empty());
    EXPECT_EQ(app.messages[0].beep, Beep::Exclamation);  // the type is kept even when silent
    EXPECT_EQ(app.varStore, nullptr);                    // reading the switch creates nothing

    VarSetValue(app, "ZMSGSOUNDS", "true");
    ShowMessage(app, "lower case", MsgTo::Box, Beep::Error);
    EXPECT_TRUE(sink.sounds.empty());

    VarSetValue(app, "ZMSGSOUNDS", "TRUE");
    ShowMessage(app, "on", MsgTo::Box, Beep::Question);
    ShowMessage(app, "no beep", MsgTo::Box, Beep::None);
    ShowMessage(app, "odd", MsgTo::Box, static_cast<Beep>(9));
    EXPECT_EQ(sink.sounds, (std::vector<Beep>{Beep::Question, Beep::Error}));
    EXPECT_EQ(sink.boxes.back(), "odd");

    VarSetValue(app, "ZMSGSOUNDS", "FALSE");
    ShowMessage(app, "off", MsgTo::Box, Beep::Information);
    EXPECT_EQ(sink.sounds.size(), 2u);
}
