#include "macro/macro_door.h"

#include "core/var_store.h"
#include "dispatch_fixture.h"

using MacroDoor = DispatchTest;

TEST_F(MacroDoor, UnknownVerbRunsTheMacroFoundAlongTheMacroPath) {
    TempDir first;
    TempDir second;
    second.Write("report.c", "");
    VarSetValue(app, "ZPATH.MACROS", first.Path() + ";" + second.Path());
    VarSetValue(app, "ZHOME", "/opt/t");
    RunGeneralCommand(app, "Report  a &zhome&zsemi b");
    ASSERT_EQ(macros.size(), 1u);
    EXPECT_EQ(macros[0].name, "Report");  // as typed: the macro cache is keyed by it
    EXPECT_EQ(macros[0].arguments, "a /opt/t; b");
    EXPECT_EQ(macros[0].sourcePath, second.Path() + "/report.c");
    EXPECT_TRUE(app.messages.empty());
    // No context: nothing to show again.
    EXPECT_EQ(calls, (std::vector<std::string>{"macro Report"}));
}

TEST_F(MacroDoor, CurrentContextIsShownAgainAfterTheMacro) {
    context = CommandContext::Menu;
    VarSetValue(app, "ZPATH.MACROS", "/nonexistent");
    RunGeneralCommand(app, "nosuch");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Unable to read macro NOSUCH.C"}));
    EXPECT_EQ(LastMessage().to, MsgTo::Box);
    EXPECT_EQ(LastMessage().beep, Beep::Error);
    EXPECT_EQ(calls, (std::vector<std::string>{
                         Format("push %d dummy", static_cast<int>(CommandContext::Dummy)), "showTop"}));
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
    RunGeneralCommand(app, "tool");
    ASSERT_EQ(macros.size(), 1u);
    EXPECT_EQ(macros[0].sourcePath, work.Path() + "/TOOL.C");
    EXPECT_EQ(macros[0].workingDirectory, work.Path());
}

TEST_F(MacroDoor, WorkingDirectoryChoiceByContext) {
    VarSetValue(app, "ZDSNPATH", "/edit/dir");
    VarSetValue(app, "ZLAST.COD.PATH", "/cod/dir");
    fileListDirectory = "/list/dir";
    context = CommandContext::FileList;
    EXPECT_EQ(MacroWorkingDirectory(app), "/list/dir");
    context = CommandContext::Menu;  // no edit session current
    EXPECT_EQ(MacroWorkingDirectory(app), "/list/dir");
    VarSetValue(app, "ZCOD", "TRUE");
    EXPECT_EQ(MacroWorkingDirectory(app), "/cod/dir");
    VarSetValue(app, "ZLAST.COD.PATH", "");
    EXPECT_EQ(MacroWorkingDirectory(app), std::filesystem::current_path().string());
}

TEST_F(MacroDoor, LongNamesAndMissingRunnerAreReported) {
    EXPECT_EQ(MacroRun(app, std::string(30, 'm')), -1);  // 32 characters with ".C"
    EXPECT_EQ(LastMessage().text, "Macro source file name too long, " + std::string(30, 'M') + ".C");
    EXPECT_EQ(LastMessage().beep, Beep::Error);

    TempDir dir;
    dir.Write(std::string(29, 'M') + ".C", "");
    VarSetValue(app, "ZPATH.MACROS", dir.Path());
    EXPECT_EQ(MacroRun(app, std::string(29, 'm')), 0);  // 31 characters: accepted
    Dispatch().handlers.runMacro = nullptr;
    EXPECT_EQ(MacroRun(app, std::string(29, 'm')), -1);
    EXPECT_EQ(LastMessage().text, "'" + std::string(29, 'm') + "' is not available yet.");
}

TEST(MacroSourceName, UpperCasedWithExtension) {
    EXPECT_EQ(MacroSourceFileName("myMac"), "MYMAC.C");
}
