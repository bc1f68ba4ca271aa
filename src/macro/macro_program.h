#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "macro/macro_library.h"
#include "macro/macro_name_index.h"
#include "macro/macro_value.h"

namespace tavoe {

// The records of one compiled macro: its source lines, tokens, p-code, variables and functions. A
// compiled macro owns everything it allocates, so discarding it releases the whole program.

inline constexpr size_t kMacroLineMax = 254;       // characters of one source record
inline constexpr size_t kMacroNameMax = 31;        // variable, function and source file names
inline constexpr size_t kMacroIdentMax = 255;      // identifiers are cut to this length
inline constexpr int kMacroCaseValuesMax = 10;     // constant values of one case
inline constexpr int kMacroSavedFrames = 15;       // saved local frames of one function
inline constexpr int kMacroCallArgsMax = 32;       // arguments evaluated for one call
inline constexpr int kMacroArgvMax = 32;           // argv: the path plus 31 words
inline constexpr int kMacroNestingMax = 1024;      // statement and expression nesting the compiler takes
inline constexpr size_t kMacroArrayMax = 1000000;  // elements one array may grow to

// Token kinds; the compiler's first pass turns keywords and identifiers into the last three.
enum class TokenKind : uint8_t {
    Operator = 1,
    Keyword = 2,
    Identifier = 3,
    TypeWord = 4,
    FunctionName = 5,
    VariableName = 6,
    Literal = 7,
};

// Operator and punctuation codes.
enum class Op : uint8_t {
    None = 0,
    Eq = 1,
    Gt = 2,
    Lt = 3,
    Ge = 4,
    Le = 5,
    Ne = 6,
    Assign = 7,
    Plus = 8,
    Minus = 9,
    Star = 10,
    Slash = 11,
    Percent = 12,
    Inc = 13,
    Dec = 14,
    PlusAssign = 15,
    MinusAssign = 16,
    StarAssign = 17,
    SlashAssign = 18,
    PercentAssign = 19,
    AndAnd = 20,
    OrOr = 21,
    Not = 22,
    LParen = 23,
    RParen = 24,
    Colon = 25,
    LBrace = 26,
    RBrace = 27,
    LBracket = 28,
    RBracket = 29,
    Semicolon = 30,
    Comma = 31,
    Amp = 32,
};

// Keyword ids. Id 38 (TRUE, FALSE, NULL) never appears in a token: those words become literals.
enum class Kw : uint8_t {
    None = 0,
    Bool = 33,
    Byte = 34,
    Int = 35,
    Void = 36,
    Const = 37,
    Break = 39,
    Case = 40,
    Default = 41,
    Do = 42,
    Else = 43,
    For = 44,
    If = 45,
    Return = 46,
    Switch = 47,
    While = 48,
};

// Records allocated in chunks that never move, so pointers to them stay valid; indexed in order.
template <typename T>
class MacroArena {
public:
    static constexpr size_t kChunk = 1024;
    T& Add() {
        if (size_ % kChunk == 0) {
            chunks_.push_back(std::make_unique<T[]>(kChunk));
        }
        ++size_;
        return chunks_.back()[(size_ - 1) % kChunk];
    }
    T& operator[](size_t index) { return chunks_[index / kChunk][index % kChunk]; }
    const T& operator[](size_t index) const { return chunks_[index / kChunk][index % kChunk]; }
    size_t size() const { return size_; }

private:
    std::vector<std::unique_ptr<T[]>> chunks_;
    size_t size_ = 0;
};

// A token. The text of names and numbers points into the macro's source text, that of string
// literals into its literal texts; both live until the compile is done.
struct MacroToken {
    TokenKind kind = TokenKind::Operator;
    uint8_t code = 0;  // an Op or a Kw by kind
    int32_t file = 0;  // index into CompiledMacro::files
    int32_t line = 0;
    int32_t column = 0;
    std::string_view text;  // identifiers and literals

    Op op() const { return kind == TokenKind::Operator ? static_cast<Op>(code) : Op::None; }
    Kw kw() const {
        return kind == TokenKind::Keyword || kind == TokenKind::TypeWord ? static_cast<Kw>(code) : Kw::None;
    }
};

// One source file of the macro: the name as given to the loader (upper case for included files) and
// the full path it was read from.
struct MacroSourceFile {
    std::string name;
    std::string path;
};

// One physical line (or a 254-character piece of a longer one), newline included as read: its place
// in the macro's source text.
struct MacroSourceRecord {
    int32_t file = 0;
    int32_t line = 0;
    uint32_t offset = 0;
    uint32_t length = 0;
};

enum class MacroType : uint8_t { Bool = 0, String = 1, Int = 2 };

struct MacroVar {
    std::string name;
    MacroType type = MacroType::String;
    bool isArray = false;
    bool isConst = false;
    bool isGlobal = false;
    bool isPointer = false;
    MacroValue value;
    std::vector<MacroValue> elements;  // arrays: element i at index i
};

// P-code node kinds.
enum class NodeKind : uint8_t {
    Assign = 2,
    Call = 3,
    Add = 4,
    Sub = 5,
    Mul = 6,
    Div = 7,
    Mod = 8,
    If = 9,
    While = 10,
    Switch = 11,
    Case = 12,
    Return = 15,
    EndFunction = 16,
    Eq = 17,
    Ne = 18,
    Gt = 19,
    Lt = 20,
    Ge = 21,
    Le = 22,
    And = 23,
    Or = 24,
    VarRef = 27,
    Literal = 28,
};

enum class VarScope : uint8_t { Global, Local, Result };

struct MacroFunction;

// One p-code node. Statement nodes are chained by `next` into lists; the operands depend on the kind:
//   Assign      op1 target (VarRef), op2 expression
//   Call        index into calls
//   Add..Mod    op1 left, op2 right
//   If          op1 condition, op2 then-list, op3 else-list
//   While       op1 condition, op2 body
//   Switch      op1 value, op2 first Case (cases chained by next)
//   Case        index into caseValues, isDefault, op2 statement list
//   Return      op1 expression or null
//   Eq..Le      op1 left, op2 right or null, connector to the next comparison (chained by next)
//   VarRef      scope, index, function (locals), op1 subscript or null
//   Literal     index into literals
struct PNode {
    PNode* next = nullptr;
    PNode* op1 = nullptr;
    PNode* op2 = nullptr;
    PNode* op3 = nullptr;
    MacroFunction* function = nullptr;  // VarRef of a local: the function that owns it
    int32_t index = 0;
    int32_t file = 0;
    int32_t line = 0;
    int32_t column = 0;
    NodeKind kind = NodeKind::Literal;
    NodeKind connector = NodeKind::Literal;  // comparisons: And, Or, or Literal for none
    VarScope scope = VarScope::Global;
    bool negate = false;      // comparisons written with a leading "!" and an operator
    bool isDefault = false;   // Case: the default case
    bool resultUsed = false;  // Call: the value is used
};

struct RuntimeFunction;

// A call site: the upper-cased callee name, its arguments (expression nodes chained by next) and the
// handler found on the first run.
struct MacroCall {
    std::string name;
    PNode* args = nullptr;
    int32_t argCount = 0;
    bool resolved = false;
    const RuntimeFunction* runtime = nullptr;
    MacroFunction* user = nullptr;
};

struct MacroFunction {
    std::string name;  // upper case
    bool returnsValue = false;
    bool returnSeen = false;
    int32_t paramCount = 0;        // the first paramCount locals are the parameters
    std::vector<MacroVar> locals;  // declarations: names, types, flags, constant values
    MacroNameIndex localIndex;     // locals by name
    // The local of that name: its index in locals, or -1.
    int32_t FindLocal(std::string_view name) const {
        return localIndex.Find(name, [this](int32_t i) -> std::string_view { return locals[i].name; });
    }
    PNode* init = nullptr;  // local initialisation list
    PNode* body = nullptr;
    int32_t file = 0;
    int32_t line = 0;
    int32_t column = 0;
    // Run state: frames[depth] holds the locals of the innermost active call; -1 when not active.
    std::vector<std::vector<MacroVar>> frames;
    int32_t depth = -1;
    bool trace = false;
    bool traceCounting = false;
    int32_t traceSteps = 0;
    bool returning = false;
};

// The error file of one macro run: created on the first error.
struct MacroErrorLog {
    std::FILE* file = nullptr;
    std::string path;       // where the error file was written
    std::string firstPath;  // the source path of the first error (the file's first line)
    int count = 0;
};

struct CompiledMacro {
    std::string name;  // as typed: the cache key
    std::string sourcePath;
    std::string workingDirectory;
    std::string arguments;

    std::vector<MacroSourceFile> files;
    std::string source;  // the text of every record, in record order
    std::vector<MacroSourceRecord> records;
    std::vector<MacroToken> tokens;
    std::deque<std::string> literalTexts;  // string literals with their escapes resolved

    MacroArena<PNode> nodes;
    MacroArena<MacroValue> literals;
    MacroArena<MacroCall> calls;
    std::deque<std::vector<MacroValue>> caseValues;

    std::vector<MacroVar> globals;
    MacroNameIndex globalIndex;  // globals by name
    MacroVar result;             // RESULT
    PNode* globalInit = nullptr;
    std::vector<std::unique_ptr<MacroFunction>> functions;  // in source order; the first is the entry

    bool error = false;
    bool endMacro = false;
    bool running = false;
    int runDepth = 0;
    MacroErrorLog errors;
    LibraryRegistry libraries;  // entry points registered by DLLEPREGISTER, kept with the cached macro

    CompiledMacro();
    ~CompiledMacro();
    CompiledMacro(const CompiledMacro&) = delete;
    CompiledMacro& operator=(const CompiledMacro&) = delete;

    // A node from the node arena, placed at the token.
    PNode* NewNode(NodeKind kind, const MacroToken& at) {
        PNode& node = nodes.Add();
        node.kind = kind;
        node.file = at.file;
        node.line = at.line;
        node.column = at.column;
        return &node;
    }
    // Appends one source record.
    void AddRecord(int32_t file, int32_t line, std::string_view text);
    // The global of that name: its index in globals, or -1.
    int32_t GlobalIndexOf(std::string_view name) const {
        return globalIndex.Find(name, [this](int32_t i) -> std::string_view { return globals[i].name; });
    }
    // The global of that name, or null.
    MacroVar* FindGlobal(std::string_view name) {
        int32_t index = GlobalIndexOf(name);
        return index < 0 ? nullptr : &globals[index];
    }
    MacroFunction* FindFunction(std::string_view upperName);
};

const char* MacroTypeName(MacroType type);

}  // namespace tavoe
