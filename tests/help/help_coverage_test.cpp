// The shipped help against the program: every command of the three command tables, every line
// command, every dialog and menu has a topic; every example in the help is a command the tables
// take; every "See also" names a topic; the macro shown in the macro topic runs.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "commands/command_set.h"
#include "commands/legacy_jumps.h"
#include "dialogs/built_in_dialogs.h"
#include "dialogs/help_text.h"
#include "shell/instance_ports.h"

using namespace tavoe;

namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(TAVOE_SOURCE_DIR) / "data";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<HelpTopic> Book(const std::string& file) {
    std::string text = ReadFile(kData / "help" / file);
    EXPECT_FALSE(text.empty()) << file;
    return ParseHelpText(text);
}

const std::vector<std::string> kBookFiles = {"help_gpcmd.txt", "help_epcmd.txt", "help_fpcmd.txt",
                                             "help_elcmd.txt", "help_flcmd.txt", "help_dialogs.txt",
                                             "help_guide.txt"};

// Every spelling of the edit line commands, as the prefix area takes them.
const std::vector<std::string> kLineCommands = {
    ".",    "(",    "((", ")",   "))",   "<",    "<<",  ">",   ">>", "A",  "B",  "BN", "BND",
    "BNDS", "C",    "CC", "CO",  "COL",  "COLS", "D",   "DD",  "F",  "I",  "L",  "LC", "LCC",
    "M",    "MM",   "MA", "MAS", "MASK", "MD",   "MDD", "O",   "OO", "R",  "RR", "S",  "TA",
    "TAB",  "TABS", "TE", "TF",  "TJ",   "TS",   "UC",  "UCC", "X",  "XX", "Z",  "ZZ"};

// The file list's one-letter line commands and their block forms.
const std::vector<std::string> kFileListLineCommands = {"E",  "EE", "B",  "BB", "C",  "CC", "M",  "MM", "R",
                                                        "RR", "D",  "DD", "P",  "PP", "I",  "II", "U",  "UU"};

std::set<std::string> NamesOf(const std::vector<HelpTopic>& topics) {
    std::set<std::string> names;
    for (const HelpTopic& topic : topics) {
        names.insert(topic.names.begin(), topic.names.end());
    }
    return names;
}

// A prefix-area text: the name runs to the first digit, the digits are the count (at most 99999).
bool ValidLineCommand(const std::string& text, const std::vector<std::string>& names) {
    if (text.size() >= 2 && text[0] == '.') {
        // A label: "." and 1 to 8 letters, the first not Z.
        std::string letters = text.substr(1);
        return letters.size() <= 8 && std::toupper(static_cast<unsigned char>(letters[0])) != 'Z' &&
               std::all_of(letters.begin(), letters.end(),
                           [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
    }
    size_t digit = text.find_first_of("0123456789");
    std::string name = text.substr(0, digit);
    std::string count = digit == std::string::npos ? "" : text.substr(digit);
    for (char& c : name) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (!count.empty() && (count.size() > 5 || count.find_first_not_of("0123456789") != std::string::npos)) {
        return false;
    }
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsShippedMacro(const std::string& verb) {
    for (const auto& entry : fs::directory_iterator(kData / "macros")) {
        std::string stem = entry.path().stem().string();
        std::string upper;
        for (char c : stem) {
            upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        if (upper == verb) {
            return true;
        }
    }
    return false;
}

std::string Verb(const std::string& example) {
    std::string verb = example.substr(0, example.find(' '));
    for (char& c : verb) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return verb;
}

bool InTable(CommandTable table, const std::string& verb) {
    return ProgramCommands().Find(table, verb) != nullptr;
}

// A command as the command field of any context takes it.
bool ValidAnyCommand(const std::string& example) {
    if (example.empty()) {
        return false;
    }
    if (example[0] == ':') {
        return ValidLineCommand(example.substr(1), kLineCommands);
    }
    if (example[0] == '=') {
        std::span<const LegacyJumpRow> table;
        return LegacyJumpTableFor("Legacy Tavo", table) &&
               FindLegacyJump(table, Verb(example.substr(1))) != nullptr;
    }
    std::string verb = Verb(example);
    return InTable(CommandTable::Edit, verb) || InTable(CommandTable::General, verb) ||
           InTable(CommandTable::FileList, verb) || IsShippedMacro(verb);
}

}  // namespace

TEST(HelpCoverage, EveryCommandOfEveryTableHasATopicInItsBook) {
    const std::pair<CommandTable, std::string> books[] = {{CommandTable::General, "help_gpcmd.txt"},
                                                          {CommandTable::Edit, "help_epcmd.txt"},
                                                          {CommandTable::FileList, "help_fpcmd.txt"}};
    for (const auto& [table, file] : books) {
        std::set<std::string> names = NamesOf(Book(file));
        ASSERT_FALSE(ProgramCommands().Rows(table).empty());
        for (const CommandDesc* row : ProgramCommands().Rows(table)) {
            EXPECT_TRUE(names.count(std::string(row->verb))) << row->verb << " has no topic in " << file;
        }
    }
}

TEST(HelpCoverage, EveryLineCommandSpellingHasATopic) {
    std::set<std::string> edit = NamesOf(Book("help_elcmd.txt"));
    for (const std::string& name : kLineCommands) {
        EXPECT_TRUE(edit.count(name)) << "edit line command " << name;
    }
    std::set<std::string> fileList = NamesOf(Book("help_flcmd.txt"));
    for (const std::string& name : kFileListLineCommands) {
        EXPECT_TRUE(fileList.count(name)) << "file list line command " << name;
    }
}

TEST(HelpCoverage, EveryDialogDefinitionAndMenuHasATopic) {
    std::set<std::string> names = NamesOf(Book("help_dialogs.txt"));
    for (std::string_view dialog : BuiltInDialogNames) {
        EXPECT_TRUE(names.count(std::string(dialog))) << "dialog " << dialog;
    }
    for (const auto& entry : fs::directory_iterator(kData / "dialogs")) {
        EXPECT_TRUE(names.count(HelpTopicKey(entry.path().stem().string()))) << entry.path().filename();
    }
    for (const auto& entry : fs::directory_iterator(kData / "menus")) {
        EXPECT_TRUE(names.count(HelpTopicKey("MENU " + entry.path().stem().string())))
            << entry.path().filename();
    }
    // F1 in an edit session and in a file list.
    EXPECT_TRUE(NamesOf(Book("help_guide.txt")).count("EDITING"));
    EXPECT_TRUE(NamesOf(Book("help_fpcmd.txt")).count("FILE LIST"));
}

TEST(HelpCoverage, EveryTopicHasASummaryAndEverySeeAlsoNamesATopic) {
    std::set<std::string> all;
    std::map<std::string, std::vector<HelpTopic>> books;
    for (const std::string& file : kBookFiles) {
        books[file] = Book(file);
        std::set<std::string> names = NamesOf(books[file]);
        all.insert(names.begin(), names.end());
    }
    for (const auto& [file, topics] : books) {
        ASSERT_FALSE(topics.empty()) << file;
        std::set<std::string> seen;
        for (const HelpTopic& topic : topics) {
            EXPECT_FALSE(topic.summary.empty()) << file << " " << topic.names.front();
            EXPECT_LE(topic.summary.size(), 74u) << file << " " << topic.names.front();
            for (const std::string& name : topic.names) {
                EXPECT_TRUE(seen.insert(name).second) << file << ": two topics named " << name;
            }
            for (const std::string& line : topic.lines) {
                EXPECT_LE(line.size(), 74u) << file << " " << topic.names.front() << ": " << line;
                if (line.rfind("See also: ", 0) != 0) {
                    continue;
                }
                std::string rest = line.substr(10);
                size_t start = 0;
                while (start < rest.size()) {
                    size_t comma = rest.find(',', start);
                    std::string name = HelpTopicKey(rest.substr(start, comma - start));
                    EXPECT_TRUE(all.count(name))
                        << file << " " << topic.names.front() << ": see also " << name;
                    start = comma == std::string::npos ? rest.size() : comma + 1;
                }
            }
        }
    }
}

TEST(HelpCoverage, EveryExampleIsACommandTheTablesTake) {
    const std::pair<std::string, CommandTable> commandBooks[] = {{"help_gpcmd.txt", CommandTable::General},
                                                                 {"help_epcmd.txt", CommandTable::Edit},
                                                                 {"help_fpcmd.txt", CommandTable::FileList}};
    size_t checked = 0;
    for (const auto& [file, table] : commandBooks) {
        for (const HelpTopic& topic : Book(file)) {
            for (const std::string& example : topic.examples) {
                ++checked;
                EXPECT_TRUE(InTable(table, Verb(example)))
                    << file << " " << topic.names.front() << ": " << example;
            }
            // A command's own topic shows the command itself.
            if (InTable(table, topic.names.front())) {
                EXPECT_TRUE(
                    std::any_of(topic.examples.begin(), topic.examples.end(),
                                [&topic](const std::string& e) { return Verb(e) == topic.names.front(); }))
                    << file << " " << topic.names.front() << " has no example of itself";
            }
        }
    }
    for (const HelpTopic& topic : Book("help_elcmd.txt")) {
        EXPECT_FALSE(topic.examples.empty()) << topic.names.front();
        for (const std::string& example : topic.examples) {
            ++checked;
            EXPECT_TRUE(ValidLineCommand(example, kLineCommands)) << topic.names.front() << ": " << example;
        }
    }
    for (const HelpTopic& topic : Book("help_flcmd.txt")) {
        for (const std::string& example : topic.examples) {
            ++checked;
            EXPECT_TRUE(ValidLineCommand(example, kFileListLineCommands))
                << topic.names.front() << ": " << example;
        }
    }
    for (const std::string file : {"help_dialogs.txt", "help_guide.txt"}) {
        for (const HelpTopic& topic : Book(file)) {
            for (const std::string& example : topic.examples) {
                ++checked;
                EXPECT_TRUE(ValidAnyCommand(example))
                    << file << " " << topic.names.front() << ": " << example;
            }
        }
    }
    EXPECT_GT(checked, 250u);
}

// The checks above would pass on examples they cannot tell apart; make sure they do tell.
TEST(HelpCoverage, TheExampleChecksRefuseWhatIsNotACommand) {
    EXPECT_TRUE(ValidLineCommand("d5", kLineCommands));
    EXPECT_TRUE(ValidLineCommand("CC", kLineCommands));
    EXPECT_TRUE(ValidLineCommand(".ab", kLineCommands));
    EXPECT_FALSE(ValidLineCommand(".zz", kLineCommands));  // Z starts the system labels
    EXPECT_FALSE(ValidLineCommand("Q", kLineCommands));
    EXPECT_FALSE(ValidLineCommand("D123456", kLineCommands));
    EXPECT_FALSE(ValidLineCommand("5D", kLineCommands));
    EXPECT_TRUE(ValidAnyCommand(":i3"));
    EXPECT_TRUE(ValidAnyCommand("=3.4"));
    EXPECT_FALSE(ValidAnyCommand("=9.9"));
    EXPECT_TRUE(ValidAnyCommand("wordcnt PERFORM"));
    EXPECT_FALSE(ValidAnyCommand("FROBNICATE 3"));
    EXPECT_FALSE(InTable(CommandTable::Edit, "OPEN"));
}

// The macro of the macro topic, between its begin and end lines, runs as shown.
TEST(HelpCoverage, TheMacroTopicsExampleRuns) {
    std::vector<HelpTopic> guide = Book("help_guide.txt");
    const HelpTopic* macros = FindHelpTopic(guide, "MACROS");
    ASSERT_NE(macros, nullptr);
    std::string source;
    bool inside = false;
    for (const std::string& line : macros->lines) {
        if (line.find("------ end greet.c") != std::string::npos) {
            inside = false;
        }
        if (inside) {
            source += line.substr(std::min<size_t>(4, line.find_first_not_of(' '))) + "\n";
        }
        if (line.find("------ begin greet.c") != std::string::npos) {
            inside = true;
        }
    }
    ASSERT_NE(source.find("void main"), std::string::npos);

    const char* base = std::getenv("TAVOE_TEST_TMP");
    fs::path dir = fs::path(base != nullptr ? base : fs::temp_directory_path().string()) /
                   ("help_macro_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "home");
    fs::create_directories(dir / "tavoe35" / "macros");
    std::ofstream(dir / "tavoe35" / "macros" / "greet.c") << source;
    std::ofstream(dir / "script") << "greet Ann\n!var GREET.TOTAL\n";
    std::string command = "cd '" + dir.string() + "' && HOME='" + (dir / "home").string() + "' TAVOE35='" +
                          (dir / "tavoe35").string() + "' '" + TAVOE_BINARY_DIR +
                          "/bin/tavoe' --batch <script 2>&1";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            output.append(buffer, got);
        }
        EXPECT_EQ(WEXITSTATUS(::pclose(pipe)), 0) << output;
    }
    fs::remove_all(dir);
    EXPECT_NE(output.find("Hello, Ann: 1 + ... + 10 = 55"), std::string::npos) << output;
    EXPECT_NE(output.find("var: GREET.TOTAL=55"), std::string::npos) << output;
}
