#include "macro/macro_runtime.h"

#include <algorithm>
#include <array>
#include <limits>

#include "macro/macro_interp.h"

namespace tavoe {

namespace {

// Sorted by name: the lookup is a binary search on the upper-cased call name.
constexpr std::array<RuntimeFunction, 48> kRuntimeTable{{
    {"DATE", RtDate},
    {"DLLEPCALL", RtDllEpCall},
    {"DLLEPREGISTER", RtDllEpRegister},
    {"FILECLOSE", RtFileClose},
    {"FILECOPY", RtFileCopy},
    {"FILEDELETE", RtFileDelete},
    {"FILEEXIST", RtFileExist},
    {"FILEISDIR", RtFileIsDir},
    {"FILEOPEN", RtFileOpen},
    {"FILEPRINT", RtFilePrint},
    {"FILERECREAD", RtFileRecRead},
    {"FILERECWRITE", RtFileRecWrite},
    {"GETENV", RtGetEnv},
    {"MSG", RtMsg},
    {"NEGATE", RtNegate},
    {"PUTENV", RtPutEnv},
    {"STRCAT", RtStrCat},
    {"STRCENTER", RtStrCenter},
    {"STRCMP", RtStrCmp},
    {"STRCOMPOSE", RtStrCompose},
    {"STRCPY", RtStrCpy},
    {"STRDELSUBSTR", RtStrDelSubstr},
    {"STRFINDLAST", RtStrFindLast},
    {"STRFINDSUBSTR", RtStrFindSubstr},
    {"STRGENSTR", RtStrGenStr},
    {"STRGETSUBSTR", RtStrGetSubstr},
    {"STRINSSUBSTR", RtStrInsSubstr},
    {"STRISALNUM", RtStrIsAlnum},
    {"STRISALPHA", RtStrIsAlpha},
    {"STRISDIGIT", RtStrIsDigit},
    {"STRISINSET", RtStrIsInSet},
    {"STRISLOWER", RtStrIsLower},
    {"STRISUPPER", RtStrIsUpper},
    {"STRLEN", RtStrLen},
    {"STRLWR", RtStrLwr},
    {"STRNCMP", RtStrNCmp},
    {"STRNCPY", RtStrNCpy},
    {"STROVLSUBSTR", RtStrOvlSubstr},
    {"STRPARSE", RtStrParse},
    {"STRPARSEWORD", RtStrParseWord},
    {"STRPARSEX", RtStrParseX},
    {"STRREV", RtStrRev},
    {"STRSTRIPLEADING", RtStrStripLeading},
    {"STRSTRIPTRAILING", RtStrStripTrailing},
    {"STRUPR", RtStrUpr},
    {"TAVOSERVICE", RtTavoService},
    {"TIME", RtTime},
    {"TRACE", RtTrace},
}};

}  // namespace

const RuntimeFunction* FindRuntimeFunction(std::string_view upperName) {
    auto it =
        std::lower_bound(kRuntimeTable.begin(), kRuntimeTable.end(), upperName,
                         [](const RuntimeFunction& row, std::string_view name) { return row.name < name; });
    return it != kRuntimeTable.end() && it->name == upperName ? &*it : nullptr;
}

std::string_view RuntimeFunctionName(size_t index) {
    return index < kRuntimeTable.size() ? kRuntimeTable[index].name : std::string_view();
}

size_t RuntimeFunctionCount() {
    return kRuntimeTable.size();
}

const PNode* RuntimeCall::ArgNode(int index) const {
    const PNode* arg = call.args;
    for (int i = 0; i < index && arg != nullptr; ++i) {
        arg = arg->next;
    }
    return arg;
}

bool RuntimeCall::Text(int index, std::string& out) const {
    const PNode* arg = ArgNode(index);
    const MacroValue* value = arg != nullptr ? interp.Eval(arg) : nullptr;
    if (value == nullptr) {
        return false;
    }
    out = value->Text();
    return true;
}

bool RuntimeCall::Number(int index, int32_t& out) const {
    const PNode* arg = ArgNode(index);
    const MacroValue* value = arg != nullptr ? interp.Eval(arg) : nullptr;
    if (value == nullptr) {
        return false;
    }
    out = value->Number();
    return true;
}

bool RuntimeCall::IsVariable(int index) const {
    const PNode* arg = ArgNode(index);
    return arg != nullptr && arg->kind == NodeKind::VarRef;
}

MacroValue* RuntimeCall::VarSlot(int index) const {
    return IsVariable(index) ? interp.ResolveSlot(ArgNode(index)) : nullptr;
}

bool RuntimeCall::Fail(std::string_view message) const {
    return interp.Error(node, message);
}

void RuntimeCall::ReturnNumber(int64_t value) const {
    if (value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max()) {
        result.SetInt(static_cast<int32_t>(value));
    } else {
        result.SetText(std::to_string(value));
    }
}

}  // namespace tavoe
