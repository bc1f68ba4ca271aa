#include "ui/message_box.h"

#include <algorithm>
#include <cctype>

#include "ui/button.h"
#include "ui/form.h"
#include "ui/screen.h"
#include "ui/static_text.h"

namespace tavoe {

namespace ui {
namespace {

const char* Caption(MsgBoxReply reply) {
    switch (reply) {
        case MsgBoxReply::Ok:
            return "OK";
        case MsgBoxReply::Cancel:
            return "Cancel";
        case MsgBoxReply::Yes:
            return "Yes";
        case MsgBoxReply::No:
            return "No";
    }
    return "OK";
}

const char* IconText(MsgBoxIcon icon) {
    switch (icon) {
        case MsgBoxIcon::Information:
            return "(i)";
        case MsgBoxIcon::Exclamation:
            return "/!\\";
        case MsgBoxIcon::Error:
            return "(X)";
        case MsgBoxIcon::Question:
            return "(?)";
        case MsgBoxIcon::None:
            break;
    }
    return "";
}

constexpr int kButtonWidth = 10;

}  // namespace

std::vector<std::string> WrapText(std::string_view text, int width) {
    width = std::max(width, 1);
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        size_t end = text.find('\n', start);
        std::string_view para = text.substr(start, end == std::string_view::npos ? end : end - start);
        do {
            if (static_cast<int>(para.size()) <= width) {
                lines.emplace_back(para);
                break;
            }
            size_t cut = para.rfind(' ', static_cast<size_t>(width));
            if (cut == std::string_view::npos || cut == 0) {
                lines.emplace_back(para.substr(0, width));
                para.remove_prefix(width);
            } else {
                lines.emplace_back(para.substr(0, cut));
                para.remove_prefix(cut + 1);
            }
        } while (!para.empty());
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

MsgBoxReply ShowMessageBox(Screen& screen, const MessageBoxSpec& spec) {
    if (std::optional<MsgBoxReply> answer = screen.GetBackend().AnswerMessageBox(spec)) {
        return *answer;
    }
    MsgBoxReply choices[3];
    int count = MsgBoxChoices(spec.buttons, choices);
    int defaultIndex = spec.defaultButton >= 0 && spec.defaultButton < count ? spec.defaultButton : 0;

    const Canvas& canvas = screen.GetCanvas();
    std::string icon = IconText(spec.icon);
    int iconCols = icon.empty() ? 0 : static_cast<int>(icon.size()) + 2;
    int maxText = std::max(canvas.Cols() - 6 - iconCols, 10);
    std::vector<std::string> lines = WrapText(spec.text, std::min(maxText, 70));
    int textCols = 0;
    for (const std::string& line : lines) {
        textCols = std::max(textCols, static_cast<int>(line.size()));
    }
    int buttonsCols = count * kButtonWidth + (count - 1) * 2;
    int cols = std::max({iconCols + textCols + 2, buttonsCols + 2, static_cast<int>(spec.title.size()) + 4});
    int textRows = static_cast<int>(lines.size());
    int rows = textRows + 3;

    Form form(spec.title, rows, cols);
    if (!icon.empty()) {
        form.Add<StaticText>(Rect{1, 1, 1, static_cast<int>(icon.size())}, icon, TextPrefix::Literal);
    }
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        joined += (i ? "\n" : "") + lines[i];
    }
    form.Add<StaticText>(Rect{1, 1 + iconCols, textRows, textCols}, joined, TextPrefix::Literal);
    int col = (cols - buttonsCols) / 2;
    Button* buttons[3] = {};
    MsgBoxReply reply = MsgBoxDefaultReply(spec);
    for (int i = 0; i < count; ++i) {
        Button& b = form.Add<Button>(Rect{rows - 1, col + i * (kButtonWidth + 2), 1, kButtonWidth},
                                     Caption(choices[i]));
        MsgBoxReply mine = choices[i];
        b.onPush = [&form, &reply, mine](Button&) {
            reply = mine;
            form.End(0);
        };
        buttons[i] = &b;
    }
    buttons[defaultIndex]->isDefault = true;
    form.SetFocus(buttons[defaultIndex], FocusReason::Initial);

    bool hasCancel = spec.buttons == MsgBoxButtons::OkCancel || spec.buttons == MsgBoxButtons::YesNoCancel;
    form.cancelKeys = CancelKeys::None;
    form.unhandledKey = [&](const KeyEvent& key) {
        if (key.Is(Key::Left) || key.Is(Key::Right)) {
            form.FocusNext(key.key == Key::Left);
            return Handled::Yes;
        }
        if (key.Is(Key::Escape) || key.Is(Key::F3)) {
            if (hasCancel || spec.buttons == MsgBoxButtons::Ok) {
                reply = hasCancel ? MsgBoxReply::Cancel : MsgBoxReply::Ok;
                form.End(0);
            }
            return Handled::Yes;
        }
        if (key.IsChar()) {
            char letter = static_cast<char>(std::toupper(key.ch));
            for (int i = 0; i < count; ++i) {
                if (Caption(choices[i])[0] == letter) {
                    reply = choices[i];
                    form.End(0);
                    return Handled::Yes;
                }
            }
        }
        return Handled::No;
    };
    if (screen.RunModal(form) != 0) {
        // The form was cancelled from outside (the input ended): the default answer stands.
        return hasCancel ? MsgBoxReply::Cancel : MsgBoxDefaultReply(spec);
    }
    return reply;
}

}  // namespace ui

}  // namespace tavoe
