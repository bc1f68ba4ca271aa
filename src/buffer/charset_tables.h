#pragma once

#include <array>
#include <cstdint>

namespace tavoe {

// The six fixed translation tables between the three single-byte character sets, indexed by the
// source code. Tables of the two EBCDIC <-> ISO-8859 directions hold "?" (x'3F') for the codes that
// have no translation; the Translate operations of charset.h replace those codes by the run's
// substitution character and report them. The other four tables translate every code.

extern const std::array<std::uint8_t, 256> EbcdicToIso;
extern const std::array<std::uint8_t, 256> IsoToEbcdic;
extern const std::array<std::uint8_t, 256> EbcdicToPc;
extern const std::array<std::uint8_t, 256> PcToEbcdic;
extern const std::array<std::uint8_t, 256> PcToIso;
extern const std::array<std::uint8_t, 256> IsoToPc;

// EBCDIC codes x'20'-x'3F' (controls without an ISO-8859 counterpart) have no ISO-8859 translation.
constexpr bool IsUntranslatableEbcdicToIso(std::uint8_t code) {
    return code >= 0x20 && code <= 0x3F;
}

// ISO-8859 codes x'80'-x'9F' (the C1 controls) have no EBCDIC translation.
constexpr bool IsUntranslatableIsoToEbcdic(std::uint8_t code) {
    return code >= 0x80 && code <= 0x9F;
}

}  // namespace tavoe
