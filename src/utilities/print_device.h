#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "utilities/print_layout.h"

namespace tavoe {

// The print device: laid-out pages drawn into a PDF file with cairo, in a fixed-pitch font that
// fontconfig finds. Device units are PDF points (1/72 inch); a character cell is the font's advance
// wide and its line height high.

struct AppSession;

// A font as ZFONT.PRINT gives it: "face,size[,weight,style]".
struct PrintFont {
    std::string face = "DejaVu Sans Mono";
    double points = 10;
    bool bold = false;    // weight 600 and above, or the word BOLD
    bool italic = false;  // style ITALIC or OBLIQUE, or a non-zero number
};

// Reads the setting's text; fields that are missing or unreadable keep the defaults above (a size
// outside 4..72 points is taken as 10).
PrintFont ParsePrintFont(std::string_view setting);

// The face fontconfig gives for the font, when that is a fixed-pitch face; else "DejaVu Sans Mono"
// (or the system's monospace face when even that is missing), with *substituted set.
std::string ResolvePrintFace(const PrintFont& font, bool* substituted);

struct PaperSize {
    std::string name;       // "A4", "Letter" or "System"
    double width = 595.28;  // points
    double height = 841.89;
};

// The paper: "A4" or "Letter" by name (any case); otherwise the system's: the first word of
// /etc/papersize, then the paper of the locale (LC_PAPER), else A4.
PaperSize PaperSizeFor(std::string_view choice);

// The colours of the palette (ZCOLOR.0 .. 15: red in the low byte, blue in the high byte).
using PrintPalette = std::array<std::uint32_t, 16>;

enum class PdfStatus { Ok, CannotCreate, StartFailed, PageFailed, EndPageFailed };

// Draws the pages it receives into one PDF file. Open measures the font and gives the printable area
// for the style's Hdw margins; every page then becomes one PDF page.
class PdfPrintDevice : public PrintPageSink {
public:
    PdfPrintDevice();
    ~PdfPrintDevice() override;
    PdfPrintDevice(const PdfPrintDevice&) = delete;
    PdfPrintDevice& operator=(const PdfPrintDevice&) = delete;

    // Creates the file (truncating it). CannotCreate when the file cannot be written, StartFailed when
    // cairo refuses the document.
    PdfStatus Open(const std::string& path, const PaperSize& paper, const std::string& face,
                   const PrintFont& font, const PrintStyle& style);
    PrintPageGeometry Geometry() const { return geometry_; }

    void SetPalette(const PrintPalette& palette) { palette_ = palette; }
    void SetDisplayIbmPc(bool ibmPc) { ibmPc_ = ibmPc; }

    bool PageDone(const PrintedPage& page) override;

    // Finishes the file. The status of the first failure, or Ok.
    PdfStatus Close();
    PdfStatus Status() const { return status_; }

private:
    struct Cairo;
    void DrawRow(const PrintRow& row);
    void DrawRun(std::string_view text, double x, double baseline, std::uint8_t color, bool colored);

    std::unique_ptr<Cairo> cairo_;
    PrintPageGeometry geometry_;
    PrintPalette palette_{};
    PdfStatus status_ = PdfStatus::Ok;
    bool ibmPc_ = false;
    double cellWidth_ = 0;
    double lineHeight_ = 0;
    double ascent_ = 0;
    double originX_ = 0;
    double originY_ = 0;
};

}  // namespace tavoe
