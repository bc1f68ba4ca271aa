#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "support/scripted_storage_host.h"

using namespace tavoe;

// A scratch directory per test, an instance, and one edit buffer with the built-in profile; helpers
// write files and read back what the load made.
class FileLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* base = std::getenv("TAVOE_TEST_TMP");
        std::filesystem::path parent = base != nullptr && *base != '\0'
                                           ? std::filesystem::path(base)
                                           : std::filesystem::temp_directory_path();
        root = parent / ("load_" + std::to_string(::getpid()) + "_" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        host = &ScriptedStorageHost::Install(app);
        buffer = std::make_unique<EditBuffer>(app);
        buffer->profile.tabsExpandOnRead = 0;
    }
    void TearDown() override {
        buffer.reset();
        std::error_code ignored;
        std::filesystem::permissions(root, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(root, ignored);
    }

    std::string PathOf(const std::string& name) const { return (root / name).string(); }

    std::string WriteFile(const std::string& name, const std::string& bytes) {
        std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string ReadFileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    // Writes the bytes and opens them for EDIT (or the given mode).
    int Load(const std::string& bytes, OpenMode mode = OpenMode::Edit, LoadQuiet quiet = LoadQuiet::None) {
        return OpenFile(*buffer, WriteFile("f.txt", bytes), mode, quiet);
    }

    std::vector<std::string> DataLines() const { return DataLinesOf(*buffer); }
    static std::vector<std::string> DataLinesOf(const EditBuffer& b) {
        std::vector<std::string> out;
        for (const LineRecord& line : Lines(b)) {
            if (IsDataLine(line)) {
                out.emplace_back(LineText(line));
            }
        }
        return out;
    }
    std::vector<std::uint32_t> RecordNumbers() const {
        std::vector<std::uint32_t> out;
        for (const LineRecord& line : Lines(*buffer)) {
            if (IsDataLine(line)) {
                out.push_back(line.recordNumber);
            }
        }
        return out;
    }
    std::string EndMarkerText() const {
        const LineRecord* end = EndMarkerLine(*buffer);
        return end == nullptr ? std::string("<none>") : std::string(LineText(*end));
    }
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> out;
        for (const ShownMessage& m : app.messages) {
            out.push_back(m.text);
        }
        return out;
    }
    bool Shown(const std::string& text) const {
        for (const ShownMessage& m : app.messages) {
            if (m.text == text) {
                return true;
            }
        }
        return false;
    }

    AppSession app;
    ScriptedStorageHost* host = nullptr;
    std::filesystem::path root;
    std::unique_ptr<EditBuffer> buffer;
};
