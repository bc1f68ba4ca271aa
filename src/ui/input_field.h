#pragma once

#include <functional>
#include <string>

#include "ui/static_text.h"
#include "ui/widget.h"

namespace tavoe {

namespace ui {

enum class CaseForce : uint8_t { None, Upper, Lower };
enum class EchoMode : uint8_t { Normal, Password };
// Auto: the text scrolls sideways past the field's width. Off: nothing can be typed beyond it.
enum class HScroll : uint8_t { Auto, Off };
enum class TypingMode : uint8_t { Insert, Overtype };

// A single-line text field of display bytes: insert and overtype, Home/End, Ctrl+Left/Right by
// words, horizontal scrolling, forced case, password masking, alignment and a maximum length.
// Keyboard focus marks the whole text, so the first typed character replaces it.
class InputField : public Widget {
public:
    explicit InputField(const Rect& r);

    const std::string& Text() const { return text_; }
    // Sets the text (cut to the maximum length) and puts the cursor at its end.
    void SetText(std::string_view text);
    int CursorPos() const { return cursor_; }
    void SetCursorPos(int pos);
    int ScrollOffset() const { return scroll_; }
    bool AllMarked() const { return allMarked_; }
    void MarkAll() { allMarked_ = !text_.empty(); }

    int maxLength = 255;
    CaseForce caseForce = CaseForce::None;
    EchoMode echo = EchoMode::Normal;
    HScroll hscroll = HScroll::Auto;
    Align align = Align::Left;
    TypingMode mode = TypingMode::Insert;
    bool insertToggles = true;  // Ins switches between insert and overtype
    CursorShape insertShape = CursorShape::Bar;
    CursorShape overtypeShape = CursorShape::Block;

    // Characters of code 128 and above pass through this when it is set (keyboard translation).
    std::function<uint8_t(uint8_t)> translateHigh;
    // Refuses a typed character when it returns false.
    std::function<bool(uint8_t)> accept;
    std::function<void(InputField&)> onChange;
    // Clipboard: Ctrl+C and Ctrl+X copy (the whole text when it is marked), Ctrl+V pastes; without
    // these the keys pass on.
    std::function<void(const std::string&)> copyText;
    std::function<std::string()> pasteText;

    bool Focusable() const override { return true; }
    void Paint(Painter& painter, const Theme& theme, bool focused) override;
    Handled OnKey(const KeyEvent& key, Screen& screen) override;
    Handled OnMouse(const MouseEvent& mouse, Screen& screen) override;
    void OnFocus(FocusReason reason) override;
    void OnBlur() override { allMarked_ = false; }

    // Types one display byte as the keyboard would (case, filters, limits); false when refused.
    bool TypeChar(uint8_t ch);

private:
    int Limit() const;
    void Changed();
    void DeleteMarked();
    int StartColumn() const;  // where the text starts within the field when it fits
    void KeepCursorVisible();

    std::string text_;
    int cursor_ = 0;
    int scroll_ = 0;
    bool allMarked_ = false;
};

}  // namespace ui

}  // namespace tavoe
