// Which topic a name and a context lead to, over the shipped help files: the same name means
// different things in an edit session, a file list and a dialog.
#include <gtest/gtest.h>

#include "core/app_session.h"
#include "core/var_store.h"
#include "dialogs/help_topic.h"

using namespace tavoe;

namespace {

class HelpLookup : public ::testing::Test {
protected:
    void SetUp() override { VarSetValue(app, "ZPATH.HELP", std::string(TAVOE_SOURCE_DIR) + "/data/help"); }

    std::string FileFor(std::string_view name, ContextKind kind) {
        std::optional<HelpPlace> place = FindHelp(app, name, kind);
        return place ? place->file : "(none)";
    }

    AppSession app;
};

}  // namespace

TEST_F(HelpLookup, EachContextLooksInItsOwnCommandsFirst) {
    // D: the edit line command in an edit session, the file list line command in a file list.
    EXPECT_EQ(FileFor("D", ContextKind::Task), "help_elcmd.txt");
    EXPECT_EQ(FileFor("d", ContextKind::FileList), "help_flcmd.txt");
    // FIND: the edit command, the file list command, or the FIND dialog.
    EXPECT_EQ(FileFor("FIND", ContextKind::Task), "help_epcmd.txt");
    EXPECT_EQ(FileFor("FIND", ContextKind::FileList), "help_fpcmd.txt");
    EXPECT_EQ(FileFor("FIND", ContextKind::Dialog), "help_dialogs.txt");
    // TABS: the edit command before the line command of the same name.
    EXPECT_EQ(FileFor("TABS", ContextKind::Task), "help_epcmd.txt");
    EXPECT_EQ(FileFor("TAB", ContextKind::Task), "help_elcmd.txt");
    // Outside any context the general commands come first; other books still answer.
    EXPECT_EQ(FileFor("PROFILES", ContextKind::None), "help_gpcmd.txt");
    EXPECT_EQ(FileFor("bnds", ContextKind::None), "help_elcmd.txt");
    EXPECT_EQ(FileFor("readme  general", ContextKind::Menu), "help_guide.txt");
    EXPECT_EQ(FileFor("NO SUCH TOPIC", ContextKind::Task), "(none)");
}

TEST_F(HelpLookup, TheTopFrameChoosesTheTopicOfF1) {
    EXPECT_EQ(ContextHelpTopic(nullptr), "");
    DlgStkFrame frame;
    frame.kind = ContextKind::Dialog;
    frame.name = "keysbase";
    EXPECT_EQ(ContextHelpTopic(&frame), "KEYSBASE");
    frame.kind = ContextKind::Menu;
    frame.name = "legacy";
    EXPECT_EQ(ContextHelpTopic(&frame), "MENU LEGACY");
    frame.kind = ContextKind::Task;
    frame.name = "payroll.cbl";
    EXPECT_EQ(ContextHelpTopic(&frame), "EDITING");
    frame.kind = ContextKind::FileList;
    EXPECT_EQ(ContextHelpTopic(&frame), "FILE LIST");
    frame.kind = ContextKind::Dummy;
    EXPECT_EQ(ContextHelpTopic(&frame), "");
    // Every topic F1 can ask for exists.
    for (ContextKind kind : {ContextKind::Task, ContextKind::FileList}) {
        frame.kind = kind;
        EXPECT_NE(FileFor(ContextHelpTopic(&frame), kind), "(none)");
    }
}

TEST_F(HelpLookup, AMissingHelpDirectoryFindsNothingAndSaysNothing) {
    VarSetValue(app, "ZPATH.HELP", "/nonexistent/help");
    EXPECT_FALSE(FindHelp(app, "FIND", ContextKind::Task).has_value());
    EXPECT_TRUE(app.messages.empty());
    EXPECT_TRUE(LoadHelpBook(app, "help_gpcmd.txt", true).empty());
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text, "Help file 'help_gpcmd.txt' not found.");
}
