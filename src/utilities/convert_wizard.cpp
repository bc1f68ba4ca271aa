#include "utilities/convert_wizard.h"
#include "utilities/utility_commands.h"

#include <array>
#include <string>
#include <vector>

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_vars.h"
#include "platform/file_io.h"
#include "platform/format.h"
#include "ui/file_chooser.h"
#include "utilities/convert_run.h"

namespace tavoe {

namespace {

constexpr const char* kFileFormat = "file format";
constexpr const char* kCharacterSet = "character set";
constexpr const char* kVariable = "VARIABLE";
constexpr const char* kVToF = "RECFM=V to RECFM=F";
constexpr const char* kChangeLength = "Change fixed record length";

enum class Field { Choice, Number, Boolean, Text };

// One step of the wizard: its dialog, the field it asks for and the setting that keeps the answer.
struct Step {
    std::string_view dialog;
    Field field;
    std::string_view var;      // the dialog's variable
    std::string_view setting;  // ZCONVERT.*
    std::vector<std::string_view> choices;
};

const std::array<Step, 10>& Steps() {
    static const std::array<Step, 10> steps = {{
        {"CONVERT1", Field::Choice, "Convert1.Mode", "ZCONVERT.MODE", {kFileFormat, kCharacterSet}},
        {"CONVERT2", Field::Choice, "Convert2.Recfm", "ZCONVERT.RECFM", {kVariable, "FIXED"}},
        {"CONVV1",
         Field::Choice,
         "ConvV1.VMode",
         "ZCONVERT.VMODE",
         {"CR+LF record terminators to LF", "LF record terminators to CR+LF", kVToF}},
        {"CONVV2", Field::Number, "ConvV2.NewLrecl", "ZCONVERT.NEWLRECL", {}},
        {"CONVF1", Field::Number, "ConvF1.Lrecl", "ZCONVERT.LRECL", {}},
        {"CONVF2",
         Field::Choice,
         "ConvF2.FMode",
         "ZCONVERT.FMODE",
         {kChangeLength, "Convert from RECFM=F to RECFM=V"}},
        {"CONVF3", Field::Number, "ConvF3.NewLrecl", "ZCONVERT.NEWLRECL", {}},
        {"CONVF4", Field::Boolean, "ConvF4.DeleteTrailing", "ZCONVERT.DELETETRAILING", {}},
        {"CONVC1",
         Field::Choice,
         "ConvC1.CMode",
         "ZCONVERT.CMODE",
         {std::begin(kConvertCharsetModes), std::end(kConvertCharsetModes)}},
        {"CONVERT3", Field::Text, "Convert3.NewFile", "ZCONVERT.NEWFILE", {}},
    }};
    return steps;
}

std::string Setting(AppSession& app, std::string_view name) {
    return VarGetValue(app, name);
}

void Error(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Error);
}

// The step that follows one, by the answers given so far.
std::string_view NextStep(AppSession& app, std::string_view dialog) {
    if (dialog == "CONVERT1") {
        return Setting(app, "ZCONVERT.MODE") == kCharacterSet ? "CONVC1" : "CONVERT2";
    }
    if (dialog == "CONVERT2") {
        return Setting(app, "ZCONVERT.RECFM") == kVariable ? "CONVV1" : "CONVF1";
    }
    if (dialog == "CONVV1") {
        return Setting(app, "ZCONVERT.VMODE") == kVToF ? "CONVV2" : "CONVERT3";
    }
    if (dialog == "CONVF1") {
        return "CONVF2";
    }
    if (dialog == "CONVF2") {
        return Setting(app, "ZCONVERT.FMODE") == kChangeLength ? "CONVF3" : "CONVF4";
    }
    return "CONVERT3";
}

// The step before one (the one whose answer led to it).
std::string_view PreviousStep(AppSession& app, std::string_view dialog) {
    if (dialog == "CONVERT2" || dialog == "CONVC1") {
        return "CONVERT1";
    }
    if (dialog == "CONVV1" || dialog == "CONVF1") {
        return "CONVERT2";
    }
    if (dialog == "CONVV2") {
        return "CONVV1";
    }
    if (dialog == "CONVF2") {
        return "CONVF1";
    }
    if (dialog == "CONVF3" || dialog == "CONVF4") {
        return "CONVF2";
    }
    if (Setting(app, "ZCONVERT.MODE") == kCharacterSet) {
        return "CONVC1";
    }
    if (Setting(app, "ZCONVERT.RECFM") == kVariable) {
        return Setting(app, "ZCONVERT.VMODE") == kVToF ? "CONVV2" : "CONVV1";
    }
    return Setting(app, "ZCONVERT.FMODE") == kChangeLength ? "CONVF3" : "CONVF4";
}

void Prepare(AppSession& app, const Step& step) {
    std::string value = Setting(app, step.setting);
    switch (step.field) {
        case Field::Choice: {
            std::vector<std::string> entries(step.choices.begin(), step.choices.end());
            WriteDialogArray(app, step.var, entries);
            int select = 1;
            for (size_t i = 0; i < entries.size(); ++i) {
                if (entries[i] == value) {
                    select = static_cast<int>(i) + 1;
                }
            }
            VarSetNumber(app, DialogVar(step.var, "Select"), select);
            break;
        }
        case Field::Boolean:
            VarSetValue(app, step.var, value == "TRUE" ? "TRUE" : "FALSE");
            break;
        case Field::Number:
        case Field::Text:
            VarSetValue(app, step.var, value);
            break;
    }
    if (step.dialog == "CONVERT1") {
        VarSetValue(app, "Convert1.OldFile", Setting(app, "ZCONVERT.OLDFILE"));
    }
}

// Copies the dialog's answer into its setting; false (shown) when it is not acceptable.
bool Store(AppSession& app, const Step& step) {
    switch (step.field) {
        case Field::Choice: {
            long select = VarGetNumber(app, DialogVar(step.var, "Select"));
            if (select < 1 || select > static_cast<long>(step.choices.size())) {
                select = 1;
            }
            VarSetValue(app, step.setting, step.choices[static_cast<size_t>(select - 1)]);
            break;
        }
        case Field::Number: {
            std::string text = VarGetValue(app, step.var);
            bool digits = !text.empty() && text.size() <= 5 &&
                          text.find_first_not_of("0123456789") == std::string::npos;
            long number = digits ? std::stol(text) : 0;
            if (number < 1 || number > kConvertMaxLength) {
                Error(app, Format("Record length must be a number from 1 to %d.", kConvertMaxLength));
                return false;
            }
            VarSetNumber(app, step.setting, number);
            break;
        }
        case Field::Boolean:
            VarSetValue(app, step.setting, VarGetValue(app, step.var) == "TRUE" ? "TRUE" : "FALSE");
            break;
        case Field::Text:
            VarSetValue(app, step.setting, VarGetValue(app, step.var));
            break;
    }
    KeepSetting(app, step.setting);
    if (step.dialog == "CONVERT1") {
        std::string old = VarGetValue(app, "Convert1.OldFile");
        VarSetValue(app, "ZCONVERT.OLDFILE", old.empty() ? old : FullPath(old));
        KeepSetting(app, "ZCONVERT.OLDFILE");
    }
    return true;
}

bool OldFileUsable(AppSession& app) {
    FileStamp stamp;
    std::string old = Setting(app, "ZCONVERT.OLDFILE");
    if (old.empty() || !StatPath(old, stamp).Ok() || !stamp.isRegular || stamp.size == 0) {
        Error(app, "Old file does not exist or has size 0.");
        return false;
    }
    return true;
}

ConvertRequest RequestFromSettings(AppSession& app) {
    ConvertRequest request;
    request.oldPath = Setting(app, "ZCONVERT.OLDFILE");
    request.newPath = Setting(app, "ZCONVERT.NEWFILE");
    request.oldLength = static_cast<int>(VarGetNumber(app, "ZCONVERT.LRECL"));
    request.newLength = static_cast<int>(VarGetNumber(app, "ZCONVERT.NEWLRECL"));
    request.deleteTrailing = Setting(app, "ZCONVERT.DELETETRAILING") == "TRUE";
    if (Setting(app, "ZCONVERT.MODE") == kCharacterSet) {
        request.kind = ConvertKind::CharacterSet;
        std::string mode = Setting(app, "ZCONVERT.CMODE");
        for (int i = 0; i < 6; ++i) {
            if (mode == kConvertCharsetModes[i]) {
                request.charsetMode = i + 1;
            }
        }
    } else if (Setting(app, "ZCONVERT.RECFM") == kVariable) {
        std::string mode = Setting(app, "ZCONVERT.VMODE");
        request.kind = mode == kVToF                              ? ConvertKind::VariableToFixed
                       : mode == "LF record terminators to CR+LF" ? ConvertKind::LfToCrLf
                                                                  : ConvertKind::CrLfToLf;
    } else {
        request.kind = Setting(app, "ZCONVERT.FMODE") == kChangeLength ? ConvertKind::ChangeFixedLength
                                                                       : ConvertKind::FixedToVariable;
    }
    return request;
}

void ChooseOldFile(AppSession& app) {
    if (app.screen == nullptr) {
        return;
    }
    ui::FileChooserOptions options;
    options.title = "Navigate to directory, select file to convert (ESC to cancel)";
    std::string current = Setting(app, "ZCONVERT.OLDFILE");
    if (!current.empty()) {
        options.directory = PathDirectory(current);
        options.fileName = PathFileName(current);
    }
    ui::FileChooserResult chosen = ui::RunFileChooser(*app.screen, options);
    if (chosen.ok && !chosen.names.empty()) {
        VarSetValue(app, "ZCONVERT.OLDFILE", chosen.Path());
    }
}

void Apply(AppSession& app, const Step& step) {
    std::string button = DialogReply(app, "", step.dialog);
    if (button.starts_with("CANCEL") || button.empty()) {
        LeaveDialog(app);
        return;
    }
    bool stored = Store(app, step);
    if (button.starts_with("BROWSE")) {
        ChooseOldFile(app);
        ShowDialogAgain(app, step.dialog);
        return;
    }
    if (button.starts_with("BACK")) {
        ShowDialogAgain(app, PreviousStep(app, step.dialog));
        return;
    }
    if (!stored || (step.dialog == "CONVERT1" && !OldFileUsable(app))) {
        ShowDialogAgain(app, step.dialog);
        return;
    }
    if (step.dialog != "CONVERT3") {
        ShowDialogAgain(app, NextStep(app, step.dialog));
        return;
    }
    auto confirm = [&app](std::string_view question) { return Shell(app).ConfirmOkCancel(app, question); };
    if (RunConversion(app, RequestFromSettings(app), confirm) < 0) {
        ShowDialogAgain(app, step.dialog);
        return;
    }
    LeaveDialog(app);
}

template <size_t N>
void StepDialog(AppSession& app) {
    const Step& step = Steps()[N];
    Prepare(app, step);
    RunOptionDialog(app, step.dialog, [&app, &step] { Apply(app, step); });
}

constexpr SubsystemDialog kConvertDialogs[] = {
    {"CONVERT1", StepDialog<0>}, {"CONVERT2", StepDialog<1>}, {"CONVV1", StepDialog<2>},
    {"CONVV2", StepDialog<3>},   {"CONVF1", StepDialog<4>},   {"CONVF2", StepDialog<5>},
    {"CONVF3", StepDialog<6>},   {"CONVF4", StepDialog<7>},   {"CONVC1", StepDialog<8>},
    {"CONVERT3", StepDialog<9>},
};

}  // namespace

void ConvertCommand(AppSession& app, const GeneralCommandLine& command) {
    PrefillPathsAndOpen(app, command.allParams, {"ZCONVERT.OLDFILE"}, "CONVERT1");
}

std::span<const SubsystemDialog> ConvertDialogs() {
    return kConvertDialogs;
}

}  // namespace tavoe
