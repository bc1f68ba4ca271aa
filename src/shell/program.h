#pragma once

#include <functional>
#include <memory>
#include <string>

namespace tavoe {

namespace ui {
class Backend;
}

// Starts the terminal backend; null with the reason in `error` when the terminal cannot be driven.
// The program passes the real one; the core does not link the terminal code itself.
using TerminalStarter = std::function<std::unique_ptr<ui::Backend>(std::string& error)>;

// The program: reads the program options, then runs the editor in the terminal or, with --batch,
// headless from a script on standard input. Returns the exit code.
int RunTavoe(int argc, char** argv, const TerminalStarter& startTerminal);

}  // namespace tavoe
