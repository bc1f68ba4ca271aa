// FONTMENU and FONT: the two font settings a terminal program keeps. The screen font belongs to the
// terminal; the edit font (ZFONT.EDIT) is what macros read (FONT_FACE, FONT_SIZE) and what the font
// check of file profiles names, and the print font (ZFONT.PRINT) sets the type of printed pages.
// Both are stored as "face,size,weight,style" with a numeric weight (400 normal, 700 bold) and
// style (0 upright, 1 italic), which every reader of the settings takes.
#include <cstdlib>
#include <vector>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_table.h"
#include "dialogs/dialog_vars.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr int kFontSizeMin = 6;
constexpr int kFontSizeMax = 72;
constexpr int kBoldWeight = 700;
constexpr int kNormalWeight = 400;

std::vector<std::string> SplitFontFields(const std::string& value) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (start <= value.size()) {
        size_t comma = value.find(',', start);
        std::string field =
            value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        size_t first = field.find_first_not_of(' ');
        size_t last = field.find_last_not_of(' ');
        fields.push_back(first == std::string::npos ? std::string() : field.substr(first, last - first + 1));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return fields;
}

bool IsBoldField(const std::string& weight) {
    std::string upper = UpperCased(weight);
    return upper.find("BOLD") != std::string::npos || std::atoi(weight.c_str()) >= 600;
}

bool IsItalicField(const std::string& style) {
    std::string upper = UpperCased(style);
    return upper.find("ITALIC") != std::string::npos || std::atoi(style.c_str()) != 0;
}

// The size typed: a whole number within the range, else -1.
int ParseFontSize(const std::string& text) {
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) {
        return -1;
    }
    int size = std::atoi(text.c_str());
    return size >= kFontSizeMin && size <= kFontSizeMax ? size : -1;
}

void Tell(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Exclamation);
}

void FillFontFields(AppSession& app, const std::string& setting) {
    std::vector<std::string> fields = SplitFontFields(VarGetValue(app, setting));
    fields.resize(std::max<size_t>(fields.size(), 4));
    VarSetValue(app, "Font.Face", fields[0].empty() ? std::string("Courier") : fields[0]);
    VarSetValue(app, "Font.Size", fields[1].empty() ? std::string("10") : fields[1]);
    VarSetValue(app, "Font.Bold", IsBoldField(fields[2]) ? "TRUE" : "FALSE");
    VarSetValue(app, "Font.Italic", IsItalicField(fields[3]) ? "TRUE" : "FALSE");
}

}  // namespace

void FontMenuDialog(AppSession& app) {
    RunOptionDialog(app, "FONTMENU", [&app] {
        std::string reply = DialogReply(app, "", "FontMenu");
        if (reply == "EDIT FONT" || reply == "PRINT FONT") {
            VarSetValue(app, "Font.Setting", reply == "EDIT FONT" ? "ZFONT.EDIT" : "ZFONT.PRINT");
            // FONT opens over this menu and comes back to it.
            PostCommand(app, "DIALOG FONT");
            return;
        }
        LeaveDialog(app);
    });
}

void FontDialog(AppSession& app) {
    std::string setting = VarGetValue(app, "Font.Setting");
    if (setting != "ZFONT.PRINT") {
        setting = "ZFONT.EDIT";
    }
    bool edit = setting == "ZFONT.EDIT";
    VarSetValue(app, "Font.Which", edit ? "Edit font (ZFONT.EDIT)" : "Print font (ZFONT.PRINT)");
    VarSetValue(app, "Font.Note",
                edit ? "The screen uses the terminal's font; this one is kept for macros."
                     : "Printed pages use this font (a fixed-pitch face).");
    // After a refused entry the dialog comes back with what was typed.
    if (VarGetValue(app, "Font.Retry") == "TRUE") {
        VarSetValue(app, "Font.Retry", "FALSE");
    } else {
        FillFontFields(app, setting);
    }
    RunOptionDialog(app, "FONT", [&app, setting] {
        if (DialogReply(app, "", "Font") == "CANCEL") {
            LeaveDialog(app);
            return;
        }
        std::string face = VarGetValue(app, "Font.Face");
        size_t first = face.find_first_not_of(' ');
        face = first == std::string::npos ? std::string()
                                          : face.substr(first, face.find_last_not_of(' ') - first + 1);
        int size = ParseFontSize(VarGetValue(app, "Font.Size"));
        if (face.empty() || face.find(',') != std::string::npos) {
            Tell(app, "Font face must be a name without commas.");
        } else if (size < 0) {
            Tell(app, Format("Font size must be a number from %d to %d.", kFontSizeMin, kFontSizeMax));
        } else {
            int weight = VarGetValue(app, "Font.Bold") == "TRUE" ? kBoldWeight : kNormalWeight;
            int style = VarGetValue(app, "Font.Italic") == "TRUE" ? 1 : 0;
            VarSetValue(app, setting, Format("%s,%d,%d,%d", face.c_str(), size, weight, style));
            KeepSetting(app, setting);
            LeaveDialog(app);
            return;
        }
        VarSetValue(app, "Font.Retry", "TRUE");
        ShowDialogAgain(app, "FONT");
    });
}

}  // namespace tavoe
