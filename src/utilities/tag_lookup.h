#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// TAGFIND: the word under the cursor looked up in a tags index made by ctags (ZCTAGSFILE), and the
// defining file opened at the defining line: in the current session when it is the current file,
// else in a new editor process (ZCTAGSACTION "browse" or "edit").

struct AppSession;

// The key around a character of a line (offset from 0, inside the text): the run of characters on
// both sides that are neither control codes nor one of ~`!@#$%^&*()-+={}[]|:;<>,.?/\ and blank.
std::string TagKeyAt(std::string_view text, size_t offset);

// The same run, but with "-" taken into it where it joins two key characters (COBOL names such as
// MAIN-PARA); equal to TagKeyAt where there is no such hyphen.
std::string HyphenatedTagKeyAt(std::string_view text, size_t offset);

enum class TagLookup {
    Found,
    KeyNotFound,   // no line begins with the key and a blank
    NoExactMatch,  // key lines, none with a complete /^...$/;" pattern
    NoSelector,    // complete patterns, none of the selector's kind
    CannotOpen,
    Cancelled,  // Escape while reading a large index
};

struct TagHit {
    std::string file;     // as the index names it
    std::string pattern;  // the defining line's exact text
};

// Reads the index line by line and stops at the first line of the key whose pattern is complete and
// whose kind letter equals the selector (upper-cased both). Lines of any length and bytes of any
// value are read without harm; patterns have ctags' "\/" and "\\" escapes undone.
TagLookup LookupTag(AppSession& app, const std::string& indexPath, std::string_view key, char selector,
                    TagHit& hit);

// What TAGFIND needs of the edit session, and what it asks of it.
struct TagFindRequest {
    std::string parameters;   // after the verb
    bool inDataArea = false;  // the cursor is in the data area
    bool onTextLine = false;  // ... on a data line
    std::string lineText;     // that line's text
    int column = 0;           // the cursor's record column, from 1
    std::string currentFile;  // the session's full path
};

class TagFindActions {
public:
    virtual ~TagFindActions() = default;
    // Moves the current session to its first line that holds the pattern (what the chain
    // TOP;FIND C'pattern';RESET;CURSOR does).
    virtual void ShowInCurrentSession(const std::string& pattern) = 0;
    // Starts another editor with the arguments (after the program path), whose start-up command finds
    // the pattern; 0 when it started.
    virtual int LaunchEditor(const std::vector<std::string>& arguments, const std::string& pattern) = 0;
};

// The command: every check and message of TAGFIND, the lookup, and the jump. 0 when the target was
// reached or an editor started for it, -1 after a message.
int TagFind(AppSession& app, const TagFindRequest& request, TagFindActions& actions);

// The FIND command of a pattern, quoted with "'" unless the pattern holds one (then with '"').
std::string TagFindCommand(std::string_view pattern);

}  // namespace tavoe
