#include "dialogs/help_topic.h"

#include <cstdio>
#include <string>

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_vars.h"
#include "platform/format.h"
#include "platform/search_path.h"

namespace tavoe {

namespace {

constexpr size_t kHelpTextMax = 4000;

bool ReadFileText(std::FILE* file, std::string& text) {
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
        if (text.size() > 1024 * 1024) {
            break;
        }
    }
    return std::ferror(file) == 0;
}

}  // namespace

void ShowHelpTopic(AppSession& app, std::string_view helpFile, std::string_view topic) {
    std::string fileName(helpFile);
    FilePtr file = OpenAlongPath(VarGetValue(app, "ZPATH.HELP"), fileName, "rb");
    std::string text;
    if (!file || !ReadFileText(file.get(), text)) {
        ShowMessage(app, Format("Help file '%s' not found.", fileName.c_str()), MsgTo::Box,
                    Beep::Information);
        return;
    }
    std::string heading = "[" + UpperCased(topic) + "]";
    std::string section;
    bool inTopic = false;
    bool found = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.front() == '[') {
            inTopic = UpperCased(line) == heading;
            found = found || inTopic;
            continue;
        }
        if (inTopic && section.size() < kHelpTextMax) {
            section += line + "\n";
        }
    }
    while (!section.empty() && (section.back() == '\n' || section.back() == ' ')) {
        section.pop_back();
    }
    if (!found) {
        ShowMessage(
            app, Format("Help topic '%s' not found in '%s'.", std::string(topic).c_str(), fileName.c_str()),
            MsgTo::Box, Beep::Information);
        return;
    }
    ShowMessage(app, section, MsgTo::Box, Beep::None);
}

void RunHelpCommand(AppSession& app, std::string_view topic) {
    std::string name(topic);
    if (name.empty()) {
        const DlgStkFrame* top = TopContext(app);
        if (top == nullptr || top->kind == ContextKind::Dummy) {
            PostCommand(app, "MENU HELP");
            return;
        }
        name = top->name;
    }
    ShowHelpTopic(app, "help_gpcmd.txt", name);
    // The dialog or menu that asked for help is shown again after it.
    if (topic.empty()) {
        ShowContextAgain(app);
    }
}

}  // namespace tavoe
