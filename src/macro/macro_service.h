#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace tavoe {

// The service interface: how a macro acts on the editor through TAVOSERVICE (selector, P2, P3).
// The table of selectors, their argument rules and every message live here; what only the running
// instance knows (the edit session's cursor, lines and labels, dialogs, the pause) is asked of the
// engine's host (macro_host.h), so the macro layer never sees the editing or view code.
//
//   CMD       P2 command       runs it as if typed on the current context's command line
//   DIALOG    P2 dialog name   shows the dialog; "OK", "HELP", "CANCEL", "ERROR" or empty
//   QUERY     P2 what, P3 n    reads editor state (ServiceQuery)
//   SET       P2 what, P3 val  changes editor state (ServiceSet)
//   SLEEP     P2 milliseconds  pauses 1..15000 ms
//   VGET      P2 name          a store variable's value
//   VPUT      P2 name, P3 val  sets a store variable
//   VDELETE   P2 name          clears a store variable and its persist flag
//   VPERSIST  P2 name          marks a store variable to be kept in the main profile
//
// The service never stops the macro: every problem is a message and an empty result.

struct AppSession;
class MacroHost;

inline constexpr size_t kServiceSelectorMax = 31;     // a longer selector is refused as too long
inline constexpr size_t kServiceQueryDataMax = 1023;  // longest LINE_DATA handed back
inline constexpr int kServiceSleepMaxMs = 15000;

// The query selectors; the numbers are the table's identifiers (CHARSET and CHARSET_FILE share 5).
enum class ServiceQuery : int {
    BoundsLeft = 1,
    BoundsRight = 2,
    Caps = 3,
    CharsetFile = 5,
    CharsetDisplay = 6,
    ColNumber = 7,
    Cols = 8,
    CursorRow = 9,
    Date = 10,
    DateEur = 11,
    DateIso = 12,
    DateJis = 13,
    DateUsa = 14,
    FileModified = 15,
    FileSpec = 16,
    FindStringCount = 17,
    FindLineCount = 18,
    FontFace = 19,
    FontSize = 20,
    LastLineNumber = 21,
    LastColNumber = 22,
    LineData = 23,
    LineCount = 24,
    LineLabel = 25,
    LineLength = 26,
    LineNumber = 27,
    SelectMode = 28,
    SelectStartCol = 29,
    SelectEndCol = 30,
    SelectStartLine = 31,
    SelectEndLine = 32,
    TaskCount = 33,
    XStatus = 34,
};

enum class ServiceSet { ColNumber, CursorRow, LineData, Title };

// What the instance answers to a SET: done, or why it left the state as it was.
enum class ServiceSetOutcome { Done, NoSession, NotDataLine, ReadOnly };

// The query of an upper-case name, walking the table in its stored order; false when unknown.
bool LookupServiceQuery(std::string_view upperName, ServiceQuery& out);

// The date forms of QUERY DATE, DATE_USA, DATE_EUR, DATE_ISO and DATE_JIS for a local time.
std::string FormatServiceDate(ServiceQuery form, const std::tm& local);

// Runs one service request. `selector` may be in any case; p2 and p3 are null when not passed.
std::string TavoService(AppSession& app, MacroHost& host, std::string_view selector, const std::string* p2,
                        const std::string* p3);

}  // namespace tavoe
