#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/status.h"
#include "editing/edit_session.h"
#include "ui/message_box_options.h"

namespace tavoe {

// One edit or browse of a file, and how an instance opens and ends them.
//
// The AppSession keeps its edit sessions in app.editSessions, the current one first. Each has a
// "task" frame on the context stack; ending the session pops it.

struct AppSession;
struct LineRecord;

// Opens a file for editing or browsing:
//  1. the path is made a full path; one longer than 255 characters is refused ("Drive+Path+Filename
//     too long '%s'");
//  2. with an edit session open and ZNEWEDITS "CreateNewSession", another instance is started for
//     the file instead (with the -B, -P, -I, -X and -M options this one has) and the current context
//     is shown again;
//  3. otherwise a "task" frame is pushed, the file is loaded with its file profile into a new edit
//     session, which becomes the current one.
// Returns 0 when a session was opened or another instance started for it, -1 after a message.
Status OpenEditSession(AppSession& app, std::string_view path, OpenMode mode);

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

// A session of a search over many files (the file list's FIND and CHANGE): loaded with its file
// profile like any session, but not in app.editSessions, without a context frame, a recent-file entry
// or the entry macro. Null after a message when the file cannot be loaded; the caller owns the
// session until EndHiddenEditSession, which saves it as END does and frees it (0, or -1 when the
// changes could not be saved or the user cancelled saving them).
EditSession* OpenHiddenEditSession(AppSession& app, std::string_view path, OpenMode mode);
int EndHiddenEditSession(AppSession& app, EditSession* session);

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

}  // namespace tavoe
