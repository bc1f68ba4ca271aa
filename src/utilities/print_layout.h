#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "utilities/print_header.h"
#include "utilities/print_style.h"

namespace tavoe {

// The page layout of a print, in character cells and lines: where the header, the ruler, the
// numbered and folded body lines and the footer of each page stand. The device that draws the pages
// only turns cells into its own units; everything a reader checks on the paper is decided here.

struct AppSession;

// The printable area of a page, inside the printer's unprintable border (the Hdw margins).
struct PrintPageGeometry {
    int columns = 0;  // whole character cells across
    int lines = 0;    // whole lines down
};

// What the style and the page give for every page of one job.
struct PrintPlan {
    PrintStyle style;
    int leftMargin = 0;    // cells before the line number (or the text), the Hdw margin taken off
    int topMargin = 0;     // lines above the header
    int numberWidth = 0;   // digits of the line numbers; 0 without them
    int printColumns = 0;  // text cells of a body line
    int lineCells = 0;     // cells from the left margin to the edge of the printable area
    int headerLines = 0;   // header text, ruler and space
    int footerLines = 0;
    int bodyLines = 0;  // body lines per page

    // Cells of the line number and the blank after it; the first cell of the text.
    int NumberCells() const { return numberWidth > 0 ? numberWidth + 1 : 0; }
    int TextColumn() const { return leftMargin + NumberCells(); }
};

// Works out the plan. Shows "Print Style field 'FoldAtColumn' exceeds available print columns,
// ignored." when folding asks for more columns than there are (and goes on), "Sum(topmarg hdr hdrspc
// ftrspc ftr botmarg) >= pagedepth, can not print." when no body line is left, and "Print style
// margins leave no print columns, can not print." when no text cell is left. 0, or -1 after a
// message (nothing may be printed then).
int PlanPrintPages(AppSession& app, const PrintStyle& style, PrintPageGeometry page, long lineCount,
                   PrintPlan& plan);

// Digits of the line numbers for a count of printed lines: 3 up to 999, 4, 5, else 6.
int PrintNumberWidth(long lineCount);

// One run of text on a page: its line and first cell (from 0, in the printable area), the bytes of
// the display character set, and one colour byte per byte (high 4 bits foreground, low 4 bits
// background) when the text is printed in the colorizer's colours; empty colours mean the default.
struct PrintRow {
    int line = 0;
    int column = 0;
    std::string text;
    std::vector<std::uint8_t> colors;
};

struct PrintedPage {
    int number = 0;  // from 1
    std::vector<PrintRow> rows;
};

// Receives the pages as they are completed. Returning false stops the job (Escape, a device error).
class PrintPageSink {
public:
    virtual ~PrintPageSink() = default;
    virtual bool PageDone(const PrintedPage& page) = 0;
};

// Lays out body lines page by page. A page begins when its first body line is due (so an empty
// print has no pages); it ends when it is full, at a form feed in the first column (with
// ColOneFormFeed), or at Finish. Each line gets the next sequence number; a line longer than the
// print columns is cut, or with FoldLongLines continued on further lines without a number.
class PrintLayout {
public:
    PrintLayout(const PrintPlan& plan, HeaderValues values, PrintPageSink& sink);

    // Adds one data line; colors is null or holds one byte per text byte. False once the sink
    // stopped the job.
    bool AddLine(std::string_view text, const std::uint8_t* colors);

    // Ends the last page. False when the sink stopped the job.
    bool Finish();

    int PagesDone() const { return pagesDone_; }

private:
    void StartPage();
    bool EndPage();
    bool PutBodyRow(std::string_view text, const std::uint8_t* colors, bool numbered);
    void AddAligned(int line, const std::string& text, PrintAlign align);

    PrintPlan plan_;
    HeaderValues values_;
    PrintPageSink& sink_;
    PrintedPage page_;
    bool pageOpen_ = false;
    bool stopped_ = false;
    int bodyUsed_ = 0;
    long sequence_ = 0;
    int pagesDone_ = 0;
};

}  // namespace tavoe
