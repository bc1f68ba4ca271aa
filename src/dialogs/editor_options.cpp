// The editor options (EDOPTGEN): every editor setting of the main profile as a row of a property
// sheet, with its type, choices or range. Changed rows are stored back and applied to the session.
#include <array>

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "dialogs/dialog_table.h"
#include "dialogs/dialog_vars.h"
#include "dialogs/property_sheet.h"
#include "platform/format.h"
#include "profiles/main_profile_settings.h"

namespace tavoe {

namespace {

struct EditorOption {
    std::string_view property;
    std::string_view variable;
    std::string_view type;  // BOOL, NUMBER,min,max, CHOICE,..., or LIST (a variable array as a STRING)
};

constexpr std::string_view kScrollModes = "CHOICE,PAGE,HALF,CURSOR,DATA,MAX";
constexpr std::string_view kCursorWidths = "CHOICE,Narrow,Medium,Wide";
constexpr int kPopupListMax = 16;

constexpr std::array<EditorOption, 30> kEditorOptions{{
    {"LineCmdFieldWidthEdit", "ZLCMDCOLS.EDIT", "NUMBER,0,9"},
    {"LineCmdFieldWidthBrowse", "ZLCMDCOLS.BROWSE", "NUMBER,0,9"},
    {"PFKeyLegends", "ZPFSHOW.STYLE", "CHOICE,Numbers,Labels,MapVal"},
    {"ShowPFKeys", "ZPFSHOW", "BOOL"},
    {"ShowF1toF12", "ZPFSHOW.BASE", "BOOL"},
    {"ShowShiftF1toF12", "ZPFSHOW.SHIFT", "BOOL"},
    {"ShowCtrlF1toF12", "ZPFSHOW.CTRL", "BOOL"},
    {"ShowAltF1toF12", "ZPFSHOW.ALT", "BOOL"},
    {"ShowToolbar", "ZTOOLBAR", "BOOL"},
    {"ShowHorizontalScrollBar", "ZSCROLL.HORIZ.BAR", "BOOL"},
    {"ShowVerticalScrollBar", "ZSCROLL.VERT.BAR", "BOOL"},
    {"NewEdits", "ZNEWEDITS", "CHOICE,StackInCurrentSession,CreateNewSession"},
    {"ScrollModeVertical", "ZSCROLL.VERT", kScrollModes},
    {"ScrollModeHorizontal", "ZSCROLL.HORIZ", kScrollModes},
    {"ScrollHWhenCursorAtEdge", "ZCURSOR.HSCROLL", "BOOL"},
    {"ScrollVWhenEnterAtBottom", "ZENTERSCROLL", "BOOL"},
    {"ScrollSpeedExtendedSelect", "ZSCROLLSPEED", "NUMBER,1,9"},
    {"CursorWidthInsert", "ZCURSORWIDTH.INSERT", kCursorWidths},
    {"CursorWidthOvertype", "ZCURSORWIDTH.OVERTYPE", kCursorWidths},
    {"DefaultColShiftAmount", "ZSHIFT", "NUMBER,1,9"},
    {"LinePosAfterFind", "ZLINEPOSAFTERFIND", "NUMBER,1,2"},
    {"LegacyDataShiftInChange", "ZDATASHIFTINCHANGE", "BOOL"},
    {"PromptForSaveOnExit", "ZPROMPTONEXIT", "BOOL"},
    {"ShowLineNumbers", "ZSHOWLINENUM", "BOOL"},
    {"DblClickToMacro", "ZDBLCLICKMACRO", "BOOL"},
    {"UndoEnable", "ZUNDO", "BOOL"},
    {"EditWriteLock", "ZEDITWRITELOCK", "BOOL"},
    {"EditVirtualLoad", "ZEDITVIRTUALLOAD", "BOOL"},
    {"PopupMenuPrimaryCommands", "ZEDIT.POP.PCMD", "LIST"},
    {"PopupMenuLineCommands", "ZEDIT.POP.LCMD", "LIST"},
}};

// A variable array NAME.1 .. as one text, the entries separated by commas.
std::string JoinArray(AppSession& app, std::string_view name) {
    std::string joined;
    for (int i = 1; i <= kPopupListMax; ++i) {
        std::string entry = ReadDialogVar(app, Format("%s.%d", std::string(name).c_str(), i));
        if (entry.empty()) {
            break;
        }
        joined += (joined.empty() ? "" : ",") + entry;
    }
    return joined;
}

void SplitIntoArray(AppSession& app, std::string_view name, std::string_view text) {
    std::vector<std::string> entries;
    while (!text.empty() && static_cast<int>(entries.size()) < kPopupListMax) {
        size_t comma = text.find(',');
        std::string entry(text.substr(0, comma));
        size_t first = entry.find_first_not_of(' ');
        size_t last = entry.find_last_not_of(' ');
        if (first != std::string::npos) {
            entries.push_back(entry.substr(first, last - first + 1));
        }
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    for (int i = 1; i <= kPopupListMax; ++i) {
        std::string var = Format("%s.%d", std::string(name).c_str(), i);
        VarSetValue(app, var, i <= static_cast<int>(entries.size()) ? entries[i - 1] : std::string());
        VarSetPersist(app, var, 1);
    }
}

// The current value of a row in the form its type accepts.
std::string CurrentValue(AppSession& app, const EditorOption& option) {
    if (option.type == "LIST") {
        return JoinArray(app, option.variable).substr(0, kPropertyValueMax);
    }
    std::string value = VarGetValue(app, option.variable);
    if (option.type == "BOOL") {
        return value == "TRUE" ? "TRUE" : "FALSE";
    }
    return value;
}

}  // namespace

void EdOptGenDialog(AppSession& app) {
    std::unique_ptr<PropertySheet> sheet =
        PropertySheetCreate("Editor Options", "help_gpcmd.txt", "EDOPTGEN");
    for (const EditorOption& option : kEditorOptions) {
        std::string_view type = option.type == "LIST" ? std::string_view("STRING") : option.type;
        (void)PropertyAdd(app, *sheet, option.property, type, CurrentValue(app, option));
    }
    PropertySheetRun(app, *sheet);

    std::string changed = PropertyChangedList(*sheet);
    size_t pos = 0;
    while (pos < changed.size()) {
        size_t blank = changed.find(' ', pos);
        int position = std::atoi(changed.substr(pos, blank - pos).c_str());
        pos = blank == std::string::npos ? changed.size() : blank + 1;
        std::string pair = PropertyGet(*sheet, position);
        size_t equals = pair.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        std::string property = pair.substr(0, equals);
        std::string value = pair.substr(equals + 1);
        for (const EditorOption& option : kEditorOptions) {
            if (option.property != property) {
                continue;
            }
            if (option.type == "LIST") {
                SplitIntoArray(app, option.variable, value);
            } else {
                VarSetValue(app, option.variable, value);
                VarSetPersist(app, option.variable, 1);
            }
        }
    }
    PropertySheetFree(std::move(sheet));
    app.profileSettings = ReadSessionSettings(app);
    if (TopContextIs(app, ContextKind::Dialog, "PROPSHEET")) {
        Shell(app).ShowTopContext(app);
    } else {
        ShowContextAgain(app);
    }
}

}  // namespace tavoe
