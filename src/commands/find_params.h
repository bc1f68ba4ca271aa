#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavoe {

// The parameters shared by FIND, CHANGE, EXCLUDE and their repeats: up to two strings (plain, exact
// c'..', hexadecimal x'..', picture p'..'), up to two columns, up to two labels, and keywords. One
// parse fills one FindParameters; the session keeps only what the repeats and "*" need.

struct AppSession;
struct EditSession;
struct LineRecord;

enum class FindDirection : std::int32_t { First = 0, Last = 1, Prev = 2, Next = 3, All = 4 };
enum class LineFilter : std::int32_t { Any = 0, Excluded = 1, Visible = 2 };
enum class FindConstraint : std::int32_t {
    None = 0,
    DupLines = 1,
    Eol = 2,
    Prefix = 3,
    Suffix = 4,
    Word = 5
};

// Find: FIND, RFIND and EXCLUDE (one string). Change: CHANGE and RCHANGE (two strings).
enum class ParseMode { Find = 1, Change = 2 };
enum class StringRequired { No, Yes };

inline constexpr std::size_t kFindTextMax = 255;

struct FindParameters {
    FindDirection direction = FindDirection::Next;
    LineFilter lineFilter = LineFilter::Any;
    FindConstraint constraint = FindConstraint::None;
    std::int32_t startColumn = 1;  // record columns, from 1
    std::int32_t endColumn = 1;
    bool failed = false;
    bool quiet = false;
    bool picture1 = false;
    bool picture2 = false;
    bool exact1 = false;  // c'..' or x'..': case counts
    bool blank1 = false;  // string one is all blanks
    bool exact2 = false;  // string two was written in quotes
    bool string2Given = false;
    std::string string1;
    std::string string2;
    std::string lower1;  // string one in lower and in upper case, when not exact
    std::string upper1;
    std::string label1;  // upper case
    std::string label2;
    // The labels' lines in file order; from = null when no label was given.
    LineRecord* rangeFrom = nullptr;
    LineRecord* rangeTo = nullptr;
};

// Parses the parameter text of a search command. Every error is shown in a box and sets `failed`;
// the texts and "*" strings are kept in the session's find state as the commands need them.
FindParameters ParseFindParameters(AppSession& app, EditSession& session, std::string_view text,
                                   ParseMode mode, StringRequired required);

// The same rules without a session, for checking texts alone (the fuzz target, tests): labels are
// not looked up, the columns default to 1..`defaultEnd`, and messages still go to `app`.
FindParameters ParseFindText(AppSession& app, std::string_view text, ParseMode mode, StringRequired required,
                             std::int32_t boundsLeft, std::int32_t boundsRight);

// The text RFIND and RCHANGE run: outside quotes FIRST and ALL become "next", LAST becomes "prev"
// and QUIET is dropped; quoted strings (plain, c, x and p) are kept as written.
std::string RepeatText(std::string_view text);

}  // namespace tavoe
