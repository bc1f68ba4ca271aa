#include "utilities/dircompare_report.h"

#include <algorithm>

namespace tavoe {

namespace {

void WriteLine(std::FILE* out, const char* status, const std::string& name, size_t width,
               const std::string& dir) {
    std::fprintf(out, "  %-19s  %-*s  %s\n", status, static_cast<int>(width), name.c_str(), dir.c_str());
}

}  // namespace

bool WriteDirCompareReport(std::FILE* out, const std::string& dirA, const std::vector<DirFile>& filesA,
                           const std::string& dirB, const std::vector<DirFile>& filesB) {
    size_t width = 8;
    for (const auto* files : {&filesA, &filesB}) {
        for (const DirFile& file : *files) {
            width = std::max(width, file.name.size());
        }
    }
    std::fputs("\n  ------------------------\n  Directory Compare Report\n  ------------------------\n\n",
               out);
    WriteLine(out, "Status", "FileName", width, "Path");
    std::fprintf(out, "  %s\n\n", std::string(72, '-').c_str());
    for (const DirFile& file : filesA) {
        if (file.status == DirFileStatus::OnlyHere) {
            WriteLine(out, "In path A, not in B", file.name, width, dirA);
        }
    }
    for (const DirFile& file : filesB) {
        if (file.status == DirFileStatus::OnlyHere) {
            WriteLine(out, "In path B, not in A", file.name, width, dirB);
        }
    }
    for (const DirFile& file : filesA) {
        if (file.status == DirFileStatus::Different) {
            WriteLine(out, "In A & B, no match ", file.name, width, dirA);
        }
    }
    std::fputs("\n  -------------\n  End of Report\n  -------------\n", out);
    return std::ferror(out) == 0;
}

}  // namespace tavoe
