#pragma once

#include <string_view>

#include "commands/find_params.h"
#include "commands/find_search.h"

namespace tavoe {

// What FIND, CHANGE and EXCLUDE share beyond the search: the not-found report, the restart of a
// repeat after the end of the data, and the walk over every line of a range.

struct AppSession;
struct EditSession;

enum class RepeatOf { Find, Change };

// Not-found, unless QUIET: during a repeat "R... at bottom of data, '%s' not found." (forward) or
// "R... at top of data, '%s' not found." (backward), arming the restart; otherwise "'%s' not found
// between columns %d and %d". Clears the session's counts.
void ReportNotFound(AppSession& app, EditSession& session, const FindParameters& p, SearchWay way,
                    RepeatOf what);

// When the previous repeat reported the end of the data: puts the cursor on the top marker (or, for
// a backward repeat, the end of the file) so the next search starts over, and disarms the restart.
void RestartRepeatIfArmed(AppSession& app, EditSession& session, RepeatOf what);

// The last line of the range: label two, or the last line of the whole file (finishing its load).
LineRecord* RangeLast(EditSession& session, const FindParameters& p);

// Shows a line again that was excluded; true when it was.
bool ShowLineAgain(LineRecord& line);

}  // namespace tavoe
