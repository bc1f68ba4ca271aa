#include "shell/start_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tavoe;

namespace {

StartOptions Parse(std::vector<std::string> words) {
    return ParseStartOptions(words);
}

TEST(StartOptions, ValuesAttachedOrInTheNextWordInEitherCase) {
    StartOptions o = Parse({"-imymac", "-P", "cbl", "-x", "exitmac", "-M80", "a.cbl"});
    ASSERT_TRUE(o.error.empty()) << o.error;
    ASSERT_EQ(o.variables.size(), 4u);
    EXPECT_EQ(o.variables[0], std::make_pair(std::string("ZIMACRO"), std::string("MYMAC")));
    EXPECT_EQ(o.variables[1], std::make_pair(std::string("ZPROFILE"), std::string("CBL")));
    EXPECT_EQ(o.variables[2], std::make_pair(std::string("ZXMACRO"), std::string("EXITMAC")));
    EXPECT_EQ(o.variables[3], std::make_pair(std::string("ZMAXRECLEN"), std::string("80")));
    ASSERT_EQ(o.files.size(), 1u);
    EXPECT_EQ(o.files[0].name, "a.cbl");
    EXPECT_EQ(o.files[0].mode, OpenMode::Edit);
}

TEST(StartOptions, LocateForms) {
    StartOptions o = Parse({"-L12,5"});
    EXPECT_EQ(o.locateLine, 12);
    EXPECT_EQ(o.locateColumn, 5);
    o = Parse({"-l(7,3)"});
    EXPECT_EQ(o.locateLine, 7);
    EXPECT_EQ(o.locateColumn, 3);
    o = Parse({"-L", "40"});
    EXPECT_EQ(o.locateLine, 40);
    EXPECT_EQ(o.locateColumn, 0);
    o = Parse({"-L12,x", "a.txt"});
    EXPECT_EQ(o.error, "Command option 'L' requires line,column numbers: '12,x'.");
    EXPECT_EQ(o.locateLine, 0);
    EXPECT_TRUE(o.files.empty());
}

TEST(StartOptions, CommandQuotesAreTakenOff) {
    EXPECT_EQ(Parse({"-S'find abc;top'"}).command, "find abc;top");
    EXPECT_EQ(Parse({"-S\"find 'x'\""}).command, "find 'x'");
    EXPECT_EQ(Parse({"-Stop"}).command, "top");
    StartOptions separate = Parse({"-S", "locate 10"});
    EXPECT_TRUE(separate.hasCommand);
    EXPECT_EQ(separate.command, "locate 10");
    EXPECT_EQ(Parse({"-S'find abc"}).error, "Command option 'S' quote not closed: 'find abc");
    EXPECT_EQ(Parse({"-S"}).error, "Command option 'S' requires a command.");
    EXPECT_EQ(Parse({"-S''"}).error, "Command option 'S' requires a command.");
}

TEST(StartOptions, BrowseAppliesToEveryFileAndAloneSetsTheVariable) {
    StartOptions o = Parse({"a.txt", "-B", "b.txt"});
    ASSERT_EQ(o.files.size(), 2u);
    EXPECT_EQ(o.files[0].mode, OpenMode::Browse);
    EXPECT_EQ(o.files[1].mode, OpenMode::Browse);
    EXPECT_TRUE(o.browseVariable);
    o = Parse({"-Bc.txt"});
    ASSERT_EQ(o.files.size(), 1u);
    EXPECT_EQ(o.files[0].name, "c.txt");
    EXPECT_EQ(o.files[0].mode, OpenMode::Browse);
    EXPECT_FALSE(o.browseVariable);
}

TEST(StartOptions, ErrorsStopTheRestOfTheLine) {
    StartOptions o = Parse({"a.txt", "-Q", "b.txt", "-Stop"});
    EXPECT_EQ(o.error, "Invalid command option 'Q'.");
    ASSERT_EQ(o.files.size(), 1u);
    EXPECT_FALSE(o.hasCommand);
    EXPECT_EQ(Parse({"-q"}).error, "Invalid command option 'q'.");
    EXPECT_TRUE(Parse({"-E", "-z", "-H"}).error.empty());
    EXPECT_TRUE(Parse({"-H"}).hold);
    EXPECT_EQ(Parse({"-Hx"}).error, "Command option 'H' takes no value: 'x'.");
    EXPECT_EQ(Parse({"-R"}).error, "Command option 'R' requires a message file name.");
    EXPECT_EQ(Parse({"-R", "errs.txt"}).mergeFile, "errs.txt");
    EXPECT_EQ(Parse({"-I"}).error, "Command option 'I' requires a name.");
    EXPECT_EQ(Parse({"-M", "-L3"}).error, "Command option 'M' requires a record length number: ''.");
    EXPECT_EQ(Parse({"-Mabc"}).error, "Command option 'M' requires a record length number: 'abc'.");
}

TEST(StartOptions, ThirtyTwoFilesAndNamesOf255Characters) {
    std::vector<std::string> words;
    for (int i = 0; i < 32; ++i) {
        words.push_back("f" + std::to_string(i));
    }
    EXPECT_TRUE(Parse(words).error.empty());
    words.push_back("one-too-many");
    StartOptions o = Parse(words);
    EXPECT_EQ(o.error, "Max number of file names is limited to 32'");
    EXPECT_EQ(o.files.size(), 32u);

    std::string longest(255, 'n');
    EXPECT_TRUE(Parse({longest}).error.empty());
    EXPECT_EQ(Parse({longest + "n"}).error, "Drive+Path+Filename too long '" + longest + "n'");
}

TEST(ProgramOptions, TakesItsOwnOptionsAndLeavesTheEditors) {
    std::vector<std::string> args = {"tavoe", "--batch", "--size", "100x30", "-B", "x.txt", "--keep"};
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    ProgramOptions o = ParseProgramOptions(static_cast<int>(argv.size()), argv.data());
    EXPECT_TRUE(o.error.empty());
    EXPECT_TRUE(o.batch);
    EXPECT_TRUE(o.keep);
    EXPECT_EQ(o.cols, 100);
    EXPECT_EQ(o.rows, 30);
    EXPECT_EQ(o.editorWords, (std::vector<std::string>{"-B", "x.txt"}));

    std::vector<std::string> bad = {"tavoe", "--size", "5x5"};
    std::vector<char*> badArgv;
    for (std::string& a : bad) {
        badArgv.push_back(a.data());
    }
    EXPECT_FALSE(ParseProgramOptions(3, badArgv.data()).error.empty());
    std::vector<std::string> unknown = {"tavoe", "--frobnicate"};
    std::vector<char*> unknownArgv{unknown[0].data(), unknown[1].data()};
    EXPECT_EQ(ParseProgramOptions(2, unknownArgv.data()).error, "unknown option '--frobnicate' (try --help)");
}

}  // namespace
