#include "macro/macro_program.h"

namespace tavoe {

CompiledMacro::CompiledMacro() {
    result.name = "RESULT";
    result.isGlobal = true;
}

CompiledMacro::~CompiledMacro() {
    if (errors.file != nullptr) {
        std::fclose(errors.file);
        errors.file = nullptr;
    }
}

void CompiledMacro::AddRecord(int32_t file, int32_t line, std::string_view text) {
    records.push_back(MacroSourceRecord{file, line, static_cast<uint32_t>(source.size()),
                                        static_cast<uint32_t>(text.size())});
    source.append(text);
}

MacroFunction* CompiledMacro::FindFunction(std::string_view upperName) {
    for (auto& function : functions) {
        if (function->name == upperName) {
            return function.get();
        }
    }
    return nullptr;
}

const char* MacroTypeName(MacroType type) {
    switch (type) {
        case MacroType::Bool:
            return "BOOL";
        case MacroType::Int:
            return "int";
        case MacroType::String:
            break;
    }
    return "char *";
}

}  // namespace tavoe
