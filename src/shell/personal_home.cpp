#include "shell/personal_home.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "core/app_session.h"
#include "core/shared_block.h"

namespace tavoe {

namespace {

constexpr const char* kPersonalDirectory = ".tavoe35";

}  // namespace

std::string PersonalHome(const std::string& installationHome, const char* userHome) {
    // Only an installation that exists and cannot be written is shared; a home still to be made
    // (or a wrong path) keeps the old behaviour and reports its own failures.
    struct stat st {};
    if (::stat(installationHome.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        ::access(installationHome.c_str(), W_OK) == 0) {
        return {};
    }
    if (userHome == nullptr || userHome[0] != '/') {
        return {};
    }
    std::string home(userHome);
    if (home.size() > 1 && home.back() == '/') {
        home.pop_back();
    }
    std::string personal = home + "/" + kPersonalDirectory;
    ::mkdir(personal.c_str(), 0755);  // an existing directory is fine; a failure shows when writing
    return personal;
}

void SetInstanceHome(AppSession& app, const std::string& programPath, const char* tavoe35) {
    app.homeDirectory = InstallationHome(programPath, tavoe35);
    app.sharedHome.clear();
    if (tavoe35 != nullptr && tavoe35[0] != '\0') {
        return;
    }
    std::string personal = PersonalHome(app.homeDirectory, std::getenv("HOME"));
    if (!personal.empty()) {
        app.sharedHome = app.homeDirectory;
        app.homeDirectory = personal;
    }
}

}  // namespace tavoe
