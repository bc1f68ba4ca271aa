#include "profiles/colorization_fields.h"

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "platform/format.h"
#include "profiles/colorization_io.h"
#include "profiles/palette.h"

namespace tavoe {

namespace {

std::string Get(AppSession& app, const std::string& name) {
    std::string value = VarGetValue(app, name);
    std::size_t start = value.find_first_not_of(' ');
    if (start == std::string::npos) {
        return {};
    }
    return value.substr(start, value.find_last_not_of(' ') - start + 1);
}

void SetPair(AppSession& app, const std::string& fg, const std::string& bg, const ColorIndexPair& pair) {
    bool used = pair.Visible();
    VarSetValue(app, fg, used ? std::to_string(pair.foreground) : "");
    VarSetValue(app, bg, used ? std::to_string(pair.background) : "");
}

void Box(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Exclamation);
}

// A pair of colour fields: empty both (not given) or a sound pair.
enum class PairState { Empty, Valid, Faulty };
PairState ReadPair(AppSession& app, const std::string& item, const std::string& fgName,
                   const std::string& bgName, ColorIndexPair& out) {
    std::string fg = Get(app, fgName);
    std::string bg = Get(app, bgName);
    if (fg.empty() && bg.empty()) {
        out = {};
        return PairState::Empty;
    }
    return CheckColorPair(app, item, fg, bg, out) == 0 ? PairState::Valid : PairState::Faulty;
}

bool CommentText(AppSession& app, const std::string& name, std::string& out) {
    out = Get(app, name);
    if (out.size() > kColorTextMax || out.find(',') != std::string::npos) {
        Box(app, Format("Comment text '%s' must be 1 to 3 characters without a comma.", out.c_str()));
        return false;
    }
    return true;
}

}  // namespace

void LoadWordFields(AppSession& app, const Colorizer& c) {
    VarSetValue(app, "ClrWord.Delimiters", c.delimiters);
    VarSetValue(app, "ClrWord.CaseSense", c.caseSensitive ? "TRUE" : "FALSE");
    SetPair(app, "ClrWord.LitFG", "ClrWord.LitBG", c.literalColors);
    VarSetValue(app, "ClrWord.Escape", std::string(c.literalEscape != '\0' ? 1 : 0, c.literalEscape));
    SetPair(app, "ClrWord.BlkFG", "ClrWord.BlkBG", c.blockColors);
    VarSetValue(app, "ClrWord.BlkBegin", c.blockBegin);
    VarSetValue(app, "ClrWord.BlkEnd", c.blockEnd);
    SetPair(app, "ClrWord.EolFG", "ClrWord.EolBG", c.toEndColors);
    VarSetValue(app, "ClrWord.EolText", c.toEndText);
    SetPair(app, "ClrWord.ColFG", "ClrWord.ColBG", c.columnColors);
    VarSetValue(app, "ClrWord.ColText", c.columnText);
    VarSetValue(app, "ClrWord.Column", c.column > 0 ? std::to_string(c.column) : "");
    for (int s = 1; s <= kColorWordSetCount; ++s) {
        SetPair(app, Format("ClrWord.FG%d", s), Format("ClrWord.BG%d", s),
                c.sets[static_cast<std::size_t>(s - 1)].colors);
    }
}

int CheckWordSetFields(AppSession& app, int set) {
    ColorIndexPair pair;
    PairState state = ReadPair(app, Format("Wordset %d", set), Format("ClrWord.FG%d", set),
                               Format("ClrWord.BG%d", set), pair);
    if (state == PairState::Empty) {
        Box(app, "Specify colors before invoking word edit.");
    }
    return state == PairState::Valid ? 0 : -1;
}

int StoreWordFields(AppSession& app, Colorizer& c) {
    Colorizer next = c;
    std::string delimiters = ResolveColorEscapes(Get(app, "ClrWord.Delimiters"));
    next.delimiters.clear();
    for (char d : delimiters) {
        if (d != ' ' && next.delimiters.find(d) == std::string::npos) {
            next.delimiters += d;
        }
    }
    if (next.delimiters.size() > kColorDelimiterMax) {
        Box(app, "More than 31 delimiters.");
        return -1;
    }
    next.caseSensitive = VarGetValue(app, "ClrWord.CaseSense") == "TRUE";
    if (ReadPair(app, "Literal", "ClrWord.LitFG", "ClrWord.LitBG", next.literalColors) == PairState::Faulty) {
        return -1;
    }
    std::string escape = Get(app, "ClrWord.Escape");
    next.literalEscape = escape.empty() ? '\0' : escape[0];

    if (!CommentText(app, "ClrWord.BlkBegin", next.blockBegin) ||
        !CommentText(app, "ClrWord.BlkEnd", next.blockEnd)) {
        return -1;
    }
    PairState block = ReadPair(app, "Comment begin/end", "ClrWord.BlkFG", "ClrWord.BlkBG", next.blockColors);
    if (block == PairState::Faulty) {
        return -1;
    }
    if ((!next.blockBegin.empty() || !next.blockEnd.empty()) &&
        (block == PairState::Empty || next.blockBegin.empty() || next.blockEnd.empty())) {
        Box(app, "Comment 'begin/end' colors missing.");
        return -1;
    }

    if (!CommentText(app, "ClrWord.EolText", next.toEndText)) {
        return -1;
    }
    PairState toEnd = ReadPair(app, "Comment to-end", "ClrWord.EolFG", "ClrWord.EolBG", next.toEndColors);
    if (toEnd == PairState::Faulty) {
        return -1;
    }
    if (toEnd == PairState::Valid && next.toEndText.empty()) {
        Box(app, "Comment 'to chars' missing.");
        return -1;
    }
    if (toEnd == PairState::Empty && !next.toEndText.empty()) {
        Box(app, "Comment 'to end' colors missing.");
        return -1;
    }

    if (!CommentText(app, "ClrWord.ColText", next.columnText)) {
        return -1;
    }
    PairState column =
        ReadPair(app, "Comment col-to-end", "ClrWord.ColFG", "ClrWord.ColBG", next.columnColors);
    if (column == PairState::Faulty) {
        return -1;
    }
    next.column = 0;
    if (!next.columnText.empty()) {
        if (column == PairState::Empty) {
            Box(app, "Comment col-to-end specified, but no colors specified.");
            return -1;
        }
        std::string number = Get(app, "ClrWord.Column");
        int32_t value = 0;
        for (char ch : number) {
            value = (ch >= '0' && ch <= '9' && value < kColorColumnMax) ? value * 10 + (ch - '0') : -1;
            if (value < 0) {
                break;
            }
        }
        if (number.empty() || value <= 0) {
            Box(app, "Comment column must be greater than 0.");
            return -1;
        }
        next.column = value;
    }
    for (int s = 1; s <= kColorWordSetCount; ++s) {
        ColorWordSet& set = next.sets[static_cast<std::size_t>(s - 1)];
        if (ReadPair(app, Format("Wordset %d", s), Format("ClrWord.FG%d", s), Format("ClrWord.BG%d", s),
                     set.colors) == PairState::Faulty) {
            return -1;
        }
    }
    next.fields.clear();
    if (!next.caseSensitive && c.caseSensitive) {
        next.words.UpperCaseAll();
    }
    PrepareColorizer(next);
    c = std::move(next);
    return 0;
}

void LoadFieldFields(AppSession& app, const Colorizer& c) {
    for (int i = 1; i <= kColorFieldMax; ++i) {
        const ColorField* f = static_cast<std::size_t>(i) <= c.fields.size()
                                  ? &c.fields[static_cast<std::size_t>(i - 1)]
                                  : nullptr;
        SetPair(app, Format("ClrField.FG%d", i), Format("ClrField.BG%d", i),
                f ? f->colors : ColorIndexPair{});
        VarSetValue(app, Format("ClrField.From%d", i), f ? std::to_string(f->from) : "");
        VarSetValue(app, Format("ClrField.To%d", i), f ? std::to_string(f->to) : "");
        VarSetValue(app, Format("ClrField.Name%d", i), f ? f->name : "");
    }
}

int StoreFieldFields(AppSession& app, Colorizer& c) {
    std::vector<ColorField> fields;
    auto number = [](const std::string& text) {
        int64_t n = text.empty() ? -1 : 0;
        for (char ch : text) {
            n = (ch >= '0' && ch <= '9' && n <= kColorColumnMax) ? n * 10 + (ch - '0') : -1;
            if (n < 0) {
                break;
            }
        }
        return n;
    };
    for (int i = 1; i <= kColorFieldMax; ++i) {
        std::string from = Get(app, Format("ClrField.From%d", i));
        std::string to = Get(app, Format("ClrField.To%d", i));
        if (from.empty() && to.empty()) {
            continue;
        }
        int64_t f = number(from);
        int64_t t = number(to);
        if (f <= 0 || t <= 0 || f > kColorColumnMax || t > kColorColumnMax) {
            Box(app, Format("Field %d, 'From' and 'To' columns must be greater than 0.", i));
            return -1;
        }
        if (t < f) {
            Box(app, Format("Field %d, 'To' column must be greater or equal to 'From' column.", i));
            return -1;
        }
        ColorField field;
        if (CheckColorPair(app, Format("Field %d", i), Get(app, Format("ClrField.FG%d", i)),
                           Get(app, Format("ClrField.BG%d", i)), field.colors) != 0) {
            return -1;
        }
        field.from = static_cast<int32_t>(f);
        field.to = static_cast<int32_t>(t);
        field.name = VarGetValue(app, Format("ClrField.Name%d", i)).substr(0, kColorFieldNameMax);
        fields.push_back(std::move(field));
    }
    c.fields = std::move(fields);
    PrepareColorizer(c);
    return 0;
}

}  // namespace tavoe
