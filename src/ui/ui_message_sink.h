#pragma once

#include <functional>
#include <string>

#include "core/app_session.h"

namespace tavoe {

namespace ui {

class Screen;

// Connects the instance's messages to the window system: message-line texts are kept for the view
// to draw (and printed by the headless backend), boxes are shown with ShowMessageBox with the icon of
// their beep type, and beeps sound through the backend when soundsEnabled says so.
class UiMessageSink : public MessageSink {
public:
    explicit UiMessageSink(Screen& screen) : screen_(screen) {}

    void ShowLine(const std::string& text) override;
    void ShowBox(const std::string& text, Beep beep) override;
    void Sound(Beep beep) override;

    const std::string& LastLine() const { return lastLine_; }
    void ClearLine() { lastLine_.clear(); }

    std::function<bool()> soundsEnabled;

private:
    Screen& screen_;
    std::string lastLine_;
};

}  // namespace ui

}  // namespace tavoe
