#include "profiles/colorization_io.h"

#include <cstdio>
#include <vector>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "platform/ascii_case.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "profiles/main_profile_io.h"

namespace tavoe {

namespace {

// A larger file is not a colorization anyone wrote: it is refused rather than read into memory.
constexpr std::size_t kColorizationFileMax = 16u << 20;

std::string_view TrimBlanks(std::string_view s) {
    std::size_t start = s.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) {
        return {};
    }
    return s.substr(start, s.find_last_not_of(" \t\r") - start + 1);
}

bool AllDigits(std::string_view s) {
    if (s.empty()) {
        return false;
    }
    for (char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// A decimal number of at most 9 digits within min..max.
bool ParseInt(std::string_view text, int32_t min, int32_t max, int32_t& out) {
    text = TrimBlanks(text);
    if (!AllDigits(text) || text.size() > 9) {
        return false;
    }
    int32_t n = 0;
    for (char c : text) {
        n = n * 10 + (c - '0');
    }
    if (n < min || n > max) {
        return false;
    }
    out = n;
    return true;
}

// The operands after the keyword cut at commas into `count` parts, the last taking the rest of the
// line. Fewer commas give fewer parts.
std::vector<std::string_view> SplitOperands(std::string_view operands, std::size_t count) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        std::size_t comma = operands.find(',');
        if (comma == std::string_view::npos) {
            break;
        }
        parts.push_back(TrimBlanks(operands.substr(0, comma)));
        operands.remove_prefix(comma + 1);
    }
    parts.push_back(TrimBlanks(operands));
    return parts;
}

// The writer's form of a word or delimiter: what the reader turns back into the same bytes.
std::string EscapeColorText(std::string_view text) {
    std::string out;
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c <= ' ' || c == 127) {
            out += Format("\\d%03d", c);  // three digits: a digit after it cannot join the number
        } else {
            out += ch;
        }
    }
    return out;
}

enum class Keyword {
    None,
    Alias,
    Delimiters,
    CaseSense,
    Literals,
    Escape,
    BegEnd,
    ToEnd,
    ColToEnd,
    WordSet,
    Field,
    Word
};

// Keywords in the order they are tested: COLOR_WORD_SET before its prefix COLOR_WORD.
constexpr struct {
    std::string_view upper;
    std::string_view lower;
    Keyword keyword;
} kKeywords[] = {
    {"COLOR_ALIAS", "color_alias", Keyword::Alias},
    {"COLOR_DELIMITERS", "color_delimiters", Keyword::Delimiters},
    {"COLOR_CASE_SENSE", "color_case_sense", Keyword::CaseSense},
    {"COLOR_LITERALS", "color_literals", Keyword::Literals},
    {"COLOR_ESCAPE", "color_escape", Keyword::Escape},
    {"COLOR_BEGEND", "color_begend", Keyword::BegEnd},
    {"COLOR_TO_END", "color_to_end", Keyword::ToEnd},
    {"COLOR_COL_TO_END", "color_col_to_end", Keyword::ColToEnd},
    {"COLOR_WORD_SET", "color_word_set", Keyword::WordSet},
    {"COLOR_FIELD", "color_field", Keyword::Field},
    {"COLOR_WORD", "color_word", Keyword::Word},
};

// Reads one colorization file statement by statement. The first fault ends the reading; the caller
// then discards the colorizer.
class ClrReader {
public:
    ClrReader(AppSession& app, Colorizer& c, std::string fileName)
        : app_(app), c_(c), fileName_(std::move(fileName)) {}

    bool Read(std::string_view text) {
        while (!text.empty()) {
            std::size_t newline = text.find('\n');
            std::string_view line = text.substr(0, newline);
            text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
            ++lineNumber_;
            if (!Statement(line)) {
                return false;
            }
        }
        return true;
    }

private:
    bool Statement(std::string_view line) {
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos) {
            return true;
        }
        line.remove_prefix(start);
        for (const auto& k : kKeywords) {
            if (line.starts_with(k.upper) || line.starts_with(k.lower)) {
                name_ = k.upper;
                return Apply(k.keyword, Operands(line));
            }
        }
        return true;
    }

    // What follows the keyword's first run of blanks; nothing when no blank follows it.
    static std::string_view Operands(std::string_view line) {
        std::size_t blank = line.find_first_of(" \t");
        if (blank == std::string_view::npos) {
            return {};
        }
        std::size_t from = line.find_first_not_of(" \t", blank);
        return from == std::string_view::npos ? std::string_view{} : line.substr(from);
    }

    bool Apply(Keyword keyword, std::string_view operands) {
        switch (keyword) {
            case Keyword::Alias:
                ShowMessage(app_, "COLOR_ALIAS no longer supported.", MsgTo::Box, Beep::Information);
                return false;
            case Keyword::Delimiters:
                return Delimiters(operands);
            case Keyword::CaseSense:
                return CaseSense(operands);
            case Keyword::Literals:
                return Pair(operands, c_.literalColors);
            case Keyword::Escape:
                return Escape(operands);
            case Keyword::BegEnd:
                return BegEnd(operands);
            case Keyword::ToEnd:
                return ToEnd(operands);
            case Keyword::ColToEnd:
                return ColToEnd(operands);
            case Keyword::WordSet:
                return WordSet(operands);
            case Keyword::Field:
                return Field(operands);
            case Keyword::Word:
                Words(operands);
                return true;
            case Keyword::None:
                break;
        }
        return true;
    }

    bool Fault(std::string_view what) {
        ShowMessage(app_,
                    Format("Colorization file %s, line %d, %s, %s", fileName_.c_str(), lineNumber_,
                           std::string(name_).c_str(), std::string(what).c_str()),
                    MsgTo::Box, Beep::Exclamation);
        return false;
    }

    bool ParseColors(std::string_view fg, std::string_view bg, ColorIndexPair& out) {
        int32_t f = 0;
        int32_t b = 0;
        if (!ParseInt(fg, 0, kColorIndexMax, f) || !ParseInt(bg, 0, kColorIndexMax, b)) {
            return Fault("colors must be two numbers from 0 to 15.");
        }
        out = ColorIndexPair{f, b};
        return true;
    }

    bool Pair(std::string_view operands, ColorIndexPair& out) {
        auto parts = SplitOperands(operands, 2);
        return parts.size() == 2 ? ParseColors(parts[0], parts[1], out)
                                 : Fault("colors must be two numbers from 0 to 15.");
    }

    bool Text(std::string_view text, std::string& out) {
        if (text.empty() || text.size() > kColorTextMax || text.find('\0') != std::string_view::npos) {
            return Fault("text must be 1 to 3 characters.");
        }
        out = std::string(text);
        return true;
    }

    bool Delimiters(std::string_view operands) {
        std::string found;
        for (char d : ResolveColorEscapes(operands)) {
            if (d != ' ' && d != '\0' && found.find(d) == std::string::npos) {
                found += d;
            }
        }
        if (found.empty()) {
            ShowMessage(
                app_,
                Format("Colorization file %s, COLOR_DELIMITERS, no delimiter specified.", fileName_.c_str()),
                MsgTo::Box, Beep::Exclamation);
            return false;
        }
        if (found.size() > kColorDelimiterMax) {
            return Fault("more than 31 delimiters.");
        }
        c_.delimiters = found;
        return true;
    }

    bool CaseSense(std::string_view operands) {
        if (wordsSeen_) {
            ShowMessage(
                app_,
                Format("Colorization file %s, COLOR_CASE_SENSE, must precede words.", fileName_.c_str()),
                MsgTo::Box, Beep::Exclamation);
            return false;
        }
        std::string value = UpperAscii(TrimBlanks(operands));
        if (value != "YES" && value != "NO") {
            ShowMessage(
                app_, Format("Colorization file %s, COLOR_CASE_SENSE, must be YES or NO.", fileName_.c_str()),
                MsgTo::Box, Beep::Exclamation);
            return false;
        }
        c_.caseSensitive = value == "YES";
        return true;
    }

    bool Escape(std::string_view operands) {
        operands = TrimBlanks(operands);
        if (operands.size() != 1 || static_cast<unsigned char>(operands[0]) <= ' ') {
            return Fault("escape must be one character.");
        }
        c_.literalEscape = operands[0];
        return true;
    }

    bool BegEnd(std::string_view operands) {
        auto parts = SplitOperands(operands, 4);
        if (parts.size() != 4) {
            return Fault("colors, begin text and end text are required.");
        }
        return ParseColors(parts[0], parts[1], c_.blockColors) && Text(parts[2], c_.blockBegin) &&
               Text(parts[3], c_.blockEnd);
    }

    bool ToEnd(std::string_view operands) {
        auto parts = SplitOperands(operands, 3);
        if (parts.size() != 3) {
            return Fault("colors and text are required.");
        }
        return ParseColors(parts[0], parts[1], c_.toEndColors) && Text(parts[2], c_.toEndText);
    }

    bool ColToEnd(std::string_view operands) {
        auto parts = SplitOperands(operands, 4);
        if (parts.size() != 4) {
            return Fault("colors, text and column are required.");
        }
        if (!ParseColors(parts[0], parts[1], c_.columnColors) || !Text(parts[2], c_.columnText)) {
            return false;
        }
        if (!ParseInt(parts[3], 1, kColorColumnMax, c_.column)) {
            return Fault("column must be a number from 1 to 64000.");
        }
        return true;
    }

    bool WordSet(std::string_view operands) {
        ColorIndexPair colors;
        if (!Pair(operands, colors)) {
            return false;
        }
        // A ninth set and those after it add to the eighth and keep its colours.
        if (currentSet_ + 1 < kColorWordSetCount) {
            ++currentSet_;
            c_.sets[static_cast<std::size_t>(currentSet_)].colors = colors;
        }
        return true;
    }

    bool Field(std::string_view operands) {
        auto parts = SplitOperands(operands, 5);
        ColorField field;
        if (parts.size() != 5) {
            return Fault("colors, from column, to column and name are required.");
        }
        if (!ParseColors(parts[0], parts[1], field.colors)) {
            return false;
        }
        if (!ParseInt(parts[2], 1, kColorColumnMax, field.from) ||
            !ParseInt(parts[3], 1, kColorColumnMax, field.to) || field.to < field.from) {
            return Fault("'From' and 'To' must be columns from 1 to 64000, 'From' not after 'To'.");
        }
        if (c_.fields.size() >= static_cast<std::size_t>(kColorFieldMax)) {
            return Fault("more than 8 fields.");
        }
        std::string_view name = parts[4].substr(0, parts[4].find('\0'));
        // Cut, then trimmed again: the writer's line must read back to the same name.
        field.name = std::string(TrimBlanks(name.substr(0, kColorFieldNameMax)));
        c_.fields.push_back(std::move(field));
        return true;
    }

    void Words(std::string_view operands) {
        wordsSeen_ = true;
        std::size_t p = 0;
        while (p < operands.size()) {
            std::size_t start = operands.find_first_not_of(" \t", p);
            if (start == std::string_view::npos) {
                break;
            }
            std::size_t end = operands.find_first_of(" \t", start);
            if (end == std::string_view::npos) {
                end = operands.size();
            }
            std::string word = ResolveColorEscapes(operands.substr(start, end - start));
            p = end;
            if (currentSet_ < 0) {
                if (!noSetShown_) {
                    ShowMessage(app_, "COLOR_WORD_SET must be specified before COLOR_WORD.", MsgTo::Box,
                                Beep::Exclamation);
                    noSetShown_ = true;
                }
                continue;
            }
            (void)AddColorWord(app_, c_, word, currentSet_, &notes_);
        }
    }

    AppSession& app_;
    Colorizer& c_;
    std::string fileName_;
    std::string_view name_;
    int lineNumber_ = 0;
    int currentSet_ = -1;
    bool wordsSeen_ = false;
    bool noSetShown_ = false;
    ColorWordNotes notes_;
};

}  // namespace

bool IsColorTypeName(std::string_view name) {
    return !name.empty() && name.size() <= kColorTypeNameMax && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos && name[0] != '.';
}

std::string ResolveColorEscapes(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        char next = text[i + 1];
        if (next == 'd' || next == 'D') {
            std::size_t j = i + 2;
            int code = 0;
            while (j < text.size() && j < i + 5 && text[j] >= '0' && text[j] <= '9') {
                code = code * 10 + (text[j] - '0');
                ++j;
            }
            if (j > i + 2 && code >= 1 && code <= 255) {
                out += static_cast<char>(code);
                i = j - 1;
                continue;
            }
        }
        out += next;
        ++i;
    }
    return out;
}

int AddColorWord(AppSession& app, Colorizer& c, std::string_view word, int set, ColorWordNotes* notes) {
    ColorWordNotes local;
    ColorWordNotes& shown = notes != nullptr ? *notes : local;
    if (word.empty() || word.find('\0') != std::string_view::npos || set < 0 || set >= kColorWordSetCount) {
        return -1;
    }
    // Cut first: a longer word whose first 31 characters are digits would be a word of digits.
    std::string stored(word.substr(0, kColorWordMax));
    if (AllDigits(stored)) {
        if (!shown.digitsShown) {
            ShowMessage(app, "Colorization word consisting of all digits is not allowed.", MsgTo::Box,
                        Beep::Exclamation);
            shown.digitsShown = true;
        }
        return -1;
    }
    if (!c.caseSensitive) {
        stored = UpperAscii(stored);
    }
    if (!c.words.Add(stored, set)) {
        if (!shown.duplicateShown) {
            ShowMessage(app,
                        Format("Word '%s' is a duplicate, please delete from colorization file %s.CLR.",
                               stored.c_str(), UpperAscii(c.name).c_str()),
                        MsgTo::Box, Beep::Exclamation);
            shown.duplicateShown = true;
        }
        return -1;
    }
    c.sets[static_cast<std::size_t>(set)].used = true;
    return 0;
}

std::shared_ptr<Colorizer> ParseColorizationText(AppSession& app, std::string_view typeName,
                                                 std::string_view fileName, std::string_view text) {
    auto colorizer = std::make_shared<Colorizer>();
    colorizer->name = UpperAscii(typeName.substr(0, kColorTypeNameMax));
    ClrReader reader(app, *colorizer, std::string(fileName));
    if (!reader.Read(text)) {
        return nullptr;
    }
    PrepareColorizer(*colorizer);
    return colorizer;
}

std::shared_ptr<Colorizer> LoadColorizer(AppSession& app, std::string_view typeName) {
    if (!IsColorTypeName(typeName)) {
        return nullptr;
    }
    std::string fileName = std::string(typeName) + std::string(kColorizationExtension);
    std::string found;
    FilePtr file = OpenAlongPath(VarGetValue(app, kColorizationPathVariable), fileName, "rb", &found);
    if (!file) {
        return nullptr;
    }
    std::string shownName = found.substr(found.find_last_of('/') + 1);
    std::string text;
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        text.append(chunk, got);
        if (text.size() > kColorizationFileMax) {
            ShowMessage(app,
                        Format("Colorization file %s is larger than 16 MB, not read.", shownName.c_str()),
                        MsgTo::Box, Beep::Exclamation);
            return nullptr;
        }
    }
    return ParseColorizationText(app, typeName, shownName, text);
}

std::string ColorizationText(const Colorizer& c) {
    std::string out;
    if (c.FieldMode()) {
        for (const ColorField& f : c.fields) {
            out += Format("COLOR_FIELD %d,%d,%d,%d,%s\n", f.colors.foreground, f.colors.background, f.from,
                          f.to, f.name.c_str());
        }
        return out;
    }
    if (!c.delimiters.empty()) {
        out += "COLOR_DELIMITERS " + EscapeColorText(c.delimiters) + "\n";
    }
    out += c.caseSensitive ? "COLOR_CASE_SENSE YES\n" : "COLOR_CASE_SENSE NO\n";
    out += Format("COLOR_LITERALS %d,%d\n", c.literalColors.foreground, c.literalColors.background);
    if (c.literalEscape != '\0') {
        out += Format("COLOR_ESCAPE %c\n", c.literalEscape);
    }
    if (!c.blockBegin.empty()) {
        out += Format("COLOR_BEGEND %d,%d,%s,%s\n", c.blockColors.foreground, c.blockColors.background,
                      c.blockBegin.c_str(), c.blockEnd.c_str());
    }
    if (!c.toEndText.empty()) {
        out += Format("COLOR_TO_END %d,%d,%s\n", c.toEndColors.foreground, c.toEndColors.background,
                      c.toEndText.c_str());
    }
    if (!c.columnText.empty()) {
        out += Format("COLOR_COL_TO_END %d,%d,%s,%d\n", c.columnColors.foreground, c.columnColors.background,
                      c.columnText.c_str(), c.column);
    }
    for (int s = 0; s < kColorWordSetCount; ++s) {
        const ColorWordSet& set = c.sets[static_cast<std::size_t>(s)];
        if (!set.used || !set.colors.Visible()) {
            continue;
        }
        out += "\n//**** WORD SET ****\n";
        out += Format("COLOR_WORD_SET %d,%d\n", set.colors.foreground, set.colors.background);
        for (const std::string& word : c.words.WordsOf(s)) {
            out += "COLOR_WORD " + EscapeColorText(word) + "\n";
        }
    }
    return out;
}

int SaveColorizer(AppSession& app, const Colorizer& c) {
    std::string fileName = c.name + std::string(kColorizationExtension);
    std::string path;
    if (IsColorTypeName(c.name)) {
        path = WritePathFor(VarGetValue(app, kColorizationPathVariable), fileName);
    }
    ReplacingFileWriter writer;
    if (path.empty() || !writer.Open(path)) {
        ShowMessage(app,
                    Format("Unable to open '%s' for write.", path.empty() ? fileName.c_str() : path.c_str()),
                    MsgTo::Box, Beep::Exclamation);
        return -1;
    }
    writer.Write(ColorizationText(c));
    if (!writer.Commit()) {
        ShowMessage(app, Format("Unable to open '%s' for write.", path.c_str()), MsgTo::Box,
                    Beep::Exclamation);
        return -1;
    }
    return 0;
}

}  // namespace tavoe
