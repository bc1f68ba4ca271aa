#pragma once

#include <memory>
#include <string>

#include "ui/backend.h"

namespace tavoe {

namespace ui {

// How the terminal shows the palette: exact RGB, the nearest of 256 colours, of 8, or none.
enum class ColorMode : uint8_t { TrueColor, Indexed256, Basic8, Mono };

// The terminal backend (ncurses, wide-character build). Only one runs per process. Starting puts the
// terminal in raw mode on the alternate screen with mouse reporting; stopping, normal exit, exit(),
// and fatal or terminating signals (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGABRT, ...) all
// restore it. Ctrl+C arrives as a key (the clipboard needs it), not as a signal.
class TerminalBackend : public Backend {
public:
    // Starts on the process's terminal. Returns null with a message for the user in error when the
    // terminal cannot be driven (no terminal, unknown TERM, no cursor addressing).
    static std::unique_ptr<TerminalBackend> Start(std::string& error);
    ~TerminalBackend() override;
    TerminalBackend(const TerminalBackend&) = delete;
    TerminalBackend& operator=(const TerminalBackend&) = delete;

    // Restores the terminal; the backend cannot be used afterwards.
    void Stop();

    ColorMode Colors() const;
    bool Utf8() const;

    int Rows() const override;
    int Cols() const override;
    void SetPalette(const Palette& palette) override;
    void SetDisplaySet(DisplaySet set) override;
    void Present(Canvas& canvas) override;
    void RequestFullRedraw() override;
    Event WaitEvent() override;
    bool PollEvent(Event& out) override;
    void Beep() override;
    void SuspendForChild() override;
    void ResumeAfterChild() override;
    bool OfferClipboard(std::string_view utf8) override;

    struct Impl;

private:
    TerminalBackend();
    std::unique_ptr<Impl> impl_;
};

}  // namespace ui

}  // namespace tavoe
