#include "editing/typing.h"

#include <gtest/gtest.h>

#include "editing/selection.h"
#include "editing/typing_fields.h"
#include "editing/undo_journal.h"
#include "editing/undo_step.h"
#include "typing_test_fixture.h"

using namespace tavoe;

namespace {

using EditableFields = TypingFixture;
using InsertTyping = TypingFixture;
using OvertypeTyping = TypingFixture;
using DeletingChars = TypingFixture;
using DeleteToEnd = TypingFixture;
using PrefixTyping = TypingFixture;
using TypeCharChecks = TypingFixture;
using WordWrap = TypingFixture;
using KeystrokePrompt = TypingFixture;
using SpecialLines = TypingFixture;
using TypingUndo = TypingFixture;

constexpr std::string_view kNoRoom =
    "Insert would exceed maximum record length or overrun line number field.";

void ExpectField(const std::optional<EditField>& field, int first, int last, bool number) {
    ASSERT_TRUE(field.has_value());
    EXPECT_EQ(field->first, first);
    EXPECT_EQ(field->last, last);
    EXPECT_EQ(field->numberField, number);
}

TEST_F(EditableFields, FollowTheNumberType) {
    Lines({"x"});
    const LineRecord& line = *lines[0];
    const EditBuffer& buffer = session.buffer;
    ExpectField(EditableField(buffer, line, 1), 1, 80, false);
    EXPECT_EQ(EditableField(buffer, line, 1)->shape, FieldShape::Growing);

    Cobol();
    ExpectField(EditableField(buffer, line, 3), 1, 6, true);
    ExpectField(EditableField(buffer, line, 7), 7, 80, false);
    Cobol(NumberAuto::Incr);
    EXPECT_FALSE(EditableField(buffer, line, 3).has_value());
    ExpectField(EditableField(buffer, line, 80), 7, 80, false);

    Standard();
    ExpectField(EditableField(buffer, line, 10), 1, 72, false);
    ExpectField(EditableField(buffer, line, 75), 73, 80, true);
    Standard(NumberAuto::Full);
    EXPECT_FALSE(EditableField(buffer, line, 73).has_value());

    session.buffer.profile.numberType = NumberType::CobStd;
    session.buffer.profile.numberAuto = NumberAuto::None;
    ExpectField(EditableField(buffer, line, 6), 1, 6, true);
    ExpectField(EditableField(buffer, line, 7), 7, 72, false);
    ExpectField(EditableField(buffer, line, 73), 73, 80, true);
    session.buffer.profile.numberAuto = NumberAuto::Incr;
    EXPECT_FALSE(EditableField(buffer, line, 73).has_value());
    EXPECT_FALSE(EditableField(buffer, line, 2).has_value());
    ExpectField(EditableField(buffer, line, 72), 7, 72, false);
}

TEST_F(EditableFields, FixedRecordsArePaddedAndNothingLiesBeyondTheRecord) {
    Lines({"x"});
    session.buffer.profile.recordFormat = Recfm::Fixed;
    EXPECT_EQ(EditableField(session.buffer, *lines[0], 40)->shape, FieldShape::Padded);
    EXPECT_FALSE(EditableField(session.buffer, *lines[0], 81).has_value());
    EXPECT_FALSE(EditableField(session.buffer, *lines[0], 0).has_value());
}

TEST_F(InsertTyping, InsideCobolNumbersShiftsOnlyTheNumberField) {
    Cobol();
    Lines({"12 4  ABC"});
    At(0, 3);
    ASSERT_EQ(TypeChar(app, session, 'X'), 0);
    EXPECT_EQ(Text(0).substr(0, 9), "12X 4 ABC");
    EXPECT_EQ(Column(), 4);
}

TEST_F(InsertTyping, StandardNumbersStayPutAndAFullFieldRefuses) {
    Standard();
    Lines({StandardLine("abc def"), StandardLine(std::string(72, 'z'))});
    At(0, 4);
    ASSERT_EQ(TypeChar(app, session, '-'), 0);
    EXPECT_EQ(Text(0), StandardLine("abc- def"));

    At(1, 10);
    EXPECT_EQ(TypeChar(app, session, 'q'), -1);
    EXPECT_EQ(LastMessage(), kNoRoom);
    EXPECT_EQ(app.messages.back().beep, Beep::Error);
    EXPECT_EQ(Text(1), StandardLine(std::string(72, 'z')));
    EXPECT_EQ(Column(), 10);
}

TEST_F(InsertTyping, RefusedInProtectedNumberColumns) {
    Cobol(NumberAuto::Incr);
    Lines({"000100 TEXT"});
    EXPECT_EQ(InsertChars(app, session, *lines[0], "x", 2), -1);
    EXPECT_EQ(LastMessage(), "Not allowed to insert chars in line number field, use overtype.");
    EXPECT_EQ(Text(0), "000100 TEXT");
    EXPECT_FALSE(session.buffer.modified);
}

TEST_F(InsertTyping, VariableLinesGrowUntilTheRecordIsFull) {
    Lines({std::string(79, 'a') + " ", std::string(80, 'b')});
    ASSERT_EQ(InsertChars(app, session, *lines[0], "X", 1), 0);
    EXPECT_EQ(Text(0), "X" + std::string(79, 'a'));
    EXPECT_EQ(InsertChars(app, session, *lines[1], "X", 5), -1);
    EXPECT_EQ(LastMessage(), "Insert would exceed maximum record length.");
    EXPECT_EQ(Text(1), std::string(80, 'b'));
    // The first line is full now and its last blank is gone.
    EXPECT_EQ(InsertChars(app, session, *lines[0], "!", 1), -1);
    // Behind the end of a short line the line is padded up to the column.
    ASSERT_EQ(InsertChars(app, session, *lines[1], "", 1), 0);
}

TEST_F(InsertTyping, RunningOutOfRoomKeepsWhatWasInserted) {
    Standard();
    Lines({StandardLine(std::string(70, 'a'))});
    EXPECT_EQ(InsertChars(app, session, *lines[0], "XYZ", 1), -1);
    EXPECT_EQ(LastMessage(), kNoRoom);
    EXPECT_EQ(Text(0), StandardLine("XY" + std::string(70, 'a')));
}

TEST_F(InsertTyping, PadsShortLinesOfAFieldAndFixedRecords) {
    Standard();
    Lines({"abc"});
    ASSERT_EQ(InsertChars(app, session, *lines[0], "Z", 10), 0);
    EXPECT_EQ(Text(0), std::string("abc      Z") + std::string(62, ' '));
    EXPECT_TRUE(session.buffer.modified);
}

TEST_F(OvertypeTyping, ReplacesPadsAndKeepsNumbersSafe) {
    Standard(NumberAuto::Incr);
    Lines({"abc", StandardLine("abc")});
    SetTypingMode(app, ui::TypingMode::Overtype);
    At(0, 2);
    ASSERT_EQ(TypeChar(app, session, 'X'), 0);
    EXPECT_EQ(Text(0), "aXc");
    ASSERT_EQ(OvertypeChars(app, session, *lines[0], "!", 6), 0);
    EXPECT_EQ(Text(0), "aXc  !");

    EXPECT_EQ(OvertypeChars(app, session, *lines[1], "xx", 72), -1);
    EXPECT_EQ(LastMessage(), "Not allowed to overtype line number field when NUMAUTO is on.");
    session.buffer.profile.numberAuto = NumberAuto::None;
    EXPECT_EQ(OvertypeChars(app, session, *lines[1], "xx", 80), -1);
    EXPECT_EQ(LastMessage(), "Overtype string would exceed maximum record length.");
    EXPECT_EQ(Text(1), StandardLine("abc"));
}

TEST_F(OvertypeTyping, CapsModeUppercasesTheLine) {
    Lines({"mixed Case"});
    session.buffer.profile.caps = CapsMode::On;
    SetTypingMode(app, ui::TypingMode::Overtype);
    ASSERT_EQ(OvertypeChars(app, session, *lines[0], "x", 1), 0);
    EXPECT_EQ(Text(0), "XIXED CASE");
    SetTypingMode(app, ui::TypingMode::Insert);
    At(0, 1);
    ASSERT_EQ(TypeChar(app, session, 'q'), 0);
    EXPECT_EQ(Text(0), "QXIXED CASE");
}

TEST_F(DeletingChars, PullsTheFieldLeftAndBlanksItsEnd) {
    Standard();
    Lines({StandardLine(std::string(72, 'a')), "short line"});
    ASSERT_EQ(DeleteChars(app, session, *lines[0], 1, 2), 0);
    EXPECT_EQ(Text(0), StandardLine(std::string(70, 'a')));
    EXPECT_EQ(Text(0).size(), 80u);
    // A line that ends inside the field just gets shorter.
    ASSERT_EQ(DeleteChars(app, session, *lines[1], 6, 1), 0);
    EXPECT_EQ(Text(1), "shortline");
}

TEST_F(DeletingChars, RefusedInNumbersAndQuietBeyondTheText) {
    Cobol();
    Lines({"000100 TEXT"});
    EXPECT_EQ(DeleteChars(app, session, *lines[0], 3, 1), -1);
    EXPECT_EQ(LastMessage(), "Not allowed to delete chars in the line number field, use overtype.");
    size_t shown = app.messages.size();
    EXPECT_EQ(DeleteChars(app, session, *lines[0], 40, 1), 0);
    EXPECT_EQ(app.messages.size(), shown);
    EXPECT_EQ(Text(0), "000100 TEXT");
}

TEST_F(DeleteToEnd, CutsTheTextButKeepsNumberColumns) {
    Standard();
    Lines({StandardLine("keep this and not that"), "plain text here"});
    At(0, 10);
    ASSERT_EQ(DeleteToEndOfLine(app, session), 0);
    EXPECT_EQ(Text(0), StandardLine("keep this"));
    session.buffer.profile.numberType = NumberType::None;
    At(1, 6);
    ASSERT_EQ(DeleteToEndOfLine(app, session), 0);
    EXPECT_EQ(Text(1), "plain");
}

TEST_F(DeleteToEnd, RefusalsAndBrowse) {
    Lines({"text"});
    session.view.cursorRow = 0;  // the top marker
    session.view.cursorColumn = 10;
    EXPECT_EQ(DeleteToEndOfLine(app, session), -1);
    EXPECT_EQ(LastMessage(), "The cursor must be on a data line to do DELEOL.");
    session.buffer.file.browseReason = BrowseReason::Requested;
    At(0, 2);
    EXPECT_EQ(DeleteToEndOfLine(app, session), -1);
    EXPECT_EQ(LastMessage(), "Not allowed to modify READ-ONLY file.");
    EXPECT_EQ(Text(0), "text");
}

TEST_F(PrefixTyping, BuildsThePendingCommandAndBlankErases) {
    Lines({"one", "two"});
    AtPrefix(1, 0);
    ASSERT_EQ(TypeChar(app, session, 'd'), 0);
    ASSERT_EQ(TypeChar(app, session, '3'), 0);
    EXPECT_EQ(LinePendingCommand(*lines[1]), "d3       ");
    EXPECT_EQ(session.view.cursorColumn, 2);

    LineSetLabel(*lines[1], ".AB");
    AtPrefix(1, 1);
    ASSERT_EQ(TypeChar(app, session, ' '), 0);
    EXPECT_EQ(LinePendingCommand(*lines[1]), "d        ");
    EXPECT_FALSE(LineHasLabel(*lines[1]));
    AtPrefix(1, 0);
    ASSERT_EQ(DeleteToEndOfLine(app, session), 0);
    EXPECT_FALSE(LineHasPendingCommand(*lines[1]));
}

TEST_F(PrefixTyping, WorksInBrowseAndOnMarkers) {
    Lines({"one"});
    session.buffer.file.browseReason = BrowseReason::Requested;
    session.view.cursorRow = 0;
    session.view.cursorColumn = 0;
    ASSERT_EQ(TypeChar(app, session, 'i'), 0);
    EXPECT_EQ(LinePendingCommand(*LineFirst(session.buffer)), "i        ");
    EXPECT_FALSE(session.buffer.modified);
}

TEST_F(TypeCharChecks, RefusalsInOrder) {
    Lines({"one"});
    session.view.cursorRow = 5;  // below the end marker
    session.view.cursorColumn = 10;
    EXPECT_EQ(TypeChar(app, session, 'x'), -1);
    EXPECT_EQ(LastMessage(), "CHARIN cursor must be on a line.");
    session.view.cursorRow = 0;
    EXPECT_EQ(TypeChar(app, session, 'x'), -1);
    EXPECT_EQ(LastMessage(), "This line is not modifiable.");
    session.buffer.file.browseReason = BrowseReason::Requested;
    At(0, 1);
    EXPECT_EQ(TypeChar(app, session, 'x'), -1);
    EXPECT_EQ(LastMessage(), "Not allowed to modify READ-ONLY file.");
    EXPECT_EQ(Text(0), "one");
}

TEST_F(TypeCharChecks, HighCodesTranslateIntoTheIbmPcSet) {
    Lines({""});
    session.buffer.profile.displayCharset = ProfileCharset::AsciiIbmPc;
    At(0, 1);
    ASSERT_EQ(TypeChar(app, session, 0xC5), 0);                      // ISO A-ring
    ASSERT_EQ(TypeChar(app, session, 0xC5, TypedFrom::Display), 0);  // already an IBM-PC byte
    ASSERT_EQ(TypeChar(app, session, ' '), 0);
    EXPECT_EQ(Text(0), "\x8F\xC5 ");
}

TEST_F(TypeCharChecks, TypingEndsTheSelection) {
    Lines({"abc def"});
    SelectWordAt(session, *lines[0], 6);
    ASSERT_TRUE(SelectionExists(session));
    At(0, 1);
    ASSERT_EQ(TypeChar(app, session, 'X'), 0);
    EXPECT_FALSE(SelectionExists(session));
}

TEST_F(WordWrap, MovesTheLastWordToANewLine) {
    session.textEntryWidth = 20;
    Lines({"aaaa bbbb cccc ddddd"});
    At(0, 21);
    ASSERT_EQ(TypeChar(app, session, 'e'), 0);
    EXPECT_EQ(Text(0), "aaaa bbbb cccc");
    LineRecord* added = LineNext(lines[0]);
    ASSERT_TRUE(IsDataLine(*added));
    EXPECT_EQ(LineText(*added), "ddddde");  // columns 16-20 and the new character
    EXPECT_EQ(CursorLine(app, session), added);
    EXPECT_EQ(Column(), 7);
    EXPECT_TRUE(session.buffer.modified);
}

TEST_F(WordWrap, BlankStartsALineAndNoBlankRefuses) {
    session.textEntryWidth = 10;
    Lines({"0123456789", "nospacesatall"});
    At(0, 11);
    ASSERT_EQ(TypeChar(app, session, ' '), 0);
    EXPECT_EQ(Text(0), "0123456789");
    EXPECT_EQ(LineText(*LineNext(lines[0])), "");
    EXPECT_EQ(CursorLine(app, session), LineNext(lines[0]));

    At(0, 11);
    EXPECT_EQ(TypeChar(app, session, 'x'), -1);
    EXPECT_EQ(LastMessage(), "Current line full, has no blanks, can not wrap word.");
    EXPECT_EQ(Text(0), "0123456789");
}

TEST_F(KeystrokePrompt, FourthKeystrokeOfThreeRemindsAndResets) {
    Lines({""});
    session.buffer.profile.promptAfterKeystrokes = 3;
    At(0, 1);
    for (char c : std::string("abc")) {
        ASSERT_EQ(TypeChar(app, session, static_cast<std::uint8_t>(c)), 0);
    }
    EXPECT_TRUE(app.messages.empty());
    ASSERT_EQ(TypeChar(app, session, 'd'), 0);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text,
              "You requested to be prompted for a possible SAVE after 4 keystrokes were entered.\n"
              "The keystroke counter is reset to 0 at this time.\n"
              "The precise time you enter the SAVE command is left up to you.\n");
    EXPECT_EQ(app.messages[0].to, MsgTo::Box);
    EXPECT_EQ(session.keystrokeCount, 0);
    // A refused keystroke does not count.
    session.buffer.file.browseReason = BrowseReason::Requested;
    EXPECT_EQ(TypeChar(app, session, 'e'), -1);
    EXPECT_EQ(session.keystrokeCount, 0);
}

TEST_F(SpecialLines, BoundsAndTabsLinesSetTheSession) {
    Lines({"data"});
    LineRecord* bounds = LineNew(session.buffer, std::string(4, ' ') + "<" + std::string(20, ' ') + ">");
    bounds->kind = LineKind::Bounds;
    ASSERT_EQ(LineInsertBefore(session.buffer, lines[0], bounds), 0);
    LineRecord* tabs = LineNew(session.buffer, std::string(30, ' '));
    tabs->kind = LineKind::Tabs;
    ASSERT_EQ(LineInsertBefore(session.buffer, lines[0], tabs), 0);

    ASSERT_EQ(InsertChars(app, session, *bounds, "  ", 1), 0);  // both marks move two columns right
    EXPECT_EQ(session.buffer.profile.boundsLeft, 7);
    EXPECT_EQ(session.buffer.profile.boundsRight, 28);
    ASSERT_EQ(OvertypeChars(app, session, *tabs, "*", 5), 0);
    ASSERT_EQ(OvertypeChars(app, session, *tabs, "*", 12), 0);
    EXPECT_EQ(session.buffer.profile.tabKeyStopsAt[0], 5);
    EXPECT_EQ(session.buffer.profile.tabKeyStopsAt[1], 12);
    EXPECT_EQ(session.buffer.profile.tabKeyStopsAt[2], 0);
}

TEST_F(TypingUndo, FiveKeystrokesUndoInOneStep) {
    app.profileSettings.undoEnabled = true;
    ASSERT_NE(UndoSyncSession(app, session), nullptr);
    Lines({"hello world"});
    At(0, 6);
    for (char c : std::string(",dear")) {
        ASSERT_EQ(TypeChar(app, session, static_cast<std::uint8_t>(c)), 0);
    }
    EXPECT_EQ(Text(0), "hello,dear world");
    EXPECT_EQ(SessionUndoJournal(session)->EntryCount(), 1u);
    ASSERT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Text(0), "hello world");
    EXPECT_EQ(UndoStep(app, &session), -1);
    EXPECT_EQ(LastMessage(), "UNDO journal empty or UNDO is disabled.");
    UndoOff(app, session);
}

TEST_F(TypingUndo, KeystrokesOnAnotherLineAreAStepOfTheirOwn) {
    app.profileSettings.undoEnabled = true;
    ASSERT_NE(UndoSyncSession(app, session), nullptr);
    Lines({"first", "second"});
    At(0, 1);
    ASSERT_EQ(TypeChar(app, session, '1'), 0);
    At(1, 1);
    ASSERT_EQ(TypeChar(app, session, '2'), 0);
    ASSERT_EQ(DeleteChars(app, session, *lines[1], 2, 1), 0);
    ASSERT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Text(0), "1first");
    EXPECT_EQ(Text(1), "second");
    ASSERT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Text(0), "first");
    UndoOff(app, session);
}

}  // namespace
