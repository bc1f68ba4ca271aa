#include <gtest/gtest.h>

#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/line_record.h"
#include "core/app_session.h"

using namespace tavoe;

namespace {

class LineRecordTest : public ::testing::Test {
protected:
    LineRecord* Make(std::string_view text) {
        LineRecord* line = LineNew(buffer, text);
        EXPECT_NE(line, nullptr);
        line->kind = LineKind::Data;
        return line;
    }

    AppSession app;
    EditBuffer buffer{app};
};

}  // namespace

TEST_F(LineRecordTest, NewLineDefaults) {
    LineRecord* line = LineNew(buffer, "hello");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(LineText(*line), "hello");
    EXPECT_EQ(line->capacity, 8u);
    EXPECT_EQ(line->kind, LineKind::None);
    EXPECT_EQ(LinePendingCommand(*line), "         ");
    EXPECT_EQ(LineLabelField(*line), "         ");
    EXPECT_EQ(line->pendingCommand[9], '\0');
    EXPECT_FALSE(LineHasPendingCommand(*line));
    EXPECT_FALSE(LineHasLabel(*line));
    EXPECT_TRUE(LineIsVisible(*line));
    EXPECT_EQ(line->flagsA, 0);
    EXPECT_EQ(line->flagsB, static_cast<std::uint8_t>(LineFlagB::Visible));
    EXPECT_FALSE(LineHasSelection(*line));
    EXPECT_EQ(line->color, nullptr);
    EXPECT_EQ(line->recordNumber, 0u);
    LineFree(buffer, line);
}

TEST_F(LineRecordTest, EmptyLineHasNoBuffer) {
    LineRecord* line = LineNew(buffer, "");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text, nullptr);
    EXPECT_EQ(line->textPage, nullptr);
    EXPECT_EQ(line->capacity, 0u);
    EXPECT_EQ(LineEnsureColor(buffer, *line), 0);
    EXPECT_EQ(line->color, nullptr);
    LineFree(buffer, line);
}

TEST_F(LineRecordTest, OverlongTextIsRefusedWithMessage) {
    std::string text(64001, 'x');
    EXPECT_EQ(LineNew(buffer, text), nullptr);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text, "Individual record length exceeds 64000.");
    LineRecord* line = Make("abc");
    EXPECT_EQ(LineSetText(buffer, *line, text), -1);
    EXPECT_EQ(LineText(*line), "abc");
    EXPECT_EQ(LinePadTo(buffer, *line, 64001), -1);
    EXPECT_EQ(LineText(*line), "abc");
    text.resize(64000);
    EXPECT_EQ(LineSetText(buffer, *line, text), 0);
    EXPECT_EQ(line->capacity, 64000u);
}

TEST_F(LineRecordTest, FreeReleasesSlotsAndIgnoresSecondFree) {
    LineRecord* line = Make("0123456789");
    ASSERT_EQ(LineEnsureColor(buffer, *line), 0);
    TextPage* page = line->textPage;
    TextPage* colorPage = line->colorPage;
    EXPECT_EQ(page, colorPage);  // same class: text and colour share pages
    std::uint32_t before = page->freeCount;
    LineFree(buffer, line);
    EXPECT_EQ(page->freeCount, before + 2);
    LineFree(buffer, line);  // already released: nothing happens, nothing reported
    EXPECT_EQ(page->freeCount, before + 2);
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(LineRecordTest, DuplicateCopiesTextKindColourAndHighlightOnly) {
    LineRecord* line = Make("SOME DATA");
    line->hiddenCount = 4;
    line->recordNumber = 17;
    LineSetLabel(*line, ".ABC");
    LineSetPendingCommand(*line, "CC");
    LineSetFlag(*line, LineFlagB::Highlighted);
    LineSetFlag(*line, LineFlagB::Changed);
    LineSetFlag(*line, LineFlagA::Error);
    LineSetSelStart(*line, 2);
    LineSetSelEnd(*line, 4);
    ASSERT_EQ(LineEnsureColor(buffer, *line), 0);
    for (std::uint32_t i = 0; i < line->length; ++i) {
        line->color[i] = static_cast<std::uint8_t>(0x10 + i);
    }
    LineRecord* copy = LineDuplicate(buffer, *line);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(LineText(*copy), "SOME DATA");
    EXPECT_NE(copy->text, line->text);
    EXPECT_EQ(copy->kind, LineKind::Data);
    EXPECT_EQ(copy->hiddenCount, 4u);
    EXPECT_EQ(copy->recordNumber, 0u);
    ASSERT_NE(copy->color, nullptr);
    EXPECT_NE(copy->color, line->color);
    EXPECT_EQ(copy->color[8], 0x18);
    EXPECT_TRUE(LineHasFlag(*copy, LineFlagB::Highlighted));
    EXPECT_TRUE(LineIsVisible(*copy));
    EXPECT_FALSE(LineHasFlag(*copy, LineFlagB::Changed));
    EXPECT_FALSE(LineHasFlag(*copy, LineFlagA::Error));
    EXPECT_FALSE(LineHasLabel(*copy));
    EXPECT_FALSE(LineHasPendingCommand(*copy));
    EXPECT_FALSE(LineHasSelection(*copy));
}

TEST_F(LineRecordTest, SetTextKeepsSlotWithinClassAndMovesOtherwise) {
    LineRecord* line = Make("ABCDEFGHIJ");  // 16-byte slot
    char* slot = line->text;
    ASSERT_EQ(LineEnsureColor(buffer, *line), 0);
    ASSERT_EQ(LineSetText(buffer, *line, "abcdefghijklm"), 0);
    EXPECT_EQ(line->text, slot);
    EXPECT_NE(line->color, nullptr);
    TextPage* oldPage = line->textPage;
    std::uint32_t oldFree = oldPage->freeCount;
    ASSERT_EQ(LineSetText(buffer, *line, std::string(30, 'z')), 0);
    EXPECT_EQ(line->capacity, 32u);
    EXPECT_EQ(line->length, 30u);
    EXPECT_EQ(line->color, nullptr);  // stale colours went with the old slot
    EXPECT_EQ(oldPage->freeCount, oldFree + 2);
    // A text taken from the line itself survives the move.
    ASSERT_EQ(LineSetText(buffer, *line, LineText(*line).substr(0, 3)), 0);
    EXPECT_EQ(LineText(*line), "zzz");
    ASSERT_EQ(LineSetText(buffer, *line, ""), 0);
    EXPECT_EQ(line->capacity, 0u);
    EXPECT_EQ(line->text, nullptr);
}

TEST_F(LineRecordTest, EnsureCapacityKeepsTextColourAndLength) {
    LineRecord* line = Make("keep me");
    ASSERT_EQ(LineEnsureColor(buffer, *line), 0);
    for (int i = 0; i < 7; ++i) {
        line->color[i] = 0x42;
    }
    ASSERT_EQ(LineEnsureCapacity(buffer, *line, 100), 0);
    EXPECT_EQ(line->capacity, 104u);
    EXPECT_EQ(LineText(*line), "keep me");
    EXPECT_EQ(line->colorPage->slotSize, 104u);
    EXPECT_EQ(line->color[6], 0x42);
    EXPECT_EQ(line->color[50], 0x42);
    char* text = line->text;
    ASSERT_EQ(LineEnsureCapacity(buffer, *line, 50), 0);  // already enough
    EXPECT_EQ(line->text, text);
}

TEST_F(LineRecordTest, PadToAndStripPadding) {
    LineRecord* line = Make("AB");
    ASSERT_EQ(LinePadTo(buffer, *line, 2), 0);  // already that long: untouched
    EXPECT_FALSE(LineHasFlag(*line, LineFlagA::BlankPadded));
    EXPECT_FALSE(buffer.hasPaddedLines);
    EXPECT_FALSE(buffer.modified);

    ASSERT_EQ(LinePadTo(buffer, *line, 10), 0);
    EXPECT_EQ(LineText(*line), "AB        ");
    EXPECT_TRUE(LineHasFlag(*line, LineFlagA::BlankPadded));
    EXPECT_TRUE(buffer.hasPaddedLines);
    EXPECT_FALSE(buffer.modified);  // padding is not a change of the file's data

    buffer.profile.recordFormat = Recfm::Fixed;
    LineStripPadding(buffer, *line);
    EXPECT_EQ(line->length, 10u);
    buffer.profile.recordFormat = Recfm::Variable;
    line->kind = LineKind::Note;
    LineStripPadding(buffer, *line);
    EXPECT_EQ(line->length, 10u);
    line->kind = LineKind::Data;
    LineStripPadding(buffer, *line);
    EXPECT_EQ(LineText(*line), "AB");
    EXPECT_FALSE(LineHasFlag(*line, LineFlagA::BlankPadded));

    LineRecord* blanks = Make("     ");
    LineStripPadding(buffer, *blanks);
    EXPECT_EQ(blanks->length, 0u);
}

TEST_F(LineRecordTest, ReplaceTextInsertsDeletesAndPads) {
    LineRecord* line = Make("HELLO WORLD");
    ASSERT_EQ(LineReplaceText(buffer, *line, 6, 5, "THERE"), 0);
    EXPECT_EQ(LineText(*line), "HELLO THERE");
    ASSERT_EQ(LineReplaceText(buffer, *line, 5, 0, ","), 0);
    EXPECT_EQ(LineText(*line), "HELLO, THERE");
    ASSERT_EQ(LineReplaceText(buffer, *line, 0, 7, ""), 0);
    EXPECT_EQ(LineText(*line), "THERE");
    ASSERT_EQ(LineReplaceText(buffer, *line, 8, 3, "X"), 0);  // beyond the end: blanks first
    EXPECT_EQ(LineText(*line), "THERE   X");
    ASSERT_EQ(LineAppendText(buffer, *line, std::string(40, '-')), 0);
    EXPECT_EQ(line->length, 49u);
    EXPECT_EQ(line->capacity, 56u);
    ASSERT_EQ(LineReplaceText(buffer, *line, 0, 100, LineText(*line).substr(0, 5)), 0);
    EXPECT_EQ(LineText(*line), "THERE");
    EXPECT_EQ(LineReplaceText(buffer, *line, 0, 0, std::string(63996, 'y')), -1);
    EXPECT_EQ(LineText(*line), "THERE");
}

TEST_F(LineRecordTest, ReplaceTextMovesColoursWithText) {
    LineRecord* line = Make("abcd");
    ASSERT_EQ(LineEnsureColor(buffer, *line), 0);
    line->color[0] = 1, line->color[1] = 2, line->color[2] = 3, line->color[3] = 4;
    ASSERT_EQ(LineReplaceText(buffer, *line, 2, 0, "XY"), 0);
    EXPECT_EQ(LineText(*line), "abXYcd");
    EXPECT_EQ(line->color[1], 2);
    EXPECT_EQ(line->color[2], 2);  // new bytes take the colour before them
    EXPECT_EQ(line->color[3], 2);
    EXPECT_EQ(line->color[4], 3);
    EXPECT_EQ(line->color[5], 4);
    ASSERT_EQ(LineReplaceText(buffer, *line, 0, 0, "+"), 0);
    EXPECT_EQ(line->color[0], 1);  // at the start: the colour after them
}

TEST_F(LineRecordTest, AdoptTextTakesDonorsBuffers) {
    LineRecord* line = Make("old text");
    LineRecord* saved = LineNew(buffer, "saved text");
    TextPage* oldPage = line->textPage;
    std::uint32_t oldFree = oldPage->freeCount;
    char* savedText = saved->text;
    LineAdoptText(buffer, *line, *saved);
    EXPECT_EQ(LineText(*line), "saved text");
    EXPECT_EQ(line->text, savedText);
    EXPECT_EQ(saved->text, nullptr);
    EXPECT_EQ(saved->length, 0u);
    EXPECT_EQ(oldPage->freeCount, oldFree + 1);
    LineFree(buffer, saved);
}

TEST(LineFields, SelectionRules) {
    LineRecord line;
    LineSetSelStart(line, 5);
    LineSetSelEnd(line, 9);
    EXPECT_EQ(line.selStart, 5);
    EXPECT_EQ(line.selEnd, 9);
    LineSetSelStart(line, 3);  // a new start clears the end
    EXPECT_EQ(line.selStart, 3);
    EXPECT_EQ(line.selEnd, 0);
    LineSetSelEnd(line, 3);  // a one-column selection
    EXPECT_EQ(line.selEnd, 3);
    LineSetSelEnd(line, 2);  // before the start: both cleared
    EXPECT_EQ(line.selStart, 0);
    EXPECT_EQ(line.selEnd, 0);
    LineSetSelEnd(line, 7);  // no start: stays cleared
    EXPECT_FALSE(LineHasSelection(line));
}

TEST(LineFields, LabelCompare) {
    LineRecord line;
    LineSetLabel(line, ".ABC");
    EXPECT_EQ(LineLabelField(line), ".ABC     ");
    EXPECT_EQ(LineLabel(line), ".ABC");
    EXPECT_TRUE(LineHasLabel(line));
    EXPECT_TRUE(LineLabelEquals(line, ".ABC"));
    EXPECT_FALSE(LineLabelEquals(line, ".AB"));
    EXPECT_FALSE(LineLabelEquals(line, ".ABCD"));
    EXPECT_FALSE(LineLabelEquals(line, ".abc"));
    EXPECT_FALSE(LineLabelEquals(line, ""));
    LineSetLabel(line, ".ABCDEFGH");
    EXPECT_TRUE(LineLabelEquals(line, ".ABCDEFGH"));
    EXPECT_FALSE(LineLabelEquals(line, ".ABCDEFGHI"));
    LineSetLabel(line, ".ABCDEFGHIJK");  // cut to the field
    EXPECT_EQ(LineLabelField(line), ".ABCDEFGH");
    LineClearLabel(line);
    EXPECT_FALSE(LineHasLabel(line));
    EXPECT_EQ(LineLabel(line), "");
}

TEST(LineFields, PendingCommandIsCutAndBlankFilled) {
    LineRecord line;
    LineSetPendingCommand(line, "d3");
    EXPECT_EQ(LinePendingCommand(line), "d3       ");
    EXPECT_TRUE(LineHasPendingCommand(line));
    LineSetPendingCommand(line, "0123456789AB");
    EXPECT_EQ(LinePendingCommand(line), "012345678");
    EXPECT_EQ(line.pendingCommand[9], '\0');
    LineSetPendingCommand(line, "         ");
    EXPECT_FALSE(LineHasPendingCommand(line));
    LineSetPendingCommand(line, std::string_view("A\0B", 3));  // a NUL ends the text
    EXPECT_EQ(LinePendingCommand(line), "A        ");
}

TEST(LineFields, FlagsAreIndependentBits) {
    LineRecord line;
    LineSetFlag(line, LineFlagA::MadeFromNote);
    LineSetFlag(line, LineFlagA::InsertPending);
    LineSetFlag(line, LineFlagB::Changed);
    EXPECT_EQ(line.flagsA, 0x81);
    EXPECT_EQ(line.flagsB, 0x04);
    LineClearFlag(line, LineFlagA::MadeFromNote);
    EXPECT_TRUE(LineHasFlag(line, LineFlagA::InsertPending));
    EXPECT_FALSE(LineHasFlag(line, LineFlagA::MadeFromNote));
    EXPECT_FALSE(LineHasFlag(line, LineFlagB::Visible));
}
