// A file list in a real terminal: listed from the command line, sorted by a click on a column
// heading (the terminal's own mouse reports), and a file opened from its row.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "../support/tmux_session.h"
#include "shell_test_support.h"

using namespace tavoe;

namespace fs = std::filesystem;

namespace {

// The bytes of an SGR mouse report (press "M" or release "m" of the left button at a 0-based cell),
// as tmux send-keys -H wants them.
std::string MouseBytes(int row, int col, char final) {
    std::ostringstream report;
    report << "\033[<0;" << col + 1 << ';' << row + 1 << final;
    std::ostringstream hex;
    for (unsigned char c : report.str()) {
        hex << ' ' << std::hex << static_cast<int>(c);
    }
    return hex.str();
}

// The row and column where the text stands on the screen; -1, -1 when it is not there.
std::pair<int, int> Find(const std::string& screen, const std::string& text) {
    std::istringstream lines(screen);
    std::string line;
    for (int row = 0; std::getline(lines, line); ++row) {
        if (size_t col = line.find(text); col != std::string::npos) {
            return {row, static_cast<int>(col)};
        }
    }
    return {-1, -1};
}

TEST(FileListTerminal, SortsByAClickedHeadingAndOpensAFile) {
    if (!TmuxSession::Available()) {
        GTEST_SKIP() << "tmux is not installed";
    }
    ScratchDir dir("file_list_terminal");
    fs::create_directories(dir.Path() / "tree");
    dir.File("tree/big.txt", std::string(40, '\n') + "BIGFILE LAST LINE\n");
    dir.File("tree/alpha.txt", "a\n");
    dir.File("tree/mid.txt", std::string(20, 'm') + "\n");
    fs::create_directories(dir.Path() / "home/profiles");
    for (const auto& entry : fs::directory_iterator(fs::path(TAVOE_SOURCE_DIR) / "data/profiles")) {
        fs::copy_file(entry.path(), dir.Path() / "home/profiles" / entry.path().filename());
    }
    fs::create_directories(dir.Path() / "home/dialogs");
    fs::copy(fs::path(TAVOE_SOURCE_DIR) / "data/dialogs", dir.Path() / "home/dialogs",
             fs::copy_options::recursive);
    dir.File("home/profiles/TAVOE.PRF", "ZMENUSTYLE,Windows GUI\nZFLIST.INCLUDE.DATE,FALSE\n");
    std::string program = std::string(TAVOE_BINARY_DIR) + "/bin/tavoe";
    TmuxSession tmux("flist");
    tmux.Type("cd " + dir.Path().string() + " && HOME=$PWD TAVOE35=$PWD/home " + program +
              " tree; echo ENDED-$?");
    ASSERT_TRUE(tmux.WaitFor("sorted by NAME ASCENDING")) << tmux.Screen();
    std::string screen = tmux.Screen();
    EXPECT_LT(Find(screen, "alpha").first, Find(screen, "big").first) << screen;

    auto [row, col] = Find(screen, "Size");
    ASSERT_GE(row, 0) << screen;
    tmux.Keys("-H" + MouseBytes(row, col + 1, 'M'));
    tmux.Keys("-H" + MouseBytes(row, col + 1, 'm'));
    ASSERT_TRUE(tmux.WaitFor("sorted by SIZE ASCENDING")) << tmux.Screen();
    screen = tmux.Screen();
    EXPECT_LT(Find(screen, "alpha").first, Find(screen, "mid").first) << screen;
    EXPECT_LT(Find(screen, "mid").first, Find(screen, "big").first) << screen;
    tmux.Keys("-H" + MouseBytes(row, col + 1, 'M'));
    tmux.Keys("-H" + MouseBytes(row, col + 1, 'm'));
    ASSERT_TRUE(tmux.WaitFor("sorted by SIZE DESCENDING")) << tmux.Screen();
    screen = tmux.Screen();
    EXPECT_LT(Find(screen, "big").first, Find(screen, "mid").first) << screen;

    // The largest file is the first row now: E in its action cells opens it; END comes back.
    tmux.Keys("Tab");
    tmux.Keys("-l e");
    tmux.Keys("Enter");
    ASSERT_TRUE(tmux.WaitFor("*** Top of File ***")) << tmux.Screen();
    EXPECT_NE(tmux.Screen().find("big.txt"), std::string::npos) << tmux.Screen();
    tmux.Keys("F3");
    ASSERT_TRUE(tmux.WaitFor("Edited")) << tmux.Screen();
    tmux.Keys("F3");
    ASSERT_TRUE(tmux.WaitFor("ENDED-0")) << tmux.Screen();
}

}  // namespace
