#include "view/view_prefix.h"

#include <optional>

#include "buffer/edit_buffer.h"
#include "buffer/numbering.h"
#include "platform/format.h"

namespace tavoe {

namespace {

// Tags are kept 9 characters long, like the line's own fields, and cut to the prefix width.
constexpr std::string_view kChangedTag = "==CHG>   ";
constexpr std::string_view kErrorTag = "==ERR>   ";

std::string_view KindTag(LineKind kind) {
    switch (kind) {
        case LineKind::Bounds:
            return "<BNDS>   ";
        case LineKind::Cols:
            return "<COLS>   ";
        case LineKind::Mask:
            return "<MASK>   ";
        case LineKind::Note:
            return "<NOTE>   ";
        case LineKind::Tabs:
            return "<TABS>   ";
        default:
            return {};
    }
}

// The first `width` characters of a field, blank-padded to the width.
std::string LeftCut(std::string_view field, int width) {
    std::string text(field.substr(0, std::min(field.size(), static_cast<size_t>(width))));
    for (char& c : text) {
        if (c == '\0') {
            c = ' ';
        }
    }
    text.resize(static_cast<size_t>(width), ' ');
    return text;
}

}  // namespace

std::string PrefixNumberDigits(const EditBuffer& buffer, LineRecord& line) {
    const FileProfile& profile = buffer.profile;
    if (profile.numberType != NumberType::None && profile.numberColumnStart == 1) {
        std::optional<NumberField> field = ProfileNumberField(buffer);
        if (field && LineNumberValue(buffer, line)) {
            std::string_view digits(line.text + field->offset, field->width);
            if (digits.size() > 8) {
                digits = digits.substr(digits.size() - 8);
            }
            std::string text(8 - digits.size(), '0');
            text.append(digits);
            text += ' ';
            return text;
        }
    }
    return Format("%08u ", static_cast<unsigned>(line.recordNumber));
}

std::string PrefixNumber(const EditBuffer& buffer, LineRecord& line, int width) {
    if (width < 4) {
        return std::string(static_cast<size_t>(std::max(width, 0)), ' ');
    }
    std::string text = PrefixNumberDigits(buffer, line);
    size_t w = static_cast<size_t>(width);
    if (text.size() >= w) {
        return text.substr(text.size() - w);
    }
    return std::string(w - text.size(), ' ') + text;
}

PrefixShown RowPrefix(const EditBuffer& buffer, LineRecord* line, int width, const PrefixOptions& options) {
    PrefixShown shown;
    width = std::max(width, 0);
    // A boxed prefix gives its last cell to the box's edge.
    int drawn = options.boxed ? std::max(width - 1, 0) : width;
    if (line == nullptr) {
        shown.text.assign(static_cast<size_t>(width), ' ');
        return shown;
    }
    if (LineHasPendingCommand(*line)) {
        shown.text = LeftCut(LinePendingCommand(*line), drawn);
        shown.element = ColorElement::Lcmds;
    } else if (LineHasLabel(*line)) {
        shown.text = LeftCut(LineLabelField(*line), drawn);
        shown.element = ColorElement::Other;
    } else if (LineHasFlag(*line, LineFlagB::Changed)) {
        shown.text = LeftCut(kChangedTag, drawn);
        shown.element = ColorElement::Other;
    } else if (!KindTag(line->kind).empty()) {
        shown.text = LeftCut(KindTag(line->kind), drawn);
        shown.element = ColorElement::Other;
    } else if (LineHasFlag(*line, LineFlagA::Error)) {
        shown.text = LeftCut(kErrorTag, drawn);
        shown.element = ColorElement::Other;
    } else if (IsDataLine(*line) && options.showNumbers && !LineHasFlag(*line, LineFlagA::InsertPending)) {
        shown.text = PrefixNumber(buffer, *line, drawn);
    } else {
        shown.text.assign(static_cast<size_t>(drawn), ' ');
    }
    shown.text.resize(static_cast<size_t>(width), ' ');
    return shown;
}

}  // namespace tavoe
