// The colorization dialogs: the list of types (CLRTYPE), a new type (CLRNEW), the choice between word
// and field colours (CLRMODE), the word colours (CLRWORD) with the words of each set (WORDS, WORDNEW),
// the field colours (CLRFIELD), the palette (CLRPALETTE) and the screen colours (COLORS).
//
// The type being edited is named by ClrType.Edit. Word lists are written to the type's file as they
// change, so the word dialogs and the colour dialog always read the file; the colours typed into
// CLRWORD stay in its variables while the word lists are open and are written by Save.
#include <algorithm>
#include <memory>

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_cache.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_table.h"
#include "dialogs/dialog_vars.h"
#include "editing/edit_session.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "profiles/colorization_fields.h"
#include "profiles/colorization_io.h"
#include "profiles/file_profile_sheet.h"
#include "profiles/main_profile_settings.h"
#include "profiles/palette.h"
#include "ui/color_chooser.h"
#include "ui/screen.h"
#include "view/line_colors.h"
#include "view/view_colors.h"

namespace tavoe {

namespace {

constexpr std::string_view kEditedType = "ClrType.Edit";
constexpr std::string_view kWordFieldsOf = "ClrWord.LoadedType";  // the type CLRWORD's fields hold
constexpr std::string_view kWordSet = "Words.Set";

void Box(AppSession& app, const std::string& text, Beep beep = Beep::Exclamation) {
    ShowMessage(app, text, MsgTo::Box, beep);
}

std::string EditedType(AppSession& app) {
    return UpperCased(VarGetValue(app, kEditedType));
}

// The type's colorization as its file holds it, or a new empty one of that name.
std::shared_ptr<Colorizer> EditedColorizer(AppSession& app) {
    std::string type = EditedType(app);
    std::shared_ptr<Colorizer> c = LoadColorizer(app, type);
    if (!c) {
        c = std::make_shared<Colorizer>();
        c->name = type;
        PrepareColorizer(*c);
    }
    return c;
}

// The colorization with the colours typed into CLRWORD (kept in its variables while the word lists
// are open), so a word set whose words change is written with its colours.
std::shared_ptr<Colorizer> EditedWithWordFields(AppSession& app) {
    std::shared_ptr<Colorizer> c = EditedColorizer(app);
    (void)StoreWordFields(app, *c);  // checked when the word list was opened
    return c;
}

std::uint8_t BaseColor(const AppSession& app, const EditSession& session) {
    ui::ColorPair pair = ElementColors(app, session.ReadOnly() ? ColorElement::Browse : ColorElement::Edit);
    return ColorAttribute(pair.fg, pair.bg);
}

// Open sessions whose profile names the type see its new colours at once.
void RefreshSessionsOf(AppSession& app, const std::string& type) {
    for (auto& session : app.editSessions) {
        if (session->buffer.profile.colorType == type) {
            UseColorizer(app, session->buffer, LoadColorizer(app, type), BaseColor(app, *session));
        }
    }
}

// Every session's lines coloured again, as their base colours changed.
void RecolorSessions(AppSession& app) {
    for (auto& session : app.editSessions) {
        RecolorAll(app, session->buffer, BaseColor(app, *session));
    }
}

int SaveEdited(AppSession& app, const Colorizer& c) {
    if (SaveColorizer(app, c) != 0) {
        return -1;
    }
    RefreshSessionsOf(app, c.name);
    return 0;
}

// Back to the dialog below the one now on top.
void BackTo(AppSession& app, std::string_view dialog) {
    PopContext(app);
    PostCommand(app, Format("DIALOG %s", std::string(dialog).c_str()));
}

void SetTitle(AppSession& app, const char* format) {
    VarSetValue(app, "ZCLRTITLE", Format(format, EditedType(app).c_str()));
}

// ---- CLRTYPE ------------------------------------------------------------------------------------

void ApplyClrType(AppSession& app) {
    std::string reply = DialogReply(app, "ClrType.Popup", "ClrType");
    char letter = reply.empty() ? ' ' : reply[0];
    if (letter == 'N') {
        VarSetValue(app, "ClrNew.Type", "");
        PostCommand(app, "DIALOG CLRNEW");
        return;
    }
    if (letter != 'E' && letter != 'D') {
        LeaveDialog(app);
        return;
    }
    std::string entry =
        VarGetNumber(app, "ClrType.Type.Reply.0") >= 1 ? VarGetValue(app, "ClrType.Type.Reply.1") : "";
    if (entry.empty()) {
        Box(app, "Must select color type before requesting operation.");
    } else if (IsTypeListMarker(entry)) {
        Box(app, "Not allowed to select PATH marker.");
    } else if (letter == 'E') {
        VarSetValue(app, kEditedType, entry);
        PostCommand(app, "DIALOG CLRMODE");
        return;
    } else {
        std::string path = FindAlongPath(VarGetValue(app, kColorizationPathVariable),
                                         entry + std::string(kColorizationExtension));
        if (!path.empty() && std::remove(path.c_str()) != 0) {
            Box(app, Format("Unable to delete '%s'.", path.c_str()));
        }
    }
    ShowDialogAgain(app, "CLRTYPE");
}

// ---- CLRNEW, CLRMODE ----------------------------------------------------------------------------------

void ApplyClrNew(AppSession& app) {
    std::string type = UpperCased(VarGetValue(app, "ClrNew.Type"));
    if (DialogReply(app, "", "ClrNew") == "CANCEL") {
        BackTo(app, "CLRTYPE");
        return;
    }
    if (type.empty()) {
        Box(app, "Colorization type must be specified.");
        ShowDialogAgain(app, "CLRNEW");
        return;
    }
    if (!IsColorTypeName(type)) {
        Box(app, Format("Colorization type '%s' must be 1 to 7 characters.", type.c_str()));
        ShowDialogAgain(app, "CLRNEW");
        return;
    }
    VarSetValue(app, kEditedType, type);
    PopContext(app);
    PostCommand(app, "DIALOG CLRMODE");
}

void ApplyClrMode(AppSession& app) {
    std::string reply = DialogReply(app, "", "ClrMode");
    VarSetValue(app, kWordFieldsOf, "");
    PopContext(app);
    PostCommand(app, reply.rfind("EDIT FIELD", 0) == 0 ? "DIALOG CLRFIELD" : "DIALOG CLRWORD");
}

// ---- CLRWORD, WORDS, WORDNEW ------------------------------------------------------------------------

void ApplyClrWord(AppSession& app) {
    std::string reply = DialogReply(app, "", "ClrWord");
    int set = reply.size() == 4 && reply.substr(1) == "..." ? reply[0] - '0' : 0;
    if (reply != "SAVE" && (set < 1 || set > kColorWordSetCount)) {
        LeaveDialog(app);
        return;
    }
    if (set != 0 && CheckWordSetFields(app, set) != 0) {
        ShowDialogAgain(app, "CLRWORD");
        return;
    }
    std::shared_ptr<Colorizer> c = EditedColorizer(app);
    if (StoreWordFields(app, *c) != 0 || SaveEdited(app, *c) != 0) {
        ShowDialogAgain(app, "CLRWORD");
        return;
    }
    if (set == 0) {
        VarSetValue(app, kWordFieldsOf, "");
        LeaveDialog(app);
        return;
    }
    VarSetValue(app, kWordSet, std::to_string(set));
    PostCommand(app, "DIALOG WORDS");
}

int EditedSet(AppSession& app) {
    return std::clamp(static_cast<int>(VarGetNumber(app, kWordSet)), 1, kColorWordSetCount);
}

void ApplyWords(AppSession& app) {
    std::string reply = DialogReply(app, "Words.Popup", "Words");
    char letter = reply.empty() ? ' ' : reply[0];
    if (letter == 'N') {
        VarSetValue(app, "WordNew.Word", "");
        PostCommand(app, "DIALOG WORDNEW");
        return;
    }
    if (letter != 'D') {
        BackTo(app, "CLRWORD");
        return;
    }
    if (VarGetNumber(app, "Words.List.Reply.0") < 1) {
        Box(app, "Must select entry to delete.", Beep::Information);
    } else {
        std::shared_ptr<Colorizer> c = EditedWithWordFields(app);
        if (c->words.Remove(VarGetValue(app, "Words.List.Reply.1"))) {
            PrepareColorizer(*c);
            (void)SaveEdited(app, *c);
        }
    }
    ShowDialogAgain(app, "WORDS");
}

void ApplyWordNew(AppSession& app) {
    if (DialogReply(app, "", "WordNew") != "CANCEL") {
        std::shared_ptr<Colorizer> c = EditedWithWordFields(app);
        std::string text = VarGetValue(app, "WordNew.Word");
        std::size_t added = 0;
        std::size_t p = 0;
        while ((p = text.find_first_not_of(' ', p)) != std::string::npos) {
            std::size_t end = std::min(text.find(' ', p), text.size());
            added +=
                AddColorWord(app, *c, ResolveColorEscapes(text.substr(p, end - p)), EditedSet(app) - 1) == 0;
            p = end;
        }
        if (added > 0) {
            PrepareColorizer(*c);
            (void)SaveEdited(app, *c);
        }
    }
    BackTo(app, "WORDS");
}

// ---- CLRFIELD -----------------------------------------------------------------------------------------

void ApplyClrField(AppSession& app) {
    if (DialogReply(app, "", "ClrField") != "SAVE") {
        LeaveDialog(app);
        return;
    }
    std::shared_ptr<Colorizer> c = EditedColorizer(app);
    if (StoreFieldFields(app, *c) != 0 || SaveEdited(app, *c) != 0) {
        ShowDialogAgain(app, "CLRFIELD");
        return;
    }
    LeaveDialog(app);
}

// ---- Palette and screen colours -------------------------------------------------------------------------

void ApplySettingsToScreen(AppSession& app) {
    app.profileSettings = ReadSessionSettings(app);
    if (app.screen != nullptr) {
        ui::Palette palette;
        for (int i = 0; i < kPaletteSize; ++i) {
            palette[static_cast<std::size_t>(i)] =
                ui::RgbFromColorValue(app.profileSettings.palette[static_cast<std::size_t>(i)]);
        }
        app.screen->SetPalette(palette);
    }
    RecolorSessions(app);
}

// The colour chooser over the 16 palette entries; a result with two equal colours is refused.
void ChoosePalette(AppSession& app) {
    if (app.screen == nullptr) {
        return;
    }
    PaletteValues current = CurrentPalette(app);
    ui::Palette palette;
    for (int i = 0; i < kPaletteSize; ++i) {
        palette[static_cast<std::size_t>(i)] = ui::RgbFromColorValue(current[static_cast<std::size_t>(i)]);
    }
    ui::ColorChooserResult result = ui::RunColorChooser(*app.screen, palette, 0, "Palette");
    if (!result.ok) {
        return;
    }
    PaletteValues chosen{};
    for (int i = 0; i < kPaletteSize; ++i) {
        chosen[static_cast<std::size_t>(i)] =
            ui::ColorValueFromRgb(result.palette[static_cast<std::size_t>(i)]);
    }
    if (StorePalette(app, chosen) == 0) {
        for (int i = 0; i < kPaletteSize; ++i) {
            KeepSetting(app, Format("ZCOLOR.%d", i));
        }
        ApplySettingsToScreen(app);
    }
}

constexpr struct {
    const char* field;  // Colors.<field>.FG and .BG
    const char* item;   // as the messages name it
    ColorElement element;
} kScreenColors[] = {
    {"Edit", "EDIT", ColorElement::Edit},          {"Browse", "BROWSE", ColorElement::Browse},
    {"Select", "SELECT", ColorElement::Select},    {"Find", "FIND", ColorElement::Find},
    {"Numbers", "NUMBERS", ColorElement::Numbers}, {"Lcmds", "LCMDS", ColorElement::Lcmds},
    {"Other", "OTHER", ColorElement::Other},
};

void PrepareColors(AppSession& app) {
    ProfileSessionSettings settings = ReadSessionSettings(app);
    for (const auto& row : kScreenColors) {
        const ColorPair& pair = settings.colors[static_cast<std::size_t>(row.element)];
        VarSetValue(app, Format("Colors.%s.FG", row.field), std::to_string(pair.foreground));
        VarSetValue(app, Format("Colors.%s.BG", row.field), std::to_string(pair.background));
    }
}

void ApplyColors(AppSession& app) {
    std::string reply = DialogReply(app, "", "Colors");
    if (reply.rfind("PALETTE", 0) == 0) {
        ChoosePalette(app);
    } else if (reply == "OK") {
        for (const auto& row : kScreenColors) {
            ColorIndexPair pair;
            if (CheckColorPair(app, row.item, VarGetValue(app, Format("Colors.%s.FG", row.field)),
                               VarGetValue(app, Format("Colors.%s.BG", row.field)), pair) != 0) {
                break;
            }
            std::string variable = ColorElementVariable(row.element);
            VarSetValue(app, variable, Format("%d,%d", pair.foreground, pair.background));
            KeepSetting(app, variable);
        }
        ApplySettingsToScreen(app);
    } else {
        LeaveDialog(app);
        return;
    }
    DiscardDialog(app, "COLORS");  // its samples are coloured when it is built
    ShowDialogAgain(app, "COLORS");
}

}  // namespace

void ClrTypeDialog(AppSession& app) {
    WriteDialogArray(app, "ClrType.Type",
                     ListProfileTypes(VarGetValue(app, kColorizationPathVariable), kColorizationExtension));
    VarSetValue(app, "ClrType.Type.Top", "0");
    VarSetValue(app, "ClrType.Type.Reply.0", "0");
    VarSetValue(app, "ClrType.Popup.Reply", "");
    VarSetValue(app, "ClrType.Popup.0", "2");
    VarSetValue(app, "ClrType.Popup.1", "Edit");
    VarSetValue(app, "ClrType.Popup.2", "Delete");
    RunOptionDialog(app, "CLRTYPE", [&app] { ApplyClrType(app); });
}

void ClrNewDialog(AppSession& app) {
    RunOptionDialog(app, "CLRNEW", [&app] { ApplyClrNew(app); });
}

void ClrModeDialog(AppSession& app) {
    SetTitle(app, "Colorization type: %s");
    RunOptionDialog(app, "CLRMODE", [&app] { ApplyClrMode(app); });
}

void ClrWordDialog(AppSession& app) {
    SetTitle(app, "Word Colorization for type: %s");
    if (UpperCased(VarGetValue(app, kWordFieldsOf)) != EditedType(app)) {
        LoadWordFields(app, *EditedColorizer(app));
        VarSetValue(app, kWordFieldsOf, EditedType(app));
    }
    RunOptionDialog(app, "CLRWORD", [&app] { ApplyClrWord(app); });
}

void WordsDialog(AppSession& app) {
    int set = EditedSet(app);
    VarSetValue(app, "ZCLRWORDSTITLE", Format("Word set %d of type %s", set, EditedType(app).c_str()));
    WriteDialogArray(app, "Words.List", EditedColorizer(app)->words.WordsOf(set - 1));
    VarSetValue(app, "Words.List.Reply.0", "0");
    VarSetValue(app, "Words.Popup.Reply", "");
    VarSetValue(app, "Words.Popup.0", "1");
    VarSetValue(app, "Words.Popup.1", "Delete");
    RunOptionDialog(app, "WORDS", [&app] { ApplyWords(app); });
}

void WordNewDialog(AppSession& app) {
    DialogResult result = ShowDialog(app, "WORDNEW");
    if (result == DialogResult::Committed) {
        ApplyWordNew(app);
    } else if (result == DialogResult::Closed || result == DialogResult::Failed) {
        BackTo(app, "WORDS");
    } else {
        FinishUncommittedDialog(app, result);
    }
}

void ClrFieldDialog(AppSession& app) {
    SetTitle(app, "Field Colorization for type: %s");
    LoadFieldFields(app, *EditedColorizer(app));
    RunOptionDialog(app, "CLRFIELD", [&app] { ApplyClrField(app); });
}

void ClrPaletteDialog(AppSession& app) {
    ChoosePalette(app);
    ShowContextAgain(app);
}

void ColorsDialog(AppSession& app) {
    PrepareColors(app);
    RunOptionDialog(app, "COLORS", [&app] { ApplyColors(app); });
}

}  // namespace tavoe
