#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "client_install.h"

namespace {

// The installer's own full path, with symbolic links resolved; empty when it cannot be read.
std::string OwnProgramPath() {
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

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
