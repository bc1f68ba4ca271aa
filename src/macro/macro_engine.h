#pragma once

#include <array>
#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "macro/macro_host.h"
#include "macro/macro_runner.h"

namespace tavoe {

// The macro engine of one session: the cache of compiled macros, the stack of running macros, the
// files macros have open, the pool of program status words, and the host that connects the engine
// to the editor. MacroStart compiles (or reuses) and runs one macro.

struct AppSession;
struct CompiledMacro;
struct MacroFunction;
struct PNode;

inline constexpr int kMacroPswCount = 64;       // active statement lists at once
inline constexpr int kMacroFileSlots = 31;      // files open through FILEOPEN, handles 1..31
inline constexpr int kMacroRunningMax = 32;     // entries of the running-macro stack
inline constexpr int kMacroRunNestingMax = 32;  // macros started from within running macros

// A program status word: one active statement list.
struct Psw {
    Psw* link = nullptr;
    MacroFunction* function = nullptr;
    PNode* next = nullptr;
    PNode* continuation = nullptr;
    bool inUse = false;
};

struct MacroEngine {
    MacroEngine();
    ~MacroEngine();
    MacroEngine(const MacroEngine&) = delete;
    MacroEngine& operator=(const MacroEngine&) = delete;

    // The host: the base one until the instance installs its own.
    MacroHost& Host() { return *host; }
    void SetHost(std::unique_ptr<MacroHost> newHost) { host = std::move(newHost); }

    // Compiled macros by the name as typed (case-sensitive).
    CompiledMacro* FindCached(std::string_view name);
    void Discard(CompiledMacro* macro);

    std::vector<std::unique_ptr<CompiledMacro>> cache;
    std::deque<std::string> running;  // names of running macros, newest first
    int nesting = 0;                  // MacroStart calls active
    std::array<std::FILE*, kMacroFileSlots> files{};
    std::array<Psw, kMacroPswCount> psws{};
    Psw* pswTop = nullptr;

private:
    std::unique_ptr<MacroHost> host;
};

// The instance's macro engine, made on first use.
MacroEngine& MacroEngineOf(AppSession& app);

// Runs a macro: the cached compile of that name when there is one, else the source is loaded,
// lexed and compiled (and cached when it runs without error and ZCACHE.MACROS is not "FALSE").
// After an error the error file is shown. Returns 0 on success, -1 after errors.
int MacroStart(AppSession& app, MacroEngine& engine, const MacroLaunch& request);

// Compiles a macro from its source without running it (loading, lexing and compiling): for the
// fuzzers, the benchmarks and tests. The macro's error flag tells the outcome.
std::unique_ptr<CompiledMacro> MacroBuild(AppSession& app, const MacroLaunch& request);

// argv of a run: the source path, then the argument words (a word beginning with a quote runs to
// the matching quote and keeps it), at most 32 elements in all.
std::vector<std::string> MacroSplitArguments(std::string_view path, std::string_view arguments);

// Shows the error file of a failed macro: merged into the source when ZNEWEDITS is
// "StackInCurrentSession", otherwise browsed raw after a note.
void MacroShowErrorFile(AppSession& app, MacroHost& host, const CompiledMacro& macro);

}  // namespace tavoe
