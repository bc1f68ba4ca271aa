// The columns, the header line and the export text of a file list.
#include "filelist/file_list_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>

namespace tavoe {

namespace {

std::tm At(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

TEST(FileListFormat, ThousandsAgainstPrintfGrouping) {
    std::mt19937_64 random(3);
    for (uint64_t value : std::vector<uint64_t>{0, 7, 999, 1000, 123456, 1234567, UINT64_MAX, random()}) {
        std::string digits = std::to_string(value);
        std::string expected;
        for (size_t i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % 3 == 0) {
                expected += ',';
            }
            expected += digits[i];
        }
        EXPECT_EQ(GroupThousands(value), expected);
    }
    EXPECT_EQ(GroupThousands(12), "12");
    EXPECT_EQ(GroupThousands(1234), "1,234");
    EXPECT_EQ(GroupThousands(123456789), "123,456,789");
}

TEST(FileListFormat, DateForms) {
    std::tm afternoon = At(2024, 3, 5, 13, 5, 0);
    EXPECT_EQ(FormatEntryDate(afternoon, "USA"), " 3/05/2024   1:05PM");
    EXPECT_EQ(FormatEntryDate(afternoon, "EUR"), " 5.03.2024  13.05.00");
    EXPECT_EQ(FormatEntryDate(afternoon, "ISO"), "2024-03-05  13.05.00");
    EXPECT_EQ(FormatEntryDate(afternoon, "JIS"), "2024-03-05  13:05:00");
    EXPECT_EQ(FormatEntryDate(At(2024, 12, 31, 12, 0, 0), "USA"), "12/31/2024  12:00PM");
    // The hour after midnight is 12 AM on a 12-hour clock.
    EXPECT_EQ(FormatEntryDate(At(2024, 1, 1, 0, 15, 0), "USA"), " 1/01/2024  12:15AM");
    EXPECT_EQ(FormatEntryDate(afternoon, "bogus"), FormatEntryDate(afternoon, "USA"));
}

TEST(FileListFormat, ActionsAttrsAndNames) {
    FileEntry entry;
    EXPECT_EQ(ActionText(entry), "");
    entry.action = EntryAction::Found;
    entry.count = 1;
    EXPECT_EQ(ActionText(entry), "FindHit");
    entry.count = 12;
    EXPECT_EQ(ActionText(entry), "12Fnd");
    entry.count = 0;
    EXPECT_EQ(ActionText(entry), "");
    entry.action = EntryAction::Changed;
    entry.count = 3;
    EXPECT_EQ(ActionText(entry), "3Chg");
    entry.action = EntryAction::SearchHit;
    EXPECT_EQ(ActionText(entry), "SrchHit");

    entry.attrs = kAttrReadOnly | kAttrHidden | kAttrExec;
    EXPECT_EQ(FormatAttrs(entry), "-RHx");
    entry.isDirectory = true;
    entry.attrs = kAttrLink;
    EXPECT_EQ(FormatAttrs(entry), "l---");
    EXPECT_EQ(SizeText(entry), "<DIR>");
    EXPECT_EQ(DisplayName("two\nlines\x7f"), "two?lines?");
}

TEST(FileListFormat, HeaderLineParts) {
    FileList list;
    EXPECT_EQ(HeaderLine(list), "");
    list.fileCount = 1234;
    list.byteCount = 5678901;
    EXPECT_EQ(HeaderLine(list), "1,234 files,  5,678,901 bytes");
    list.dirCount = 2;
    list.locked = true;
    list.sorted = true;
    list.sortField = SortField::Date;
    list.sortOrder = SortOrder::Descending;
    EXPECT_EQ(HeaderLine(list),
              "2 dirs,  1,234 files,  5,678,901 bytes,  locked,  sorted by DATE DESCENDING");
    list.fileCount = 0;
    list.byteCount = 0;
    list.locked = false;
    EXPECT_EQ(HeaderLine(list), "2 dirs,  sorted by DATE DESCENDING");
}

TEST(FileListFormat, RowsHeadingsAndExport) {
    RowLayout layout;
    layout.nameWidth = 10;
    layout.extWidth = 4;
    layout.showDate = false;
    layout.showAttr = false;
    FileEntry entry;
    entry.name = "report.final.txt";
    entry.ext = "txt";
    entry.size = 1500;
    entry.path = "/data/";
    entry.action = EntryAction::Copied;
    std::string row = RowText(entry, layout);
    EXPECT_EQ(row, "report.fin txt          1,500 Copied");
    std::string headings = ColumnHeadings(layout);
    EXPECT_EQ(headings.find("Size"), size_t{16});
    SortField field = SortField::Name;
    ASSERT_TRUE(HeadingAt(layout, 20, field));
    EXPECT_EQ(field, SortField::Size);
    ASSERT_TRUE(HeadingAt(layout, 11, field));
    EXPECT_EQ(field, SortField::Ext);
    EXPECT_FALSE(HeadingAt(layout, 400, field));

    FileList list;
    list.paths[0] = "/data/";
    list.files.push_back(entry);
    list.files.push_back(entry);
    list.files.back().excluded = true;
    RecountList(list);
    std::string text = ExportText(list, layout);
    EXPECT_EQ(text,
              "// File List for: /data/\n"
              "// 0 directories, 1 files, 1,500 bytes\n"
              "report.fin txt          1,500\n");
}

}  // namespace

}  // namespace tavoe
