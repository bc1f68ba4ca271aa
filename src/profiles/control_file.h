#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>
#include "core/status.h"

namespace tavoe {

// Control files: the small keyword=value text files that user commands (.ucmd) and print styles
// (.pstl) are kept in, one "keyword=value" line each. The keywords are positional: a reader fills
// its slots from the first lines of the file in order, whatever keyword stands on each line.

struct AppSession;

inline constexpr size_t kControlKeywordMax = 15;
inline constexpr size_t kControlValueMax = 199;
inline constexpr size_t kControlLineMax = 254;

// Reads name + extension (extension with its dot, such as ".ucmd") found along the search path held
// by the variable pathVariable (such as "ZPATH.USERCOMMANDS"). Every slot below count is cleared,
// then filled in file order from the lines until count slots are filled or the file ends; a line is
// the keyword up to its first "=" and the value after it. A missing slot (null, or the span shorter
// than count), a file that cannot be found, or a keyword or value over its length stop the read:
// reported in a message box, -1. Returns 0 otherwise.
Status ControlFileRead(AppSession& app, std::string_view pathVariable, std::string_view name,
                       std::string_view extension, int count, std::span<std::string* const> keywords,
                       std::span<std::string* const> values);

// The same with vectors, sized to count.
Status ControlFileRead(AppSession& app, std::string_view pathVariable, std::string_view name,
                       std::string_view extension, int count, std::vector<std::string>& keywords,
                       std::vector<std::string>& values);

// Writes "keyword=value" lines for the first count pairs in order to name + extension in the first
// directory of the path (an existing file there keeps its case and is replaced only when the new
// one was written whole). A missing pair is checked before anything is written. 0, or -1 after
// reporting.
Status ControlFileWrite(AppSession& app, std::string_view pathVariable, std::string_view name,
                        std::string_view extension, int count, std::span<const std::string* const> keywords,
                        std::span<const std::string* const> values);

Status ControlFileWrite(AppSession& app, std::string_view pathVariable, std::string_view name,
                        std::string_view extension, const std::vector<std::string>& keywords,
                        const std::vector<std::string>& values);

// The value of the first line of the file (found along the path) that begins with the keyword
// followed by "="; empty when there is no such line or no such file.
std::string ControlFileGet(AppSession& app, std::string_view pathVariable, std::string_view fileName,
                           std::string_view keyword);

}  // namespace tavoe
