#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "../profiles/search_path_fixture.h"
#include "buffer/edit_buffer.h"
#include "core/var_store.h"

namespace tavoe {

// A print test: a style directory on ZPATH.PRINTSTYLES, an edit buffer to fill with data lines, the
// output sent to a PDF file in the test folder, and the text of each PDF page as pdftotext -layout
// reads it.
class PrintFixture : public SearchPathFixture {
protected:
    PrintFixture() : SearchPathFixture("print", "ZPATH.PRINTSTYLES") {}

    void SetUp() override {
        SearchPathFixture::SetUp();
        pdf = (root / "out.pdf").string();
        VarSetValue(app, "ZPRINTER.NAME", "PDF file");
        VarSetValue(app, "ZPRINTER.PDFFILE", pdf);
        VarSetValue(app, "ZPRINTER.PAPER", "A4");
        VarSetValue(app, "ZFONT.PRINT", "DejaVu Sans Mono,10");
        VarSetValue(app, "ZFLIST.FORMAT.DATE", "ISO");
        buffer.fileName = (root / "prog.cbl").string();
        buffer.displayName = "prog.cbl";
    }

    LineRecord* AddLine(std::string_view text, LineKind kind = LineKind::Data) {
        LineRecord* line = LineNew(buffer, text);
        line->kind = kind;
        LineAppendLoaded(buffer, line);
        return line;
    }

    // The pages of the PDF as text, one string per page (form feeds separate them).
    std::vector<std::string> PdfPages() const {
        std::vector<std::string> pages;
        std::string command = "pdftotext -layout '" + pdf + "' - 2>/dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) {
            return pages;
        }
        std::string text;
        char chunk[4096];
        size_t n = 0;
        while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) {
            text.append(chunk, n);
        }
        pclose(pipe);
        size_t start = 0;
        for (size_t ff = text.find('\f'); ff != std::string::npos; ff = text.find('\f', start)) {
            pages.push_back(text.substr(start, ff - start));
            start = ff + 1;
        }
        return pages;
    }

    static bool PdfToolsPresent() { return std::system("pdftotext -v >/dev/null 2>&1") == 0; }

    EditBuffer buffer{app};
    std::string pdf;
};

}  // namespace tavoe
