#include "utilities/print_layout.h"

#include <algorithm>

#include "core/app_session.h"
#include "core/message.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr char kFormFeed = '\f';

int TitleLines(bool show, bool ruler, const std::string& text, int space) {
    if (!show) {
        return 0;
    }
    return (text.empty() ? 0 : 1) + (ruler ? 1 : 0) + space;
}

}  // namespace

int PrintNumberWidth(long lineCount) {
    if (lineCount <= 999) {
        return 3;
    }
    if (lineCount <= 9999) {
        return 4;
    }
    if (lineCount <= 99999) {
        return 5;
    }
    return 6;
}

int PlanPrintPages(AppSession& app, const PrintStyle& style, PrintPageGeometry page, long lineCount,
                   PrintPlan& plan) {
    plan = PrintPlan{};
    plan.style = style;
    plan.leftMargin = std::max(0, style.marginLeft - style.hdwMarginLeft);
    int rightMargin = std::max(0, style.marginRight - style.hdwMarginRight);
    plan.topMargin = std::max(0, style.marginTop - style.hdwMarginTop);
    int bottomMargin = std::max(0, style.marginBottom - style.hdwMarginBottom);
    plan.numberWidth = style.lineNumbersLeft ? PrintNumberWidth(lineCount) : 0;
    plan.printColumns = std::max(0, page.columns - plan.leftMargin - rightMargin - plan.NumberCells());
    plan.lineCells = std::max(0, page.columns - plan.leftMargin);
    if (style.foldLongLines && style.foldAtColumn > 0) {
        if (style.foldAtColumn > plan.printColumns) {
            ShowMessage(app, "Print Style field 'FoldAtColumn' exceeds available print columns, ignored.",
                        MsgTo::Box, Beep::Exclamation);
        } else {
            plan.printColumns = style.foldAtColumn;
        }
    }
    plan.headerLines = TitleLines(style.headerShow, style.headerRuler, style.headerText, style.headerSpace);
    plan.footerLines = TitleLines(style.footerShow, style.footerRuler, style.footerText, style.footerSpace);
    plan.bodyLines = page.lines - plan.topMargin - plan.headerLines - plan.footerLines - bottomMargin;
    if (plan.bodyLines < 1) {
        ShowMessage(app, "Sum(topmarg hdr hdrspc ftrspc ftr botmarg) >= pagedepth, can not print.",
                    MsgTo::Box, Beep::Exclamation);
        return -1;
    }
    // Without a single text cell every line would print as nothing, and folding could never move
    // past the first character.
    if (plan.printColumns < 1) {
        ShowMessage(app, "Print style margins leave no print columns, can not print.", MsgTo::Box,
                    Beep::Exclamation);
        return -1;
    }
    return 0;
}

PrintLayout::PrintLayout(const PrintPlan& plan, HeaderValues values, PrintPageSink& sink)
    : plan_(plan), values_(std::move(values)), sink_(sink) {}

void PrintLayout::AddAligned(int line, const std::string& text, PrintAlign align) {
    std::string placed =
        AlignHeaderText(text, align, plan_.NumberCells() + plan_.printColumns, plan_.lineCells);
    size_t end = placed.find_last_not_of(' ');
    if (end == std::string::npos) {
        return;
    }
    size_t begin = placed.find_first_not_of(' ');
    page_.rows.push_back(PrintRow{
        line, plan_.leftMargin + static_cast<int>(begin), placed.substr(begin, end + 1 - begin), {}});
}

void PrintLayout::StartPage() {
    page_ = PrintedPage{};
    page_.number = pagesDone_ + 1;
    pageOpen_ = true;
    bodyUsed_ = 0;
    const PrintStyle& style = plan_.style;
    if (!style.headerShow) {
        return;
    }
    int line = plan_.topMargin;
    if (!style.headerText.empty()) {
        AddAligned(line++, SubstituteHeaderCodes(style.headerText, values_, page_.number), style.headerAlign);
    }
    if (style.headerRuler) {
        page_.rows.push_back(PrintRow{line, plan_.TextColumn(), PrintRulerText(plan_.printColumns), {}});
    }
}

bool PrintLayout::EndPage() {
    if (!pageOpen_) {
        return !stopped_;
    }
    const PrintStyle& style = plan_.style;
    if (style.footerShow) {
        // The footer stands at the foot of the body area on every page, full or not.
        int line = plan_.topMargin + plan_.headerLines + plan_.bodyLines + style.footerSpace;
        if (style.footerRuler) {
            page_.rows.push_back(
                PrintRow{line++, plan_.TextColumn(), PrintRulerText(plan_.printColumns), {}});
        }
        if (!style.footerText.empty()) {
            AddAligned(line, SubstituteHeaderCodes(style.footerText, values_, page_.number),
                       style.footerAlign);
        }
    }
    pageOpen_ = false;
    ++pagesDone_;
    if (!sink_.PageDone(page_)) {
        stopped_ = true;
    }
    return !stopped_;
}

bool PrintLayout::PutBodyRow(std::string_view text, const std::uint8_t* colors, bool numbered) {
    if (pageOpen_ && bodyUsed_ >= plan_.bodyLines && !EndPage()) {
        return false;
    }
    if (!pageOpen_) {
        StartPage();
    }
    int line = plan_.topMargin + plan_.headerLines + bodyUsed_++;
    int column = plan_.leftMargin;
    if (plan_.numberWidth > 0) {
        if (numbered) {
            page_.rows.push_back(PrintRow{line, column, Format("%0*ld", plan_.numberWidth, sequence_), {}});
        }
        column += plan_.numberWidth + 1;
    }
    if (!text.empty()) {
        PrintRow row{line, column, std::string(text), {}};
        if (colors != nullptr && plan_.style.colorPrint) {
            row.colors.assign(colors, colors + text.size());
        }
        page_.rows.push_back(std::move(row));
    }
    return true;
}

bool PrintLayout::AddLine(std::string_view text, const std::uint8_t* colors) {
    if (stopped_) {
        return false;
    }
    ++sequence_;
    if (plan_.style.colOneFormFeed && !text.empty() && text[0] == kFormFeed) {
        if (!EndPage()) {
            return false;
        }
        text.remove_prefix(1);
        if (colors != nullptr) {
            ++colors;
        }
        if (text.empty()) {
            return true;  // the next line, if any, opens the next page
        }
    }
    size_t width = static_cast<size_t>(plan_.printColumns);
    size_t at = 0;
    bool first = true;
    do {
        std::string_view piece = text.substr(at, width);
        if (!PutBodyRow(piece, colors != nullptr ? colors + at : nullptr, first)) {
            return false;
        }
        first = false;
        at += width;
    } while (plan_.style.foldLongLines && at < text.size());
    return true;
}

bool PrintLayout::Finish() {
    return EndPage();
}

}  // namespace tavoe
