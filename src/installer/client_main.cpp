#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "client_install.h"
#include "platform/own_program_path.h"

using namespace tavoe;

namespace {

// $HOME, else the home directory of the user's account, else the root directory.
std::string UserHome() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return home;
    }
    if (const passwd* account = ::getpwuid(::getuid()); account != nullptr && account->pw_dir != nullptr) {
        return account->pw_dir;
    }
    return "/";
}

}  // namespace

// Console installer of a user's own Tavo/E tree; started from the server installation's bin directory.
int main() {
    ClientInstallContext context;
    context.programPath = OwnProgramPath();
    context.userHome = UserHome();
    return RunClientInstall(context);
}
