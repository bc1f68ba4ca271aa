#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_session.h"
#include "dialogs/dialog_def.h"
#include "dialogs/dialog_parser.h"

using namespace tavoe;

// Parses a definition text as the dialog `name`.
inline std::unique_ptr<DialogDefinition> ParseText(AppSession& app, std::string_view text,
                                                   std::string_view name = "test") {
    return ParseDialogText(app, name, text);
}

// The texts of every message shown so far.
inline std::vector<std::string> Texts(const AppSession& app) {
    std::vector<std::string> texts;
    for (const ShownMessage& shown : app.messages) {
        texts.push_back(shown.text);
    }
    return texts;
}

// A dialog file with the header and the given object lines.
inline std::string Dialog(std::string_view objects) {
    return "DIALOG { TITLE=\"T\" }\n" + std::string(objects) + "\n";
}
