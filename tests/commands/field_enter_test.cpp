#include "commands/dispatch_sources.h"

#include "commands/command_history.h"
#include "dispatch_fixture.h"

using namespace tavoe;

using FieldEnter = DispatchTest;

TEST_F(FieldEnter, AmpersandCommandRunsStaysInTheFieldAndIsRecordedWithoutIt) {
    OpenSession();
    RecordEdit("FIND");
    EXPECT_EQ(EditCommandFieldEnter(app, "&find abc"), "&find abc");
    EXPECT_EQ(calls, (std::vector<std::string>{"FIND abc"}));
    EXPECT_EQ(HistoryEntries(app), (std::vector<std::string>{"find abc"}));
}

TEST_F(FieldEnter, PlainCommandIsCleared) {
    OpenSession();
    app.aliases.push_back({"RES", "RESET"});
    RecordEdit("RESET");
    EXPECT_EQ(EditCommandFieldEnter(app, "res"), "");
    EXPECT_EQ(EditCommandFieldEnter(app, "RESET"), "");
    EXPECT_EQ(EditCommandFieldEnter(app, "res x"), "");
    EXPECT_EQ(EditCommandFieldEnter(app, "Reset"), "");
    EXPECT_EQ(calls, (std::vector<std::string>{"RESET ", "RESET ", "RESET x", "RESET "}));
}

TEST_F(FieldEnter, EmptyFieldRunsLineCommandsAndMovesToTheData) {
    OpenSession();
    EXPECT_EQ(EditCommandFieldEnter(app, "   "), "");
    EXPECT_EQ(session->view.focus, KeyField::Data);
    EXPECT_TRUE(HistoryEntries(app).empty());
}

TEST_F(FieldEnter, FileListFieldSkipsBlanksAndSemicolons) {
    RecordFileList("TOP");
    EXPECT_EQ(FileListCommandFieldEnter(app, " ;; "), "");
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(FileListCommandFieldEnter(app, " ; top"), "");
    EXPECT_EQ(calls, (std::vector<std::string>{"list TOP "}));
    EXPECT_EQ(HistoryEntries(app), (std::vector<std::string>{"top"}));
}
