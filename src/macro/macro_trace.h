#pragma once

#include <string>

namespace tavoe {

// The single-step trace: each node of a traced function is listed before it runs, rebuilt from its
// p-code as "FUNCTION(line): statement", followed by the variables it uses and their values.

class MacroInterp;
class MacroValue;
struct CompiledMacro;
struct MacroFunction;
struct PNode;

std::string MacroTraceListing(MacroInterp& interp, const MacroFunction& function, const PNode& node);

// A chosen switch case: "case VALUE:" with text values in double quotes, numbers and booleans bare,
// or "default:".
std::string MacroTraceCaseText(const MacroValue& value, bool isDefault);
std::string MacroTraceCaseListing(const CompiledMacro& macro, const MacroFunction& function,
                                  const PNode& node, const std::string& caseText);

}  // namespace tavoe
