#include "buffer/numbering.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "core/message.h"
#include "platform/format.h"

namespace tavoe {

namespace {

bool NumberingOn(const EditBuffer& buffer) {
    return buffer.profile.numberType != NumberType::None;
}

bool FieldIsDigits(const LineRecord& line, const NumberField& field) {
    if (line.length < field.End()) {
        return false;
    }
    for (std::uint32_t i = field.offset; i < field.End(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(line.text[i]))) {
            return false;
        }
    }
    return true;
}

std::int64_t FieldValue(const LineRecord& line, const NumberField& field) {
    std::int64_t value = 0;
    for (std::uint32_t i = field.offset; i < field.End(); ++i) {
        value = value * 10 + (line.text[i] - '0');
    }
    return value;
}

void Recolor(EditBuffer& buffer, LineRecord& line) {
    if (buffer.colorizer != nullptr) {
        buffer.colorizer->ColorizeLine(buffer, line);
    }
}

// Pads the line to the end of the field and writes the number into it. The buffer is marked
// modified only when a byte changed, so renumbering an already numbered file before a save does not
// leave it modified. -1 when the line could not be lengthened (reported by the line operations).
int WriteNumber(EditBuffer& buffer, LineRecord& line, const NumberField& field, std::int64_t number) {
    bool padded = line.length < field.End();
    if (padded && LinePadTo(buffer, line, field.End()) != 0) {
        return -1;
    }
    std::string text = FormatLineNumber(number, field.width);
    char* target = line.text + field.offset;
    bool changed = padded || std::memcmp(target, text.data(), field.width) != 0;
    std::memcpy(target, text.data(), field.width);
    LineSetFlag(line, LineFlagA::NumberValid);
    if (changed) {
        buffer.modified = true;
    }
    if (padded) {
        Recolor(buffer, line);
    }
    return 0;
}

bool IsUnnumberType(std::string_view type) {
    std::string upper(type);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    for (std::string_view known : {"COB", "COBOL", "STD", "STANDARD", "COB+STD", "OTHER"}) {
        if (upper == known) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<NumberField> ProfileNumberField(const EditBuffer& buffer) {
    const FileProfile& profile = buffer.profile;
    if (profile.numberColumnStart < 1 || profile.numberColumnEnd < profile.numberColumnStart ||
        profile.numberColumnEnd > kProfileRecordLengthMax) {
        return std::nullopt;
    }
    return NumberField{static_cast<std::uint32_t>(profile.numberColumnStart - 1),
                       static_cast<std::uint32_t>(profile.numberColumnEnd - profile.numberColumnStart + 1)};
}

std::string FormatLineNumber(std::int64_t number, std::uint32_t width) {
    if (number < 0) {
        number = 0;
    }
    std::string digits = std::to_string(number);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    digits.resize(width);
    return digits;
}

std::optional<std::int64_t> LineNumberValue(const EditBuffer& buffer, LineRecord& line) {
    std::optional<NumberField> field = ProfileNumberField(buffer);
    if (!field || line.length < field->End()) {
        return std::nullopt;
    }
    if (!LineHasFlag(line, LineFlagA::NumberValid)) {
        if (!FieldIsDigits(line, *field)) {
            return std::nullopt;
        }
        LineSetFlag(line, LineFlagA::NumberValid);
    }
    return FieldValue(line, *field);
}

void Renumber(EditBuffer& buffer) {
    (void)FinishLoad(buffer);  // an aborted load is reported; the lines read are numbered
    if (!NumberingOn(buffer)) {
        return;
    }
    std::optional<NumberField> field = ProfileNumberField(buffer);
    if (!field) {
        return;
    }
    std::int64_t number = buffer.profile.numberStart;
    for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
        if (WriteNumber(buffer, *line, *field, number) != 0) {
            break;
        }
        number += buffer.profile.numberIncrement;
    }
}

Status NumberNewLine(EditBuffer& buffer, LineRecord& line) {
    if (!IsDataLine(line) || !NumberingOn(buffer)) {
        return -1;
    }
    std::optional<NumberField> field = ProfileNumberField(buffer);
    if (!field) {
        return -1;
    }
    const FileProfile& profile = buffer.profile;
    LineRecord* current = &line;
    LineRecord* before = PrevDataLine(current);
    std::optional<std::int64_t> beforeNumber = before ? LineNumberValue(buffer, *before) : std::nullopt;
    bool hasPrevious = beforeNumber.has_value();
    std::int64_t previous = beforeNumber.value_or(0);
    // Each round numbers `current` from the number before it; a collision with the line after it
    // moves on to that line, which is strictly further down, so the walk ends at the bottom at the
    // latest.
    while (current != nullptr) {
        LineRecord* after = NextDataLine(current);
        std::optional<std::int64_t> afterNumber = after ? LineNumberValue(buffer, *after) : std::nullopt;
        std::int64_t number = 0;
        bool collides = false;
        if (!hasPrevious) {
            number = profile.numberStart;
        } else if (afterNumber.has_value() && afterNumber.value() > previous) {
            std::int64_t next = afterNumber.value();
            std::int64_t gap = next - previous;
            if (gap > 100) {
                number = previous + 100;
            } else if (gap > 10) {
                number = previous + 10;
            } else if (gap >= 2) {
                number = previous + 1;
            } else {
                number = next;
                collides = true;
            }
        } else {
            number = previous + profile.numberIncrement;
        }
        if (WriteNumber(buffer, *current, *field, number) != 0) {
            return -1;
        }
        if (!collides) {
            break;
        }
        hasPrevious = true;
        previous = number;
        current = after;
    }
    return 0;
}

Status Unnumber(EditBuffer& buffer, std::string_view type) {
    (void)FinishLoad(buffer);  // an aborted load is reported; the lines read are numbered
    if (type.empty()) {
        if (!NumberingOn(buffer)) {
            ShowMessage(buffer.host,
                        "Line numbering is currently off, specify line number type or set line numbering "
                        "on in File Profile.",
                        MsgTo::Box, Beep::Error);
            return -1;
        }
    } else if (!IsUnnumberType(type)) {
        ShowMessage(buffer.host, "Unknown line number type, unnumber command ignored.", MsgTo::Box,
                    Beep::Error);
        return -1;
    }
    const FileProfile& profile = buffer.profile;
    std::optional<NumberField> field = ProfileNumberField(buffer);
    if (!field) {
        return -1;
    }
    for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
        if (line->length < field->End()) {
            continue;
        }
        char* target = line->text + field->offset;
        if (std::any_of(target, target + field->width, [](char c) { return c != ' '; })) {
            std::memset(target, ' ', field->width);
            buffer.modified = true;
        }
        LineClearFlag(*line, LineFlagA::NumberValid);
    }
    ShowMessage(buffer.host,
                Format("Columns %d to %d cleared, line numbers now OFF for file type %s.",
                       profile.numberColumnStart, profile.numberColumnEnd, profile.name.c_str()),
                MsgTo::Line, Beep::Information);
    NumberingOff(buffer);
    return 0;
}

void NumberingOff(EditBuffer& buffer) {
    buffer.profile.numberType = NumberType::None;
}

std::string PrefixNumberText(const EditBuffer& buffer, LineRecord& line, int width) {
    if (width < 4) {
        return std::string(width > 0 ? width : 0, ' ');
    }
    std::string text;
    std::optional<NumberField> field = ProfileNumberField(buffer);
    if (NumberingOn(buffer) && field && LineNumberValue(buffer, line)) {
        text.assign(line.text + field->offset, field->width);
        text += ' ';
    } else {
        text = Format("%08u ", line.recordNumber);
    }
    std::size_t w = static_cast<std::size_t>(width);
    if (text.size() > w) {
        return text.substr(text.size() - w);
    }
    return std::string(w - text.size(), ' ') + text;
}

}  // namespace tavoe
