#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "macro/macro_program.h"

namespace tavoe {

// The runtime function library: 48 built-in functions for strings, files, the environment, date and
// time, messages and tracing, the editor's service interface and library entry points. The table is
// sorted by name; a call's upper-cased name is looked up here before the user's functions, so these
// names shadow user functions of the same name. Each handler evaluates its own arguments through
// RuntimeCall, checks their count exactly, and reports misuse as a run-time error.

class MacroInterp;

inline constexpr size_t kRuntimeResultMax = 1024;  // longest text a string function builds

struct RuntimeCall {
    MacroInterp& interp;
    const PNode& node;
    const MacroCall& call;
    MacroValue& result;  // stays null for functions that return nothing

    int Count() const { return call.argCount; }
    const PNode* ArgNode(int index) const;
    // The argument's value as text; false after an error.
    bool Text(int index, std::string& out) const;
    // The argument's number (leading sign and digits, 0 when none); false after an error.
    bool Number(int index, int32_t& out) const;
    // The slot of an argument that is a variable (subscripted or not); null when it is no variable
    // or its subscript names no element.
    MacroValue* VarSlot(int index) const;
    bool IsVariable(int index) const;
    // Reports a run-time error at the call; always false.
    bool Fail(std::string_view message) const;

    void Return(std::string_view text) const { result.SetText(text); }
    void ReturnBool(bool value) const { result.SetText(value ? "TRUE" : "FALSE"); }
    void ReturnNumber(int64_t value) const;
};

using RuntimeHandler = bool (*)(const RuntimeCall& call);

struct RuntimeFunction {
    std::string_view name;
    RuntimeHandler handler;
};

// The handler of the upper-cased name, or null.
const RuntimeFunction* FindRuntimeFunction(std::string_view upperName);
// The whole table, in name order (for tests).
std::string_view RuntimeFunctionName(size_t index);
size_t RuntimeFunctionCount();

// The families of handlers, each in its own file.
bool RtDate(const RuntimeCall& call);
bool RtTime(const RuntimeCall& call);
bool RtGetEnv(const RuntimeCall& call);
bool RtPutEnv(const RuntimeCall& call);
bool RtMsg(const RuntimeCall& call);
bool RtNegate(const RuntimeCall& call);
bool RtTrace(const RuntimeCall& call);

bool RtFileClose(const RuntimeCall& call);
bool RtFileCopy(const RuntimeCall& call);
bool RtFileDelete(const RuntimeCall& call);
bool RtFileExist(const RuntimeCall& call);
bool RtFileIsDir(const RuntimeCall& call);
bool RtFileOpen(const RuntimeCall& call);
bool RtFilePrint(const RuntimeCall& call);
bool RtFileRecRead(const RuntimeCall& call);
bool RtFileRecWrite(const RuntimeCall& call);

bool RtStrCat(const RuntimeCall& call);
bool RtStrCenter(const RuntimeCall& call);
bool RtStrCmp(const RuntimeCall& call);
bool RtStrCompose(const RuntimeCall& call);
bool RtStrCpy(const RuntimeCall& call);
bool RtStrDelSubstr(const RuntimeCall& call);
bool RtStrFindSubstr(const RuntimeCall& call);
bool RtStrFindLast(const RuntimeCall& call);
bool RtStrGenStr(const RuntimeCall& call);
bool RtStrGetSubstr(const RuntimeCall& call);
bool RtStrInsSubstr(const RuntimeCall& call);
bool RtStrIsAlnum(const RuntimeCall& call);
bool RtStrIsAlpha(const RuntimeCall& call);
bool RtStrIsDigit(const RuntimeCall& call);
bool RtStrIsLower(const RuntimeCall& call);
bool RtStrIsUpper(const RuntimeCall& call);
bool RtStrIsInSet(const RuntimeCall& call);
bool RtStrLen(const RuntimeCall& call);
bool RtStrLwr(const RuntimeCall& call);
bool RtStrNCmp(const RuntimeCall& call);
bool RtStrNCpy(const RuntimeCall& call);
bool RtStrOvlSubstr(const RuntimeCall& call);
bool RtStrParse(const RuntimeCall& call);
bool RtStrParseX(const RuntimeCall& call);
bool RtStrParseWord(const RuntimeCall& call);
bool RtStrRev(const RuntimeCall& call);
bool RtStrStripLeading(const RuntimeCall& call);
bool RtStrStripTrailing(const RuntimeCall& call);
bool RtStrUpr(const RuntimeCall& call);

// Seams to the editor (macro_runtime_hooks.cpp): the service interface and library entry points.
bool RtTavoService(const RuntimeCall& call);
bool RtDllEpRegister(const RuntimeCall& call);
bool RtDllEpCall(const RuntimeCall& call);

}  // namespace tavoe
