// Parses arbitrary bytes as SORT parameters against bounds taken from the first bytes: a request it
// accepts has at least one field, every field inside the bounds with its start before its end, no
// two fields sharing a column, and at most two labels.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "commands/sort_params.h"

using namespace tavoe;

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    SortBounds bounds;
    bounds.left = 1 + data[0] % 16;
    bounds.right = bounds.left + data[1];
    std::string_view params(reinterpret_cast<const char*>(data) + 2, size - 2);
    SortParse parsed = ParseSortParams(params, bounds);
    if (!parsed.error.empty()) {
        return 0;
    }
    const SortRequest& request = parsed.request;
    Check(!request.fields.empty());
    Check(request.labels.size() <= 2);
    for (size_t i = 0; i < request.fields.size(); ++i) {
        const SortField& field = request.fields[i];
        Check(field.startColumn >= bounds.left && field.endColumn <= bounds.right);
        Check(field.startColumn <= field.endColumn);
        for (size_t j = 0; j < i; ++j) {
            const SortField& other = request.fields[j];
            Check(std::max(field.startColumn, other.startColumn) >
                  std::min(field.endColumn, other.endColumn));
        }
    }
    return 0;
}
