// Shows every widget of the window system in one form, for the end-to-end and terminal tests.
//
//   widget_demo [--batch] [--size COLSxROWS] [--ibmpc]
//
// With --batch the form runs on the headless backend and reads a script from standard input; the
// script reads and sets the form's values with !var and !set (names Demo.Name, Demo.Password,
// Demo.Code, Demo.Backup, Demo.Verbose, Demo.Type, Demo.History, Demo.List, Demo.Multi, Demo.Popup,
// Demo.Reply, Demo.File, Demo.Color, Demo.Progress, Demo.Status). Without it the form runs in the
// terminal. When the form ends the program prints "result: OK" or "result: CANCELLED" and the
// values, after the terminal has been restored.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "ui/button.h"
#include "ui/canvas.h"
#include "ui/check_box.h"
#include "ui/color_chooser.h"
#include "ui/combo_box.h"
#include "ui/file_chooser.h"
#include "ui/form.h"
#include "ui/headless/headless_backend.h"
#include "ui/input_field.h"
#include "ui/list_box.h"
#include "ui/message_box.h"
#include "ui/popup_menu.h"
#include "ui/progress_window.h"
#include "ui/screen.h"
#include "ui/static_text.h"
#include "ui/terminal/terminal_backend.h"
#include "ui/ui_message_sink.h"

using namespace tavoe;

using namespace ui;

namespace {

struct Demo {
    InputField* name = nullptr;
    InputField* password = nullptr;
    InputField* code = nullptr;
    CheckBox* backup = nullptr;
    CheckBox* verbose = nullptr;
    ComboBox* type = nullptr;
    ComboBox* history = nullptr;
    ListBox* list = nullptr;
    ListBox* multi = nullptr;
    StaticText* status = nullptr;
    std::map<std::string, std::string> values;  // results of the sub-steps

    std::string Get(std::string_view name) const {
        std::string key(name);
        if (key == "Demo.Name")
            return this->name->Text();
        if (key == "Demo.Password")
            return password->Text();
        if (key == "Demo.Code")
            return code->Text();
        if (key == "Demo.Backup")
            return backup->checked ? "TRUE" : "FALSE";
        if (key == "Demo.Verbose")
            return verbose->checked ? "TRUE" : "FALSE";
        if (key == "Demo.Type")
            return type->Text();
        if (key == "Demo.History")
            return history->Text();
        if (key == "Demo.List")
            return list->SelectedIndex() < 0 ? "" : list->Item(list->SelectedIndex());
        if (key == "Demo.Status")
            return status->text;
        if (key == "Demo.Multi") {
            std::string joined;
            for (int i : multi->SelectedIndexes()) {
                joined += (joined.empty() ? "" : ",") + multi->Item(i);
            }
            return joined;
        }
        auto it = values.find(key);
        return it == values.end() ? "" : it->second;
    }

    void Set(std::string_view name, std::string_view value) {
        std::string key(name);
        if (key == "Demo.Name")
            this->name->SetText(value);
        else if (key == "Demo.Password")
            password->SetText(value);
        else if (key == "Demo.Code")
            code->SetText(value);
        else if (key == "Demo.Backup")
            backup->checked = value == "TRUE";
        else if (key == "Demo.Verbose")
            verbose->checked = value == "TRUE";
        else if (key == "Demo.History")
            history->SetText(value);
        else
            values[key] = std::string(value);
    }
};

void Build(Form& form, Demo& demo, Screen& screen, UiMessageSink& sink) {
    form.Add<StaticText>(Rect{0, 0, 1, 10}, "&Name:");
    demo.name = &form.Add<InputField>(Rect{0, 11, 1, 20});
    form.Add<StaticText>(Rect{1, 0, 1, 10}, "Password:");
    demo.password = &form.Add<InputField>(Rect{1, 11, 1, 20});
    demo.password->echo = EchoMode::Password;
    form.Add<StaticText>(Rect{2, 0, 1, 10}, "Code:");
    demo.code = &form.Add<InputField>(Rect{2, 11, 1, 8});
    demo.code->caseForce = CaseForce::Upper;
    demo.code->hscroll = HScroll::Off;
    demo.code->align = Align::Right;

    form.Add<StaticText>(Rect{0, 34, 1, 8}, "Type:");
    demo.type = &form.Add<ComboBox>(Rect{0, 43, 1, 16}, ComboKind::Fixed);
    demo.type->SetItems({"COBOL", "C", "Java", "PL/I", "Text"});
    demo.type->SetSelected(0);
    demo.type->dropRows = 4;
    form.Add<StaticText>(Rect{1, 34, 1, 8}, "History:");
    demo.history = &form.Add<ComboBox>(Rect{1, 43, 1, 16}, ComboKind::Editable);
    demo.history->SetItems({"find abc", "change x y", "locate 10"});
    demo.history->Edit().caseForce = CaseForce::Lower;
    demo.backup = &form.Add<CheckBox>(Rect{2, 34, 1, 10}, "Backup");
    demo.verbose = &form.Add<CheckBox>(Rect{2, 46, 1, 13}, "Verbose");
    demo.verbose->side = TextSide::Left;

    StaticText& colored = form.Add<StaticText>(Rect{3, 0, 1, 30}, "Coloured output", TextPrefix::Literal);
    colored.color = ui::ColorPair{14, 3};
    form.Add<StaticText>(Rect{3, 34, 1, 8}, "Status:");
    demo.status = &form.Add<StaticText>(Rect{3, 43, 1, 27}, "ready", TextPrefix::Literal);
    form.Add<Separator>(Rect{4, 0, 1, 70});

    form.Add<StaticText>(Rect{5, 0, 1, 30}, "List (right click: menu):");
    demo.list = &form.Add<ListBox>(Rect{6, 0, 7, 30});
    demo.list->scrollBar = true;
    demo.list->SetItems({"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf", "Hotel", "India",
                         "Juliet", "Kilo", "Lima"});
    demo.list->onDoubleClick = [&demo](ListBox& list, int index) {
        demo.status->text = "opened " + list.Item(index);
    };
    demo.list->onRightClick = [&demo, &screen](ListBox&, int row, int col) {
        std::vector<MenuEntry> entries = {{"Edit"}, {"", MenuEntryKind::Separator}, {"Delete"}, {"Rename"}};
        int chosen = RunPopupMenu(screen, entries, row, col);
        demo.values["Demo.Popup"] = chosen < 0 ? "(none)" : entries[chosen].text;
    };
    form.Add<StaticText>(Rect{5, 34, 1, 36}, "Multi (Shift/Ctrl extend):");
    demo.multi = &form.Add<ListBox>(Rect{6, 34, 7, 36});
    demo.multi->selectMode = SelectMode::Extended;
    demo.multi->columnWidth = 12;
    std::vector<std::string> files;
    for (int i = 1; i <= 30; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "file%02d.cbl", i);
        files.push_back(name);
    }
    demo.multi->SetItems(files);
    form.Add<Separator>(Rect{13, 0, 1, 70});

    const char* captions[] = {"OK", "Ask", "Files", "Colors", "Progress", "Cancel"};
    for (int i = 0; i < 6; ++i) {
        Button& b = form.Add<Button>(Rect{14, i * 12, 1, 10}, captions[i]);
        std::string caption = captions[i];
        b.onPush = [&form, &demo, &screen, &sink, caption](Button&) {
            if (caption == "OK") {
                if (demo.code->Text().empty()) {
                    sink.ShowLine("Code must not be empty.");
                    screen.Beep();
                    return;
                }
                form.End(0);
            } else if (caption == "Cancel") {
                form.End(Form::kCancelled);
            } else if (caption == "Ask") {
                MessageBoxSpec spec{"Save the changes?\nThey will be lost otherwise.", "Tavo/E",
                                    MsgBoxButtons::YesNoCancel, MsgBoxIcon::Question, 1};
                demo.values["Demo.Reply"] = MsgBoxReplyName(ShowMessageBox(screen, spec));
            } else if (caption == "Files") {
                FileChooserOptions options;
                options.filters = {{"All files (*.*)", "*"}, {"COBOL (*.cbl)", "*.cbl;*.cob"}};
                FileChooserResult r = RunFileChooser(screen, options);
                demo.values["Demo.File"] = r.ok ? r.Path() : "(cancelled)";
            } else if (caption == "Colors") {
                ColorChooserResult r = RunColorChooser(screen, screen.GetPalette(), 8);
                char text[32];
                const Rgb& rgb = r.palette[r.index];
                std::snprintf(text, sizeof text, "%d #%02X%02X%02X", r.index, rgb.r, rgb.g, rgb.b);
                demo.values["Demo.Color"] = r.ok ? text : "(cancelled)";
            } else if (caption == "Progress") {
                ProgressWindow progress(screen, "Working", "Counting, press ESC to stop");
                int done = 0;
                for (; done <= 100; done += 10) {
                    progress.Update(done);
                    if (progress.CancelRequested()) {
                        break;
                    }
                }
                demo.values["Demo.Progress"] = std::to_string(std::min(done, 100));
            }
        };
        if (caption == "OK") {
            b.isDefault = true;
            form.defaultButton = &b;
        }
    }
}

int Run(Backend& backend, bool ibmpc, HeadlessBackend* headless, std::string& report) {
    Screen screen(backend);
    if (ibmpc) {
        screen.SetDisplaySet(DisplaySet::IbmPc);
    }
    UiMessageSink sink(screen);
    screen.SetBasePainter([&sink](Canvas& canvas) {
        Painter painter(canvas, canvas.Bounds());
        painter.Text(0, 0, "Tavo/E widget demo", ui::ColorPair{3, 1});
        painter.Text(canvas.Rows() - 1, 0, sink.LastLine(), ui::ColorPair{14, 1});
    });
    Form form("Widget demo", 15, 70);
    Demo demo;
    Build(form, demo, screen, sink);
    if (headless != nullptr) {
        headless->SetHooks(
            BatchHooks{[&demo](std::string_view name) { return demo.Get(name); },
                       [&demo](std::string_view name, std::string_view value) { demo.Set(name, value); }});
    }
    int result = screen.RunModal(form);
    report = result == 0 ? "result: OK\n" : "result: CANCELLED\n";
    for (const char* name : {"Demo.Name", "Demo.Code", "Demo.Backup", "Demo.Verbose", "Demo.Type",
                             "Demo.History", "Demo.List", "Demo.Multi"}) {
        report += std::string(name) + "=" + demo.Get(name) + "\n";
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    bool batch = false;
    bool ibmpc = false;
    int rows = 24;
    int cols = 80;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--batch") == 0) {
            batch = true;
        } else if (std::strcmp(argv[i], "--ibmpc") == 0) {
            ibmpc = true;
        } else if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (!HeadlessBackend::ParseSize(argv[++i], rows, cols)) {
                std::fprintf(stderr, "widget_demo: bad --size %s, want COLSxROWS\n", argv[i]);
                return 2;
            }
        } else {
            std::fprintf(stderr, "usage: widget_demo [--batch] [--size COLSxROWS] [--ibmpc]\n");
            return 2;
        }
    }
    std::string report;
    if (batch) {
        HeadlessBackend backend(std::cin, std::cout, std::cerr, rows, cols);
        Run(backend, ibmpc, &backend, report);
        std::cout << report;
        return backend.ExitCode();
    }
    std::string error;
    std::unique_ptr<TerminalBackend> backend = TerminalBackend::Start(error);
    if (!backend) {
        std::fprintf(stderr, "widget_demo: %s\n", error.c_str());
        return 1;
    }
    Run(*backend, ibmpc, nullptr, report);
    backend->Stop();
    std::fputs(report.c_str(), stdout);
    return 0;
}
