#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tavoe {

// The clipboard the editor's instances share, and its link to the desktop's clipboard.
//
// Our own clipboard is a file under the user's runtime directory that holds the exact bytes of the
// last copy (display-set text, CR LF after each line, as the editor builds it), so every instance of
// the same user sees it and a round trip of any byte through it is exact. The desktop side is best
// effort: the text is offered, converted to UTF-8, to wl-copy or xclip when one is present, and on
// reading the desktop's text is taken instead of our file when it changed after our last write. The
// conversion and the desktop programs are passed in, so tests need neither a desktop nor a charset.

// Converts between the clipboard's display-set bytes and the desktop's UTF-8 text.
class ClipboardCodec {
public:
    virtual ~ClipboardCodec() = default;
    virtual std::string ToUtf8(std::string_view displayBytes) const = 0;
    virtual std::string FromUtf8(std::string_view utf8) const = 0;
};

// The desktop's clipboard programs.
class DesktopClipboard {
public:
    virtual ~DesktopClipboard() = default;
    // Whether there is any desktop program at all (no conversion is made for an absent desktop).
    virtual bool Present() const { return true; }
    // Hands UTF-8 text to the desktop; false when no program took it.
    virtual bool Offer(std::string_view utf8) = 0;
    // The desktop's current text; nullopt when there is no desktop clipboard to read (no program, no
    // display, or it holds no text).
    virtual std::optional<std::string> Take() = 0;
};

// No desktop: offers are refused and nothing can be read.
class NoDesktopClipboard final : public DesktopClipboard {
public:
    bool Present() const override { return false; }
    bool Offer(std::string_view) override { return false; }
    std::optional<std::string> Take() override { return std::nullopt; }
};

// The programs of this machine: wl-copy / wl-paste when WAYLAND_DISPLAY is set, else xclip when
// DISPLAY is set, each only when found along PATH. TAVOE_CLIPBOARD_TOOLS chooses instead: "none"
// (our file alone, as batch tests use), "wayland" or "xclip".
std::unique_ptr<DesktopClipboard> SystemDesktopClipboard();

// The directory of the clipboard file: $XDG_RUNTIME_DIR/tavoe when that variable names a directory,
// else /tmp/tavoe-<uid>. Created with mode 0700 when missing. A directory that exists but belongs to
// another user or is open to others is not used (empty result), so nobody else can plant or read
// the text.
std::string ClipboardDirectory();

// Where a written text went.
struct ClipboardWriteResult {
    bool stored = false;       // our clipboard file holds it
    bool desktopTook = false;  // a desktop program took it too
    bool abandoned = false;    // the text's source gave up; the clipboard kept its old text
    int error = 0;             // errno of the failed store
    std::size_t bytes = 0;     // bytes stored (the text up to its first NUL)
};

// A text handed to the clipboard piece by piece, so a copy of a million lines never holds the whole
// text in memory: each call fills `piece` (empty on entry) and says whether more may follow, the
// text has ended, or the source gives up (then nothing of it is kept).
enum class ClipboardPiece { More, End, Abandon };
using ClipboardPieces = std::function<ClipboardPiece(std::string& piece)>;

// The pieces of a text that is at hand whole: the text itself, then the end.
ClipboardPieces SinglePiece(std::string_view bytes);

class Clipboard {
public:
    // `directory` empty: the clipboard works in memory for this instance only.
    Clipboard(std::string directory, std::unique_ptr<DesktopClipboard> desktop);

    // Replaces the clipboard contents by `bytes` up to their first NUL (the text's end on the
    // clipboard). The file is replaced atomically (temporary file and rename), so a reader sees the
    // old or the new text, never a part.
    ClipboardWriteResult Write(std::string_view bytes, const ClipboardCodec& codec);

    // The same for a text in pieces. Every piece is asked for, those after a NUL too (their bytes are
    // dropped), so the source sees its whole text and may still give up at its end.
    ClipboardWriteResult Write(const ClipboardPieces& pieces, const ClipboardCodec& codec);

    // The clipboard text: the desktop's, converted, when it changed after our last write; else our
    // own file's. Ends at the first NUL. nullopt when the clipboard is empty.
    std::optional<std::string> Read(const ClipboardCodec& codec);

    // Whether Read would give some text.
    bool HoldsText(const ClipboardCodec& codec);

    const std::string& FilePath() const { return filePath_; }

private:
    std::optional<std::string> ReadOwn() const;
    std::uint64_t SeenDesktopStamp() const;
    void RememberDesktop(std::string_view utf8);
    void OfferDesktop(std::string_view bytes, const ClipboardCodec& codec, ClipboardWriteResult& result);

    std::string directory_;
    std::string filePath_;
    std::string stampPath_;
    std::unique_ptr<DesktopClipboard> desktop_;
    std::optional<std::string> memory_;  // without a directory
    std::uint64_t memoryStamp_ = 0;
};

// The 64-bit FNV-1a hash of a text, with its length mixed in; what we remember of the desktop text.
std::uint64_t ClipboardTextStamp(std::string_view text);

}  // namespace tavoe
