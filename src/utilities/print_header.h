#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "utilities/print_style.h"

namespace tavoe {

// Header and footer lines of a printed page: the substitution codes, the date and time forms, and the
// placement of the text on the print columns.

struct AppSession;

// What the codes stand for on one print job.
struct HeaderValues {
    std::string date;  // &D
    std::string time;  // &T
    std::string path;  // &F, the file's full path
    std::string name;  // &N, the file name without its directory
};

// The text with "&D", "&T", "&F", "&N" and "&P" (the letter in either case) replaced; an "&" followed
// by anything else, or at the end, stays as it is.
std::string SubstituteHeaderCodes(std::string_view text, const HeaderValues& values, int page);

// Date and time in the form named by ZFLIST.FORMAT.DATE ("USA", "EUR", "ISO", "JIS"). Any other form
// shows "Unknown date form." and leaves both empty; returns -1 then.
int FormatPrintDateTime(AppSession& app, const std::tm& when, std::string& date, std::string& time);
// The same for a form given directly; false for an unknown form.
bool FormatDateTimeForm(std::string_view form, const std::tm& when, std::string& date, std::string& time);

// The line that shows the text aligned on `width` cells: LEFT from the first cell, CENTER centred,
// RIGHT ending at the last cell (both left when the text does not fit), SPREAD the parts before the
// first and second "|" left, centred and right. Text that runs past the width goes on up to `limit`
// cells (the edge of the printable area) and is cut there; the line is `limit` cells long.
std::string AlignHeaderText(std::string_view text, PrintAlign align, int width, int limit);

// The column ruler of `width` cells, as on the editor's COLS line.
std::string PrintRulerText(int width);

}  // namespace tavoe
