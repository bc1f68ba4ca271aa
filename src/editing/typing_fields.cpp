#include "editing/typing_fields.h"

#include <algorithm>

#include "buffer/edit_buffer.h"
#include "buffer/numbering.h"

namespace tavoe {

namespace {

// COB+STD numbers: the COBOL field in columns 1-6 and the standard field in columns 73-80 around the
// text in columns 7-72.
constexpr std::int32_t kCobolNumberEnd = 6;
constexpr std::int32_t kStandardNumberStart = 73;
constexpr std::int32_t kStandardNumberEnd = 80;

struct NumberColumns {
    std::int32_t start = 0;
    std::int32_t end = 0;
};

// The number columns of a numbered data line: the profile's, or for COB+STD the COBOL part.
std::optional<NumberColumns> NumberColumnsOf(const EditBuffer& buffer, const LineRecord& line) {
    if (!IsDataLine(line)) {
        return std::nullopt;
    }
    if (buffer.profile.numberType == NumberType::CobStd) {
        return NumberColumns{1, kCobolNumberEnd};
    }
    std::optional<NumberField> field = ProfileNumberField(buffer);
    if (buffer.profile.numberType == NumberType::None || !field) {
        return std::nullopt;
    }
    return NumberColumns{static_cast<std::int32_t>(field->offset) + 1,
                         static_cast<std::int32_t>(field->End())};
}

bool AutoNumbers(const EditBuffer& buffer) {
    return buffer.profile.numberAuto != NumberAuto::None;
}

}  // namespace

std::int32_t MaxRecordLength(const EditBuffer& buffer) {
    return std::clamp(buffer.profile.maxRecordLength, 1, 64000);
}

bool LineNumbersOn(const EditBuffer& buffer) {
    if (buffer.profile.numberType == NumberType::None) {
        return false;
    }
    return buffer.profile.numberType == NumberType::CobStd || ProfileNumberField(buffer).has_value();
}

bool InNumberColumns(const EditBuffer& buffer, const LineRecord& line, std::int32_t column) {
    std::optional<NumberColumns> number = NumberColumnsOf(buffer, line);
    if (!number) {
        return false;
    }
    if (buffer.profile.numberType == NumberType::CobStd) {
        return column <= kCobolNumberEnd || (column >= kStandardNumberStart && column <= kStandardNumberEnd);
    }
    return column >= number->start && column <= number->end;
}

std::optional<EditField> EditableField(const EditBuffer& buffer, const LineRecord& line,
                                       std::int32_t column) {
    const std::int32_t length = MaxRecordLength(buffer);
    if (column < 1 || column > length) {
        return std::nullopt;
    }
    std::optional<NumberColumns> number = NumberColumnsOf(buffer, line);
    EditField field;
    if (!number) {
        field.last = length;
        bool padded = IsDataLine(line) && buffer.profile.recordFormat == Recfm::Fixed;
        field.shape = padded ? FieldShape::Padded : FieldShape::Growing;
        return field;
    }
    field.shape = FieldShape::Padded;
    if (buffer.profile.numberType == NumberType::CobStd) {
        const std::int32_t standardEnd = std::min(kStandardNumberEnd, length);
        if (column <= kCobolNumberEnd) {
            field = EditField{1, kCobolNumberEnd, FieldShape::Padded, true};
        } else if (column < kStandardNumberStart) {
            field = EditField{kCobolNumberEnd + 1, std::min(kStandardNumberStart - 1, length),
                              FieldShape::Padded, false};
        } else {
            field = EditField{kStandardNumberStart, standardEnd, FieldShape::Padded, true};
        }
        if (field.numberField && AutoNumbers(buffer)) {
            return std::nullopt;
        }
        if (column > field.last) {
            return std::nullopt;
        }
        return field;
    }
    if (column >= number->start && column <= number->end) {
        if (AutoNumbers(buffer)) {
            return std::nullopt;
        }
        return EditField{number->start, number->end, FieldShape::Padded, true};
    }
    if (number->start > 1) {
        field.first = 1;
        field.last = number->start - 1;
    } else {
        field.first = number->end + 1;
        field.last = length;
    }
    if (column < field.first || column > field.last) {
        return std::nullopt;
    }
    return field;
}

EditField TextFieldOf(const EditBuffer& buffer, const LineRecord& line) {
    const std::int32_t length = MaxRecordLength(buffer);
    std::optional<NumberColumns> number = NumberColumnsOf(buffer, line);
    if (!number) {
        return EditableField(buffer, line, 1).value_or(EditField{1, length, FieldShape::Growing, false});
    }
    if (buffer.profile.numberType == NumberType::CobStd) {
        return EditField{kCobolNumberEnd + 1, std::min(kStandardNumberStart - 1, length), FieldShape::Padded,
                         false};
    }
    if (number->start > 1) {
        return EditField{1, number->start - 1, FieldShape::Padded, false};
    }
    return EditField{std::min(number->end + 1, length), length, FieldShape::Padded, false};
}

}  // namespace tavoe
