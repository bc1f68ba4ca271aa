#include "utilities/print_device.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <langinfo.h>
#include <locale.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "platform/ascii_case.h"
#include "ui/glyph_map.h"

namespace tavoe {

namespace {

constexpr const char* kFallbackFace = "DejaVu Sans Mono";
constexpr double kPointsPerMm = 72.0 / 25.4;

std::vector<std::string> SplitFields(std::string_view text) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(',', start);
        std::string field(
            text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        size_t first = field.find_first_not_of(' ');
        size_t last = field.find_last_not_of(' ');
        fields.push_back(first == std::string::npos ? std::string() : field.substr(first, last + 1 - first));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

// The matched family of a pattern and whether it is fixed-pitch; false when nothing matched.
bool MatchFace(const std::string& face, std::string& family, bool& mono) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(face.c_str()));
    if (pattern == nullptr) {
        return false;
    }
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) {
        return false;
    }
    FcChar8* name = nullptr;
    int spacing = FC_PROPORTIONAL;
    bool found = FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch;
    if (found) {
        family = reinterpret_cast<const char*>(name);
    }
    mono = FcPatternGetInteger(match, FC_SPACING, 0, &spacing) == FcResultMatch && spacing >= FC_MONO;
    FcPatternDestroy(match);
    return found;
}

bool PaperByName(std::string_view name, PaperSize& paper) {
    std::string upper = UpperAscii(name);
    if (upper == "A4") {
        paper = PaperSize{"A4", 210 * kPointsPerMm, 297 * kPointsPerMm};
        return true;
    }
    if (upper == "LETTER") {
        paper = PaperSize{"Letter", 612, 792};
        return true;
    }
    return false;
}

cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length) {
    auto* file = static_cast<std::FILE*>(closure);
    return std::fwrite(data, 1, length, file) == length ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

void SetRgb(cairo_t* cr, std::uint32_t color) {
    cairo_set_source_rgb(cr, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                         ((color >> 16) & 0xFF) / 255.0);
}

}  // namespace

PrintFont ParsePrintFont(std::string_view setting) {
    PrintFont font;
    std::vector<std::string> fields = SplitFields(setting);
    if (!fields.empty() && !fields[0].empty()) {
        font.face = fields[0];
    }
    if (fields.size() > 1) {
        double points = std::atof(fields[1].c_str());
        font.points = points >= 4 && points <= 72 ? points : 10;
    }
    if (fields.size() > 2) {
        std::string weight = UpperAscii(fields[2]);
        font.bold = weight.find("BOLD") != std::string::npos || std::atoi(weight.c_str()) >= 600;
    }
    if (fields.size() > 3) {
        std::string style = UpperAscii(fields[3]);
        font.italic = style.find("ITALIC") != std::string::npos ||
                      style.find("OBLIQUE") != std::string::npos || std::atoi(style.c_str()) != 0;
    }
    return font;
}

std::string ResolvePrintFace(const PrintFont& font, bool* substituted) {
    std::string family;
    bool mono = false;
    if (MatchFace(font.face, family, mono) && mono) {
        *substituted = false;
        return family;
    }
    *substituted = true;
    if (MatchFace(kFallbackFace, family, mono) && mono) {
        return family;
    }
    return MatchFace("monospace", family, mono) ? family : std::string(kFallbackFace);
}

PaperSize PaperSizeFor(std::string_view choice) {
    PaperSize paper;
    if (PaperByName(choice, paper)) {
        return paper;
    }
    if (const char* env = std::getenv("PAPERSIZE"); env != nullptr && PaperByName(env, paper)) {
        paper.name = "System";
        return paper;
    }
    std::ifstream file("/etc/papersize");
    std::string word;
    while (file >> word) {
        if (word[0] == '#') {
            std::getline(file, word);
            continue;
        }
        if (PaperByName(word, paper)) {
            paper.name = "System";
            return paper;
        }
        break;
    }
    if (locale_t locale = ::newlocale(LC_PAPER_MASK, "", nullptr); locale != nullptr) {
        // glibc hands the paper's dimensions in millimetres as the pointer value itself.
        auto height =
            static_cast<int>(reinterpret_cast<std::intptr_t>(::nl_langinfo_l(_NL_PAPER_HEIGHT, locale)));
        auto width =
            static_cast<int>(reinterpret_cast<std::intptr_t>(::nl_langinfo_l(_NL_PAPER_WIDTH, locale)));
        ::freelocale(locale);
        if (width > 50 && width < 2000 && height > 50 && height < 2000) {
            return PaperSize{"System", width * kPointsPerMm, height * kPointsPerMm};
        }
    }
    PaperByName("A4", paper);
    paper.name = "System";
    return paper;
}

struct PdfPrintDevice::Cairo {
    std::FILE* file = nullptr;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
};

PdfPrintDevice::PdfPrintDevice() : cairo_(std::make_unique<Cairo>()) {}

PdfPrintDevice::~PdfPrintDevice() {
    Close();
}

PdfStatus PdfPrintDevice::Open(const std::string& path, const PaperSize& paper, const std::string& face,
                               const PrintFont& font, const PrintStyle& style) {
    cairo_->file = std::fopen(path.c_str(), "wb");
    if (cairo_->file == nullptr) {
        status_ = PdfStatus::CannotCreate;
        return status_;
    }
    cairo_->surface =
        cairo_pdf_surface_create_for_stream(WriteToFile, cairo_->file, paper.width, paper.height);
    cairo_->cr = cairo_create(cairo_->surface);
    if (cairo_surface_status(cairo_->surface) != CAIRO_STATUS_SUCCESS ||
        cairo_status(cairo_->cr) != CAIRO_STATUS_SUCCESS) {
        status_ = PdfStatus::StartFailed;
        return status_;
    }
    cairo_t* cr = cairo_->cr;
    cairo_select_font_face(cr, face.c_str(), font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.points);
    cairo_font_extents_t extents{};
    cairo_font_extents(cr, &extents);
    cairo_text_extents_t m{};
    cairo_text_extents(cr, "M", &m);
    cellWidth_ = m.x_advance > 0 ? m.x_advance : font.points * 0.6;
    lineHeight_ = extents.height > 0 ? extents.height : font.points * 1.2;
    ascent_ = extents.ascent;
    originX_ = style.hdwMarginLeft * cellWidth_;
    originY_ = style.hdwMarginTop * lineHeight_;
    int columns = static_cast<int>(std::floor(paper.width / cellWidth_));
    int lines = static_cast<int>(std::floor(paper.height / lineHeight_));
    geometry_.columns = std::max(0, columns - style.hdwMarginLeft - style.hdwMarginRight);
    geometry_.lines = std::max(0, lines - style.hdwMarginTop - style.hdwMarginBottom);
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
        status_ = PdfStatus::StartFailed;
    }
    return status_;
}

void PdfPrintDevice::DrawRun(std::string_view text, double x, double baseline, std::uint8_t color,
                             bool colored) {
    cairo_t* cr = cairo_->cr;
    if (colored) {
        SetRgb(cr, palette_[color & 15]);
        cairo_rectangle(cr, x, baseline - ascent_, text.size() * cellWidth_, lineHeight_);
        cairo_fill(cr);
        SetRgb(cr, palette_[color >> 4]);
    } else {
        cairo_set_source_rgb(cr, 0, 0, 0);
    }
    ui::DisplaySet set = ibmPc_ ? ui::DisplaySet::IbmPc : ui::DisplaySet::Iso8859;
    std::string utf8;
    for (char c : text) {
        auto byte = static_cast<std::uint8_t>(c);
        // Underscores are drawn as lines below; control codes of the ISO set print as blanks.
        if (byte == '_' || (!ibmPc_ && (byte < 32 || byte == 127))) {
            utf8 += ' ';
        } else {
            ui::AppendUtf8(utf8, ui::GlyphOf(byte, set));
        }
    }
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, utf8.c_str());
    // An underscore is two thin lines one unit apart, about 8% of the line height above the foot of
    // the cell, so it never touches the line below whatever the font's underscore glyph does.
    double foot = baseline - ascent_ + lineHeight_ - std::round(0.08 * lineHeight_);
    cairo_set_line_width(cr, 0.5);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_') {
            double left = x + i * cellWidth_;
            for (double y : {foot, foot - 1}) {
                cairo_move_to(cr, left, y);
                cairo_line_to(cr, left + cellWidth_, y);
            }
            cairo_stroke(cr);
        }
    }
}

void PdfPrintDevice::DrawRow(const PrintRow& row) {
    double baseline = originY_ + row.line * lineHeight_ + ascent_;
    double x = originX_ + row.column * cellWidth_;
    if (row.colors.size() != row.text.size()) {
        DrawRun(row.text, x, baseline, 0, false);
        return;
    }
    size_t start = 0;
    while (start < row.text.size()) {
        size_t end = start + 1;
        while (end < row.text.size() && row.colors[end] == row.colors[start]) {
            ++end;
        }
        DrawRun(std::string_view(row.text).substr(start, end - start), x + start * cellWidth_, baseline,
                row.colors[start], true);
        start = end;
    }
}

bool PdfPrintDevice::PageDone(const PrintedPage& page) {
    if (status_ != PdfStatus::Ok) {
        return false;
    }
    cairo_t* cr = cairo_->cr;
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
        status_ = PdfStatus::PageFailed;
        return false;
    }
    for (const PrintRow& row : page.rows) {
        DrawRow(row);
    }
    cairo_show_page(cr);
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_status(cairo_->surface) != CAIRO_STATUS_SUCCESS) {
        status_ = PdfStatus::EndPageFailed;
        return false;
    }
    return true;
}

PdfStatus PdfPrintDevice::Close() {
    if (cairo_->cr != nullptr) {
        cairo_destroy(cairo_->cr);
        cairo_->cr = nullptr;
    }
    if (cairo_->surface != nullptr) {
        cairo_surface_finish(cairo_->surface);
        if (cairo_surface_status(cairo_->surface) != CAIRO_STATUS_SUCCESS && status_ == PdfStatus::Ok) {
            status_ = PdfStatus::EndPageFailed;
        }
        cairo_surface_destroy(cairo_->surface);
        cairo_->surface = nullptr;
    }
    if (cairo_->file != nullptr) {
        if (std::fclose(cairo_->file) != 0 && status_ == PdfStatus::Ok) {
            status_ = PdfStatus::EndPageFailed;
        }
        cairo_->file = nullptr;
    }
    return status_;
}

}  // namespace tavoe

#if defined(__SANITIZE_ADDRESS__)
// fontconfig and cairo keep their parsed configuration and font caches for the life of the process
// and never free them; the leak checker of sanitizer builds is told so, and nothing else.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libcairo.so\n";
}

// The list of suppressions used would otherwise be printed at exit, into the output batch runs compare.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
#endif
