#include "dialogs/dialog_runtime.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_cache.h"
#include "dialogs/dialog_vars.h"
#include "editing/session_clipboard.h"
#include "platform/format.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/form.h"
#include "ui/input_field.h"
#include "ui/list_box.h"
#include "ui/popup_menu.h"
#include "ui/screen.h"
#include "ui/static_text.h"

namespace tavoe {

namespace {

constexpr size_t kCaptionMax = 255;
constexpr int kPopupEntriesMax = 16;

using Type = DialogObjectType;

bool IsType(const DialogObject& obj, Type type) {
    return obj.type == type;
}

ui::Rect ToRect(const CellRect& cell) {
    return ui::Rect{cell.row, cell.col, std::max(cell.rows, 1), std::max(cell.cols, 1)};
}

// Shows "&" literally in a control that reads "&" as an access-key mark.
std::string DoubleAmpersands(std::string_view text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '&') {
            out += '&';
        }
    }
    return out;
}

std::string LeadingBlanksRemoved(const std::string& text) {
    size_t start = text.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : text.substr(start);
}

// One showing of a dialog: the form and the controls built from the definition, the loading of the
// controls from their variables and the storing back on commit. Owned by the definition while the
// dialog is shown.
class DialogRun : public DialogWindow {
public:
    DialogRun(AppSession& app, DialogDefinition& def, ui::Screen& screen)
        : app_(app), def_(def), screen_(screen), form_(ResolveDialogTitle(app, def), 0, 0) {}

    void Build();
    void Load();
    void Run() { screen_.RunModal(form_); }

private:
    const DialogObject& Obj(int index) const { return def_.objects[index]; }
    int IndexOf(const ui::Widget* widget) const;
    void FocusObject(int index, ui::FocusReason reason);

    void LoadList(const DialogObject& obj, ui::ListBox& list);
    void FillCombo(const DialogObject& obj, ui::ComboBox& combo);
    void ButtonClicked(int index);
    void ListRightClick(int index, int row, int col);
    void Commit();
    void Close();
    void StoreObject(int index, bool& buttonRecorded);

    ui::Handled FilterKey(const ui::KeyEvent& key);
    ui::Handled AfterKey(const ui::KeyEvent& key);

    AppSession& app_;
    DialogDefinition& def_;
    ui::Screen& screen_;
    ui::Form form_;
    std::vector<ui::Widget*> widgets_;   // the control of each object, by object index
    std::vector<std::string> captions_;  // button captions as shown, by object index
};

int DialogRun::IndexOf(const ui::Widget* widget) const {
    for (size_t i = 0; i < widgets_.size(); ++i) {
        if (widgets_[i] == widget && widget != nullptr) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void DialogRun::FocusObject(int index, ui::FocusReason reason) {
    if (index < 0 || widgets_[index] == nullptr || !widgets_[index]->Focusable()) {
        return;
    }
    form_.SetFocus(widgets_[index], reason);
    def_.focusObject = index;
}

void DialogRun::Build() {
    form_.SetClientSize(def_.tmpl.clientRows, def_.tmpl.clientCols);
    form_.cancelKeys = ui::CancelKeys::None;
    form_.keyFilter = [this](const ui::KeyEvent& key) { return FilterKey(key); };
    form_.unhandledKey = [this](const ui::KeyEvent& key) { return AfterKey(key); };
    widgets_.assign(def_.objects.size(), nullptr);
    captions_.assign(def_.objects.size(), std::string());
    for (size_t i = 0; i < def_.objects.size(); ++i) {
        const DialogObject& obj = def_.objects[i];
        ui::Rect rect = ToRect(obj.cell);
        int index = static_cast<int>(i);
        ui::Widget* widget = nullptr;
        switch (obj.type) {
            case Type::Static:
            case Type::Output: {
                auto& text = form_.Add<ui::StaticText>(rect, obj.text.value_or(""));
                if (obj.colored) {
                    text.color = ui::ColorPair{static_cast<uint8_t>(obj.foreground),
                                               static_cast<uint8_t>(obj.background)};
                }
                widget = &text;
                break;
            }
            case Type::Separator:
                widget = &form_.Add<ui::Separator>(rect);
                break;
            case Type::Input: {
                auto& field = form_.Add<ui::InputField>(rect);
                field.maxLength = static_cast<int>(kCaptionMax);
                field.caseForce = obj.upcase    ? ui::CaseForce::Upper
                                  : obj.lowcase ? ui::CaseForce::Lower
                                                : ui::CaseForce::None;
                field.echo = obj.password ? ui::EchoMode::Password : ui::EchoMode::Normal;
                field.hscroll = obj.hscroll ? ui::HScroll::Auto : ui::HScroll::Off;
                field.align = obj.hAlign == DialogHAlign::Center  ? ui::Align::Center
                              : obj.hAlign == DialogHAlign::Right ? ui::Align::Right
                                                                  : ui::Align::Left;
                // A password is never put on the clipboard.
                ConnectFieldClipboard(app_, field, obj.password ? FieldCopy::Refused : FieldCopy::Allowed);
                widget = &field;
                break;
            }
            case Type::List: {
                auto& list = form_.Add<ui::ListBox>(rect);
                list.selectMode = obj.multiselect ? ui::SelectMode::Extended : ui::SelectMode::Single;
                list.sorted = obj.sort;
                if (obj.multicolumnOn) {
                    // The column widths are the first number of COLWIDTH, in characters.
                    int width = std::atoi(obj.columnWidths.value_or("").c_str());
                    list.columnWidth = width > 0 ? width : std::max(rect.cols / 3, 1);
                } else {
                    list.scrollBar = obj.vscroll;
                }
                list.onDoubleClick = [this, index](ui::ListBox&, int) {
                    if (Obj(index).commit) {
                        Commit();
                    }
                };
                if (obj.popup) {
                    list.onRightClick = [this, index](ui::ListBox&, int row, int col) {
                        ListRightClick(index, row, col);
                    };
                }
                widget = &list;
                break;
            }
            case Type::Combo: {
                auto& combo = form_.Add<ui::ComboBox>(
                    rect, obj.modifiable ? ui::ComboKind::Editable : ui::ComboKind::Fixed);
                combo.dropRows = std::max(obj.dropRows, 1);
                combo.Edit().caseForce = obj.upcase    ? ui::CaseForce::Upper
                                         : obj.lowcase ? ui::CaseForce::Lower
                                                       : ui::CaseForce::None;
                combo.Edit().hscroll = obj.hscroll ? ui::HScroll::Auto : ui::HScroll::Off;
                combo.Edit().maxLength = static_cast<int>(kCaptionMax);
                combo.onSelectionChange = [this, index](ui::ComboBox&) {
                    if (Obj(index).commit) {
                        Commit();
                    }
                };
                widget = &combo;
                break;
            }
            case Type::Button: {
                auto& button = form_.Add<ui::Button>(rect, std::string());
                button.isDefault = obj.isDefault;
                button.onPush = [this, index](ui::Button&) { ButtonClicked(index); };
                widget = &button;
                break;
            }
            case Type::Checkbox: {
                // The box is drawn "[X] " before the label: one cell more than the grid width of a
                // label and its box.
                rect.cols += 1;
                auto& box = form_.Add<ui::CheckBox>(rect, obj.text.value_or(""));
                box.side = obj.textSide == DialogTextSide::Left ? ui::TextSide::Left : ui::TextSide::Right;
                box.onToggle = [this, index](ui::CheckBox&) {
                    if (Obj(index).commit) {
                        Commit();
                    }
                };
                widget = &box;
                break;
            }
            case Type::None:
                break;
        }
        if (widget != nullptr) {
            widget->id = obj.controlId;
        }
        widgets_[i] = widget;
    }
}

void DialogRun::LoadList(const DialogObject& obj, ui::ListBox& list) {
    const std::string& var = *obj.variable;
    list.SetItems(ReadDialogArray(app_, var));
    long top = VarGetNumber(app_, DialogVar(var, "Top"));
    list.SetTop(static_cast<int>(top));
    list.SetCaret(static_cast<int>(top));
    // A single-choice list may come with its choice made, as a combo does (VAR.Select, from 1).
    long select = VarGetNumber(app_, DialogVar(var, "Select"));
    if (!obj.multiselect && select > 0 && select <= list.Count()) {
        list.SetCaret(static_cast<int>(select - 1));
        list.Select(static_cast<int>(select - 1));
    }
}

void DialogRun::FillCombo(const DialogObject& obj, ui::ComboBox& combo) {
    const std::string& var = *obj.variable;
    combo.SetItems(ReadDialogArray(app_, var));
    long select = VarGetNumber(app_, DialogVar(var, "Select"));
    if (select > 0) {
        combo.SetSelected(static_cast<int>(select - 1));
    }
}

void DialogRun::Load() {
    int focus = -1;
    for (size_t i = 0; i < def_.objects.size(); ++i) {
        if (def_.objects[i].focus && widgets_[i] != nullptr) {
            focus = static_cast<int>(i);
        }
    }
    for (size_t i = 0; i < def_.objects.size(); ++i) {
        const DialogObject& obj = def_.objects[i];
        ui::Widget* widget = widgets_[i];
        if (widget == nullptr) {
            continue;
        }
        bool canTakeFocus = false;
        switch (obj.type) {
            case Type::Output:
                static_cast<ui::StaticText*>(widget)->text =
                    DoubleAmpersands(VarGetValue(app_, obj.variable.value_or("")));
                break;
            case Type::Input:
                static_cast<ui::InputField*>(widget)->SetText(VarGetValue(app_, *obj.variable));
                canTakeFocus = true;
                break;
            case Type::List:
                LoadList(obj, *static_cast<ui::ListBox*>(widget));
                canTakeFocus = true;
                break;
            case Type::Combo:
                FillCombo(obj, *static_cast<ui::ComboBox*>(widget));
                canTakeFocus = obj.modifiable;
                break;
            case Type::Button:
                captions_[i] = ResolveButtonCaption(app_, def_, obj);
                static_cast<ui::Button*>(widget)->caption = captions_[i];
                VarSetValue(app_, DialogVar(def_.name, "BtnPushed"), "");
                canTakeFocus = true;
                break;
            case Type::Checkbox:
                static_cast<ui::CheckBox*>(widget)->checked = VarGetValue(app_, *obj.variable) == "TRUE";
                canTakeFocus = true;
                break;
            default:
                break;
        }
        if (focus < 0 && canTakeFocus) {
            focus = static_cast<int>(i);
        }
    }
    if (focus < 0) {
        for (size_t i = 0; i < def_.objects.size(); ++i) {
            if (widgets_[i] != nullptr && widgets_[i]->Focusable()) {
                focus = static_cast<int>(i);
                break;
            }
        }
    }
    def_.focusObject = -1;
    FocusObject(focus, ui::FocusReason::Initial);
}

// A cancel button, or one captioned exactly "Cancel", acts as F3; every other button commits.
void DialogRun::ButtonClicked(int index) {
    const DialogObject& obj = Obj(index);
    if (obj.cancel || obj.text.value_or("") == "Cancel") {
        Close();
        return;
    }
    def_.focusObject = index;
    Commit();
}

void DialogRun::ListRightClick(int index, int row, int col) {
    const std::string& popup = *Obj(index).popup;
    long count = std::min<long>(VarGetNumber(app_, DialogVar(popup, "0")), kPopupEntriesMax);
    if (count < 1) {
        return;
    }
    std::vector<ui::MenuEntry> entries;
    for (long i = 1; i <= count; ++i) {
        std::string caption = ReadDialogVar(app_, DialogVar(popup, std::to_string(i)));
        ui::MenuEntry entry;
        entry.text = caption;
        entry.kind = caption == "---" ? ui::MenuEntryKind::Separator : ui::MenuEntryKind::Item;
        entries.push_back(std::move(entry));
    }
    int chosen = ui::RunPopupMenu(screen_, entries, row, col);
    if (chosen < 0 || entries[chosen].kind == ui::MenuEntryKind::Separator) {
        return;
    }
    VarSetValue(app_, DialogVar(popup, "Reply"), entries[chosen].text);
    FocusObject(index, ui::FocusReason::Program);
    Commit();
}

void DialogRun::StoreObject(int index, bool& buttonRecorded) {
    const DialogObject& obj = Obj(index);
    ui::Widget* widget = widgets_[index];
    if (widget == nullptr) {
        return;
    }
    switch (obj.type) {
        case Type::Input:
            VarSetValue(app_, *obj.variable, static_cast<ui::InputField*>(widget)->Text());
            break;
        case Type::List: {
            auto* list = static_cast<ui::ListBox*>(widget);
            std::vector<int> selected = list->SelectedIndexes();
            if (!obj.multiselect && selected.size() > 1) {
                selected.erase(selected.begin() + 1, selected.end());
            }
            for (size_t k = 0; k < selected.size(); ++k) {
                VarSetValue(app_, DialogVar(*obj.variable, Format("Reply.%d", static_cast<int>(k + 1))),
                            list->Item(selected[k]));
            }
            VarSetNumber(app_, DialogVar(*obj.variable, "Reply.0"), static_cast<long>(selected.size()));
            break;
        }
        case Type::Combo: {
            auto* combo = static_cast<ui::ComboBox*>(widget);
            if (!obj.modifiable) {
                if (combo->Selected() >= 0) {
                    VarSetNumber(app_, DialogVar(*obj.variable, "Select"), combo->Selected() + 1);
                }
                break;
            }
            std::string value = combo->Selected() >= 0 ? combo->Items()[combo->Selected()]
                                                       : LeadingBlanksRemoved(combo->Text());
            if (value.empty()) {
                break;
            }
            VarPushValue(app_, *obj.variable, value);
            VarSetValue(app_, DialogVar(*obj.variable, "SELECT"), "1");
            FillCombo(obj, *combo);
            break;
        }
        case Type::Button:
            if (!buttonRecorded && obj.isDefault) {
                VarSetValue(app_, DialogVar(def_.name, "BtnPushed"), captions_[index].substr(0, kCaptionMax));
                buttonRecorded = true;
            }
            break;
        case Type::Checkbox:
            VarSetValue(app_, *obj.variable, static_cast<ui::CheckBox*>(widget)->checked ? "TRUE" : "FALSE");
            break;
        default:
            break;
    }
}

// Stores every field and ends the dialog with result 0 (1 when the committing button is "Help").
void DialogRun::Commit() {
    if (form_.Ended()) {
        return;
    }
    int focus = IndexOf(form_.Focused());
    if (focus >= 0) {
        def_.focusObject = focus;
    }
    bool buttonRecorded = false;
    if (def_.focusObject >= 0 && IsType(Obj(def_.focusObject), Type::Button)) {
        const std::string& caption = captions_[def_.focusObject];
        VarSetValue(app_, DialogVar(def_.name, "BtnPushed"), caption.substr(0, kCaptionMax));
        buttonRecorded = true;
        if (caption == "Help") {
            def_.helpFlag = true;
        }
    }
    for (size_t i = 0; i < def_.objects.size(); ++i) {
        StoreObject(static_cast<int>(i), buttonRecorded);
    }
    if (!buttonRecorded) {
        VarSetValue(app_, DialogVar(def_.name, "BtnPushed"), "");
    }
    form_.End(0);
}

void DialogRun::Close() {
    def_.closedFlag = true;
    form_.End(ui::Form::kCancelled);
}

// The keys every control of a dialog shares, seen before the focused control.
ui::Handled DialogRun::FilterKey(const ui::KeyEvent& key) {
    using ui::Key;
    if (form_.Ended()) {
        return ui::Handled::Yes;
    }
    switch (key.key) {
        case Key::RightCtrl:
            if (!app_.rightCtrlIsEnter) {
                return ui::Handled::No;
            }
            Commit();
            return ui::Handled::Yes;
        case Key::Home:
            for (size_t i = 0; i < def_.objects.size(); ++i) {
                Type type = def_.objects[i].type;
                if (type != Type::Static && type != Type::Output && type != Type::Separator) {
                    FocusObject(static_cast<int>(i), ui::FocusReason::Keyboard);
                    break;
                }
            }
            return ui::Handled::Yes;
        case Key::F1:
            def_.helpFlag = true;
            form_.End(ui::Form::kCancelled);
            return ui::Handled::Yes;
        case Key::F2:
            PostCommand(app_, "SPLITH");
            return ui::Handled::Yes;
        case Key::F3:
            Close();
            return ui::Handled::Yes;
        case Key::F4:
            def_.returnFlag = true;
            Close();
            return ui::Handled::Yes;
        case Key::F9:
            PostCommand(app_, "SWAP");
            return ui::Handled::Yes;
        case Key::F5:
        case Key::F6:
        case Key::F7:
        case Key::F8:
        case Key::F10:
        case Key::F11:
        case Key::F12: {
            int number = static_cast<int>(key.key) - static_cast<int>(Key::F1) + 1;
            ShowMessage(app_, Format("F%d has no meaning in dialog.", number), MsgTo::Box, Beep::None);
            return ui::Handled::Yes;
        }
        case Key::Escape:
            // Escape is the dialog's Cancel, as F3 is.
            Close();
            return ui::Handled::Yes;
        default:
            break;
    }
    int focus = IndexOf(form_.Focused());
    if (focus >= 0 && IsType(Obj(focus), Type::List)) {
        auto* list = static_cast<ui::ListBox*>(widgets_[focus]);
        if (key.IsChar() && key.ch == ' ') {
            list->ClearSelection();
            return ui::Handled::Yes;
        }
        if (key.IsChar() && Obj(focus).popup && std::isalnum(key.ch)) {
            std::string reply(1, static_cast<char>(std::toupper(key.ch)));
            VarSetValue(app_, DialogVar(*Obj(focus).popup, "Reply"), reply);
            Commit();
            return ui::Handled::Yes;
        }
    }
    return ui::Handled::No;
}

// Enter that no control took: the focused button is pushed, else the default button, else the
// dialog is committed as it stands.
ui::Handled DialogRun::AfterKey(const ui::KeyEvent& key) {
    if (!key.Is(ui::Key::Enter)) {
        return ui::Handled::No;
    }
    int focus = IndexOf(form_.Focused());
    if (focus >= 0 && IsType(Obj(focus), Type::Button)) {
        ButtonClicked(focus);
        return ui::Handled::Yes;
    }
    for (size_t i = 0; i < def_.objects.size(); ++i) {
        const DialogObject& obj = def_.objects[i];
        if (IsType(obj, Type::Button) && obj.isDefault) {
            if (obj.cancel || obj.text.value_or("") == "Cancel") {
                Close();
            } else {
                Commit();
            }
            return ui::Handled::Yes;
        }
    }
    Commit();
    return ui::Handled::Yes;
}

// F4 in a dialog unwinds the dialogs and menus stacked above the file list or edit session they were
// opened from, and shows that again. The session itself stays: the function keys of a dialog act on
// dialogs only, so the RETURN command (which ends every session) is not run.
void ReturnFromDialogs(AppSession& app) {
    for (ContextKind kind = TopContextKind(app);
         kind == ContextKind::Dialog || kind == ContextKind::Menu || kind == ContextKind::Dummy;
         kind = TopContextKind(app)) {
        PopContext(app);
    }
    ShowContextAgain(app);
}

bool IsPropertySheetDialog(std::string_view name) {
    return name == "PROPSHEET" || name == "PSBOOL" || name == "PSCHOICE" || name == "PSNUMBER" ||
           name == "PSSTRING";
}

}  // namespace

std::string DialogVar(std::string_view base, std::string_view suffix) {
    std::string name(base);
    name += '.';
    name += suffix;
    return name;
}

DialogResult ShowDialog(AppSession& app, std::string_view name) {
    DialogScreen where;
    if (app.screen != nullptr) {
        where.rows = app.screen->GetCanvas().Rows();
        where.cols = app.screen->GetCanvas().Cols();
    }
    DialogDefinition* def = PrepareDialog(app, name, where);
    if (def == nullptr) {
        return DialogResult::Failed;
    }
    if (!TopContextIs(app, ContextKind::Dialog, def->name)) {
        PushContext(app, ContextKind::Dialog, def->name);
    }
    def->helpFlag = false;
    def->returnFlag = false;
    def->closedFlag = false;
    if (app.screen == nullptr) {
        ShowMessage(app, Format("DialogBoxIndirect failed for dialog %s", def->name.c_str()), MsgTo::Box,
                    Beep::Error);
        FreeDialog(app, def);
        return DialogResult::Failed;
    }
    auto run = std::make_unique<DialogRun>(app, *def, *app.screen);
    DialogRun* running = run.get();
    def->window = std::move(run);
    running->Build();
    running->Load();
    running->Run();
    def->window.reset();

    if (def->helpFlag) {
        return DialogResult::Help;
    }
    if (!def->returnFlag) {
        return def->closedFlag ? DialogResult::Closed : DialogResult::Committed;
    }
    if (IsPropertySheetDialog(def->name)) {
        ShowMessage(app, "Apply RETURN again after this dialog terminates.", MsgTo::Box, Beep::Exclamation);
    } else {
        ReturnFromDialogs(app);
    }
    return DialogResult::Return;
}

std::optional<std::string> DialogReplyText(DialogResult result) {
    switch (result) {
        case DialogResult::Committed:
            return "OK";
        case DialogResult::Help:
            return "HELP";
        case DialogResult::Closed:
            return "CANCEL";
        case DialogResult::Failed:
            return "ERROR";
        case DialogResult::Return:
            break;
    }
    return std::nullopt;
}

std::optional<std::string> ShowDialogForMacro(AppSession& app, std::string_view name) {
    DialogResult result = ShowDialog(app, name);
    // A dialog that could not be read pushed no frame, and the frame below belongs to someone else.
    std::string upper(name);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (TopContextIs(app, ContextKind::Dialog, upper)) {
        PopContext(app);
    }
    return DialogReplyText(result);
}

}  // namespace tavoe
