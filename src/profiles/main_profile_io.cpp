#include "profiles/main_profile_io.h"

#include <sys/stat.h>
#include <unistd.h>
#include <climits>
#include <cstdlib>

namespace tavoe {

bool ReadTextLine(std::FILE* file, size_t maxChars, std::string& line) {
    line.clear();
    bool any = false;
    bool cut = false;  // past a NUL or past maxChars: the rest of the line is dropped
    int c;
    while ((c = std::getc(file)) != EOF) {
        any = true;
        if (c == '\n') {
            break;
        }
        if (c == '\0') {
            cut = true;
        }
        if (!cut) {
            // One character past the limit is held back so a CR right before the newline still goes.
            if (line.size() < maxChars + 1) {
                line.push_back(static_cast<char>(c));
            } else {
                cut = true;
            }
        }
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (line.size() > maxChars) {
        line.resize(maxChars);
    }
    return any;
}

ReplacingFileWriter::~ReplacingFileWriter() {
    Discard();
}

bool ReplacingFileWriter::Open(const std::string& path) {
    Discard();
    target = path;
    // Writing through a link keeps the link: the file it names is the one replaced.
    char real[PATH_MAX];
    struct stat st;
    bool exists = ::lstat(path.c_str(), &st) == 0;
    if (exists && S_ISLNK(st.st_mode) && ::realpath(path.c_str(), real) != nullptr) {
        target = real;
    }
    exists = ::stat(target.c_str(), &st) == 0;
    size_t slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    temp = (slash == std::string::npos ? std::string() : dir) + "." + base + ".XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        temp.clear();
        return false;
    }
    mode_t mode;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    file.reset(::fdopen(fd, "w"));
    if (!file) {
        ::close(fd);
        Discard();
        return false;
    }
    failed = false;
    return true;
}

void ReplacingFileWriter::Write(std::string_view text) {
    if (file && !text.empty() && std::fwrite(text.data(), 1, text.size(), file.get()) != text.size()) {
        failed = true;
    }
}

bool ReplacingFileWriter::Commit() {
    if (!file) {
        return false;
    }
    bool ok = !failed && std::fflush(file.get()) == 0 && std::ferror(file.get()) == 0 &&
              ::fsync(::fileno(file.get())) == 0;
    ok = std::fclose(file.release()) == 0 && ok;
    if (ok && std::rename(temp.c_str(), target.c_str()) == 0) {
        temp.clear();
        return true;
    }
    Discard();
    return false;
}

void ReplacingFileWriter::Discard() {
    file.reset();
    if (!temp.empty()) {
        ::unlink(temp.c_str());
        temp.clear();
    }
}

}  // namespace tavoe
