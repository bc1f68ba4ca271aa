#include "commands/profile_commands.h"

#include "core/app_session.h"
#include "core/command_line.h"
#include "core/context_stack.h"
#include "core/var_store.h"
#include "editing/edit_session.h"
#include "platform/format.h"
#include "profiles/file_profile_io.h"

namespace tavoe {

void CapsCommand(AppSession& app, EditSession& session, std::string_view params) {
    FileProfile& profile = session.buffer.profile;
    profile.caps = CommandToUpper(CommandTrim(params)) == "ON" ? CapsMode::On : CapsMode::Off;
    session.buffer.file.capsOn = profile.caps == CapsMode::On;
    (void)WriteFileProfile(app, profile);  // a profile that cannot be written says so itself
}

void ProfileCommand(AppSession& app, EditSession& session, std::string_view) {
    const FileProfile& profile = session.buffer.profile;
    VarSetValue(app, kProfileSheetTypeVariable, profile.name);
    PostCommand(app, profile.recordFormat == Recfm::Fixed ? "DIALOG FPRECFMF" : "DIALOG FPRECFMV");
}

}  // namespace tavoe
