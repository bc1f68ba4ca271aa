#include "utilities/print_setup.h"

#include <sys/stat.h>

#include <cctype>
#include <sstream>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_vars.h"
#include "platform/format.h"
#include "platform/process_run.h"

namespace tavoe {

namespace {

constexpr const char* kPaperChoices[] = {"System", "A4", "Letter"};

std::string LpstatOutput(const std::vector<std::string>& args) {
    if (!ProgramAvailable("lpstat")) {
        return {};
    }
    ProcessOptions options;
    options.output = ChildStream::Capture;
    options.errors = ChildStream::Null;
    std::vector<std::string> argv{"lpstat"};
    argv.insert(argv.end(), args.begin(), args.end());
    ProcessResult result = RunProcess(argv, options);
    return result.started && result.exitStatus == 0 ? result.output : std::string();
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string FileNameOf(std::string_view path) {
    size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace

std::vector<std::string> ListPrinters() {
    std::vector<std::string> printers;
    std::istringstream lines(LpstatOutput({"-e"}));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string name;
        if (words >> name) {
            printers.push_back(name);
        }
    }
    return printers;
}

std::string DefaultPrinter() {
    // "system default destination: NAME"; other texts (no default) give nothing.
    std::string text = LpstatOutput({"-d"});
    size_t colon = text.find("destination:");
    if (colon == std::string::npos) {
        return {};
    }
    std::istringstream rest(text.substr(colon + 12));
    std::string name;
    rest >> name;
    return name;
}

PrintDestination CurrentPrintDestination(AppSession& app, std::string_view printedPath) {
    PrintDestination destination;
    destination.paper = PaperSizeFor(VarGetValue(app, "ZPRINTER.PAPER"));
    long copies = VarGetNumber(app, "ZPRINTER.COPIES");
    destination.copies =
        copies < 1 ? 1 : (copies > kPrintCopiesMax ? kPrintCopiesMax : static_cast<int>(copies));
    std::string choice = VarGetValue(app, "ZPRINTER.NAME");
    if (choice != kPdfFileChoice && ProgramAvailable("lp")) {
        destination.printer = choice.empty() ? DefaultPrinter() : choice;
        destination.toPrinter = !destination.printer.empty();
    }
    std::string pdf = VarGetValue(app, "ZPRINTER.PDFFILE");
    if (pdf.empty()) {
        destination.pdfPath = std::string(printedPath) + ".pdf";
    } else if (IsDirectory(pdf)) {
        destination.pdfPath = pdf + (pdf.ends_with('/') ? "" : "/") + FileNameOf(printedPath) + ".pdf";
    } else {
        destination.pdfPath = pdf;
    }
    return destination;
}

int SendPdfToPrinter(AppSession& app, const std::string& pdfPath, const std::string& printer,
                     const std::string& title) {
    ProcessOptions options;
    options.output = ChildStream::Null;
    options.errors = ChildStream::Null;
    // The words go to lp as they are: a title or path with blanks or quotes stays one argument.
    ProcessResult result = RunProcess({"lp", "-d", printer, "-t", title, "--", pdfPath}, options);
    if (!result.started) {
        ShowMessage(app, "Unable to run 'lp' to print, install the CUPS client or print to a PDF file.",
                    MsgTo::Box, Beep::Error);
        return -1;
    }
    if (result.exitStatus != 0) {
        ShowMessage(app,
                    Format("Printer '%s' refused the print job (lp exit code %d).", printer.c_str(),
                           result.exitStatus),
                    MsgTo::Box, Beep::Error);
        return -1;
    }
    return 0;
}

namespace {

void PreparePrnSetup(AppSession& app) {
    std::vector<std::string> printers = ListPrinters();
    std::string current = VarGetValue(app, "ZPRINTER.NAME");
    if (current.empty()) {
        current = DefaultPrinter();
    }
    std::vector<std::string> choices{std::string(kPdfFileChoice)};
    choices.insert(choices.end(), printers.begin(), printers.end());
    int select = 1;
    for (size_t i = 0; i < choices.size(); ++i) {
        if (choices[i] == current) {
            select = static_cast<int>(i) + 1;
        }
    }
    WriteDialogArray(app, "PrnSetup.Printer", choices);
    VarSetNumber(app, "PrnSetup.Printer.Select", select);
    long copies = VarGetNumber(app, "ZPRINTER.COPIES");
    VarSetNumber(app, "PrnSetup.Copies", copies < 1 ? 1 : copies);
    VarSetValue(app, "PrnSetup.PdfFile", VarGetValue(app, "ZPRINTER.PDFFILE"));
    WriteDialogArray(app, "PrnSetup.Paper", {kPaperChoices[0], kPaperChoices[1], kPaperChoices[2]});
    int paper = 1;
    for (int i = 0; i < 3; ++i) {
        if (VarGetValue(app, "ZPRINTER.PAPER") == kPaperChoices[i]) {
            paper = i + 1;
        }
    }
    VarSetNumber(app, "PrnSetup.Paper.Select", paper);
    VarSetValue(app, "PrnSetup.Printers",
                printers.empty() ? "No printer found: prints are saved as PDF files."
                                 : Format("%zu printer(s) found.", printers.size()));
}

void ApplyPrnSetup(AppSession& app) {
    if (DialogReply(app, "", "PrnSetup") != "OK") {
        LeaveDialog(app);
        return;
    }
    std::string copies = VarGetValue(app, "PrnSetup.Copies");
    bool digits = !copies.empty() && copies.size() <= 2;
    for (char c : copies) {
        digits = digits && std::isdigit(static_cast<unsigned char>(c));
    }
    if (!digits || std::stoi(copies) < 1) {
        ShowMessage(app, Format("Copies must be a number from 1 to %d.", kPrintCopiesMax), MsgTo::Box,
                    Beep::Exclamation);
        ShowDialogAgain(app, "PRNSETUP");
        return;
    }
    std::vector<std::string> choices = ReadDialogArray(app, "PrnSetup.Printer");
    long select = VarGetNumber(app, "PrnSetup.Printer.Select");
    if (select >= 1 && select <= static_cast<long>(choices.size())) {
        VarSetValue(app, "ZPRINTER.NAME", choices[static_cast<size_t>(select - 1)]);
        KeepSetting(app, "ZPRINTER.NAME");
    }
    long paper = VarGetNumber(app, "PrnSetup.Paper.Select");
    if (paper >= 1 && paper <= 3) {
        VarSetValue(app, "ZPRINTER.PAPER", kPaperChoices[paper - 1]);
        KeepSetting(app, "ZPRINTER.PAPER");
    }
    VarSetValue(app, "ZPRINTER.COPIES", copies);
    KeepSetting(app, "ZPRINTER.COPIES");
    std::string pdf = VarGetValue(app, "PrnSetup.PdfFile");
    if (pdf.empty()) {
        VarDelete(app, "ZPRINTER.PDFFILE");
    } else {
        VarSetValue(app, "ZPRINTER.PDFFILE", pdf);
        KeepSetting(app, "ZPRINTER.PDFFILE");
    }
    LeaveDialog(app);
}

}  // namespace

void PrnSetupDialog(AppSession& app) {
    PreparePrnSetup(app);
    RunOptionDialog(app, "PRNSETUP", [&app] { ApplyPrnSetup(app); });
}

}  // namespace tavoe
