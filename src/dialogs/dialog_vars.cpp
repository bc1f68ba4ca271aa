#include "dialogs/dialog_vars.h"

#include <algorithm>
#include <cctype>

#include "core/app_session.h"
#include "core/var_store.h"
#include "platform/ascii_case.h"
#include "platform/format.h"

namespace tavoe {

std::string ReadDialogVar(AppSession& app, std::string_view name) {
    VarRecord* rec = VarFind(app, name);
    return rec == nullptr ? std::string() : std::string(rec->Value());
}

std::vector<std::string> ReadDialogArray(AppSession& app, std::string_view name) {
    std::string base(name);
    long count = std::atol(ReadDialogVar(app, base + ".0").c_str());
    count = std::clamp(count, 0L, kDialogArrayMax);
    std::vector<std::string> items;
    for (long i = 1; i <= count; ++i) {
        std::string value = ReadDialogVar(app, Format("%s.%ld", base.c_str(), i));
        if (!value.empty()) {
            items.push_back(std::move(value));
        }
    }
    return items;
}

void WriteDialogArray(AppSession& app, std::string_view name, const std::vector<std::string>& items) {
    std::string base(name);
    VarSetNumber(app, base + ".0", static_cast<long>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) {
        VarSetValue(app, Format("%s.%d", base.c_str(), static_cast<int>(i + 1)), items[i]);
    }
}

std::string FirstWord(std::string_view text) {
    size_t blank = text.find(' ');
    return std::string(text.substr(0, blank));
}

std::string UpperCased(std::string_view text) {
    return UpperAscii(text);
}

std::string PadRight(std::string_view text, size_t width) {
    std::string out(text);
    if (out.size() < width) {
        out.append(width - out.size(), ' ');
    }
    return out;
}

}  // namespace tavoe
