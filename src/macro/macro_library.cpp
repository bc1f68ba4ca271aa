#include "macro/macro_library.h"

#include <cstring>

namespace tavoe {

int LibraryRegistry::Find(const std::string& library, const std::string& entryName) const {
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].library == library && entries[i].entryName == entryName) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

const LibraryEntry* LibraryRegistry::At(int32_t handle) const {
    if (handle < 1 || static_cast<size_t>(handle) > entries.size()) {
        return nullptr;
    }
    return &entries[static_cast<size_t>(handle) - 1];
}

namespace {

using Text = const char*;

// One pointer type per argument count, so the call passes exactly the registered number of
// arguments, each in the place the platform's calling convention gives it, and nothing is pushed
// or read that the count does not name.
template <typename R>
R Invoke(void* function, const Text* a, size_t count) {
    switch (count) {
        case 0:
            return reinterpret_cast<R (*)()>(function)();
        case 1:
            return reinterpret_cast<R (*)(Text)>(function)(a[0]);
        case 2:
            return reinterpret_cast<R (*)(Text, Text)>(function)(a[0], a[1]);
        case 3:
            return reinterpret_cast<R (*)(Text, Text, Text)>(function)(a[0], a[1], a[2]);
        case 4:
            return reinterpret_cast<R (*)(Text, Text, Text, Text)>(function)(a[0], a[1], a[2], a[3]);
        case 5:
            return reinterpret_cast<R (*)(Text, Text, Text, Text, Text)>(function)(a[0], a[1], a[2], a[3],
                                                                                   a[4]);
        case 6:
            return reinterpret_cast<R (*)(Text, Text, Text, Text, Text, Text)>(function)(a[0], a[1], a[2],
                                                                                         a[3], a[4], a[5]);
        case 7:
            return reinterpret_cast<R (*)(Text, Text, Text, Text, Text, Text, Text)>(function)(
                a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
        default:
            return reinterpret_cast<R (*)(Text, Text, Text, Text, Text, Text, Text, Text)>(function)(
                a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
    }
}

}  // namespace

std::string CallLibraryEntry(const LibraryEntry& entry, std::span<const std::string> texts) {
    if (entry.function == nullptr || texts.size() > static_cast<size_t>(kLibraryArgsMax)) {
        return {};
    }
    // The texts are owned here and stay put for the whole call.
    Text args[kLibraryArgsMax] = {};
    for (size_t i = 0; i < texts.size(); ++i) {
        args[i] = texts[i].c_str();
    }
    if (!entry.returnsText) {
        Invoke<void>(entry.function, args, texts.size());
        return {};
    }
    Text back = Invoke<Text>(entry.function, args, texts.size());
    if (back == nullptr) {
        return {};
    }
    // The text lives in the library's own buffer, which its next call overwrites: copy it now.
    return std::string(back, ::strnlen(back, kLibraryResultMax));
}

}  // namespace tavoe
