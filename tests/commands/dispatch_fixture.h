#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/line_record.h"
#include "commands/command_set.h"
#include "commands/dispatch.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "core/shell_port.h"
#include "editing/edit_session.h"
#include "platform/format.h"
#include "shell/instance_ports.h"

using namespace tavoe;

// Stands in for the shell behind the dispatchers: it records what they ask of it in `calls`, and the
// runs of the commands a test records (DispatchTest::RecordEdit) as "VERB params".
class RecordingShell : public ShellPort {
public:
    void RunGeneralCommand(AppSession& app, std::string_view command) override {
        tavoe::RunGeneralCommand(app, command);
    }
    void ShowTopContext(AppSession& app) override {
        calls.push_back("showTop");
        PopContext(app);
    }
    int CloseAllContexts(AppSession&) override {
        calls.push_back("closeAll");
        return 0;
    }
    void CloseFileList(AppSession&) override { calls.push_back("closeFileList"); }
    std::string FileListDirectory(AppSession&) override { return fileListDirectory; }
    int OpenEditSession(AppSession&, std::string_view path, OpenMode mode) override {
        calls.push_back(
            Format("%s %s", mode == OpenMode::Browse ? "browseFile" : "editFile", std::string(path).c_str()));
        return 0;
    }
    void EndEditSession(AppSession& app, EditSession& session) override {
        calls.push_back(session.buffer.modified ? "endSession modified" : "endSession");
        app.editSessions.clear();
        app.hasCurrentEditSession = false;
        PopContext(app);
    }
    std::optional<std::string> CommandFieldText(AppSession&) override { return field; }
    void SetCommandField(AppSession&, std::string_view text, CommandFieldFocus focus) override {
        field = std::string(text);
        calls.push_back(
            Format("field '%s'%s", field->c_str(), focus == CommandFieldFocus::Take ? " focus" : ""));
    }
    bool ConfirmOkCancel(AppSession&, std::string_view) override {
        calls.push_back("ask");
        return confirmAnswer;
    }
    bool OpenDialog(AppSession&, OpenDialogKind kind) override {
        calls.push_back(Format("openDialog %d", static_cast<int>(kind)));
        return true;
    }

    std::vector<std::string> calls;
    std::optional<std::string> field;
    std::string fileListDirectory;
    bool confirmAnswer = false;
    std::vector<std::string> recordedVerbs;  // the verb of recorder N
};

inline RecordingShell& Recorder(AppSession& app) {
    return static_cast<RecordingShell&>(Shell(app));
}

template <size_t N>
void RecordedEdit(AppSession& app, EditSession&, std::string_view params) {
    RecordingShell& shell = Recorder(app);
    shell.calls.push_back(shell.recordedVerbs[N] + " " + std::string(params));
}

template <size_t N>
void RecordedFileList(AppSession& app, std::string_view params) {
    RecordingShell& shell = Recorder(app);
    shell.calls.push_back("list " + shell.recordedVerbs[N] + " " + std::string(params));
}

template <size_t N>
void RecordedGeneral(AppSession& app, const GeneralCommandLine& command) {
    RecordingShell& shell = Recorder(app);
    shell.calls.push_back(shell.recordedVerbs[N] + " " + command.allParams);
}

inline void RecordedDialog(AppSession& app, const GeneralCommandLine& command) {
    Recorder(app).calls.push_back("dialog " + command.p1);
}

inline void RecordedMenu(AppSession& app, const GeneralCommandLine& command) {
    Recorder(app).calls.push_back("menu " + command.p1);
}

// An instance whose shell records, dispatching the program's commands; DIALOG and MENU are recorded
// ("dialog NAME", "menu NAME") rather than shown, and a test may record more commands.
class DispatchTest : public ::testing::Test {
protected:
    DispatchTest()
        : shell_(std::make_unique<RecordingShell>()), recorder(shell_.get()), calls(recorder->calls) {}

    void SetUp() override {
        ConnectInstance(app);
        app.shellPort = std::move(shell_);
        for (const CommandDesc* row : AllRows()) {
            rows_.push_back(*row);
        }
        for (CommandDesc& row : rows_) {
            if (row.table == CommandTable::General && row.verb == "DIALOG") {
                row.general = RecordedDialog;
            } else if (row.table == CommandTable::General && row.verb == "MENU") {
                row.general = RecordedMenu;
            }
        }
        Rebuild();
    }

    // An edit session with data lines "1".."n" becomes current, on top of the context stack.
    EditSession& OpenSession(int n = 3) {
        app.editSessions.clear();
        app.editSessions.emplace_back(new EditSession(app));
        session = app.editSessions.front().get();
        for (int i = 1; i <= n; ++i) {
            LineRecord* line = LineNew(session->buffer, std::to_string(i));
            line->kind = LineKind::Data;
            LineAppendLoaded(session->buffer, line);
        }
        EXPECT_EQ(AppendEndMarker(session->buffer, LoadEnd::Complete), 0);
        app.hasCurrentEditSession = true;
        PushContext(app, ContextKind::Task, "test");
        return *session;
    }

    // Puts the cursor into the data area on the line (null: below the lines).
    void PlaceCursorOn(LineRecord* line) {
        EditViewState& view = session->view;
        view.rowTable = {line};
        view.cursorRow = 0;
        view.cursorColumn = view.prefixWidth;
        view.focus = KeyField::Data;
    }

    // The command's runs are recorded as "VERB params" instead ("list VERB params" in a file list).
    void RecordEdit(std::string_view verb) { Record(CommandTable::Edit, verb); }
    void RecordFileList(std::string_view verb) { Record(CommandTable::FileList, verb); }
    void RecordGeneral(std::string_view verb) { Record(CommandTable::General, verb); }

    // Takes the row's handler away, as for a command this build does not have yet.
    void Unbuild(CommandTable table, std::string_view verb) {
        for (CommandDesc& row : rows_) {
            if (row.table == table && row.verb == verb) {
                row.edit = nullptr;
                row.fileList = nullptr;
                row.general = nullptr;
            }
        }
        Rebuild();
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : app.messages) {
            texts.push_back(message.text);
        }
        return texts;
    }
    const ShownMessage& LastMessage() const { return app.messages.back(); }
    std::vector<std::string> Posted() const { return {app.commandQueue.begin(), app.commandQueue.end()}; }

private:
    std::unique_ptr<RecordingShell> shell_;  // until SetUp hands it to the instance

protected:
    AppSession app;
    RecordingShell* recorder;
    std::vector<std::string>& calls;
    EditSession* session = nullptr;

private:
    static std::vector<const CommandDesc*> AllRows() {
        std::vector<const CommandDesc*> all;
        for (CommandTable table : {CommandTable::Edit, CommandTable::General, CommandTable::FileList}) {
            const auto& rows = ProgramCommands().Rows(table);
            all.insert(all.end(), rows.begin(), rows.end());
        }
        return all;
    }

    void Record(CommandTable table, std::string_view verb) {
        static constexpr std::array<EditCommandFn, 4> kEdit = {RecordedEdit<0>, RecordedEdit<1>,
                                                               RecordedEdit<2>, RecordedEdit<3>};
        static constexpr std::array<FileListCommandFn, 4> kList = {RecordedFileList<0>, RecordedFileList<1>,
                                                                   RecordedFileList<2>, RecordedFileList<3>};
        static constexpr std::array<GeneralCommandFn, 4> kGeneral = {RecordedGeneral<0>, RecordedGeneral<1>,
                                                                     RecordedGeneral<2>, RecordedGeneral<3>};
        size_t index = recorder->recordedVerbs.size();
        ASSERT_LT(index, kEdit.size());
        recorder->recordedVerbs.emplace_back(verb);
        for (CommandDesc& row : rows_) {
            if (row.table == table && row.verb == verb) {
                row.edit = table == CommandTable::Edit ? kEdit[index] : nullptr;
                row.fileList = table == CommandTable::FileList ? kList[index] : nullptr;
                row.general = table == CommandTable::General ? kGeneral[index] : nullptr;
            }
        }
        Rebuild();
    }

    void Rebuild() {
        set_.emplace(std::initializer_list<CommandRows>{CommandRows(rows_)});
        app.commands = &*set_;
    }

    std::vector<CommandDesc> rows_;
    std::optional<CommandSet> set_;
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
