#include "utilities/external_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <thread>

#include "core/app_session.h"
#include "core/command_symbols.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "platform/file_write.h"
#include "platform/format.h"
#include "platform/process_run.h"
#include "ui/screen.h"

namespace tavoe {

namespace {

struct OptionWord {
    std::string_view word;  // lower case, with its blank
    bool ExternalOptions::*option;
    bool value;
};

constexpr OptionWord kOptionWords[] = {
    {"interp ", &ExternalOptions::interpret, true}, {"nointerp ", &ExternalOptions::interpret, false},
    {"stop ", &ExternalOptions::stop, true},        {"nostop ", &ExternalOptions::stop, false},
    {"batch ", &ExternalOptions::batch, true},      {"nobatch ", &ExternalOptions::batch, false},
    {"suspend ", &ExternalOptions::suspend, true},  {"nosuspend ", &ExternalOptions::suspend, false},
};

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

void Fail(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Error);
}

std::string TemporaryDirectory() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp";
}

// The instance's own screen as the terminal's keeper.
class ScreenHandover : public TerminalHandover {
public:
    explicit ScreenHandover(ui::Screen* screen) : screen_(screen) {}
    void Suspend() override {
        if (screen_ != nullptr) {
            screen_->SuspendForChild();
        }
    }
    void Resume() override {
        if (screen_ != nullptr) {
            screen_->ResumeAfterChild();
        }
    }

private:
    ui::Screen* screen_;
};

// Puts the editor's screen away for the life of the object: whatever happens while the command has
// the terminal, the screen comes back.
class ScreenAway {
public:
    explicit ScreenAway(TerminalHandover* handover) : handover_(handover) {
        if (handover_ != nullptr) {
            handover_->Suspend();
        }
    }
    ~ScreenAway() {
        if (handover_ != nullptr) {
            handover_->Resume();
        }
    }
    ScreenAway(const ScreenAway&) = delete;
    ScreenAway& operator=(const ScreenAway&) = delete;

private:
    TerminalHandover* handover_;
};

// The command as it is run: an argument vector, and the work script it may need.
struct Launch {
    std::vector<std::string> argv;
    std::string scriptPath;  // written before the start; removes itself when it runs
};

// The command line for /bin/sh with every symbol replaced by its value quoted for the shell.
std::string ExpandForShell(AppSession& app, std::string_view command) {
    return SubstituteCommandSymbols(app, command, ShellQuote);
}

int PlanLaunch(AppSession& app, std::string_view command, const ExternalOptions& options, Launch& launch) {
    if (!options.interpret && !options.batch) {
        // No shell: each word on its own, a symbol's value staying inside the word that names it.
        for (const std::string& word : SplitCommandWords(command)) {
            launch.argv.push_back(SubstituteCommandSymbols(app, word));
        }
        return 0;
    }
    std::string line = ExpandForShell(app, command);
    if (!options.stop) {
        launch.argv = {"/bin/sh", "-c", options.batch ? "/bin/sh " + line : line};
        return 0;
    }
    std::string directory = TemporaryDirectory();
    struct stat st {};
    if (::stat(directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        Fail(app, Format("Need directory %s for temporary work file, it does not exist.", directory.c_str()));
        return -1;
    }
    std::string path = directory + "/tavotemp-XXXXXX.sh";
    int fd = ::mkstemps(path.data(), 3);
    if (fd < 0) {
        Fail(app, "Unable to create tavotemp.sh work file.");
        return -1;
    }
    std::string text = WorkScriptText(line, options.batch);
    bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    written = ::close(fd) == 0 && written;
    if (!written) {
        RemoveFile(path);
        Fail(app, "Unable to create tavotemp.sh work file.");
        return -1;
    }
    launch.argv = {"/bin/sh", path};
    launch.scriptPath = path;
    return 0;
}

// Inside tmux: a window of its own. When the editor waits, the window's shell writes the exit status
// to a file that is read once the window's process has gone.
ProcessResult RunInTmuxWindow(const Launch& launch, bool wait) {
    std::vector<std::string> argv{"tmux", "new-window", "-P", "-F", "#{pane_pid}"};
    char cwd[4096];
    if (::getcwd(cwd, sizeof cwd) != nullptr) {
        argv.insert(argv.end(), {"-c", cwd});
    }
    std::string statusPath;
    std::vector<std::string> command = launch.argv;
    if (wait) {
        statusPath = TemporaryDirectory() + "/tavoe-status-" + std::to_string(::getpid());
        command = {"/bin/sh", "-c", "\"$@\"; echo $? > " + ShellQuote(statusPath), "sh"};
        command.insert(command.end(), launch.argv.begin(), launch.argv.end());
    }
    argv.push_back("--");
    argv.insert(argv.end(), command.begin(), command.end());
    ProcessOptions options;
    options.output = ChildStream::Capture;
    options.errors = ChildStream::Null;
    ProcessResult tmux = RunProcess(argv, options);
    ProcessResult result;
    result.started = tmux.started && tmux.exitStatus == 0;
    if (!result.started || !wait) {
        result.exitStatus = 0;
        return result;
    }
    int pid = std::atoi(tmux.output.c_str());
    while (ProcessAlive(pid)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    std::ifstream status(statusPath);
    if (!(status >> result.exitStatus)) {
        result.exitStatus = 0;  // the window was closed before the command ended: nothing to report
    }
    RemoveFile(statusPath);
    return result;
}

}  // namespace

SystemRequest ParseSystemText(std::string_view text, ExternalOptions options) {
    SystemRequest request;
    size_t at = 0;
    for (;;) {
        while (at < text.size() && text[at] == ' ') {
            ++at;
        }
        std::string_view rest = text.substr(at);
        const OptionWord* matched = nullptr;
        for (const OptionWord& word : kOptionWords) {
            if (rest.starts_with(word.word) || rest.starts_with(Upper(word.word))) {
                matched = &word;
                break;
            }
        }
        if (matched == nullptr) {
            break;
        }
        options.*(matched->option) = matched->value;
        at += matched->word.size();
    }
    request.options = options;
    request.command = std::string(text.substr(at));
    return request;
}

std::vector<std::string> SplitCommandWords(std::string_view command) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (char c : command) {
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            } else {
                word += c;
            }
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) {
                words.push_back(word);
                word.clear();
                inWord = false;
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

std::string WorkScriptText(const std::string& shellCommand, bool batch) {
    std::string run = batch ? "/bin/sh " + shellCommand : shellCommand;
    return "#!/bin/sh\n"
           "rm -f -- \"$0\"\n"
           "printf '%s\\n' " +
           ShellQuote(run) + "\n" + run +
           "\n"
           "status=$?\n"
           "printf 'Press Enter to continue...'\n"
           "read reply || echo\n"
           "exit $status\n";
}

CommandSurface SurfaceFor(const AppSession& app) {
    if (app.batchMode) {
        return CommandSurface::Headless;
    }
    const char* tmux = std::getenv("TMUX");
    return tmux != nullptr && tmux[0] != '\0' ? CommandSurface::TmuxWindow : CommandSurface::Terminal;
}

int RunExternalCommand(AppSession& app, std::string_view command, const ExternalOptions& options,
                       TerminalHandover* handover) {
    if (command.find_first_not_of(' ') == std::string_view::npos) {
        Fail(app, "COMMAND must be specified.");
        return -1;
    }
    Launch launch;
    if (PlanLaunch(app, command, options, launch) != 0) {
        return -1;
    }
    ScreenHandover screen(app.screen);
    if (handover == nullptr) {
        handover = &screen;
    }
    bool stops = !launch.scriptPath.empty();
    bool waits = options.suspend;
    ProcessResult result;
    ProcessOptions run;
    switch (SurfaceFor(app)) {
        case CommandSurface::Headless:
            // Nobody can look at a window or press Enter: the command runs to its end with the
            // editor's own output, so a script sees its effects in order.
            std::cout.flush();
            std::fflush(stdout);
            result = RunProcess(launch.argv, run);
            waits = true;
            break;
        case CommandSurface::TmuxWindow:
            result = RunInTmuxWindow(launch, waits);
            break;
        case CommandSurface::Terminal:
            if (waits || stops) {
                ScreenAway away(handover);
                run.input = ChildStream::Inherit;
                run.newProcessGroup = false;  // in the terminal's foreground, so Ctrl-C reaches it
                result = RunProcess(launch.argv, run);
                waits = true;
            } else {
                run.output = ChildStream::Null;
                run.errors = ChildStream::Null;
                run.wait = ChildWait::NoWait;
                result = RunProcess(launch.argv, run);
            }
            break;
    }
    if (!result.started) {
        if (!launch.scriptPath.empty()) {
            RemoveFile(launch.scriptPath);
        }
        Fail(app, "Unable to create process for external command.");
        return -1;
    }
    if (waits && result.exitStatus != 0) {
        ShowMessage(app, Format("External command ended with exit code %d.", result.exitStatus), MsgTo::Box,
                    Beep::Exclamation);
        return -1;
    }
    return 0;
}

int SystemCommand(AppSession& app, std::string_view text, TerminalHandover* handover) {
    if (text.find_first_not_of(' ') == std::string_view::npos) {
        XcmdDialog(app, handover);
        return 0;
    }
    SystemRequest request = ParseSystemText(text);
    return RunExternalCommand(app, request.command, request.options, handover);
}

namespace {

bool CheckboxTrue(AppSession& app, std::string_view name) {
    return VarGetValue(app, name) == "TRUE";
}

void PrepareXcmd(AppSession& app) {
    // The options stay as the user last left them; a first showing takes the defaults.
    ExternalOptions defaults;
    const std::pair<const char*, bool> fields[] = {{"Xcmd.Interpret", defaults.interpret},
                                                   {"Xcmd.Stop", defaults.stop},
                                                   {"Xcmd.Batch", defaults.batch},
                                                   {"Xcmd.Suspend", defaults.suspend}};
    for (const auto& [name, value] : fields) {
        if (VarGetValue(app, name).empty()) {
            VarSetValue(app, name, value ? "TRUE" : "FALSE");
        }
    }
}

void ApplyXcmd(AppSession& app, TerminalHandover* handover) {
    if (DialogReply(app, "", "Xcmd") == "CANCEL") {
        LeaveDialog(app);
        return;
    }
    std::string command = VarGetValue(app, "Xcmd.Command");
    if (command.find_first_not_of(' ') == std::string::npos) {
        Fail(app, "COMMAND must be specified.");
        ShowDialogAgain(app, "XCMD");
        return;
    }
    ExternalOptions options;
    options.interpret = CheckboxTrue(app, "Xcmd.Interpret");
    options.stop = CheckboxTrue(app, "Xcmd.Stop");
    options.batch = CheckboxTrue(app, "Xcmd.Batch");
    options.suspend = CheckboxTrue(app, "Xcmd.Suspend");
    LeaveDialog(app);
    RunExternalCommand(app, command, options, handover);
}

}  // namespace

void XcmdDialog(AppSession& app, TerminalHandover* handover) {
    PrepareXcmd(app);
    RunOptionDialog(app, "XCMD", [&app, handover] { ApplyXcmd(app, handover); });
}

}  // namespace tavoe
