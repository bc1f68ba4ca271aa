#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/make_data.h"
#include "core/app_session.h"

using namespace tavoe;

namespace {

class RecordingJournal : public LineJournal {
public:
    void JournalInsert(EditBuffer&, LineRecord& line) override { inserted.push_back(&line); }
    void JournalDelete(EditBuffer&, LineRecord&, LineRecord*) override {}
    std::vector<LineRecord*> inserted;
};

class CountingColorizer : public LineColorizer {
public:
    void ColorizeLine(EditBuffer&, LineRecord&) override { ++calls; }
    int calls = 0;
};

class ExcludedLinesTest : public ::testing::Test {
protected:
    void Load(int n) {
        for (int i = 1; i <= n; ++i) {
            LineRecord* line = LineNew(buffer, std::to_string(i));
            line->kind = LineKind::Data;
            LineAppendLoaded(buffer, line);
        }
        (void)AppendEndMarker(buffer, LoadEnd::Complete);
    }

    LineRecord* Data(int n) const {  // the data line with text n
        for (LineRecord& line : Lines(buffer)) {
            if (line.kind == LineKind::Data && LineText(line) == std::to_string(n)) {
                return &line;
            }
        }
        return nullptr;
    }

    void Hide(std::initializer_list<int> numbers) {
        for (int n : numbers) {
            LineClearFlag(*Data(n), LineFlagB::Visible);
        }
    }

    // The shown rows: data lines by text, markers as "[count]".
    std::string Rows() const {
        std::string rows;
        for (const LineRecord& line : Lines(buffer)) {
            if (line.kind == LineKind::ExcludedMarker) {
                rows += "[" + std::to_string(line.hiddenCount) + "] ";
            } else if (line.kind == LineKind::Data && LineIsVisible(line)) {
                rows += std::string(LineText(line)) + " ";
            }
        }
        return rows;
    }

    AppSession app;
    EditBuffer buffer{app};
};

}  // namespace

TEST_F(ExcludedLinesTest, MarkerTextIsCentredInDashes) {
    LineRecord* marker = LineNew(buffer, "");
    ASSERT_EQ(MakeExcludedMarker(buffer, *marker, 40, 3), 0);
    std::string expected = std::string(11, '-') + " 3 lines excluded " + std::string(11, '-');
    EXPECT_EQ(LineText(*marker), expected);
    EXPECT_EQ(marker->length, 40u);
    EXPECT_EQ(marker->capacity, 256u);
    EXPECT_EQ(marker->hiddenCount, 3u);
    EXPECT_EQ(marker->kind, LineKind::ExcludedMarker);

    ASSERT_EQ(MakeExcludedMarker(buffer, *marker, 22, 12), 0);  // odd difference: the extra dash right
    EXPECT_EQ(LineText(*marker), "- 12 lines excluded --");
    ASSERT_EQ(MakeExcludedMarker(buffer, *marker, 5, 7), 0);  // narrower than the text
    EXPECT_EQ(LineText(*marker), " 7 lines excluded ");
    ASSERT_EQ(MakeExcludedMarker(buffer, *marker, 1000, 1), 0);  // limited to 256
    EXPECT_EQ(marker->length, 256u);
    EXPECT_EQ(marker->text[0], '-');
    EXPECT_EQ(marker->text[255], '-');
    LineFree(buffer, marker);
}

TEST_F(ExcludedLinesTest, RebuildPutsOneMarkerBeforeEachRun) {
    Load(8);
    Hide({2, 3, 4, 7});
    ASSERT_EQ(RebuildExcludedMarkers(buffer, 30), 0);
    EXPECT_EQ(Rows(), "1 [3] 5 6 [1] 8 ");
    EXPECT_EQ(LineNext(Data(1))->kind, LineKind::ExcludedMarker);
    EXPECT_EQ(LineNext(LineNext(Data(1))), Data(2));
    EXPECT_EQ(LineNext(Data(1))->length, 30u);
    // Shown rows: top, 1, marker, 5, 6, marker, 8, end.
    EXPECT_EQ(buffer.visibleLineCount, 8u);
    EXPECT_FALSE(buffer.modified);

    // Showing line 3 splits the first run; the old markers go.
    LineSetFlag(*Data(3), LineFlagB::Visible);
    ASSERT_EQ(RebuildExcludedMarkers(buffer, 30), 0);
    EXPECT_EQ(Rows(), "1 [1] 3 [1] 5 6 [1] 8 ");
    EXPECT_EQ(LineCount(buffer), 13u);

    // Everything shown again: no marker is left.
    for (LineRecord& line : Lines(buffer)) {
        LineSetFlag(line, LineFlagB::Visible);
    }
    ASSERT_EQ(RebuildExcludedMarkers(buffer, 30), 0);
    EXPECT_EQ(Rows(), "1 2 3 4 5 6 7 8 ");
    EXPECT_EQ(LineCount(buffer), 10u);
    EXPECT_EQ(buffer.visibleLineCount, 10u);
}

TEST_F(ExcludedLinesTest, HiddenCurrentLineBecomesItsMarker) {
    Load(5);
    buffer.currentLine = Data(3);
    Hide({2, 3, 4});
    ASSERT_EQ(RebuildExcludedMarkers(buffer, 20), 0);
    ASSERT_EQ(buffer.currentLine->kind, LineKind::ExcludedMarker);
    EXPECT_EQ(LineNext(buffer.currentLine), Data(2));
    // A current marker that goes away hands over to the line after it, or to that line's marker
    // when it is still hidden.
    LineSetFlag(*Data(2), LineFlagB::Visible);
    ASSERT_EQ(RebuildExcludedMarkers(buffer, 20), 0);
    EXPECT_EQ(buffer.currentLine, Data(2));
    LineClearFlag(*Data(2), LineFlagB::Visible);
    LineSetFlag(*Data(3), LineFlagB::Visible);
    LineSetFlag(*Data(4), LineFlagB::Visible);
    ASSERT_EQ(RebuildExcludedMarkers(buffer, 20), 0);  // Data 2 was current and is hidden now
    buffer.currentLine = LineNext(Data(1));
    ASSERT_EQ(buffer.currentLine->kind, LineKind::ExcludedMarker);
    LineSetFlag(*Data(3), LineFlagB::Visible);
    LineClearFlag(*Data(4), LineFlagB::Visible);
    ASSERT_EQ(RebuildExcludedMarkers(buffer, 20), 0);
    ASSERT_EQ(buffer.currentLine->kind, LineKind::ExcludedMarker);
    EXPECT_EQ(buffer.currentLine->hiddenCount, 1u);
    EXPECT_EQ(LineNext(buffer.currentLine), Data(2));
}

TEST_F(ExcludedLinesTest, RangeEndReachesThroughHiddenLines) {
    Load(5);
    Hide({3, 4});
    ASSERT_EQ(RebuildExcludedMarkers(buffer, 20), 0);
    LineRecord* marker = LineNext(Data(2));
    EXPECT_EQ(RangeEndThroughHidden(marker), Data(4));
    EXPECT_EQ(RangeEndThroughHidden(Data(2)), Data(2));
    EXPECT_EQ(RangeEndThroughHidden(nullptr), nullptr);
}

TEST_F(ExcludedLinesTest, MakeDataConvertsNoteAndColsLines) {
    Load(2);
    RecordingJournal journal;
    CountingColorizer colorizer;
    buffer.journal = &journal;
    buffer.colorizer = &colorizer;
    LineRecord* note = LineNew(buffer, "remember");
    note->kind = LineKind::Note;
    LineRecord* cols = LineNew(buffer, "----+----1");
    cols->kind = LineKind::Cols;
    ASSERT_EQ(LineInsertBefore(buffer, Data(1), note), 0);
    ASSERT_EQ(LineInsertBefore(buffer, Data(1), cols), 0);
    ASSERT_EQ(MakeLinesData(buffer, note, cols), 0);
    EXPECT_EQ(note->kind, LineKind::Data);
    EXPECT_EQ(cols->kind, LineKind::Data);
    EXPECT_TRUE(LineHasFlag(*note, LineFlagA::MadeFromNote));
    EXPECT_TRUE(LineHasFlag(*cols, LineFlagA::MadeFromCols));
    EXPECT_FALSE(LineHasFlag(*note, LineFlagA::MadeFromCols));
    EXPECT_EQ(journal.inserted, (std::vector<LineRecord*>{note, cols}));
    EXPECT_EQ(colorizer.calls, 2);
    EXPECT_TRUE(buffer.modified);
    EXPECT_TRUE(app.messages.empty());
    buffer.journal = nullptr;
}

TEST_F(ExcludedLinesTest, MakeDataRefusesOtherKindsOncePerCall) {
    Load(3);
    LineRecord* bounds = LineNew(buffer, "<    >");
    bounds->kind = LineKind::Bounds;
    LineRecord* note = LineNew(buffer, "note");
    note->kind = LineKind::Note;
    (void)LineInsertAfter(buffer, Data(1), bounds);
    (void)LineInsertAfter(buffer, bounds, note);
    // Data 1, bounds, note, data 2: two lines that cannot be converted, one message.
    EXPECT_EQ(MakeLinesData(buffer, Data(1), Data(2)), -1);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text, "Only NOTE and COLS lines can be converted to data.");
    EXPECT_EQ(note->kind, LineKind::Data);  // what could be converted was
    EXPECT_EQ(bounds->kind, LineKind::Bounds);
}

TEST_F(ExcludedLinesTest, MakeDataRangeEndingOnMarkerCoversHiddenLines) {
    Load(3);
    LineRecord* note1 = LineNew(buffer, "one");
    LineRecord* note2 = LineNew(buffer, "two");
    note1->kind = note2->kind = LineKind::Note;
    (void)LineInsertAfter(buffer, Data(3), note1);
    (void)LineInsertAfter(buffer, note1, note2);
    LineClearFlag(*note1, LineFlagB::Visible);
    LineClearFlag(*note2, LineFlagB::Visible);
    ASSERT_EQ(RebuildExcludedMarkers(buffer, 20), 0);
    LineRecord* marker = LineNext(Data(3));
    ASSERT_EQ(marker->kind, LineKind::ExcludedMarker);
    ASSERT_EQ(MakeLinesData(buffer, marker, marker), 0);
    EXPECT_EQ(note1->kind, LineKind::Data);
    EXPECT_EQ(note2->kind, LineKind::Data);
    EXPECT_TRUE(app.messages.empty());
}
