#include "buffer/charset.h"

#include <cstring>
#include <memory>

#include "buffer/charset_tables.h"
#include "core/charset_state.h"
#include "core/storage_host.h"
#include "platform/format.h"

namespace tavoe {

namespace {

using Table = std::array<std::uint8_t, 256>;

constexpr char kDefaultSubChar = '?';

// Whether the destination starts inside the source, so a forward walk would read bytes it has
// already written.
bool OverlapsAhead(const std::uint8_t* source, const std::uint8_t* destination, int count) {
    return destination > source && destination < source + count;
}

// One table lookup per byte: the whole cost of translating a record.
void TranslateBytes(const Table& table, const std::uint8_t* source, std::uint8_t* destination, int count) {
    if (OverlapsAhead(source, destination, count)) {
        for (int i = count - 1; i >= 0; --i) {
            destination[i] = table[source[i]];
        }
        return;
    }
    for (int i = 0; i < count; ++i) {
        destination[i] = table[source[i]];
    }
}

// As TranslateBytes, but codes without a translation become sub.
template <bool (*Untranslatable)(std::uint8_t)>
void TranslateSubstituting(const Table& table, std::uint8_t sub, const std::uint8_t* source,
                           std::uint8_t* destination, int count) {
    auto one = [&](int i) {
        std::uint8_t code = source[i];
        destination[i] = Untranslatable(code) ? sub : table[code];
    };
    if (OverlapsAhead(source, destination, count)) {
        for (int i = count - 1; i >= 0; --i) {
            one(i);
        }
        return;
    }
    for (int i = 0; i < count; ++i) {
        one(i);
    }
}

// A scan of the source before translating, because a translation in place loses the source codes.
// Untranslatable codes are rare, so the common case pays one cheap pass (written so the compiler can
// vectorise it) and a plain table walk.
template <bool (*Untranslatable)(std::uint8_t)>
bool HasUntranslatable(const std::uint8_t* source, int count) {
    unsigned found = 0;
    for (int i = 0; i < count; ++i) {
        found |= static_cast<unsigned>(Untranslatable(source[i]));
    }
    return found != 0;
}

bool Usable(const char* source, const char* destination, int count) {
    return source != nullptr && destination != nullptr && count >= 1;
}

const std::uint8_t* Bytes(const char* p) {
    return reinterpret_cast<const std::uint8_t*>(p);
}

std::uint8_t* Bytes(char* p) {
    return reinterpret_cast<std::uint8_t*>(p);
}

// Every pair of bytes translated at once: a table of 65536 pairs (128 KB) made on first use halves
// the lookups of a long record.
using PairTable = std::unique_ptr<std::uint16_t[]>;
PairTable MakePairs(const Table& table) {
    PairTable pairs(new std::uint16_t[65536]);
    for (unsigned i = 0; i < 65536; ++i) {
        // The two source bytes that read as the number i, whatever the machine's byte order.
        const auto key = static_cast<std::uint16_t>(i);
        std::uint8_t in[2];
        std::memcpy(in, &key, 2);
        const std::uint8_t out[2] = {table[in[0]], table[in[1]]};
        std::memcpy(&pairs[i], out, 2);
    }
    return pairs;
}

template <const Table& T>
void TranslateByPairs(const std::uint8_t* source, std::uint8_t* destination, int count) {
    static const PairTable pairs = MakePairs(T);
    if (OverlapsAhead(source, destination, count) || count < 64) {
        TranslateBytes(T, source, destination, count);
        return;
    }
    int i = 0;
    for (; i + 2 <= count; i += 2) {
        std::uint16_t in;
        std::memcpy(&in, source + i, 2);
        std::memcpy(destination + i, &pairs[in], 2);
    }
    if (i < count) {
        destination[i] = T[source[i]];
    }
}

template <const Table& T>
XlateResult TranslatePlain(const char* source, char* destination, int count) {
    if (Usable(source, destination, count)) {
        TranslateByPairs<T>(Bytes(source), Bytes(destination), count);
    }
    return XlateResult::Clean;
}

template <bool (*Untranslatable)(std::uint8_t)>
XlateResult TranslateChecked(StorageHost& host, const Table& table, CharSet to, const char* source,
                             char* destination, int count) {
    if (!Usable(source, destination, count)) {
        return XlateResult::Clean;
    }
    if (!HasUntranslatable<Untranslatable>(Bytes(source), count)) {
        TranslateBytes(table, Bytes(source), Bytes(destination), count);
        return XlateResult::Clean;
    }
    auto sub = static_cast<std::uint8_t>(SubstitutionChar(host, to));
    TranslateSubstituting<Untranslatable>(table, sub, Bytes(source), Bytes(destination), count);
    return XlateResult::Substituted;
}

}  // namespace

const std::array<CharacterSetChoice, 4> kCharacterSetChoices = {{
    {{CharSet::AsciiIso8859, CharSet::AsciiIso8859}, "Disk(ASCII-ISO8859).Display(ASCII-ISO8859)"},
    {{CharSet::AsciiIbmPc, CharSet::AsciiIbmPc}, "Disk(ASCII-IBMPC).Display(ASCII-IBMPC)"},
    {{CharSet::Ebcdic, CharSet::AsciiIso8859}, "Disk(EBCDIC).Display(ASCII-ISO8859)"},
    {{CharSet::Ebcdic, CharSet::AsciiIbmPc}, "Disk(EBCDIC).Display(ASCII-IBMPC)"},
}};

std::string_view CharSetName(CharSet set) {
    switch (set) {
        case CharSet::Ebcdic:
            return "EBCDIC";
        case CharSet::AsciiIbmPc:
            return "ASCII-IBMPC";
        case CharSet::AsciiIso8859:
            break;
    }
    return "ASCII-ISO8859";
}

std::optional<CharSet> ParseCharSetName(std::string_view text, PlainAscii plainAscii) {
    for (CharSet set : {CharSet::AsciiIso8859, CharSet::AsciiIbmPc, CharSet::Ebcdic}) {
        if (text == CharSetName(set)) {
            return set;
        }
    }
    if (plainAscii == PlainAscii::MeansIso8859 && text == "ASCII") {
        return CharSet::AsciiIso8859;
    }
    return std::nullopt;
}

std::optional<CharSetPair> ParseCharacterSet(std::string_view text) {
    for (const CharacterSetChoice& choice : kCharacterSetChoices) {
        if (text == choice.text) {
            return choice.pair;
        }
    }
    return std::nullopt;
}

std::string_view CharacterSetText(CharSetPair pair) {
    for (const CharacterSetChoice& choice : kCharacterSetChoices) {
        if (pair == choice.pair) {
            return choice.text;
        }
    }
    return {};
}

XlateResult TranslateEbcdicToIso(StorageHost& host, const char* source, char* destination, int count) {
    return TranslateChecked<IsUntranslatableEbcdicToIso>(host, EbcdicToIso, CharSet::AsciiIso8859, source,
                                                         destination, count);
}

XlateResult TranslateIsoToEbcdic(StorageHost& host, const char* source, char* destination, int count) {
    return TranslateChecked<IsUntranslatableIsoToEbcdic>(host, IsoToEbcdic, CharSet::Ebcdic, source,
                                                         destination, count);
}

XlateResult TranslateEbcdicToPc(StorageHost&, const char* source, char* destination, int count) {
    return TranslatePlain<EbcdicToPc>(source, destination, count);
}

XlateResult TranslatePcToEbcdic(StorageHost&, const char* source, char* destination, int count) {
    return TranslatePlain<PcToEbcdic>(source, destination, count);
}

XlateResult TranslatePcToIso(StorageHost&, const char* source, char* destination, int count) {
    return TranslatePlain<PcToIso>(source, destination, count);
}

XlateResult TranslateIsoToPc(StorageHost&, const char* source, char* destination, int count) {
    return TranslatePlain<IsoToPc>(source, destination, count);
}

XlateResult Translate(StorageHost& host, CharSet from, CharSet to, const char* source, char* destination,
                      int count) {
    if (from == to) {
        if (Usable(source, destination, count) && source != destination) {
            std::memmove(destination, source, static_cast<size_t>(count));
        }
        return XlateResult::Clean;
    }
    switch (from) {
        case CharSet::Ebcdic:
            return to == CharSet::AsciiIbmPc ? TranslateEbcdicToPc(host, source, destination, count)
                                             : TranslateEbcdicToIso(host, source, destination, count);
        case CharSet::AsciiIbmPc:
            return to == CharSet::Ebcdic ? TranslatePcToEbcdic(host, source, destination, count)
                                         : TranslatePcToIso(host, source, destination, count);
        case CharSet::AsciiIso8859:
            break;
    }
    return to == CharSet::Ebcdic ? TranslateIsoToEbcdic(host, source, destination, count)
                                 : TranslateIsoToPc(host, source, destination, count);
}

const std::array<std::uint8_t, 256>* TranslationTable(CharSet from, CharSet to) {
    if (from == to) {
        return nullptr;
    }
    switch (from) {
        case CharSet::Ebcdic:
            return to == CharSet::AsciiIbmPc ? &EbcdicToPc : &EbcdicToIso;
        case CharSet::AsciiIbmPc:
            return to == CharSet::Ebcdic ? &PcToEbcdic : &PcToIso;
        case CharSet::AsciiIso8859:
            break;
    }
    return to == CharSet::Ebcdic ? &IsoToEbcdic : &IsoToPc;
}

char TranslateTypedChar(CharSet display, char typed) {
    auto code = static_cast<std::uint8_t>(typed);
    if (display != CharSet::AsciiIbmPc || code < 128) {
        return typed;
    }
    return static_cast<char>(IsoToPc[code]);
}

char SubstitutionChar(StorageHost& host, CharSet to) {
    int& kept = to == CharSet::Ebcdic ? host.Charset().isoToEbcdicSubChar : host.Charset().ebcdicToIsoSubChar;
    if (kept < 0) {
        std::string value = host.Setting("ZXLATESUBCHAR");
        kept = static_cast<std::uint8_t>(value.empty() ? kDefaultSubChar : value[0]);
    }
    return static_cast<char>(kept);
}

void ReportUntranslatable(StorageHost& host, UntranslatableReport& report, std::string_view fileName,
                          CharSet fromSet, CharSet toSet) {
    if (report.reported && report.lastFileName == fileName) {
        return;
    }
    report.reported = true;
    report.lastFileName.assign(fileName);
    std::string file(fileName);
    std::string from(CharSetName(fromSet));
    std::string to(CharSetName(toSet));
    ShowMessage(host,
                Format("File '%s' has some %s character codes which do not translate to %s.\n\n"
                       "Character '%c' substituted for non-tranlatable character codes.",
                       file.c_str(), from.c_str(), to.c_str(), SubstitutionChar(host, toSet)),
                MsgTo::Box, Beep::Error);
}

}  // namespace tavoe
