#include "platform/clipboard.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/file_io.h"
#include "platform/file_write.h"
#include "platform/memory_pages.h"
#include "platform/process_run.h"

namespace tavoe {

namespace {

constexpr const char* kClipboardFile = "clipboard";
// What the desktop held (or was given) at our last write, as a stamp: a desktop text with another
// stamp was put there after that write.
constexpr const char* kDesktopStampFile = "clipboard.desktop";
// The largest desktop text we read back (a paste beyond it is cut there).
constexpr std::size_t kDesktopReadLimit = std::size_t{1} << 30;
// A desktop clipboard program that has not answered by then (a display server that hangs) is
// stopped, and the editor goes on with its own clipboard file.
constexpr int kDesktopToolTimeoutMs = 3000;

std::string_view UpToNul(std::string_view bytes) {
    return bytes.substr(0, std::min(bytes.find('\0'), bytes.size()));
}

std::string Getenv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// A directory we own and nobody else may enter; made when missing.
bool PrivateDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
        return false;
    }
    return (info.st_mode & 0077) == 0;
}

// Reads the whole file, or nullopt when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path) {
    FileHandle handle(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (!handle.IsOpen()) {
        return std::nullopt;
    }
    FileStamp stamp;
    if (!StatHandle(handle, stamp).Ok() || !stamp.isRegular) {
        return std::nullopt;
    }
    std::string data;
    data.reserve(static_cast<std::size_t>(stamp.size));
    PopulatePages(data.data(), data.capacity());
    data.resize(static_cast<std::size_t>(stamp.size));
    std::size_t got = 0;
    if (!ReadFull(handle, data.data(), data.size(), &got).Ok()) {
        return std::nullopt;
    }
    data.resize(got);
    return data;
}

// Replaces the file by `data` through a temporary file and a rename.
int WriteFileAtomically(const std::string& path, std::string_view data) {
    FileHandle handle;
    std::string tempPath;
    if (IoResult made = CreateTempBeside(path, handle, tempPath); !made.Ok()) {
        return made.error;
    }
    std::size_t written = 0;
    IoResult result = WriteAll(handle, data.data(), data.size(), &written);
    handle.Close();
    if (result.Ok()) {
        result = ReplaceFile(tempPath, path);
    }
    if (!result.Ok()) {
        (void)RemoveFile(tempPath);
    }
    return result.error;
}

// The desktop programs of one kind: a copy program reading standard input, and a paste program.
class ToolDesktopClipboard final : public DesktopClipboard {
public:
    ToolDesktopClipboard(std::vector<std::string> copyArgv, std::vector<std::string> pasteArgv,
                         std::string scratchDirectory)
        : copyArgv_(std::move(copyArgv)),
          pasteArgv_(std::move(pasteArgv)),
          scratchDirectory_(std::move(scratchDirectory)) {}

    // The copy program reads the text from a scratch file through the shell's redirection ("$1" keeps
    // the path one word whatever it holds); the program forks to serve the selection and returns.
    bool Offer(std::string_view utf8) override {
        if (scratchDirectory_.empty()) {
            return false;
        }
        const std::string scratch = scratchDirectory_ + "/clipboard.offer";
        if (WriteFileAtomically(scratch, utf8) != 0) {
            return false;
        }
        std::string command = "exec";
        for (const std::string& word : copyArgv_) {
            command += ' ' + ShellQuote(word);
        }
        command += " <\"$1\"";
        ProcessOptions options;
        options.output = ChildStream::Null;
        options.errors = ChildStream::Null;
        options.timeoutMilliseconds = kDesktopToolTimeoutMs;
        ProcessResult run = RunProcess({"/bin/sh", "-c", command, "sh", scratch}, options);
        (void)RemoveFile(scratch);
        return run.started && run.exitStatus == 0;
    }

    std::optional<std::string> Take() override {
        ProcessOptions options;
        options.output = ChildStream::Capture;
        options.errors = ChildStream::Null;
        options.outputLimit = kDesktopReadLimit;
        options.timeoutMilliseconds = kDesktopToolTimeoutMs;
        ProcessResult run = RunProcess(pasteArgv_, options);
        if (!run.started || run.exitStatus != 0 || run.output.empty()) {
            return std::nullopt;
        }
        return std::move(run.output);
    }

private:
    std::vector<std::string> copyArgv_;
    std::vector<std::string> pasteArgv_;
    std::string scratchDirectory_;
};

std::unique_ptr<DesktopClipboard> WaylandTools() {
    return std::make_unique<ToolDesktopClipboard>(std::vector<std::string>{"wl-copy"},
                                                  std::vector<std::string>{"wl-paste", "--no-newline"},
                                                  ClipboardDirectory());
}

std::unique_ptr<DesktopClipboard> XclipTools() {
    return std::make_unique<ToolDesktopClipboard>(
        std::vector<std::string>{"xclip", "-selection", "clipboard", "-in"},
        std::vector<std::string>{"xclip", "-selection", "clipboard", "-out"}, ClipboardDirectory());
}

}  // namespace

std::uint64_t ClipboardTextStamp(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : text) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    hash ^= static_cast<std::uint64_t>(text.size()) * 0x9E3779B97F4A7C15ull;
    return hash == 0 ? 1 : hash;  // 0 stands for "nothing remembered"
}

std::unique_ptr<DesktopClipboard> SystemDesktopClipboard() {
    const std::string choice = Getenv("TAVOE_CLIPBOARD_TOOLS");
    if (choice == "none") {
        return std::make_unique<NoDesktopClipboard>();
    }
    if (choice == "wayland") {
        return WaylandTools();
    }
    if (choice == "xclip") {
        return XclipTools();
    }
    if (!Getenv("WAYLAND_DISPLAY").empty() && ProgramAvailable("wl-copy") && ProgramAvailable("wl-paste")) {
        return WaylandTools();
    }
    if (!Getenv("DISPLAY").empty() && ProgramAvailable("xclip")) {
        return XclipTools();
    }
    return std::make_unique<NoDesktopClipboard>();
}

std::string ClipboardDirectory() {
    std::string runtime = Getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    std::string path;
    if (!runtime.empty() && runtime[0] == '/' && ::stat(runtime.c_str(), &info) == 0 &&
        S_ISDIR(info.st_mode)) {
        path = runtime + "/tavoe";
    } else {
        path = "/tmp/tavoe-" + std::to_string(::getuid());
    }
    return PrivateDirectory(path) ? path : std::string();
}

Clipboard::Clipboard(std::string directory, std::unique_ptr<DesktopClipboard> desktop)
    : directory_(std::move(directory)), desktop_(std::move(desktop)) {
    if (!desktop_) {
        desktop_ = std::make_unique<NoDesktopClipboard>();
    }
    if (!directory_.empty()) {
        filePath_ = directory_ + "/" + kClipboardFile;
        stampPath_ = directory_ + "/" + kDesktopStampFile;
    }
}

ClipboardPieces SinglePiece(std::string_view bytes) {
    return [bytes, given = false](std::string& piece) mutable {
        if (given) {
            return ClipboardPiece::End;
        }
        given = true;
        piece.assign(bytes);
        return ClipboardPiece::More;
    };
}

ClipboardWriteResult Clipboard::Write(std::string_view bytes, const ClipboardCodec& codec) {
    return Write(SinglePiece(bytes), codec);
}

ClipboardWriteResult Clipboard::Write(const ClipboardPieces& pieces, const ClipboardCodec& codec) {
    ClipboardWriteResult result;
    FileHandle handle;
    std::string tempPath;
    if (!filePath_.empty()) {
        if (IoResult made = CreateTempBeside(filePath_, handle, tempPath); !made.Ok()) {
            result.error = made.error;
            return result;
        }
    }
    // The whole text is kept only where it is needed: in memory without a directory, and for the
    // desktop's programs.
    const bool keepWhole = filePath_.empty() || desktop_->Present();
    std::string whole;
    std::string piece;
    bool ended = false;  // a NUL ended the text
    IoResult written;
    ClipboardPiece said = ClipboardPiece::More;
    while (written.Ok() && (said = pieces(piece)) == ClipboardPiece::More) {
        std::string_view part = ended ? std::string_view() : UpToNul(piece);
        ended = ended || part.size() < piece.size();
        if (!part.empty()) {
            result.bytes += part.size();
            if (keepWhole) {
                whole.append(part);
            }
            if (handle.IsOpen()) {
                std::size_t count = 0;
                written = WriteAll(handle, part.data(), part.size(), &count);
            }
        }
        piece.clear();
    }
    handle.Close();
    if (said == ClipboardPiece::Abandon || !written.Ok()) {
        result.abandoned = said == ClipboardPiece::Abandon;
        result.error = written.error;
        if (!tempPath.empty()) {
            (void)RemoveFile(tempPath);
        }
        return result;
    }
    if (tempPath.empty()) {
        memory_ = whole;
    } else if (IoResult replaced = ReplaceFile(tempPath, filePath_); !replaced.Ok()) {
        (void)RemoveFile(tempPath);
        result.error = replaced.error;
        return result;
    }
    result.stored = true;
    if (desktop_->Present()) {
        OfferDesktop(whole, codec, result);
    }
    return result;
}

void Clipboard::OfferDesktop(std::string_view bytes, const ClipboardCodec& codec,
                             ClipboardWriteResult& result) {
    std::string utf8 = codec.ToUtf8(bytes);
    result.desktopTook = desktop_->Offer(utf8);
    if (result.desktopTook) {
        RememberDesktop(utf8);
    } else {
        // The desktop keeps what it had; only a later change of it is newer than this write.
        std::optional<std::string> current = desktop_->Take();
        RememberDesktop(current ? std::string_view(*current) : std::string_view());
    }
}

std::optional<std::string> Clipboard::Read(const ClipboardCodec& codec) {
    if (std::optional<std::string> desktop = desktop_->Present() ? desktop_->Take() : std::nullopt;
        desktop && !desktop->empty()) {
        if (ClipboardTextStamp(*desktop) != SeenDesktopStamp()) {
            std::string bytes = codec.FromUtf8(*desktop);
            bytes.resize(UpToNul(bytes).size());
            if (!bytes.empty()) {
                return bytes;
            }
        }
    }
    return ReadOwn();
}

bool Clipboard::HoldsText(const ClipboardCodec& codec) {
    std::optional<std::string> text = Read(codec);
    return text && !text->empty();
}

std::optional<std::string> Clipboard::ReadOwn() const {
    std::optional<std::string> text = filePath_.empty() ? memory_ : ReadWholeFile(filePath_);
    if (text) {
        text->resize(UpToNul(*text).size());
        if (text->empty()) {
            return std::nullopt;
        }
    }
    return text;
}

std::uint64_t Clipboard::SeenDesktopStamp() const {
    if (stampPath_.empty()) {
        return memoryStamp_;
    }
    std::optional<std::string> text = ReadWholeFile(stampPath_);
    return text ? std::strtoull(text->c_str(), nullptr, 10) : 0;
}

void Clipboard::RememberDesktop(std::string_view utf8) {
    const std::uint64_t stamp = utf8.empty() ? 0 : ClipboardTextStamp(utf8);
    if (stampPath_.empty()) {
        memoryStamp_ = stamp;
        return;
    }
    (void)WriteFileAtomically(stampPath_, std::to_string(stamp));
}

}  // namespace tavoe
