#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/widget.h"

namespace tavoe {

namespace ui {

class Button;

// Something the screen draws above the base view: a form, a progress window.
class Layer {
public:
    virtual ~Layer() = default;
    // Called when the canvas changes size.
    virtual void Layout(int canvasRows, int canvasCols) = 0;
    virtual void Paint(Canvas& canvas, const Theme& theme) = 0;
};

enum class FormFrame : uint8_t { Titled, Plain, None };
// Which keys end a form with kCancelled when neither the filter, the focused widget nor the
// unhandled-key hook took them.
enum class CancelKeys : uint8_t { EscapeAndF3, F3Only, None };

// A window of widgets: frame, optional title, and the focus. Keys go to the key filter first, then
// to the focused widget, then Tab and Shift+Tab move the focus, then the unhandled-key hook, then
// Enter pushes the default button, and last the cancel keys end the form.
class Form : public Layer {
public:
    static constexpr int kCancelled = -1;

    Form(std::string title, int clientRows, int clientCols);

    // Adds a widget, which the form owns; widgets are painted and take the focus in this order.
    template <class T, class... Args>
    T& Add(Args&&... args) {
        auto widget = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *widget;
        widgets_.push_back(std::move(widget));
        return ref;
    }
    const std::vector<std::unique_ptr<Widget>>& Widgets() const { return widgets_; }

    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    void SetClientSize(int rows, int cols);
    void SetFrame(FormFrame frame) { frame_ = frame; }
    // Fixes the outer top-left corner on the canvas; by default the form is centred.
    void PlaceAt(int row, int col);
    void PlaceCentred() { placed_ = false; }

    Rect Outer() const { return outer_; }
    Rect Client() const { return client_; }

    Widget* Focused() const { return focused_; }
    void SetFocus(Widget* widget, FocusReason reason);
    // Moves the focus to the next (or previous) focusable widget, wrapping around.
    void FocusNext(bool backwards);
    // Gives the focus to the first focusable widget when nothing has it.
    void EnsureFocus();

    void End(int result);
    bool Ended() const { return ended_; }
    int Result() const { return result_; }
    void Reopen() { ended_ = false; }

    std::function<Handled(const KeyEvent&)> keyFilter;
    std::function<Handled(const KeyEvent&)> unhandledKey;
    Button* defaultButton = nullptr;
    CancelKeys cancelKeys = CancelKeys::EscapeAndF3;
    bool closeOnOutsideClick = false;

    // Gives a key or mouse event to the form.
    Handled Dispatch(const Event& event, Screen& screen);

    void Layout(int canvasRows, int canvasCols) override;
    void Paint(Canvas& canvas, const Theme& theme) override;

private:
    Handled DispatchKey(const KeyEvent& key, Screen& screen);
    Handled DispatchMouse(const MouseEvent& mouse, Screen& screen);
    Widget* WidgetAt(int row, int col) const;
    void PlaceWidgets();

    std::string title_;
    int clientRows_;
    int clientCols_;
    FormFrame frame_ = FormFrame::Titled;
    bool placed_ = false;
    int placeRow_ = 0;
    int placeCol_ = 0;
    Rect outer_;
    Rect client_;
    std::vector<std::unique_ptr<Widget>> widgets_;
    Widget* focused_ = nullptr;
    Widget* captured_ = nullptr;  // takes the drags after a press
    bool ended_ = false;
    int result_ = 0;
};

}  // namespace ui

}  // namespace tavoe
