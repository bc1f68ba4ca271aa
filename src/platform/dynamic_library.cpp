#include "platform/dynamic_library.h"

#include <dlfcn.h>

#include <vector>

#include "platform/ascii_case.h"

namespace tavoe {

namespace {

void* Open(const std::string& path) {
    return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

std::vector<std::string> CandidateFiles(const std::string& stem) {
    std::vector<std::string> files{stem};
    bool endsInSo = stem.size() > 3 && stem.compare(stem.size() - 3, 3, ".so") == 0;
    if (!endsInSo) {
        files.push_back("lib" + stem + ".so");
        files.push_back(stem + ".so");
    }
    return files;
}

}  // namespace

std::string SharedLibraryStem(std::string_view name) {
    std::string stem(name);
    if (stem.size() > 4 && UpperAscii(stem.substr(stem.size() - 4)) == ".DLL") {
        stem.resize(stem.size() - 4);
    }
    return stem;
}

void* OpenSharedLibrary(std::string_view name, std::span<const std::string> directories) {
    if (name.empty() || name.find('\0') != std::string_view::npos) {
        return nullptr;
    }
    if (name.find('/') != std::string_view::npos) {
        return Open(std::string(name));
    }
    std::vector<std::string> files = CandidateFiles(SharedLibraryStem(name));
    for (const std::string& directory : directories) {
        if (directory.empty()) {
            continue;
        }
        std::string prefix = directory.back() == '/' ? directory : directory + "/";
        for (const std::string& file : files) {
            if (void* library = Open(prefix + file)) {
                return library;
            }
        }
    }
    // By the system's rules: a bare file name makes the loader search its own path.
    for (const std::string& file : files) {
        if (void* library = Open(file)) {
            return library;
        }
    }
    return nullptr;
}

void* SharedLibrarySymbol(void* library, const std::string& symbol) {
    if (library == nullptr || symbol.empty()) {
        return nullptr;
    }
    ::dlerror();
    return ::dlsym(library, symbol.c_str());
}

}  // namespace tavoe
