#include "macro/macro_value.h"

#include <charconv>
#include <limits>

namespace tavoe {

bool ParseLeadingInt(std::string_view text, int32_t* number, bool* whole) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    size_t digitsStart = pos;
    int64_t value = 0;
    bool overflow = false;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (!overflow) {
            value = value * 10 + (text[pos] - '0');
            if (value > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1) {
                overflow = true;
            }
        }
        ++pos;
    }
    if (!negative && value > std::numeric_limits<int32_t>::max()) {
        overflow = true;
    }
    if (overflow) {
        *number = negative ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
    } else {
        *number = static_cast<int32_t>(negative ? -value : value);
    }
    *whole = pos > digitsStart && pos == text.size() && (digitsStart == 0 || text[0] == '-');
    return !overflow;
}

int CompareIntegerTexts(std::string_view a, std::string_view b) {
    bool negA = !a.empty() && a[0] == '-';
    bool negB = !b.empty() && b[0] == '-';
    auto magnitude = [](std::string_view t) {
        if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
            t.remove_prefix(1);
        }
        while (t.size() > 1 && t[0] == '0') {
            t.remove_prefix(1);
        }
        return t;
    };
    std::string_view ma = magnitude(a);
    std::string_view mb = magnitude(b);
    bool zeroA = ma.empty() || ma == "0";
    bool zeroB = mb.empty() || mb == "0";
    if (zeroA) {
        negA = false;
    }
    if (zeroB) {
        negB = false;
    }
    if (negA != negB) {
        return negA ? -1 : 1;
    }
    int order = 0;
    if (ma.size() != mb.size()) {
        order = ma.size() < mb.size() ? -1 : 1;
    } else {
        int c = ma.compare(mb);
        order = c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return negA ? -order : order;
}

void MacroValue::SetNull() {
    text_.clear();
    number_ = 0;
    state_ = 0;
}

void MacroValue::SetText(std::string_view text) {
    text_.assign(text.data(), text.size());
    bool whole = false;
    bool fits = ParseLeadingInt(text, &number_, &whole);
    state_ = static_cast<uint8_t>(kText | (whole ? kInteger : 0) | (fits ? 0 : kOverflow));
}

void MacroValue::SetInt(int32_t number) {
    number_ = number;
    state_ = kNumber | kInteger;
}

void MacroValue::Assign(const MacroValue& other) {
    number_ = other.number_;
    state_ = other.state_;
    if ((other.state_ & kText) != 0) {
        text_.assign(other.text_);
    }
}

const std::string& MacroValue::Text() const {
    if ((state_ & kText) == 0) {
        if ((state_ & kNumber) == 0) {
            text_.clear();
            return text_;
        }
        char buffer[16];
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number_);
        (void)ec;
        text_.assign(buffer, end);
        state_ |= kText;
    }
    return text_;
}

bool MacroValue::IsDigits() const {
    if (!IsInteger()) {
        return false;
    }
    if ((state_ & kText) == 0) {
        return number_ >= 0;
    }
    return !text_.empty() && text_[0] != '-';
}

bool MacroValue::BeginsWithDigit() const {
    if ((state_ & kText) == 0) {
        return (state_ & kNumber) != 0 && number_ >= 0;
    }
    return !text_.empty() && text_[0] >= '0' && text_[0] <= '9';
}

bool MacroValue::IsBoolean() const {
    if ((state_ & kText) == 0) {
        return false;
    }
    return text_ == "TRUE" || text_ == "FALSE";
}

bool MacroValue::IsTrue() const {
    return (state_ & kText) != 0 && text_ == "TRUE";
}

}  // namespace tavoe
