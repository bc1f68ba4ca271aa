// The folders of src/ form layers, and a file includes only headers of its own folder and of the
// layers below it. A header from a higher layer, or from a folder beside it, fails this test.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

// The layer of each folder: a folder may include folders of a lower number only. The installer and
// the sample library stand apart: they may use the platform layer and nothing else.
const std::map<std::string, int> kLayers = {
    {"platform", 0},  {"core", 1},     {"ui", 2},    {"profiles", 2},  {"buffer", 3},
    {"macro", 4},     {"editing", 4},  {"view", 5},  {"commands", 5},  {"dialogs", 6},
    {"utilities", 7}, {"filelist", 8}, {"shell", 9}, {"installer", 1}, {"sampledll", 1},
};

bool MayInclude(const std::string& from, const std::string& to) {
    if (from == to) {
        return true;
    }
    if (from == "installer" || from == "sampledll") {
        return to == "platform";
    }
    auto a = kLayers.find(from);
    auto b = kLayers.find(to);
    return a != kLayers.end() && b != kLayers.end() && to != "installer" && to != "sampledll" &&
           b->second < a->second;
}

std::vector<std::string> Violations() {
    const std::filesystem::path src = std::filesystem::path(TAVOE_SOURCE_DIR) / "src";
    const std::regex include(R"(^\s*#\s*include\s+"([a-z_]+)/[^"]+")");
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        std::string folder = std::filesystem::relative(entry.path(), src).begin()->string();
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::smatch match;
            if (std::regex_search(line, match, include) && !MayInclude(folder, match[1].str())) {
                found.push_back(std::filesystem::relative(entry.path(), src).string() + ":" +
                                std::to_string(number) + ": " + line);
            }
        }
    }
    return found;
}

}  // namespace

TEST(Layering, EveryFolderHasALayer) {
    const std::filesystem::path src = std::filesystem::path(TAVOE_SOURCE_DIR) / "src";
    for (const auto& entry : std::filesystem::directory_iterator(src)) {
        if (entry.is_directory()) {
            EXPECT_TRUE(kLayers.count(entry.path().filename().string())) << entry.path();
        }
    }
}

TEST(Layering, IncludesPointDownOnly) {
    std::vector<std::string> violations = Violations();
    EXPECT_TRUE(violations.empty()) << [&] {
        std::string all;
        for (const std::string& v : violations) {
            all += v + "\n";
        }
        return all;
    }();
}

TEST(Layering, TheRuleRejectsUpwardAndSidewaysIncludes) {
    EXPECT_TRUE(MayInclude("buffer", "core"));
    EXPECT_TRUE(MayInclude("buffer", "profiles"));
    EXPECT_FALSE(MayInclude("buffer", "shell"));
    EXPECT_FALSE(MayInclude("editing", "view"));
    EXPECT_FALSE(MayInclude("view", "commands"));  // beside each other
    EXPECT_FALSE(MayInclude("installer", "core"));
    EXPECT_FALSE(MayInclude("shell", "installer"));
    EXPECT_TRUE(MayInclude("shell", "utilities"));
    EXPECT_TRUE(MayInclude("utilities", "dialogs"));  // utilities ask their parameters in dialogs
    EXPECT_FALSE(MayInclude("dialogs", "utilities"));
    // The file operations print and run user commands on the entries they act on.
    EXPECT_TRUE(MayInclude("filelist", "utilities"));
    EXPECT_FALSE(MayInclude("utilities", "filelist"));
}
