#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "buffer/file_state.h"

namespace tavoe {

// The command line of the program.
//
// Program options (they decide how the program runs and are read first): --help, --version,
// --batch, --size COLSxROWS, --keep, --history. The editor's options, each a "-" and a letter in either case,
// with its value attached or in the next word:
//   -B           the named files are browsed; alone (no name attached) it also sets ZBROWSE "TRUE"
//   -E, -Z       accepted and ignored
//   -H           hold: an instance started for files keeps running when its last context closes
//   -I name      ZIMACRO = name (upper case)       -P name   ZPROFILE = name (upper case)
//   -X name      ZXMACRO = name (upper case)       -M n      ZMAXRECLEN = n
//   -L12,5       after the first file opens, LOCATE line 12 and put the cursor in data column 5;
//                also -L(12,5)
//   -R file      the message file merged into the first file opened (MERGEMSG)
//   -S'cmd'      the command run after the files are opened; also -S"cmd", -Scmd and -S cmd
// Any other word is a file name (at most 32, each at most 255 characters).

inline constexpr int kMaxStartFiles = 32;

struct StartFile {
    std::string name;
    OpenMode mode = OpenMode::Edit;
};

struct ProgramOptions {
    bool help = false;
    bool version = false;
    bool batch = false;
    bool keep = false;
    bool keepHistory = false;  // --history: a batch run's commands and files stay in the user's lists
    int rows = 24;
    int cols = 80;
    std::vector<std::string> editorWords;  // everything else, in order
    std::string error;                     // a bad program option: the text to print
};

// Takes the program options out of argv (from argv[1]).
ProgramOptions ParseProgramOptions(int argc, char** argv);

// The editor's options as read up to the first error.
struct StartOptions {
    std::vector<StartFile> files;
    bool browse = false;          // -B given
    bool browseVariable = false;  // a bare -B: ZBROWSE "TRUE"
    bool hold = false;            // -H
    // Variables to set, in the order given: ZIMACRO, ZPROFILE, ZXMACRO, ZMAXRECLEN.
    std::vector<std::pair<std::string, std::string>> variables;
    int locateLine = 0;     // -L; 0 = none
    int locateColumn = 0;   // -L column; 0 = none given
    std::string mergeFile;  // -R
    bool hasCommand = false;
    std::string command;  // -S
    std::string error;    // the message that stopped the reading; empty when all was read
    bool Empty() const;   // nothing at all was given
};

// Reads the editor's words. Reading stops at the first error, whose message is in `error` (the
// messages of the system: "Invalid command option '%c'.", "Max number of file names is limited to
// %d'", "Drive+Path+Filename too long '%s'" and those of the options' values); what was read before
// it stays in effect.
StartOptions ParseStartOptions(const std::vector<std::string>& words);

// The usage text printed by --help.
std::string UsageText();

}  // namespace tavoe
