#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "buffer/charset.h"
#include "commands/find_commands.h"
#include "core/app_session.h"
#include "core/shell_port.h"
#include "core/storage_host.h"
#include "editing/edit_session.h"
#include "filelist/file_ops.h"
#include "filelist/file_ops_common.h"
#include "platform/file_io.h"
#include "platform/format.h"
#include "profiles/file_profile.h"
#include "profiles/file_profile_io.h"
#include "profiles/profile_name.h"

namespace tavoe {

namespace {

constexpr size_t kSearchBlock = 256 * 1024;

// The search text: what stands between matching quotes when it begins with one, else all of it.
std::string SearchText(std::string_view text) {
    if (!text.empty() && (text.front() == '"' || text.front() == '\'')) {
        size_t close = text.find(text.front(), 1);
        if (close != std::string_view::npos) {
            return std::string(text.substr(1, close - 1));
        }
    }
    return std::string(text);
}

// The first position in data[0, size) where every byte equals the byte of either copy; npos when
// there is none. Candidates are found by the first byte, in either case: each case's next candidate
// is kept until it is passed, so no byte is scanned twice for the same first byte.
size_t FindEitherCase(const unsigned char* data, size_t size, const std::string& upper,
                      const std::string& lower) {
    size_t length = upper.size();
    if (size < length) {
        return std::string::npos;
    }
    const size_t last = size - length + 1;  // candidates start before this
    const auto first = static_cast<unsigned char>(upper[0]);
    const auto second = static_cast<unsigned char>(lower[0]);
    auto next = [data, last](unsigned char byte, size_t from) -> size_t {
        if (from >= last) {
            return last;
        }
        const void* hit = std::memchr(data + from, byte, last - from);
        return hit == nullptr ? last : static_cast<size_t>(static_cast<const unsigned char*>(hit) - data);
    };
    size_t nextUpper = next(first, 0);
    size_t nextLower = first == second ? last : next(second, 0);
    for (;;) {
        size_t offset = std::min(nextUpper, nextLower);
        if (offset >= last) {
            return std::string::npos;
        }
        const unsigned char* hit = data + offset;
        size_t j = 1;
        while (j < length && (hit[j] == static_cast<unsigned char>(upper[j]) ||
                              hit[j] == static_cast<unsigned char>(lower[j]))) {
            ++j;
        }
        if (j == length) {
            return offset;
        }
        if (nextUpper == offset) {
            nextUpper = next(first, offset + 1);
        }
        if (nextLower == offset) {
            nextLower = first == second ? last : next(second, offset + 1);
        }
    }
}

// Runs one search command over the file in a hidden session and returns its count of occurrences.
int SearchInHiddenSession(AppSession& app, std::string_view path, OpenMode mode,
                          void (*command)(AppSession&, EditSession&, std::string_view),
                          const std::string& params) {
    EditSession* session = Shell(app).OpenHiddenSession(app, path, mode);
    if (session == nullptr) {
        return 0;
    }
    command(app, *session, params);
    auto count = static_cast<int>(std::min<int64_t>(session->find.stringCount, INT32_MAX));
    // A change that could not be saved did not happen as far as the file on disk is concerned.
    if (Shell(app).EndHiddenSession(app, session) != 0 && mode == OpenMode::Edit) {
        return 0;
    }
    return count;
}

}  // namespace

int FindInFile(AppSession& app, std::string_view path, std::string_view parameters) {
    return SearchInHiddenSession(app, path, OpenMode::Browse, FindCommand,
                                 "quiet " + std::string(parameters));
}

int ChangeInFile(AppSession& app, std::string_view path, std::string_view parameters) {
    if (IsReadOnly(std::string(path))) {
        return 0;
    }
    return SearchInHiddenSession(app, path, OpenMode::Edit, ChangeCommand,
                                 "all quiet " + std::string(parameters));
}

int SearchFileBytes(AppSession& app, std::string_view pathText, std::string_view textIn,
                    SearchProfileCache* cache) {
    std::string path(pathText);
    std::string text = SearchText(textIn);
    if (text.empty()) {
        return 0;
    }
    std::string upper = text;
    std::string lower = text;
    for (size_t i = 0; i < text.size(); ++i) {
        upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
        lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    }
    SearchProfileCache own;
    SearchProfileCache& sets = cache != nullptr ? *cache : own;
    if (std::string name = ProfileNameForFile(app, path); name != sets.profileName) {
        FileProfile profile;
        (void)ReadFileProfile(app, name, profile);
        sets.profileName = name;
        sets.ebcdic = profile.diskCharset == ProfileCharset::Ebcdic;
        sets.displaySet = static_cast<int>(profile.displayCharset);
    }
    if (sets.ebcdic) {
        auto display = static_cast<CharSet>(sets.displaySet);
        auto size = static_cast<int>(text.size());
        (void)Translate(Storage(app), display, CharSet::Ebcdic, upper.data(), upper.data(), size);
        (void)Translate(Storage(app), display, CharSet::Ebcdic, lower.data(), lower.data(), size);
    }

    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.IsOpen()) {
        return Refuse(app, Format("Unable to open '%s' for SEARCH.", path.c_str()), MsgTo::Box, Beep::Error) +
               1;
    }
    // Only the contents of a regular file are searched: a pipe or device could keep the search waiting.
    struct stat info {};
    if (::fstat(file.Fd(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return 0;
    }
    // The last bytes of each block are kept in front of the next, so that a text lying across two
    // blocks is found as well.
    size_t carry = text.size() - 1;
    // One buffer for every file of a run: clearing a fresh one per file showed in the profile.
    thread_local std::vector<unsigned char> buffer;
    if (buffer.size() < carry + kSearchBlock) {
        buffer.resize(carry + kSearchBlock);
    }
    size_t held = 0;
    for (;;) {
        ssize_t got = ::read(file.Fd(), buffer.data() + held, kSearchBlock);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return Refuse(app, Format("Read error on file %s", path.c_str()), MsgTo::Box, Beep::Error) + 1;
        }
        if (got == 0) {
            return 0;
        }
        held += static_cast<size_t>(got);
        if (FindEitherCase(buffer.data(), held, upper, lower) != std::string::npos) {
            return 1;
        }
        size_t keep = std::min(carry, held);
        std::memmove(buffer.data(), buffer.data() + held - keep, keep);
        held = keep;
    }
}

}  // namespace tavoe
