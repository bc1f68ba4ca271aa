#include "utilities/compare_command.h"
#include "utilities/utility_commands.h"

#include <climits>
#include <cstdlib>

#include "core/app_session.h"
#include "core/message.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_vars.h"
#include "platform/file_io.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "ui/file_chooser.h"
#include "utilities/compare_read.h"
#include "utilities/compare_report.h"

namespace tavoe {

namespace {

constexpr const char* kDialog = "COMPARE";
constexpr const char* kReportName = "compare.txt";
constexpr const char* kModes[] = {"Quick", "Summary", "Full"};

struct Setting {
    const char* variable;
    const char* field;
};

// The settings copied between the store and the dialog, besides the mode.
constexpr Setting kSettings[] = {
    {"ZCOMP.SPEC.OLD", "Compare.SpecOld"},
    {"ZCOMP.SPEC.NEW", "Compare.SpecNew"},
    {"ZCOMP.TERMINATORS", "Compare.Terminators"},
    {"ZCOMP.MAXRECLEN", "Compare.MaxReclen"},
    {"ZCOMP.COL.START", "Compare.ColStart"},
    {"ZCOMP.COL.END", "Compare.ColEnd"},
    {"ZCOMP.IGNORE.WHITESPACE", "Compare.IgnoreWhitespace"},
    {"ZCOMP.IGNORE.EMPTYLINES", "Compare.IgnoreEmptyLines"},
    {"ZCOMP.IGNORE.CASE", "Compare.IgnoreCase"},
};

void Error(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Error);
}

// A column or length typed in the dialog: its leading digits, held to what an int keeps.
int NumberSetting(AppSession& app, std::string_view name) {
    long value = VarGetNumber(app, name);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

void PrepareCompare(AppSession& app) {
    for (const Setting& setting : kSettings) {
        VarSetValue(app, setting.field, VarGetValue(app, setting.variable));
    }
    WriteDialogArray(app, "Compare.Mode", {kModes[0], kModes[1], kModes[2]});
    std::string mode = VarGetValue(app, "ZCOMP.MODE");
    int select = 0;
    for (int i = 0; i < 3; ++i) {
        if (mode == kModes[i]) {
            select = i + 1;
        }
    }
    VarSetNumber(app, "Compare.Mode.Select", select);
}

void StoreSettings(AppSession& app) {
    for (const Setting& setting : kSettings) {
        VarSetValue(app, setting.variable, VarGetValue(app, setting.field));
        KeepSetting(app, setting.variable);
    }
    long select = VarGetNumber(app, "Compare.Mode.Select");
    std::string mode = select >= 1 && select <= 3 ? kModes[select - 1] : "Quick";
    VarSetValue(app, "ZCOMP.MODE", mode);
    KeepSetting(app, "ZCOMP.MODE");
    if (mode == "Quick") {
        for (const char* name : {"ZCOMP.IGNORE.WHITESPACE", "ZCOMP.IGNORE.EMPTYLINES", "ZCOMP.IGNORE.CASE"}) {
            VarSetValue(app, name, "FALSE");
        }
    }
}

bool IsFullyQualified(const std::string& path) {
    return path.starts_with('/');
}

bool ExistsWithData(const std::string& path) {
    FileStamp stamp;
    return StatPath(path, stamp).Ok() && stamp.isRegular && stamp.size > 0;
}

// The checks made before a compare, in order; false when one failed (and was shown).
bool Validate(AppSession& app, const std::string& oldPath, const std::string& newPath, int colStart,
              int colEnd) {
    if (!IsFullyQualified(oldPath)) {
        Error(app, "COMPARE: old file must be fully qualified name.");
    } else if (!ExistsWithData(oldPath)) {
        Error(app, "COMPARE: old file does not exist or has size 0.");
    } else if (!IsFullyQualified(newPath)) {
        Error(app, "COMPARE: new file must be fully qualified name.");
    } else if (!ExistsWithData(newPath)) {
        Error(app, "COMPARE: new file does not exist or has size 0.");
    } else if (colStart < 1) {
        Error(app, "COMPARE: 'From' column must be equal or grater than 1.");
    } else if (colEnd < colStart) {
        Error(app, "COMPARE: 'To' column must be equal or grater than 'From' column.");
    } else {
        return true;
    }
    return false;
}

void ChooseFile(AppSession& app, const char* setting, const char* title) {
    if (app.screen == nullptr) {
        return;
    }
    ui::FileChooserOptions options;
    options.title = title;
    std::string current = VarGetValue(app, setting);
    if (!current.empty()) {
        options.directory = PathDirectory(current);
        options.fileName = PathFileName(current);
    }
    ui::FileChooserResult chosen = ui::RunFileChooser(*app.screen, options);
    if (chosen.ok && !chosen.names.empty()) {
        VarSetValue(app, setting, chosen.Path());
    }
}

void BrowseReport(AppSession& app) {
    std::string report = FindAlongPath(VarGetValue(app, "ZPATH.FILEPROFILES"), kReportName);
    if (report.empty()) {
        Error(app, "COMPARE: unable to find 'compare.txt' report file.");
        return;
    }
    (void)Shell(app).OpenEditSession(app, report, OpenMode::Browse);
}

void ApplyCompare(AppSession& app) {
    std::string button = DialogReply(app, "", "Compare");
    if (button.starts_with("OLD") || button.starts_with("NEW")) {
        StoreSettings(app);
        bool old = button.starts_with("OLD");
        ChooseFile(app, old ? "ZCOMP.SPEC.OLD" : "ZCOMP.SPEC.NEW",
                   old ? "Navigate to directory, select OLD file for compare (ESC to cancel)"
                       : "Navigate to directory, select NEW file for compare (ESC to cancel)");
        ShowDialogAgain(app, kDialog);
        return;
    }
    if (!button.starts_with("COMPARE")) {
        LeaveDialog(app);
        return;
    }
    StoreSettings(app);
    std::string oldPath = VarGetValue(app, "ZCOMP.SPEC.OLD");
    std::string newPath = VarGetValue(app, "ZCOMP.SPEC.NEW");
    int colStart = NumberSetting(app, "ZCOMP.COL.START");
    int colEnd = NumberSetting(app, "ZCOMP.COL.END");
    if (!Validate(app, oldPath, newPath, colStart, colEnd) ||
        CompareFiles(app, oldPath, newPath, colStart, colEnd) != 0 ||
        CompareModeNamed(VarGetValue(app, "ZCOMP.MODE")) == CompareMode::Quick) {
        ShowDialogAgain(app, kDialog);
        return;
    }
    LeaveDialog(app);
    BrowseReport(app);
}

}  // namespace

int CompareFiles(AppSession& app, const std::string& oldPath, const std::string& newPath, int colStart,
                 int colEnd) {
    CompareReportHeader header;
    header.mode = CompareModeNamed(VarGetValue(app, "ZCOMP.MODE"));
    header.oldPath = oldPath;
    header.newPath = newPath;
    CompareOptions& options = header.options;
    options.colStart = colStart;
    options.colEnd = colEnd;
    bool quick = header.mode == CompareMode::Quick;
    options.ignoreWhitespace = !quick && VarGetValue(app, "ZCOMP.IGNORE.WHITESPACE") == "TRUE";
    options.ignoreEmptyLines = !quick && VarGetValue(app, "ZCOMP.IGNORE.EMPTYLINES") == "TRUE";
    options.ignoreCase = !quick && VarGetValue(app, "ZCOMP.IGNORE.CASE") == "TRUE";

    CompareReadRules rules;
    rules.terminators = VarGetValue(app, "ZCOMP.TERMINATORS") == "TRUE";
    rules.maxReclen = NumberSetting(app, "ZCOMP.MAXRECLEN");
    rules.colEnd = colEnd;
    if (rules.maxReclen < colEnd) {
        Error(app, "Max record length must be equal or greater than end column.");
        return -1;
    }
    CompareFile oldFile;
    CompareFile newFile;
    std::string failure = ReadCompareFile(oldPath, rules, oldFile);
    if (failure.empty()) {
        failure = ReadCompareFile(newPath, rules, newFile);
    }
    if (!failure.empty()) {
        Error(app, failure);
        return -1;
    }
    CompareResult result = MatchRecords(oldFile.records, newFile.records, options);
    if (result.error) {
        Error(app, "Not allowed to compare > 1023 chars when IGNORE WHITESPACE or IGNORE CASE set.");
    }
    if (quick) {
        ShowMessage(app, QuickCompareMessage(result), MsgTo::Box, Beep::Information);
        return 0;
    }
    std::string reportPath = WritePathFor(VarGetValue(app, "ZPATH.FILEPROFILES"), kReportName);
    FilePtr report(reportPath.empty() ? nullptr : std::fopen(reportPath.c_str(), "wb"));
    if (report == nullptr) {
        Error(app, "Unable to open compare report file COMPARE.TXT");
        return -1;
    }
    bool written = WriteCompareReport(report.get(), header, oldFile.records, newFile.records, result);
    if (std::fclose(report.release()) != 0 || !written) {
        Error(app, Format("Error writing %s", reportPath.c_str()));
        return -1;
    }
    return 0;
}

void CompareCommand(AppSession& app, const GeneralCommandLine& command) {
    PrefillPathsAndOpen(app, command.allParams, {"ZCOMP.SPEC.OLD", "ZCOMP.SPEC.NEW"}, kDialog);
}

void CompareDialog(AppSession& app) {
    PrepareCompare(app);
    RunOptionDialog(app, kDialog, [&app] { ApplyCompare(app); });
}

}  // namespace tavoe
