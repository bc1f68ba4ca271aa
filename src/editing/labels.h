#pragma once

#include <optional>
#include <string_view>

#include "core/status.h"

namespace tavoe {

// Labels name lines so that commands can address them: "." and 1 to 8 letters, kept in a line's label
// field. Three system labels are never stored: ".ZFIRST" (the first data line), ".ZLAST" (the last
// data line) and ".ZCSR" (the cursor line, or the current line when the cursor is on none). User
// labels may not begin with Z, so they never meet the system ones.

struct AppSession;
struct EditSession;
struct LineRecord;

inline constexpr size_t kLabelLettersMax = 8;

// The label line command: the letters after "." up to the first that is not a letter, at most 8, become
// the line's label (upper case) and any other line loses it; the line's pending command is cleared. A
// first character that is not a letter, or is Z: "Label name must be a-z/A-Z chars, Z not allowed as
// first character." (box, beep 2) and -1.
Status SetLineLabel(AppSession& app, EditSession& session, LineRecord& line, std::string_view text);

// The line a label names (compared in upper case), or null: a text not beginning with "." is no label.
// ".ZLAST" reads the rest of a file still being loaded.
LineRecord* FindLabel(AppSession& app, EditSession& session, std::string_view label);

// Both ends included, in file order.
struct LabelRange {
    LineRecord* from = nullptr;
    LineRecord* to = nullptr;
};

// The range of up to two labels: none, the whole file (first to last line, markers included); one, from
// that label to the last line; two, between them in file order whichever way they were given. A
// label that names no line: "Label '%s' not found." (box, beep 2) and nullopt.
std::optional<LabelRange> ResolveRange(AppSession& app, EditSession& session, std::string_view label1,
                                       std::string_view label2);

// True when `a` stands before `b` in the file, or is `b`.
bool LineAtOrBefore(const LineRecord* a, const LineRecord* b);

}  // namespace tavoe
