#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ui/color_chooser.h"
#include "ui/file_chooser.h"
#include "ui_test_harness.h"

using namespace tavoe;

using namespace ui;
namespace fs = std::filesystem;

namespace {

// A scratch directory: a.cbl, b.txt, Zeta.CBL, .hidden, sub/inner.cbl.
struct ScratchDir {
    fs::path root;
    ScratchDir() {
        root = fs::temp_directory_path() / ("ui_chooser_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "sub");
        for (const char* name : {"a.cbl", "b.txt", "Zeta.CBL", ".hidden", "sub/inner.cbl"}) {
            std::ofstream(root / name) << "x";
        }
    }
    ~ScratchDir() { fs::remove_all(root); }
};

FileChooserResult Choose(const std::string& script, FileChooserOptions options, std::string* out = nullptr) {
    UiHarness h(script);
    FileChooserResult result = RunFileChooser(h.screen, options);
    if (out != nullptr) {
        *out = h.out.str();
    }
    return result;
}

}  // namespace

TEST(FileChooserDialog, ListsDirectoriesFirstAndFiltersByPattern) {
    ScratchDir dir;
    FileChooserOptions options;
    options.directory = dir.root.string();
    options.filters = {{"All files (*.*)", "*.*"}, {"COBOL", "*.cbl"}};
    std::string out;
    Choose("!screen\n!keys <Tab><Down>\n!screen\n", options, &out);
    size_t second = out.find("--- screen ---", 10);
    std::string first = out.substr(0, second);
    std::string filtered = out.substr(second);
    EXPECT_NE(first.find("│../"), std::string::npos) << first;
    EXPECT_LT(first.find("│sub/"), first.find("│a.cbl"));
    EXPECT_NE(first.find("│b.txt"), std::string::npos);
    EXPECT_EQ(first.find(".hidden"), std::string::npos);
    // The COBOL filter matches without regard to case.
    EXPECT_EQ(filtered.find("│b.txt"), std::string::npos) << filtered;
    EXPECT_NE(filtered.find("│Zeta.CBL"), std::string::npos);
}

TEST(FileChooserDialog, TypingADirectoryOpensItAndAFileChoosesIt) {
    ScratchDir dir;
    FileChooserOptions options;
    options.directory = dir.root.string();
    FileChooserResult r = Choose("sub\ninner.cbl\n", options);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.Path(), fs::weakly_canonical(dir.root / "sub" / "inner.cbl").string());
}

TEST(FileChooserDialog, ListNavigationAndChoosingMovesTheNameToTheField) {
    ScratchDir dir;
    FileChooserOptions options;
    options.directory = (dir.root / "sub").string();
    // In the list: ../ is first; Enter on it goes up; then Down to sub/, Down to a.cbl, Enter.
    FileChooserResult r = Choose("!keys <Tab><Tab><Enter><Down><Down><Enter>\n", options);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.names, std::vector<std::string>{"a.cbl"});
    EXPECT_EQ(r.directory, fs::weakly_canonical(dir.root).string());
}

TEST(FileChooserDialog, MissingFilesAreRefusedInOpenModeAndAcceptedInSaveMode) {
    ScratchDir dir;
    FileChooserOptions options;
    options.directory = dir.root.string();
    std::string out;
    FileChooserResult r = Choose("new.cbl\n", options, &out);
    EXPECT_FALSE(r.ok);  // the script ended with the chooser still open
    EXPECT_NE(out.find("box: " + (dir.root / "new.cbl").string() + "\\nFile not found."), std::string::npos);
    options.mode = FileChooserMode::Save;
    r = Choose("new.cbl\n", options);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.names, std::vector<std::string>{"new.cbl"});
}

TEST(FileChooserDialog, ATypedPatternBecomesTheFilterAndCancelChoosesNothing) {
    ScratchDir dir;
    FileChooserOptions options;
    options.directory = dir.root.string();
    std::string out;
    FileChooserResult r = Choose("*.txt\n!screen\n!keys <F3>\n", options, &out);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(out.find("│a.cbl"), std::string::npos) << out;
    EXPECT_NE(out.find("│b.txt"), std::string::npos);
}

TEST(FileChooserDialog, SeveralFilesInMultipleMode) {
    ScratchDir dir;
    FileChooserOptions options;
    options.directory = dir.root.string();
    options.multiple = true;
    // ../, sub/, a.cbl, b.txt, Zeta.CBL: select a.cbl and Zeta.CBL.
    FileChooserResult r =
        Choose("!keys <Tab><Tab><Down><Down><S-Down><C-Down><Space><Tab><Enter>\n", options);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.names, (std::vector<std::string>{"a.cbl", "b.txt", "Zeta.CBL"}));
}

TEST(FileChooserDialog, PatternMatching) {
    EXPECT_TRUE(MatchesPatterns("PAYROLL.CBL", "*.cbl"));
    EXPECT_TRUE(MatchesPatterns("noext", "*.*"));
    EXPECT_TRUE(MatchesPatterns("a.c", "*.cbl; *.c"));
    EXPECT_TRUE(MatchesPatterns("ab1.x", "a?1.*"));
    EXPECT_FALSE(MatchesPatterns("abc.cblx", "*.cbl"));
    EXPECT_FALSE(MatchesPatterns("x", ""));
    EXPECT_TRUE(MatchesPatterns("aaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*b"));
}

TEST(ColorChooserDialog, ArrowsChooseAnEntryAndItsValuesCanBeEdited) {
    UiHarness h("!keys <Right><Down><Tab>200<Tab><Tab>7<Enter>\n");
    Palette palette = DefaultPalette();
    ColorChooserResult r = RunColorChooser(h.screen, palette, 0);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.index, 5);
    EXPECT_EQ(r.palette[5], (Rgb{200, 128, 7}));
    EXPECT_EQ(r.palette[0], palette[0]);
    EXPECT_EQ(h.screen.GetPalette(), palette);  // the caller applies the result
}

TEST(ColorChooserDialog, CancelKeepsThePalette) {
    UiHarness h("!keys <Tab>9<Esc>\n");
    Palette palette = DefaultPalette();
    ColorChooserResult r = RunColorChooser(h.screen, palette, 3);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.palette, palette);
    EXPECT_EQ(h.screen.GetPalette(), palette);
}
