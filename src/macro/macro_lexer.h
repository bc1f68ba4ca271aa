#pragma once

namespace tavoe {

// The macro lexer: turns the source records of a compiled macro into its token list. Blanks and
// comments (line comments and nesting block comments) are skipped; identifiers, keywords, number
// and string literals and the operators become tokens carrying their file, line and column. The
// first error is written to the error file and stops lexing.

struct AppSession;
struct CompiledMacro;

void MacroTokenize(AppSession& app, CompiledMacro& macro);

}  // namespace tavoe
