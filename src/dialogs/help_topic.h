#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/context_stack.h"
#include "dialogs/help_text.h"

namespace tavoe {

// Help: the help files along ZPATH.HELP (format in dialogs/help_text.h), the viewer that shows one
// topic, and the HELP command.

struct AppSession;

// The help files, each with the part of the program its topics describe.
enum class HelpBook { General, Edit, FileList, LineCommands, FileListLines, Dialogs, Guide };

struct HelpBookInfo {
    HelpBook book;
    std::string_view file;
};

// Every help file, in the order a name is looked up outside edit sessions and file lists.
std::span<const HelpBookInfo> HelpBooks();
std::string_view HelpBookFile(HelpBook book);

// The topics of a help file; empty when it cannot be read (reported when report is set).
std::vector<HelpTopic> LoadHelpBook(AppSession& app, std::string_view file, bool report);

// Where a topic was found.
struct HelpPlace {
    std::string file;
    HelpTopic topic;
};

// The topic a name stands for, seen from a context of this kind: an edit session looks first among
// the edit commands and the line commands, a file list among its own commands and line commands;
// then every other file in the order of HelpBooks().
std::optional<HelpPlace> FindHelp(AppSession& app, std::string_view name, ContextKind kind);

// The topic the top frame asks for when help is asked without a name: a dialog or a menu its own
// topic, an edit session the editing overview, a file list the file list overview; "" with no frame.
std::string ContextHelpTopic(const DlgStkFrame* top);

// How a showing of the viewer ended.
enum class HelpViewEnd { Closed, Contents, Return };

// Shows one topic in the help viewer (the HELPVIEW dialog) until the user closes it; F1 in the viewer
// shows how to use help. The viewer's own context frame is gone when this returns.
HelpViewEnd ShowHelpViewer(AppSession& app, const HelpTopic& topic);

// Shows the topic of the help file in the viewer, or fallbackTopic when the file has no such topic
// (a property sheet's own entry for a property without one); reports a missing file or topic.
void ShowHelpTopic(AppSession& app, std::string_view helpFile, std::string_view topic,
                   std::string_view fallbackTopic = {});

// HELP [name [subtopic]]: the topic of the name ("name subtopic" first when a subtopic is given);
// without a name, the topic of the top context frame, or the help contents when there is none.
// The context that asked is shown again afterwards.
void RunHelpCommand(AppSession& app, std::string_view name, std::string_view subtopic = {});

}  // namespace tavoe
