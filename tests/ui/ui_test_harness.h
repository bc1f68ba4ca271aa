#pragma once

#include <sstream>
#include <string>

#include "ui/canvas_text.h"
#include "ui/headless/headless_backend.h"
#include "ui/screen.h"

using namespace tavoe;

// A screen on the headless backend fed from a script string; its output and error text are kept.
struct UiHarness {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    ui::HeadlessBackend backend;
    ui::Screen screen;

    explicit UiHarness(const std::string& script, int rows = 24, int cols = 80)
        : in(script), backend(in, out, err, rows, cols), screen(backend) {}

    // The canvas as text after a fresh render.
    std::string Dump() {
        screen.Render();
        return ui::CanvasText(screen.GetCanvas(), screen.GetDisplaySet());
    }
    std::string Row(int row) {
        screen.Render();
        return ui::CanvasRowText(screen.GetCanvas(), row, screen.GetDisplaySet());
    }
};

// A headless backend that leaves message boxes to the form, as the terminal does.
class FormBoxBackend : public ui::HeadlessBackend {
public:
    using HeadlessBackend::HeadlessBackend;
    std::optional<ui::MsgBoxReply> AnswerMessageBox(const ui::MessageBoxSpec&) override {
        return std::nullopt;
    }
};
