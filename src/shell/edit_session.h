#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "buffer/edit_buffer.h"
#include "shell/keys.h"
#include "ui/message_box_options.h"

// One edit or browse of a file, and how an instance opens and ends them.
//
// The AppSession keeps its edit sessions in app.editSessions, the current one first. Each has a
// "task" frame on the context stack; ending the session pops it.

struct AppSession;
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
    int dataRows = 0;                    // size of the data window in cells (prefix area included),
    int dataColumns = 0;                 // as last laid out; 0 until then
};

// The parameters of the last FIND and CHANGE, kept for RFIND, RCHANGE and the Find and Change
// dialogs. The search commands define what they keep.
struct FindState {};

struct EditSession {
    explicit EditSession(AppSession& app) : buffer(app) {}

    EditBuffer buffer;  // the lines, the file and its profile
    // The file was new (did not exist or was empty) when the session opened: if it is still empty
    // when the session ends, it is deleted, so an abandoned new file leaves nothing behind.
    bool newAtOpen = false;
    bool saveOnEnd = false;  // the session is to be saved as it ends (cleared by Cancel)
    EditViewState view;
    FindState find;
    int32_t textEntryWidth = 0;  // TE: text typed beyond this column wraps; 0 while text entry is off
    int32_t keystrokeCount = 0;  // keystrokes since the last reminder to save (PromptAfterKeystrokes)

    const std::string& FileName() const { return buffer.fileName; }        // full path
    const std::string& DisplayName() const { return buffer.displayName; }  // name without directory
    bool ReadOnly() const { return buffer.file.IsReadOnly(); }             // a browse
    bool Modified() const { return buffer.modified; }
    bool IsNewFile() const { return buffer.isNewFile; }
};

// The current edit session (the first of app.editSessions), or null.
EditSession* CurrentEditSession(AppSession& app);

// Opens a file for editing or browsing:
//  1. the path is made a full path; one longer than 255 characters is refused ("Drive+Path+Filename
//     too long '%s'");
//  2. with an edit session open and ZNEWEDITS "CreateNewSession", another instance is started for
//     the file instead (with the -B, -P, -I, -X and -M options this one has) and the current context
//     is shown again;
//  3. otherwise a "task" frame is pushed, the file is loaded with its file profile into a new edit
//     session, which becomes the current one.
// Returns 0 when a session was opened or another instance started for it, -1 after a message.
int OpenEditSession(AppSession& app, std::string_view path, OpenMode mode);

// How an edit session ended.
enum class EndResult {
    Ended,      // released (saved when that was asked for)
    Cancelled,  // the user chose Cancel at the "save changes?" prompt: the session stays
    SaveFailed  // saving failed (reported): the session stays, so no change is lost
};

// The button a "save changes?" prompt offers as its default: Yes where a user answers it, No where
// nobody does (the end of a batch script).
enum class PromptDefault { Yes, No };

// Ends an edit session. A modified session asks "%s modified, save changes?" (Yes, No, Cancel) when
// ZPROMPTONEXIT is "TRUE" and the instance is not closing, and is saved without asking otherwise.
// The session is then released; a file that was new and is still empty is deleted. Unless the
// instance is closing, the context below is shown.
EndResult EndEditSession(AppSession& app, EditSession& session,
                         PromptDefault promptDefault = PromptDefault::Yes);

// Ends every edit session, the current one first, until none is left. Stops at the first that does
// not end and returns false.
bool EndAllEditSessions(AppSession& app, PromptDefault promptDefault = PromptDefault::Yes);

// Makes the session the current one (first in the list) and sets the file-name variables and the
// window title for it.
void MakeCurrentEditSession(AppSession& app, EditSession& session);

// Asks a question in a message box titled "Tavo/E" and returns the reply. Without a window system
// the default button answers. The question is recorded in app.messages like every message.
ui::MsgBoxReply AskQuestion(AppSession& app, std::string_view text, ui::MsgBoxButtons buttons,
                            ui::MsgBoxIcon icon, int defaultButton);
