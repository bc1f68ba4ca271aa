#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tavoe {

// The store of named text variables that carries every setting and all state shared between the
// editor, dialogs, menus and macros. Values are text; numbers are decimal text and booleans the
// texts "TRUE" and "FALSE". Names are case-insensitive (upper-cased) and at most 63 characters.

struct AppSession;

inline constexpr int kVarNameMax = 63;     // longer names are cut to this many characters
inline constexpr int kVarSlotCount = 400;  // one slot per three-character name prefix
inline constexpr int kVarBufferStep = 16;  // value buffers grow in steps of this many bytes
inline constexpr int kVarPushSizeMin = 4;  // allowed range of NAME.SIZE for VarPushValue
inline constexpr int kVarPushSizeMax = 32;

// One variable. Records are never freed while their store lives, so a pointer to one stays valid.
struct VarRecord {
    VarRecord* prev = nullptr;
    VarRecord* next = nullptr;
    std::unique_ptr<char[]> value;    // null until a non-empty value is first stored
    int32_t capacity = 0;             // bytes in value, always a multiple of 16
    int32_t persist = 0;              // non-zero: written to the main profile
    char name[kVarNameMax + 1] = {};  // upper case, NUL-terminated

    std::string_view Name() const { return name; }
    std::string_view Value() const { return value ? std::string_view(value.get()) : std::string_view(); }
    bool HasValue() const { return value && value[0] != '\0'; }
};

// All variables sharing one three-character prefix, in creation order.
struct VarList {
    VarRecord* first = nullptr;
    VarRecord* last = nullptr;
    int32_t count = 0;
};

struct VarStore {
    std::array<VarList, kVarSlotCount> slots;  // used slots always form the front of the table
    VarRecord* cursor = nullptr;               // iteration cursor of VarFirst / VarNext
    int32_t cursorSlot = 0;
    int32_t longestName = 0;        // length of the longest name created so far
    std::deque<VarRecord> records;  // owns every record; addresses never move
    // Every record by its stored name, so a lookup does not walk the slot's list. The slots and
    // lists stay the store's shape: they decide iteration order and which prefixes fit.
    std::unordered_map<std::string_view, VarRecord*> index;
};

// The record for the name, created (empty, not persistent) when missing. Null after reporting a
// rejected name or a full slot table.
VarRecord* VarLocate(AppSession& app, std::string_view name);

// The record for the name when it exists, without creating it and without any message; null for
// a missing variable or an unacceptable name. For readers that must not disturb the store, such as
// the message routine reading ZMSGSOUNDS while it reports a store error.
VarRecord* VarFind(AppSession& app, std::string_view name);

// The value; "" when unset or the name is rejected. Creates the variable as a side effect.
std::string VarGetValue(AppSession& app, std::string_view name);

// Stores a copy of value. Returns the bytes copied including the terminator, 0 for an empty value
// or a name that cannot be located.
int VarSetValue(AppSession& app, std::string_view name, std::string_view value);

// Pushes value onto the front of the most-recently-used list listName.1 .. listName.n, whose
// capacity is listName.SIZE (4..32) and count listName.0. An equal entry moves to the front; a full
// list drops its last entry. An empty value is not pushed. Uses the scratch list VSTACKTEMP.
void VarPushValue(AppSession& app, std::string_view listName, std::string_view value);

// Sets the persist flag; null after reporting a rejected name.
VarRecord* VarSetPersist(AppSession& app, std::string_view name, int flag);

// Empties the value and clears the persist flag; the record stays.
void VarDelete(AppSession& app, std::string_view name);

// Store iteration: slot by slot in the order the slots were first used, within a slot in creation
// order. One cursor per store, so walks do not nest. Null at the end.
VarRecord* VarFirst(AppSession& app);
VarRecord* VarNext(AppSession& app);

// Length of the longest variable name created so far (0 for an empty store).
int VarLongestName(AppSession& app);

// Readers of typed settings. A number is its leading decimal digits (0 when there are none); a
// boolean is true only for the exact text "TRUE". VarSetNumber stores a number as decimal text.
long VarGetNumber(AppSession& app, std::string_view name);
int VarSetNumber(AppSession& app, std::string_view name, long number);
bool VarIsTrue(AppSession& app, std::string_view name);

}  // namespace tavoe
