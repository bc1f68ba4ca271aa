#include "filelist/entry_operation.h"

#include "core/app_session.h"
#include "core/message.h"
#include "filelist/file_list_session.h"
#include "platform/format.h"

namespace tavoe {

int EntryOperation(AppSession& app, FileListWindow& window, const std::string& path, char letter) {
    (void)window;
    (void)path;
    static constexpr const char* kVerbs = "C=COPY M=MOVE R=RENAME D=DELETE P=PRINT I=INFO U=USERCMD";
    std::string_view verbs = kVerbs;
    size_t at = verbs.find(std::string(1, letter) + "=");
    std::string verb = at == std::string_view::npos ? std::string(1, letter) : std::string(verbs.substr(at + 2, verbs.find(' ', at) - at - 2));
    ShowMessage(app, Format("'%s' is not available yet.", verb.c_str()), MsgTo::Box, Beep::Information);
    return -1;
}

int FindInListedFile(AppSession& app, FileListWindow&, const std::string&, const std::string&) {
    ShowMessage(app, "'FIND' is not available yet.", MsgTo::Box, Beep::Information);
    return -1;
}

int ChangeInListedFile(AppSession& app, FileListWindow&, const std::string&, const std::string&) {
    ShowMessage(app, "'CHANGE' is not available yet.", MsgTo::Box, Beep::Information);
    return -1;
}

int SearchListedFile(AppSession& app, const std::string&, const std::string&) {
    ShowMessage(app, "'SEARCH' is not available yet.", MsgTo::Box, Beep::Information);
    return -1;
}

void NewFileCommand(AppSession& app) {
    ShowMessage(app, "'NEW' is not available yet.", MsgTo::Box, Beep::Information);
}

}  // namespace tavoe
