#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// The help texts: plain text files found along ZPATH.HELP. A file holds topics; each begins with a
// heading line "[NAME]" or "[NAME | OTHER NAME ...]" (the names one topic answers to, in any case)
// and runs to the next heading. A heading starts at the beginning of its line; an indented line in
// brackets is text. Lines before the first heading are comments. Within a topic:
//   - the first line that is not blank is the topic's summary, shown beside its name in the quick
//     references and the contents;
//   - a line "Example: TEXT" gives a command that can be typed as it stands (the coverage test
//     checks every one against the command tables);
//   - every other line is shown as written.

struct HelpTopic {
    std::vector<std::string> names;  // upper case, as written in the heading
    std::string summary;
    std::vector<std::string> lines;     // the body, summary included, trailing blank lines dropped
    std::vector<std::string> examples;  // the text after "Example: "
};

// The topics of one help file's text, in file order.
std::vector<HelpTopic> ParseHelpText(std::string_view text);

// The topic answering to the name (compared without regard to case and to runs of blanks), or null.
const HelpTopic* FindHelpTopic(const std::vector<HelpTopic>& topics, std::string_view name);

// The name with its letters upper-cased and its blanks reduced to single blanks, trimmed.
std::string HelpTopicKey(std::string_view name);

}  // namespace tavoe
