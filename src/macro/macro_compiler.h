#pragma once

namespace tavoe {

// The macro compiler: turns a macro's token list into p-code (statement lists of PNode records),
// its global variables and its functions. The language has typed declarations (BOOL, char/BYTE,
// int), brace blocks, if/while/switch, user functions and infix expressions whose five arithmetic
// operators share one precedence and group left to right. The first error is written to the error
// file at the offending token and stops the compile. `argc` and `argv` are declared first, so a
// program may use them without declaring them.

struct AppSession;
struct CompiledMacro;

void MacroCompile(AppSession& app, CompiledMacro& macro);

}  // namespace tavoe
