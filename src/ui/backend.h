#pragma once

#include <optional>
#include <string_view>

#include "ui/canvas.h"
#include "ui/color_match.h"
#include "ui/event.h"
#include "ui/glyph_map.h"
#include "ui/message_box_options.h"
#include "ui/wake_pipe.h"

namespace tavoe {

namespace ui {

// Moves canvases out and events in. The terminal backend draws on a real terminal; the headless one
// prints on request and reads a script. Everything above it runs the same code under both.
class Backend {
public:
    virtual ~Backend() = default;

    // The size the canvas should have now.
    virtual int Rows() const = 0;
    virtual int Cols() const = 0;

    // The RGB values of the 16 palette indexes and the set the text bytes belong to.
    virtual void SetPalette(const Palette& palette) = 0;
    virtual void SetDisplaySet(DisplaySet set) = 0;

    // Shows the canvas: only the cells changed since the last call are sent, then the cursor.
    virtual void Present(Canvas& canvas) = 0;

    // Waits for the next event. Callers present the canvas first, so what a script prints with
    // !screen is what the user would see.
    virtual Event WaitEvent() = 0;
    // Takes an event that is already waiting, without blocking (long work looks for Escape).
    virtual bool PollEvent(Event& out) = 0;

    virtual void Beep() = 0;
    // Hands the terminal to a program the editor runs (its own modes and screen are left, the normal
    // screen is shown) and takes it back afterwards, with everything drawn again. No terminal: nothing.
    // The next Present writes every cell, whatever the backend believes is on the display already
    // (the terminal may have lost or garbled its content: a pane split, another program's output).
    virtual void RequestFullRedraw() {}

    virtual void SuspendForChild() {}
    virtual void ResumeAfterChild() {}

    // A message shown on the message line (the headless backend prints it).
    virtual void NoteMessageLine(std::string_view text) { (void)text; }
    // A message box about to be shown. A backend that answers it itself (headless: prints the box and
    // takes the queued reply or the default) returns the reply; otherwise the box runs as a form.
    virtual std::optional<MsgBoxReply> AnswerMessageBox(const MessageBoxSpec& spec) {
        (void)spec;
        return std::nullopt;
    }

    // Hands clipboard text (UTF-8) to the terminal, which may pass it to the desktop's clipboard;
    // false when the backend cannot. Headless: false.
    virtual bool OfferClipboard(std::string_view utf8) {
        (void)utf8;
        return false;
    }

    // The self-pipe that wakes WaitEvent with an EventKind::Wake event.
    WakePipe& Wake() { return wake_; }

protected:
    WakePipe wake_;
};

}  // namespace ui

}  // namespace tavoe
