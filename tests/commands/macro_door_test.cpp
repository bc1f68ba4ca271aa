#include "macro/macro_door.h"

#include "core/var_store.h"
#include "dispatch_fixture.h"

using namespace tavoe;

using MacroDoor = DispatchTest;

TEST_F(MacroDoor, UnknownVerbRunsTheMacroFoundAlongTheMacroPath) {
    TempDir first;
    TempDir second;
    second.Write("report.c", "");
    VarSetValue(app, "ZPATH.MACROS", first.Path() + ";" + second.Path());
    VarSetValue(app, "ZHOME", "/opt/t");
    std::optional<MacroLaunch> launch = PrepareMacroLaunch(app, "Report  a &zhome&zsemi b");
    ASSERT_TRUE(launch.has_value());
    EXPECT_EQ(launch->name, "Report");  // as typed: the macro cache is keyed by it
    EXPECT_EQ(launch->arguments, "a /opt/t; b");
    EXPECT_EQ(launch->sourcePath, second.Path() + "/report.c");
    EXPECT_TRUE(app.messages.empty());
    // Run from the dispatcher with no context: nothing to show again.
    RunGeneralCommand(app, "Report  a &zhome&zsemi b");
    EXPECT_TRUE(calls.empty());
}

TEST_F(MacroDoor, CurrentContextIsShownAgainAfterTheMacro) {
    PushContext(app, ContextKind::Menu, "MODERN");
    VarSetValue(app, "ZPATH.MACROS", "/nonexistent");
    RunGeneralCommand(app, "nosuch");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Unable to read macro NOSUCH.C"}));
    EXPECT_EQ(LastMessage().to, MsgTo::Box);
    EXPECT_EQ(LastMessage().beep, Beep::Error);
    EXPECT_EQ(calls, (std::vector<std::string>{"showTop"}));  // the dummy frame pushed is popped
    EXPECT_TRUE(TopContextIs(app, ContextKind::Menu, "MODERN"));
}

TEST_F(MacroDoor, WorkingDirectoryComesBeforeTheMacroPath) {
    TempDir work;
    TempDir path;
    work.Write("TOOL.C", "");
    path.Write("TOOL.C", "");
    VarSetValue(app, "ZPATH.MACROS", path.Path());
    VarSetValue(app, "ZDSNPATH", work.Path());
    OpenSession();
    EXPECT_EQ(MacroWorkingDirectory(app), work.Path());
    std::optional<MacroLaunch> launch = PrepareMacroLaunch(app, "tool");
    ASSERT_TRUE(launch.has_value());
    EXPECT_EQ(launch->sourcePath, work.Path() + "/TOOL.C");
    EXPECT_EQ(launch->workingDirectory, work.Path());
}

TEST_F(MacroDoor, WorkingDirectoryChoiceByContext) {
    VarSetValue(app, "ZDSNPATH", "/edit/dir");
    VarSetValue(app, "ZLAST.COD.PATH", "/cod/dir");
    recorder->fileListDirectory = "/list/dir";
    PushContext(app, ContextKind::FileList, "list");
    EXPECT_EQ(MacroWorkingDirectory(app), "/list/dir");
    PushContext(app, ContextKind::Menu, "MODERN");  // no edit session current
    EXPECT_EQ(MacroWorkingDirectory(app), "/list/dir");
    VarSetValue(app, "ZCOD", "TRUE");
    EXPECT_EQ(MacroWorkingDirectory(app), "/cod/dir");
    VarSetValue(app, "ZLAST.COD.PATH", "");
    EXPECT_EQ(MacroWorkingDirectory(app), std::filesystem::current_path().string());
}

TEST_F(MacroDoor, LongNamesAreReported) {
    EXPECT_EQ(MacroRun(app, std::string(30, 'm')), -1);  // 32 characters with ".C"
    EXPECT_EQ(LastMessage().text, "Macro source file name too long, " + std::string(30, 'M') + ".C");
    EXPECT_EQ(LastMessage().beep, Beep::Error);

    TempDir dir;
    dir.Write(std::string(29, 'M') + ".C", "");
    VarSetValue(app, "ZPATH.MACROS", dir.Path());
    EXPECT_TRUE(PrepareMacroLaunch(app, std::string(29, 'm')).has_value());  // 31 characters: accepted
}

TEST(MacroSourceName, UpperCasedWithExtension) {
    EXPECT_EQ(MacroSourceFileName("myMac"), "MYMAC.C");
}
