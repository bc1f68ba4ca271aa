#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// Running other programs with an argument vector: no shell sees the words, so blanks, quotes and
// semicolons in file names stay inside their word. Where a shell is wanted on purpose, ShellQuote
// makes a word safe to put into its command line.

// Where the child's standard streams go.
enum class ChildStream {
    Inherit,  // the editor's own (the terminal, or the batch output)
    Null,     // /dev/null
    Capture,  // standard output only: collected into ProcessResult::output
};

enum class ChildWait {
    Wait,    // run to its end; the exit status is returned
    NoWait,  // return once started; the child is reaped by the system (it is detached)
};

struct ProcessOptions {
    ChildStream input = ChildStream::Null;
    ChildStream output = ChildStream::Inherit;  // Capture collects standard output
    ChildStream errors = ChildStream::Inherit;  // Capture is taken as Null here
    ChildWait wait = ChildWait::Wait;
    bool newProcessGroup = true;   // the child does not receive the terminal's Ctrl-C meant for us
    bool searchPath = true;        // the first word without "/" is looked up along PATH
    std::string directory;         // working directory; empty: the editor's
    size_t outputLimit = 1 << 20;  // captured bytes kept (the rest is read and dropped)
    // With Wait: a child still running after this many milliseconds is killed (its whole group when
    // it has its own) and counts as ended by SIGKILL; 0 waits for as long as it runs.
    int timeoutMilliseconds = 0;
};

struct ProcessResult {
    bool started = false;  // false: the program could not be run at all (errorCode says why)
    int errorCode = 0;     // errno of the failed start
    int exitStatus = -1;   // with Wait: the exit code, or 128 + signal number; -1 otherwise
    int pid = 0;
    std::string output;  // captured standard output
};

// Runs argv[0] with the arguments argv. A program that cannot be found or executed counts as not
// started (started false, errorCode set), not as an exit status. An empty argv is not started.
ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options);

// Whether the process still exists (it has not ended and been reaped). For processes that are not our
// children, such as a command started in another terminal window.
bool ProcessAlive(int pid);

// The word in single quotes for /bin/sh, each "'" written as '\'' so the word reaches the program
// as it is, whatever it holds.
std::string ShellQuote(std::string_view word);

// The first word of the program name is found along PATH (or is a path itself) and is executable.
bool ProgramAvailable(std::string_view program);

}  // namespace tavoe
