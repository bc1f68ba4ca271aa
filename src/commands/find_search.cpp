#include "commands/find_search.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/file_load.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/labels.h"
#include "profiles/colorizer.h"

namespace tavoe {

namespace {

constexpr std::int32_t kColumnEnd = 1 << 30;

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsLower(unsigned char c) {
    return c >= 'a' && c <= 'z';
}
bool IsUpper(unsigned char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsLetter(unsigned char c) {
    return IsLower(c) || IsUpper(c);
}

// A blank or a punctuation character (printable, neither letter nor digit).
bool IsDelimiter(unsigned char c) {
    return c == ' ' || (c > ' ' && c < 127 && !IsLetter(c) && !IsDigit(c));
}

bool PictureMatches(unsigned char picture, unsigned char c) {
    switch (picture) {
        case '#':
            return IsDigit(c);
        case '$':
            return c != ' ' && !IsLetter(c) && !IsDigit(c);
        case '-':
            return !IsDigit(c);
        case '.':
            return c < 32 || c > 126;
        case '<':
            return IsLower(c);
        case '=':
            return true;
        case '>':
            return IsUpper(c);
        case '@':
            return IsLetter(c);
        case '^':
            return c != ' ';
        default:
            if (IsLetter(picture)) {
                return (c | 0x20) == (picture | 0x20);
            }
            return c == picture;
    }
}

std::uint64_t Load8(const unsigned char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// A word with the high bit set in each byte of `word` that is zero (and possibly in some bytes
// after a zero byte: callers test each candidate in full).
std::uint64_t ZeroBytes(std::uint64_t word) {
    return (word - 0x0101010101010101ULL) & ~word & 0x8080808080808080ULL;
}

// The byte repeated in all eight bytes of a word.
std::uint64_t Repeat8(unsigned char byte) {
    return 0x0101010101010101ULL * byte;
}

unsigned char At(std::string_view text, std::size_t i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : ' ';
}

}  // namespace

FindMatcher::FindMatcher(const FindParameters& p) : p_(p), length_(p.string1.size()) {
    padded_ = p.blank1 ||
              (p.picture1 && !p.string1.empty() && p.string1.find_first_not_of("=- ") == std::string::npos);
    caseless_ = !p.exact1 && !p.picture1;
    for (int c = 0; c < 256; ++c) {
        fold_[static_cast<std::size_t>(c)] =
            static_cast<unsigned char>(IsUpper(static_cast<unsigned char>(c)) ? c + 32 : c);
    }
    if (caseless_) {
        folded_.resize(length_);
        for (std::size_t i = 0; i < length_; ++i) {
            folded_[i] = static_cast<char>(fold_[static_cast<unsigned char>(p.string1[i])]);
        }
    }
    // The word filter of the first two bytes: a letter of a caseless search matches with bit 0x20
    // forced on, which folds its two cases together; every other byte must be equal.
    auto filter = [&](std::size_t i, std::uint64_t& mask, std::uint64_t& pattern) {
        if (i >= length_) {
            return;
        }
        auto c = static_cast<unsigned char>(p.string1[i]);
        if (caseless_ && IsLetter(c)) {
            mask = Repeat8(0x20);
            c = static_cast<unsigned char>(c | 0x20);
        }
        pattern = Repeat8(c);
    };
    filter(0, mask0_, pattern0_);
    filter(1, mask1_, pattern1_);
}

bool FindMatcher::Eligible(const LineRecord& line) const {
    if (!IsDataLine(line)) {
        return false;
    }
    switch (p_.lineFilter) {
        case LineFilter::Excluded:
            return !LineIsVisible(line);
        case LineFilter::Visible:
            return LineIsVisible(line);
        case LineFilter::Any:
            break;
    }
    return true;
}

bool FindMatcher::MatchAt(std::string_view text, std::size_t at) const {
    const std::string& s = p_.string1;
    if (p_.picture1) {
        for (std::size_t i = 0; i < length_; ++i) {
            if (!PictureMatches(static_cast<unsigned char>(s[i]), At(text, at + i))) {
                return false;
            }
        }
        return true;
    }
    if (at + length_ <= text.size()) {
        if (!caseless_) {
            return std::memcmp(text.data() + at, s.data(), length_) == 0;
        }
        const auto* t = reinterpret_cast<const unsigned char*>(text.data() + at);
        for (std::size_t i = 0; i < length_; ++i) {
            if (fold_[t[i]] != static_cast<unsigned char>(folded_[i])) {
                return false;
            }
        }
        return true;
    }
    for (std::size_t i = 0; i < length_; ++i) {
        unsigned char c = At(text, at + i);
        if ((caseless_ ? fold_[c] : c) != static_cast<unsigned char>(caseless_ ? folded_[i] : s[i])) {
            return false;
        }
    }
    return true;
}

bool FindMatcher::Constrained(std::string_view text, std::size_t at) const {
    bool delimiterBefore = at == 0 || IsDelimiter(At(text, at - 1));
    std::size_t after = at + length_;
    bool hasAfter = after < text.size();
    bool delimiterAfter = !hasAfter || IsDelimiter(At(text, after));
    switch (p_.constraint) {
        case FindConstraint::Prefix:
            return delimiterBefore && hasAfter && !delimiterAfter;
        case FindConstraint::Suffix:
            return at > 0 && !delimiterBefore && delimiterAfter;
        case FindConstraint::Word:
            return delimiterBefore && delimiterAfter;
        default:
            return true;
    }
}

std::int64_t FindMatcher::FindInLine(std::string_view text, std::int64_t minOffset, std::int64_t maxOffset,
                                     SearchWay way) const {
    if (length_ == 0) {
        return -1;
    }
    auto len = static_cast<std::int64_t>(length_);
    std::int64_t first = p_.startColumn - 1;
    std::int64_t end = p_.endColumn;  // exclusive offset
    if (p_.constraint == FindConstraint::Eol) {
        std::size_t last = text.find_last_not_of(' ');
        if (last == std::string_view::npos) {
            return -1;
        }
        first = static_cast<std::int64_t>(last) + 1 - len;
        end = static_cast<std::int64_t>(last) + 1;
        if (first < 0) {
            return -1;
        }
    } else if (!padded_) {
        end = std::min<std::int64_t>(end, static_cast<std::int64_t>(text.size()));
    }
    std::int64_t lo = std::max(first, minOffset);
    std::int64_t hi = std::min(end - len, maxOffset);
    if (lo > hi) {
        return -1;
    }
    bool constrained = p_.constraint == FindConstraint::Prefix || p_.constraint == FindConstraint::Suffix ||
                       p_.constraint == FindConstraint::Word;
    auto hit = [&](std::int64_t at) {
        auto u = static_cast<std::size_t>(at);
        return MatchAt(text, u) && (!constrained || Constrained(text, u));
    };
    if (way == SearchWay::Backward) {
        for (std::int64_t at = hi; at >= lo; --at) {
            if (hit(at)) {
                return at;
            }
        }
        return -1;
    }
    if (!p_.picture1 && hi + len <= static_cast<std::int64_t>(text.size())) {
        // The hot loop of FIND ALL and CHANGE ALL: candidates for the first two bytes, eight
        // offsets at a time, and only those are tested in full.
        const auto* t = reinterpret_cast<const unsigned char*>(text.data());
        std::int64_t at = lo;
        for (; at + 9 <= static_cast<std::int64_t>(text.size()) && at <= hi; at += 8) {
            std::uint64_t differ = (Load8(t + at) | mask0_) ^ pattern0_;
            if (length_ >= 2) {
                differ |= (Load8(t + at + 1) | mask1_) ^ pattern1_;
            }
            for (std::uint64_t zero = ZeroBytes(differ); zero != 0; zero &= zero - 1) {
                std::int64_t candidate = at + std::countr_zero(zero) / 8;
                if (candidate > hi) {
                    return -1;
                }
                if (hit(candidate)) {
                    return candidate;
                }
            }
        }
        for (; at <= hi; ++at) {
            if (hit(at)) {
                return at;
            }
        }
        return -1;
    }
    for (std::int64_t at = lo; at <= hi; ++at) {
        if (hit(at)) {
            return at;
        }
    }
    return -1;
}

std::optional<SearchHit> SearchLines(EditSession& session, const FindMatcher& matcher, LineRecord* line,
                                     std::int32_t column, SearchWay way, LineRecord* stop) {
    EditBuffer& buffer = session.buffer;
    std::int64_t from = static_cast<std::int64_t>(column) - 1;
    bool firstLine = true;
    while (line != nullptr) {
        if (matcher.Eligible(*line)) {
            std::int64_t min = 0;
            std::int64_t max = kColumnEnd;
            if (firstLine) {
                (way == SearchWay::Forward ? min : max) = from;
            }
            std::int64_t at = matcher.FindInLine(LineText(*line), min, max, way);
            if (at >= 0) {
                SearchHit result{line, static_cast<std::int32_t>(at + 1)};
                session.find.lastHitLine = line;
                session.find.lastHitColumn = result.column;
                return result;
            }
        }
        firstLine = false;
        if (line == stop) {
            break;
        }
        if (way == SearchWay::Backward) {
            line = LinePrev(line);
            continue;
        }
        LineRecord* next = LineNext(line);
        while (next == nullptr && stop == nullptr && LoadBatch(buffer) == 1) {
            next = LineNext(line);
        }
        if (next == nullptr) {
            next = LineNext(line);  // the last batch may have come with the load's end
        }
        line = next;
    }
    return std::nullopt;
}

SearchStart StartOfSearch(AppSession& app, EditSession& session, const FindParameters& p) {
    SearchStart start;
    EditBuffer& buffer = session.buffer;
    start.from = p.rangeFrom != nullptr ? p.rangeFrom : LineFirst(buffer);
    start.to = p.rangeTo;
    switch (p.direction) {
        case FindDirection::First:
        case FindDirection::All:
            start.line = start.from;
            start.column = 1;
            return start;
        case FindDirection::Last:
            if (start.to == nullptr) {
                (void)FinishLoad(buffer);
                start.to = LineLast(buffer);
            }
            start.line = start.to;
            start.column = kColumnEnd;
            start.way = SearchWay::Backward;
            return start;
        case FindDirection::Next:
        case FindDirection::Prev:
            break;
    }
    start.way = p.direction == FindDirection::Prev ? SearchWay::Backward : SearchWay::Forward;
    bool forward = start.way == SearchWay::Forward;
    CursorPlace place = CursorPlaceOf(app, session);
    LineRecord* line = place.line;
    std::int32_t column = place.area == CursorArea::Data ? place.column : (forward ? 1 : kColumnEnd);
    if (line == nullptr) {
        line = session.view.topLine != nullptr ? session.view.topLine : LineFirst(buffer);
        column = forward ? 1 : kColumnEnd;
    }
    if (p.rangeFrom != nullptr) {
        if (line != start.from && LineAtOrBefore(line, start.from)) {
            line = start.from;
            column = 1;
        } else if (line != start.to && LineAtOrBefore(start.to, line)) {
            line = start.to;
            column = kColumnEnd;
        }
    }
    if (!forward && start.to == nullptr) {
        start.to = LineLast(buffer);  // backward walks end at the range's first line instead
    }
    if (line == session.find.lastHitLine && column == session.find.lastHitColumn) {
        column += forward ? 1 : -1;
    }
    start.line = line;
    start.column = column;
    return start;
}

void PositionAfterFind(AppSession& app, EditSession& session, LineRecord& line, std::int32_t column,
                       std::int32_t length) {
    EditViewState& view = session.view;
    RefreshRowTable(app, session);
    auto found = std::find(view.rowTable.begin(), view.rowTable.end(), &line);
    int row = 0;
    if (found != view.rowTable.end()) {
        row = static_cast<int>(found - view.rowTable.begin());
    } else if (VarGetValue(app, "ZLINEPOSAFTERFIND") == "1") {
        view.topLine = &line;
    } else {
        LineRecord* above = LinePrev(&line);
        while (above != nullptr && !LineIsVisible(*above)) {
            above = LinePrev(above);
        }
        view.topLine = above != nullptr ? above : &line;
        row = above != nullptr ? 1 : 0;
    }
    RefreshRowTable(app, session);
    SetCursorRow(app, session, row);
    if (column <= 0) {
        view.cursorColumn = view.prefixWidth;
    } else {
        int shown = std::max(DataAreaColumns(app, session), 1);
        std::int32_t offset = std::max(view.horizontalOffset, 0);
        std::int32_t last = column + std::max(length, 1) - 1;
        if (column <= offset) {
            offset = column - 1;
        } else if (last > offset + shown) {
            offset = std::min(last - shown, column - 1);
        }
        view.horizontalOffset = offset;
        view.cursorColumn = view.prefixWidth + (column - offset - 1);
    }
    view.focus = KeyField::Data;
}

namespace {

std::uint8_t ElementByte(const AppSession& app, ColorElement element, int fg, int bg) {
    const ColorPair& pair = app.profileSettings.colors[static_cast<std::size_t>(element)];
    if (pair.foreground != pair.background) {
        fg = pair.foreground;
        bg = pair.background;
    }
    return ColorAttribute(fg, bg);
}

}  // namespace

void HighlightHit(AppSession& app, EditSession& session, LineRecord& line, std::size_t offset,
                  std::size_t length) {
    if (offset >= line.length) {
        return;
    }
    EditBuffer& buffer = session.buffer;
    bool fresh = line.color == nullptr;
    if (LineEnsureColor(buffer, line) != 0) {
        return;
    }
    if (fresh) {
        // The same defaults the view falls back on for the Edit and Browse colours.
        std::uint8_t base = session.ReadOnly() ? ElementByte(app, ColorElement::Browse, 0, 3)
                                               : ElementByte(app, ColorElement::Edit, 0, 3);
        std::memset(line.color, base, line.capacity);
    }
    std::size_t count = std::min<std::size_t>(length, line.length - offset);
    std::memset(line.color + offset, ElementByte(app, ColorElement::Find, 0, 14), count);
    LineSetFlag(line, LineFlagB::Highlighted);
}

}  // namespace tavoe
