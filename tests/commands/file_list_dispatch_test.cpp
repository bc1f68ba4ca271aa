// The file list dispatcher and the table lookup with aliases.

#include "core/var_store.h"
#include "dispatch_fixture.h"

using FileListDispatch = DispatchTest;

TEST_F(FileListDispatch, RunsEachSubCommandWithItsParameters) {
    RecordFileList(FileListCmd::Select, "SELECT");
    RecordFileList(FileListCmd::Find, "FIND");
    RecordFileList(FileListCmd::Top, "TOP");
    RunFileListCommand(app, "s *.cbl;sel;find abc ;  top");
    EXPECT_EQ(calls,
              (std::vector<std::string>{"list SELECT *.cbl", "list SELECT ", "list FIND abc ", "list TOP "}));
    RunFileListCommand(app, "refresh");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"'REFRESH' is not available yet."}));
}

TEST_F(FileListDispatch, UnknownVerbHandsTheRestOfTheLineToTheGeneralDispatcher) {
    RecordFileList(FileListCmd::Top, "TOP");
    RecordFileList(FileListCmd::Bottom, "BOTTOM");
    RunFileListCommand(app, "top;edit /a/b.c;bottom");
    // TOP ran once; EDIT took the rest of the line as its parameter text.
    EXPECT_EQ(calls, (std::vector<std::string>{"list TOP ", "editFile /a/b.c;bottom"}));
}

TEST_F(FileListDispatch, UseZmultVarsReachesTheHandlerUnchanged) {
    RecordFileList(FileListCmd::Search, "SEARCH");
    RunGeneralCommand(app, "PCMDFILELIST SEARCH USE_ZMULT_VARS");
    EXPECT_EQ(calls, (std::vector<std::string>{"list SEARCH USE_ZMULT_VARS"}));
}

TEST_F(FileListDispatch, AnAliasWorksInEveryTable) {
    app.aliases.push_back({"F", "FIND"});
    RecordFileList(FileListCmd::Find, "FIND");
    RunFileListCommand(app, "f x");
    OpenSession();
    RecordEdit(EditCmd::Find, "FIND");
    RunEditCommand(app, "f y");
    EXPECT_EQ(calls, (std::vector<std::string>{"list FIND x", "FIND y"}));
    EXPECT_EQ(LookupPrimaryCommand(app, GeneralPrimaryCommands, "F"), -1);  // no FIND there
    EXPECT_TRUE(IsPrimaryCommand(app, "F"));
}

TEST(PrimaryCommandLookup, AliasThenExactRowMatch) {
    AppSession app;
    EXPECT_EQ(LookupPrimaryCommand(app, EditPrimaryCommands, "FIND"), static_cast<int>(EditCmd::Find));
    EXPECT_EQ(LookupPrimaryCommand(app, EditPrimaryCommands, "find"), -1);  // rows compare exactly
    EXPECT_EQ(LookupPrimaryCommand(app, EditPrimaryCommands, "FIN"), -1);   // no abbreviations
    EXPECT_EQ(LookupPrimaryCommand(app, FileListPrimaryCommands, "MAKEDIR"), 11);

    app.aliases.push_back({"f", "FIND"});
    app.aliases.push_back({"L", "LOCATE"});
    app.aliases.push_back({"L", "FIND"});  // the first equal alias wins
    app.aliases.push_back({"NOPE", "NOSUCH"});
    EXPECT_EQ(LookupPrimaryCommand(app, EditPrimaryCommands, "f"), static_cast<int>(EditCmd::Find));
    EXPECT_EQ(LookupPrimaryCommand(app, EditPrimaryCommands, "F"), -1);  // aliases are case-sensitive
    EXPECT_EQ(LookupPrimaryCommand(app, EditPrimaryCommands, "L"), static_cast<int>(EditCmd::Locate));
    EXPECT_EQ(LookupPrimaryCommand(app, EditPrimaryCommands, "NOPE"), -1);
    // An alias for a general command is not found in the edit table.
    app.aliases.push_back({"Q", "ABOUT"});
    EXPECT_EQ(LookupPrimaryCommand(app, EditPrimaryCommands, "Q"), -1);
    EXPECT_EQ(LookupPrimaryCommand(app, GeneralPrimaryCommands, "Q"), 0);
}

TEST(PrimaryCommandLookup, VerbsOf32CharactersAreInNoTable) {
    AppSession app;
    std::string verb31(31, 'A');
    std::string verb32(32, 'A');
    app.aliases.push_back({verb31, "FIND"});
    app.aliases.push_back({verb32, "FIND"});
    EXPECT_EQ(LookupPrimaryCommand(app, EditPrimaryCommands, verb31), static_cast<int>(EditCmd::Find));
    EXPECT_EQ(LookupPrimaryCommand(app, EditPrimaryCommands, verb32), -1);
    EXPECT_FALSE(IsPrimaryCommand(app, verb32));
}

TEST(PrimaryCommandLookup, IsPrimaryCommandSearchesAllThreeTables) {
    AppSession app;
    EXPECT_TRUE(IsPrimaryCommand(app, "ABOUT"));
    EXPECT_TRUE(IsPrimaryCommand(app, "XKEYBOARD"));
    EXPECT_TRUE(IsPrimaryCommand(app, "MAXRECLEN"));
    EXPECT_FALSE(IsPrimaryCommand(app, "SEL"));
    EXPECT_FALSE(IsPrimaryCommand(app, ""));
}
