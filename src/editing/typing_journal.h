#pragma once

namespace tavoe {

// Journaling of keystroke changes for UNDO.

struct AppSession;
struct EditSession;
struct LineRecord;

// Called before every change keystroke editing makes to a line's text. The first change to a data
// line, while the UNDO journal is on, marks the line `textModified` and journals its text as it was;
// later keystrokes on the same line are not journaled again, so one UNDO takes back all of them.
// Keystrokes that go to another line start a new undo step.
void JournalFirstChange(AppSession& app, EditSession& session, LineRecord& line);

}  // namespace tavoe
