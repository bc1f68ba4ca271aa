#include <gtest/gtest.h>

#include "platform/format.h"
#include "shell/app_session.h"

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

TEST(ShowMessage, UnknownBeepTypeIsReportedFirst) {
    AppSession app;
    ShowMessage(app, "hello", MsgTo::Box, static_cast<Beep>(7));
    ASSERT_EQ(app.messages.size(), 2u);
    EXPECT_EQ(app.messages[0].text, "Next message out had unknown beep type.");
    EXPECT_EQ(app.messages[0].beep, Beep::Error);
    EXPECT_EQ(app.messages[1].text, "hello");
}
