#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace tavoe {

// Clipboard text taken apart into lines: PASTE and COLSPASTE read it the same way.

// The position of the next CR or LF at or after `from` (npos when none). Each byte is looked for
// with memchr, which is many times faster on long texts than testing every byte for both.
class LineEndFinder {
public:
    explicit LineEndFinder(std::string_view text)
        : text_(text), nextCr_(Find('\r', 0)), nextLf_(Find('\n', 0)) {}
    std::size_t Next(std::size_t from) {
        if (nextCr_ != std::string_view::npos && nextCr_ < from) {
            nextCr_ = Find('\r', from);
        }
        if (nextLf_ != std::string_view::npos && nextLf_ < from) {
            nextLf_ = Find('\n', from);
        }
        return std::min(nextCr_, nextLf_);
    }

private:
    std::size_t Find(char byte, std::size_t from) const {
        if (from >= text_.size()) {
            return std::string_view::npos;
        }
        const void* hit = std::memchr(text_.data() + from, byte, text_.size() - from);
        return hit != nullptr ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data())
                              : std::string_view::npos;
    }
    std::string_view text_;
    std::size_t nextCr_;
    std::size_t nextLf_;
};

inline bool HasLineEnd(std::string_view text) {
    return LineEndFinder(text).Next(0) != std::string_view::npos;
}

// Calls fn(line, lineEnd) for each line of the clipboard text, lines ending at CR LF, CR or LF; a
// last part without a line end is a line too. Stops when fn returns false.
template <typename Fn>
void ForEachClipboardLine(std::string_view text, Fn&& fn) {
    LineEndFinder ends(text);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = ends.Next(start);
        if (end == std::string_view::npos) {
            fn(text.substr(start), std::string_view());
            return;
        }
        const std::size_t endLength =
            text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
        if (!fn(text.substr(start, end - start), text.substr(end, endLength))) {
            return;
        }
        start = end + endLength;
    }
}

}  // namespace tavoe
