#include "profiles/control_file.h"

#include <algorithm>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "profiles/main_profile_io.h"

namespace tavoe {

namespace {

void Report(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Information);
}

struct KeywordValue {
    std::string_view keyword;
    std::string_view value;
};

KeywordValue SplitControlLine(std::string_view line) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        return {line, {}};
    }
    return {line.substr(0, eq), line.substr(eq + 1)};
}

}  // namespace

Status ControlFileRead(AppSession& app, std::string_view pathVariable, std::string_view name,
                       std::string_view extension, int count, std::span<std::string* const> keywords,
                       std::span<std::string* const> values) {
    count = std::max(count, 0);
    for (int i = 0; i < count; ++i) {
        if (static_cast<size_t>(i) >= keywords.size() || keywords[i] == nullptr) {
            Report(app, "PObjRead: internal error, null keyword pointer.");
            return -1;
        }
        if (static_cast<size_t>(i) >= values.size() || values[i] == nullptr) {
            Report(app, "PObjRead: internal error, null value pointer");
            return -1;
        }
        keywords[i]->clear();
        values[i]->clear();
    }
    std::string fileName = std::string(name) + std::string(extension);
    FilePtr file = OpenAlongPath(VarGetValue(app, pathVariable), fileName, "r");
    if (!file) {
        Report(app, Format("PObjRead: unable to open control file '%s' for read.", fileName.c_str()));
        return -1;
    }
    std::string line;
    for (int i = 0; i < count && ReadTextLine(file.get(), kControlLineMax, line); ++i) {
        KeywordValue kv = SplitControlLine(line);
        std::string keyword(kv.keyword);
        if (kv.keyword.size() > kControlKeywordMax) {
            Report(app, Format("PObjRead: control file '%s', keyword '%s' exceeds max length allowed.",
                               fileName.c_str(), keyword.c_str()));
            return -1;
        }
        if (kv.value.size() > kControlValueMax) {
            Report(app, Format("PObjRead: control file '%s', keyword '%s' has value which exceeds max "
                               "length allowed.",
                               fileName.c_str(), keyword.c_str()));
            return -1;
        }
        *keywords[i] = std::move(keyword);
        *values[i] = std::string(kv.value);
    }
    return 0;
}

Status ControlFileRead(AppSession& app, std::string_view pathVariable, std::string_view name,
                       std::string_view extension, int count, std::vector<std::string>& keywords,
                       std::vector<std::string>& values) {
    count = std::max(count, 0);
    keywords.assign(count, std::string());
    values.assign(count, std::string());
    std::vector<std::string*> keywordSlots;
    std::vector<std::string*> valueSlots;
    for (int i = 0; i < count; ++i) {
        keywordSlots.push_back(&keywords[i]);
        valueSlots.push_back(&values[i]);
    }
    return ControlFileRead(app, pathVariable, name, extension, count, keywordSlots, valueSlots);
}

Status ControlFileWrite(AppSession& app, std::string_view pathVariable, std::string_view name,
                        std::string_view extension, int count, std::span<const std::string* const> keywords,
                        std::span<const std::string* const> values) {
    count = std::max(count, 0);
    // Every pair is checked before the file is touched, so an internal error cannot leave a
    // half-written file behind.
    for (int i = 0; i < count; ++i) {
        if (static_cast<size_t>(i) >= keywords.size() || keywords[i] == nullptr) {
            Report(app, "PObjWrite: internal error, null keyword pointer.");
            return -1;
        }
        if (static_cast<size_t>(i) >= values.size() || values[i] == nullptr) {
            Report(app, "PObjWrite: internal error, null value pointer.");
            return -1;
        }
    }
    std::string fileName = std::string(name) + std::string(extension);
    std::string path = WritePathFor(VarGetValue(app, pathVariable), fileName);
    ReplacingFileWriter out;
    if (path.empty() || !out.Open(path)) {
        Report(app, Format("PObjWrite: unable to open control file '%s' for write.", fileName.c_str()));
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        out.Write(*keywords[i]);
        out.Write("=");
        out.Write(*values[i]);
        out.Write("\n");
    }
    if (!out.Commit()) {
        Report(app, Format("PObjWrite: unable to open control file '%s' for write.", fileName.c_str()));
        return -1;
    }
    return 0;
}

Status ControlFileWrite(AppSession& app, std::string_view pathVariable, std::string_view name,
                        std::string_view extension, const std::vector<std::string>& keywords,
                        const std::vector<std::string>& values) {
    std::vector<const std::string*> keywordSlots;
    std::vector<const std::string*> valueSlots;
    for (const std::string& k : keywords) {
        keywordSlots.push_back(&k);
    }
    for (const std::string& v : values) {
        valueSlots.push_back(&v);
    }
    return ControlFileWrite(app, pathVariable, name, extension, static_cast<int>(keywords.size()),
                            keywordSlots, valueSlots);
}

std::string ControlFileGet(AppSession& app, std::string_view pathVariable, std::string_view fileName,
                           std::string_view keyword) {
    FilePtr file = OpenAlongPath(VarGetValue(app, pathVariable), fileName, "r");
    if (!file) {
        return {};
    }
    std::string line;
    while (ReadTextLine(file.get(), kControlLineMax, line)) {
        if (line.size() > keyword.size() && line.compare(0, keyword.size(), keyword) == 0 &&
            line[keyword.size()] == '=') {
            return line.substr(keyword.size() + 1);
        }
    }
    return {};
}

}  // namespace tavoe
