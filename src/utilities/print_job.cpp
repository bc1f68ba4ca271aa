#include "utilities/print_job.h"

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "core/app_session.h"
#include "core/message.h"
#include "core/storage_host.h"
#include "core/var_store.h"
#include "platform/ascii_case.h"
#include "platform/file_io.h"
#include "platform/file_write.h"
#include "platform/format.h"
#include "profiles/file_profile_io.h"
#include "profiles/profile_name.h"
#include "utilities/print_device.h"
#include "utilities/print_layout.h"
#include "utilities/print_setup.h"
#include "utilities/print_style.h"

namespace tavoe {

namespace {

void Box(AppSession& app, const std::string& text, Beep beep = Beep::Exclamation) {
    ShowMessage(app, text, MsgTo::Box, beep);
}

// Shows the progress in the status line and passes the pages on; Escape stops the job.
class ProgressSink : public PrintPageSink {
public:
    ProgressSink(AppSession& app, PdfPrintDevice& device) : app_(app), device_(device) {}
    bool PageDone(const PrintedPage& page) override {
        Storage(app_).ShowLoadStatus(Format("Printing page %d", ++pages_));
        if (Storage(app_).EscapePressed()) {
            cancelled_ = true;
            return false;
        }
        return device_.PageDone(page);
    }
    bool Cancelled() const { return cancelled_; }
    int Pages() const { return pages_; }

private:
    AppSession& app_;
    PdfPrintDevice& device_;
    int pages_ = 0;
    bool cancelled_ = false;
};

// A file for the PDF on its way to the printer, in the temporary directory.
std::string TemporaryPdfPath() {
    const char* tmp = std::getenv("TMPDIR");
    std::string path =
        std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/tavoe-printXXXXXX.pdf";
    int fd = ::mkstemps(path.data(), 4);
    if (fd < 0) {
        return {};
    }
    ::close(fd);
    return path;
}

std::vector<LineRecord*> LinesToPrint(EditBuffer& buffer, PrintRange range) {
    std::vector<LineRecord*> lines;
    for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
        if (range == PrintRange::All || LineHasSelection(*line)) {
            lines.push_back(line);
        }
    }
    return lines;
}

bool LoadStyle(AppSession& app, std::string_view styleName, PrintStyle& style) {
    std::string name(styleName);
    if (name.empty()) {
        name = VarGetValue(app, "ZPRNSTYLE");
    }
    if (name.empty()) {
        name = std::string(kDefaultPrintStyle);
    }
    if (ReadPrintStyle(app, name, style) != 0) {
        Box(app, Format("Unable to load print style '%s'", name.c_str()));
        return false;
    }
    return true;
}

HeaderValues JobHeaderValues(AppSession& app, const EditBuffer& buffer) {
    HeaderValues values;
    values.path = buffer.fileName;
    values.name = buffer.displayName;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    FormatPrintDateTime(app, local, values.date, values.time);  // an unknown form prints no date
    return values;
}

// Reports a device failure in the words of the step that failed.
void ReportDeviceFailure(AppSession& app, PdfStatus status) {
    switch (status) {
        case PdfStatus::StartFailed:
        case PdfStatus::CannotCreate:
            Box(app, "Error on StartDoc, can not print.", Beep::Error);
            break;
        case PdfStatus::PageFailed:
            Box(app, "Error on StartPage, can not print.", Beep::Error);
            break;
        case PdfStatus::EndPageFailed:
            Box(app, "Print error ending page.", Beep::Error);
            break;
        case PdfStatus::Ok:
            break;
    }
}

}  // namespace

int PrintBuffer(AppSession& app, EditBuffer& buffer, PrintRange range, std::string_view styleName) {
    (void)FinishLoad(buffer);  // an aborted load prints the lines it has
    std::vector<LineRecord*> lines = LinesToPrint(buffer, range);
    if (range == PrintRange::Selection && lines.empty()) {
        Box(app,
            "To print part of file, use mouse or ZZ line command to select lines to be printed, then invoke "
            "PRINT command.",
            Beep::Information);
        return -1;
    }
    PrintStyle style;
    if (!LoadStyle(app, styleName, style)) {
        return -1;
    }
    PrintFont font = ParsePrintFont(VarGetValue(app, "ZFONT.PRINT"));
    bool substituted = false;
    std::string face = ResolvePrintFace(font, &substituted);
    if (substituted) {
        ShowMessage(app,
                    Format("Print font '%s' is not a fixed-pitch font on this system, '%s' used.",
                           font.face.c_str(), face.c_str()),
                    MsgTo::Line, Beep::Information);
    }
    PrintDestination destination = CurrentPrintDestination(app, buffer.fileName);
    std::string pdfPath = destination.toPrinter ? TemporaryPdfPath() : destination.pdfPath;

    PdfPrintDevice device;
    PdfStatus opened = pdfPath.empty() ? PdfStatus::CannotCreate
                                       : device.Open(pdfPath, destination.paper, face, font, style);
    if (opened != PdfStatus::Ok) {
        if (opened == PdfStatus::CannotCreate && !destination.toPrinter) {
            Box(app, Format("Unable to create PDF file '%s'.", pdfPath.c_str()), Beep::Error);
        } else {
            ReportDeviceFailure(app, opened);
        }
        device.Close();
        if (opened != PdfStatus::CannotCreate) {
            RemoveFile(pdfPath);
        }
        return -1;
    }
    PrintPlan plan;
    if (PlanPrintPages(app, style, device.Geometry(), static_cast<long>(lines.size()), plan) != 0) {
        device.Close();
        RemoveFile(pdfPath);
        return -1;
    }
    PrintPalette palette = app.profileSettings.palette;
    device.SetPalette(palette);
    device.SetDisplayIbmPc(buffer.profile.displayCharset == ProfileCharset::AsciiIbmPc);
    HeaderValues values = JobHeaderValues(app, buffer);

    ProgressSink sink(app, device);
    bool going = true;
    for (int copy = 0; copy < destination.copies && going; ++copy) {
        PrintLayout layout(plan, values, sink);
        for (LineRecord* line : lines) {
            going = layout.AddLine(LineText(*line), line->color);
            if (!going) {
                break;
            }
        }
        going = going && layout.Finish();
    }
    Storage(app).ShowLoadStatus("");
    PdfStatus closed = device.Close();
    if (sink.Cancelled() || closed != PdfStatus::Ok) {
        if (sink.Cancelled()) {
            ShowMessage(app, "Printing cancelled.", MsgTo::Line, Beep::Information);
        } else {
            ReportDeviceFailure(app, closed);
        }
        RemoveFile(pdfPath);
        return -1;
    }
    if (destination.toPrinter) {
        int sent = SendPdfToPrinter(app, pdfPath, destination.printer, buffer.displayName);
        RemoveFile(pdfPath);
        if (sent != 0) {
            return -1;
        }
        ShowMessage(app, Format("Printed %d pages on printer %s.", sink.Pages(), destination.printer.c_str()),
                    MsgTo::Line, Beep::None);
        return 0;
    }
    ShowMessage(app, Format("Printed %d pages to PDF file '%s'.", sink.Pages(), pdfPath.c_str()), MsgTo::Line,
                Beep::None);
    return 0;
}

int PrintFile(AppSession& app, std::string_view path, std::string_view styleName) {
    std::string full = FullPath(path);
    FileStamp stamp;
    if (!StatPath(full, stamp).Ok() || !stamp.isRegular || !CanRead(full)) {
        Box(app, Format("Unable to open file '%s' for print.", full.c_str()));
        return -1;
    }
    EditBuffer buffer(app);
    (void)ReadFileProfile(app, ProfileNameForFile(app, full), buffer.profile);  // a bad line is reported
    if (OpenFile(buffer, full, OpenMode::Browse, LoadQuiet::NoCapsScan | LoadQuiet::NoSummary) != 0) {
        return -1;
    }
    (void)FinishLoad(buffer);
    CloseFile(buffer);
    if (FirstDataLine(buffer) == nullptr) {
        Box(app, Format("'%s' has no records to print.", full.c_str()));
        return -1;
    }
    return PrintBuffer(app, buffer, PrintRange::All, styleName);
}

int PrintCommand(AppSession& app, EditBuffer& buffer, std::string_view parameters) {
    size_t first = parameters.find_first_not_of(' ');
    size_t last = parameters.find_last_not_of(' ');
    std::string word = first == std::string_view::npos
                           ? std::string()
                           : UpperAscii(parameters.substr(first, last + 1 - first));
    if (word.empty()) {
        return PrintBuffer(app, buffer, PrintRange::All);
    }
    if (word == "PART") {
        return PrintBuffer(app, buffer, PrintRange::Selection);
    }
    Box(app, Format("PRINT: invalid parameter '%s', use PRINT or PRINT PART.", word.c_str()));
    return -1;
}

}  // namespace tavoe
