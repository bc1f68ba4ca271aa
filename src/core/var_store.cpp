#include "core/var_store.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "core/app_session.h"
#include "platform/format.h"

namespace tavoe {

namespace {

// Values are C strings in fixed-size buffers; a value that could not be given a capacity in a
// 32-bit signed count is cut so the capacity arithmetic cannot overflow.
constexpr size_t kVarValueMax = INT32_MAX - kVarBufferStep;

VarStore& StoreOf(AppSession& app) {
    if (!app.varStore) {
        app.varStore = std::make_unique<VarStore>();
    }
    return *app.varStore;
}

// Text up to its first NUL: names and values are stored as C strings, so a caller's embedded NUL
// ends them just as it would in the stored copy.
std::string_view UpToNul(std::string_view text) {
    size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The stored form of a name: cut to 63 characters and upper-cased (a..z only). False when the name
// is not acceptable (shorter than 3 characters or not beginning with a letter).
bool NormalizeName(std::string_view name, char (&out)[kVarNameMax + 1], size_t& length) {
    name = UpToNul(name);
    if (name.size() < 3 || !IsAsciiLetter(name[0])) {
        return false;
    }
    length = std::min(name.size(), static_cast<size_t>(kVarNameMax));
    for (size_t i = 0; i < length; ++i) {
        char c = name[i];
        out[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    out[length] = '\0';
    return true;
}

// The slot holding the prefix of key, or the first empty slot (the used slots form the front of the
// table). -1 when every slot holds another prefix.
int FindSlot(const VarStore& store, const char* key) {
    for (int i = 0; i < kVarSlotCount; ++i) {
        const VarRecord* head = store.slots[i].first;
        if (head == nullptr) {
            return i;
        }
        if (std::memcmp(head->name, key, 3) == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace

VarRecord* VarLocate(AppSession& app, std::string_view name) {
    VarStore& store = StoreOf(app);
    char key[kVarNameMax + 1];
    size_t length = 0;
    if (!NormalizeName(name, key, length)) {
        ShowMessage(app,
                    Format("Varname must start with a..z and have length >= 3, got '%s'",
                           std::string(UpToNul(name)).c_str()),
                    MsgTo::Box, Beep::Exclamation);
        return nullptr;
    }
    if (auto found = store.index.find(std::string_view(key, length)); found != store.index.end()) {
        return found->second;
    }
    int slot = FindSlot(store, key);
    if (slot < 0) {
        ShowMessage(app, "Out of var lists", MsgTo::Box, Beep::Error);
        return nullptr;
    }
    VarList& list = store.slots[slot];
    VarRecord& rec = store.records.emplace_back();
    std::memcpy(rec.name, key, length + 1);
    rec.prev = list.last;
    if (list.last != nullptr) {
        list.last->next = &rec;
    } else {
        list.first = &rec;
    }
    list.last = &rec;
    ++list.count;
    store.index.emplace(rec.Name(), &rec);
    store.longestName = std::max(store.longestName, static_cast<int32_t>(length));
    return &rec;
}

VarRecord* VarFind(AppSession& app, std::string_view name) {
    if (!app.varStore) {
        return nullptr;
    }
    char key[kVarNameMax + 1];
    size_t length = 0;
    if (!NormalizeName(name, key, length)) {
        return nullptr;
    }
    auto found = app.varStore->index.find(std::string_view(key, length));
    return found == app.varStore->index.end() ? nullptr : found->second;
}

std::string VarGetValue(AppSession& app, std::string_view name) {
    VarRecord* rec = VarLocate(app, name);
    return rec == nullptr ? std::string() : std::string(rec->Value());
}

// Buffers grow in 16-byte steps and are reused for values that fit; they are never shrunk. The copy
// is a move so that a value taken from the variable's own buffer is stored intact.
int VarSetValue(AppSession& app, std::string_view name, std::string_view value) {
    VarRecord* rec = VarLocate(app, name);
    if (rec == nullptr) {
        ShowMessage(app,
                    Format("VarSetValue: unable to access variable %s", std::string(UpToNul(name)).c_str()),
                    MsgTo::Box, Beep::Exclamation);
        return 0;
    }
    value = UpToNul(value);
    if (value.empty()) {
        if (rec->value) {
            rec->value[0] = '\0';
        }
        return 0;
    }
    size_t len = std::min(value.size(), kVarValueMax);
    if (rec->value && static_cast<int64_t>(len) + 1 > rec->capacity) {
        // The old buffer cannot hold the value, so the value is not inside it and it can go.
        rec->value.reset();
        rec->capacity = 0;
    }
    if (!rec->value) {
        size_t capacity = (len + kVarBufferStep) / kVarBufferStep * kVarBufferStep;
        rec->value = std::make_unique_for_overwrite<char[]>(capacity);
        rec->capacity = static_cast<int32_t>(capacity);
    }
    std::memmove(rec->value.get(), value.data(), len);
    rec->value[len] = '\0';
    return static_cast<int>(len + 1);
}

int VarSetNumber(AppSession& app, std::string_view name, long number) {
    return VarSetValue(app, name, std::to_string(number));
}

// Most-recently-used list: the new value goes to the front, an equal entry further down moves up
// with it instead of appearing twice, and a full list drops its oldest entry. The entries are
// gathered in the scratch list VSTACKTEMP first, so the list is rewritten in one pass.
void VarPushValue(AppSession& app, std::string_view listName, std::string_view value) {
    std::string list(UpToNul(listName));
    long size = VarGetNumber(app, list + ".SIZE");
    if (size < kVarPushSizeMin || size > kVarPushSizeMax) {
        ShowMessage(app,
                    Format("Var %s.SIZE must be set within range %d..%d, VarPushValue ignored", list.c_str(),
                           kVarPushSizeMin, kVarPushSizeMax),
                    MsgTo::Box, Beep::Exclamation);
        return;
    }
    value = UpToNul(value);
    if (value.empty()) {
        // An empty entry would only push a real one off the end; there is nothing to remember.
        return;
    }
    if (VarSetValue(app, "VSTACKTEMP.1", value) == 0) {
        // The scratch list has no slot (the store reported it); rewriting the list from it would
        // empty every entry.
        return;
    }
    long count = std::min(VarGetNumber(app, list + ".0"), size);
    for (long k = 1; k <= count; ++k) {
        std::string entry = list + "." + std::to_string(k);
        if (VarGetValue(app, entry) == value) {
            if (k == 1) {
                return;
            }
            VarSetValue(app, entry, "");
            break;
        }
    }
    long used = 1;
    for (long i = 1; i <= size && used < size; ++i) {
        std::string entry = VarGetValue(app, list + "." + std::to_string(i));
        if (!entry.empty()) {
            ++used;
            VarSetValue(app, "VSTACKTEMP." + std::to_string(used), entry);
        }
    }
    VarSetNumber(app, list + ".0", used);
    for (long i = 1; i <= used; ++i) {
        VarSetValue(app, list + "." + std::to_string(i), VarGetValue(app, "VSTACKTEMP." + std::to_string(i)));
    }
}

VarRecord* VarSetPersist(AppSession& app, std::string_view name, int flag) {
    VarRecord* rec = VarLocate(app, name);
    if (rec == nullptr) {
        ShowMessage(app,
                    Format("VarSetPersist: unable to access variable %s", std::string(UpToNul(name)).c_str()),
                    MsgTo::Box, Beep::Exclamation);
        return nullptr;
    }
    rec->persist = flag;
    return rec;
}

void VarDelete(AppSession& app, std::string_view name) {
    VarRecord* rec = VarLocate(app, name);
    if (rec == nullptr) {
        return;
    }
    rec->persist = 0;
    if (rec->value) {
        rec->value[0] = '\0';
    }
}

VarRecord* VarFirst(AppSession& app) {
    VarStore& store = StoreOf(app);
    store.cursorSlot = 0;
    store.cursor = store.slots[0].first;
    return store.cursor;
}

VarRecord* VarNext(AppSession& app) {
    VarStore& store = StoreOf(app);
    if (store.cursor == nullptr) {
        return nullptr;
    }
    if (store.cursor->next != nullptr) {
        store.cursor = store.cursor->next;
        return store.cursor;
    }
    ++store.cursorSlot;
    store.cursor = store.cursorSlot < kVarSlotCount ? store.slots[store.cursorSlot].first : nullptr;
    return store.cursor;
}

int VarLongestName(AppSession& app) {
    return StoreOf(app).longestName;
}

long VarGetNumber(AppSession& app, std::string_view name) {
    std::string text = VarGetValue(app, name);
    long number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        int digit = c - '0';
        if (number > (LONG_MAX - digit) / 10) {
            return LONG_MAX;
        }
        number = number * 10 + digit;
    }
    return number;
}

bool VarIsTrue(AppSession& app, std::string_view name) {
    return VarGetValue(app, name) == "TRUE";
}

}  // namespace tavoe
