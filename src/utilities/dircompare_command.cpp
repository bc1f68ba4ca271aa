#include "utilities/dircompare_command.h"
#include "utilities/utility_commands.h"

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "platform/file_io.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "utilities/dircompare_report.h"
#include "utilities/dircompare_scan.h"

namespace tavoe {

namespace {

constexpr const char* kDialog = "COMPDIR";
constexpr const char* kReportName = "compdir.txt";

struct Setting {
    const char* variable;
    const char* field;
};

constexpr Setting kSettings[] = {
    {"ZCOMPDIR.PATHA", "CompDir.PathA"},
    {"ZCOMPDIR.PATHB", "CompDir.PathB"},
    {"ZCOMPDIR.PATHREPORT", "CompDir.PathReport"},
    {"ZCOMPDIR.FILETYPE", "CompDir.FileType"},
};

void Error(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Error);
}

// A directory as the user gave it, without a final "/" (the root stays "/").
std::string Directory(AppSession& app, const char* setting) {
    std::string path = VarGetValue(app, setting);
    while (path.size() > 1 && path.ends_with('/')) {
        path.pop_back();
    }
    return path;
}

bool CheckDirectory(AppSession& app, const std::string& path, const char* name) {
    FileStamp stamp;
    if (!StatPath(path, stamp).Ok()) {
        Error(app, Format("COMPDIR unable to access %s", name));
        return false;
    }
    if (!stamp.isDirectory) {
        Error(app, Format("COMPDIR %s is not a directory", name));
        return false;
    }
    return true;
}

bool Validate(AppSession& app, const std::string& dirA, const std::string& dirB, const std::string& mask) {
    if (!dirA.starts_with('/')) {
        Error(app, "COMPDIR: Directory A is required and must be a path");
    } else if (!dirB.starts_with('/')) {
        Error(app, "COMPDIR: Directory B is required and must be a path");
    } else if (mask.find('.') == std::string::npos) {
        Error(app, "COMPDIR: File type must contain dot character");
    } else if (mask.find_first_of("*?") == std::string::npos) {
        Error(app, "COMPDIR: File type must contain wild card character");
    } else {
        return CheckDirectory(app, dirA, "PathA") && CheckDirectory(app, dirB, "PathB");
    }
    return false;
}

// The report's directory: the one given, else the first directory of ZPATH.FILEPROFILES.
std::string ReportPath(AppSession& app) {
    std::string directory = Directory(app, "ZCOMPDIR.PATHREPORT");
    if (directory.empty()) {
        return WritePathFor(VarGetValue(app, "ZPATH.FILEPROFILES"), kReportName);
    }
    return JoinPath(directory, kReportName);
}

// Runs the compare and writes the report; its path, or empty after a failure (shown).
std::string RunCompare(AppSession& app) {
    std::string dirA = Directory(app, "ZCOMPDIR.PATHA");
    std::string dirB = Directory(app, "ZCOMPDIR.PATHB");
    std::string mask = VarGetValue(app, "ZCOMPDIR.FILETYPE");
    if (mask.empty()) {
        mask = "*.*";
    }
    if (!Validate(app, dirA, dirB, mask)) {
        return {};
    }
    std::vector<DirFile> filesA;
    std::vector<DirFile> filesB;
    if (!ListDirectoryFiles(dirA, mask, filesA)) {
        Error(app, "COMPDIR unable to create directory list for PathA");
        return {};
    }
    if (!ListDirectoryFiles(dirB, mask, filesB)) {
        Error(app, "COMPDIR unable to create directory list for PathB");
        return {};
    }
    std::string failure = CompareDirectoryFiles(dirA, filesA, dirB, filesB);
    if (!failure.empty()) {
        Error(app, failure);
        return {};
    }
    std::string report = ReportPath(app);
    FilePtr out(report.empty() ? nullptr : std::fopen(report.c_str(), "wb"));
    if (out == nullptr) {
        Error(app, Format("COMPDIR unable to open report file %s'", report.c_str()));
        return {};
    }
    bool written = WriteDirCompareReport(out.get(), dirA, filesA, dirB, filesB);
    if (std::fclose(out.release()) != 0 || !written) {
        Error(app, Format("Error writing %s", report.c_str()));
        return {};
    }
    return report;
}

void ApplyCompDir(AppSession& app) {
    if (!DialogReply(app, "", "CompDir").starts_with("COMPARE")) {
        LeaveDialog(app);
        return;
    }
    for (const Setting& setting : kSettings) {
        VarSetValue(app, setting.variable, VarGetValue(app, setting.field));
        KeepSetting(app, setting.variable);
    }
    std::string report = RunCompare(app);
    if (report.empty()) {
        ShowDialogAgain(app, kDialog);
        return;
    }
    LeaveDialog(app);
    (void)Shell(app).OpenEditSession(app, report, OpenMode::Browse);
}

}  // namespace

void CompareDirCommand(AppSession& app, const GeneralCommandLine& command) {
    PrefillPathsAndOpen(app, command.allParams, {"ZCOMPDIR.PATHA", "ZCOMPDIR.PATHB"}, kDialog);
}

void CompDirDialog(AppSession& app) {
    for (const Setting& setting : kSettings) {
        VarSetValue(app, setting.field, VarGetValue(app, setting.variable));
    }
    if (VarGetValue(app, "CompDir.FileType").empty()) {
        VarSetValue(app, "CompDir.FileType", "*.*");
    }
    RunOptionDialog(app, kDialog, [&app] { ApplyCompDir(app); });
}

}  // namespace tavoe
