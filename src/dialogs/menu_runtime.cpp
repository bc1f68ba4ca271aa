#include "dialogs/menu_runtime.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "commands/command_history.h"
#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "dialogs/dialog_cache.h"
#include "dialogs/menu_parser.h"
#include "editing/keys.h"
#include "editing/session_clipboard.h"
#include "platform/format.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/input_field.h"
#include "ui/screen.h"
#include "ui/static_text.h"

namespace tavoe {

namespace {

bool LegacyStyle(AppSession& app) {
    return VarGetValue(app, "ZMENUSTYLE") == "Legacy Tavo";
}

ui::Rect ToRect(const CellRect& cell) {
    return ui::Rect{cell.row, cell.col, std::max(cell.rows, 1), std::max(cell.cols, 1)};
}

// How the menu was left: the reply text, the option button that was clicked (-1 for none), or the
// command of a function or control key that takes the user elsewhere.
struct MenuOutcome {
    std::string reply;
    int clicked = -1;
    std::string keyCommand;
};

// One showing of a menu as a form: the label, the option field, the separator, one button, verb and
// annotation per option.
class MenuRun {
public:
    MenuRun(AppSession& app, const MenuDefinition& def, ui::Screen& screen)
        : app_(app), def_(def), screen_(screen), form_(def.title, def.clientRows, def.clientCols) {}

    MenuOutcome Run();

private:
    ui::Handled FilterKey(const ui::KeyEvent& key);
    void EnterField();
    void Finish() { form_.End(0); }

    AppSession& app_;
    const MenuDefinition& def_;
    ui::Screen& screen_;
    ui::Form form_;
    ui::InputField* field_ = nullptr;
    std::vector<ui::Button*> buttons_;
    MenuOutcome outcome_;
};

MenuOutcome MenuRun::Run() {
    form_.cancelKeys = ui::CancelKeys::None;
    form_.Add<ui::StaticText>(ToRect(def_.labelCell), def_.labelText, ui::TextPrefix::Literal);
    field_ = &form_.Add<ui::InputField>(ToRect(def_.fieldCell));
    field_->hscroll = ui::HScroll::Auto;
    ConnectFieldClipboard(app_, *field_);
    form_.Add<ui::Separator>(ToRect(def_.separatorCell));
    for (size_t i = 0; i < def_.items.size(); ++i) {
        const MenuItem& item = def_.items[i];
        auto& button = form_.Add<ui::Button>(ToRect(item.buttonCell), item.option, ui::TextPrefix::Literal);
        int index = static_cast<int>(i);
        button.onPush = [this, index](ui::Button&) {
            outcome_.reply = def_.items[index].option;
            outcome_.clicked = index;
            Finish();
        };
        buttons_.push_back(&button);
    }
    for (const MenuItem& item : def_.items) {
        form_.Add<ui::StaticText>(ToRect(item.verbCell), item.verb, ui::TextPrefix::Literal);
        form_.Add<ui::StaticText>(ToRect(item.annotationCell), "  " + item.annotation,
                                  ui::TextPrefix::Literal);
    }
    form_.keyFilter = [this](const ui::KeyEvent& key) { return FilterKey(key); };
    form_.SetFocus(field_, ui::FocusReason::Initial);
    screen_.RunModal(form_);
    return outcome_;
}

// Enter in the option field: the text without leading blanks and ";" is the reply, kept in the
// command history; an empty field leaves the menu up.
void MenuRun::EnterField() {
    const std::string& text = field_->Text();
    size_t start = text.find_first_not_of(" ;");
    if (start == std::string::npos) {
        return;
    }
    outcome_.reply = text.substr(start);
    HistoryAdd(app_, outcome_.reply);
    Finish();
}

ui::Handled MenuRun::FilterKey(const ui::KeyEvent& key) {
    using ui::Key;
    if (form_.Ended()) {
        return ui::Handled::Yes;
    }
    bool inField = form_.Focused() == field_;
    if (!inField) {
        if (key.Is(Key::Home)) {
            form_.SetFocus(field_, ui::FocusReason::Keyboard);
            return ui::Handled::Yes;
        }
        return ui::Handled::No;
    }
    if (key.Is(Key::Enter) || (key.key == Key::RightCtrl && app_.rightCtrlIsEnter)) {
        EnterField();
        return ui::Handled::Yes;
    }
    if (key.Is(Key::Down) || key.Is(Key::Up)) {
        if (!buttons_.empty()) {
            form_.SetFocus(key.Is(Key::Down) ? buttons_.front() : buttons_.back(), ui::FocusReason::Keyboard);
        }
        return ui::Handled::Yes;
    }
    if (key.Is(Key::Tab)) {
        return ui::Handled::Yes;
    }
    KeyContext context;
    context.field = KeyField::Menu;
    int number = ui::FunctionKeyNumber(key);
    KeyOutcome mapped;
    if (number > 0) {
        mapped = RunFunctionKey(app_, context, number);
    } else if (key.key == Key::Char && key.mods == ui::kModCtrl && std::isalpha(key.ch)) {
        const char letter = static_cast<char>(std::toupper(key.ch));
        if ((letter == 'C' || letter == 'V' || letter == 'X') && !ClipboardKeysMapped(app_)) {
            return ui::Handled::No;  // the option field's own copy, cut and paste
        }
        mapped = ControlKeyCommand(app_, context, letter);
    } else {
        return ui::Handled::No;
    }
    if (mapped.action == KeyAction::RunCommand && !mapped.command.empty()) {
        outcome_.reply = "*";
        outcome_.keyCommand = mapped.command;
        Finish();
    }
    return ui::Handled::Yes;
}

}  // namespace

MenuDefinition* PrepareMenu(AppSession& app, std::string_view name) {
    DialogCache& cache = SessionDialogCache(app);
    bool legacy = LegacyStyle(app);
    auto found = std::find_if(cache.menus.begin(), cache.menus.end(),
                              [name](const std::unique_ptr<MenuDefinition>& m) { return m->name == name; });
    if (found != cache.menus.end()) {
        if (VarGetValue(app, "ZCACHE.MENUS") == "TRUE" && !legacy) {
            return found->get();
        }
        cache.menus.erase(found);
    }
    std::unique_ptr<MenuDefinition> def = ReadMenu(app, name);
    if (!def) {
        return nullptr;
    }
    DialogScreen where;
    if (app.screen != nullptr) {
        where.rows = app.screen->GetCanvas().Rows();
        where.cols = app.screen->GetCanvas().Cols();
    }
    LayoutMenu(*def, legacy ? WindowFill::SessionWindow : WindowFill::Natural, where);
    cache.menus.push_back(std::move(def));
    return cache.menus.back().get();
}

void ShowMenu(AppSession& app, std::string_view name) {
    MenuDefinition* def = PrepareMenu(app, name);
    if (def == nullptr) {
        return;
    }
    if (!TopContextIs(app, ContextKind::Menu, def->name)) {
        PushContext(app, ContextKind::Menu, def->name);
    }
    if (app.screen == nullptr) {
        ShowMessage(app, Format("DialogBoxIndirect failed for menu %s", def->name.c_str()), MsgTo::Box,
                    Beep::Error);
        Shell(app).ShowTopContext(app);
        return;
    }
    DialogCache& cache = SessionDialogCache(app);
    cache.activeMenu = def->name;
    MenuOutcome outcome = MenuRun(app, *def, *app.screen).Run();
    cache.activeMenu.clear();
    if (!outcome.keyCommand.empty()) {
        PostCommand(app, outcome.keyCommand);
        return;
    }
    if (outcome.clicked >= 0) {
        // A click names its own option, so it runs that option's command even where a typed
        // first character would reach an earlier option ("2" before "2A").
        PostCommand(app, def->items[outcome.clicked].command);
        return;
    }
    ActOnMenuReply(app, *def, outcome.reply);
}

void ActOnMenuReply(AppSession& app, const MenuDefinition& def, const std::string& reply) {
    if (reply.empty()) {
        Shell(app).ShowTopContext(app);
        return;
    }
    if (reply.size() == 1) {
        char option = static_cast<char>(std::toupper(static_cast<unsigned char>(reply[0])));
        if (option == ' ') {
            PostCommand(app, Format("MENU %s", def.name.c_str()));
            return;
        }
        if (option == '*') {
            return;
        }
        for (const MenuItem& item : def.items) {
            if (!item.option.empty() && item.option[0] == option) {
                PostCommand(app, item.command);
                return;
            }
        }
        ShowMessage(app, Format("'%s' is not a valid option in this menu.", std::string(1, option).c_str()),
                    MsgTo::Box, Beep::Information);
        PostCommand(app, Format("MENU %s", def.name.c_str()));
        return;
    }
    if (reply[1] == '.') {
        PostCommand(app, "=" + reply);
        return;
    }
    PostCommand(app, reply);
}

}  // namespace tavoe
