#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/app_session.h"
#include "core/var_store.h"

using namespace tavoe;

// A user and a server folder, per test, named in a search-path setting ("user;server"), with raw file
// writing and reading and a check for the one message a bad file gives.
class SearchPathFixture : public ::testing::Test {
protected:
    SearchPathFixture(std::string tag, std::string pathSetting)
        : tag_(std::move(tag)), pathSetting_(std::move(pathSetting)) {}

    void SetUp() override {
        namespace fs = std::filesystem;
        const char* base = std::getenv("TAVOE_TEST_TMP");
        fs::path parent = base != nullptr && *base != '\0' ? fs::path(base) : fs::temp_directory_path();
        fs::create_directories(parent);
        root = parent / ("tavoe_" + tag_ + "_" + std::to_string(::getpid()) + "_" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "user");
        fs::create_directories(root / "server");
        VarSetValue(app, pathSetting_, (root / "user").string() + ";" + (root / "server").string());
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    static void Write(const std::filesystem::path& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }
    static std::string Read(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    void ExpectOneBox(const std::string& text, Beep beep) {
        ASSERT_EQ(app.messages.size(), 1u);
        EXPECT_EQ(app.messages[0].text, text);
        EXPECT_EQ(app.messages[0].to, MsgTo::Box);
        EXPECT_EQ(app.messages[0].beep, beep);
    }

    std::filesystem::path root;
    AppSession app;

private:
    std::string tag_;
    std::string pathSetting_;
};
