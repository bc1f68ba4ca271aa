// The help contents (HELPTOC) and the five quick references (QRFGPCMD, QRFEPCMD, QRFFPCMD, QRFELCMD,
// QRFFLCMD): lists of topics, each row a name and its one-line summary; choosing a row shows its topic
// in the help viewer and then the list again.
#include <algorithm>

#include "commands/command_set.h"
#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_table.h"
#include "dialogs/dialog_vars.h"
#include "dialogs/help_topic.h"

namespace tavoe {

namespace {

constexpr size_t kNameColumn = 18;

struct HelpRow {
    std::string text;    // as listed
    std::string topic;   // the topic it opens ("" for a row that opens a dialog)
    std::string dialog;  // the dialog it opens instead
};

std::string Row(std::string_view name, std::string_view summary) {
    return PadRight(name, kNameColumn - 1) + " " + std::string(summary);
}

// The rows of a quick reference over a command table: every listed verb with its topic's summary.
std::vector<HelpRow> CommandRows(AppSession& app, CommandTable table, HelpBook book) {
    std::vector<HelpTopic> topics = LoadHelpBook(app, HelpBookFile(book), false);
    std::vector<HelpRow> rows;
    for (std::string_view verb : Commands(app).ListedVerbs(table)) {
        const HelpTopic* topic = FindHelpTopic(topics, verb);
        rows.push_back(
            {Row(verb, topic != nullptr ? topic->summary : "(no help text)"), std::string(verb), {}});
    }
    return rows;
}

// The rows of a quick reference over a whole help file: every topic, its names joined.
std::vector<HelpRow> TopicRows(AppSession& app, HelpBook book) {
    std::vector<HelpRow> rows;
    for (const HelpTopic& topic : LoadHelpBook(app, HelpBookFile(book), true)) {
        std::string names;
        for (const std::string& name : topic.names) {
            names += (names.empty() ? "" : ", ") + name;
        }
        rows.push_back({Row(names, topic.summary), topic.names.front(), {}});
    }
    return rows;
}

std::vector<HelpRow> ContentsRows(AppSession& app) {
    std::vector<HelpRow> rows = TopicRows(app, HelpBook::Guide);
    const std::pair<std::string_view, std::string_view> references[] = {
        {"QRFGPCMD", "Quick reference: general primary commands"},
        {"QRFEPCMD", "Quick reference: edit primary commands"},
        {"QRFELCMD", "Quick reference: edit line commands"},
        {"QRFFPCMD", "Quick reference: file list primary commands"},
        {"QRFFLCMD", "Quick reference: file list line commands"},
    };
    for (const auto& [dialog, text] : references) {
        rows.push_back({Row(dialog, text), {}, std::string(dialog)});
    }
    return rows;
}

struct HelpList {
    std::string_view dialog;  // upper case; its variables are "<Name>.List"
    std::string_view varBase;
    HelpBook book;
    std::vector<HelpRow> (*rows)(AppSession& app);
};

std::vector<HelpRow> GeneralRows(AppSession& app) {
    return CommandRows(app, CommandTable::General, HelpBook::General);
}
std::vector<HelpRow> EditRows(AppSession& app) {
    return CommandRows(app, CommandTable::Edit, HelpBook::Edit);
}
std::vector<HelpRow> FileListRows(AppSession& app) {
    return CommandRows(app, CommandTable::FileList, HelpBook::FileList);
}
std::vector<HelpRow> LineRows(AppSession& app) {
    return TopicRows(app, HelpBook::LineCommands);
}
std::vector<HelpRow> FileListLineRows(AppSession& app) {
    return TopicRows(app, HelpBook::FileListLines);
}

constexpr HelpList kContents{"HELPTOC", "HelpToc", HelpBook::Guide, ContentsRows};
constexpr HelpList kGeneral{"QRFGPCMD", "QrfGpCmd", HelpBook::General, GeneralRows};
constexpr HelpList kEdit{"QRFEPCMD", "QrfEpCmd", HelpBook::Edit, EditRows};
constexpr HelpList kFileList{"QRFFPCMD", "QrfFpCmd", HelpBook::FileList, FileListRows};
constexpr HelpList kLines{"QRFELCMD", "QrfElCmd", HelpBook::LineCommands, LineRows};
constexpr HelpList kFileListLines{"QRFFLCMD", "QrfFlCmd", HelpBook::FileListLines, FileListLineRows};

void ApplyHelpList(AppSession& app, const HelpList& list, const std::vector<HelpRow>& rows) {
    std::string base(list.varBase);
    std::string button = UpperCased(VarGetValue(app, base + ".BtnPushed"));
    if (button == "CLOSE" || button == "CANCEL") {
        LeaveDialog(app);
        return;
    }
    // Any move in the list selects the row under the caret, so no selection means the first row.
    std::string chosen = VarGetValue(app, base + ".List.Reply.1");
    if (VarGetNumber(app, base + ".List.Reply.0") < 1 && !rows.empty()) {
        chosen = rows.front().text;
    }
    auto row =
        std::find_if(rows.begin(), rows.end(), [&chosen](const HelpRow& r) { return r.text == chosen; });
    if (row == rows.end()) {
        ShowMessage(app, "Select a topic first.", MsgTo::Box, Beep::Information);
        ShowDialogAgain(app, list.dialog);
        return;
    }
    if (!row->dialog.empty()) {
        // The quick reference opens over the contents, which come back when it is closed.
        PostCommand(app, "DIALOG " + row->dialog);
        return;
    }
    std::vector<HelpTopic> topics = LoadHelpBook(app, HelpBookFile(list.book), true);
    const HelpTopic* topic = FindHelpTopic(topics, row->topic);
    if (topic == nullptr) {
        ShowMessage(app, "No help text for '" + row->topic + "' yet.", MsgTo::Box, Beep::Information);
        ShowDialogAgain(app, list.dialog);
        return;
    }
    HelpViewEnd end = ShowHelpViewer(app, *topic);
    if (end == HelpViewEnd::Return) {
        return;
    }
    if (end == HelpViewEnd::Contents && list.dialog != kContents.dialog) {
        PostCommand(app, "DIALOG HELPTOC");
        return;
    }
    ShowDialogAgain(app, list.dialog);
}

void RunHelpList(AppSession& app, const HelpList& list) {
    std::string base(list.varBase);
    std::vector<HelpRow> rows = list.rows(app);
    std::vector<std::string> texts;
    for (const HelpRow& row : rows) {
        texts.push_back(row.text);
    }
    WriteDialogArray(app, base + ".List", texts);
    VarSetValue(app, base + ".BtnPushed", "");
    RunOptionDialog(app, list.dialog, [&app, &list, &rows] { ApplyHelpList(app, list, rows); });
}

}  // namespace

void HelpTocDialog(AppSession& app) {
    RunHelpList(app, kContents);
}
void QrfGpCmdDialog(AppSession& app) {
    RunHelpList(app, kGeneral);
}
void QrfEpCmdDialog(AppSession& app) {
    RunHelpList(app, kEdit);
}
void QrfFpCmdDialog(AppSession& app) {
    RunHelpList(app, kFileList);
}
void QrfElCmdDialog(AppSession& app) {
    RunHelpList(app, kLines);
}
void QrfFlCmdDialog(AppSession& app) {
    RunHelpList(app, kFileListLines);
}

}  // namespace tavoe
