// The general dispatcher and the general commands it carries itself.

#include "commands/command_history.h"
#include "core/var_store.h"
#include "dispatch_fixture.h"
#include "shell/instances.h"

using namespace tavoe;

using GeneralDispatch = DispatchTest;

TEST_F(GeneralDispatch, LeadingBlanksAndSemicolonsAreSkippedAndTheLineIsNotSplit) {
    RunGeneralCommand(app, " ;; ");
    EXPECT_TRUE(app.messages.empty() && calls.empty());
    RunGeneralCommand(app, " ;backup always;pcmdedit top");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"BACKUP mode must be one of: ALWAYS, NEVER, FILEPROF"}));
}

TEST_F(GeneralDispatch, BackupStoresTheMode) {
    RunGeneralCommand(app, "backup");
    RunGeneralCommand(app, "backup sometimes");
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "BACKUP command requires 1 parameter: P1=[ ALWAYS | NEVER | FILEPROF ]",
                           "BACKUP mode must be one of: ALWAYS, NEVER, FILEPROF"}));
    EXPECT_EQ(LastMessage().beep, Beep::Exclamation);
    RunGeneralCommand(app, "BACKUP fileprof");
    EXPECT_EQ(VarGetValue(app, "ZBACKUP"), "FILEPROF");
    RunGeneralCommand(app, std::string_view("backup never\0 always", 20));  // the line ends at the NUL
    EXPECT_EQ(VarGetValue(app, "ZBACKUP"), "NEVER");
}

TEST_F(GeneralDispatch, BrowseAndEditOpenPlainFilesAtOnce) {
    RunGeneralCommand(app, "browse");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"BROWSE command requires file name."}));
    EXPECT_EQ(LastMessage().beep, Beep::Information);
    RunGeneralCommand(app, "browse /tmp/nothing/Pay.cbl");
    RunGeneralCommand(app, "edit  /tmp/nothing/Pay.cbl ");
    EXPECT_EQ(calls,
              (std::vector<std::string>{"browseFile /tmp/nothing/Pay.cbl", "editFile /tmp/nothing/Pay.cbl"}));
}

TEST_F(GeneralDispatch, EditWithoutNameOpensTheDialogChosenByZcod) {
    VarSetValue(app, "ZBROWSE", "TRUE");
    RunGeneralCommand(app, "edit");
    VarSetValue(app, "ZCOD", "TRUE");
    RunGeneralCommand(app, "edit");
    EXPECT_EQ(calls, (std::vector<std::string>{
                         Format("openDialog %d", static_cast<int>(OpenDialogKind::DirectoriesAndFiles)),
                         Format("openDialog %d", static_cast<int>(OpenDialogKind::Common))}));
    EXPECT_EQ(VarGetValue(app, "ZBROWSE"), "FALSE");
}

TEST_F(GeneralDispatch, PatternsAndDirectoriesGoThroughOpen) {
    TempDir dir;
    RunGeneralCommand(app, "browse " + dir.Path());
    EXPECT_EQ(VarGetValue(app, "ZBROWSE"), "TRUE");
    EXPECT_EQ(VarGetValue(app, "ZFLIST.PATH.1"), dir.Path());
    EXPECT_EQ(VarGetValue(app, "ZFLIST.TYPE"), "*.*");
    RunGeneralCommand(app, "edit /src/x/*.cbl");
    EXPECT_EQ(VarGetValue(app, "ZBROWSE"), "FALSE");
    EXPECT_EQ(VarGetValue(app, "ZFLIST.PATH.1"), "/src/x");
    EXPECT_EQ(VarGetValue(app, "ZFLIST.TYPE"), "*.cbl");
    EXPECT_EQ(Posted(), (std::vector<std::string>{"FILELIST NEW", "FILELIST NEW"}));
    EXPECT_TRUE(calls.empty());
}

TEST_F(GeneralDispatch, OpenSplitsDirectoryAndPattern) {
    VarSetValue(app, "ZFLIST.PATH.2", "/old");
    RunGeneralCommand(app, "open /data/pay?.cbl");
    EXPECT_EQ(VarGetValue(app, "ZFLIST.PATH.1"), "/data");
    EXPECT_EQ(VarGetValue(app, "ZFLIST.PATH.2"), "");
    EXPECT_EQ(VarGetValue(app, "ZFLIST.TYPE"), "pay?.cbl");
    RunGeneralCommand(app, "open /x.c");
    EXPECT_EQ(VarGetValue(app, "ZFLIST.PATH.1"), "/");
    RunGeneralCommand(app, "open *.jcl");
    EXPECT_EQ(VarGetValue(app, "ZFLIST.PATH.1"), std::filesystem::current_path().string());
    EXPECT_EQ(VarGetValue(app, "ZFLIST.TYPE"), "*.jcl");
    EXPECT_EQ(Posted().size(), 3u);

    RunGeneralCommand(app, "open /no/such/dir/");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"OPEN parameter must specify directory or path+filename."}));
    EXPECT_EQ(LastMessage().beep, Beep::Exclamation);
    EXPECT_EQ(Posted().size(), 3u);
}

TEST_F(GeneralDispatch, OpenWithCommonDialogSetsItsVariables) {
    VarSetValue(app, "ZCOD", "TRUE");
    RunGeneralCommand(app, "open /data/*.cbl");
    EXPECT_EQ(VarGetValue(app, "ZLAST.COD.PATH"), "/data");
    EXPECT_EQ(VarGetValue(app, "ZLAST.COD.NAME"), "*.cbl");
    EXPECT_TRUE(Posted().empty());
    RunGeneralCommand(app, "open");
    EXPECT_EQ(calls, (std::vector<std::string>(
                         2, Format("openDialog %d", static_cast<int>(OpenDialogKind::Common)))));
}

TEST_F(GeneralDispatch, SessionCooperationIsCheckedFirst) {
    RunGeneralCommand(app, "splitf");
    RunGeneralCommand(app, "wintileh");
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{
                  "Command 'SPLITF' is not operative when Session Cooperation is OFF.\n\nClick on menu "
                  "OPTIONS, item GENERAL to set Session Cooperation.",
                  "Command 'WINTILEH' is not operative when Session Cooperation is OFF.\n\nClick on "
                  "menu OPTIONS, item GENERAL to set Session Cooperation."}));
    app.messages.clear();
    app.sessionCooperation = true;
    RecordGeneral("SPLITF");
    RunGeneralCommand(app, "splitf");
    RunGeneralCommand(app, "swap");
    EXPECT_EQ(calls, (std::vector<std::string>{"SPLITF "}));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"No other sessions."}));
    EXPECT_EQ(LastMessage().beep, Beep::Information);
}

TEST_F(GeneralDispatch, PfShowToggles) {
    RunGeneralCommand(app, "pfshow");
    EXPECT_EQ(VarGetValue(app, "ZPFSHOW"), "TRUE");
    RunGeneralCommand(app, "pfshow");
    EXPECT_EQ(VarGetValue(app, "ZPFSHOW"), "FALSE");
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{"Graphical PF keys are now ON, they are only visible in Edit/Browse.",
                                        "Graphical PF keys are now OFF."}));
}

TEST_F(GeneralDispatch, RetrieveWalksTheHistoryIntoTheCommandField) {
    RunGeneralCommand(app, "retrieve");
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{"No primary command field in current context, can not RETRIEVE."}));
    recorder->field = "";
    HistoryAdd(app, "find a");
    HistoryAdd(app, "find b");
    RunGeneralCommand(app, "retrieve");
    RunGeneralCommand(app, "retrieve");
    RunGeneralCommand(app, "retrieve back");
    // BACK walks forward from the cursor, which wrapped past the oldest command: to "find a" again
    // (a further backward walk would have given "find b").
    EXPECT_EQ(calls, (std::vector<std::string>{"field 'find b' focus", "field 'find a' focus",
                                               "field 'find a' focus"}));
}

TEST_F(GeneralDispatch, FunctionRunsTheLegacyOptions) {
    RunGeneralCommand(app, "function legacy_opt_1");
    EXPECT_EQ(VarGetValue(app, "ZBROWSE"), "TRUE");
    RunGeneralCommand(app, "function LEGACY_OPT_3A");
    EXPECT_EQ(VarGetValue(app, "ZBROWSE"), "FALSE");
    RunGeneralCommand(app, "function LEGACY_OPT_3C");
    RunGeneralCommand(app, "function NOSUCH");
    RunGeneralCommand(app, "function LEGACY_OPT_33");
    EXPECT_EQ(calls, (std::vector<std::string>{
                         Format("openDialog %d", static_cast<int>(OpenDialogKind::DirectoriesAndFiles)),
                         Format("openDialog %d", static_cast<int>(OpenDialogKind::DirectoriesOnly)),
                         "dialog MULTOPEN"}));
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_NE(LastMessage().text.find("option 3.4"), std::string::npos);
}

TEST_F(GeneralDispatch, FileListIgnoresUnknownActions) {
    RunGeneralCommand(app, "filelist bogus");
    EXPECT_TRUE(app.messages.empty());
    RunGeneralCommand(app, "filelist new");  // no ZFLIST.PATH.1 .. .4: nothing to list
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Path must be in form: /..."}));
    RecordGeneral("FILELIST");
    RunGeneralCommand(app, "filelist resize");
    EXPECT_EQ(calls, (std::vector<std::string>{"FILELIST resize"}));
}

TEST_F(GeneralDispatch, EndLeavesTheCurrentContext) {
    RunGeneralCommand(app, "end");  // nothing current
    PushContext(app, ContextKind::Dialog, "FIND");
    RunGeneralCommand(app, "end");
    PushContext(app, ContextKind::Menu, "MODERN");
    RunGeneralCommand(app, "end");
    PushContext(app, ContextKind::FileList, "list");
    RunGeneralCommand(app, "end");
    OpenSession();
    RunGeneralCommand(app, "end");
    EXPECT_EQ(calls, (std::vector<std::string>{"showTop", "closeFileList", "endSession"}));
}

TEST_F(GeneralDispatch, MenuAndDialogGoToTheDialogs) {
    RunGeneralCommand(app, "menu end");  // no menu current: nothing to leave
    PushContext(app, ContextKind::Menu, "MODERN");
    RunGeneralCommand(app, "menu end");
    RunGeneralCommand(app, "menu pan0");
    RunGeneralCommand(app, "dialog keys");
    EXPECT_EQ(calls, (std::vector<std::string>{"menu END", "menu END", "menu PAN0", "dialog KEYS"}));
}

TEST_F(GeneralDispatch, ExitReturnAndPcmdCommands) {
    RunGeneralCommand(app, "exit");
    EXPECT_TRUE(Instance(app).closeRequested);

    VarSetValue(app, "ZMENUSTYLE", "Legacy Tavo");
    RunGeneralCommand(app, "return");
    VarSetValue(app, "ZMENUSTYLE", "Windows GUI");
    RunGeneralCommand(app, "return");
    EXPECT_EQ(calls, (std::vector<std::string>{"closeAll", "menu LEGACY", "closeAll"}));

    calls.clear();
    OpenSession();
    RecordEdit("TOP");
    RecordFileList("REFRESH");
    RunGeneralCommand(app, "pcmdedit top;top");
    RunGeneralCommand(app, "PCMDFILELIST refresh");
    EXPECT_EQ(calls, (std::vector<std::string>{"TOP ", "TOP ", "list REFRESH "}));
}

TEST_F(GeneralDispatch, DefaultsAsksAndQueuesExitOnlyWhenRestored) {
    RunGeneralCommand(app, "defaults");
    EXPECT_EQ(calls, (std::vector<std::string>{"ask"}));
    EXPECT_TRUE(Posted().empty());
    TempDir home;  // no profile file there: restoring has nothing to delete
    app.homeDirectory = home.Path();
    recorder->confirmAnswer = true;
    RunGeneralCommand(app, "defaults");
    EXPECT_EQ(Posted(), (std::vector<std::string>{"EXIT"}));
}

TEST_F(GeneralDispatch, AliasedFileListCommandsOpenTheirDialogs) {
    app.aliases.push_back({"DRIVES", "DRIVELIST"});
    RunGeneralCommand(app, "drives");
    RunGeneralCommand(app, "filters");
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(Posted(), (std::vector<std::string>{"DIALOG DRIVLIST", "DIALOG FILTERS"}));
}
