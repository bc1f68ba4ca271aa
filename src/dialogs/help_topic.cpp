#include "dialogs/help_topic.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_runtime.h"
#include "dialogs/dialog_vars.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "ui/message_box.h"

namespace tavoe {

namespace {

constexpr std::array<HelpBookInfo, 7> kBooks{{
    {HelpBook::General, "help_gpcmd.txt"},
    {HelpBook::Edit, "help_epcmd.txt"},
    {HelpBook::FileList, "help_fpcmd.txt"},
    {HelpBook::LineCommands, "help_elcmd.txt"},
    {HelpBook::FileListLines, "help_flcmd.txt"},
    {HelpBook::Dialogs, "help_dialogs.txt"},
    {HelpBook::Guide, "help_guide.txt"},
}};

constexpr size_t kHelpFileMax = 4 * 1024 * 1024;
// The viewer's text column: the list is 76 cells wide, less its scroll bar and a margin.
constexpr int kViewerTextWidth = 74;
constexpr std::string_view kViewerDialog = "HELPVIEW";

bool ReadWholeFile(std::FILE* file, std::string& text) {
    char buffer[8192];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
        if (text.size() > kHelpFileMax) {
            return false;
        }
    }
    return std::ferror(file) == 0;
}

// The viewer's rows: each line wrapped to the text column; a blank line is one blank, since a list
// skips empty entries.
std::vector<std::string> ViewerRows(const HelpTopic& topic) {
    std::vector<std::string> rows;
    for (const std::string& line : topic.lines) {
        if (line.empty()) {
            rows.emplace_back(" ");
            continue;
        }
        size_t indent = line.find_first_not_of(' ');
        std::string lead(std::min<size_t>(indent, 20), ' ');
        std::vector<std::string> parts =
            ui::WrapText(line.substr(indent), kViewerTextWidth - static_cast<int>(lead.size()));
        for (const std::string& part : parts) {
            rows.push_back(lead + part);
        }
    }
    if (rows.empty()) {
        rows.emplace_back(" ");
    }
    return rows;
}

// The names the topic answers to, as its title ("C, CC").
std::string TopicTitle(const HelpTopic& topic) {
    std::string title;
    for (const std::string& name : topic.names) {
        title += (title.empty() ? "" : ", ") + name;
    }
    return title;
}

void Tell(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Information);
}

// The lookup order for a context kind: the context's own books first.
std::vector<std::string_view> LookupOrder(ContextKind kind) {
    std::vector<std::string_view> order;
    if (kind == ContextKind::Task) {
        order = {HelpBookFile(HelpBook::Edit), HelpBookFile(HelpBook::LineCommands)};
    } else if (kind == ContextKind::FileList) {
        order = {HelpBookFile(HelpBook::FileList), HelpBookFile(HelpBook::FileListLines)};
    } else if (kind == ContextKind::Dialog || kind == ContextKind::Menu) {
        order = {HelpBookFile(HelpBook::Dialogs)};
    }
    for (const HelpBookInfo& info : kBooks) {
        if (std::find(order.begin(), order.end(), info.file) == order.end()) {
            order.push_back(info.file);
        }
    }
    return order;
}

}  // namespace

std::span<const HelpBookInfo> HelpBooks() {
    return kBooks;
}

std::string_view HelpBookFile(HelpBook book) {
    for (const HelpBookInfo& info : kBooks) {
        if (info.book == book) {
            return info.file;
        }
    }
    return {};
}

std::vector<HelpTopic> LoadHelpBook(AppSession& app, std::string_view file, bool report) {
    std::string name(file);
    FilePtr handle = OpenAlongPath(VarGetValue(app, "ZPATH.HELP"), name, "rb");
    std::string text;
    if (!handle || !ReadWholeFile(handle.get(), text)) {
        if (report) {
            Tell(app, Format("Help file '%s' not found.", name.c_str()));
        }
        return {};
    }
    return ParseHelpText(text);
}

std::optional<HelpPlace> FindHelp(AppSession& app, std::string_view name, ContextKind kind) {
    for (std::string_view file : LookupOrder(kind)) {
        std::vector<HelpTopic> topics = LoadHelpBook(app, file, false);
        if (const HelpTopic* topic = FindHelpTopic(topics, name)) {
            return HelpPlace{std::string(file), *topic};
        }
    }
    return std::nullopt;
}

std::string ContextHelpTopic(const DlgStkFrame* top) {
    if (top == nullptr) {
        return {};
    }
    switch (top->kind) {
        case ContextKind::Dialog:
            return UpperCased(top->name);
        case ContextKind::Menu:
            return "MENU " + UpperCased(top->name);
        case ContextKind::Task:
            return "EDITING";
        case ContextKind::FileList:
            return "FILE LIST";
        case ContextKind::None:
        case ContextKind::Dummy:
            break;
    }
    return {};
}

HelpViewEnd ShowHelpViewer(AppSession& app, const HelpTopic& topic) {
    const HelpTopic* shown = &topic;
    std::optional<HelpPlace> usingHelp;
    HelpViewEnd end = HelpViewEnd::Closed;
    for (;;) {
        VarSetValue(app, "HelpView.Title", TopicTitle(*shown));
        WriteDialogArray(app, "HelpView.Text", ViewerRows(*shown));
        VarSetNumber(app, "HelpView.Text.Top", 0);
        VarSetValue(app, "HelpView.BtnPushed", "");
        DialogResult result = ShowDialog(app, kViewerDialog);
        if (result == DialogResult::Failed) {
            // Without its definition the viewer still shows the text, in a message box.
            std::string text;
            for (const std::string& line : shown->lines) {
                text += line + "\n";
            }
            ShowMessage(app, text, MsgTo::Box, Beep::None);
            return HelpViewEnd::Closed;
        }
        if (result == DialogResult::Help && !usingHelp) {
            usingHelp = FindHelp(app, kViewerDialog, ContextKind::Dialog);
            if (usingHelp) {
                shown = &usingHelp->topic;
                continue;
            }
        }
        if (result == DialogResult::Return) {
            end = HelpViewEnd::Return;
        } else if (result == DialogResult::Committed &&
                   UpperCased(VarGetValue(app, "HelpView.BtnPushed")) == "CONTENTS") {
            end = HelpViewEnd::Contents;
        }
        break;
    }
    if (TopContextIs(app, ContextKind::Dialog, kViewerDialog)) {
        PopContext(app);
    }
    return end;
}

void ShowHelpTopic(AppSession& app, std::string_view helpFile, std::string_view topic,
                   std::string_view fallbackTopic) {
    std::string fileName(helpFile);
    std::vector<HelpTopic> topics = LoadHelpBook(app, fileName, true);
    if (topics.empty()) {
        return;
    }
    const HelpTopic* found = FindHelpTopic(topics, topic);
    if (found == nullptr && !fallbackTopic.empty()) {
        found = FindHelpTopic(topics, fallbackTopic);
    }
    if (found == nullptr) {
        Tell(app, Format("Help topic '%s' not found in '%s'.", std::string(topic).c_str(), fileName.c_str()));
        return;
    }
    (void)ShowHelpViewer(app, *found);
}

void RunHelpCommand(AppSession& app, std::string_view name, std::string_view subtopic) {
    const DlgStkFrame* top = TopContext(app);
    ContextKind kind = top == nullptr ? ContextKind::None : top->kind;
    std::string wanted(name);
    if (wanted.empty()) {
        wanted = ContextHelpTopic(top);
        if (wanted.empty()) {
            PostCommand(app, "DIALOG HELPTOC");
            return;
        }
    }
    std::optional<HelpPlace> place;
    if (!subtopic.empty()) {
        place = FindHelp(app, wanted + " " + std::string(subtopic), kind);
    }
    if (!place) {
        place = FindHelp(app, wanted, kind);
    }
    if (!place) {
        std::string shownName =
            HelpTopicKey(subtopic.empty() ? wanted : wanted + " " + std::string(subtopic));
        Tell(app, Format("No help for '%s'. HELP alone shows the contents.", shownName.c_str()));
        if (TopContext(app) != nullptr) {
            ShowContextAgain(app);
        }
        return;
    }
    HelpViewEnd end = ShowHelpViewer(app, place->topic);
    if (end == HelpViewEnd::Return) {
        return;  // the queued RETURN unwinds
    }
    if (end == HelpViewEnd::Contents) {
        PostCommand(app, "DIALOG HELPTOC");
        return;
    }
    // The dialog, menu, list or edit session that asked is shown again.
    if (TopContext(app) != nullptr) {
        ShowContextAgain(app);
    }
}

}  // namespace tavoe
