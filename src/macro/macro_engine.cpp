#include "macro/macro_engine.h"

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "macro/macro_compiler.h"
#include "macro/macro_error.h"
#include "macro/macro_interp.h"
#include "macro/macro_lexer.h"
#include "macro/macro_program.h"
#include "macro/macro_source.h"
#include "platform/ascii_case.h"
#include "platform/format.h"

namespace tavoe {

MacroEngine::MacroEngine() : host(std::make_unique<MacroHost>()) {}

MacroEngine::~MacroEngine() {
    for (std::FILE*& file : files) {
        if (file != nullptr) {
            std::fclose(file);
            file = nullptr;
        }
    }
}

void MacroEngineDeleter::operator()(MacroEngine* engine) const {
    delete engine;
}

MacroEngine& MacroEngineOf(AppSession& app) {
    if (!app.macroEngine) {
        app.macroEngine.reset(new MacroEngine());
    }
    return *app.macroEngine;
}

CompiledMacro* MacroEngine::FindCached(std::string_view name) {
    for (auto& macro : cache) {
        if (macro->name == name) {
            return macro.get();
        }
    }
    return nullptr;
}

void MacroEngine::Discard(CompiledMacro* macro) {
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (it->get() == macro) {
            cache.erase(it);
            return;
        }
    }
}

std::vector<std::string> MacroSplitArguments(std::string_view path, std::string_view arguments) {
    std::vector<std::string> words{std::string(path)};
    size_t pos = 0;
    while (words.size() < static_cast<size_t>(kMacroArgvMax)) {
        while (pos < arguments.size() && (arguments[pos] == ' ' || arguments[pos] == '\t')) {
            ++pos;
        }
        if (pos >= arguments.size()) {
            break;
        }
        size_t end = 0;
        if (arguments[pos] == '"' || arguments[pos] == '\'') {
            end = arguments.find(arguments[pos], pos + 1);
            end = end == std::string_view::npos ? arguments.size() : end + 1;
        } else {
            end = arguments.find_first_of(" \t", pos);
            end = end == std::string_view::npos ? arguments.size() : end;
        }
        words.emplace_back(arguments.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

std::unique_ptr<CompiledMacro> MacroBuild(AppSession& app, const MacroLaunch& request) {
    auto macro = std::make_unique<CompiledMacro>();
    macro->name = request.name;
    macro->sourcePath = request.sourcePath;
    macro->workingDirectory = request.workingDirectory;
    macro->arguments = request.arguments;
    if (MacroLoadSource(app, *macro, UpperAscii(request.name) + ".C") == 0) {
        MacroTokenize(app, *macro);
        if (!macro->error) {
            MacroCompile(app, *macro);
        }
    }
    // The tokens and source lines are not needed once the p-code stands.
    std::vector<MacroToken>().swap(macro->tokens);
    macro->literalTexts.clear();
    std::vector<MacroSourceRecord>().swap(macro->records);
    std::string().swap(macro->source);
    return macro;
}

void MacroShowErrorFile(AppSession& app, MacroHost& host, const CompiledMacro& macro) {
    if (macro.errors.path.empty()) {
        return;  // no file could be written: each message was shown as it came
    }
    if (VarGetValue(app, "ZNEWEDITS") == "StackInCurrentSession") {
        host.RunCommand(app, Format("edit %s", macro.errors.firstPath.c_str()));
        host.RunCommand(app, Format("mergemsg %s", macro.errors.path.c_str()));
        host.RunCommand(app, "top;locate special");
        return;
    }
    ShowMessage(
        app,
        "Options, Editor, 'NewEdits' must be set to 'StackInCurrentSession' to enable merging of error "
        "messages with macro source.\n\nOtherwise we browse raw message file.",
        MsgTo::Box, Beep::Information);
    host.RunCommand(app, Format("browse %s", macro.errors.path.c_str()));
}

namespace {

void SetArguments(CompiledMacro& macro) {
    std::vector<std::string> words = MacroSplitArguments(macro.sourcePath, macro.arguments);
    MacroVar* argv = macro.FindGlobal("argv");
    MacroVar* argc = macro.FindGlobal("argc");
    if (argv != nullptr) {
        argv->elements.resize(words.size());
        for (size_t i = 0; i < words.size(); ++i) {
            argv->elements[i].SetText(words[i]);
        }
    }
    if (argc != nullptr) {
        argc->value.SetInt(static_cast<int32_t>(words.size()));
    }
}

// Keeps the running-macro stack and the nesting count for as long as one macro runs.
class RunningMark {
public:
    RunningMark(MacroEngine& engine, CompiledMacro& macro, const std::string& name)
        : engine_(engine), macro_(macro) {
        ++engine_.nesting;
        engine_.running.push_front(name);
        if (engine_.running.size() > static_cast<size_t>(kMacroRunningMax)) {
            engine_.running.pop_back();
        }
        macro_.running = true;
    }
    ~RunningMark() {
        macro_.running = false;
        if (!engine_.running.empty()) {
            engine_.running.pop_front();
        }
        --engine_.nesting;
    }
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;

private:
    MacroEngine& engine_;
    CompiledMacro& macro_;
};

}  // namespace

// A macro that is already running (started again from within itself) runs as a fresh compile of
// its own, so the two runs never share frames or program status words.
int MacroStart(AppSession& app, MacroEngine& engine, const MacroLaunch& request) {
    if (engine.nesting >= kMacroRunNestingMax) {
        ShowMessage(app, Format("Macro %s not started: macros nested too deeply", request.name.c_str()),
                    MsgTo::Box, Beep::Error);
        return -1;
    }
    MacroHost& host = engine.Host();
    CompiledMacro* macro = engine.FindCached(request.name);
    bool fromCache = macro != nullptr && !macro->running;
    std::unique_ptr<CompiledMacro> fresh;
    if (!fromCache) {
        fresh = MacroBuild(app, request);
        macro = fresh.get();
        if (macro->error) {
            MacroCloseErrorFile(*macro);
            MacroShowErrorFile(app, host, *macro);
            return -1;
        }
    }
    macro->arguments = request.arguments;
    SetArguments(*macro);
    {
        RunningMark mark(engine, *macro, request.name);
        MacroInterp interp(app, engine, *macro);
        interp.RunProgram();
    }
    bool failed = macro->error;
    if (!failed && VarGetValue(app, "ZCACHE.MACROS") != "FALSE") {
        if (fresh && engine.FindCached(request.name) == nullptr) {
            engine.cache.push_back(std::move(fresh));
        }
        return 0;
    }
    if (MacroCloseErrorFile(*macro)) {
        MacroShowErrorFile(app, host, *macro);
    }
    if (fromCache) {
        engine.Discard(macro);
    }
    return failed ? -1 : 0;
}

}  // namespace tavoe
