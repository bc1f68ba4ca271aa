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

}  // namespace tavoe
