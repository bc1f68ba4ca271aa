#include "utilities/template_insert.h"

#include <algorithm>
#include <set>

#include "buffer/edit_buffer.h"
#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "platform/ascii_case.h"
#include "platform/dir_entries.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "profiles/main_profile_io.h"

namespace tavoe {

namespace {

constexpr std::string_view kTemplateExtension = ".tpl";
constexpr const char* kPathVariable = "ZPATH.TEMPLATES";

std::string BindingDirectory(const std::string& directory, std::string_view binding) {
    std::string sub = FindSubdirectory(directory, binding);
    return sub.empty() ? std::string() : JoinPath(directory, sub);
}

// The length every inserted line is padded to: the record length of a fixed-length file, and of an
// 80-column file with sequence numbers; 0 for no padding.
int PadLength(const EditBuffer& buffer) {
    const FileProfile& profile = buffer.profile;
    if (profile.recordFormat == Recfm::Fixed) {
        return profile.maxRecordLength;
    }
    if (profile.maxRecordLength == 80 && profile.numberType != NumberType::None) {
        return 80;
    }
    return 0;
}

}  // namespace

int ListTemplates(AppSession& app, std::string_view binding, std::vector<std::string>& names) {
    names.clear();
    std::string pathValue = VarGetValue(app, kPathVariable);
    std::vector<std::string> directories = SplitSearchPath(pathValue);
    if (directories.empty()) {
        ShowMessage(app, "No path set for templates, check menu OPTIONS, item PATHS.", MsgTo::Box,
                    Beep::Exclamation);
        return -1;
    }
    std::set<std::string> seen;
    for (const std::string& directory : directories) {
        std::string sub = BindingDirectory(directory, binding);
        if (sub.empty()) {
            continue;
        }
        for (const std::string& file : ListFilesWithExtension(sub, kTemplateExtension)) {
            std::string name = UpperAscii(file.substr(0, file.size() - kTemplateExtension.size()));
            if (seen.insert(name).second) {
                names.push_back(name);
            }
        }
    }
    std::sort(names.begin(), names.end());
    if (names.empty()) {
        ShowMessage(app, Format("No '*.TPL' files found in path '%s'", pathValue.c_str()), MsgTo::Box,
                    Beep::Exclamation);
        return -1;
    }
    return 0;
}

std::string FindTemplateFile(AppSession& app, std::string_view binding, std::string_view name) {
    std::string fileName = std::string(name) + std::string(kTemplateExtension);
    for (const std::string& directory : SplitSearchPath(VarGetValue(app, kPathVariable))) {
        std::string sub = BindingDirectory(directory, binding);
        if (sub.empty()) {
            continue;
        }
        std::string found = ResolveNameInDirectory(sub, fileName);
        if (!found.empty()) {
            return JoinPath(sub, found);
        }
    }
    return {};
}

int InsertTemplate(AppSession& app, EditBuffer& buffer, LineRecord* below, int cursorColumn,
                   std::string_view name, TemplateCursor& cursor) {
    std::string path = FindTemplateFile(app, buffer.profile.languageTemplate, name);
    FilePtr file(path.empty() ? nullptr : std::fopen(path.c_str(), "r"));
    if (!file) {
        ShowMessage(app, Format("Unable to load template '%s'", std::string(name).c_str()), MsgTo::Box,
                    Beep::Exclamation);
        return -1;
    }
    std::vector<std::string> lines;
    std::string line;
    while (ReadTextLine(file.get(), kTemplateLineMax, line)) {
        lines.push_back(line);
    }
    return InsertTemplateLines(app, buffer, below, cursorColumn, lines, cursor);
}

int InsertTemplateLines(AppSession& app, EditBuffer& buffer, LineRecord* below, int cursorColumn,
                        const std::vector<std::string>& lines, TemplateCursor& cursor) {
    cursor = TemplateCursor{};
    std::string indent(static_cast<size_t>(std::max(cursorColumn - 1, 0)), ' ');
    size_t maxLength = buffer.profile.maxRecordLength > 0
                           ? static_cast<size_t>(buffer.profile.maxRecordLength)
                           : kTemplateLineMax;
    int pad = PadLength(buffer);
    bool cutReported = false;
    LineRecord* previous = below;
    for (const std::string& source : lines) {
        std::string text = source;
        int markerColumn = 0;
        if (cursor.line == nullptr) {
            size_t marker = text.find(kTemplateCursorMarker);
            if (marker != std::string::npos) {
                text.erase(marker, kTemplateCursorMarker.size());
                markerColumn = static_cast<int>(indent.size() + marker) + 1;
            }
        }
        text = indent + text;
        if (text.size() > maxLength) {
            text.resize(maxLength);
            if (!cutReported) {
                ShowMessage(app, "Template line exceeds max record length, truncated.", MsgTo::Box,
                            Beep::Information);
                cutReported = true;
            }
        }
        LineRecord* line = LineNew(buffer, text);
        if (line == nullptr) {
            return -1;  // reported by the buffer
        }
        LineSetKind(*line, LineKind::Data);
        if (LineInsertAfter(buffer, previous, line) != 0) {
            LineFree(buffer, line);
            return -1;
        }
        if (pad > 0) {
            (void)LinePadTo(buffer, *line, static_cast<std::uint32_t>(pad));
        }
        if (buffer.colorizer != nullptr) {
            buffer.colorizer->ColorizeLine(buffer, *line);
        }
        if (markerColumn > 0) {
            cursor.line = line;
            cursor.column = std::min(markerColumn, static_cast<int>(maxLength));
        }
        previous = line;
    }
    return 0;
}

}  // namespace tavoe
