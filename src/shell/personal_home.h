#pragma once

#include <string>

namespace tavoe {

// Where a user's settings go when the installation is shared. An installation home that the user
// can write (a build tree, a personal install, a home made by client) holds the profile itself. One
// that cannot be written (installed for every user under /usr or /opt) is read for its dialogs,
// menus, macros, profiles and help, and the user's own profile and copies go to ~/.tavoe35.

struct AppSession;

// The personal home for this installation home: "" when the installation can be written by the
// user, does not exist, or no home directory is known; otherwise $HOME/.tavoe35, created when
// missing.
std::string PersonalHome(const std::string& installationHome, const char* userHome);

// Sets the instance's home: TAVOE35 when given, else the installation found from the program's
// path, moved to the personal home (with the installation kept as the shared home) when needed.
void SetInstanceHome(AppSession& app, const std::string& programPath, const char* tavoe35);

}  // namespace tavoe
