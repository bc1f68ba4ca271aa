#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/line_record.h"
#include "commands/command_line.h"
#include "commands/dispatch.h"
#include "commands/dispatch_host.h"
#include "core/app_session.h"
#include "platform/format.h"

// A stand-in for the shell's edit session: the dispatchers only pass the pointer through to the
// hooks, which the fixture fills, so any record will do.
struct FakeEditSession {
    explicit FakeEditSession(AppSession& app) : buffer(app) {}
    EditBuffer buffer;
    LineRecord* cursor = nullptr;
    bool selection = false;
    bool modal = false;
};

inline EditSession* AsEditSession(FakeEditSession& fake) {
    return reinterpret_cast<EditSession*>(&fake);
}
inline FakeEditSession& AsFake(EditSession& session) {
    return reinterpret_cast<FakeEditSession&>(session);
}

// Fills every hook of the dispatch table with recorders, and restores the table afterwards. `calls`
// lists what the hooks and the registered test handlers saw, in order.
class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = Dispatch();
        DispatchTable& table = Dispatch();
        DispatchShellHooks& shell = table.shell;
        shell.contextKind = [this](AppSession&) { return context; };
        shell.currentEditSession = [this](AppSession&) -> EditSession* {
            return session ? AsEditSession(*session) : nullptr;
        };
        shell.editBuffer = [](EditSession& s) { return &AsFake(s).buffer; };
        shell.postCommand = [this](AppSession&, std::string_view text) { posted.emplace_back(text); };
        shell.pushContext = [this](AppSession&, CommandContext kind, std::string_view name) {
            calls.push_back(Format("push %d %s", static_cast<int>(kind), std::string(name).c_str()));
        };
        shell.showTopContext = [this](AppSession&) { calls.push_back("showTop"); };
        shell.closeAllContexts = [this](AppSession&) { calls.push_back("closeAll"); };
        shell.endEditSession = [this](AppSession&, EditSession& s) {
            calls.push_back(AsFake(s).buffer.modified ? "endSession modified" : "endSession");
            session.reset();
            context = CommandContext::None;
        };
        shell.closeFileList = [this](AppSession&) { calls.push_back("closeFileList"); };
        shell.openEditSession = [this](AppSession&, std::string_view path, EditOpenMode how) {
            calls.push_back(Format("%s %s", how == EditOpenMode::Browse ? "browseFile" : "editFile",
                                   std::string(path).c_str()));
        };
        shell.commandFieldText = [this](AppSession&) { return field; };
        shell.setCommandField = [this](AppSession&, std::string_view text, CommandFieldFocus focus) {
            field = std::string(text);
            calls.push_back(
                Format("field '%s'%s", field->c_str(), focus == CommandFieldFocus::Take ? " focus" : ""));
        };
        shell.fileListDirectory = [this](AppSession&) { return fileListDirectory; };

        DispatchViewHooks& view = table.view;
        view.cursorLine = [](AppSession&, EditSession& s) { return AsFake(s).cursor; };
        view.hasSelection = [](AppSession&, EditSession& s) { return AsFake(s).selection; };
        view.modalActive = [](AppSession&, EditSession& s) { return AsFake(s).modal; };
        view.escapeModal = [this](AppSession&, EditSession&) { calls.push_back("escape"); };
        view.processLineCommands = [this](AppSession&, EditSession&) { calls.push_back("lineCommands"); };
        view.cursorToDataArea = [this](AppSession&, EditSession&) { calls.push_back("toData"); };
        view.updateScreenBookkeeping = [this](AppSession&, EditSession&) { ++bookkeeping; };
        view.redrawScreen = [this](AppSession&, EditSession&) { ++redraws; };

        CommandHandlers& handlers = table.handlers;
        handlers.showDialog = [this](AppSession&, std::string_view name) {
            calls.push_back("dialog " + std::string(name));
        };
        handlers.showMenu = [this](AppSession&, std::string_view name) {
            calls.push_back("menu " + std::string(name));
        };
        handlers.openDialog = [this](AppSession&, OpenDialogKind kind) {
            calls.push_back(Format("openDialog %d", static_cast<int>(kind)));
        };
        handlers.runMacro = [this](AppSession&, const MacroLaunch& launch) {
            macros.push_back(launch);
            calls.push_back("macro " + launch.name);
            return 0;
        };
    }

    void TearDown() override { Dispatch() = saved_; }

    // An edit session with data lines "1".."n" becomes current.
    FakeEditSession& OpenSession(int n = 3) {
        session = std::make_unique<FakeEditSession>(app);
        for (int i = 1; i <= n; ++i) {
            LineRecord* line = LineNew(session->buffer, std::to_string(i));
            line->kind = LineKind::Data;
            LineAppendLoaded(session->buffer, line);
        }
        EXPECT_EQ(AppendEndMarker(session->buffer, LoadEnd::Complete), 0);
        context = CommandContext::Task;
        return *session;
    }

    // Records an edit command's runs as "VERB params".
    void RecordEdit(EditCmd id, std::string verb) {
        RegisterEditCommand(id, [this, verb](AppSession&, EditSession&, std::string_view params) {
            calls.push_back(verb + " " + std::string(params));
        });
    }
    void RecordFileList(FileListCmd id, std::string verb) {
        RegisterFileListCommand(id, [this, verb](AppSession&, std::string_view params) {
            calls.push_back("list " + verb + " " + std::string(params));
        });
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : app.messages) {
            texts.push_back(message.text);
        }
        return texts;
    }
    const ShownMessage& LastMessage() const { return app.messages.back(); }

    AppSession app;
    CommandContext context = CommandContext::None;
    std::unique_ptr<FakeEditSession> session;
    std::optional<std::string> field;
    std::string fileListDirectory;
    std::vector<std::string> posted;
    std::vector<std::string> calls;
    std::vector<MacroLaunch> macros;
    int bookkeeping = 0;
    int redraws = 0;

private:
    DispatchTable saved_;
};

// A fresh directory under the test temporary area, removed afterwards.
class TempDir {
public:
    TempDir() {
        const char* base = std::getenv("TAVOE_TEST_TMP");
        std::filesystem::path root = base != nullptr ? base : std::filesystem::temp_directory_path();
        path_ = root / Format("dispatch-%d-%d", static_cast<int>(::getpid()), counter_++);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    std::string Path() const { return path_.string(); }
    std::string Write(const std::string& name, const std::string& text) const {
        std::string full = (path_ / name).string();
        std::ofstream(full) << text;
        return full;
    }

private:
    std::filesystem::path path_;
    static inline int counter_ = 0;
};
