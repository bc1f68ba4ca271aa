// Prints one prepared buffer to PDF under several styles and reads the pages back with
// pdftotext -layout: what a reader finds on the paper, page by page.
#include <gtest/gtest.h>

#include <algorithm>

#include "print_fixture.h"
#include "utilities/print_job.h"
#include "utilities/print_style.h"

namespace tavoe {

namespace {

// Page text with runs of blank lines cut to one and trailing blanks dropped: pdftotext shortens long
// vertical gaps, so only the order of the rows and the gaps' presence are compared.
std::string Normalized(const std::string& page) {
    std::string out;
    bool lastBlank = false;
    size_t start = 0;
    while (start < page.size()) {
        size_t end = page.find('\n', start);
        std::string line = page.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? page.size() : end + 1;
        line.erase(line.find_last_not_of(' ') + 1);
        bool blank = line.empty();
        if (!(blank && lastBlank)) {
            out += line + "\n";
        }
        lastBlank = blank;
    }
    return out;
}

class PrintPdfTest : public PrintFixture {
protected:
    void SetUp() override {
        PrintFixture::SetUp();
        if (!PdfToolsPresent()) {
            GTEST_SKIP() << "pdftotext is not installed";
        }
        // 36 points on A4: 25 cells across and 18 lines down inside the default printer border.
        VarSetValue(app, "ZFONT.PRINT", "DejaVu Sans Mono,36");
        AddLine("IDENTIFICATION DIVISION.");
        AddLine("ONE", LineKind::Note);  // special lines never print
        AddLine("PROGRAM-ID. A_B.");
        AddLine("0123456789012345678901234567890123456789");
        AddLine("\f");
        AddLine("\fAFTER FF");
        for (int i = 1; i <= 14; ++i) {
            AddLine("L" + std::to_string(i));
        }
    }

    std::vector<std::string> PrintWith(const PrintStyle& style) {
        EXPECT_EQ(WritePrintStyle(app, style), 0);
        EXPECT_EQ(PrintBuffer(app, buffer, PrintRange::All, style.name), 0);
        std::vector<std::string> pages;
        for (const std::string& page : PdfPages()) {
            pages.push_back(Normalized(page));
        }
        return pages;
    }
};

TEST_F(PrintPdfTest, NumbersFoldingRulersAndFormFeeds) {
    PrintStyle style = DefaultPrintStyle();
    style.name = "NUMFOLD";
    style.lineNumbersLeft = true;
    style.foldLongLines = true;
    style.headerText = "&n|&P|x&x";
    style.headerRuler = true;
    style.footerRuler = true;
    std::vector<std::string> pages = PrintWith(style);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0],
              "prog.cbl    1         x&x\n"
              "    ----+----10---+----+-\n"
              "\n"
              "001 IDENTIFICATION DIVISI\n"
              "    ON.\n"
              "002 PROGRAM-ID. A B.\n"
              "003 012345678901234567890\n"
              "    1234567890123456789\n"
              "\n"
              "    ----+----10---+----+-\n"
              "         Page 1\n");
    EXPECT_EQ(pages[1],
              "prog.cbl    2         x&x\n"
              "    ----+----10---+----+-\n"
              "\n"
              "005 AFTER FF\n006 L1\n007 L2\n008 L3\n009 L4\n010 L5\n011 L6\n012 L7\n013 L8\n014 L9\n"
              "015 L10\n016 L11\n"
              "\n"
              "    ----+----10---+----+-\n"
              "         Page 2\n");
    EXPECT_EQ(pages[2],
              "prog.cbl    3         x&x\n"
              "    ----+----10---+----+-\n"
              "\n"
              "017 L12\n018 L13\n019 L14\n"
              "\n"
              "    ----+----10---+----+-\n"
              "         Page 3\n");
}

TEST_F(PrintPdfTest, PlainStyleCutsLongLinesAndKeepsFormFeedsAsText) {
    PrintStyle style = DefaultPrintStyle();
    style.name = "PLAIN";
    style.headerShow = false;
    style.footerShow = false;
    style.colOneFormFeed = false;
    style.marginLeft = 3;  // two cells inside the printer border
    std::vector<std::string> pages = PrintWith(style);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0],
              "IDENTIFICATION DIVISION\n"
              "PROGRAM-ID. A B.\n"
              "01234567890123456789012\n"
              "\n"
              " AFTER FF\n"
              "L1\nL2\nL3\nL4\nL5\nL6\nL7\nL8\nL9\nL10\nL11\nL12\nL13\n");
    EXPECT_EQ(pages[1], "L14\n");
}

TEST_F(PrintPdfTest, AlignedHeaderAndFooterWithFoldColumn) {
    PrintStyle style = DefaultPrintStyle();
    style.name = "NARROW";
    style.foldLongLines = true;
    style.foldAtColumn = 12;
    style.headerText = "-&p";
    style.headerAlign = PrintAlign::Right;
    style.headerSpace = 0;
    style.footerText = "&f";
    style.footerAlign = PrintAlign::Left;
    std::vector<std::string> pages = PrintWith(style);
    ASSERT_GE(pages.size(), 2u);
    EXPECT_EQ(pages[0].substr(0, pages[0].find('\n') + 1), "          -1\n");
    EXPECT_NE(pages[0].find("IDENTIFICATI\nON DIVISION.\nPROGRAM-ID.\nA B.\n012345678901\n234567890123\n"),
              std::string::npos)
        << pages[0];
    // The path is longer than the print columns: it runs on to the edge of the printable area
    // (underscores are drawn as lines, so the text shows blanks for them).
    std::string footer = pages[0].substr(pages[0].rfind('\n', pages[0].size() - 2) + 1);
    std::string path = buffer.fileName.substr(0, 25);
    std::replace(path.begin(), path.end(), '_', ' ');
    path.erase(path.find_last_not_of(' ') + 1);
    EXPECT_EQ(footer, path + "\n");
}

TEST_F(PrintPdfTest, SelectionPrintsOnlySelectedLines) {
    PrintStyle style = DefaultPrintStyle();
    style.name = "SEL";
    style.headerShow = false;
    style.footerShow = false;
    ASSERT_EQ(WritePrintStyle(app, style), 0);
    EXPECT_EQ(PrintBuffer(app, buffer, PrintRange::Selection, "SEL"), -1);
    EXPECT_EQ(app.messages.back().text,
              "To print part of file, use mouse or ZZ line command to select lines to be printed, then "
              "invoke PRINT command.");
    int n = 0;
    for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
        if (++n == 7 || n == 8) {
            LineSetSelStart(*line, 1);
            LineSetSelEnd(*line, 2);
        }
    }
    ASSERT_EQ(PrintBuffer(app, buffer, PrintRange::Selection, "SEL"), 0);
    std::vector<std::string> pages = PdfPages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(Normalized(pages[0]), "L2\nL3\n");
}

}  // namespace

}  // namespace tavoe
