#include "editing/column_edit.h"

#include <algorithm>

namespace tavoe {

ColumnEdit InsertColumns(std::string_view text, std::uint32_t offset, std::string_view chars,
                         const ColumnField& field, bool padShort, std::string& out) {
    const std::size_t length = text.size();
    if ((length <= offset && !padShort) || chars.empty()) {
        return ColumnEdit::Unchanged;
    }
    if (offset >= field.end) {
        return ColumnEdit::NoRoom;
    }
    const std::size_t fieldLength = std::min<std::size_t>(length, field.end);
    std::string_view tail = length > field.end ? text.substr(field.end) : std::string_view();
    std::string shifted(chars);
    if (fieldLength > offset) {
        shifted.append(text.substr(offset, fieldLength - offset));
    }
    const std::size_t room = field.end - offset;
    if (shifted.size() > room) {
        if (shifted.find_first_not_of(' ', room) != std::string::npos) {
            return ColumnEdit::NoRoom;
        }
        shifted.resize(room);
    }
    if (!tail.empty()) {
        shifted.resize(room, ' ');  // the number columns stay where they are
    }
    out.assign(text.substr(0, std::min<std::size_t>(length, offset)));
    out.resize(offset, ' ');
    out += shifted;
    if (field.keepLength && out.size() < length) {
        out.resize(length, ' ');
    }
    out.append(tail);
    return ColumnEdit::Changed;
}

ColumnEdit DeleteColumns(std::string_view text, std::uint32_t offset, std::uint32_t count,
                         const ColumnField& field, std::string& out) {
    const std::size_t fieldLength = std::min<std::size_t>(text.size(), field.end);
    if (offset >= fieldLength || count == 0) {
        return ColumnEdit::Unchanged;
    }
    const std::size_t removed = std::min<std::size_t>(count, fieldLength - offset);
    std::string_view tail = text.substr(fieldLength);
    out.assign(text.substr(0, offset));
    out.append(text.substr(offset + removed, fieldLength - offset - removed));
    if (!tail.empty() || field.keepLength) {
        out.resize(fieldLength, ' ');
    }
    out.append(tail);
    return ColumnEdit::Changed;
}

std::string CopyColumns(std::string_view text, std::uint32_t offset, std::uint32_t count) {
    std::string piece;
    if (offset < text.size()) {
        piece.assign(text.substr(offset, count));
    }
    piece.resize(count, ' ');
    return piece;
}

}  // namespace tavoe
