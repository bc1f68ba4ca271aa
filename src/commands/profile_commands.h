#pragma once

#include <string_view>

namespace tavoe {

struct AppSession;
struct EditSession;

// CAPS ON|OFF (checked by the dispatcher): sets the caps mode of the session's file profile and
// writes the profile.
void CapsCommand(AppSession& app, EditSession& session, std::string_view params);

// PROFILE: after the dispatcher's note that the profile is in use, shows the file profile of the file
// for viewing (the sheet of its record format); changes are refused while the file is open.
void ProfileCommand(AppSession& app, EditSession& session, std::string_view params);

// The variable naming the file profile the profile sheet (FPRECFMF, FPRECFMV) is to show.
inline constexpr std::string_view kProfileSheetTypeVariable = "FPType.Edit";

}  // namespace tavoe
