#include "profiles/file_profile_io.h"

#include "shell/app_session.h"

std::string ProfileNameForFile(AppSession&, std::string_view) {
    return "TXT";
}

int ReadFileProfile(AppSession&, std::string_view name, FileProfile& out) {
    out = BuiltInFileProfile(name);
    return 0;
}

int WriteFileProfile(AppSession&, const FileProfile&, ProfileWriteMode) {
    return 0;
}
