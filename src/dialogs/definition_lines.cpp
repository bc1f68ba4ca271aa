#include "dialogs/definition_lines.h"

namespace tavoe {

namespace {

constexpr size_t kLineMax = 255;

}  // namespace

std::vector<std::string_view> SplitDefinitionLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        size_t next = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view whole = text.substr(pos, (end == std::string_view::npos ? text.size() : end) - pos);
        do {
            std::string_view line = whole.substr(0, kLineMax);
            whole.remove_prefix(line.size());
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            lines.push_back(line);
        } while (!whole.empty());
        pos = next;
    }
    return lines;
}

}  // namespace tavoe
