#include "profiles/colorizer.h"

#include <algorithm>
#include <cstring>

namespace tavoe {

namespace {

bool IsAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string FoldText(std::string_view text, const std::array<std::uint8_t, 256>& fold) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(fold[static_cast<unsigned char>(c)]);
    }
    return out;
}

// The colour bytes go to `out` when it is given; the state-only scan passes none.
class Paint {
public:
    explicit Paint(std::uint8_t* out) : out_(out) {}
    void Fill(std::size_t from, std::size_t to, std::uint8_t attribute) const {
        if (out_ != nullptr && to > from) {
            std::memset(out_ + from, attribute, to - from);
        }
    }

private:
    std::uint8_t* out_;
};

// The scan of one line in word mode. Each pass over the text runs the stages in a fixed order:
// separators and line comments, a block comment's beginning, the open block comment, a literal, a
// one-character word, then a word. Each stage acts only while characters remain.
class WordScan {
public:
    WordScan(const Colorizer& c, std::string_view text, std::uint8_t base, Paint paint)
        : c_(c), t_(c.tables), text_(text), n_(text.size()), base_(base), paint_(paint) {
        auto attr = [&](const ColorIndexPair& pair) {
            return pair.Visible() ? ColorAttribute(pair.foreground, pair.background) : base;
        };
        block_ = attr(c.blockColors);
        toEnd_ = attr(c.toEndColors);
        column_ = attr(c.columnColors);
        literal_ = attr(c.literalColors);
        for (int s = 0; s < kColorWordSetCount; ++s) {
            setAttr_[static_cast<std::size_t>(s)] = attr(c.sets[static_cast<std::size_t>(s)].colors);
        }
    }

    ColorLineState Run(ColorLineState start) {
        bool inBlock = start == ColorLineState::InBlockComment && !t_.blockBegin.empty();
        std::size_t p = 0;
        while (p < n_) {
            std::size_t passStart = p;
            if (!inBlock) {
                while (p < n_ && t_.separator[Byte(p)] != 0) {
                    ++p;
                }
                paint_.Fill(passStart, p, base_);
                if (p >= n_) {
                    break;
                }
                if (ColumnCommentAt(p)) {
                    paint_.Fill(p, n_, column_);
                    return ColorLineState::Normal;
                }
                if (Matches(p, t_.toEnd)) {
                    paint_.Fill(p, n_, toEnd_);
                    return ColorLineState::Normal;
                }
            }
            if (Matches(p, t_.blockBegin)) {
                inBlock = true;
                paint_.Fill(p, p + t_.blockBegin.size(), block_);
                p += t_.blockBegin.size();
            }
            if (inBlock) {
                std::size_t from = p;
                while (p < n_ && !Matches(p, t_.blockEnd)) {
                    ++p;
                }
                if (p < n_) {
                    p += t_.blockEnd.size();
                    inBlock = false;
                }
                paint_.Fill(from, p, block_);
            }
            if (p < n_ && t_.literals && (text_[p] == '"' || text_[p] == '\'')) {
                p = Literal(p);
            }
            if (p < n_ && t_.singleChar[Byte(p)] >= 0) {
                paint_.Fill(p, p + 1, setAttr_[static_cast<std::size_t>(t_.singleChar[Byte(p)])]);
                ++p;
                continue;
            }
            if (p < n_) {
                p = Word(p);
            }
            if (p == passStart) {
                // Nothing matched (a comment text that begins with a delimiter, say): the character
                // keeps the base colour, so every pass moves on.
                paint_.Fill(p, p + 1, base_);
                ++p;
            }
        }
        return inBlock ? ColorLineState::InBlockComment : ColorLineState::Normal;
    }

private:
    unsigned char Byte(std::size_t i) const { return static_cast<unsigned char>(text_[i]); }

    bool Matches(std::size_t p, const std::string& pattern) const {
        if (pattern.empty() || n_ - p < pattern.size()) {
            return false;
        }
        for (std::size_t i = 0; i < pattern.size(); ++i) {
            if (t_.fold[Byte(p + i)] != static_cast<unsigned char>(pattern[i])) {
                return false;
            }
        }
        return true;
    }

    bool ColumnCommentAt(std::size_t p) const {
        return static_cast<int64_t>(p) + 1 == c_.column && Matches(p, t_.columnText);
    }

    // From the quote at p through the next equal quote (or the end of the line); an escape character
    // takes the character after it into the literal.
    std::size_t Literal(std::size_t p) const {
        char quote = text_[p];
        std::size_t j = p + 1;
        while (j < n_ && text_[j] != quote) {
            j += (c_.literalEscape != '\0' && text_[j] == c_.literalEscape) ? 2 : 1;
        }
        std::size_t end = std::min(j + 1, n_);
        paint_.Fill(p, end, literal_);
        return end;
    }

    // Whether a word ends at j: a blank, delimiter, quote, one-character word, or a comment text that
    // starts there.
    bool WordEndsAt(std::size_t j) const {
        std::uint8_t stop = t_.wordStop[Byte(j)];
        if (stop == 1) {
            return true;
        }
        return stop == 2 && (Matches(j, t_.blockBegin) || Matches(j, t_.toEnd) || ColumnCommentAt(j));
    }

    std::size_t Word(std::size_t p) const {
        std::size_t j = p;
        while (j < n_ && !WordEndsAt(j)) {
            ++j;
        }
        std::size_t length = j - p;
        if (length == 0) {
            return p;
        }
        std::uint8_t attribute = base_;
        if (length <= kColorWordMax) {
            int set;
            if (c_.caseSensitive) {
                set = c_.words.Find(text_.substr(p, length));
            } else {
                char folded[kColorWordMax];
                for (std::size_t i = 0; i < length; ++i) {
                    folded[i] = static_cast<char>(t_.fold[Byte(p + i)]);
                }
                set = c_.words.Find(std::string_view(folded, length));
            }
            if (set >= 0) {
                attribute = setAttr_[static_cast<std::size_t>(set)];
            }
        }
        paint_.Fill(p, j, attribute);
        return j;
    }

    const Colorizer& c_;
    const ColorScanTables& t_;
    std::string_view text_;
    std::size_t n_;
    std::uint8_t base_;
    Paint paint_;
    std::uint8_t block_ = 0, toEnd_ = 0, column_ = 0, literal_ = 0;
    std::array<std::uint8_t, kColorWordSetCount> setAttr_{};
};

void ColorFields(const Colorizer& c, std::uint8_t base, std::uint8_t* out, std::size_t capacity) {
    std::memset(out, base, capacity);
    for (const ColorField& field : c.fields) {
        if (field.to < 1 || static_cast<std::size_t>(field.to) > capacity) {
            return;
        }
        if (field.from < 1 || field.from > field.to || !field.colors.Visible()) {
            continue;
        }
        std::memset(out + field.from - 1, ColorAttribute(field.colors.foreground, field.colors.background),
                    static_cast<std::size_t>(field.to - field.from + 1));
    }
}

}  // namespace

void PrepareColorizer(Colorizer& c) {
    ColorScanTables& t = c.tables;
    for (int i = 0; i < 256; ++i) {
        t.fold[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(!c.caseSensitive && i >= 'a' && i <= 'z' ? i - 'a' + 'A' : i);
    }
    bool hasBlock = !c.blockBegin.empty() && !c.blockEnd.empty();
    t.blockBegin = hasBlock ? FoldText(c.blockBegin, t.fold) : std::string();
    t.blockEnd = hasBlock ? FoldText(c.blockEnd, t.fold) : std::string();
    t.toEnd = FoldText(c.toEndText, t.fold);
    t.columnText = c.column > 0 ? FoldText(c.columnText, t.fold) : std::string();
    t.literals = c.literalColors.Visible();
    c.singleCharWords = false;
    for (int i = 0; i < 256; ++i) {
        if (IsAsciiAlnum(static_cast<unsigned char>(i)) &&
            c.words.SingleCharSet(static_cast<unsigned char>(i)) >= 0) {
            c.singleCharWords = true;
        }
    }

    std::array<bool, 256> delimiter{};
    for (char d : c.delimiters) {
        delimiter[t.fold[static_cast<unsigned char>(d)]] = true;
    }
    for (int i = 0; i < 256; ++i) {
        auto b = static_cast<unsigned char>(i);
        unsigned char f = t.fold[b];
        auto& single = t.singleChar[b];
        // With some one-letter word in a set, letters and digits are looked up as words instead.
        single = (!c.singleCharWords || !IsAsciiAlnum(f)) ? c.words.SingleCharSet(f)
                                                          : static_cast<std::int8_t>(-1);
        t.separator[b] = (f == ' ' || delimiter[f]) ? 1 : 0;
        bool quote = t.literals && (f == '"' || f == '\'');
        std::uint8_t stop = (t.separator[b] != 0 || quote || single >= 0) ? 1 : 0;
        if (stop == 0) {
            for (const std::string* text : {&t.blockBegin, &t.toEnd, &t.columnText}) {
                if (!text->empty() && static_cast<unsigned char>((*text)[0]) == f) {
                    stop = 2;
                }
            }
        }
        t.wordStop[b] = stop;
    }
    t.prepared = true;
}

bool CarriesState(const Colorizer& c) {
    return !c.FieldMode() && !c.tables.blockBegin.empty();
}

ColorizeOutcome ColorizeText(const Colorizer& c, std::string_view text, ColorLineState start,
                             std::uint8_t base, std::uint8_t* attributes, std::size_t capacity) {
    ColorizeOutcome outcome;
    outcome.end = start;
    if (!text.empty() && std::memchr(text.data(), '\0', text.size()) != nullptr) {
        std::memset(attributes, base, std::min(capacity, text.size()));
        outcome.hasNul = true;
        return outcome;
    }
    if (c.FieldMode()) {
        ColorFields(c, base, attributes, capacity);
        outcome.end = ColorLineState::Normal;
        return outcome;
    }
    outcome.end =
        WordScan(c, text.substr(0, std::min(text.size(), capacity)), base, Paint(attributes)).Run(start);
    return outcome;
}

ColorLineState NextLineState(const Colorizer& c, std::string_view text, ColorLineState start) {
    if (!CarriesState(c)) {
        return ColorLineState::Normal;
    }
    if (!text.empty() && std::memchr(text.data(), '\0', text.size()) != nullptr) {
        return start;
    }
    return WordScan(c, text, 0, Paint(nullptr)).Run(start);
}

}  // namespace tavoe
