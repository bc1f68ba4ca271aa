#include "shell/program.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "core/app_session.h"
#include "core/var_store.h"
#include "platform/message_box_hook.h"
#include "platform/own_program_path.h"
#include "platform/save_temps.h"
#include "shell/edit_session.h"
#include "shell/find_app_session.h"
#include "shell/instance_ports.h"
#include "shell/instances.h"
#include "shell/main_loop.h"
#include "shell/main_window.h"
#include "shell/notify.h"
#include "shell/start_options.h"
#include "shell/startup.h"
#include "ui/headless/headless_backend.h"
#include "ui/screen.h"

namespace tavoe {

namespace {

// Libraries that macros load show their texts through the running instance's message routine.
void ConnectMessageBoxHook() {
    SetMessageBoxHandler([](std::string_view text, std::string_view title) {
        (void)title;  // every box of the program is titled "Tavo/E"
        if (AppSession* app = FindAppSession(nullptr)) {
            ShowMessage(*app, text, MsgTo::Box, Beep::None);
        } else {
            std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
        }
    });
}

void WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) {
            return;
        }
        done += static_cast<size_t>(n);
    }
}

// The terminal's own title follows the window title. Control characters are left out, so a file
// name cannot end the title sequence early.
void SetTerminalTitle(MainWindow& window, const std::string& title) {
    if (title == window.terminalTitle) {
        return;
    }
    window.terminalTitle = title;
    std::string clean;
    for (char c : title) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) {
            clean += c;
        }
    }
    WriteAll(STDOUT_FILENO, "\033]2;" + clean + "\007");
}

int RunBatch(const ProgramOptions& options, const std::string& programPath) {
    InstallTempCleanupOnSignals();
    ui::HeadlessBackend backend(std::cin, std::cout, std::cerr, options.rows, options.cols);
    ui::Screen screen(backend);
    AppSession app;
    ConnectInstance(app);
    app.batchMode = true;
    RunningInstance running(app);
    MainWindow window(app, screen);
    backend.SetHooks(ui::BatchHooks{
        [&app](std::string_view name) { return VarGetValue(app, name); },
        [&app](std::string_view name, std::string_view value) { VarSetValue(app, name, value); },
    });
    SetNotifyWakeFd(backend.Wake().WriteFd());
    InstanceStart start{programPath, "", options.editorWords, true};
    if (!StartInstance(app, start)) {
        return 1;
    }
    if (RunMainLoop(app) == LoopEnd::ScriptEnded) {
        if (options.keep) {
            screen.Present();
            backend.PrintScreen();
        } else {
            // Nobody is there to answer: a "save changes?" prompt without a queued reply says No.
            EndAllEditSessions(app, PromptDefault::No);
        }
    }
    FinishInstance(app);
    SetNotifyWakeFd(-1);
    // A caller reads the output to learn what happened: output that could not be written (a full
    // disk, a closed file) is a failure, not a silent success.
    std::cout.flush();
    if (!std::cout) {
        std::fprintf(stderr, "tavoe: the batch output could not be written\n");
        return 1;
    }
    return backend.ExitCode();
}

int RunTerminal(const ProgramOptions& options, const std::string& programPath,
                const TerminalStarter& startTerminal) {
    std::string error;
    std::unique_ptr<ui::Backend> backend = startTerminal ? startTerminal(error) : nullptr;
    if (!backend) {
        std::fprintf(stderr, "tavoe: %s\n", error.c_str());
        return 1;
    }
    // After the terminal's own handlers, which put the screen back: ours run first, then theirs.
    InstallTempCleanupOnSignals();
    ui::Screen screen(*backend);
    AppSession app;
    ConnectInstance(app);
    RunningInstance running(app);
    MainWindow window(app, screen);
    SetNotifyWakeFd(backend->Wake().WriteFd());
    WriteAll(STDOUT_FILENO, "\033[22;0t");  // keep the terminal's title to give it back at the end
    InstanceStart start{programPath, "", options.editorWords, false};
    int code = 0;
    if (StartInstance(app, start)) {
        RunMainLoop(app, [&app, &window] { SetTerminalTitle(window, Instance(app).title); });
        FinishInstance(app);
    } else {
        code = 1;
    }
    SetNotifyWakeFd(-1);
    backend.reset();  // gives the terminal back
    WriteAll(STDOUT_FILENO, "\033[23;0t");
    return code;
}

}  // namespace

int RunTavoe(int argc, char** argv, const TerminalStarter& startTerminal) {
    ProgramOptions options = ParseProgramOptions(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "tavoe: %s\n", options.error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("Tavo/E %s\n", TAVOE_VERSION);
        return 0;
    }
    std::string programPath = OwnProgramPath();
    if (programPath.empty() && argc > 0) {
        programPath = argv[0];
    }
    ConnectMessageBoxHook();
    int code =
        options.batch ? RunBatch(options, programPath) : RunTerminal(options, programPath, startTerminal);
    SetMessageBoxHandler(nullptr);
    return code;
}

}  // namespace tavoe
