#include "utilities/tag_command.h"

#include <unistd.h>

#include <cstdlib>

#include "commands/dispatch.h"
#include "core/app_session.h"
#include "core/shell_port.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "platform/own_program_path.h"
#include "platform/process_run.h"
#include "utilities/external_command.h"
#include "utilities/tag_lookup.h"

namespace tavoe {

namespace {

// What TAGFIND does with a target: the edit command chain runs in the current session; another
// file gets an editor of its own (a tmux window) or, without tmux, an edit session of this instance
// that runs the start-up command the other editor would have run.
class SessionActions : public TagFindActions {
public:
    explicit SessionActions(AppSession& app) : app_(app) {}
    void RunInCurrentSession(const std::string& chain) override { RunEditCommand(app_, chain); }
    int LaunchEditor(const std::vector<std::string>& arguments) override {
        if (SurfaceFor(app_) == CommandSurface::TmuxWindow) {
            std::string program = OwnProgramPath();
            std::vector<std::string> argv{"tmux", "new-window", "--", program.empty() ? "tavoe" : program};
            argv.insert(argv.end(), arguments.begin(), arguments.end());
            ProcessOptions options;
            options.output = ChildStream::Null;
            options.errors = ChildStream::Null;
            ProcessResult result = RunProcess(argv, options);
            return result.started && result.exitStatus == 0 ? 0 : -1;
        }
        bool browse = arguments[0] == "-B";
        const std::string& file = arguments[browse ? 1 : 0];
        const std::string& startCommand = arguments.back();
        if (Shell(app_).OpenEditSession(app_, file, browse ? OpenMode::Browse : OpenMode::Edit) != 0) {
            return -1;
        }
        RunEditCommand(app_, startCommand);
        return 0;
    }

private:
    AppSession& app_;
};

}  // namespace

void TagFindCommand(AppSession& app, EditSession& session, std::string_view params) {
    CursorPlace place = CursorPlaceOf(app, session);
    TagFindRequest request;
    request.parameters = std::string(params);
    request.inDataArea = place.area == CursorArea::Data;
    request.onTextLine = place.line != nullptr && IsDataLine(*place.line);
    if (request.onTextLine) {
        request.lineText = std::string(LineText(*place.line));
    }
    request.column = place.column;
    request.currentFile = session.FileName();
    SessionActions actions(app);
    (void)TagFind(app, request, actions);
}

}  // namespace tavoe
