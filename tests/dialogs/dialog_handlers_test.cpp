#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>

#include "dialog_run_util.h"
#include "dialogs/dialog_table.h"
#include "dialogs/menu_runtime.h"
#include "support/scripted_shell_port.h"

using namespace tavoe;

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Runs the shipped dialogs through their handlers. Posted commands run through a small stand-in
// for the general command processor that knows DIALOG and MENU and records everything else.
class DialogHandlers : public DialogRunFixture {
protected:
    void SetUp() override {
        DialogRunFixture::SetUp();
        VarSetValue(app, "ZPATH.DIALOGS", std::string(TAVOE_SOURCE_DIR) + "/data/dialogs");
        VarSetValue(app, "ZPATH.MENUS", std::string(TAVOE_SOURCE_DIR) + "/data/menus");
        ScriptedShellPort::Install(app).run = [this](AppSession& session, std::string_view command) {
            // Verbs and the dialog or menu name are upper-cased, as the general processor does.
            std::string text(command);
            std::string upper = text;
            for (char& c : upper) {
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
            if (upper.rfind("DIALOG ", 0) == 0) {
                text = upper;
                RunBuiltInDialog(session, text.substr(7));
            } else if (upper.rfind("MENU ", 0) == 0) {
                text = upper;
                ShowMenu(session, text.substr(5));
            } else {
                others.push_back(text);
            }
        };
    }

    // Runs the command and everything it posts.
    void Run(const std::string& command) {
        PostCommand(app, command);
        for (int guard = 0; guard < 100 && !app.commandQueue.empty(); ++guard) {
            RunPostedCommands(app);
        }
    }

    std::vector<std::string> others;
};

}  // namespace

TEST_F(DialogHandlers, TableHasEveryName) {
    EXPECT_EQ(BuiltInDialogs().size(), 76u);
    EXPECT_NE(FindBuiltInDialog("keysbase"), nullptr);
    EXPECT_FALSE(RunBuiltInDialog(app, "NOSUCH"));
}

TEST_F(DialogHandlers, DialogOfALaterSubsystemSaysSo) {
    Script("");
    // This instance has no file list to handle the drive list: the dialog shows, and its commit
    // says so.
    Script("!keys <Enter>\n");
    Run("DIALOG DRIVLIST");
    EXPECT_THAT(Texts(), ElementsAre("'Drive list' is not available yet."));

    // LOCATE and FIND run the command they build, which wants an edit session.
    app.messages.clear();
    Script("abc\n");
    Run("DIALOG LOCATE");
    EXPECT_THAT(Texts(), ElementsAre("Not in file EDIT, command ignored."));

    // FIND runs the command it builds, which wants an edit session.
    app.messages.clear();
    Script("abc\n");
    Run("DIALOG FIND");
    EXPECT_THAT(Texts(), ElementsAre("Not in file EDIT, command ignored."));
    EXPECT_EQ(Var("Find.FindStr"), "abc");
    EXPECT_EQ(Var("Find.Scope.2"), "LAST");
}

TEST_F(DialogHandlers, GeneralOptionsStoreTheSettingsAndWriteTheProfile) {
    app.homeDirectory = root.string();
    app.profileLoaded = true;
    VarSetValue(app, "ZMSGSOUNDS", "TRUE");
    VarSetPersist(app, "ZMSGSOUNDS", 1);
    VarSetValue(app, "ZBACKUP", "FILEPROF");
    Script("!keys <Space><Enter>\n");
    Run("DIALOG GENOPT");
    EXPECT_EQ(Var("ZMSGSOUNDS"), "FALSE");
    EXPECT_EQ(Var("ZBACKUP"), "FILEPROF");
    std::ifstream profile(root / "profiles" / "TAVOE.PRF");
    std::stringstream text;
    text << profile.rdbuf();
    EXPECT_THAT(text.str(), HasSubstr("ZMSGSOUNDS,FALSE\n"));
    EXPECT_TRUE(app.contexts.empty());
}

TEST_F(DialogHandlers, CommandAliasIsAddedAfterEachRefusalAndDeleted) {
    Script(
        "!keys n\n"           // New, typed in the list
        "!keys 1-2<Enter>\n"  // alias with a dash
        "!keys n\n"
        "!keys SAVE<Enter>\n"  // already a command
        "!keys n\n"
        "!keys QQ<Enter>\n"  // no actual
        "!keys n\n"
        "!keys QQ<Tab>FIND X<Enter>\n"
        "!keys n\n"
        "!keys QQ<Tab>NOPE<Enter>\n"
        "!keys n\n"
        "!keys QQ<Tab>find<Enter>\n"
        "!keys d\n"  // delete without a selection
        "!keys <Down>d\n"
        "!keys <F3>\n");
    Run("DIALOG ALIASCMD");
    EXPECT_THAT(
        Texts(),
        ElementsAre("Alias must be verb using A..Z, 0..9 characters only.",
                    "'SAVE' is already an Tavo primary command or alias.\n\nIf alias, delete current entry "
                    "then re-assign.\n\nIf Tavo primary command, pick a different name.",
                    "Actual field not specified, CHANGE ignored.",
                    "'Actual' field may contain only primary command name, no parms allowed",
                    "'NOPE' is not an Tavo primary command.", "Must select entry to delete."));
    EXPECT_TRUE(app.aliases.empty());
    EXPECT_EQ(Var("AliasCmd.List.1"), "QQ              FIND");
    EXPECT_TRUE(app.contexts.empty());
}

TEST_F(DialogHandlers, KeysBaseStoresTheMappingAndLabel) {
    Script("!keys <Tab><Tab><Tab><Tab><Tab><Tab><Tab><Tab>DOWN 5<Tab>Dn5<Enter>\n");
    Run("DIALOG KEYSBASE");
    EXPECT_EQ(Var("ZF05.BASE"), "DOWN 5");
    EXPECT_EQ(Var("ZF05.BASE.LABEL"), "Dn5");
    EXPECT_NE(VarFind(app, "ZF05.BASE")->persist, 0);
}

TEST_F(DialogHandlers, KeysChooserOpensTheGroupAndComesBack) {
    Script(
        "!keys <Down><Down><Down><Down><Down><Tab><Tab><Tab><Tab><Tab><Enter>\n"  // Right Ctrl
        "!keys <Space><Enter>\n"
        "!keys <F3>\n");
    Run("DIALOG KEYS");
    EXPECT_EQ(Var("ZRIGHTCTRL"), "TRUE");
    EXPECT_TRUE(app.rightCtrlIsEnter);
    EXPECT_TRUE(app.contexts.empty());
}

// The keys that select row `index` of a list that has no selection yet.
std::string SelectRow(int index) {
    std::string keys = index == 0 ? "<Down><Up>" : "";
    for (int i = 0; i < index; ++i) {
        keys += "<Down>";
    }
    return keys;
}

int RowOf(AppSession& app, const std::string& list, const std::string& prefix) {
    for (int i = 1; i <= VarGetNumber(app, list + ".0"); ++i) {
        if (VarGetValue(app, list + "." + std::to_string(i)).rfind(prefix, 0) == 0) {
            return i - 1;
        }
    }
    return -1;
}

TEST_F(DialogHandlers, VarsEditsAndDeletesAVariable) {
    VarSetValue(app, "ZALPHA", "one");
    VarSetValue(app, "ZBETA", "two");
    Script("!keys <F3>\n");
    Run("DIALOG VARS");
    int alpha = RowOf(app, "Vars.List", "ZALPHA ");
    int beta = RowOf(app, "Vars.List", "ZBETA ");
    ASSERT_GE(alpha, 0);
    EXPECT_THAT(Var("Vars.List." + std::to_string(alpha + 1)), HasSubstr("   NO    one"));
    Script("!keys " + SelectRow(alpha) + "e\n" +  // Edit
           "!keys changed<Enter>\n" +             // in VARS2
           "!keys " + SelectRow(beta) + "d\n" +   // Delete
           "!keys f\n"                            // Find without a name
           "\n"
           "!keys <F3>\n");
    Run("DIALOG VARS");
    EXPECT_EQ(Var("ZALPHA"), "changed");
    EXPECT_EQ(Var("ZBETA"), "");
    EXPECT_THAT(Texts(), ElementsAre("FIND requires variable name."));
}

TEST_F(DialogHandlers, EditorOptionsSheetStoresChangedRows) {
    VarSetValue(app, "ZSHIFT", "2");
    VarSetValue(app, "ZUNDO", "TRUE");
    // Row 20 is DefaultColShiftAmount.
    Script("!keys " + SelectRow(19) + "<Enter>\n5\n!keys <Tab><Tab><Enter>\n");
    Run("DIALOG EDOPTGEN");
    EXPECT_EQ(Var("ZSHIFT"), "5");
    EXPECT_EQ(Var("ZUNDO"), "TRUE");
    EXPECT_EQ(Var("ZPROPSHEETTITLE"), "Editor Options (Enter or double-click edits an item)");
    EXPECT_TRUE(app.contexts.empty());
}

TEST_F(DialogHandlers, LegacyMenuReachesItsPanels) {
    VarSetValue(app, "ZMENUSTYLE", "Legacy Tavo");
    Script("0\n!keys <F3>\n");
    VarSetValue(app, "ZF03.BASE", "End");
    Run("MENU LEGACY");
    ASSERT_GE(app.contexts.size(), 2u);
    EXPECT_EQ(app.contexts[1].name, "PAN0");
    EXPECT_THAT(others, ElementsAre("End"));
}
