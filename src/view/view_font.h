#pragma once

#include <string>
#include <string_view>

#include "profiles/file_profile.h"

namespace tavoe {

// The check that the screen can show a session's display character set. The edit text is drawn by
// the terminal, so what matters is the terminal's character encoding, which the user's locale names:
// a UTF-8 terminal shows both display sets; an ISO-8859-1 terminal shows ASCII-ISO8859 only; a code
// page 437 terminal ASCII-IBMPC only; any other (plain ASCII and the rest) shows neither beyond the
// codes 20-127.

struct AppSession;
struct EditSession;

enum class TerminalEncoding { Utf8, Latin1, Cp437, Other };

struct TerminalCharset {
    TerminalEncoding encoding = TerminalEncoding::Utf8;
    std::string name;  // as the locale spells it ("UTF-8", "ISO-8859-1", "ANSI_X3.4-1968", ...)
};

// The encoding a locale name selects: the part after "." (up to "@"); "C", "POSIX" and an empty name
// are plain ASCII.
TerminalCharset TerminalCharsetOfLocale(std::string_view locale);

// The encoding of the user's locale: LC_ALL, else LC_CTYPE, else LANG.
TerminalCharset TerminalCharsetFromEnvironment();

// Whether a terminal of that encoding shows every code of the display set.
bool TerminalShows(TerminalEncoding encoding, ProfileCharset display);

// Warns when the terminal cannot show the session's display set: "Edit font '%s' and display charset
// %s are not compatible.\nCan not display char codes outside range 20-127 correctly.\n\nRecommend
// change to Edit font '%s' (or equivalent).\nOr change File Profile '%s' field 'CharacterSet' to
// display charset %s." (box, beep 2), naming the terminal's encoding as the font, "UTF-8" as the
// recommended one, the profile and the other display set. Returns 1 after a warning, else 0.
int CheckEditFontFor(AppSession& app, const EditSession& session, const TerminalCharset& terminal);

// The check for the program's own screen: in a terminal the locale's encoding; headless output is
// always UTF-8 and passes.
int CheckEditFont(AppSession& app, const EditSession& session);

}  // namespace tavoe
