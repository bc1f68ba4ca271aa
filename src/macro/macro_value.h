#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavoe {

// One value of the macro language. Every value is text; a value that reads as a number keeps that
// number beside its text, and a number produced by arithmetic keeps only the number until someone
// asks for the text, so a counting loop never parses or formats text.
//
// Numeric readings follow the language's rules: a number is the leading sign and digits of the text
// (0 when there are none); a text "is an integer" when it is an optional "-" followed by one or more
// digits and nothing else. Numbers beyond 32 bits are flagged rather than wrapped.
class MacroValue {
public:
    MacroValue() = default;
    MacroValue(const MacroValue& other) { Assign(other); }
    MacroValue& operator=(const MacroValue& other) {
        if (this != &other) {
            Assign(other);
        }
        return *this;
    }

    // A value that was never set (an unassigned variable); reads as the empty text.
    bool IsNull() const { return (state_ & kText) == 0 && (state_ & kNumber) == 0; }
    void SetNull();
    void SetText(std::string_view text);
    void SetInt(int32_t number);
    void Assign(const MacroValue& other);

    // The text ("" for null). Numbers made by arithmetic are formatted "%d" on first request.
    const std::string& Text() const;
    bool IsEmpty() const { return IsNull() || ((state_ & kText) != 0 && text_.empty()); }

    // The leading sign and digits as a 32-bit number (0 when none); Overflows() when they do not fit.
    int32_t Number() const { return number_; }
    bool Overflows() const { return (state_ & kOverflow) != 0; }
    // The whole text is an optional "-" and one or more digits.
    bool IsInteger() const { return (state_ & kInteger) != 0; }
    // The whole text is one or more digits (no sign).
    bool IsDigits() const;
    // The text begins with a digit (array subscripts name an element only then).
    bool BeginsWithDigit() const;
    // Exactly "TRUE" or "FALSE".
    bool IsBoolean() const;
    bool IsTrue() const;

private:
    static constexpr uint8_t kText = 1;      // text_ holds the value
    static constexpr uint8_t kNumber = 2;    // number_ is the value and the text is not made yet
    static constexpr uint8_t kInteger = 4;   // the text is an integer (see IsInteger)
    static constexpr uint8_t kOverflow = 8;  // the leading digits do not fit in 32 bits

    mutable std::string text_;
    int32_t number_ = 0;
    mutable uint8_t state_ = 0;
};

// Reads the leading sign and digits of a text. Returns false when they do not fit in 32 bits (the
// number is then clamped). Sets *whole when the text is an integer as IsInteger defines it.
bool ParseLeadingInt(std::string_view text, int32_t* number, bool* whole);

// Compares two integer texts (optional "-", digits) exactly, whatever their length: -1, 0 or 1.
int CompareIntegerTexts(std::string_view a, std::string_view b);

}  // namespace tavoe
