// The page layout without a device: header codes and date forms, alignment, plan checks, numbering,
// folding and form feeds, and the style file and its validation.
#include <gtest/gtest.h>

#include <filesystem>

#include "../profiles/search_path_fixture.h"
#include "core/app_session.h"
#include "utilities/print_header.h"
#include "utilities/print_layout.h"
#include "utilities/print_style.h"

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

TEST(PrintHeader, DateAndTimeForms) {
    struct Case {
        const char* form;
        std::tm when;
        const char* date;
        const char* time;
    } cases[] = {
        {"USA", At(2024, 3, 7, 0, 5, 9), "3/7/2024", "12:05AM"},
        {"USA", At(2024, 12, 31, 13, 45, 0), "12/31/2024", "1:45PM"},
        {"USA", At(2024, 1, 2, 12, 0, 0), "1/2/2024", "12:00PM"},
        {"EUR", At(2024, 3, 7, 9, 5, 1), "7.3.2024", "9.05.01"},
        {"ISO", At(2024, 3, 7, 9, 5, 1), "2024-03-07", "09.05.01"},
        {"JIS", At(2024, 3, 7, 9, 5, 1), "2024-03-07", "09:05:01"},
    };
    for (const Case& c : cases) {
        std::string date;
        std::string time;
        ASSERT_TRUE(FormatDateTimeForm(c.form, c.when, date, time)) << c.form;
        EXPECT_EQ(date, c.date) << c.form;
        EXPECT_EQ(time, c.time) << c.form;
    }
    AppSession app;
    VarSetValue(app, "ZFLIST.FORMAT.DATE", "usa");  // forms compare exactly
    std::string date = "x";
    std::string time = "y";
    EXPECT_EQ(FormatPrintDateTime(app, At(2024, 1, 1, 0, 0, 0), date, time), -1);
    EXPECT_EQ(date, "");
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text, "Unknown date form.");
}

TEST(PrintHeader, SubstitutionCodes) {
    HeaderValues v{"D", "T", "/a/b.c", "b.c"};
    EXPECT_EQ(SubstituteHeaderCodes("&f||&d &t", v, 3), "/a/b.c||D T");
    EXPECT_EQ(SubstituteHeaderCodes("&F &N &P &p", v, 12), "/a/b.c b.c 12 12");
    EXPECT_EQ(SubstituteHeaderCodes("&x &&p &", v, 4), "&x &4 &");
}

TEST(PrintHeader, Alignment) {
    struct Case {
        const char* text;
        PrintAlign align;
        int width;
        int limit;
        const char* line;
    } cases[] = {
        {"ab", PrintAlign::Left, 6, 6, "ab    "},
        {"ab", PrintAlign::Center, 6, 8, "  ab    "},
        {"ab", PrintAlign::Right, 6, 8, "    ab  "},
        {"abcdefgh", PrintAlign::Right, 6, 8, "abcdefgh"},  // does not fit: left
        {"abcdefghij", PrintAlign::Center, 6, 8, "abcdefgh"},
        {"L||R", PrintAlign::Spread, 7, 7, "L     R"},
        {"L|C|R", PrintAlign::Spread, 7, 7, "L  C  R"},
        {"L|C", PrintAlign::Spread, 7, 7, "L  C   "},
        {"long-left|x|rr", PrintAlign::Spread, 10, 10, "long-leftr"},  // the left part wins
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AlignHeaderText(c.text, c.align, c.width, c.limit), c.line) << c.text;
    }
    EXPECT_EQ(PrintRulerText(14), "----+----10---");
    EXPECT_EQ(PrintRulerText(15), "----+----10---+");
}

// Collects every page as a grid of text lines, as the reader of the paper sees it.
class GridSink : public PrintPageSink {
public:
    bool PageDone(const PrintedPage& page) override {
        std::vector<std::string> grid;
        for (const PrintRow& row : page.rows) {
            if (grid.size() <= static_cast<size_t>(row.line)) {
                grid.resize(row.line + 1);
            }
            std::string& text = grid[row.line];
            if (text.size() < static_cast<size_t>(row.column) + row.text.size()) {
                text.resize(row.column + row.text.size(), ' ');
            }
            text.replace(row.column, row.text.size(), row.text);
        }
        std::string joined;
        for (const std::string& line : grid) {
            joined += line + "\n";
        }
        pages.push_back(joined);
        return pages.size() < stopAfter;
    }
    std::vector<std::string> pages;
    size_t stopAfter = 1000;
};

PrintStyle Bare() {
    PrintStyle style = DefaultPrintStyle();
    style.headerShow = false;
    style.footerShow = false;
    return style;
}

class PrintPlanTest : public ::testing::Test {
protected:
    std::vector<std::string> Lay(const PrintStyle& style, PrintPageGeometry page,
                                 const std::vector<std::string>& lines) {
        PrintPlan plan;
        EXPECT_EQ(PlanPrintPages(app, style, page, static_cast<long>(lines.size()), plan), 0);
        PrintLayout layout(plan, HeaderValues{"D", "T", "/p/f.c", "f.c"}, sink);
        for (const std::string& line : lines) {
            layout.AddLine(line, nullptr);
        }
        layout.Finish();
        return sink.pages;
    }
    AppSession app;
    GridSink sink;
};

TEST_F(PrintPlanTest, NoBodyLineLeftIsRefused) {
    PrintStyle style = DefaultPrintStyle();
    style.marginTop = style.marginBottom = 8;
    style.headerRuler = style.footerRuler = true;
    style.headerSpace = style.footerSpace = 8;
    PrintPlan plan;
    EXPECT_EQ(PlanPrintPages(app, style, PrintPageGeometry{80, 34}, 10, plan), -1);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text,
              "Sum(topmarg hdr hdrspc ftrspc ftr botmarg) >= pagedepth, can not print.");
    // Margins less their Hdw part, header and footer (text, ruler, space): 7 + 10 + 10 + 7 = 34.
    app.messages.clear();
    EXPECT_EQ(PlanPrintPages(app, style, PrintPageGeometry{80, 35}, 10, plan), 0);
    EXPECT_EQ(plan.bodyLines, 1);
}

TEST_F(PrintPlanTest, MarginsWithoutColumnsAndFoldBeyondColumns) {
    PrintStyle style = Bare();
    style.marginLeft = style.marginRight = 8;
    PrintPlan plan;
    EXPECT_EQ(PlanPrintPages(app, style, PrintPageGeometry{14, 20}, 1, plan), -1);
    EXPECT_EQ(app.messages.back().text, "Print style margins leave no print columns, can not print.");
    style = Bare();
    style.foldLongLines = true;
    style.foldAtColumn = 79;  // 80 cells less the left margin reduced by its Hdw margin (0)
    app.messages.clear();
    ASSERT_EQ(PlanPrintPages(app, style, PrintPageGeometry{80, 20}, 1, plan), 0);
    EXPECT_EQ(plan.printColumns, 79);
    style.foldAtColumn = 81;
    ASSERT_EQ(PlanPrintPages(app, style, PrintPageGeometry{80, 20}, 1, plan), 0);
    EXPECT_EQ(plan.printColumns, 80);
    EXPECT_EQ(app.messages.back().text,
              "Print Style field 'FoldAtColumn' exceeds available print columns, ignored.");
}

TEST_F(PrintPlanTest, NumberWidthFollowsTheLineCount) {
    EXPECT_EQ(PrintNumberWidth(999), 3);
    EXPECT_EQ(PrintNumberWidth(1000), 4);
    EXPECT_EQ(PrintNumberWidth(99999), 5);
    EXPECT_EQ(PrintNumberWidth(100000), 6);
    PrintStyle style = Bare();
    style.lineNumbersLeft = true;
    std::vector<std::string> lines(1000, "x");
    std::vector<std::string> pages = Lay(style, PrintPageGeometry{20, 500}, lines);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].substr(0, 14), "0001 x\n0002 x\n");
    EXPECT_EQ(pages[1].substr(pages[1].size() - 7), "1000 x\n");
}

TEST_F(PrintPlanTest, LongLinesAreCutOrFolded) {
    std::string long200;
    for (int i = 0; i < 200; ++i) {
        long200 += static_cast<char>('a' + i % 26);
    }
    PrintStyle style = Bare();
    style.hdwMarginLeft = style.marginLeft = 0;
    style.marginRight = 0;
    std::vector<std::string> cut = Lay(style, PrintPageGeometry{80, 10}, {long200});
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0], long200.substr(0, 80) + "\n");
    sink.pages.clear();
    style.foldLongLines = true;
    std::vector<std::string> folded = Lay(style, PrintPageGeometry{80, 10}, {long200});
    EXPECT_EQ(folded[0],
              long200.substr(0, 80) + "\n" + long200.substr(80, 80) + "\n" + long200.substr(160) + "\n");
}

TEST_F(PrintPlanTest, FormFeedsEndPagesAndPagesStartWhenABodyLineIsDue) {
    PrintStyle style = Bare();
    style.marginLeft = 0;
    style.footerShow = true;
    style.footerSpace = 0;
    style.footerText = "p&p";
    style.footerAlign = PrintAlign::Left;
    std::vector<std::string> pages = Lay(style, PrintPageGeometry{10, 4}, {"a", "\f", "\fb", "c", "\f"});
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], "a\n\n\np1\n");
    EXPECT_EQ(pages[1], "b\nc\n\np2\n");
    // Without form-feed handling the control character is an ordinary character of the line.
    sink.pages.clear();
    style.colOneFormFeed = false;
    pages = Lay(style, PrintPageGeometry{10, 4}, {"\fx"});
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0], "\fx\n\n\np1\n");
    // Nothing to print makes no page at all.
    sink.pages.clear();
    EXPECT_TRUE(Lay(style, PrintPageGeometry{10, 4}, {}).empty());
}

TEST_F(PrintPlanTest, StoppingSinkEndsTheJob) {
    sink.stopAfter = 1;
    PrintPlan plan;
    ASSERT_EQ(PlanPrintPages(app, Bare(), PrintPageGeometry{10, 2}, 5, plan), 0);
    PrintLayout layout(plan, HeaderValues{}, sink);
    EXPECT_TRUE(layout.AddLine("1", nullptr));
    EXPECT_TRUE(layout.AddLine("2", nullptr));
    EXPECT_FALSE(layout.AddLine("3", nullptr));  // the first page went out and the sink said stop
    EXPECT_FALSE(layout.AddLine("4", nullptr));
    EXPECT_FALSE(layout.Finish());
    EXPECT_EQ(sink.pages.size(), 1u);
}

class PrintStyleFileTest : public SearchPathFixture {
protected:
    PrintStyleFileTest() : SearchPathFixture("pstl", "ZPATH.PRINTSTYLES") {}
};

TEST_F(PrintStyleFileTest, WrittenStyleReadsBackWithEveryField) {
    PrintStyle style = DefaultPrintStyle();
    style.name = "PRN-1";
    style.description = "with = sign";
    style.headerText = "&n|x|&p";
    style.footerAlign = PrintAlign::Right;
    style.foldAtColumn = 999;
    style.lineNumbersLeft = true;
    ASSERT_EQ(WritePrintStyle(app, style), 0);
    std::string text = Read(root / "user" / "PRN-1.pstl");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 25);
    EXPECT_EQ(text.substr(0, 40), "Name=PRN-1\nDescribe=with = sign\nTopMarg=");
    PrintStyle back;
    ASSERT_EQ(ReadPrintStyle(app, "prn-1", back), 0);
    for (int i = 0; i < kPrintStyleFieldCount; ++i) {
        EXPECT_EQ(PrintStyleValue(back, i), PrintStyleValue(style, i)) << PrintStyleFields()[i].keyword;
    }
}

TEST_F(PrintStyleFileTest, GarbageIsRefusedWithItsMessage) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"Name=G\nTopMarg=9\n", "Print style 'G': keyword 'TopMarg' has invalid value '9'."},
        {"Name=G\nFold=yes\n", "Print style 'G': keyword 'Fold' has invalid value 'yes'."},
        {"Name=G\nHdrAlign=MIDDLE\n", "Print style 'G': keyword 'HdrAlign' has invalid value 'MIDDLE'."},
        {"Name=G\nFoldAtColumn=-1\n", "Print style 'G': keyword 'FoldAtColumn' has invalid value '-1'."},
        {"\x7f"
         "ELF\x01\x02\n",
         "Print style 'G': unknown keyword '\x7f"
         "ELF\x01\x02'."},
    };
    for (const Case& c : cases) {
        Write(root / "server" / "G.pstl", c.text);
        app.messages.clear();
        PrintStyle style;
        EXPECT_EQ(ReadPrintStyle(app, "G", style), -1) << c.text;
        ASSERT_EQ(app.messages.size(), 1u) << c.text;
        EXPECT_EQ(app.messages[0].text, c.message);
    }
    // Keywords in another order and in any case still reach their fields; missing ones keep defaults.
    Write(root / "server" / "G.pstl", "fold=TRUE\nNAME=g\nhdralign=left\n");
    PrintStyle style;
    ASSERT_EQ(ReadPrintStyle(app, "G", style), 0);
    EXPECT_TRUE(style.foldLongLines);
    EXPECT_EQ(style.headerAlign, PrintAlign::Left);
    EXPECT_EQ(style.name, "G");
    EXPECT_EQ(style.footerText, "Page &p");
}

TEST_F(PrintStyleFileTest, DefaultAlwaysExists) {
    PrintStyle style;
    ASSERT_EQ(ReadPrintStyle(app, "DEFAULT", style), 0);
    EXPECT_TRUE(std::filesystem::exists(root / "user" / "DEFAULT.pstl"));
    EXPECT_EQ(style.headerText, "&f||&d &t");
    EXPECT_EQ(ReadPrintStyle(app, "NOSUCH", style), -1);
    EXPECT_EQ(app.messages.back().text, "PObjRead: unable to open control file 'NOSUCH.pstl' for read.");
}

TEST_F(PrintStyleFileTest, Validation) {
    struct Case {
        const char* name;
        const char* description;
        const char* message;  // null: accepted
    } cases[] = {
        {"?", "d", "Print style, name required."},
        {"n", "?", "Print style, description required."},
        {"PRN 1", "d", "Print style, no blanks or punctuation allowed in name."},
        {"A.B", "d", "Print style, no blanks or punctuation allowed in name."},
        {"ABCDEFGHIJK", "d", "Print style, name too long."},
        {"", "d", "Print style, name required."},
        {"prn-1", "d", nullptr},
        {"ABCDEFGHIJ", "d", nullptr},
    };
    for (const Case& c : cases) {
        PrintStyle style;
        style.name = c.name;
        style.description = c.description;
        app.messages.clear();
        EXPECT_EQ(ValidatePrintStyle(app, style), c.message ? -1 : 0) << c.name;
        if (c.message != nullptr) {
            ASSERT_EQ(app.messages.size(), 1u);
            EXPECT_EQ(app.messages[0].text, c.message);
        }
    }
    PrintStyle style;
    style.name = "prn-1";
    style.description = "d";
    ASSERT_EQ(ValidatePrintStyle(app, style), 0);
    EXPECT_EQ(style.name, "PRN-1");
}

}  // namespace

}  // namespace tavoe
