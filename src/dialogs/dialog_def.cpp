#include "dialogs/dialog_def.h"

#include "core/app_session.h"
#include "core/var_store.h"

namespace tavoe {

namespace {

bool IsGlobalReference(std::string_view text) {
    return text.size() >= 2 && text[0] == '&' && (text[1] == 'Z' || text[1] == 'z');
}

}  // namespace

std::string_view DialogTypeName(DialogObjectType type) {
    switch (type) {
        case DialogObjectType::Static:
            return "STATIC";
        case DialogObjectType::Output:
            return "OUTPUT";
        case DialogObjectType::Input:
            return "INPUT";
        case DialogObjectType::List:
            return "LIST";
        case DialogObjectType::Combo:
            return "COMBO";
        case DialogObjectType::Button:
            return "BUTTON";
        case DialogObjectType::Checkbox:
            return "CHECKBOX";
        case DialogObjectType::Separator:
            return "SEPARATOR";
        case DialogObjectType::None:
            break;
    }
    return "";
}

std::string ResolveDialogTitle(AppSession& app, const DialogDefinition& def) {
    if (IsGlobalReference(def.title)) {
        std::string value = VarGetValue(app, std::string_view(def.title).substr(1));
        if (!value.empty()) {
            return value;
        }
    }
    return def.title;
}

std::string ResolveButtonCaption(AppSession& app, const DialogDefinition& def, const DialogObject& obj) {
    if (!obj.text) {
        return {};
    }
    const std::string& text = *obj.text;
    if (IsGlobalReference(text)) {
        return VarGetValue(app, std::string_view(text).substr(1));
    }
    if (text.size() >= 2 && text[0] == '&') {
        return VarGetValue(app, def.name + "." + text.substr(1));
    }
    return text;
}

}  // namespace tavoe
