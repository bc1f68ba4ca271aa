#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/app_session.h"
#include "core/var_store.h"
#include "macro/macro_engine.h"
#include "macro/macro_program.h"
#include "macro/macro_source.h"
#include "platform/ascii_case.h"

using namespace tavoe;

// One program for MacroFixture::Eval: declarations, the body of main, and the value main leaves in r.
struct EvalCase {
    const char* decls;
    const char* body;
    const char* expected;
};

// A host that records the commands a macro asks for, answers the trace from a script, and presses
// Escape after a given number of polls.
class RecordingHost : public MacroHost {
public:
    bool EscapePressed(AppSession&) override { return escapeAfter >= 0 && ++polls > escapeAfter; }
    TraceAnswer AskTrace(AppSession&, std::string_view, std::string_view listing) override {
        listings.emplace_back(listing);
        if (answers.empty()) {
            return TraceAnswer::Step;
        }
        TraceAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    int RunCommand(AppSession&, std::string_view command) override {
        commands.emplace_back(command);
        return 0;
    }

    int escapeAfter = -1;
    int polls = 0;
    std::deque<TraceAnswer> answers;
    std::vector<std::string> listings;
    std::vector<std::string> commands;
};

// A working directory and a library directory (ZPATH.MACROS) per test; macros are written there and
// run through the engine as a command line would start them.
class MacroFixture : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        const char* base = std::getenv("TAVOE_TEST_TMP");
        fs::path parent = base != nullptr && *base != '\0' ? fs::path(base) : fs::temp_directory_path();
        root = parent / ("tavoe_macro_" + std::to_string(::getpid()) + "_" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "work");
        fs::create_directories(root / "lib");
        work = (root / "work").string();
        lib = (root / "lib").string();
        VarSetValue(app, "ZPATH.MACROS", lib);
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    void WriteMacro(const std::string& name, const std::string& text) { Write(work + "/" + name, text); }

    // Runs "NAME args..." as the command processor would: the source is found in the working
    // directory or along ZPATH.MACROS. Returns -2 when no source is found.
    int Run(const std::string& commandLine) {
        size_t blank = commandLine.find(' ');
        MacroLaunch request;
        request.name = commandLine.substr(0, blank);
        request.arguments =
            blank == std::string::npos ? "" : commandLine.substr(commandLine.find_first_not_of(' ', blank));
        request.workingDirectory = work;
        request.sourcePath = FindMacroSourceFile(app, work, UpperAscii(request.name) + ".C");
        if (request.sourcePath.empty()) {
            return -2;
        }
        std::filesystem::remove(work + "/errmsg.txt");
        return MacroStart(app, engine, request);
    }

    // Runs a program written as T.C and returns its first error as "T.C(line,col) message", or "".
    std::string FirstError(const std::string& source) {
        engine.cache.clear();
        WriteMacro("T.C", source);
        Run("t");
        return ErrorLine(1);
    }

    // Line n of the error file (0 is the source path), with directories cut from the path.
    std::string ErrorLine(size_t n) const {
        std::string text = Read(work + "/errmsg.txt");
        std::istringstream in(text);
        std::string line;
        for (size_t i = 0; std::getline(in, line); ++i) {
            if (i == n) {
                size_t paren = line.find('(');
                size_t slash = line.rfind('/', paren);
                return slash == std::string::npos ? line : line.substr(slash + 1);
            }
        }
        return {};
    }

    // A global of the cached macro run last under that name.
    std::string Global(const std::string& macroName, const std::string& var) {
        CompiledMacro* macro = engine.FindCached(macroName);
        if (macro == nullptr) {
            return "<not cached>";
        }
        MacroVar* v = macro->FindGlobal(var);
        return v == nullptr ? "<undeclared>" : v->value.IsNull() ? "<null>" : v->value.Text();
    }
    std::string Element(const std::string& macroName, const std::string& var, size_t index) {
        CompiledMacro* macro = engine.FindCached(macroName);
        MacroVar* v = macro == nullptr ? nullptr : macro->FindGlobal(var);
        if (v == nullptr || index >= v->elements.size()) {
            return "<none>";
        }
        return v->elements[index].Text();
    }

    // Runs a program as T.C whose main function is the body given; returns the value of the global r.
    std::string Eval(const std::string& decls, const std::string& body) {
        WriteMacro("T.C", "char *r;\n" + decls + "\nvoid main(void)\n{\n" + body + "\n}\n");
        int rc = Run("t");
        if (rc != 0) {
            return "<error: " + ErrorLine(1) + ">";
        }
        std::string value = Global("t", "r");
        engine.cache.clear();
        return value;
    }

    std::filesystem::path root;
    std::string work;
    std::string lib;
    AppSession app;
    MacroEngine engine;
    RecordingHost& host = InstallHost();

private:
    RecordingHost& InstallHost() {
        auto owned = std::make_unique<RecordingHost>();
        RecordingHost& ref = *owned;
        engine.SetHost(std::move(owned));
        return ref;
    }
};
