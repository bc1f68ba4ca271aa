#pragma once

#include <string>
#include <string_view>

namespace tavoe {

// "&" symbols in command lines: names of the current file and of the installation that a command,
// a menu item or a function key can carry without knowing them.

struct AppSession;

// The text with every symbol replaced: "&zdsnpath", "&zdsnname", "&zdsnbase", "&zdsnext", "&zdsn"
// and "&zhome" (all lower or all upper case, never mixed) by the values of the variables ZDSNPATH,
// ZDSNNAME, ZDSNBASE, ZDSNEXT, ZDSN and ZHOME, and "&zsemi" by ";". At one position the longest
// symbol wins, so "&zdsnpath" is never "&zdsn" followed by "path". An "&" that starts no symbol is
// kept. Substituted values are not scanned again.
std::string SubstituteCommandSymbols(AppSession& app, std::string_view in);

// The same for a command line that a shell reads: every value goes through quoteValue (which keeps
// a file name with blanks, quotes or semicolons one word); "&zsemi" stays a bare ";".
std::string SubstituteCommandSymbols(AppSession& app, std::string_view in,
                                     std::string (*quoteValue)(std::string_view value));

}  // namespace tavoe
