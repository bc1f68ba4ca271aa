#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "editing/keys.h"
#include "editing/line_command_state.h"
#include "editing/selection_state.h"

namespace tavoe {

// One edit or browse of a file: its buffer, what the view shows of it and where the keyboard works in
// it, and the state of its searches. The AppSession keeps its edit sessions in app.editSessions, the
// current one first; the shell opens and ends them (shell/edit_session.h).

struct AppSession;
struct EditSession;
struct LineRecord;

inline constexpr size_t kMaxPathLength = 255;

// What the edit view shows of the session and where the keyboard works in it. The view fills in
// the painting details (the row table, the ruler, the hexadecimal pane); the shell keeps the focus
// and the cursor so that showing the session again puts the focus back where it was.
struct EditViewState {
    LineRecord* topLine = nullptr;       // the line shown in the first row
    int32_t horizontalOffset = 0;        // data columns scrolled off to the left
    int prefixWidth = 0;                 // ZLCMDCOLS.EDIT or ZLCMDCOLS.BROWSE, read at open
    bool showEol = false;                // SHOWEOL
    bool hexOn = false;                  // HEX
    bool rulerOn = false;                // RULER
    std::vector<LineRecord*> rowTable;   // per data-window row: the line shown there, or null
    KeyField focus = KeyField::Command;  // Command, Prefix or Data
    int cursorRow = 0;                   // data-window row (from 0) while the focus is in it
    int cursorColumn = 0;                // data-window column (from 0, the prefix area included)
    // The data line (its number among the data lines) and record column of the last mouse click in
    // the data area, for macros (a DBLCLICK macro reads where it was double-clicked); 0 when none or
    // after a macro has read them.
    int32_t macroLastLine = 0;
    int32_t macroLastColumn = 0;
    std::string title;    // set by a macro: the window title while the session is current, else its name
    int dataRows = 0;     // size of the data window in cells (prefix area included),
    int dataColumns = 0;  // as last laid out; 0 until then
};

// Paints the hits of the last FIND ALL on a line flagged `FindPending` as it is about to be shown,
// and clears the flag. The search commands set it on the session; the view calls it.
class FindHitMarker {
public:
    virtual ~FindHitMarker() = default;
    virtual void MarkHits(AppSession& app, EditSession& session, LineRecord& line) = 0;
};

// What the search commands (FIND, CHANGE, EXCLUDE and their repeats) keep between commands: the
// parameter texts RFIND and RCHANGE repeat, the strings "*" stands for, the last hit (so that a
// repeated FIND moves on), the counts of the last command and the repeat flags.
struct FindState {
    std::string lastFindText;    // parameters of the last FIND, or of the last CHANGE
    std::string lastChangeText;  // parameters of the last CHANGE
    bool haveFind = false;
    bool haveChange = false;
    // The strings of the last parse, for "*".
    std::string previousString1;
    std::string previousString2;
    bool previousExact1 = false;
    bool previousPicture1 = false;
    bool previousPicture2 = false;
    // The last hit: compared, never followed (the line may be gone since).
    const LineRecord* lastHitLine = nullptr;
    int32_t lastHitColumn = 0;
    // Counts of the last FIND, CHANGE or EXCLUDE: occurrences and distinct lines.
    int64_t stringCount = 0;
    int64_t lineCount = 0;
    // RFIND and RCHANGE: a repeat is running; the previous repeat reported the end of the data (the
    // next one restarts from the top, or from the bottom when `wrapBackward`).
    bool repeatFind = false;
    bool repeatChange = false;
    bool findWrapArmed = false;
    bool changeWrapArmed = false;
    bool wrapBackward = false;
    std::shared_ptr<FindHitMarker> pendingHits;  // for lines flagged FindPending
};

struct EditSession {
    explicit EditSession(AppSession& app) : buffer(app) {}

    EditBuffer buffer;  // the lines, the file and its profile
    // The file was new (did not exist or was empty) when the session opened: if it is still empty
    // when the session ends, it is deleted, so an abandoned new file leaves nothing behind.
    bool newAtOpen = false;
    bool saveOnEnd = false;  // the session is to be saved as it ends (cleared by Cancel)
    EditViewState view;
    FindState find;
    LineCommandState lineCommands;  // pending line commands and waiting blocks
    SelectionState selection;       // the selection's mode and the place it grows from
    int32_t textEntryWidth = 0;     // TE: text typed beyond this column wraps; 0 while text entry is off
    int32_t keystrokeCount = 0;     // keystrokes since the last reminder to save (PromptAfterKeystrokes)
    bool sortActive = false;        // a SORT is reordering the lines; another one is refused meanwhile

    const std::string& FileName() const { return buffer.fileName; }        // full path
    const std::string& DisplayName() const { return buffer.displayName; }  // name without directory
    bool ReadOnly() const { return buffer.file.IsReadOnly(); }             // a browse
    bool Modified() const { return buffer.modified; }
    bool IsNewFile() const { return buffer.isNewFile; }
};

// The counts of the session's last FIND, CHANGE or EXCLUDE, as the macro service interface reads them
// (FIND_STRING_COUNT, FIND_LINE_COUNT).
struct FindCounts {
    int64_t strings = 0;
    int64_t lines = 0;
};
inline FindCounts LastFindCounts(const EditSession& session) {
    return {session.find.stringCount, session.find.lineCount};
}

// The current edit session (the first of app.editSessions), or null.
EditSession* CurrentEditSession(AppSession& app);

}  // namespace tavoe
