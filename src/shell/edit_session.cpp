#include "shell/edit_session.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "buffer/file_load.h"
#include "buffer/file_name_vars.h"
#include "buffer/file_save.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "macro/macro_door.h"
#include "platform/file_io.h"
#include "platform/file_write.h"
#include "platform/format.h"
#include "profiles/file_profile_io.h"
#include "profiles/profile_name.h"
#include "shell/contexts.h"
#include "shell/recent_files.h"
#include "shell/window_arrange.h"
#include "ui/message_box.h"
#include "ui/screen.h"
#include "view/line_colors.h"
#include "view/view_font.h"

namespace tavoe {

namespace {

// A new or empty file opened for editing can be typed into at once: an empty line waits under the top
// marker with the cursor on it. It becomes a record only when something is typed into it (SAVE leaves
// out a line still waiting), so a file left untouched stays as it was.
void OfferLineToType(AppSession& app, EditSession& session) {
    EditBuffer& buffer = session.buffer;
    if (session.ReadOnly() || FirstDataLine(buffer) != nullptr || LineFirst(buffer) == nullptr) {
        return;
    }
    LineRecord* line = LineNew(buffer, {});
    if (line == nullptr) {
        return;
    }
    line->kind = LineKind::Data;
    LineSetFlag(*line, LineFlagA::InsertPending);
    if (LineInsertAfter(buffer, LineFirst(buffer), line) != 0) {
        LineFree(buffer, line);
        return;
    }
    buffer.modified = false;
    session.view.cursorRow = 1;
    session.view.cursorColumn = session.view.prefixWidth;
    session.view.focus = KeyField::Data;
    (void)app;
}

// The options a new instance started for one file gets from this one's settings.
std::vector<std::string> NewInstanceArguments(AppSession& app, const std::string& path, OpenMode mode) {
    std::vector<std::string> args;
    if (mode == OpenMode::Browse) {
        args.push_back("-B");
    }
    args.push_back(path);
    static constexpr std::pair<const char*, const char*> kPassed[] = {
        {"-P", "ZPROFILE"}, {"-I", "ZIMACRO"}, {"-X", "ZXMACRO"}, {"-M", "ZMAXRECLEN"}};
    for (const auto& [option, variable] : kPassed) {
        std::string value = VarGetValue(app, variable);
        if (!value.empty()) {
            args.push_back(option);
            args.push_back(value);
        }
    }
    return args;
}

void RemoveTaskFrame(AppSession& app) {
    for (auto it = app.contexts.rbegin(); it != app.contexts.rend(); ++it) {
        if (it->kind == ContextKind::Task) {
            app.contexts.erase(std::next(it).base());
            return;
        }
    }
}

// Releases the session: out of the list, its file closed, its recent-file entry free again, and an
// empty file that it created removed.
void ReleaseEditSession(AppSession& app, EditSession& session) {
    std::string path = session.FileName();
    bool deleteIfEmpty = session.newAtOpen;
    FileStamp created = session.buffer.file.loadStamp;
    CloseFile(session.buffer);
    auto it = std::find_if(app.editSessions.begin(), app.editSessions.end(),
                           [&session](const auto& owned) { return owned.get() == &session; });
    if (it != app.editSessions.end()) {
        app.editSessions.erase(it);  // destroys the session and its lines
    }
    app.hasCurrentEditSession = !app.editSessions.empty();
    RecentFileSetInUse(app, path, RecentUse::Free);
    if (deleteIfEmpty) {
        (void)RemoveOwnEmptyFile(path, created);
    }
}

// The entry macro of a file just opened: ZIMACRO (the -I option) when set, else the file profile's
// Imacro. It runs with the new session current, as if its name had been typed there.
void RunEntryMacro(AppSession& app, EditSession& session) {
    std::string macro = VarGetValue(app, "ZIMACRO");
    if (macro.empty()) {
        macro = session.buffer.profile.imacro;
    }
    if (!macro.empty()) {
        (void)MacroRun(app, macro);
    }
}

}  // namespace

void MakeCurrentEditSession(AppSession& app, EditSession& session) {
    auto it = std::find_if(app.editSessions.begin(), app.editSessions.end(),
                           [&session](const auto& owned) { return owned.get() == &session; });
    if (it != app.editSessions.end() && it != app.editSessions.begin()) {
        std::rotate(app.editSessions.begin(), it, it + 1);
    }
    app.hasCurrentEditSession = !app.editSessions.empty();
    SetFileNameVariables(Storage(app), session.FileName());
    SetTitleContext(app, session.view.title.empty() ? session.DisplayName() : session.view.title,
                    TitleContext::EditFileName);
}

Status OpenEditSession(AppSession& app, std::string_view path, OpenMode mode) {
    std::string full = FullPath(path);
    if (full.size() > kMaxPathLength) {
        ShowMessage(app, Format("Drive+Path+Filename too long '%s'", full.c_str()), MsgTo::Box,
                    Beep::Exclamation);
        return -1;
    }
    if (!app.editSessions.empty() && VarGetValue(app, "ZNEWEDITS") == "CreateNewSession") {
        int started = LaunchInstance(app, NewInstanceArguments(app, full, mode), LaunchPlace::NewWindow);
        if (started != 0) {
            ShowMessage(app, "Unable to create process to execute Tavo.", MsgTo::Box, Beep::Error);
        }
        ShowContextAgain(app);
        return started;
    }

    std::unique_ptr<EditSession, EditSessionDeleter> owned(std::make_unique<EditSession>(app).release());
    EditSession& session = *owned;
    PushContext(app, ContextKind::Task, full.substr(full.rfind('/') + 1));
    std::string profileName = ProfileNameForFile(app, full);
    (void)ReadFileProfile(app, profileName,
                          session.buffer.profile);  // a bad line is reported; the rest holds
    if (session.buffer.profile.colorizer) {
        session.buffer.colorizer = &LineColorUpkeep();  // the lines report their changes for recolouring
    }
    if (OpenFile(session.buffer, full, mode) != 0) {
        PopContext(app);
        if (!app.contexts.empty()) {
            ShowContextAgain(app);
        } else {
            Shell(app).ContextChanged(app);
        }
        return -1;
    }
    session.newAtOpen = session.buffer.isNewFile;
    session.view.topLine = LineFirst(session.buffer);
    session.view.horizontalOffset = session.buffer.file.viewOffset;
    std::string prefix = VarGetValue(app, session.ReadOnly() ? "ZLCMDCOLS.BROWSE" : "ZLCMDCOLS.EDIT");
    session.view.prefixWidth = std::clamp(std::atoi(prefix.c_str()), 0, 9);
    OfferLineToType(app, session);
    app.editSessions.insert(app.editSessions.begin(), std::move(owned));
    MakeCurrentEditSession(app, session);
    RecentFileAdd(app, full);
    RecentFileSetInUse(app, full, RecentUse::InUse);
    Shell(app).ContextChanged(app);
    CheckEditFont(app, session);  // the terminal may not show the profile's display set
    RunEntryMacro(app, session);
    return 0;
}

ui::MsgBoxReply AskQuestion(AppSession& app, std::string_view text, ui::MsgBoxButtons buttons,
                            ui::MsgBoxIcon icon, int defaultButton) {
    ui::MessageBoxSpec spec;
    spec.text = std::string(text);
    spec.buttons = buttons;
    spec.icon = icon;
    spec.defaultButton = defaultButton;
    app.messages.push_back(ShownMessage{spec.text, MsgTo::Box, Beep::Question});
    if (app.screen == nullptr) {
        return ui::MsgBoxDefaultReply(spec);
    }
    return ui::ShowMessageBox(*app.screen, spec);
}

namespace {

// The first half of ending a session: a modified one asks whether to save (when the instance is not
// closing and ZPROMPTONEXIT is "TRUE") and is saved. Ended when the session may now be released.
EndResult SaveBeforeEnd(AppSession& app, EditSession& session, PromptDefault promptDefault) {
    session.saveOnEnd = true;
    bool save = session.Modified();
    if (session.Modified() && !app.closing && VarGetValue(app, "ZPROMPTONEXIT") == "TRUE") {
        if (app.messageSink != nullptr && VarGetValue(app, "ZMSGSOUNDS") == "TRUE") {
            app.messageSink->Sound(Beep::Question);
        }
        ui::MsgBoxReply reply =
            AskQuestion(app, Format("%s modified, save changes?", session.FileName().c_str()),
                        ui::MsgBoxButtons::YesNoCancel, ui::MsgBoxIcon::Question,
                        promptDefault == PromptDefault::Yes ? 0 : 1);
        if (reply == ui::MsgBoxReply::Cancel) {
            session.saveOnEnd = false;
            session.view.focus = KeyField::Command;
            Shell(app).ContextChanged(app);
            return EndResult::Cancelled;
        }
        save = reply == ui::MsgBoxReply::Yes;
    }
    if (save && SaveFile(session.buffer, SaveClosing::Yes) != 0) {
        // The file on disk is as it was and the changes exist only here: the session stays open.
        session.saveOnEnd = false;
        return EndResult::SaveFailed;
    }
    return EndResult::Ended;
}

}  // namespace

EndResult EndEditSession(AppSession& app, EditSession& session, PromptDefault promptDefault) {
    if (EndResult saved = SaveBeforeEnd(app, session, promptDefault); saved != EndResult::Ended) {
        return saved;
    }
    bool wasTop = TopContext(app) != nullptr && TopContext(app)->kind == ContextKind::Task;
    if (!wasTop) {
        RemoveTaskFrame(app);
    }
    ReleaseEditSession(app, session);
    if (EditSession* next = CurrentEditSession(app)) {
        MakeCurrentEditSession(app, *next);
    } else {
        SetTitleContext(app, "", TitleContext::None);
    }
    if (app.closing) {
        if (wasTop) {
            PopContext(app);
        }
        return EndResult::Ended;
    }
    if (wasTop) {
        ShowTopContextInShell(app);
    } else {
        Shell(app).ContextChanged(app);
    }
    return EndResult::Ended;
}

bool EndAllEditSessions(AppSession& app, PromptDefault promptDefault) {
    while (EditSession* session = CurrentEditSession(app)) {
        if (EndEditSession(app, *session, promptDefault) != EndResult::Ended) {
            return false;
        }
    }
    return true;
}

EditSession* OpenHiddenEditSession(AppSession& app, std::string_view path, OpenMode mode) {
    std::string full = FullPath(path);
    struct stat info {};
    if (::stat(full.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return nullptr;  // a hidden session never creates a file
    }
    std::unique_ptr<EditSession, EditSessionDeleter> owned(std::make_unique<EditSession>(app).release());
    (void)ReadFileProfile(app, ProfileNameForFile(app, full), owned->buffer.profile);
    if (OpenFile(owned->buffer, full, mode) != 0) {
        return nullptr;
    }
    owned->view.topLine = LineFirst(owned->buffer);
    return owned.release();
}

int EndHiddenEditSession(AppSession& app, EditSession* session) {
    std::unique_ptr<EditSession, EditSessionDeleter> owned(session);
    if (owned == nullptr) {
        return -1;
    }
    // A hidden session cannot be shown again, so a refused prompt or a failed save drops its changes;
    // the file on disk stays as it was.
    int result = SaveBeforeEnd(app, *owned, PromptDefault::Yes) == EndResult::Ended ? 0 : -1;
    CloseFile(owned->buffer);
    return result;
}

}  // namespace tavoe
