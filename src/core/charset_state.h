#pragma once

namespace tavoe {

// What an instance keeps about character translation for the rest of its run: the substitution
// character of each direction that has untranslatable codes. Each is read from ZXLATESUBCHAR the first
// time its direction meets such a code, so changing the setting later does not change the character a
// running instance writes.
struct CharsetState {
    int ebcdicToIsoSubChar = -1;  // -1 until first needed, then the byte value
    int isoToEbcdicSubChar = -1;
};

}  // namespace tavoe
