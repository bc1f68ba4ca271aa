#pragma once

namespace tavoe {

// The result of an operation that reports its own failures: 0 when it did its work, -1 (or another
// value a function documents) after it told the user why not. The type converts to and from int so
// that it reads as the number it stands for, and it cannot be dropped without saying so:
// `(void)SaveFile(...)` where the caller has nothing to add to the operation's own message.
class [[nodiscard]] Status {
public:
    constexpr Status(int code = 0) : code_(code) {}   // NOLINT: a status is its number
    constexpr operator int() const { return code_; }  // NOLINT
    constexpr bool Ok() const { return code_ == 0; }

private:
    int code_;
};

}  // namespace tavoe
