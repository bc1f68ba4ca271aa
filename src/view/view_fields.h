#pragma once

#include <cstdint>
#include <string>

namespace tavoe {

// The texts the edit view shows around the data window: the COLS field of the field bar, the status
// line, the two rows of the hexadecimal pane and the COLS ruler. The main window asks for them each
// time it paints, so they always follow the scroll position and the cursor.

struct AppSession;
struct EditSession;

// "COLS %02d %02d" for a maximum record length below 100, "COLS %03d %03d" below 1000, "COLS %04d
// %04d" below 10000, else "COLS %05d %05d": the first data column shown (offset + 1) and the last
// (first + data columns - 1), both at most the maximum record length.
std::string ShowColsField(const EditSession& session, int32_t offset, int dataColumns);

// " L %d  C %d  Task %d  RdOnly": the record number of the data line under the cursor ("L -" on no
// data line or record 0), the cursor's data column counted from 1 with the horizontal offset ("C -"
// outside the data area), the number of edit sessions when there are more than one, and RdOnly for a
// browse. Empty while the instance closes and without an edit session of a loaded file.
std::string ShowStatusLine(AppSession& app);

// The two rows of the hexadecimal pane for `dataColumns` data columns (the prefix area's blanks are
// the painter's). With a data line as the top line, the high and the low hexadecimal digit of each
// character from the horizontal offset on, in the file's own character set (an EBCDIC file shows
// EBCDIC codes); blanks past the end of the line. Otherwise the two explanatory rows.
struct HexPaneRows {
    std::string high;
    std::string low;
};
HexPaneRows ShowHexPane(const EditSession& session, int dataColumns);

// The character of the COLS ruler at a record column (from 1) for a ruler of `length` columns: "+" at
// multiples of 5, "-" elsewhere, and at each multiple of 10 that leaves at least 5 columns
// (length - column >= 4) its decimal digits written from that column on. Blank beyond the length.
char RulerCharAt(int32_t column, int32_t length);

}  // namespace tavoe
