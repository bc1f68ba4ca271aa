#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "utilities/dircompare_scan.h"

namespace tavoe {

// Writes the directory compare report: heading, column titles, the files only in A, those only in
// B, and the pairs whose contents differ (equal pairs are not listed), and the closing lines.
// False when a write failed.
bool WriteDirCompareReport(std::FILE* out, const std::string& dirA, const std::vector<DirFile>& filesA,
                           const std::string& dirB, const std::vector<DirFile>& filesB);

}  // namespace tavoe
