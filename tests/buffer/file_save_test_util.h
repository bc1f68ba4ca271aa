#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "buffer/file_save.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "support/scripted_storage_host.h"

using namespace tavoe;

// A scratch directory per test, files written and read as raw bytes, and edit sessions opened on
// them with a chosen profile.
class SaveFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string base = "/tmp/tavoe_save_XXXXXX";
        ASSERT_NE(::mkdtemp(base.data()), nullptr);
        dir = base + "/";
        app.hasCurrentEditSession = true;
        host = &ScriptedStorageHost::Install(app);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    std::string Path(std::string_view name) const { return dir + std::string(name); }

    static void WriteBytes(const std::string& path, std::string_view bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static bool Exists(const std::string& path) {
        struct stat st {};
        return ::lstat(path.c_str(), &st) == 0;
    }
    // Names in the directory other than the ones a test made: leftovers of a save.
    std::size_t EntryCount() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) {
            ++count;
        }
        return count;
    }

    // A variable-format profile that leaves bytes as they are: no tab expansion, no backup.
    static FileProfile Variable(EorType eor = EorType::Auto) {
        FileProfile profile = BuiltInFileProfile("TXT");
        profile.endOfRecordSequence = eor;
        profile.tabsExpandOnRead = 0;
        profile.maxRecordLength = 255;
        return profile;
    }
    static FileProfile Fixed(int length) {
        FileProfile profile = Variable(EorType::None);
        profile.recordFormat = Recfm::Fixed;
        profile.maxRecordLength = length;
        profile.boundsRight = length;
        return profile;
    }

    std::unique_ptr<EditBuffer> Open(const std::string& path, const FileProfile& profile,
                                     OpenMode mode = OpenMode::Edit) {
        auto buffer = std::make_unique<EditBuffer>(app);
        buffer->profile = profile;
        EXPECT_EQ(OpenFile(*buffer, path, mode), 0);
        return buffer;
    }

    std::vector<LineRecord*> DataLines(EditBuffer& buffer) {
        std::vector<LineRecord*> lines;
        for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
            lines.push_back(line);
        }
        return lines;
    }

    bool HasMessage(std::string_view text) const {
        for (const ShownMessage& message : app.messages) {
            if (message.text == text) {
                return true;
            }
        }
        return false;
    }
    std::string LastMessage() const {
        return app.messages.empty() ? std::string() : app.messages.back().text;
    }

    AppSession app;
    ScriptedStorageHost* host = nullptr;
    std::string dir;
};
