#include "shell/save_as_command.h"

#include <string>

#include "buffer/file_save.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "platform/file_io.h"
#include "profiles/file_profile.h"
#include "profiles/file_profile_io.h"
#include "profiles/profile_name.h"
#include "shell/edit_session.h"
#include "shell/instances.h"
#include "shell/recent_files.h"
#include "ui/file_chooser.h"
#include "ui/screen.h"

namespace tavoe {

namespace {

// The new name: the parameter, else the file chooser's answer; empty when the user escaped.
std::string AskNewName(AppSession& app, EditSession& session, std::string_view params) {
    std::string name(CommandTrim(params));
    if (!name.empty()) {
        return FullPath(name);
    }
    if (app.screen == nullptr) {
        return {};
    }
    ui::FileChooserOptions options;
    options.title = std::string(kSaveAsPrompt);
    options.directory = session.buffer.directory;
    options.fileName = session.DisplayName();
    options.mode = ui::FileChooserMode::Save;
    ui::FileChooserResult chosen = ui::RunFileChooser(*app.screen, options);
    return chosen.ok && !chosen.names.empty() ? chosen.Path() : std::string();
}

}  // namespace

void SaveAsCommand(AppSession& app, EditSession& session, std::string_view params) {
    std::string path = AskNewName(app, session, params);
    if (path.empty()) {
        return;
    }
    // The profile the new name brings: its record length decides whether the lines fit.
    FileProfile target;
    const FileProfile* targetProfile = nullptr;
    if (ReadFileProfile(app, ProfileNameForFile(app, path), target) == 0) {
        targetProfile = &target;
    }
    auto confirm = [&app](std::string_view question) {
        return AskQuestion(app, question, ui::MsgBoxButtons::YesNo, ui::MsgBoxIcon::Question, 1) ==
               ui::MsgBoxReply::Yes;
    };
    if (SaveFileAs(session.buffer, path, confirm, targetProfile) != 0) {
        return;  // the save reported why
    }
    RecentFileAdd(app, session.FileName());
    SetTitleContext(app, session.DisplayName(), TitleContext::EditFileName);
}

}  // namespace tavoe
