#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_session.h"

namespace tavoe {

// The dialogs of the file list: open a list (FLSTOPEN), several paths with search texts (MULTOPEN),
// the list options (FLISTOPT), the mounted file systems (DRIVLIST), the file-type filters (FILTERS,
// FILTERS2) and the projects (PROJOPEN, PROJNEW, PROJECT). The DIALOG command finds them here.
std::span<const SubsystemDialog> FileListDialogs();

// The places DRIVELIST offers, in this order: "/", the home directory, then the mount points of
// the mounts table (the /proc/self/mounts text) that hold files, each once, by path. Pseudo file
// systems (proc, sysfs, cgroups, ...) are left out; "\040" and the other octal escapes are decoded.
std::vector<std::string> DrivePlaces(std::string_view mountsText, std::string_view home);

// The file-type filters set (ZFILTERS.1 .. ZFILTERS.16, the empty ones left out), in order.
std::vector<std::string> FileTypeFilters(AppSession& app);

// A filter line "Description *.a;*.b": the description and the patterns (the last word).
void SplitFilter(std::string_view filter, std::string& description, std::string& patterns);

}  // namespace tavoe
