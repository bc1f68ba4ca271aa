#include "platform/message_box_hook.h"
#include "shell/program.h"
#include "ui/terminal/terminal_backend.h"

// Entry point of the editor program.
int main(int argc, char** argv) {
    // Referenced here so the hook that loaded libraries call stays linked in and exported; the
    // program installs its handler once an instance runs.
    tavoe::SetMessageBoxHandler(nullptr);
    return tavoe::RunTavoe(argc, argv, [](std::string& error) -> std::unique_ptr<tavoe::ui::Backend> {
        return tavoe::ui::TerminalBackend::Start(error);
    });
}
