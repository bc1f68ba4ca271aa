#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "filelist/file_list.h"

namespace tavoe {

// How the columns, the header line and the exported text of a file list are written.

// A count with "," every three digits from the right: 1234567 -> "1,234,567".
std::string GroupThousands(uint64_t value);

// The date and time in one of the forms "USA", "EUR", "ISO" or "JIS" (any other form is taken as
// "USA"), from local time.
std::string FormatEntryDate(std::time_t when, std::string_view form);
std::string FormatEntryDate(const std::tm& local, std::string_view form);

// The Attr column, four cells as a user of `ls -l` reads them: the type ("d" directory, "l"
// symbolic link, "-" file), then "R" when the user cannot write it, "H" for a hidden (dot) name and
// "x" when it is executable; "-" where a property is absent.
std::string FormatAttrs(const FileEntry& entry);
inline constexpr int kAttrWidth = 4;

// The Action column: "Browsed", "3Chg", "FindHit", "2Fnd", ...; "" when nothing was done or a
// count is 0.
std::string ActionText(const FileEntry& entry);

// The Size column: the grouped byte count, or "<DIR>".
std::string SizeText(const FileEntry& entry);

// The name as it may be shown: control bytes (a newline in a name) become "?".
std::string DisplayName(std::string_view name);

std::string_view SortFieldName(SortField field);

// "%s dirs,  %s files,  %s bytes,  locked,  sorted by NAME ASCENDING" as far as each part applies.
std::string HeaderLine(const FileList& list);

// The window's title line.
inline constexpr std::string_view kFileListTitle =
    "File List (type verb in entry or use mouse to select then click right btn for popup menu)";

// What decides the layout of a row.
struct RowLayout {
    int actionWidth = 3;  // the typed line-command cells at the left
    int nameWidth = 30;
    int extWidth = 6;
    bool extSeparate = true;
    bool showSize = true;
    bool showDate = true;
    bool showAttr = true;
    bool showAction = true;
    bool showPath = false;  // recursive lists
    std::string dateForm = "USA";
};

// The columns of a row after the typed-command cells (no trailing blanks), and the heading of
// the same columns. The start column of each heading is reported for mouse clicks.
std::string RowText(const FileEntry& entry, const RowLayout& layout);
std::string ColumnHeadings(const RowLayout& layout);
// The sort field of the heading under a column of ColumnHeadings; false beside every heading.
bool HeadingAt(const RowLayout& layout, int column, SortField& field);

// The text LISTTOFILE writes: two comment lines naming the path and the counts, then one line per
// shown entry.
std::string ExportText(FileList& list, const RowLayout& layout);

}  // namespace tavoe
