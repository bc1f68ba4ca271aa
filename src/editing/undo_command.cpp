#include "editing/undo_command.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "core/app_session.h"
#include "core/command_line.h"
#include "core/var_store.h"
#include "editing/edit_session.h"
#include "editing/undo_journal.h"
#include "editing/undo_step.h"

namespace tavoe {

namespace {

// A count of digits only; counts too large for the journal to hold are as good as ALL.
std::optional<std::uint64_t> ParseCount(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    constexpr std::uint64_t kCeiling = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t count = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        count = count >= kCeiling ? kCeiling : count * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return count;
}

// UNDO is one setting for the whole instance: every session's journal follows it, so no journal
// can miss changes made while it was off and later replay entries that no longer fit the lines.
void SetUndo(AppSession& app, EditSession* session, bool on) {
    app.profileSettings.undoEnabled = on;
    VarSetValue(app, "ZUNDO", on ? "TRUE" : "FALSE");
    UndoApplySetting(app);
    if (session != nullptr) {
        UndoSyncSession(app, *session);
    }
}

}  // namespace

void UndoCommand(AppSession& app, EditSession* session, std::string_view parameter) {
    std::string word = CommandToUpper(CommandTrim(parameter));
    if (word.empty()) {
        (void)UndoStep(app, session);  // reports an empty journal itself
    } else if (std::optional<std::uint64_t> count = ParseCount(word)) {
        if (*count > 0) {
            UndoSteps(app, session, *count);
        }
    } else if (word == "ALL") {
        UndoSteps(app, session, std::numeric_limits<std::uint64_t>::max());
    } else if (word == "CLEAR") {
        if (session != nullptr) {
            (void)UndoClear(app, *session);
        }
    } else if (word == "ON") {
        SetUndo(app, session, true);
    } else if (word == "OFF") {
        SetUndo(app, session, false);
    } else if (word == "TOGGLE") {
        SetUndo(app, session, !UndoEnabled(app));
    } else {
        ShowMessage(app, "UNDO: invalid parameter", MsgTo::Box, Beep::Exclamation);
    }
}

void UndoEditCommand(AppSession& app, EditSession& session, std::string_view params) {
    UndoCommand(app, &session, params);
}

}  // namespace tavoe
