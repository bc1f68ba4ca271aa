#include "commands/dispatch_sources.h"

#include "commands/command_history.h"
#include "dispatch_fixture.h"

using FieldEnter = DispatchTest;

TEST_F(FieldEnter, AmpersandCommandRunsStaysInTheFieldAndIsRecordedWithoutIt) {
    OpenSession();
    RecordEdit(EditCmd::Find, "FIND");
    EXPECT_EQ(EditCommandFieldEnter(app, "&find abc"), "&find abc");
    EXPECT_EQ(calls, (std::vector<std::string>{"lineCommands", "FIND abc"}));
    EXPECT_EQ(HistoryEntries(app), (std::vector<std::string>{"find abc"}));
}

TEST_F(FieldEnter, PlainCommandIsClearedAfterPendingLineCommandsRun) {
    OpenSession();
    app.aliases.push_back({"RES", "RESET"});
    RecordEdit(EditCmd::Reset, "RESET");
    EXPECT_EQ(EditCommandFieldEnter(app, "res"), "");
    EXPECT_EQ(EditCommandFieldEnter(app, "RESET"), "");
    EXPECT_EQ(EditCommandFieldEnter(app, "res x"), "");
    EXPECT_EQ(EditCommandFieldEnter(app, "Reset"), "");
    // RESET alone (in either usual spelling) clears line commands instead of running them first.
    EXPECT_EQ(calls, (std::vector<std::string>{"RESET ", "RESET ", "lineCommands", "RESET x", "lineCommands",
                                               "RESET "}));
}

TEST_F(FieldEnter, EmptyFieldRunsLineCommandsAndMovesToTheData) {
    OpenSession();
    EXPECT_EQ(EditCommandFieldEnter(app, "   "), "");
    EXPECT_EQ(calls, (std::vector<std::string>{"lineCommands", "toData"}));
    EXPECT_TRUE(HistoryEntries(app).empty());
}

TEST_F(FieldEnter, FileListFieldSkipsBlanksAndSemicolons) {
    RecordFileList(FileListCmd::Top, "TOP");
    EXPECT_EQ(FileListCommandFieldEnter(app, " ;; "), "");
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(FileListCommandFieldEnter(app, " ; top"), "");
    EXPECT_EQ(calls, (std::vector<std::string>{"list TOP "}));
    EXPECT_EQ(HistoryEntries(app), (std::vector<std::string>{"top"}));
}
