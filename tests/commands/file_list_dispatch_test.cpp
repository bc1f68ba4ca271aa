// The file list dispatcher and the table lookup with aliases.

#include "core/var_store.h"
#include "dispatch_fixture.h"

using namespace tavoe;

using FileListDispatch = DispatchTest;

TEST_F(FileListDispatch, RunsEachSubCommandWithItsParameters) {
    RecordFileList("SELECT");
    RecordFileList("FIND");
    RecordFileList("TOP");
    RunFileListCommand(app, "s *.cbl;sel;find abc ;  top");
    EXPECT_EQ(calls,
              (std::vector<std::string>{"list SELECT *.cbl", "list SELECT ", "list FIND abc ", "list TOP "}));
    RunFileListCommand(app, "refresh;sort size");  // no file list is open: nothing to act on
    EXPECT_TRUE(Texts().empty());
}

TEST_F(FileListDispatch, UnknownVerbHandsTheRestOfTheLineToTheGeneralDispatcher) {
    RecordFileList("TOP");
    RecordFileList("BOTTOM");
    RunFileListCommand(app, "top;edit /a/b.c;bottom");
    // TOP ran once; EDIT took the rest of the line as its parameter text.
    EXPECT_EQ(calls, (std::vector<std::string>{"list TOP ", "editFile /a/b.c;bottom"}));
}

TEST_F(FileListDispatch, UseZmultVarsReachesTheHandlerUnchanged) {
    RecordFileList("SEARCH");
    RunGeneralCommand(app, "PCMDFILELIST SEARCH USE_ZMULT_VARS");
    EXPECT_EQ(calls, (std::vector<std::string>{"list SEARCH USE_ZMULT_VARS"}));
}

TEST_F(FileListDispatch, AnAliasWorksInEveryTable) {
    app.aliases.push_back({"F", "FIND"});
    RecordFileList("FIND");
    RunFileListCommand(app, "f x");
    OpenSession();
    RecordEdit("FIND");
    RunEditCommand(app, "f y");
    EXPECT_EQ(calls, (std::vector<std::string>{"list FIND x", "FIND y"}));
    EXPECT_EQ(LookupPrimaryCommand(app, CommandTable::General, "F"), nullptr);  // no FIND there
    EXPECT_TRUE(IsPrimaryCommand(app, "F"));
}

TEST_F(FileListDispatch, TheFirstEqualAliasWinsAndStaysInItsTable) {
    app.aliases.push_back({"L", "LOCATE"});
    app.aliases.push_back({"L", "FIND"});
    app.aliases.push_back({"NOPE", "NOSUCH"});
    app.aliases.push_back({"Q", "ABOUT"});
    EXPECT_EQ(LookupPrimaryCommand(app, CommandTable::Edit, "L"),
              Commands(app).Find(CommandTable::Edit, "LOCATE"));
    EXPECT_EQ(LookupPrimaryCommand(app, CommandTable::Edit, "NOPE"), nullptr);
    // An alias for a general command is not found in the edit table.
    EXPECT_EQ(LookupPrimaryCommand(app, CommandTable::Edit, "Q"), nullptr);
    EXPECT_EQ(LookupPrimaryCommand(app, CommandTable::General, "Q"),
              Commands(app).Find(CommandTable::General, "ABOUT"));
}
