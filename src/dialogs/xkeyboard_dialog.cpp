// XKEYBRD: the extended keyboard. A character is given by its code, in hexadecimal (00-FF) or in
// decimal after "#" (#0-#255), and inserted at the cursor of the edit session 1 to 99 times,
// as HEXIN types it (same checks: the cursor must be in the data area of a data line).
#include <cctype>
#include <cstdlib>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_table.h"
#include "dialogs/dialog_vars.h"
#include "editing/edit_session.h"
#include "editing/typing_commands.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr int kRepeatMax = 99;

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void Tell(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Exclamation);
}

}  // namespace

int ParseCharacterCode(std::string_view typed) {
    std::string text = UpperCased(Trim(std::string(typed)));
    if (text.empty() || text.size() > 4) {
        return -1;
    }
    if (text.front() == '#') {
        std::string digits = text.substr(1);
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
            return -1;
        }
        int code = std::atoi(digits.c_str());
        return code <= 255 ? code : -1;
    }
    if (text.size() > 2 || text.find_first_not_of("0123456789ABCDEF") != std::string::npos) {
        return -1;
    }
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 16));
}

int ParseRepeatCount(std::string_view typed) {
    std::string text = Trim(std::string(typed));
    if (text.empty()) {
        return 1;
    }
    if (text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) {
        return -1;
    }
    int count = std::atoi(text.c_str());
    return count >= 1 && count <= kRepeatMax ? count : -1;
}

void XKeybrdDialog(AppSession& app) {
    if (VarGetValue(app, "XKeybrd.Count").empty()) {
        VarSetValue(app, "XKeybrd.Count", "1");
    }
    RunOptionDialog(app, "XKEYBRD", [&app] {
        if (DialogReply(app, "", "XKeybrd") == "CANCEL") {
            LeaveDialog(app);
            return;
        }
        int code = ParseCharacterCode(VarGetValue(app, "XKeybrd.Code"));
        int count = ParseRepeatCount(VarGetValue(app, "XKeybrd.Count"));
        if (code < 0) {
            Tell(app, "Character code must be 00 to FF in hexadecimal, or #0 to #255 in decimal.");
            ShowDialogAgain(app, "XKEYBRD");
            return;
        }
        if (count < 0) {
            Tell(app, Format("Repeat count must be a number from 1 to %d.", kRepeatMax));
            ShowDialogAgain(app, "XKEYBRD");
            return;
        }
        LeaveDialog(app);
        EditSession* session = CurrentEditSession(app);
        if (session == nullptr) {
            ShowMessage(app, "Not in file EDIT, command ignored.", MsgTo::Box, Beep::Exclamation);
            return;
        }
        std::string digits;
        for (int i = 0; i < count; ++i) {
            digits += Format("%02X", code);
        }
        HexInCommand(app, *session, digits);
    });
}

}  // namespace tavoe
