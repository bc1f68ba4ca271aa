#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "utilities/print_device.h"

namespace tavoe {

// Where a print goes: a CUPS printer through `lp`, or a PDF file. The choice, the number of copies,
// the PDF file and the paper are settings that the PRNSETUP dialog edits:
//   ZPRINTER.NAME     a printer name, or "PDF file"; empty: the system's default printer
//   ZPRINTER.COPIES   1..99
//   ZPRINTER.PDFFILE  the PDF to write; empty: the printed file's path with ".pdf" added; a directory:
//                     the printed file's name with ".pdf" in it
//   ZPRINTER.PAPER    "System", "A4" or "Letter"

struct AppSession;

inline constexpr std::string_view kPdfFileChoice = "PDF file";
inline constexpr int kPrintCopiesMax = 99;

struct PrintDestination {
    bool toPrinter = false;
    std::string printer;  // with toPrinter
    std::string pdfPath;  // without it
    int copies = 1;
    PaperSize paper;
};

// The destination for printing the file at printedPath (its name makes the default PDF name). A
// printer is used only when one is chosen or is the system's default and `lp` is there; otherwise
// the print is saved as a PDF file.
PrintDestination CurrentPrintDestination(AppSession& app, std::string_view printedPath);

// The printers CUPS knows (`lpstat -e`), empty when lpstat is missing or lists none; and the
// system's default printer (`lpstat -d`), empty when there is none.
std::vector<std::string> ListPrinters();
std::string DefaultPrinter();

// Hands a finished PDF to `lp` for the printer, with the job title. 0, or -1 after a message.
int SendPdfToPrinter(AppSession& app, const std::string& pdfPath, const std::string& printer,
                     const std::string& title);

// PRNSETUP: the printer (the printers found and "PDF file"), copies, PDF file and paper.
void PrnSetupDialog(AppSession& app);

}  // namespace tavoe
