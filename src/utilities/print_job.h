#pragma once

#include <string>
#include <string_view>

namespace tavoe {

// Printing the data lines of an edit session, or of a file, with a print style: the pages are laid
// out, drawn into a PDF, and the PDF goes to the chosen printer through `lp` or stays as the PDF file
// the user asked for (always so when there is no printer). "Printing page %d" stands in the status
// line while it runs, and Escape stops it.

struct AppSession;
struct EditBuffer;

enum class PrintRange {
    All,        // every data line
    Selection,  // the data lines that are selected (mouse, ZZ)
};

// Prints the buffer's data lines under the style (empty: the one named by ZPRNSTYLE, DEFAULT when
// that is empty). Special lines (notes, COLS, bounds) are never printed. A selection print without a
// selection shows "To print part of file, use mouse or ZZ line command to select lines to be printed,
// then invoke PRINT command.". 0 when the job was printed or saved; -1 after a message, with nothing
// sent to a printer and no PDF file left behind.
int PrintBuffer(AppSession& app, EditBuffer& buffer, PrintRange range, std::string_view styleName = {});

// The print of a file that is not being edited (the file list's P, the macro function FILEPRINT):
// the file is read with its file profile (record format, length, character sets) and printed under
// the style (empty: ZPRNSTYLE). "Unable to open file '%s' for print." when it cannot be read, "'%s'
// has no records to print." when it holds no lines. 0, or -1 after a message.
int PrintFile(AppSession& app, std::string_view path, std::string_view styleName);

// The primary command PRINT [PART] of an edit session: no parameter prints every data line, PART the
// selected ones. Anything else: "PRINT: invalid parameter '%s', use PRINT or PRINT PART.".
int PrintCommand(AppSession& app, EditBuffer& buffer, std::string_view parameters);

}  // namespace tavoe
