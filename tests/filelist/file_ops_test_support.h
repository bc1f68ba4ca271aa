#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/app_session.h"
#include "core/var_store.h"
#include "filelist/file_list_link.h"
#include "platform/file_write.h"
#include "shell/instance_ports.h"
#include "shell/main_window.h"
#include "shell/shell_test_support.h"
#include "ui/key_script.h"
#include "ui/screen.h"

using namespace tavoe;

// A file list as the operations see it: what they marked, dropped and asked for is recorded.
class RecordingList : public FileListLink {
public:
    bool Locked() const override { return locked; }
    void SetEntryAction(std::string_view path, EntryAction action, int count) override {
        actions[std::string(path)] = {action, count};
    }
    void RemoveEntry(std::string_view path) override { removed.emplace_back(path); }
    void MarkForReload() override { reload = true; }
    void MarkForRedraw() override { redraw = true; }

    bool locked = false;
    std::map<std::string, std::pair<EntryAction, int>> actions;
    std::vector<std::string> removed;
    bool reload = false;
    bool redraw = false;
};

// An instance with a window system (boxes answered from a queue, keys fed to dialogs), the
// installation's dialogs, a scratch tree and a list.
struct OpsFixture {
    ReplyBackend backend{24, 100};
    ui::Screen screen{backend};
    AppSession app;
    MainWindow window{app, screen};
    ScratchDir dir{"fops"};
    RecordingList list;

    OpsFixture() {
        ConnectInstance(app);
        VarSetValue(app, "ZPATH.DIALOGS", std::string(TAVOE_SOURCE_DIR) + "/data/dialogs");
        VarSetValue(app, "ZPROMPTONEXIT", "FALSE");
    }

    std::string Path(const std::string& relative) const { return (dir.Path() / relative).string(); }
    std::string File(const std::string& relative, const std::string& content) const {
        std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path());
        return dir.File(relative, content);
    }
    std::string Dir(const std::string& relative) const {
        std::filesystem::create_directories(Path(relative));
        return Path(relative);
    }
    // Keys for the next dialog, as a batch script's !keys line writes them.
    void Keys(std::string_view text) {
        ui::KeyScriptParser parser;
        std::vector<ui::Event> events;
        std::string error;
        ASSERT_TRUE(parser.Parse(text, events, error)) << error;
        backend.pending.insert(backend.pending.end(), events.begin(), events.end());
    }
    // Copies and moves without their dialog.
    void YesToAll(const std::string& to, bool overwrite = false) {
        VarSetValue(app, "ZCOPY.YESTOALL", "TRUE");
        VarSetValue(app, "ZCOPY.OVERWRITE", overwrite ? "TRUE" : "FALSE");
        VarSetValue(app, "ZCOPY.TO", to);
    }
    bool Shown(const std::string& text) const {
        for (const ShownMessage& message : app.messages) {
            if (message.text == text) {
                return true;
            }
        }
        return false;
    }
    std::string LastMessage() const { return app.messages.empty() ? "" : app.messages.back().text; }
};

// A file system that fills up: every write stops with ENOSPC after `room` bytes.
inline FileWriteHook FullDisk(std::size_t room) {
    return [room](FileWriteOp op, std::size_t) {
        FileWriteFault fault;
        if (op == FileWriteOp::Write) {
            fault.kind = room == 0 ? FileWriteFault::Kind::Fail : FileWriteFault::Kind::Short;
            fault.error = ENOSPC;
            fault.shortCount = room;
        }
        return fault;
    };
}

inline bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

inline bool IsLink(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// The names in a directory, dot files included, so that no leftover temporary file goes unseen.
inline std::set<std::string> Names(const std::string& directory) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}
