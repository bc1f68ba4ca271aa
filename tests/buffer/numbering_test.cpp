#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/numbering.h"
#include "core/app_session.h"

using namespace tavoe;

namespace {

class Numbering : public ::testing::Test {
protected:
    void SetUp() override {
        app.hasCurrentEditSession = true;
        buffer.profile = BuiltInFileProfile("COBSRC");
        buffer.profile.maxRecordLength = 80;
        Standard();
        buffer.file.atEnd = true;
        buffer.file.loadComplete = true;
    }

    void Standard(int start = 100, int increment = 100) {
        FileProfile& profile = buffer.profile;
        profile.numberType = NumberType::Standard;
        profile.numberStart = start;
        profile.numberIncrement = increment;
        profile.numberColumnStart = 73;
        profile.numberColumnEnd = 80;
    }

    LineRecord* Append(std::string_view text) {
        LineRecord* line = LineNew(buffer, text);
        line->kind = LineKind::Data;
        EXPECT_EQ(LineInsertBefore(buffer, nullptr, line), 0);
        return line;
    }

    // A line of 72 characters followed by the number field.
    LineRecord* AppendNumbered(std::string_view number) {
        return Append(std::string(72, '.') + std::string(number));
    }

    LineRecord* InsertAfter(LineRecord* after, std::string_view text) {
        LineRecord* line = LineNew(buffer, text);
        line->kind = LineKind::Data;
        EXPECT_EQ(LineInsertAfter(buffer, after, line), 0);
        return line;
    }

    static std::string Field(const LineRecord* line) { return std::string(LineText(*line).substr(72, 8)); }

    std::vector<std::string> Fields() {
        std::vector<std::string> fields;
        for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
            fields.push_back(line->length >= 80 ? Field(line) : std::string("(short)"));
        }
        return fields;
    }

    AppSession app;
    EditBuffer buffer{app};
};

TEST_F(Numbering, RenumberWritesStartAndIncrementPaddingShortLines) {
    Append("short");
    AppendNumbered("garbage!");
    Append(std::string(85, 'x'));
    Renumber(buffer);
    EXPECT_EQ(Fields(), (std::vector<std::string>{"00000100", "00000200", "00000300"}));
    LineRecord* first = FirstDataLine(buffer);
    EXPECT_EQ(LineText(*first).substr(0, 72), "short" + std::string(67, ' '));
    EXPECT_TRUE(LineHasFlag(*first, LineFlagA::NumberValid));
    EXPECT_EQ(LastDataLine(buffer)->length, 85u);  // text after the field stays
}

TEST_F(Numbering, RenumberOffOrUnchangedLeavesTheSessionUnmodified) {
    AppendNumbered("00000100");
    AppendNumbered("00000200");
    buffer.modified = false;
    Renumber(buffer);
    EXPECT_FALSE(buffer.modified);
    buffer.profile.numberStart = 10;
    Renumber(buffer);
    EXPECT_TRUE(buffer.modified);
    buffer.profile.numberType = NumberType::None;
    buffer.modified = false;
    buffer.profile.numberStart = 500;
    Renumber(buffer);
    EXPECT_EQ(Fields(), (std::vector<std::string>{"00000010", "00000110"}));
    EXPECT_FALSE(buffer.modified);
}

TEST_F(Numbering, FieldKeepsLeftmostDigitsAndOtherWidths) {
    EXPECT_EQ(FormatLineNumber(12345, 4), "1234");
    EXPECT_EQ(FormatLineNumber(42, 6), "000042");
    buffer.profile.numberType = NumberType::Cobol;
    buffer.profile.numberColumnStart = 1;
    buffer.profile.numberColumnEnd = 6;
    buffer.profile.numberStart = 999900;
    buffer.profile.numberIncrement = 100;
    Append("      IDENTIFICATION DIVISION.");
    Append("");
    Renumber(buffer);
    EXPECT_EQ(LineText(*FirstDataLine(buffer)), "999900IDENTIFICATION DIVISION.");
    EXPECT_EQ(LineText(*LastDataLine(buffer)), "100000");
}

struct GapCase {
    const char* before;
    const char* after;
    const char* expected;
};

TEST_F(Numbering, NewLineFitsTheGap) {
    for (GapCase gap :
         {GapCase{"00000100", "00000200", "00000110"}, GapCase{"00000100", "00000500", "00000200"},
          GapCase{"00000100", "00000105", "00000101"}, GapCase{"00000100", "00000102", "00000101"},
          GapCase{"00000100", "00000111", "00000110"}}) {
        EditBuffer local(app);
        local.profile = buffer.profile;
        LineRecord* p = LineNew(local, std::string(72, ' ') + gap.before);
        LineRecord* q = LineNew(local, std::string(72, ' ') + gap.after);
        LineRecord* line = LineNew(local, "new");
        for (LineRecord* each : {p, q}) {
            each->kind = LineKind::Data;
            (void)LineInsertBefore(local, nullptr, each);
        }
        line->kind = LineKind::Data;
        (void)LineInsertAfter(local, p, line);
        ASSERT_EQ(NumberNewLine(local, *line), 0);
        EXPECT_EQ(Field(line), gap.expected) << gap.before << " .. " << gap.after;
        EXPECT_TRUE(LineHasFlag(*line, LineFlagA::NumberValid));
        EXPECT_EQ(Field(q), gap.after);
    }
}

TEST_F(Numbering, CollisionRenumbersDownTheFile) {
    LineRecord* p = AppendNumbered("00000100");
    AppendNumbered("00000101");
    AppendNumbered("00000102");
    LineRecord* last = AppendNumbered("00000150");
    LineRecord* line = InsertAfter(p, "new");
    ASSERT_EQ(NumberNewLine(buffer, *line), 0);
    // The moved line is numbered from its new predecessor like any other: 150 is more than 10 away.
    EXPECT_EQ(Fields(),
              (std::vector<std::string>{"00000100", "00000101", "00000102", "00000112", "00000150"}));
    EXPECT_EQ(Field(last), "00000150");
}

TEST_F(Numbering, CollisionAtTheBottomTakesTheIncrement) {
    LineRecord* p = AppendNumbered("00000100");
    AppendNumbered("00000101");
    LineRecord* line = InsertAfter(p, "new");
    ASSERT_EQ(NumberNewLine(buffer, *line), 0);
    EXPECT_EQ(Fields(), (std::vector<std::string>{"00000100", "00000101", "00000201"}));
}

TEST_F(Numbering, NewLineWithoutValidNeighbours) {
    LineRecord* first = Append("no number here");
    ASSERT_EQ(NumberNewLine(buffer, *first), 0);
    EXPECT_EQ(Field(first), "00000100");  // no line before: the start
    LineRecord* second = InsertAfter(first, "x");
    ASSERT_EQ(NumberNewLine(buffer, *second), 0);
    EXPECT_EQ(Field(second), "00000200");  // no line after: one increment on
    LineRecord* third = InsertAfter(first, "y");
    ASSERT_EQ(NumberNewLine(buffer, *third), 0);
    EXPECT_EQ(Field(third), "00000110");
}

TEST_F(Numbering, NewLineRefusedWhenOffOrNotData) {
    LineRecord* line = Append("x");
    buffer.profile.numberType = NumberType::None;
    EXPECT_EQ(NumberNewLine(buffer, *line), -1);
    EXPECT_EQ(line->length, 1u);
    Standard();
    EXPECT_EQ(NumberNewLine(buffer, *LineFirst(buffer)), -1);
}

TEST_F(Numbering, UnnumberMessagesAndRefusals) {
    AppendNumbered("00000100");
    EXPECT_EQ(Unnumber(buffer, "XYZ"), -1);
    EXPECT_EQ(app.messages.back().text, "Unknown line number type, unnumber command ignored.");
    EXPECT_EQ(Fields(), (std::vector<std::string>{"00000100"}));
    buffer.profile.numberType = NumberType::None;
    EXPECT_EQ(Unnumber(buffer, ""), -1);
    EXPECT_EQ(app.messages.back().text,
              "Line numbering is currently off, specify line number type or set line numbering on in File "
              "Profile.");
    EXPECT_EQ(Fields(), (std::vector<std::string>{"00000100"}));
}

TEST_F(Numbering, UnnumberClearsColumnsAndTurnsNumberingOff) {
    AppendNumbered("00000100");
    Append("too short to hold a number");
    AppendNumbered("00000300");
    buffer.profile.numberType = NumberType::None;  // a type given explicitly works while off
    ASSERT_EQ(Unnumber(buffer, "std"), 0);
    EXPECT_EQ(Fields(), (std::vector<std::string>{"        ", "(short)", "        "}));
    EXPECT_EQ(LineText(*NextDataLine(FirstDataLine(buffer))), "too short to hold a number");
    EXPECT_EQ(app.messages.back().text,
              "Columns 73 to 80 cleared, line numbers now OFF for file type COBSRC.");
    EXPECT_EQ(buffer.profile.numberType, NumberType::None);
    EXPECT_TRUE(buffer.modified);
    for (const char* type : {"COB", "cobol", "STANDARD", "COB+STD", "OTHER"}) {
        Standard();
        EXPECT_EQ(Unnumber(buffer, type), 0) << type;
    }
}

TEST_F(Numbering, PrefixShowsNumberFieldOrRecordNumber) {
    LineRecord* numbered = AppendNumbered("00000700");
    LineRecord* plain = Append("plain");
    plain->recordNumber = 1234;
    EXPECT_EQ(PrefixNumberText(buffer, *numbered, 9), "00000700 ");
    EXPECT_EQ(PrefixNumberText(buffer, *numbered, 7), "000700 ");
    EXPECT_EQ(PrefixNumberText(buffer, *plain, 9), "00001234 ");
    EXPECT_EQ(PrefixNumberText(buffer, *plain, 6), "01234 ");
    EXPECT_EQ(PrefixNumberText(buffer, *plain, 4), "234 ");
    EXPECT_EQ(PrefixNumberText(buffer, *plain, 3), "   ");
    buffer.profile.numberType = NumberType::None;
    numbered->recordNumber = 5;
    EXPECT_EQ(PrefixNumberText(buffer, *numbered, 6), "00005 ");
}

}  // namespace
