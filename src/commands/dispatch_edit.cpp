// The edit dispatcher's checks and the edit commands it carries itself.

#include <algorithm>
#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/file_save.h"
#include "buffer/numbering.h"
#include "commands/command_set.h"
#include "commands/dispatch.h"
#include "commands/dispatch_builtins.h"
#include "commands/find_commands.h"
#include "commands/mergemsg.h"
#include "commands/profile_commands.h"
#include "commands/sort_command.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/locate_command.h"
#include "editing/match_command.h"
#include "editing/selection.h"
#include "platform/format.h"
#include "profiles/file_profile.h"

namespace tavoe {

namespace {

constexpr int kColormapNameMax = 7;
constexpr long kBoundCeiling = 1000000;
constexpr int32_t kDefaultNumberStep = 100;
constexpr int32_t kCobolNumberEnd = 6;
constexpr int32_t kStandardNumberStart = 73;
constexpr int32_t kStandardNumberEnd = 80;

// The commands whose parameters the edit dispatcher checks before their handler runs.
enum class Checked { None, Caps, Colormap, Copy, Cut, Delete, Number, Paste, Profile, Ruler, ShowEol, Tabs };

Checked CheckedCommandOf(std::string_view verb) {
    static constexpr std::pair<std::string_view, Checked> kChecked[] = {
        {"CAPS", Checked::Caps},       {"COLORMAP", Checked::Colormap}, {"COPY", Checked::Copy},
        {"CUT", Checked::Cut},         {"DELETE", Checked::Delete},     {"NUMBER", Checked::Number},
        {"PASTE", Checked::Paste},     {"PROFILE", Checked::Profile},   {"RULER", Checked::Ruler},
        {"SHOWEOL", Checked::ShowEol}, {"TABS", Checked::Tabs},
    };
    for (const auto& [name, checked] : kChecked) {
        if (name == verb) {
            return checked;
        }
    }
    return Checked::None;
}

bool IsOnOrOff(std::string_view upper) {
    return upper == "ON" || upper == "OFF";
}

bool CheckNumber(AppSession& app, EditSession& session, std::string_view params) {
    std::string mode = CommandToUpper(CommandFirstWord(params).word);
    if (mode.empty()) {
        Refuse(app, "NUMBER requires one parameter: P1 = COBOL | STANDARD | COB+STD | OFF", MsgTo::Box,
               Beep::Exclamation);
        return false;
    }
    if (mode == "OTHER") {
        Refuse(app, "Use menu OPTIONS, item FILE PROFILES to set line number type OTHER.", MsgTo::Box,
               Beep::Information);
        return false;
    }
    if (mode != "COBOL" && mode != "STANDARD" && mode != "COB+STD" && mode != "OFF") {
        Refuse(app, "NUMBER parameter must be one of COBOL | STANDARD | COB+STD | OFF", MsgTo::Box,
               Beep::Exclamation);
        return false;
    }
    if ((mode == "STANDARD" || mode == "COB+STD") && session.buffer.profile.maxRecordLength != 80) {
        Refuse(
            app,
            Format("File profile record length must be 80 before setting number type to %s.", mode.c_str()),
            MsgTo::Box, Beep::Exclamation);
        return false;
    }
    return true;
}

// A bound: "*" keeps the current one (or takes the default when none is set), otherwise digits.
// False for anything else.
bool ParseBound(std::string_view word, int32_t current, long fallback, long& bound) {
    if (word == "*") {
        bound = current > 0 ? current : fallback;
        return true;
    }
    if (word.empty()) {
        return false;
    }
    bound = 0;
    for (char c : word) {
        if (c < '0' || c > '9') {
            return false;
        }
        bound = bound >= kBoundCeiling ? kBoundCeiling : bound * 10 + (c - '0');
    }
    return true;
}

// BOUNDS [left [right]]: without parameters the bounds become the whole record; a missing right
// bound stays as it is. Bounds past the record length are brought back to it.
void BoundsCommand(AppSession& app, EditSession& session, std::string_view params) {
    FileProfile& profile = session.buffer.profile;
    const long length = profile.maxRecordLength > 0 ? profile.maxRecordLength : kProfileRecordLengthMax;
    CommandWords first = CommandFirstWord(params);
    CommandWords second = CommandFirstWord(first.rest);
    long left = 1;
    long right = length;
    if (!first.word.empty()) {
        if (!ParseBound(first.word, profile.boundsLeft, 1, left)) {
            Refuse(app, "BOUNDS: parm one must be number or asterisk.", MsgTo::Box, Beep::Exclamation);
            return;
        }
        right = profile.boundsRight;
        if (!second.word.empty() && !ParseBound(second.word, profile.boundsRight, length, right)) {
            Refuse(app, "BOUNDS: parm two must be number or asterisk.", MsgTo::Box, Beep::Exclamation);
            return;
        }
    }
    if (left == 0) {
        Refuse(app, "BOUNDS: left bound may not be 0", MsgTo::Box, Beep::Exclamation);
        return;
    }
    left = std::min(left, length);
    right = right <= 0 ? length : std::min(right, length);
    if (right < left) {
        Refuse(app, "BOUNDS: right bound must greater or equal to left bound", MsgTo::Box, Beep::Exclamation);
        return;
    }
    profile.boundsLeft = static_cast<int32_t>(left);
    profile.boundsRight = static_cast<int32_t>(right);
}

// CANCEL: the changes are given up, so END neither asks nor saves.
void CancelCommand(AppSession& app, EditSession& session, std::string_view) {
    session.buffer.modified = false;
    RunGeneralCommand(app, "end");
}

void MergeMsgCommand(AppSession& app, EditSession& session, std::string_view params) {
    if (MergeMessages(app, session.buffer, params) > 0) {
        RunEditCommand(app, "LOCATE SPECIAL");
    }
}

// NUMBER OFF turns numbering off for the session; COBOL, STANDARD and COB+STD number the data lines
// in their columns (1-6, 73-80, both) from the profile's start and step (100 and 100 when unset).
void NumberCommand(AppSession& app, EditSession& session, std::string_view params) {
    std::string mode = CommandToUpper(CommandFirstWord(params).word);
    if (mode == "OFF") {
        NumberingOff(session.buffer);
        return;
    }
    FileProfile& profile = session.buffer.profile;
    if (profile.numberStart <= 0) {
        profile.numberStart = kDefaultNumberStep;
    }
    if (profile.numberIncrement <= 0) {
        profile.numberIncrement = kDefaultNumberStep;
    }
    // Both fields of COB+STD are numbered: the COBOL columns first, then the standard ones, which
    // stay the profile's field.
    if (mode == "COBOL" || mode == "COB+STD") {
        profile.numberType = NumberType::Cobol;
        profile.numberColumnStart = 1;
        profile.numberColumnEnd = kCobolNumberEnd;
        Renumber(session.buffer);
    }
    if (mode == "STANDARD" || mode == "COB+STD") {
        profile.numberType = mode == "STANDARD" ? NumberType::Standard : NumberType::CobStd;
        profile.numberColumnStart = kStandardNumberStart;
        profile.numberColumnEnd = kStandardNumberEnd;
        Renumber(session.buffer);
    }
    RefreshRowTable(app, session);
}

void RenumberCommand(AppSession&, EditSession& session, std::string_view) {
    Renumber(session.buffer);
}

void SaveCommand(AppSession&, EditSession& session, std::string_view) {
    (void)SaveFile(session.buffer, SaveClosing::No);  // reports its own failures
}

void UnnumberCommand(AppSession&, EditSession& session, std::string_view params) {
    (void)Unnumber(session.buffer, CommandTrim(params));  // reports its own refusals
}

void XKeyboardCommand(AppSession& app, EditSession&, std::string_view) {
    RunGeneralCommand(app, "DIALOG XKEYBRD");
}

constexpr CommandDesc Row(std::string_view verb, EditCommandFn handler = nullptr,
                          Listing listing = Listing::Listed) {
    return {.table = CommandTable::Edit,
            .verb = verb,
            .owner = CommandOwner::Commands,
            .listing = listing,
            .edit = handler};
}

constexpr CommandDesc kEditRows[] = {
    Row("BOUNDS", BoundsCommand),
    Row("CANCEL", CancelCommand),
    Row("CAPS", CapsCommand),
    Row("CHANGE", ChangeCommand),
    Row("EXCLUDE", ExcludeCommand),
    Row("FIND", FindCommand),
    Row("FLIP", FlipCommand),
    Row("LOCATE", LocateCommand),
    Row("MATCH", MatchCommand),
    Row("MERGEMSG", MergeMsgCommand),
    Row("NUMBER", NumberCommand),
    Row("PROFILE", ProfileCommand),
    Row("RCHANGE", RChangeCommand),
    Row("RENUMBER", RenumberCommand),
    Row("RESET", ResetCommand),
    Row("RFIND", RFindCommand),
    Row("SAVE", SaveCommand),
    Row("SORT", SortCommand),
    Row("TABS", nullptr, Listing::Unlisted),
    Row("UNNUMBER", UnnumberCommand),
    Row("XKEYBOARD", XKeyboardCommand),
};

}  // namespace

CommandRows DispatcherEditCommands() {
    return kEditRows;
}

bool PassesEditCommandChecks(AppSession& app, EditSession& session, std::string_view verb,
                             std::string_view params) {
    std::string param = CommandToUpper(CommandTrim(params));
    switch (CheckedCommandOf(verb)) {
        case Checked::Caps:
            if (param.empty()) {
                Refuse(app, "CAPS requires one parameter, ON or OFF.", MsgTo::Box, Beep::Exclamation);
                return false;
            }
            if (!IsOnOrOff(param)) {
                Refuse(app, "CAPS parameter must be ON or OFF", MsgTo::Box, Beep::Exclamation);
                return false;
            }
            return true;
        case Checked::Colormap:
            if (param.empty()) {
                Refuse(app, "COLORMAP requires one parameter:  P1 = colorization-type", MsgTo::Box,
                       Beep::Exclamation);
                return false;
            }
            if (CommandFirstWord(param).word.size() > kColormapNameMax) {
                Refuse(app, "COLORMAP name too long.", MsgTo::Box, Beep::Exclamation);
                return false;
            }
            return true;
        case Checked::Delete:
            if (!param.empty()) {
                return true;
            }
            [[fallthrough]];
        case Checked::Copy:
        case Checked::Cut:
            if (!SelectionExists(session)) {
                Refuse(app, "No selection", MsgTo::Box, Beep::Exclamation);
                return false;
            }
            return true;
        case Checked::Number:
            return CheckNumber(app, session, params);
        case Checked::Paste:
            if (CursorLine(app, session) == nullptr) {
                Refuse(app, "To PASTE, cursor must be on a line.", MsgTo::Box, Beep::Exclamation);
                return false;
            }
            return true;
        case Checked::Profile: {
            const std::string& name = session.buffer.profile.name;
            Refuse(app,
                   Format("File Profile '%s' is in use, you can view it but you can not modify it.",
                          name.c_str()),
                   MsgTo::Box, Beep::Information);
            return true;
        }
        case Checked::Ruler:
            if (!param.empty() && !IsOnOrOff(param)) {
                Refuse(app, "RULER has one optional parameter:  P1 = ON | OFF", MsgTo::Box,
                       Beep::Information);
                return false;
            }
            return true;
        case Checked::ShowEol:
            if (!param.empty() && !IsOnOrOff(param)) {
                Refuse(app, "SHOWEOL parameter must be ON or OFF", MsgTo::Box, Beep::Information);
                return false;
            }
            return true;
        case Checked::Tabs:
            Refuse(
                app,
                "Edit does not support the TABS primary command.\n\nUse PROFILE command to view current file "
                "profile (see field 'TabKeyStopsAt').",
                MsgTo::Box, Beep::Information);
            return false;
        case Checked::None:
            return true;
    }
    return true;
}

}  // namespace tavoe
