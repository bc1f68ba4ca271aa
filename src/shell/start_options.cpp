#include "shell/start_options.h"

#include <cctype>
#include <charconv>
#include <cstring>

#include "platform/ascii_case.h"
#include "platform/format.h"
#include "ui/headless/headless_backend.h"

namespace tavoe {

namespace {

bool AllDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

bool ToNumber(std::string_view text, int* out) {
    if (!AllDigits(text) || text.size() > 9) {
        return false;
    }
    std::from_chars(text.data(), text.data() + text.size(), *out);
    return true;
}

// "12,5", "(12,5)" or "12": line and optional column.
bool ParseLocate(std::string_view text, int* line, int* column) {
    if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        text = text.substr(1, text.size() - 2);
    }
    size_t comma = text.find(',');
    std::string_view linePart = text.substr(0, comma);
    if (!ToNumber(linePart, line)) {
        return false;
    }
    *column = 0;
    if (comma != std::string_view::npos) {
        return ToNumber(text.substr(comma + 1), column);
    }
    return true;
}

// The -S text without the quotes around it; false when an opening quote is not closed.
bool Unquote(std::string_view text, std::string* out) {
    if (!text.empty() && (text.front() == '\'' || text.front() == '"')) {
        if (text.size() < 2 || text.back() != text.front()) {
            return false;
        }
        text = text.substr(1, text.size() - 2);
    }
    *out = std::string(text);
    return true;
}

}  // namespace

bool StartOptions::Empty() const {
    return files.empty() && !browse && !hold && variables.empty() && locateLine == 0 && mergeFile.empty() &&
           !hasCommand;
}

ProgramOptions ParseProgramOptions(int argc, char** argv) {
    ProgramOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string_view word = argv[i];
        if (word == "--help") {
            options.help = true;
        } else if (word == "--version") {
            options.version = true;
        } else if (word == "--batch") {
            options.batch = true;
        } else if (word == "--keep") {
            options.keep = true;
        } else if (word == "--size" || word.starts_with("--size=")) {
            std::string_view size;
            if (word == "--size") {
                if (i + 1 >= argc) {
                    options.error = "--size needs COLSxROWS, e.g. --size 80x24";
                    return options;
                }
                size = argv[++i];
            } else {
                size = word.substr(7);
            }
            if (!ui::HeadlessBackend::ParseSize(size, options.rows, options.cols)) {
                options.error = Format("--size needs COLSxROWS between 10x5 and 1000x500, not '%s'",
                                       std::string(size).c_str());
                return options;
            }
        } else if (word == "--") {
            // The end of the options: every later word is a file name, even one starting with "-".
            for (int j = i; j < argc; ++j) {
                options.editorWords.emplace_back(argv[j]);
            }
            break;
        } else if (word.starts_with("--")) {
            options.error = Format("unknown option '%s' (try --help)", std::string(word).c_str());
            return options;
        } else {
            options.editorWords.emplace_back(word);
        }
    }
    return options;
}

StartOptions ParseStartOptions(const std::vector<std::string>& words) {
    StartOptions options;
    bool filesOnly = false;  // after the word "--"
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--" && !filesOnly) {
            filesOnly = true;
            continue;
        }
        if (filesOnly || word.size() < 2 || word[0] != '-') {
            if (static_cast<int>(options.files.size()) >= kMaxStartFiles) {
                options.error = Format("Max number of file names is limited to %d'", kMaxStartFiles);
                return options;
            }
            if (word.size() > 255) {
                options.error = Format("Drive+Path+Filename too long '%s'", word.c_str());
                return options;
            }
            options.files.push_back(StartFile{word, OpenMode::Edit});
            continue;
        }
        char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(word[1])));
        std::string value = word.substr(2);
        // Options with a value take the next word when nothing is attached.
        auto takeValue = [&]() {
            if (value.empty() && i + 1 < words.size() && (words[i + 1].empty() || words[i + 1][0] != '-')) {
                value = words[++i];
            }
        };
        switch (letter) {
            case 'B':
                options.browse = true;
                if (value.empty()) {
                    options.browseVariable = true;
                } else {
                    if (static_cast<int>(options.files.size()) >= kMaxStartFiles) {
                        options.error = Format("Max number of file names is limited to %d'", kMaxStartFiles);
                        return options;
                    }
                    if (value.size() > 255) {
                        options.error = Format("Drive+Path+Filename too long '%s'", value.c_str());
                        return options;
                    }
                    options.files.push_back(StartFile{value, OpenMode::Browse});
                }
                break;
            case 'E':
            case 'Z':
                break;
            case 'H':
                if (!value.empty()) {
                    options.error = Format("Command option 'H' takes no value: '%s'.", value.c_str());
                    return options;
                }
                options.hold = true;
                break;
            case 'I':
            case 'P':
            case 'X': {
                takeValue();
                if (value.empty()) {
                    options.error = Format("Command option '%c' requires a name.", letter);
                    return options;
                }
                const char* variable = letter == 'I' ? "ZIMACRO" : letter == 'P' ? "ZPROFILE" : "ZXMACRO";
                options.variables.emplace_back(variable, UpperAscii(value));
                break;
            }
            case 'M': {
                takeValue();
                int length = 0;
                if (!ToNumber(value, &length)) {
                    options.error =
                        Format("Command option 'M' requires a record length number: '%s'.", value.c_str());
                    return options;
                }
                options.variables.emplace_back("ZMAXRECLEN", value);
                break;
            }
            case 'L':
                takeValue();
                if (!ParseLocate(value, &options.locateLine, &options.locateColumn)) {
                    options.error =
                        Format("Command option 'L' requires line,column numbers: '%s'.", value.c_str());
                    options.locateLine = 0;
                    options.locateColumn = 0;
                    return options;
                }
                break;
            case 'R':
                takeValue();
                if (value.empty()) {
                    options.error = "Command option 'R' requires a message file name.";
                    return options;
                }
                options.mergeFile = value;
                break;
            case 'S': {
                if (value.empty() && i + 1 < words.size()) {
                    value = words[++i];
                }
                std::string command;
                if (!Unquote(value, &command)) {
                    options.error = Format("Command option 'S' quote not closed: %s", value.c_str());
                    return options;
                }
                if (command.find_first_not_of(' ') == std::string::npos) {
                    options.error = "Command option 'S' requires a command.";
                    return options;
                }
                options.hasCommand = true;
                options.command = command;
                break;
            }
            default:
                options.error = Format("Invalid command option '%c'.", word[1]);
                return options;
        }
    }
    // A bare -B browses every file named.
    if (options.browse) {
        for (StartFile& file : options.files) {
            file.mode = OpenMode::Browse;
        }
    }
    return options;
}

std::string UsageText() {
    return "Usage: tavoe [options] [file...]\n"
           "\n"
           "Edits record-oriented files in the terminal.\n"
           "\n"
           "Editor options (a letter in either case; the value attached or in the next word):\n"
           "  -B            browse the named files (read-only)\n"
           "  -H            keep running when the last file named here is closed\n"
           "  -I name       entry macro for the files opened (ZIMACRO)\n"
           "  -X name       exit macro for the files opened (ZXMACRO)\n"
           "  -P name       file profile to open the files with (ZPROFILE)\n"
           "  -M n          maximum record length (ZMAXRECLEN)\n"
           "  -L line,col   after opening, locate the line and put the cursor in the column\n"
           "  -R file       merge a compiler message file into the first file opened\n"
           "  -S'command'   run a primary command after the files are opened\n"
           "  --            the end of the options: every later word is a file name\n"
           "\n"
           "Program options:\n"
           "  --batch            run headless: read a script from standard input\n"
           "  --size COLSxROWS   screen size in batch mode (default 80x24)\n"
           "  --keep             batch mode: print the final screen instead of ending the files\n"
           "  --help             show this text\n"
           "  --version          show the version\n"
           "\n"
           "Environment: TAVOE35 names the user's home directory (profiles, dialogs, macros, menus).\n";
}

}  // namespace tavoe
