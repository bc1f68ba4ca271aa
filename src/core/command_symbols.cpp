#include "core/command_symbols.h"

#include <array>

#include "core/var_store.h"

namespace tavoe {

namespace {

struct CommandSymbol {
    std::string_view lower;  // after the "&"
    std::string_view upper;
    std::string_view variable;  // empty: the symbol stands for ";"
};

// In the order they are tried; the longest match at a position wins whatever this order is.
constexpr std::array<CommandSymbol, 7> kCommandSymbols = {{
    {"zdsnpath", "ZDSNPATH", "ZDSNPATH"},
    {"zdsnname", "ZDSNNAME", "ZDSNNAME"},
    {"zdsnbase", "ZDSNBASE", "ZDSNBASE"},
    {"zdsnext", "ZDSNEXT", "ZDSNEXT"},
    {"zdsn", "ZDSN", "ZDSN"},
    {"zhome", "ZHOME", "ZHOME"},
    {"zsemi", "ZSEMI", ""},
}};

// The symbol spelled at the start of text (just after an "&"), the longest when several fit.
const CommandSymbol* MatchSymbol(std::string_view text) {
    const CommandSymbol* best = nullptr;
    for (const CommandSymbol& symbol : kCommandSymbols) {
        bool fits = text.starts_with(symbol.lower) || text.starts_with(symbol.upper);
        if (fits && (best == nullptr || symbol.lower.size() > best->lower.size())) {
            best = &symbol;
        }
    }
    return best;
}

}  // namespace

std::string SubstituteCommandSymbols(AppSession& app, std::string_view in) {
    return SubstituteCommandSymbols(app, in, nullptr);
}

std::string SubstituteCommandSymbols(AppSession& app, std::string_view in,
                                     std::string (*quoteValue)(std::string_view value)) {
    std::string out;
    out.reserve(in.size());
    size_t at = 0;
    while (at < in.size()) {
        size_t amp = in.find('&', at);
        if (amp == std::string_view::npos) {
            out.append(in.substr(at));
            break;
        }
        out.append(in.substr(at, amp - at));
        const CommandSymbol* symbol = MatchSymbol(in.substr(amp + 1));
        if (symbol == nullptr) {
            out.push_back('&');
            at = amp + 1;
            continue;
        }
        if (symbol->variable.empty()) {
            out.push_back(';');
        } else {
            // Looked up without creating the variable: a command line never adds to the store.
            const VarRecord* rec = VarFind(app, symbol->variable);
            std::string_view value = rec != nullptr ? rec->Value() : std::string_view();
            out.append(quoteValue != nullptr ? quoteValue(value) : std::string(value));
        }
        at = amp + 1 + symbol->lower.size();
    }
    return out;
}

}  // namespace tavoe
