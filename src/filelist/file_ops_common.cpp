#include "filelist/file_ops_common.h"

#include <unistd.h>

#include <cstdlib>

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_vars.h"
#include "platform/format.h"
#include "ui/file_chooser.h"
#include "ui/message_box.h"

namespace tavoe {

namespace {

constexpr size_t kSplitAt = 76;

}  // namespace

bool LinkStatus(const std::string& path, struct stat& info) {
    return !path.empty() && ::lstat(path.c_str(), &info) == 0;
}

bool CheckExists(AppSession& app, const std::string& path) {
    struct stat info {};
    if (LinkStatus(path, info)) {
        return true;
    }
    ShowMessage(app, Format("%s does not exist.", path.c_str()), MsgTo::Box, Beep::Exclamation);
    return false;
}

bool CheckQualified(AppSession& app, const std::string& path, std::string_view message) {
    if (path.find('/') != std::string::npos) {
        return true;
    }
    ShowMessage(app, message, MsgTo::Box, Beep::Exclamation);
    return false;
}

int ReportOsError(AppSession& app, const std::string& path, std::string_view verb) {
    return Refuse(app, Format("%s, %s error.", path.c_str(), std::string(verb).c_str()), MsgTo::Box,
                  Beep::Exclamation);
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinUnder(const std::string& directory, const std::string& name) {
    if (directory.empty() || directory.back() == '/') {
        return directory + name;
    }
    return directory + "/" + name;
}

void SetSplitPath(AppSession& app, std::string_view first, std::string_view second, const std::string& path) {
    if (path.size() < kSplitAt + 1) {
        VarSetValue(app, first, path);
        VarSetValue(app, second, "");
    } else {
        VarSetValue(app, first, std::string_view(path).substr(0, kSplitAt));
        VarSetValue(app, second, std::string_view(path).substr(kSplitAt));
    }
}

bool AskYesNo(AppSession& app, std::string_view question) {
    ui::MessageBoxSpec spec;
    spec.text = std::string(question);
    spec.buttons = ui::MsgBoxButtons::YesNo;
    spec.icon = ui::MsgBoxIcon::Question;
    spec.defaultButton = 1;
    app.messages.push_back(ShownMessage{spec.text, MsgTo::Box, Beep::Question});
    if (app.screen == nullptr) {
        return false;
    }
    return ui::ShowMessageBox(*app.screen, spec) == ui::MsgBoxReply::Yes;
}

std::string ChooseFilePath(AppSession& app, std::string_view prompt, const std::string& directory,
                           const std::string& name, std::string_view filter) {
    if (app.screen == nullptr) {
        return {};
    }
    ui::FileChooserOptions options;
    options.title = std::string(prompt);
    options.directory = directory;
    options.fileName = name;
    options.mode = ui::FileChooserMode::Save;
    if (!filter.empty()) {
        options.filters.push_back({std::string(filter), std::string(filter)});
    }
    ui::FileChooserResult chosen = ui::RunFileChooser(*app.screen, options);
    if (!chosen.ok || chosen.names.empty()) {
        return {};
    }
    return chosen.Path();
}

bool IsReadOnly(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return false;
    }
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool FlagSet(AppSession& app, std::string_view variable) {
    return VarGetValue(app, variable) == "TRUE";
}

namespace {

// The resolved path, ending in "/"; "" when it cannot be resolved.
std::string ResolvedDirectory(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) {
        return {};
    }
    std::string result = JoinUnder(real, "");
    std::free(real);
    return result;
}

}  // namespace

bool InsideTree(const std::string& source, const std::string& target) {
    std::string from = ResolvedDirectory(source);
    std::string to = ResolvedDirectory(target);
    if (to.empty()) {
        std::string parent = ResolvedDirectory(DirectoryOf(target));
        if (parent.empty()) {
            return false;
        }
        to = JoinUnder(parent + NameOf(target), "");
    }
    return !from.empty() && to.starts_with(from);
}

void LeaveOperationDialog(AppSession& app) {
    if (TopContextKind(app) == ContextKind::Dialog) {
        Shell(app).ShowTopContext(app);
    }
}

DialogResult RunOperationDialog(AppSession& app, std::string_view name) {
    DialogResult result = ShowDialog(app, name);
    if (result == DialogResult::Committed) {
        return result;
    }
    const DlgStkFrame* top = TopContext(app);
    if (result == DialogResult::Failed && top != nullptr && top->kind == ContextKind::Dialog &&
        UpperCased(top->name) == UpperCased(name)) {
        PopContext(app);
    }
    FinishUncommittedDialog(app, result);
    return result;
}

void MarkEntry(FileListLink* list, std::string_view path, EntryAction action, int count) {
    if (list != nullptr) {
        list->SetEntryAction(path, action, count);
        list->MarkForRedraw();
    }
}

}  // namespace tavoe
