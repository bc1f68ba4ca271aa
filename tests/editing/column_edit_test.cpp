#include "editing/column_edit.h"

#include <gtest/gtest.h>

#include <string>

using namespace tavoe;

namespace {

// A growing line (variable format, no numbers) of at most 20 columns.
constexpr ColumnField kGrowing{20, false};
// A fixed-length record of 12 columns.
constexpr ColumnField kFixed{12, true};

std::string Insert(std::string_view text, std::uint32_t offset, std::string_view chars,
                   const ColumnField& field, bool padShort = false) {
    std::string out;
    switch (InsertColumns(text, offset, chars, field, padShort, out)) {
        case ColumnEdit::Unchanged:
            return "<unchanged>";
        case ColumnEdit::NoRoom:
            return "<no room>";
        case ColumnEdit::Changed:
            break;
    }
    return out;
}

std::string Delete(std::string_view text, std::uint32_t offset, std::uint32_t count,
                   const ColumnField& field) {
    std::string out;
    return DeleteColumns(text, offset, count, field, out) == ColumnEdit::Changed ? out : "<unchanged>";
}

}  // namespace

TEST(ColumnInsert, MovesTextRightWithinTheRecordLength) {
    EXPECT_EQ(Insert("abcdef", 2, "  ", kGrowing), "ab  cdef");
    // Blanks pushed past the record length go; text does not.
    EXPECT_EQ(Insert("abcdefghijklmnop    ", 0, "XY", kGrowing), "XYabcdefghijklmnop  ");
    EXPECT_EQ(Insert("abcdefghijklmnopqrs ", 0, "XY", kGrowing), "<no room>");
    // A line that ends before the column has nothing to move, unless a paste pads it.
    EXPECT_EQ(Insert("abc", 3, "  ", kGrowing), "<unchanged>");
    EXPECT_EQ(Insert("abc", 5, "XY", kGrowing, true), "abc  XY");
    EXPECT_EQ(Insert("", 2, "XY", kGrowing, true), "  XY");
    EXPECT_EQ(Insert("abc", 20, "X", kGrowing, true), "<no room>");
}

TEST(ColumnInsert, FixedRecordsAndNumberColumnsKeepTheirPlace) {
    EXPECT_EQ(Insert("abcdefgh    ", 1, "--", kFixed), "a--bcdefgh  ");
    EXPECT_EQ(Insert("abcdefghijk ", 1, "--", kFixed), "<no room>");
    // Numbers in columns 9 to 12: the text moves within columns 1 to 8 only.
    const ColumnField beforeNumbers{8, false};
    EXPECT_EQ(Insert("abcd    00000100", 1, "--", beforeNumbers), "a--bcd  00000100");
    EXPECT_EQ(Insert("abcdefg 00000100", 1, "--", beforeNumbers), "<no room>");
    EXPECT_EQ(Insert("ab      00000100", 0, "X", beforeNumbers), "Xab     00000100");
}

TEST(ColumnDelete, PullsTextLeftAndFillsWhatMustKeepItsLength) {
    EXPECT_EQ(Delete("abcdefgh", 2, 3, kGrowing), "abfgh");
    EXPECT_EQ(Delete("abcdefgh", 6, 10, kGrowing), "abcdef");  // runs past the end
    EXPECT_EQ(Delete("abc", 3, 2, kGrowing), "<unchanged>");
    EXPECT_EQ(Delete("abcdefghijkl", 0, 2, kFixed), "cdefghijkl  ");
    const ColumnField beforeNumbers{8, false};
    EXPECT_EQ(Delete("abcdefgh00000100", 1, 2, beforeNumbers), "adefgh  00000100");
}

TEST(ColumnCopy, GivesEveryLineTheRectanglesWidth) {
    EXPECT_EQ(CopyColumns("abcdefgh", 2, 3), "cde");
    EXPECT_EQ(CopyColumns("abcd", 2, 4), "cd  ");
    EXPECT_EQ(CopyColumns("ab", 5, 3), "   ");
}
