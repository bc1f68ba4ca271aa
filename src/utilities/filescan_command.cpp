#include "utilities/filescan_command.h"

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "platform/file_io.h"
#include "ui/file_chooser.h"
#include "utilities/filescan_count.h"

namespace tavoe {

namespace {

constexpr const char* kDialog = "FILESCAN";

// The file name as the dialog shows it: a long path keeps its end, which names the file.
std::string ShownName(const std::string& path) {
    constexpr size_t kShown = 56;
    return path.size() <= kShown ? path : "..." + path.substr(path.size() - (kShown - 3));
}

void ShowCounts(AppSession& app, const std::string& path, const FileScanCounts& c) {
    VarSetValue(app, "FileScan.Filespec", ShownName(path));
    const std::pair<const char*, uint64_t> fields[] = {
        {"FileScan.MaxRecLen", c.maxRecLen},
        {"FileScan.Records", c.records},
        {"FileScan.Bytes", c.bytes},
        {"FileScan.TAB", c.tab},
        {"FileScan.FF", c.ff},
        {"FileScan.LF", c.lf},
        {"FileScan.CRLF", c.crlf},
        {"FileScan.NonData", c.nonData},
        {"FileScan.XZero", c.zero},
        {"FileScan.EOF", c.eof},
    };
    for (const auto& [name, value] : fields) {
        VarSetValue(app, name, GroupedNumber(value));
    }
    RunOptionDialog(app, kDialog, [&app] { LeaveDialog(app); });
}

void Scan(AppSession& app, const std::string& path) {
    FileScanCounts counts;
    std::string failure = ScanFile(path, counts);
    if (!failure.empty()) {
        ShowMessage(app, failure, MsgTo::Box, Beep::Error);
        if (counts.bytes == 0) {
            return;  // nothing was read
        }
    }
    ShowCounts(app, path, counts);
}

void ChooseAndScan(AppSession& app) {
    if (app.screen == nullptr) {
        return;
    }
    ui::FileChooserOptions options;
    options.title = "Navigate to directory, select file to SCAN (ESC to cancel)";
    ui::FileChooserResult chosen = ui::RunFileChooser(*app.screen, options);
    if (chosen.ok && !chosen.names.empty()) {
        Scan(app, chosen.Path());
    }
}

}  // namespace

void FileScanCommand(AppSession& app, const GeneralCommandLine& command) {
    std::string_view params = command.allParams;
    size_t begin = params.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        ChooseAndScan(app);
        return;
    }
    params = params.substr(begin);
    Scan(app, FullPath(params.substr(0, params.find_last_not_of(' ') + 1)));
}

void FileScanDialog(AppSession& app) {
    ChooseAndScan(app);
}

}  // namespace tavoe
