#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "core/app_session.h"
#include "core/var_store.h"
#include "macro/macro_engine.h"
#include "macro/macro_interp.h"
#include "macro/macro_runtime.h"
#include "platform/file_io.h"
#include "platform/format.h"
#include "platform/search_path.h"

namespace tavoe {

// The file functions. Failures of the operation itself are answers ("0", "ERROR", "EOF", "FALSE")
// that the macro tests; only misuse of the functions is a run-time error.

namespace fs = std::filesystem;

namespace {

constexpr size_t kRecordMax = 1023;  // characters FILERECREAD takes from one line

bool IsRelative(const std::string& name) {
    return name.find('/') == std::string::npos;
}

// A name without a directory is taken in the macro's working directory.
std::string InWorkingDirectory(const RuntimeCall& call, const std::string& name) {
    return IsRelative(name) ? JoinPath(call.interp.Macro().workingDirectory, name) : name;
}

std::FILE** Slot(const RuntimeCall& call, int32_t handle) {
    if (handle < 1 || handle > kMacroFileSlots) {
        return nullptr;
    }
    std::FILE** slot = &call.interp.Engine().files[handle - 1];
    return *slot != nullptr ? slot : nullptr;
}

// Open modes as a standard stream takes them: r, w or a, then any of "+", "b", "t".
bool ValidMode(const std::string& mode) {
    if (mode.empty() || (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a')) {
        return false;
    }
    return mode.find_first_not_of("+bt", 1) == std::string::npos && mode.size() <= 4;
}

bool OneFileName(const RuntimeCall& call, const char* message, std::string& name) {
    if (call.Count() != 1) {
        return call.Fail(message);
    }
    return call.Text(0, name);
}

}  // namespace

bool RtFileOpen(const RuntimeCall& call) {
    std::string name;
    std::string mode;
    if (call.Count() != 2) {
        return call.Fail("RUNTIME: two parameters required, P1=file-name, P2=open-mode");
    }
    if (!call.Text(0, name) || !call.Text(1, mode)) {
        return false;
    }
    call.Return("0");
    if (name.empty() || mode.empty() || !ValidMode(mode)) {
        return true;
    }
    std::string path = InWorkingDirectory(call, name);
    // Directories, pipes and devices are refused: a pipe would block the editor on open.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return true;
    }
    auto& files = call.interp.Engine().files;
    for (size_t i = 0; i < files.size(); ++i) {
        if (files[i] == nullptr) {
            std::string cmode = mode;
            cmode.erase(std::remove(cmode.begin(), cmode.end(), 't'), cmode.end());
            files[i] = std::fopen(path.c_str(), (cmode + "e").c_str());
            if (files[i] != nullptr) {
                call.ReturnNumber(static_cast<int64_t>(i) + 1);
            }
            return true;
        }
    }
    return true;
}

bool RtFileClose(const RuntimeCall& call) {
    int32_t handle = 0;
    if (call.Count() != 1) {
        return call.Fail("RUNTIME: one parameter required, P1=file-handle");
    }
    if (!call.Number(0, handle)) {
        return false;
    }
    if (std::FILE** slot = Slot(call, handle)) {
        std::fclose(*slot);
        *slot = nullptr;
    }
    call.Return("");
    return true;
}

bool RtFileRecRead(const RuntimeCall& call) {
    int32_t handle = 0;
    if (call.Count() != 2) {
        return call.Fail("RUNTIME: two parameters required, P1=file-handle, P2=record-receiver-buf");
    }
    if (!call.IsVariable(1)) {
        return call.Fail("RUNTIME: P2 must be a VAR");
    }
    if (!call.Number(0, handle)) {
        return false;
    }
    std::FILE** slot = Slot(call, handle);
    if (slot == nullptr) {
        return call.Fail("RUNTIME: P1 is not a valid file handle");
    }
    std::string record;
    int c = 0;
    bool any = false;
    while (record.size() < kRecordMax && (c = std::getc(*slot)) != EOF) {
        any = true;
        if (c == '\n') {
            break;
        }
        record.push_back(static_cast<char>(c));
    }
    bool failed = !any && std::ferror(*slot) != 0;
    if (!record.empty() && record.back() == '\r' && c == '\n') {
        record.pop_back();
    }
    MacroValue* target = call.VarSlot(1);
    if (target == nullptr) {
        return call.interp.Failed() ? false : call.Fail("RUNTIME: P2, unable to resolve var reference");
    }
    target->SetText(any ? record : std::string());
    call.Return(failed ? "ERROR" : any ? "OK" : "EOF");
    return true;
}

bool RtFileRecWrite(const RuntimeCall& call) {
    int32_t handle = 0;
    std::string record;
    if (call.Count() != 2) {
        return call.Fail("RUNTIME: two parameters required, P1=file-handle, P2=record");
    }
    if (!call.Number(0, handle) || !call.Text(1, record)) {
        return false;
    }
    std::FILE** slot = Slot(call, handle);
    if (slot == nullptr) {
        return call.Fail("RUNTIME: P1 is not a valid file handle");
    }
    record.push_back('\n');
    bool ok = std::fwrite(record.data(), 1, record.size(), *slot) == record.size() && std::fflush(*slot) == 0;
    call.Return(ok ? "OK" : "ERROR");
    return true;
}

bool RtFileDelete(const RuntimeCall& call) {
    std::string name;
    if (!OneFileName(call, "RUNTIME: one parameter required, P1=file-spec", name)) {
        return false;
    }
    if (name.empty()) {
        call.Return("ERROR");
        return true;
    }
    std::string path = InWorkingDirectory(call, name);
    struct stat info {};
    bool ok = ::lstat(path.c_str(), &info) != 0 ? errno == ENOENT : ::unlink(path.c_str()) == 0;
    call.Return(ok ? "OK" : "ERROR");
    return true;
}

bool RtFileExist(const RuntimeCall& call) {
    std::string name;
    if (!OneFileName(call, "RUNTIME: one parameter required, P1=file-spec", name)) {
        return false;
    }
    struct stat info {};
    call.ReturnBool(!name.empty() && ::stat(InWorkingDirectory(call, name).c_str(), &info) == 0);
    return true;
}

bool RtFileIsDir(const RuntimeCall& call) {
    std::string name;
    if (!OneFileName(call, "RUNTIME: one parameter required, P1=file-spec", name)) {
        return false;
    }
    struct stat info {};
    call.ReturnBool(!name.empty() && ::stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode));
    return true;
}

bool RtFilePrint(const RuntimeCall& call) {
    std::string name;
    if (!OneFileName(call, "RUNTIME: one parameter required, P1=file-name", name)) {
        return false;
    }
    // A name without a directory is taken in the macro's working directory, as the other file
    // functions take it; an empty name prints nothing.
    if (!name.empty()) {
        call.interp.Engine().Host().PrintFile(call.interp.App(), InWorkingDirectory(call, name));
    }
    call.Return("");
    return true;
}

// A source naming several files (a pattern, or a directory) is copied into a target directory; a
// single file copied onto a directory keeps its name there.
bool RtFileCopy(const RuntimeCall& call) {
    std::string source;
    std::string target;
    if (call.Count() != 2) {
        return call.Fail("RUNTIME: two parameters required, P1=source-file-name, P2=target-file-name");
    }
    if (!call.Text(0, source) || !call.Text(1, target)) {
        return false;
    }
    std::string base = VarGetValue(call.interp.App(), "ZDSNPATH");
    if (IsRelative(source)) {
        if (base.empty()) {
            return call.Fail(
                "RUNTIME: source-file-name must be fully qualified when edit/browse not active.");
        }
        source = JoinPath(base, source);
    }
    if (IsRelative(target)) {
        if (base.empty()) {
            return call.Fail(
                "RUNTIME: target-file-name must be fully qualified when edit/browse not active.");
        }
        target = JoinPath(base, target);
    }
    std::error_code error;
    bool pattern = PathFileName(source).find_first_of("*?") != std::string::npos;
    bool sourceIsDir = fs::is_directory(source, error);
    bool targetIsDir = fs::is_directory(target, error);
    bool ok = true;
    if (pattern || sourceIsDir) {
        if (!targetIsDir) {
            return call.Fail("RUNTIME: not allowed to copy directory to file");
        }
        if (sourceIsDir) {
            fs::copy(source, fs::path(target) / fs::path(source).filename(),
                     fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
            ok = !error;
        } else {
            std::string directory = PathDirectory(source);
            std::string mask = PathFileName(source);
            for (const auto& entry : fs::directory_iterator(directory.empty() ? "." : directory, error)) {
                std::string name = entry.path().filename().string();
                if (entry.is_regular_file() && ::fnmatch(mask.c_str(), name.c_str(), 0) == 0) {
                    std::error_code one;
                    fs::copy_file(entry.path(), fs::path(target) / name, fs::copy_options::overwrite_existing,
                                  one);
                    ok = ok && !one;
                }
            }
            ok = ok && !error;
        }
    } else {
        fs::path to = targetIsDir ? fs::path(target) / fs::path(source).filename() : fs::path(target);
        ok = fs::is_regular_file(source, error) &&
             fs::copy_file(source, to, fs::copy_options::overwrite_existing, error) && !error;
    }
    call.Return(ok ? "OK" : "ERROR");
    return true;
}

}  // namespace tavoe
