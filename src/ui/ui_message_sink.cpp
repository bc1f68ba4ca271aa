#include "ui/ui_message_sink.h"

#include "ui/message_box.h"
#include "ui/screen.h"

namespace tavoe {

namespace ui {

void UiMessageSink::ShowLine(const std::string& text) {
    lastLine_ = text;
    screen_.GetBackend().NoteMessageLine(text);
}

void UiMessageSink::ShowBox(const std::string& text, Beep beep) {
    MessageBoxSpec spec;
    spec.text = text;
    switch (beep) {
        case Beep::Information:
            spec.icon = MsgBoxIcon::Information;
            break;
        case Beep::Exclamation:
            spec.icon = MsgBoxIcon::Exclamation;
            break;
        case Beep::Error:
            spec.icon = MsgBoxIcon::Error;
            break;
        case Beep::Question:
            spec.icon = MsgBoxIcon::Question;
            break;
        case Beep::None:
            break;
    }
    ShowMessageBox(screen_, spec);
}

void UiMessageSink::Sound(Beep beep) {
    if (beep != Beep::None && soundsEnabled && soundsEnabled()) {
        screen_.Beep();
    }
}

}  // namespace ui

}  // namespace tavoe
