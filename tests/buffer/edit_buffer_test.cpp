#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "core/app_session.h"

using namespace tavoe;

namespace {

// Records what the line list reports to the undo journal, and keeps deleted lines as the journal
// does (the buffer releases them with its pool).
class RecordingJournal : public LineJournal {
public:
    void JournalInsert(EditBuffer&, LineRecord& line) override { inserted.push_back(&line); }
    void JournalDelete(EditBuffer&, LineRecord& line, LineRecord* successor) override {
        deleted.push_back(&line);
        successors.push_back(successor);
    }
    std::vector<LineRecord*> inserted;
    std::vector<LineRecord*> deleted;
    std::vector<LineRecord*> successors;
};

class EditBufferTest : public ::testing::Test {
protected:
    LineRecord* Data(std::string_view text) {
        LineRecord* line = LineNew(buffer, text);
        line->kind = LineKind::Data;
        return line;
    }

    // Loads lines "1".."n" and the end marker, as loading does.
    void Load(int n) {
        for (int i = 1; i <= n; ++i) {
            LineRecord* line = Data(std::to_string(i));
            line->recordNumber = static_cast<std::uint32_t>(i);
            LineAppendLoaded(buffer, line);
        }
        ASSERT_EQ(AppendEndMarker(buffer, LoadEnd::Complete), 0);
    }

    std::string Texts() const {
        std::string all;
        for (const LineRecord& line : Lines(buffer)) {
            all += line.kind == LineKind::Data ? std::string(LineText(line)) : "|";
            all += ' ';
        }
        return all;
    }

    LineRecord* Nth(int n) const {  // the n-th line, the top marker being 0
        LineRecord* line = LineFirst(buffer);
        while (n-- > 0) {
            line = LineNext(line);
        }
        return line;
    }

    AppSession app;
    EditBuffer buffer{app};
};

}  // namespace

TEST_F(EditBufferTest, NewBufferHoldsTopMarkerOnly) {
    ASSERT_EQ(LineCount(buffer), 1u);
    LineRecord* top = LineFirst(buffer);
    EXPECT_EQ(top->kind, LineKind::TopMarker);
    EXPECT_EQ(LineText(*top), "*** Top of File ***");
    EXPECT_EQ(buffer.currentLine, top);
    EXPECT_EQ(buffer.visibleLineCount, 1u);
    EXPECT_EQ(EndMarkerLine(buffer), nullptr);
    EXPECT_EQ(FirstDataLine(buffer), nullptr);
    EXPECT_EQ(buffer.linePool->recordSize, sizeof(LineRecord));
}

TEST_F(EditBufferTest, LoadingAppendsInOrderWithoutMarkingModified) {
    Load(3);
    EXPECT_EQ(Texts(), "| 1 2 3 | ");
    EXPECT_EQ(LineText(*EndMarkerLine(buffer)), "*** Bottom of File ***");
    EXPECT_FALSE(buffer.modified);
    EXPECT_EQ(buffer.visibleLineCount, 5u);
    EXPECT_EQ(AppendEndMarker(buffer, LoadEnd::Aborted), 0);  // already there: unchanged
    EXPECT_EQ(LineCount(buffer), 5u);
    // A later batch goes in front of the end marker.
    LineAppendLoaded(buffer, Data("4"));
    EXPECT_EQ(Texts(), "| 1 2 3 4 | ");
}

TEST_F(EditBufferTest, AbortedLoadGetsItsMarker) {
    LineAppendLoaded(buffer, Data("1"));
    ASSERT_EQ(AppendEndMarker(buffer, LoadEnd::Aborted), 0);
    EXPECT_EQ(LineText(*LineLast(buffer)), "*** File Load Aborted ***");
    EXPECT_EQ(LineLast(buffer)->kind, LineKind::EndMarker);
}

TEST_F(EditBufferTest, WalkingDataLinesSkipsSpecialLines) {
    Load(3);
    LineRecord* note = LineNew(buffer, "a note");
    note->kind = LineKind::Note;
    ASSERT_EQ(LineInsertAfter(buffer, Nth(1), note), 0);
    EXPECT_EQ(LineText(*FirstDataLine(buffer)), "1");
    EXPECT_EQ(LineText(*LastDataLine(buffer)), "3");
    EXPECT_EQ(LineText(*NextDataLine(FirstDataLine(buffer))), "2");
    EXPECT_EQ(LineText(*PrevDataLine(LastDataLine(buffer))), "2");
    EXPECT_EQ(PrevDataLine(FirstDataLine(buffer)), nullptr);
    EXPECT_EQ(NextDataLine(LastDataLine(buffer)), nullptr);
    std::string backwards;
    for (LineRecord* line = LineLast(buffer); line != nullptr; line = LinePrev(line)) {
        backwards += std::to_string(static_cast<int>(line->kind));
    }
    EXPECT_EQ(backwards,
              "29979"
              "1");
}

TEST_F(EditBufferTest, InsertingDataMarksModifiedJournalsAndTakesCurrentLine) {
    Load(2);
    RecordingJournal journal;
    buffer.journal = &journal;
    LineRecord* second = Nth(2);
    buffer.currentLine = second;
    LineRecord* line = Data("new");
    ASSERT_EQ(LineInsertBefore(buffer, second, line), 0);
    EXPECT_EQ(Texts(), "| 1 new 2 | ");
    EXPECT_EQ(buffer.currentLine, line);
    EXPECT_TRUE(buffer.modified);
    ASSERT_EQ(journal.inserted.size(), 1u);
    EXPECT_EQ(journal.inserted[0], line);
    EXPECT_EQ(buffer.visibleLineCount, 5u);

    // A special line is neither a change of the data nor journaled; after insert keeps the current.
    buffer.modified = false;
    LineRecord* cols = LineNew(buffer, "----+");
    cols->kind = LineKind::Cols;
    ASSERT_EQ(LineInsertAfter(buffer, line, cols), 0);
    EXPECT_FALSE(buffer.modified);
    EXPECT_EQ(journal.inserted.size(), 1u);
    EXPECT_EQ(buffer.currentLine, line);
    EXPECT_EQ(LineNext(line), cols);
    buffer.journal = nullptr;
}

TEST_F(EditBufferTest, InsertionsKeepTheMarkersAtTheEnds) {
    Load(1);
    LineRecord* line = Data("x");
    EXPECT_EQ(LineInsertBefore(buffer, LineFirst(buffer), line), -1);
    EXPECT_EQ(LineInsertAfter(buffer, EndMarkerLine(buffer), line), -1);
    EXPECT_EQ(LineCount(buffer), 3u);
    ASSERT_EQ(LineInsertAfter(buffer, LineFirst(buffer), line), 0);        // after the top: fine
    EXPECT_EQ(LineInsertBefore(buffer, EndMarkerLine(buffer), line), -1);  // already linked
    LineRecord* last = Data("y");
    ASSERT_EQ(LineInsertBefore(buffer, nullptr, last), 0);  // end of the data
    EXPECT_EQ(Texts(), "| x 1 y | ");
    EXPECT_EQ(LineCount(buffer), 5u);
}

TEST_F(EditBufferTest, RemoveMovesCurrentLineAndKeepsTopMarker) {
    Load(3);
    LineRecord* second = Nth(2);
    buffer.currentLine = second;
    buffer.modified = false;
    LineRecord* third = Nth(3);
    EXPECT_EQ(LineRemove(buffer, second), third);
    EXPECT_EQ(LineText(*buffer.currentLine), "3");
    EXPECT_TRUE(buffer.modified);
    EXPECT_EQ(Texts(), "| 1 3 | ");
    EXPECT_EQ(buffer.visibleLineCount, 4u);
    LineFree(buffer, second);

    EXPECT_EQ(LineRemove(buffer, LineFirst(buffer)), nullptr);
    EXPECT_EQ(LineFirst(buffer)->kind, LineKind::TopMarker);
    LineFree(buffer, LineFirst(buffer));  // freeing a linked top marker is refused as well
    EXPECT_EQ(LineFirst(buffer)->kind, LineKind::TopMarker);
    EXPECT_EQ(LineCount(buffer), 4u);

    // The last line going away hands the current line to the one before it.
    LineRecord* end = EndMarkerLine(buffer);
    buffer.currentLine = end;
    LineRemove(buffer, end);
    EXPECT_EQ(LineText(*buffer.currentLine), "3");
    LineFree(buffer, end);
}

TEST_F(EditBufferTest, DeleteGoesToJournalWhenUndoIsOn) {
    Load(3);
    RecordingJournal journal;
    buffer.journal = &journal;
    LineRecord* second = Nth(2);
    LineDelete(buffer, second);
    ASSERT_EQ(journal.deleted.size(), 1u);
    EXPECT_EQ(journal.deleted[0], second);
    EXPECT_EQ(journal.successors[0], Nth(2));
    EXPECT_EQ(LineText(*second), "2");  // kept intact for the journal
    buffer.journal = nullptr;

    TextPage* page = Nth(1)->textPage;
    std::uint32_t freeCount = page->freeCount;
    LineDelete(buffer, Nth(1));
    EXPECT_EQ(page->freeCount, freeCount + 1);  // released
    EXPECT_EQ(Texts(), "| 3 | ");
}

TEST_F(EditBufferTest, MoveRangeRelinksBothWays) {
    Load(6);
    // Lines 2..3 in front of line 6.
    ASSERT_EQ(LineMoveRange(buffer, Nth(2), Nth(3), Nth(6)), 0);
    EXPECT_EQ(Texts(), "| 1 4 5 2 3 6 | ");
    // Lines 5..3 (positions 3..5) to the front of the data.
    ASSERT_EQ(LineMoveRange(buffer, Nth(3), Nth(5), Nth(1)), 0);
    EXPECT_EQ(Texts(), "| 5 2 3 1 4 6 | ");
    // To the end of the file, in front of the end marker.
    ASSERT_EQ(LineMoveRange(buffer, Nth(1), Nth(1), EndMarkerLine(buffer)), 0);
    EXPECT_EQ(Texts(), "| 2 3 1 4 6 5 | ");
    EXPECT_EQ(LineCount(buffer), 8u);
    std::string backwards;
    for (LineRecord* line = LinePrev(LineLast(buffer)); line != LineFirst(buffer); line = LinePrev(line)) {
        backwards += std::string(LineText(*line));
    }
    EXPECT_EQ(backwards, "564132");
    EXPECT_TRUE(buffer.modified);
}

TEST_F(EditBufferTest, MoveRangeRefusesImpossibleMoves) {
    Load(4);
    EXPECT_EQ(LineMoveRange(buffer, Nth(1), Nth(3), Nth(2)), -1);  // destination inside
    EXPECT_EQ(LineMoveRange(buffer, Nth(3), Nth(1), Nth(4)), -1);  // last before first
    EXPECT_EQ(LineMoveRange(buffer, Nth(2), Nth(3), Nth(0)), -1);  // in front of the top marker
    EXPECT_EQ(LineMoveRange(buffer, Nth(0), Nth(1), Nth(3)), -1);  // the top marker itself
    EXPECT_EQ(LineMoveRange(buffer, Nth(1), Nth(2), Nth(3)), 0);   // already in place
    EXPECT_EQ(Texts(), "| 1 2 3 4 | ");
}

TEST_F(EditBufferTest, ScratchBuffersFollowTheProfilesRecordLength) {
    buffer.profile.maxRecordLength = 100;
    char* first = RecBufGet(buffer);
    ASSERT_NE(first, nullptr);
    first[107] = 'x';
    EXPECT_EQ(RecBufRelease(buffer, first), 0);
    buffer.profile.maxRecordLength = 200;
    char* larger = RecBufGet(buffer);
    ASSERT_NE(larger, nullptr);
    larger[207] = 'x';
    EXPECT_EQ(DListCount(&buffer.recordBuffers), 1u);
    EXPECT_GT(EditBufferBytesHeld(buffer), 208u);
}
