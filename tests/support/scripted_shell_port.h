#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_session.h"
#include "core/shell_port.h"

using namespace tavoe;

// A shell port for tests: commands sent to the general processor are recorded in `sent` (or handed
// to `run` when a test sets it), and each change of the context stack is counted.
class ScriptedShellPort : public ShellPort {
public:
    static ScriptedShellPort& Install(AppSession& app) {
        auto port = std::make_unique<ScriptedShellPort>();
        ScriptedShellPort& installed = *port;
        app.shellPort = std::move(port);
        return installed;
    }

    void RunGeneralCommand(AppSession& app, std::string_view command) override {
        if (run) {
            run(app, command);
        } else {
            sent.emplace_back(command);
        }
    }
    void ContextChanged(AppSession&) override { ++changes; }

    std::function<void(AppSession&, std::string_view)> run;
    std::vector<std::string> sent;
    int changes = 0;
};
