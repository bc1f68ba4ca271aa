// Reads arbitrary bytes as a main profile, writes it back, reads that into a fresh instance and
// writes again: the reader must not crash, and a profile the program wrote must read back to the
// same lines (the second write holds exactly the lines of the first, in any order).
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/app_session.h"
#include "profiles/main_profile.h"

using namespace tavoe;

namespace {

class Lists : public ProfileSharedLists {
public:
    int SessionCount() const override { return 1; }
    void HistoryAdd(std::string_view command) override {
        std::erase(history, std::string(command));
        history.insert(history.begin(), std::string(command));
        if (history.size() > 16) {
            history.pop_back();
        }
    }
    std::string HistoryEntry(int age) const override {
        return age < static_cast<int>(history.size()) ? history[age] : std::string();
    }
    void SetRecentFile(int slot, std::string_view path) override { recent.at(slot) = path; }
    std::string RecentFile(int slot) const override { return recent.at(slot); }
    std::vector<std::string> history;
    std::array<std::string, 27> recent;
};

std::vector<std::string> SortedLines(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path home = [] {
        std::filesystem::path h =
            std::filesystem::temp_directory_path() / ("tavoe_fuzz_prf_" + std::to_string(::getpid()));
        std::filesystem::create_directories(h / "profiles");
        return h;
    }();
    std::filesystem::path file = home / "profiles" / "TAVOE.PRF";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    AppSession first;
    first.homeDirectory = home.string();
    Lists lists1;
    ReadMainProfile(first, &lists1);
    if (WriteMainProfile(first, &lists1) != 0) {
        std::abort();
    }
    std::vector<std::string> written = SortedLines(file);

    AppSession second;
    second.homeDirectory = home.string();
    Lists lists2;
    ReadMainProfile(second, &lists2);
    if (WriteMainProfile(second, &lists2) != 0 || SortedLines(file) != written) {
        std::abort();
    }
    return 0;
}
