#include "dialogs/help_text.h"

#include <cctype>

namespace tavoe {

namespace {

constexpr std::string_view kExamplePrefix = "Example: ";

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsHeading(std::string_view line) {
    return line.size() >= 3 && line.front() == '[' && line.back() == ']';
}

std::vector<std::string> HeadingNames(std::string_view line) {
    std::vector<std::string> names;
    std::string_view inner = line.substr(1, line.size() - 2);
    while (!inner.empty()) {
        size_t bar = inner.find('|');
        std::string key = HelpTopicKey(inner.substr(0, bar));
        if (!key.empty()) {
            names.push_back(std::move(key));
        }
        inner = bar == std::string_view::npos ? std::string_view() : inner.substr(bar + 1);
    }
    return names;
}

void FinishTopic(HelpTopic& topic) {
    while (!topic.lines.empty() && Trimmed(topic.lines.back()).empty()) {
        topic.lines.pop_back();
    }
}

}  // namespace

std::string HelpTopicKey(std::string_view name) {
    std::string key;
    bool blank = false;
    for (char c : Trimmed(name)) {
        if (c == ' ' || c == '\t') {
            blank = true;
            continue;
        }
        if (blank && !key.empty()) {
            key += ' ';
        }
        blank = false;
        key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return key;
}

std::vector<HelpTopic> ParseHelpText(std::string_view text) {
    std::vector<HelpTopic> topics;
    HelpTopic* current = nullptr;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        std::string_view trimmed = Trimmed(raw);
        // A heading starts the line; an indented "[...]" is text (a syntax line's options).
        if (!raw.empty() && raw.front() == '[' && IsHeading(trimmed)) {
            if (current != nullptr) {
                FinishTopic(*current);
            }
            topics.emplace_back();
            topics.back().names = HeadingNames(trimmed);
            current = &topics.back();
            if (current->names.empty()) {
                topics.pop_back();  // "[]" or "[ | ]": no name to answer to
                current = nullptr;
            }
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        if (current->summary.empty() && trimmed.empty()) {
            continue;  // blank lines before the summary
        }
        while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\t')) {
            raw.remove_suffix(1);
        }
        if (current->summary.empty()) {
            current->summary = std::string(trimmed);
        }
        if (trimmed.substr(0, kExamplePrefix.size()) == kExamplePrefix) {
            current->examples.emplace_back(Trimmed(trimmed.substr(kExamplePrefix.size())));
        }
        current->lines.emplace_back(raw);
    }
    if (current != nullptr) {
        FinishTopic(*current);
    }
    return topics;
}

const HelpTopic* FindHelpTopic(const std::vector<HelpTopic>& topics, std::string_view name) {
    std::string key = HelpTopicKey(name);
    if (key.empty()) {
        return nullptr;
    }
    for (const HelpTopic& topic : topics) {
        for (const std::string& candidate : topic.names) {
            if (candidate == key) {
                return &topic;
            }
        }
    }
    return nullptr;
}

}  // namespace tavoe
