#include "utilities/tag_command.h"

#include <unistd.h>

#include <cstdlib>

#include "buffer/file_load.h"
#include "core/app_session.h"
#include "core/shell_port.h"
#include "editing/cursor.h"
#include "editing/cursor_commands.h"
#include "editing/edit_session.h"
#include "platform/own_program_path.h"
#include "platform/process_run.h"
#include "utilities/external_command.h"
#include "utilities/tag_lookup.h"

namespace tavoe {

namespace {

// What TAGFIND does with a target: the current session moves to the defining line; another file gets
// an editor of its own (a tmux window, whose start-up command finds the line) or, without tmux, an
// edit session of this instance that is moved to the line.
class SessionActions : public TagFindActions {
public:
    explicit SessionActions(AppSession& app) : app_(app) {}
    void ShowInCurrentSession(const std::string& pattern) override {
        EditSession* session = CurrentEditSession(app_);
        if (session == nullptr) {
            return;
        }
        (void)FinishLoad(session->buffer);
        for (LineRecord* line = FirstDataLine(session->buffer); line != nullptr; line = NextDataLine(line)) {
            // As TOP;FIND;RESET;CURSOR leaves it: the line at the top of the view and the cursor on it.
            if (LineText(*line).find(pattern) != std::string_view::npos) {
                session->view.topLine = line;
                RefreshRowTable(app_, *session);
                CursorCommand(app_, *session, "");
                return;
            }
        }
    }
    int LaunchEditor(const std::vector<std::string>& arguments, const std::string& pattern) override {
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
        if (Shell(app_).OpenEditSession(app_, file, browse ? OpenMode::Browse : OpenMode::Edit) != 0) {
            return -1;
        }
        ShowInCurrentSession(pattern);
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
