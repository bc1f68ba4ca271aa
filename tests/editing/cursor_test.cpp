#include "editing/cursor.h"

#include <gtest/gtest.h>

#include "editing/cursor_actions.h"
#include "editing/typing.h"
#include "typing_test_fixture.h"

using namespace tavoe;

namespace {

using CursorKeys = TypingFixture;
using TabKeys = TypingFixture;
using EnterKey = TypingFixture;
using EditingKeys = TypingFixture;
using MousePlacement = TypingFixture;

KeyOutcome Act(KeyAction action, Selection selection = Selection::Move) {
    KeyOutcome outcome;
    outcome.action = action;
    outcome.selection = selection;
    return outcome;
}

TEST_F(CursorKeys, RightScrollsAtTheEdgeOnlyWhenAllowed) {
    session.buffer.profile.maxRecordLength = 100;
    Lines({"x"});
    session.view.cursorRow = 1;
    session.view.cursorColumn = 79;  // record column 73, the window's last cell
    PerformEditAction(app, session, Act(KeyAction::CursorRight));
    EXPECT_EQ(session.view.horizontalOffset, 1);
    EXPECT_EQ(Column(), 74);
    VarSetValue(app, "ZCURSOR.HSCROLL", "FALSE");
    PerformEditAction(app, session, Act(KeyAction::CursorRight));
    EXPECT_EQ(session.view.horizontalOffset, 1);
    EXPECT_EQ(Column(), 74);
    VarSetValue(app, "ZCURSOR.HSCROLL", "TRUE");
    for (int i = 0; i < 40; ++i) {
        PerformEditAction(app, session, Act(KeyAction::CursorRight));
    }
    EXPECT_EQ(session.view.horizontalOffset, 27);  // the record's last column is in the last cell
    EXPECT_EQ(Column(), 100);
}

TEST_F(CursorKeys, LeftScrollsBackThenEntersThePrefix) {
    Lines({"x"});
    session.view.horizontalOffset = 2;
    At(0, 3);
    PerformEditAction(app, session, Act(KeyAction::CursorLeft));
    PerformEditAction(app, session, Act(KeyAction::CursorLeft));
    EXPECT_EQ(session.view.horizontalOffset, 0);
    EXPECT_EQ(session.view.focus, KeyField::Data);
    PerformEditAction(app, session, Act(KeyAction::CursorLeft));
    EXPECT_EQ(session.view.cursorColumn, 6);
    EXPECT_EQ(session.view.focus, KeyField::Prefix);
}

TEST_F(CursorKeys, UpAndDownScrollAtTheWindowEdges) {
    std::vector<std::string> texts;
    for (int i = 0; i < 20; ++i) {
        texts.push_back("line " + std::to_string(i));
    }
    Lines(texts);
    session.view.cursorRow = 9;
    session.view.cursorColumn = 10;
    PerformEditAction(app, session, Act(KeyAction::CursorDown));
    EXPECT_EQ(session.view.cursorRow, 9);
    EXPECT_EQ(CursorLine(app, session), lines[9]);
    PerformEditAction(app, session, Act(KeyAction::CtrlDown));
    EXPECT_EQ(CursorLine(app, session), lines[10]);
    session.view.cursorRow = 0;  // showing lines[1]
    PerformEditAction(app, session, Act(KeyAction::CursorUp));
    EXPECT_EQ(session.view.cursorRow, 0);
    EXPECT_EQ(CursorLine(app, session), lines[0]);
    PerformEditAction(app, session, Act(KeyAction::LineFieldUp));
    PerformEditAction(app, session, Act(KeyAction::LineFieldUp));
    EXPECT_EQ(session.view.topLine, LineFirst(session.buffer));  // the top marker stops it
}

TEST_F(CursorKeys, EndStopsBeforeNumbersAndScrollsToShowIt) {
    Standard();
    Lines({StandardLine("some text  "), ""});
    At(0, 1);
    PerformEditAction(app, session, Act(KeyAction::End));
    EXPECT_EQ(Column(), 10);
    session.buffer.profile.numberType = NumberType::None;
    session.buffer.profile.maxRecordLength = 200;
    (void)LineSetText(session.buffer, *lines[1], std::string(150, 'w'));
    At(1, 1);
    PerformEditAction(app, session, Act(KeyAction::End));
    EXPECT_EQ(Column(), 151);
    EXPECT_EQ(session.view.horizontalOffset, 151 - 73);
    PerformEditAction(app, session, Act(KeyAction::Home));
    EXPECT_EQ(Column(), 79);  // the first column shown
    PerformEditAction(app, session, Act(KeyAction::Home));
    EXPECT_EQ(session.view.focus, KeyField::Command);
}

TEST_F(CursorKeys, CtrlLeftAndRightJumpWords) {
    Lines({"alpha  beta gamma"});
    At(0, 1);
    PerformEditAction(app, session, Act(KeyAction::CtrlRight));
    EXPECT_EQ(Column(), 8);
    PerformEditAction(app, session, Act(KeyAction::CtrlRight));
    EXPECT_EQ(Column(), 13);
    PerformEditAction(app, session, Act(KeyAction::CtrlRight));
    EXPECT_EQ(Column(), 18);
    PerformEditAction(app, session, Act(KeyAction::CtrlLeft));
    EXPECT_EQ(Column(), 13);
    At(0, 10);
    PerformEditAction(app, session, Act(KeyAction::CtrlLeft));
    EXPECT_EQ(Column(), 8);
    At(0, 1);
    PerformEditAction(app, session, Act(KeyAction::CtrlLeft));
    EXPECT_EQ(session.view.focus, KeyField::Prefix);
}

TEST_F(TabKeys, StopsAtPrefixDataStartAndProfileStops) {
    session.buffer.profile.tabKeyStopsAt = TabStops{};
    session.buffer.profile.tabKeyStopsAt[0] = 10;
    session.buffer.profile.tabKeyStopsAt[1] = 20;
    Lines({"one", "two"});
    AtPrefix(0, 0);
    PerformEditAction(app, session, Act(KeyAction::Tab));
    EXPECT_EQ(Column(), 1);
    PerformEditAction(app, session, Act(KeyAction::Tab));
    EXPECT_EQ(Column(), 10);
    PerformEditAction(app, session, Act(KeyAction::Tab));
    EXPECT_EQ(Column(), 20);
    PerformEditAction(app, session, Act(KeyAction::Tab));
    EXPECT_EQ(session.view.cursorRow, 2);
    EXPECT_EQ(session.view.cursorColumn, 0);
    PerformEditAction(app, session, Act(KeyAction::BackTab));
    EXPECT_EQ(session.view.cursorRow, 1);
    EXPECT_EQ(Column(), 20);
    // Past the last line of the window the cursor goes to the command field, and back from there.
    session.view.cursorRow = 3;  // the end marker
    session.view.cursorColumn = 30;
    PerformEditAction(app, session, Act(KeyAction::Tab));
    EXPECT_EQ(session.view.focus, KeyField::Command);
    PerformEditAction(app, session, Act(KeyAction::FieldToDataBackTab));
    EXPECT_EQ(session.view.cursorRow, 3);
    EXPECT_EQ(Column(), 20);
}

TEST_F(TabKeys, FromTheCommandFieldToTheFirstRow) {
    Lines({"one"});
    session.view.focus = KeyField::Command;
    session.view.horizontalOffset = 6;
    PerformEditAction(app, session, Act(KeyAction::FieldToDataTab));
    EXPECT_EQ(session.view.focus, KeyField::Data);
    EXPECT_EQ(session.view.cursorRow, 0);
    EXPECT_EQ(Column(), 7);
    session.view.focus = KeyField::Command;
    PerformEditAction(app, session, Act(KeyAction::FieldToDataUp));
    EXPECT_EQ(session.view.cursorRow, 9);
}

TEST_F(EnterKey, ScrollsOnTheLastRowOrWrapsToTheFirst) {
    std::vector<std::string> texts(15, "text");
    Lines(texts);
    session.view.cursorRow = 9;
    session.view.cursorColumn = 30;
    PerformEditAction(app, session, Act(KeyAction::DataEnter));
    EXPECT_EQ(session.view.cursorRow, 9);
    EXPECT_EQ(CursorLine(app, session), lines[9]);
    EXPECT_EQ(session.view.cursorColumn, 7);
    VarSetValue(app, "ZENTERSCROLL", "FALSE");
    PerformEditAction(app, session, Act(KeyAction::DataEnter));
    EXPECT_EQ(session.view.cursorRow, 0);
    AtPrefix(2, 3);
    PerformEditAction(app, session, Act(KeyAction::DataEnter));
    EXPECT_EQ(session.view.cursorRow, 4);
    EXPECT_EQ(session.view.cursorColumn, 0);
}

TEST_F(EditingKeys, BackspaceDeletesOrBlanksByMode) {
    Lines({"abcdef"});
    At(0, 4);
    PerformEditAction(app, session, Act(KeyAction::Backspace));
    EXPECT_EQ(Text(0), "abdef");
    EXPECT_EQ(Column(), 3);
    SetTypingMode(app, ui::TypingMode::Overtype);
    PerformEditAction(app, session, Act(KeyAction::Backspace));
    EXPECT_EQ(Text(0), "a def");
    EXPECT_EQ(Column(), 2);
    PerformEditAction(app, session, Act(KeyAction::DeleteChar));
    EXPECT_EQ(Text(0), "adef");
    At(0, 1);
    PerformEditAction(app, session, Act(KeyAction::Backspace));
    EXPECT_EQ(Text(0), "adef");
}

TEST_F(EditingKeys, RefusedBackspaceLeavesTheCursor) {
    Cobol(NumberAuto::Incr);
    Lines({"000100 TEXT"});
    At(0, 7);
    PerformEditAction(app, session, Act(KeyAction::Backspace));
    EXPECT_EQ(LastMessage(), "Not allowed to delete chars in the line number field, use overtype.");
    EXPECT_EQ(Column(), 7);
    EXPECT_EQ(Text(0), "000100 TEXT");
}

TEST_F(EditingKeys, PrefixBackspaceAndDeleteEditThePendingCommand) {
    Lines({"one"});
    LineSetPendingCommand(*lines[0], "cc5");
    AtPrefix(0, 2);
    PerformEditAction(app, session, Act(KeyAction::Backspace));
    EXPECT_EQ(LinePendingCommand(*lines[0]), "c5       ");
    EXPECT_EQ(session.view.cursorColumn, 1);
    PerformEditAction(app, session, Act(KeyAction::DeleteChar));
    EXPECT_EQ(LinePendingCommand(*lines[0]), "c        ");
}

TEST_F(EditingKeys, DoubleClickSelectsTheWord) {
    Lines({"one two three", "four"});
    LineSetSelStart(*lines[1], 1);
    LineSetSelEnd(*lines[1], 4);
    At(0, 6);
    PerformEditAction(app, session, Act(KeyAction::SelectWord));
    EXPECT_EQ(lines[0]->selStart, 5);
    EXPECT_EQ(lines[0]->selEnd, 7);
    EXPECT_FALSE(LineHasSelection(*lines[1]));
}

TEST_F(MousePlacement, ClampsToTheRecordAndPicksTheArea) {
    session.buffer.profile.maxRecordLength = 20;
    Lines({"one"});
    PlaceCursor(app, session, 1, 70);
    EXPECT_EQ(Column(), 20);
    EXPECT_EQ(session.view.focus, KeyField::Data);
    PlaceCursor(app, session, 2, 3);
    EXPECT_EQ(session.view.focus, KeyField::Prefix);
    EXPECT_EQ(session.view.cursorColumn, 3);
    session.view.focus = KeyField::Command;
    CursorToDataArea(app, session);
    EXPECT_EQ(session.view.focus, KeyField::Data);
    EXPECT_EQ(session.view.cursorRow, 2);
    EXPECT_EQ(session.view.cursorColumn, 7);
}

}  // namespace
