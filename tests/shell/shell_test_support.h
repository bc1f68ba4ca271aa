#pragma once

#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "ui/backend.h"

using namespace tavoe;

// A window system for the shell's tests: boxes are answered from a queue of replies (the default
// button when it is empty), and what was shown is recorded.
class ReplyBackend : public ui::Backend {
public:
    explicit ReplyBackend(int rows = 24, int cols = 80) : rows_(rows), cols_(cols) {}

    int Rows() const override { return rows_; }
    int Cols() const override { return cols_; }
    void SetPalette(const ui::Palette&) override {}
    void SetDisplaySet(ui::DisplaySet) override {}
    void Present(ui::Canvas& canvas) override { canvas.TakeChanges(); }
    ui::Event WaitEvent() override {
        ui::Event event;
        return PollEvent(event) ? event : ui::Event::Of(ui::EventKind::EndOfInput);
    }
    bool PollEvent(ui::Event& event) override {
        if (pending.empty()) {
            return false;
        }
        event = pending.front();
        pending.pop_front();
        return true;
    }
    void Beep() override { ++beeps; }
    void NoteMessageLine(std::string_view text) override { lines.emplace_back(text); }
    std::optional<ui::MsgBoxReply> AnswerMessageBox(const ui::MessageBoxSpec& spec) override {
        boxes.push_back(spec.text);
        if (replies.empty()) {
            return ui::MsgBoxDefaultReply(spec);
        }
        ui::MsgBoxReply reply = replies.front();
        replies.pop_front();
        return reply;
    }

    std::deque<ui::Event> pending;  // input that has arrived, taken by PollEvent and WaitEvent
    std::deque<ui::MsgBoxReply> replies;
    std::vector<std::string> boxes;
    std::vector<std::string> lines;
    int beeps = 0;

private:
    int rows_;
    int cols_;
};

// A scratch directory removed at the end of the test.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& tag) {
        const char* base = std::getenv("TAVOE_TEST_TMP");
        std::filesystem::path root = base != nullptr ? base : std::filesystem::temp_directory_path().string();
        path_ = root / ("shell_" + tag + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name, const std::string& content) const {
        std::filesystem::path file = path_ / name;
        std::ofstream(file, std::ios::binary) << content;
        return file.string();
    }

private:
    std::filesystem::path path_;
};

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
