#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavoe {

// The three single-byte character sets of edited files, the file profile's choice of disk and display
// set, and translation between them. Text in memory is always in the display set; only an EBCDIC disk
// set translates on load and save.

class StorageHost;

// The numeric values are the codes the file profile record stores.
enum class CharSet : int { AsciiIso8859 = 0, AsciiIbmPc = 1, Ebcdic = 2 };

// "EBCDIC", "ASCII-IBMPC" or "ASCII-ISO8859".
std::string_view CharSetName(CharSet set);

// Whether a plain "ASCII" is accepted as a name (file profiles accept it for the disk set).
enum class PlainAscii { Reject, MeansIso8859 };

// The set named exactly (case included) by text; nullopt for anything else.
std::optional<CharSet> ParseCharSetName(std::string_view text, PlainAscii plainAscii = PlainAscii::Reject);

// A file profile's `CharacterSet`: the set on disk and the set on the screen.
struct CharSetPair {
    CharSet disk = CharSet::AsciiIso8859;
    CharSet display = CharSet::AsciiIso8859;
    friend bool operator==(const CharSetPair&, const CharSetPair&) = default;
};

// The four choices, in the order a profile dialog lists them.
struct CharacterSetChoice {
    CharSetPair pair;
    std::string_view text;  // e.g. "Disk(EBCDIC).Display(ASCII-IBMPC)"
};
extern const std::array<CharacterSetChoice, 4> kCharacterSetChoices;

// The pair named exactly by a choice text; nullopt for anything else.
std::optional<CharSetPair> ParseCharacterSet(std::string_view text);

// The choice text of a pair; "" for a pair that is not one of the four choices (an ASCII disk set
// shown in the other ASCII set, or an EBCDIC display).
std::string_view CharacterSetText(CharSetPair pair);

// Only an EBCDIC disk set translates on load and save; ASCII files are stored unchanged.
inline bool NeedsTranslation(CharSetPair pair) {
    return pair.disk == CharSet::Ebcdic;
}

// Whether a translation met codes that have no translation (and replaced them by the substitution
// character).
enum class XlateResult { Clean, Substituted };

// Each operation translates count bytes of source into destination by its table. Source and
// destination may be the same buffer (or overlap); nothing is done for a null buffer or a count below 1.
// Only the EBCDIC <-> ISO-8859 directions can return Substituted: EBCDIC x'20'-x'3F' become the
// substitution character, ISO-8859 x'80'-x'9F' become the substitution character's code unchanged.
XlateResult TranslateEbcdicToIso(StorageHost& host, const char* source, char* destination, int count);
XlateResult TranslateIsoToEbcdic(StorageHost& host, const char* source, char* destination, int count);
XlateResult TranslateEbcdicToPc(StorageHost& host, const char* source, char* destination, int count);
XlateResult TranslatePcToEbcdic(StorageHost& host, const char* source, char* destination, int count);
XlateResult TranslatePcToIso(StorageHost& host, const char* source, char* destination, int count);
XlateResult TranslateIsoToPc(StorageHost& host, const char* source, char* destination, int count);

// Translates from one set to another with the matching operation above; between equal sets the bytes
// are copied unchanged.
XlateResult Translate(StorageHost& host, CharSet from, CharSet to, const char* source, char* destination,
                      int count);

// The table for a pair of different sets (charset_tables.h), or null for equal sets. For byte-wise
// work such as collating; the EBCDIC <-> ISO-8859 tables hold "?" where a code has no translation.
const std::array<std::uint8_t, 256>* TranslationTable(CharSet from, CharSet to);

// A character typed into a session: codes 128 and above pass through IsoToPc when the display set is
// ASCII-IBMPC; everything else is kept.
char TranslateTypedChar(CharSet display, char typed);

// The substitution character of a direction with untranslatable codes: EBCDIC -> ISO-8859 (any `to`
// other than EBCDIC) or ISO-8859 -> EBCDIC (`to` EBCDIC). Read from the first character of
// ZXLATESUBCHAR ("?" when it is empty) the first time, then kept for the run.
char SubstitutionChar(StorageHost& host, CharSet to);

// Remembers, for one load, save or conversion, which file the last untranslatable-code report named,
// so a file with many bad records is reported once. The caller owns it and starts each file operation
// with a fresh one.
struct UntranslatableReport {
    bool reported = false;
    std::string lastFileName;
};

// Shows "File '...' has some ... character codes which do not translate to ...", naming the file, the
// two sets and the substitution character, unless this report already named the same file.
void ReportUntranslatable(StorageHost& host, UntranslatableReport& report, std::string_view fileName,
                          CharSet fromSet, CharSet toSet);

}  // namespace tavoe
