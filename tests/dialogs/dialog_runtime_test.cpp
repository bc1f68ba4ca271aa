#include "dialogs/dialog_runtime.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dialog_run_util.h"
#include "dialogs/dialog_cache.h"

using namespace tavoe;

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class DialogRuntime : public DialogRunFixture {
protected:
    // Where an object's first cell lies on the 24x80 canvas in script positions (from 1), the dialog
    // being centred.
    std::pair<int, int> CellOf(const std::string& dialog, int objectIndex) {
        DialogScreen where;
        DialogDefinition* def = PrepareDialog(app, dialog, where);
        int rows = def->tmpl.clientRows + 2;
        int cols = def->tmpl.clientCols + 2;
        int top = (24 - rows) / 2 + 1;
        int left = (80 - cols) / 2 + 1;
        const CellRect& cell = def->objects[objectIndex].cell;
        return {top + cell.row + 1, left + cell.col + 1};
    }
};

constexpr const char* kInputDialog =
    "DIALOG { TITLE=\"T\" }\n"
    "OBJ { TYPE=INPUT ROW=1 COL=1 WIDTH=20 VAR=Name }\n"
    "OBJ { TYPE=INPUT ROW=2 COL=1 WIDTH=20 VAR=Other }\n";

}  // namespace

TEST_F(DialogRuntime, InputIsLoadedAndTypingReplacesItOnCommit) {
    Write("one.dlg", kInputDialog);
    VarSetValue(app, "One.Name", "old");
    Script("new\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Committed);
    EXPECT_EQ(Var("One.Name"), "new");
    EXPECT_EQ(Var("One.BtnPushed"), "");
}

TEST_F(DialogRuntime, F3ClosesWithoutStoring) {
    Write("one.dlg", kInputDialog);
    VarSetValue(app, "One.Name", "old");
    Script("!keys xyz<F3>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Closed);
    EXPECT_EQ(Var("One.Name"), "old");
}

TEST_F(DialogRuntime, F1EndsWithHelpAndStoresNothingButAHelpButtonStores) {
    Write("one.dlg", std::string(kInputDialog) + "OBJ { TYPE=BUTTON ROW=3 COL=1 WIDTH=8 TEXT=\"Help\" }\n");
    VarSetValue(app, "One.Name", "old");
    Script("!keys xyz<F1>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Help);
    EXPECT_EQ(Var("One.Name"), "old");

    Script("!keys xyz<Tab><Tab><Enter>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Help);
    EXPECT_EQ(Var("One.Name"), "xyz");
    EXPECT_EQ(Var("One.BtnPushed"), "Help");
}

// F4 leaves the dialogs and menus stacked above the session they came from; it runs no RETURN, which
// would end the session too. In the property sheet editors it says to apply RETURN afterwards.
TEST_F(DialogRuntime, F4UnwindsTheDialogsButKeepsTheSession) {
    Write("one.dlg", kInputDialog);
    Write("psnumber.dlg", kInputDialog);
    PushContext(app, ContextKind::Task, "file.txt");
    PushContext(app, ContextKind::Menu, "MODERN");
    Script("!keys <F4>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Return);
    EXPECT_THAT(Queue(), Not(Contains("RETURN")));
    ASSERT_NE(TopContext(app), nullptr);
    EXPECT_EQ(TopContext(app)->kind, ContextKind::Task);

    app.commandQueue.clear();
    Script("!keys <F4>\n");
    EXPECT_EQ(ShowDialog(app, "PSNUMBER"), DialogResult::Return);
    EXPECT_TRUE(Queue().empty());
    EXPECT_THAT(Texts(), ElementsAre("Apply RETURN again after this dialog terminates."));
}

TEST_F(DialogRuntime, KeysWithoutMeaningAreAnsweredAndTheDialogStays) {
    Write("one.dlg", kInputDialog);
    VarSetValue(app, "One.Name", "old");
    Script("!keys <F6><F12><F2><F9>abc<Enter>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Committed);
    EXPECT_THAT(Texts(), ElementsAre("F6 has no meaning in dialog.", "F12 has no meaning in dialog."));
    EXPECT_THAT(Queue(), ElementsAre("SPLITH", "SWAP"));
    EXPECT_EQ(Var("One.Name"), "abc");
}

// Escape is a dialog's Cancel, as F3 is: nothing typed before it is stored.
TEST_F(DialogRuntime, EscapeCancels) {
    Write("one.dlg", kInputDialog);
    VarSetValue(app, "One.Name", "old");
    Script("!keys abc<Esc>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Closed);
    EXPECT_EQ(Var("One.Name"), "old");
}

TEST_F(DialogRuntime, HomeMovesToTheFirstControlThatTakesInput) {
    Write("one.dlg",
          "DIALOG { TITLE=\"T\" }\n"
          "OBJ { TYPE=STATIC ROW=1 COL=1 TEXT=\"Label\" }\n"
          "OBJ { TYPE=INPUT ROW=2 COL=1 WIDTH=20 VAR=Name }\n"
          "OBJ { TYPE=INPUT ROW=3 COL=1 WIDTH=20 VAR=Other FOCUS=YES }\n");
    Script("!keys <Home>first<Enter>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Committed);
    EXPECT_EQ(Var("One.Name"), "first");
    EXPECT_EQ(Var("One.Other"), "");
}

TEST_F(DialogRuntime, RightCtrlCommitsOnlyWhenItActsAsEnter) {
    Write("one.dlg", kInputDialog);
    Script("!keys ab<RCtrl>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Closed);  // the script ends with F3
    app.rightCtrlIsEnter = true;
    Script("!keys ab<RCtrl>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Committed);
    EXPECT_EQ(Var("One.Name"), "ab");
}

TEST_F(DialogRuntime, OutputShowsAmpersandsAndIsNotStored) {
    Write("one.dlg",
          "DIALOG { TITLE=\"&ZTITLE\" }\n"
          "OBJ { TYPE=OUTPUT ROW=1 COL=1 WIDTH=20 VAR=Shown }\n"
          "OBJ { TYPE=INPUT ROW=2 COL=1 WIDTH=20 VAR=Name }\n");
    VarSetValue(app, "One.Shown", "Fish & Chips");
    VarSetValue(app, "ZTITLE", "From a variable");
    Script("!screen\n!keys <F3>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Closed);
    EXPECT_THAT(out.str(), HasSubstr("Fish & Chips"));
    EXPECT_THAT(out.str(), HasSubstr("From a variable"));
    EXPECT_EQ(Var("One.Shown"), "Fish & Chips");
}

TEST_F(DialogRuntime, CheckBoxLoadsTrueAndStoresItsState) {
    Write("one.dlg",
          "DIALOG { TITLE=\"T\" }\nOBJ { TYPE=CHECKBOX ROW=1 COL=1 TEXT=\"Backup\" VAR=Backup }\n");
    VarSetValue(app, "One.Backup", "TRUE");
    Script("!keys <Space><Enter>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Committed);
    EXPECT_EQ(Var("One.Backup"), "FALSE");
    Script("!keys <Space><Enter>\n");
    ShowDialog(app, "one");
    EXPECT_EQ(Var("One.Backup"), "TRUE");
}

TEST_F(DialogRuntime, CommitCheckBoxCommitsOnClick) {
    Write("one.dlg",
          "DIALOG { TITLE=\"T\" }\nOBJ { TYPE=CHECKBOX ROW=1 COL=1 TEXT=\"Now\" VAR=Now COMMIT=YES }\n");
    Script("!keys <Space>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Committed);
    EXPECT_EQ(Var("One.Now"), "TRUE");
}

TEST_F(DialogRuntime, ListSkipsEmptyItemsAndRepliesTheSelection) {
    Write("one.dlg", "DIALOG { TITLE=\"T\" }\nOBJ { TYPE=LIST ROW=1 COL=1 WIDTH=20 DEPTH=5 VAR=L }\n");
    VarSetValue(app, "One.L.0", "3");
    VarSetValue(app, "One.L.1", "alpha");
    VarSetValue(app, "One.L.3", "gamma");
    Script("!keys <Down><Enter>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Committed);
    EXPECT_EQ(Var("One.L.Reply.0"), "1");
    EXPECT_EQ(Var("One.L.Reply.1"), "gamma");
}

TEST_F(DialogRuntime, ListWithNothingSelectedKeepsOldReplies) {
    Write("one.dlg", "DIALOG { TITLE=\"T\" }\nOBJ { TYPE=LIST ROW=1 COL=1 WIDTH=20 DEPTH=5 VAR=L }\n");
    Items("One.L", {"alpha"});
    VarSetValue(app, "One.L.Reply.1", "stale");
    Script("!keys <Enter>\n");
    ShowDialog(app, "one");
    EXPECT_EQ(Var("One.L.Reply.0"), "0");
    EXPECT_EQ(Var("One.L.Reply.1"), "stale");
}

TEST_F(DialogRuntime, MultiSelectListRepliesEverySelectedItemInOrderAndSpaceClears) {
    Write("one.dlg",
          "DIALOG { TITLE=\"T\" }\nOBJ { TYPE=LIST ROW=1 COL=1 WIDTH=20 DEPTH=6 VAR=L MULTISELECT=YES }\n");
    VarSetValue(app, "One.L.0", "5");
    for (int i = 1; i <= 5; ++i) {
        VarSetValue(app, "One.L." + std::to_string(i), "item" + std::to_string(i));
    }
    auto [row, col] = CellOf("one", 0);
    Script("!keys <Click:" + std::to_string(row + 1) + "," + std::to_string(col) +
           "><C-Click:" + std::to_string(row + 4) + "," + std::to_string(col) + "><Enter>\n");
    ShowDialog(app, "one");
    EXPECT_EQ(Var("One.L.Reply.0"), "2");
    EXPECT_EQ(Var("One.L.Reply.1"), "item2");
    EXPECT_EQ(Var("One.L.Reply.2"), "item5");

    Script("!keys <Click:" + std::to_string(row + 1) + "," + std::to_string(col) + "><Space><Enter>\n");
    ShowDialog(app, "one");
    EXPECT_EQ(Var("One.L.Reply.0"), "0");
}

TEST_F(DialogRuntime, ListTopIsLoaded) {
    Write("one.dlg", "DIALOG { TITLE=\"T\" }\nOBJ { TYPE=LIST ROW=1 COL=1 WIDTH=20 DEPTH=3 VAR=L }\n");
    VarSetValue(app, "One.L.0", "6");
    for (int i = 1; i <= 6; ++i) {
        VarSetValue(app, "One.L." + std::to_string(i), "entry" + std::to_string(i));
    }
    VarSetValue(app, "One.L.Top", "3");
    Script("!screen\n!keys <F3>\n");
    ShowDialog(app, "one");
    EXPECT_THAT(out.str(), HasSubstr("entry4"));
    EXPECT_THAT(out.str(), ::testing::Not(HasSubstr("entry1")));
}

TEST_F(DialogRuntime, LetterInAListWithPopupCommitsWithTheLetterAndTheDefaultButton) {
    Write("one.dlg",
          "DIALOG { TITLE=\"T\" }\n"
          "OBJ { TYPE=LIST ROW=1 COL=1 WIDTH=20 DEPTH=3 VAR=L POPUP=Pop }\n"
          "OBJ { TYPE=BUTTON ROW=5 COL=1 WIDTH=8 TEXT=\"OK\" DEFAULT=YES }\n");
    Items("One.L", {"alpha"});
    Items("One.Pop", {"Delete"});
    Script("!keys d\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Committed);
    EXPECT_EQ(Var("One.Pop.Reply"), "D");
    EXPECT_EQ(Var("One.BtnPushed"), "OK");
}

TEST_F(DialogRuntime, RightClickPopupChoiceIsTheReply) {
    Write("one.dlg",
          "DIALOG { TITLE=\"T\" }\nOBJ { TYPE=LIST ROW=1 COL=1 WIDTH=20 DEPTH=3 VAR=L POPUP=Pop }\n");
    Items("One.L", {"alpha"});
    Items("One.Pop", {"Edit", "---", "Delete"});
    auto [row, col] = CellOf("one", 0);
    Script("!keys <RClick:" + std::to_string(row) + "," + std::to_string(col) + "><Down><Enter>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Committed);
    EXPECT_EQ(Var("One.Pop.Reply"), "Delete");
}

TEST_F(DialogRuntime, FixedComboLoadsAndStoresItsSelection) {
    Write("one.dlg", "DIALOG { TITLE=\"T\" }\nOBJ { TYPE=COMBO ROW=1 COL=1 WIDTH=20 VAR=C }\n");
    Items("One.C", {"red", "green", "blue"});
    VarSetValue(app, "One.C.Select", "2");
    Script("!keys <Down><Enter>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Committed);
    EXPECT_EQ(Var("One.C.Select"), "3");
}

TEST_F(DialogRuntime, ModifiableComboPushesTheTypedValueAsItemOne) {
    Write("one.dlg",
          "DIALOG { TITLE=\"T\" }\nOBJ { TYPE=COMBO ROW=1 COL=1 WIDTH=20 VAR=H MODIFIABLE=YES }\n");
    VarSetValue(app, "One.H.SIZE", "8");
    Items("One.H", {"older"});
    Script("  newer\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Committed);
    EXPECT_EQ(Var("One.H.1"), "newer");
    EXPECT_EQ(Var("One.H.2"), "older");
    EXPECT_EQ(Var("One.H.0"), "2");
    EXPECT_EQ(Var("One.H.Select"), "1");
}

TEST_F(DialogRuntime, CancelCaptionClosesButUpperCaseCancelCommits) {
    Write("one.dlg", std::string(kInputDialog) +
                         "OBJ { TYPE=BUTTON ROW=3 COL=1 WIDTH=10 TEXT=\"Cancel\" }\n"
                         "OBJ { TYPE=BUTTON ROW=3 COL=12 WIDTH=10 TEXT=\"CANCEL\" }\n");
    Script("!keys abc<Tab><Tab><Enter>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Closed);
    EXPECT_EQ(Var("One.Name"), "");
    Script("!keys abc<Tab><Tab><Tab><Enter>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Committed);
    EXPECT_EQ(Var("One.Name"), "abc");
    EXPECT_EQ(Var("One.BtnPushed"), "CANCEL");
}

TEST_F(DialogRuntime, ButtonCaptionsComeFromVariables) {
    Write("one.dlg",
          "DIALOG { TITLE=\"T\" }\n"
          "OBJ { TYPE=BUTTON ROW=1 COL=1 WIDTH=12 TEXT=\"&ZLABEL\" }\n"
          "OBJ { TYPE=BUTTON ROW=1 COL=14 WIDTH=12 TEXT=\"&Mine\" }\n");
    VarSetValue(app, "ZLABEL", "Global");
    VarSetValue(app, "One.Mine", "Local");
    Script("!keys <Tab><Enter>\n");
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Committed);
    EXPECT_EQ(Var("One.BtnPushed"), "Local");
}

TEST_F(DialogRuntime, ShowingTwiceLeavesOneFrame) {
    Write("one.dlg", kInputDialog);
    Script("!keys <F3>\n");
    ShowDialog(app, "one");
    Script("!keys <F3>\n");
    ShowDialog(app, "one");
    ASSERT_EQ(app.contexts.size(), 1u);
    EXPECT_EQ(app.contexts[0].kind, ContextKind::Dialog);
    EXPECT_EQ(app.contexts[0].name, "ONE");
}

TEST_F(DialogRuntime, FailuresShowNothing) {
    EXPECT_EQ(ShowDialog(app, "missing"), DialogResult::Failed);
    EXPECT_THAT(Texts(), ElementsAre("Dialog definition 'missing.dlg' not found."));
    EXPECT_TRUE(app.contexts.empty());

    Write("one.dlg", kInputDialog);
    EXPECT_EQ(ShowDialog(app, "one"), DialogResult::Failed);  // no screen
    EXPECT_THAT(Texts(), Contains("DialogBoxIndirect failed for dialog ONE"));
    EXPECT_EQ(FindCachedDialog(app, "one"), nullptr);
}

TEST(DialogReply, MacroReplyTexts) {
    EXPECT_EQ(DialogReplyText(DialogResult::Committed), "OK");
    EXPECT_EQ(DialogReplyText(DialogResult::Help), "HELP");
    EXPECT_EQ(DialogReplyText(DialogResult::Closed), "CANCEL");
    EXPECT_EQ(DialogReplyText(DialogResult::Failed), "ERROR");
    EXPECT_FALSE(DialogReplyText(DialogResult::Return).has_value());
}
