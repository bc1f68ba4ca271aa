#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/app_session.h"
#include "core/var_store.h"
#include "shell/contexts.h"
#include "ui/headless/headless_backend.h"
#include "ui/screen.h"

using namespace tavoe;

// A session with a headless screen whose events come from a batch script, and a scratch directory
// on the dialog and menu paths.
class DialogRunFixture : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        root = std::filesystem::temp_directory_path() /
               ("tavoe_dlgrt_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        VarSetValue(app, "ZPATH.DIALOGS", root.string());
        VarSetValue(app, "ZPATH.MENUS", root.string());
        VarSetValue(app, "ZPATH.HELP", root.string());
        VarSetValue(app, "ZCACHE.DIALOGS", "TRUE");
        VarSetValue(app, "ZCACHE.MENUS", "TRUE");
    }
    void TearDown() override {
        app.screen = nullptr;
        std::filesystem::remove_all(root);
    }

    void Write(const std::string& name, const std::string& text) { std::ofstream(root / name) << text; }

    // The events of the next showings: batch script lines.
    void Script(const std::string& text) {
        in = std::make_unique<std::istringstream>(text);
        backend = std::make_unique<ui::HeadlessBackend>(*in, out, err, 24, 80);
        screen = std::make_unique<ui::Screen>(*backend);
        app.screen = screen.get();
    }

    std::string Var(const std::string& name) { return VarGetValue(app, name); }

    // A list or combo variable as dialogs read it: NAME.0 the count, NAME.1.. the items.
    void Items(const std::string& name, const std::vector<std::string>& items) {
        VarSetValue(app, name + ".0", std::to_string(items.size()));
        for (size_t i = 0; i < items.size(); ++i) {
            VarSetValue(app, name + "." + std::to_string(i + 1), items[i]);
        }
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& shown : app.messages) {
            texts.push_back(shown.text);
        }
        return texts;
    }

    std::vector<std::string> Queue() const { return {app.commandQueue.begin(), app.commandQueue.end()}; }

    // The canvas as text rows, as a batch !screen prints it.
    std::string ScreenText() {
        backend->PrintScreen();
        return out.str();
    }

    AppSession app;
    std::filesystem::path root;
    std::unique_ptr<std::istringstream> in;
    std::ostringstream out;
    std::ostringstream err;
    std::unique_ptr<ui::HeadlessBackend> backend;
    std::unique_ptr<ui::Screen> screen;
};
