#include "commands/sort_params.h"

#include <optional>

#include "core/command_line.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr int32_t kColumnCeiling = 1000000;  // beyond any record; larger numbers are kept at this

// Digits only: the column, kept at the ceiling when larger. nullopt for anything else.
std::optional<int32_t> ColumnNumber(std::string_view word) {
    if (word.empty()) {
        return std::nullopt;
    }
    int32_t value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value >= kColumnCeiling ? kColumnCeiling : value * 10 + (c - '0');
    }
    return value;
}

// A field as it is being read: its end and its order may still follow.
struct OpenField {
    SortField field;
    bool hasEnd = false;
    bool hasOrder = false;
};

std::string Invalid(std::string_view word) {
    return Format("SORT: '%s' is not a valid parameter", std::string(word).c_str());
}

std::string CheckFields(const std::vector<SortField>& fields, SortBounds bounds) {
    for (const SortField& field : fields) {
        if (field.startColumn < bounds.left || field.startColumn > bounds.right ||
            field.endColumn < bounds.left || field.endColumn > bounds.right) {
            return "SORT: column outside bounds";
        }
        if (field.startColumn > field.endColumn) {
            return "SORT: start column greater than end column";
        }
    }
    for (size_t i = 0; i < fields.size(); ++i) {
        for (size_t k = i + 1; k < fields.size(); ++k) {
            if (fields[i].startColumn <= fields[k].endColumn &&
                fields[k].startColumn <= fields[i].endColumn) {
                return "SORT: fields overlap";
            }
        }
    }
    return {};
}

}  // namespace

SortParse ParseSortParams(std::string_view params, SortBounds bounds) {
    SortParse parse;
    SortRequest& request = parse.request;
    std::vector<OpenField> fields;
    bool hasFilter = false;
    std::optional<SortOrder> defaultOrder;
    for (CommandWords words = CommandFirstWord(params); !words.word.empty();
         words = CommandFirstWord(words.rest)) {
        const std::string word = CommandToUpper(words.word);
        if (word == "X" || word == "EX" || word == "NX") {
            if (hasFilter) {
                parse.error = Invalid(word);
                return parse;
            }
            hasFilter = true;
            request.filter = word == "NX" ? SortFilter::Visible : SortFilter::Excluded;
        } else if (word == "A" || word == "D") {
            const SortOrder order = word == "A" ? SortOrder::Ascending : SortOrder::Descending;
            if (fields.empty()) {
                if (defaultOrder.has_value()) {
                    parse.error = Invalid(word);
                    return parse;
                }
                defaultOrder = order;
            } else if (fields.back().hasOrder) {
                parse.error = Invalid(word);
                return parse;
            } else {
                fields.back().field.order = order;
                fields.back().hasOrder = true;
                fields.back().hasEnd = true;  // a number after the order starts the next field
            }
        } else if (std::optional<int32_t> column = ColumnNumber(word)) {
            if (!fields.empty() && !fields.back().hasEnd) {
                fields.back().field.endColumn = *column;
                fields.back().hasEnd = true;
            } else {
                fields.push_back({.field = {.startColumn = *column, .endColumn = bounds.right}});
            }
        } else if (word.front() == '.') {
            if (request.labels.size() == 2) {
                parse.error = "Too many labels.";
                return parse;
            }
            request.labels.push_back(word);
        } else {
            parse.error = Invalid(word);
            return parse;
        }
    }
    const SortOrder order = defaultOrder.value_or(SortOrder::Ascending);
    for (const OpenField& open : fields) {
        request.fields.push_back(open.field);
        if (!open.hasOrder) {
            request.fields.back().order = order;
        }
    }
    if (request.fields.empty()) {
        request.fields.push_back({.startColumn = bounds.left, .endColumn = bounds.right, .order = order});
    }
    parse.error = CheckFields(request.fields, bounds);
    return parse;
}

}  // namespace tavoe
