#include "utilities/print_header.h"

#include <algorithm>
#include <cctype>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "platform/format.h"
#include "view/view_fields.h"

namespace tavoe {

std::string SubstituteHeaderCodes(std::string_view text, const HeaderValues& values, int page) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        switch (std::toupper(static_cast<unsigned char>(text[i + 1]))) {
            case 'D':
                out += values.date;
                break;
            case 'T':
                out += values.time;
                break;
            case 'F':
                out += values.path;
                break;
            case 'N':
                out += values.name;
                break;
            case 'P':
                out += std::to_string(page);
                break;
            default:
                out += '&';
                continue;  // the next character is copied on its own
        }
        ++i;
    }
    return out;
}

bool FormatDateTimeForm(std::string_view form, const std::tm& when, std::string& date, std::string& time) {
    int year = when.tm_year + 1900;
    int month = when.tm_mon + 1;
    int day = when.tm_mday;
    if (form == "USA") {
        int hour12 = when.tm_hour % 12 == 0 ? 12 : when.tm_hour % 12;
        date = Format("%d/%d/%04d", month, day, year);
        time = Format("%d:%02d%s", hour12, when.tm_min, when.tm_hour < 12 ? "AM" : "PM");
    } else if (form == "EUR") {
        date = Format("%d.%d.%04d", day, month, year);
        time = Format("%d.%02d.%02d", when.tm_hour, when.tm_min, when.tm_sec);
    } else if (form == "ISO") {
        date = Format("%04d-%02d-%02d", year, month, day);
        time = Format("%02d.%02d.%02d", when.tm_hour, when.tm_min, when.tm_sec);
    } else if (form == "JIS") {
        date = Format("%04d-%02d-%02d", year, month, day);
        time = Format("%02d:%02d:%02d", when.tm_hour, when.tm_min, when.tm_sec);
    } else {
        date.clear();
        time.clear();
        return false;
    }
    return true;
}

int FormatPrintDateTime(AppSession& app, const std::tm& when, std::string& date, std::string& time) {
    if (!FormatDateTimeForm(VarGetValue(app, "ZFLIST.FORMAT.DATE"), when, date, time)) {
        ShowMessage(app, "Unknown date form.", MsgTo::Box, Beep::Exclamation);
        return -1;
    }
    return 0;
}

namespace {

// Writes the text into the line from cell `at`, as far as the line reaches.
void Place(std::string& line, int at, std::string_view text) {
    for (size_t i = 0; i < text.size() && at + static_cast<int>(i) < static_cast<int>(line.size()); ++i) {
        if (at + static_cast<int>(i) >= 0) {
            line[static_cast<size_t>(at) + i] = text[i];
        }
    }
}

int Centred(std::string_view text, int width) {
    int length = static_cast<int>(text.size());
    return length >= width ? 0 : (width - length) / 2;
}

int RightAligned(std::string_view text, int width) {
    int length = static_cast<int>(text.size());
    return length >= width ? 0 : width - length;
}

}  // namespace

std::string AlignHeaderText(std::string_view text, PrintAlign align, int width, int limit) {
    width = std::max(width, 0);
    if (limit <= 0) {
        return {};
    }
    std::string line(static_cast<size_t>(limit), ' ');
    switch (align) {
        case PrintAlign::Left:
            Place(line, 0, text);
            break;
        case PrintAlign::Center:
            Place(line, Centred(text, width), text);
            break;
        case PrintAlign::Right:
            Place(line, RightAligned(text, width), text);
            break;
        case PrintAlign::Spread: {
            size_t bar1 = text.find('|');
            std::string_view left = text.substr(0, bar1);
            std::string_view centre;
            std::string_view right;
            if (bar1 != std::string_view::npos) {
                std::string_view rest = text.substr(bar1 + 1);
                size_t bar2 = rest.find('|');
                centre = rest.substr(0, bar2);
                if (bar2 != std::string_view::npos) {
                    right = rest.substr(bar2 + 1);
                }
            }
            // The left part is written last, so a path too long for the line is not hidden by the
            // date and time; they give way to it.
            Place(line, RightAligned(right, width), right);
            Place(line, Centred(centre, width), centre);
            Place(line, 0, left);
            break;
        }
    }
    return line;
}

std::string PrintRulerText(int width) {
    std::string ruler;
    for (int column = 1; column <= width; ++column) {
        ruler += RulerCharAt(column, width);
    }
    return ruler;
}

}  // namespace tavoe
