#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/line_record.h"
#include "buffer/make_data.h"
#include "commands/command_set.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "editing/edit_session.h"
#include "editing/undo_command.h"
#include "editing/undo_journal.h"
#include "editing/undo_step.h"
#include "shell/instance_ports.h"

using namespace tavoe;

namespace {

constexpr const char* kEmpty = "UNDO journal empty or UNDO is disabled.";

class UndoTest : public ::testing::Test {
protected:
    void SetUp() override {
        VarSetValue(app, "ZUNDO", "TRUE");
        for (int i = 1; i <= 12; ++i) {
            LineRecord* line = LineNew(buffer, std::to_string(i));
            line->kind = LineKind::Data;
            line->recordNumber = static_cast<std::uint32_t>(i);
            LineAppendLoaded(buffer, line);
        }
        ASSERT_EQ(AppendEndMarker(buffer, LoadEnd::Complete), 0);
        session.view.topLine = LineFirst(buffer);
        session.view.prefixWidth = 6;
        ASSERT_NE(UndoSyncSession(app, session), nullptr);
    }

    // The line list: data lines by their text, the file's ends as "|", special lines tagged.
    std::string Texts() const {
        std::string all;
        for (const LineRecord& line : Lines(buffer)) {
            switch (line.kind) {
                case LineKind::Data:
                    all += std::string(LineText(line));
                    break;
                case LineKind::Note:
                    all += "note:" + std::string(LineText(line));
                    break;
                case LineKind::Cols:
                    all += "cols";
                    break;
                case LineKind::ExcludedMarker:
                    all += "x" + std::to_string(line.hiddenCount);
                    break;
                default:
                    all += "|";
            }
            all += LineIsVisible(line) ? " " : "h ";
        }
        return all;
    }

    LineRecord* Data(int n) const {  // the n-th data line
        LineRecord* line = FirstDataLine(buffer);
        while (--n > 0) {
            line = NextDataLine(line);
        }
        return line;
    }

    // Types a character at a byte offset of the line (overtyping), as keystroke editing does.
    void Type(LineRecord* line, std::uint32_t offset, char ch) {
        JournalKeystroke(app, session, *line);
        ASSERT_EQ(LineReplaceText(buffer, *line, offset, offset < line->length ? 1 : 0, std::string(1, ch)),
                  0);
        buffer.modified = true;
    }

    void DeleteLines(int first, int count) {
        UndoGroup group(app, session);
        LineRecord* line = Data(first);
        for (int i = 0; i < count; ++i) {
            LineRecord* next = LineNext(line);
            LineDelete(buffer, line);
            line = next;
        }
    }

    std::uint32_t EntryCount() { return SessionUndoJournal(session)->EntryCount(); }
    std::string LastMessage() const { return app.messages.empty() ? "" : app.messages.back().text; }

    AppSession app;
    EditSession session{app};
    EditBuffer& buffer = session.buffer;
};

}  // namespace

TEST_F(UndoTest, FiveKeystrokesOnOneLineUndoAsOneStep) {
    session.view.cursorColumn = 9;  // record column 4
    LineRecord* line = Data(3);
    for (std::uint32_t i = 0; i < 5; ++i) {
        Type(line, 1 + i, static_cast<char>('a' + i));
    }
    EXPECT_EQ(LineText(*line), "3abcde");
    EXPECT_EQ(EntryCount(), 1u);
    EXPECT_TRUE(LineHasFlag(*line, LineFlagA::TextModified));

    buffer.modified = false;  // as after a SAVE: the undone state differs from the file again
    buffer.currentLine = line;
    session.view.horizontalOffset = 10;
    session.view.cursorColumn = 20;
    EXPECT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(LineText(*line), "3");
    EXPECT_FALSE(LineHasFlag(*line, LineFlagA::TextModified));
    EXPECT_TRUE(buffer.modified);
    EXPECT_EQ(EntryCount(), 0u);
    // The cursor is back in record column 4; that lies left of the view, which scrolls to it.
    EXPECT_EQ(session.view.horizontalOffset, 3);
    EXPECT_EQ(session.view.cursorColumn, 6);
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(UndoTest, TypingInAnotherLineOrAfterAnOperationIsANewStep) {
    Type(Data(1), 0, 'a');
    Type(Data(1), 1, 'b');
    Type(Data(2), 0, 'c');
    EXPECT_EQ(EntryCount(), 2u);
    EXPECT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Texts(), "| ab 2 3 4 5 6 7 8 9 10 11 12 | ");
    EXPECT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Texts(), "| 1 2 3 4 5 6 7 8 9 10 11 12 | ");

    // Back to a line after an operation: its first change is journaled again.
    Type(Data(1), 0, 'x');
    DeleteLines(5, 1);
    Type(Data(1), 1, 'y');
    EXPECT_EQ(Texts(), "| xy 2 3 4 6 7 8 9 10 11 12 | ");
    EXPECT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Texts(), "| x 2 3 4 6 7 8 9 10 11 12 | ");
    EXPECT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Texts(), "| x 2 3 4 5 6 7 8 9 10 11 12 | ");
    EXPECT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Texts(), "| 1 2 3 4 5 6 7 8 9 10 11 12 | ");
}

TEST_F(UndoTest, BlockDeleteComesBackInOrderAsOneStep) {
    LineRecord* third = Data(3);
    LineSetLabel(*third, ".AB");
    LineSetPendingCommand(*third, "DD");
    LineSetFlag(*third, LineFlagA::Error);
    LineSetFlag(*third, LineFlagA::NumberValid);
    buffer.currentLine = Data(1);
    DeleteLines(1, 10);
    EXPECT_EQ(Texts(), "| 11 12 | ");
    EXPECT_EQ(EntryCount(), 1u);  // one entry holds the whole run
    EXPECT_EQ(LineText(*buffer.currentLine), "11");

    buffer.modified = false;
    EXPECT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Texts(), "| 1 2 3 4 5 6 7 8 9 10 11 12 | ");
    EXPECT_TRUE(buffer.modified);
    EXPECT_EQ(LineText(*buffer.currentLine), "1");  // restored in front of the current line
    // The kept line lost the marks of its old place.
    EXPECT_EQ(Data(3), third);
    EXPECT_FALSE(LineHasLabel(*third));
    EXPECT_FALSE(LineHasPendingCommand(*third));
    EXPECT_FALSE(LineHasFlag(*third, LineFlagA::Error));
    EXPECT_FALSE(LineHasFlag(*third, LineFlagA::NumberValid));
    EXPECT_EQ(buffer.visibleLineCount, 14u);
}

TEST_F(UndoTest, InsertedLinesAreTakenOutAgainAndTheCursorMovesUp) {
    session.view.rowTable.assign(20, nullptr);
    {
        UndoGroup group(app, session);
        for (const char* text : {"a", "b"}) {
            LineRecord* line = LineNew(buffer, text);
            line->kind = LineKind::Data;
            ASSERT_EQ(LineInsertBefore(buffer, nullptr, line), 0);
        }
    }
    EXPECT_EQ(Texts(), "| 1 2 3 4 5 6 7 8 9 10 11 12 a b | ");
    buffer.currentLine = LinePrev(EndMarkerLine(buffer));
    session.view.cursorRow = 15;  // the row of "b"
    buffer.modified = false;
    EXPECT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Texts(), "| 1 2 3 4 5 6 7 8 9 10 11 12 | ");
    EXPECT_TRUE(buffer.modified);
    EXPECT_EQ(buffer.currentLine, EndMarkerLine(buffer));
    EXPECT_EQ(session.view.rowTable[13], EndMarkerLine(buffer));
    EXPECT_EQ(session.view.rowTable[14], nullptr);
    EXPECT_EQ(session.view.cursorRow, 13);
}

TEST_F(UndoTest, MdTurnsBackIntoNoteAndColsLines) {
    LineRecord* note = LineNew(buffer, "remember");
    note->kind = LineKind::Note;
    LineRecord* cols = LineNew(buffer, "----+----1");
    cols->kind = LineKind::Cols;
    // Special lines are linked without being journaled.
    ASSERT_EQ(LineInsertAfter(buffer, Data(1), note), 0);
    ASSERT_EQ(LineInsertAfter(buffer, note, cols), 0);
    EXPECT_EQ(EntryCount(), 0u);
    {
        UndoGroup group(app, session);
        ASSERT_EQ(MakeLinesData(buffer, note, cols), 0);
    }
    EXPECT_EQ(Texts(), "| 1 remember ----+----1 2 3 4 5 6 7 8 9 10 11 12 | ");
    ASSERT_EQ(LineEnsureColor(buffer, *note), 0);
    EXPECT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Texts(), "| 1 note:remember cols 2 3 4 5 6 7 8 9 10 11 12 | ");
    EXPECT_FALSE(LineHasFlag(*note, LineFlagA::MadeFromNote));
    EXPECT_FALSE(LineHasFlag(*cols, LineFlagA::MadeFromCols));
    EXPECT_EQ(note->color, nullptr);
}

TEST_F(UndoTest, OneOperationIsOneGroupWhateverItDoes) {
    {
        UndoGroup outer(app, session);
        JournalTextChange(app, session, *Data(2));
        ASSERT_EQ(LineSetText(buffer, *Data(2), "changed"), 0);
        JournalTextChange(app, session, *Data(2));  // second change of the line: not journaled again
        ASSERT_EQ(LineSetText(buffer, *Data(2), "changed twice"), 0);
        {
            UndoGroup inner(app, session);  // a helper's own group joins the operation's
            LineDelete(buffer, Data(4));
        }
        LineRecord* line = LineNew(buffer, "new");
        line->kind = LineKind::Data;
        ASSERT_EQ(LineInsertAfter(buffer, Data(1), line), 0);
    }
    EXPECT_EQ(EntryCount(), 3u);
    EXPECT_EQ(Texts(), "| 1 new changed twice 3 5 6 7 8 9 10 11 12 | ");
    EXPECT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Texts(), "| 1 2 3 4 5 6 7 8 9 10 11 12 | ");
    EXPECT_EQ(UndoStep(app, &session), -1);
    EXPECT_EQ(LastMessage(), kEmpty);
}

TEST_F(UndoTest, KeystrokesBeforeAnOperationStaySeparate) {
    Type(Data(1), 0, 'z');
    DeleteLines(2, 1);
    EXPECT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Texts(), "| z 2 3 4 5 6 7 8 9 10 11 12 | ");
}

TEST_F(UndoTest, MovedLinesGoBackWithoutBeingFreedTwice) {
    // M on lines 2-3 with A on line 10: the mover takes the records out and links them in again.
    LineRecord* second = Data(2);
    LineRecord* third = Data(3);
    auto move = [&](LineRecord* destination) {
        UndoGroup group(app, session);
        for (LineRecord* line : {second, third}) {
            LineRecord* successor = LineRemove(buffer, line);
            JournalMoveOut(app, session, *line, successor);
        }
        ASSERT_EQ(LineInsertAfter(buffer, destination, third), 0);
        ASSERT_EQ(LineInsertAfter(buffer, destination, second), 0);
    };
    move(Data(8));
    EXPECT_EQ(Texts(), "| 1 4 5 6 7 8 2 3 9 10 11 12 | ");
    EXPECT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Texts(), "| 1 2 3 4 5 6 7 8 9 10 11 12 | ");
    EXPECT_EQ(Data(2), second);

    // Moved twice, then the journal dropped: the lines stay on the list, alive and unmarked.
    move(Data(8));
    move(LineFirst(buffer));
    EXPECT_EQ(Texts(), "| 2 3 1 4 5 6 7 8 9 10 11 12 | ");
    UndoOff(app, session);
    EXPECT_EQ(Texts(), "| 2 3 1 4 5 6 7 8 9 10 11 12 | ");
    EXPECT_FALSE(LineHasFlag(*second, LineFlagA::UndoMark));
    EXPECT_EQ(LineText(*second), "2");
}

// Lines deleted or inserted one after the other share an entry; a line elsewhere starts another.
// An excluded-lines marker inside a deleted run is released, not journaled, and does not split it.
TEST_F(UndoTest, RunsOfDeletedAndInsertedLinesShareAnEntryAndComeBackInPlace) {
    for (int n = 4; n <= 5; ++n) {
        LineClearFlag(*Data(n), LineFlagB::Visible);
    }
    ASSERT_EQ(RebuildExcludedMarkers(buffer, 30), 0);
    EXPECT_EQ(Texts(), "| 1 2 3 x2 4h 5h 6 7 8 9 10 11 12 | ");
    {
        UndoGroup group(app, session);
        LineRecord* line = Data(3);
        for (int i = 0; i < 5; ++i) {  // 3, the marker, 4, 5, 6
            LineRecord* next = LineNext(line);
            LineDelete(buffer, line);
            line = next;
        }
        LineDelete(buffer, Data(5));  // line 9: a run of its own
        LineRecord* after = Data(5);  // line 10
        for (const char* text : {"a", "b", "c"}) {
            LineRecord* fresh = LineNew(buffer, text);
            fresh->kind = LineKind::Data;
            ASSERT_EQ(LineInsertAfter(buffer, after, fresh), 0);
            after = fresh;
        }
        LineRecord* between = LineNew(buffer, "between");
        between->kind = LineKind::Data;
        ASSERT_EQ(LineInsertAfter(buffer, Data(6), between), 0);  // behind "a": not the run's end
    }
    EXPECT_EQ(Texts(), "| 1 2 7 8 10 a between b c 11 12 | ");
    EXPECT_EQ(EntryCount(), 4u);
    EXPECT_EQ(UndoStep(app, &session), 0);
    // Deleted lines come back shown, so the marker has nothing left to stand for.
    EXPECT_EQ(Texts(), "| 1 2 3 4 5 6 7 8 9 10 11 12 | ");
    EXPECT_EQ(LineCount(buffer), 14u);
    EXPECT_EQ(buffer.visibleLineCount, 14u);
    for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
        EXPECT_EQ(line->recordNumber, static_cast<std::uint32_t>(std::stoi(std::string(LineText(*line)))));
    }

    // Dropping a journal that keeps a run releases every line of it.
    RecordPool* pool = buffer.linePool;
    const int freeBefore = SListCount(&pool->freeList);
    DeleteLines(2, 4);
    EXPECT_EQ(EntryCount(), 1u);
    UndoOff(app, session);
    EXPECT_EQ(SListCount(&pool->freeList), freeBefore + 4);
}

TEST_F(UndoTest, UndoPastTheStartChangesNothing) {
    EXPECT_EQ(UndoStep(app, &session), -1);
    EXPECT_EQ(LastMessage(), kEmpty);
    DeleteLines(1, 1);
    UndoCommand(app, &session, "");
    EXPECT_EQ(app.messages.size(), 1u);
    UndoCommand(app, &session, "");
    EXPECT_EQ(app.messages.size(), 2u);
    EXPECT_EQ(LastMessage(), kEmpty);
    EXPECT_EQ(Texts(), "| 1 2 3 4 5 6 7 8 9 10 11 12 | ");
    EXPECT_EQ(UndoStep(app, nullptr), -1);
    EXPECT_EQ(LastMessage(), "Not in Edit, command ignored.");
}

TEST_F(UndoTest, NumberAndAllTakeSeveralGroups) {
    DeleteLines(1, 1);
    DeleteLines(1, 1);
    DeleteLines(1, 1);
    DeleteLines(1, 1);
    UndoCommand(app, &session, "2");
    EXPECT_EQ(Texts(), "| 3 4 5 6 7 8 9 10 11 12 | ");
    UndoCommand(app, &session, "0");
    EXPECT_EQ(Texts(), "| 3 4 5 6 7 8 9 10 11 12 | ");
    // More steps than groups: stops quietly when the journal runs empty.
    UndoCommand(app, &session, "3");
    EXPECT_EQ(Texts(), "| 1 2 3 4 5 6 7 8 9 10 11 12 | ");
    EXPECT_TRUE(app.messages.empty());
    UndoCommand(app, &session, "3");
    EXPECT_EQ(LastMessage(), kEmpty);

    DeleteLines(5, 2);
    DeleteLines(1, 1);
    UndoCommand(app, &session, "all");
    EXPECT_EQ(Texts(), "| 1 2 3 4 5 6 7 8 9 10 11 12 | ");
    EXPECT_EQ(app.messages.size(), 1u);
    UndoCommand(app, &session, "99999999999999999999");
    EXPECT_EQ(app.messages.size(), 2u);
}

TEST_F(UndoTest, ClearOnOffToggleAndBadParameters) {
    DeleteLines(1, 2);
    UndoCommand(app, &session, " clear ");
    EXPECT_EQ(EntryCount(), 0u);
    EXPECT_TRUE(app.messages.empty());

    DeleteLines(1, 1);
    UndoCommand(app, &session, "OFF");
    EXPECT_EQ(VarGetValue(app, "ZUNDO"), "FALSE");
    EXPECT_EQ(SessionUndoJournal(session), nullptr);
    EXPECT_EQ(buffer.journal, nullptr);
    UndoCommand(app, &session, "");
    EXPECT_EQ(LastMessage(), kEmpty);
    // Nothing is journaled while off, and nothing from before comes back when UNDO is on again.
    DeleteLines(1, 1);
    Type(Data(1), 0, 'q');
    UndoCommand(app, &session, "toggle");
    EXPECT_EQ(VarGetValue(app, "ZUNDO"), "TRUE");
    ASSERT_NE(SessionUndoJournal(session), nullptr);
    EXPECT_EQ(EntryCount(), 0u);
    Type(Data(1), 1, 'r');  // the mark of the change made while off does not hide this one
    EXPECT_EQ(EntryCount(), 1u);
    UndoCommand(app, &session, "TOGGLE");
    EXPECT_EQ(VarGetValue(app, "ZUNDO"), "FALSE");
    UndoCommand(app, &session, "on");
    EXPECT_EQ(VarGetValue(app, "ZUNDO"), "TRUE");
    EXPECT_TRUE(UndoEnabled(app));

    std::size_t before = app.messages.size();
    for (const char* bad : {"-1", "2X", "ALL CLEAR", "UNDO"}) {
        UndoCommand(app, &session, bad);
        EXPECT_EQ(LastMessage(), "UNDO: invalid parameter") << bad;
    }
    EXPECT_EQ(app.messages.size(), before + 4);
}

TEST_F(UndoTest, OffAppliesToEverySessionOfTheInstance) {
    app.editSessions.emplace_back(new EditSession(app));
    EditSession& other = *app.editSessions.back();
    LineRecord* line = LineNew(other.buffer, "x");
    line->kind = LineKind::Data;
    ASSERT_EQ(LineInsertBefore(other.buffer, nullptr, line), 0);
    ASSERT_NE(UndoSyncSession(app, other), nullptr);
    LineDelete(other.buffer, line);
    EXPECT_EQ(SessionUndoJournal(other)->EntryCount(), 1u);
    UndoCommand(app, &session, "OFF");
    EXPECT_EQ(SessionUndoJournal(other), nullptr);
    UndoCommand(app, &session, "ON");
    EXPECT_NE(SessionUndoJournal(other), nullptr);
    EXPECT_EQ(UndoStep(app, &other), -1);
}

TEST_F(UndoTest, OffReleasesKeptLinesCopiesAndThePool) {
    RecordPool* lines = buffer.linePool;
    int freeBefore = SListCount(&lines->freeList);
    Type(Data(1), 0, 'a');  // one saved copy
    DeleteLines(2, 3);      // three kept lines
    UndoOff(app, session);
    EXPECT_EQ(SListCount(&lines->freeList), freeBefore + 4);
    EXPECT_EQ(buffer.journalOwner, nullptr);
    // Ending the session with a full journal releases it with the buffer.
    ASSERT_EQ(UndoOn(app, session), 0);
    DeleteLines(1, 2);
}

TEST_F(UndoTest, PaddedLinesOfStrippingFilesAreKeptStripped) {
    buffer.profile.recordFormat = Recfm::Variable;
    buffer.profile.stripTrailingBlanks = true;
    ASSERT_EQ(LinePadTo(buffer, *Data(1), 6), 0);
    ASSERT_EQ(LinePadTo(buffer, *Data(2), 6), 0);
    Type(Data(1), 0, 'X');
    DeleteLines(2, 1);
    UndoCommand(app, &session, "ALL");
    EXPECT_EQ(LineText(*Data(1)), "1");
    EXPECT_EQ(LineText(*Data(2)), "2");
    EXPECT_FALSE(LineHasFlag(*Data(2), LineFlagA::BlankPadded));

    // Without the strip setting the padding is part of the text and comes back.
    buffer.profile.stripTrailingBlanks = false;
    ASSERT_EQ(LinePadTo(buffer, *Data(3), 4), 0);
    Type(Data(3), 0, 'Y');
    (void)UndoStep(app, &session);
    EXPECT_EQ(LineText(*Data(3)), "3   ");
    EXPECT_TRUE(LineHasFlag(*Data(3), LineFlagA::BlankPadded));
}

TEST_F(UndoTest, ExcludedMarkersAreRebuiltAroundRestoredLines) {
    // Lines 4-6 excluded behind one marker, which is also the top line of the window.
    for (int n = 4; n <= 6; ++n) {
        LineClearFlag(*Data(n), LineFlagB::Visible);
    }
    ASSERT_EQ(RebuildExcludedMarkers(buffer, 30), 0);
    LineRecord* marker = LinePrev(Data(4));
    session.view.topLine = marker;
    EXPECT_EQ(Texts(), "| 1 2 3 x3 4h 5h 6h 7 8 9 10 11 12 | ");
    DeleteLines(3, 1);                                 // line 3 stood in front of the marker
    DeleteLines(4, 1);                                 // a hidden line
    EXPECT_EQ(RebuildExcludedMarkers(buffer, 30), 0);  // releases the old marker
    EXPECT_EQ(Texts(), "| 1 2 x2 4h 6h 7 8 9 10 11 12 | ");
    session.view.topLine = LinePrev(Data(4));

    UndoCommand(app, &session, "ALL");
    EXPECT_EQ(Texts(), "| 1 2 3 x1 4h 5 x1 6h 7 8 9 10 11 12 | ");
    EXPECT_EQ(LineLength(*LinePrev(Data(4))), 30u);
    EXPECT_EQ(session.view.topLine, Data(3));  // restored in front of the top line: shown
    EXPECT_EQ(buffer.visibleLineCount, 14u);
}

TEST_F(UndoTest, PlaceholdersOfAnInsertAreSettledAndTakenBack) {
    {
        UndoGroup group(app, session);
        for (int i = 0; i < 2; ++i) {
            LineRecord* line = LineNew(buffer, {});
            line->kind = LineKind::Data;
            LineSetFlag(*line, LineFlagA::InsertPending);
            ASSERT_EQ(LineInsertAfter(buffer, Data(1), line), 0);
        }
    }
    EXPECT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(Texts(), "| 1 2 3 4 5 6 7 8 9 10 11 12 | ");
}

TEST_F(UndoTest, UnjournaledLinesAndMarkersAreLeftAlone) {
    LineRecord* loose = LineNew(buffer, "loose");
    loose->kind = LineKind::Data;
    JournalTextChange(app, session, *loose);  // not on the list: nothing to restore it into
    EXPECT_EQ(EntryCount(), 0u);
    LineFree(buffer, loose);
    JournalTextChange(app, session, *LineFirst(buffer));
    EXPECT_EQ(EntryCount(), 0u);
}

TEST(UndoRegistration, UndoVerbReachesTheJournal) {
    AppSession app;
    EditSession session(app);
    const CommandDesc* undo = ProgramCommands().Find(CommandTable::Edit, "UNDO");
    ASSERT_NE(undo, nullptr);
    ASSERT_NE(undo->edit, nullptr);
    undo->edit(app, session, "bogus");
    ASSERT_FALSE(app.messages.empty());
    EXPECT_EQ(app.messages.back().text, "UNDO: invalid parameter");
}
