#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tavoe {

// The block of named shared memory through which the running instances cooperate: the table of
// registered sessions, the recently used files, the command history, facts about the installation
// and the main window position. Its layout is fixed byte for byte, so every field is read and written
// at its offset through the accessors below (32-bit integers little-endian, texts NUL-terminated in
// fixed-size fields); no C++ struct is laid over the memory.

struct AppSession;

inline constexpr size_t kSharedBlockSize = 20460;
inline constexpr int kMaxSessions = 32;
inline constexpr int kRecentFileCount = 27;
inline constexpr int kHistorySlotCount = 16;

// Offsets and sizes of the fields.
namespace shared_layout {
inline constexpr size_t kSlots = 0;
inline constexpr size_t kSlotSize = 268;
inline constexpr size_t kSlotLastRegistered = 0;  // slot 0 only: process id of the last registrant
inline constexpr size_t kSlotPending = 4;         // notifications waiting for the slot's instance
inline constexpr size_t kSlotWindow = 8;          // the main window: the instance's process id
inline constexpr size_t kSlotOwner = 12;          // process id of the instance that registered
inline constexpr size_t kSlotId = 16;
inline constexpr size_t kSlotTitle = 20;
inline constexpr size_t kSlotTitleSize = 240;
// The start time of the owner process (two 32-bit halves, low first), so a slot whose process id was
// given to another process is known as dead; 0 when not recorded.
inline constexpr size_t kSlotStartTime = 260;

inline constexpr size_t kRecent = 8584;
inline constexpr size_t kRecentSize = 260;
inline constexpr size_t kRecentInUse = 0;
inline constexpr size_t kRecentPath = 4;
inline constexpr size_t kRecentPathSize = 256;

inline constexpr size_t kHistoryNewest = 15604;
inline constexpr size_t kHistoryCursor = 15608;
inline constexpr size_t kHistoryDirection = 15612;
inline constexpr size_t kHistorySlots = 15616;
inline constexpr size_t kHistorySlotSize = 256;

inline constexpr size_t kSessionCount = 19712;
inline constexpr size_t kLastSessionId = 19716;
inline constexpr size_t kHighestSessionCount = 19720;
inline constexpr size_t kWindowX = 19732;
inline constexpr size_t kWindowY = 19736;
inline constexpr size_t kWindowExtentX = 19740;
inline constexpr size_t kWindowExtentY = 19744;
inline constexpr size_t kWindowMaximized = 19748;
inline constexpr size_t kWindowPositionState = 19752;
inline constexpr size_t kOsName = 19756;
inline constexpr size_t kOsVersion = 19788;
inline constexpr size_t kOsBuild = 19820;
inline constexpr size_t kOsServicePack = 19852;
inline constexpr size_t kProgramVersion = 19884;
inline constexpr size_t kProgramBuild = 19916;
inline constexpr size_t kShortTextSize = 32;
inline constexpr size_t kHomeDirectory = 19948;
inline constexpr size_t kSearchText = 20204;
inline constexpr size_t kPathTextSize = 256;
}  // namespace shared_layout

// Direction of the last history retrieve, as stored in the block.
enum class RetrieveDirection : int32_t { None = 0, Backward = 1, Forward = 2 };

// Notification bits kept per slot until the slot's instance takes them.
inline constexpr uint32_t kPendingClose = 1;
inline constexpr uint32_t kPendingWindowMenu = 2;
inline constexpr uint32_t kPendingTitle = 4;

class SharedSessionBlock {
public:
    // Maps the named block with read-write access, creating it zero-filled when it does not exist.
    // Null on failure, with the reason in *error.
    static std::unique_ptr<SharedSessionBlock> OpenNamed(const std::string& name, std::string* error);
    // A zero-filled block in private memory: for an instance that cannot map the named block, and
    // for code that needs a block before (or without) registration.
    static std::unique_ptr<SharedSessionBlock> CreatePrivate();

    ~SharedSessionBlock();
    SharedSessionBlock(const SharedSessionBlock&) = delete;
    SharedSessionBlock& operator=(const SharedSessionBlock&) = delete;

    bool IsNamed() const { return fd_ >= 0; }
    const std::string& Name() const { return name_; }
    // Removes the name when it still denotes this block, so the next instance starts afresh. The
    // mapping itself stays valid until destruction.
    void UnlinkName();

    uint8_t* Bytes() { return bytes_; }
    const uint8_t* Bytes() const { return bytes_; }

    // Raw field access. Offsets past the block are ignored on write and read as 0 / "".
    int32_t ReadInt(size_t offset) const;
    void WriteInt(size_t offset, int32_t value);
    // The text up to its NUL, never past the field.
    std::string ReadText(size_t offset, size_t size) const;
    // Stores at most size - 1 bytes and fills the rest of the field with NULs.
    void WriteText(size_t offset, size_t size, std::string_view text);

    // Session table.
    int32_t SessionCount() const { return ReadInt(shared_layout::kSessionCount); }
    void SetSessionCount(int32_t value) { WriteInt(shared_layout::kSessionCount, value); }
    int32_t LastSessionId() const { return ReadInt(shared_layout::kLastSessionId); }
    void SetLastSessionId(int32_t value) { WriteInt(shared_layout::kLastSessionId, value); }
    int32_t HighestSessionCount() const { return ReadInt(shared_layout::kHighestSessionCount); }
    void SetHighestSessionCount(int32_t value) { WriteInt(shared_layout::kHighestSessionCount, value); }
    int32_t LastRegistered() const { return ReadInt(SlotOffset(0) + shared_layout::kSlotLastRegistered); }
    void SetLastRegistered(int32_t pid) { WriteInt(SlotOffset(0) + shared_layout::kSlotLastRegistered, pid); }

    uint64_t SlotStartTime(int slot) const {
        size_t offset = SlotOffset(slot) + shared_layout::kSlotStartTime;
        return static_cast<uint32_t>(ReadInt(offset)) |
               (static_cast<uint64_t>(static_cast<uint32_t>(ReadInt(offset + 4))) << 32);
    }
    void SetSlotStartTime(int slot, uint64_t ticks) {
        size_t offset = SlotOffset(slot) + shared_layout::kSlotStartTime;
        WriteInt(offset, static_cast<int32_t>(static_cast<uint32_t>(ticks)));
        WriteInt(offset + 4, static_cast<int32_t>(static_cast<uint32_t>(ticks >> 32)));
    }
    // Whether the block's fields hold values an instance could have written: a session count within
    // the table, a positive owner and id in every used slot, empty unused slots, and an operating
    // system name that is empty (not filled in yet) or this system's.
    bool LooksValid(std::string_view systemName) const;
    // Zero-fills the whole block, as a newly created one.
    void Reset();

    int32_t SlotWindow(int slot) const { return ReadInt(SlotOffset(slot) + shared_layout::kSlotWindow); }
    void SetSlotWindow(int slot, int32_t window) {
        WriteInt(SlotOffset(slot) + shared_layout::kSlotWindow, window);
    }
    int32_t SlotOwner(int slot) const { return ReadInt(SlotOffset(slot) + shared_layout::kSlotOwner); }
    void SetSlotOwner(int slot, int32_t pid) { WriteInt(SlotOffset(slot) + shared_layout::kSlotOwner, pid); }
    int32_t SlotId(int slot) const { return ReadInt(SlotOffset(slot) + shared_layout::kSlotId); }
    void SetSlotId(int slot, int32_t id) { WriteInt(SlotOffset(slot) + shared_layout::kSlotId, id); }
    std::string SlotTitle(int slot) const {
        return ReadText(SlotOffset(slot) + shared_layout::kSlotTitle, shared_layout::kSlotTitleSize);
    }
    void SetSlotTitle(int slot, std::string_view title) {
        WriteText(SlotOffset(slot) + shared_layout::kSlotTitle, shared_layout::kSlotTitleSize, title);
    }
    // Clears window, owner, id, title and pending notifications; bytes 0..3 of slot 0 stay.
    void ClearSlot(int slot);
    // Copies bytes 4.. of one slot over another (the slot-0-only word is not part of a slot's entry).
    void CopySlot(int from, int to);
    // Notification bits of a slot, set and taken atomically because other processes set them.
    void AddSlotPending(int slot, uint32_t bits);
    uint32_t TakeSlotPending(int slot);

    // Recently used files.
    bool RecentInUse(int index) const {
        return ReadInt(RecentOffset(index) + shared_layout::kRecentInUse) != 0;
    }
    void SetRecentInUse(int index, bool inUse) {
        WriteInt(RecentOffset(index) + shared_layout::kRecentInUse, inUse ? 1 : 0);
    }
    std::string RecentPath(int index) const {
        return ReadText(RecentOffset(index) + shared_layout::kRecentPath, shared_layout::kRecentPathSize);
    }
    void SetRecentPath(int index, std::string_view path) {
        WriteText(RecentOffset(index) + shared_layout::kRecentPath, shared_layout::kRecentPathSize, path);
    }

    // Command history. Out-of-range stored indexes read as 0 so no caller can step outside the slots.
    int HistoryNewest() const { return ClampHistoryIndex(ReadInt(shared_layout::kHistoryNewest)); }
    void SetHistoryNewest(int index) { WriteInt(shared_layout::kHistoryNewest, index); }
    int HistoryCursor() const { return ClampHistoryIndex(ReadInt(shared_layout::kHistoryCursor)); }
    void SetHistoryCursor(int index) { WriteInt(shared_layout::kHistoryCursor, index); }
    RetrieveDirection HistoryDirection() const;
    void SetHistoryDirection(RetrieveDirection direction) {
        WriteInt(shared_layout::kHistoryDirection, static_cast<int32_t>(direction));
    }
    std::string HistorySlot(int index) const {
        return ReadText(HistoryOffset(index), shared_layout::kHistorySlotSize);
    }
    void SetHistorySlot(int index, std::string_view text) {
        WriteText(HistoryOffset(index), shared_layout::kHistorySlotSize, text);
    }
    bool HistorySlotEmpty(int index) const;

    // Main window position (kept for the next instance).
    int32_t WindowX() const { return ReadInt(shared_layout::kWindowX); }
    void SetWindowX(int32_t value) { WriteInt(shared_layout::kWindowX, value); }
    int32_t WindowY() const { return ReadInt(shared_layout::kWindowY); }
    void SetWindowY(int32_t value) { WriteInt(shared_layout::kWindowY, value); }
    int32_t WindowExtentX() const { return ReadInt(shared_layout::kWindowExtentX); }
    void SetWindowExtentX(int32_t value) { WriteInt(shared_layout::kWindowExtentX, value); }
    int32_t WindowExtentY() const { return ReadInt(shared_layout::kWindowExtentY); }
    void SetWindowExtentY(int32_t value) { WriteInt(shared_layout::kWindowExtentY, value); }
    int32_t WindowMaximized() const { return ReadInt(shared_layout::kWindowMaximized); }
    void SetWindowMaximized(int32_t value) { WriteInt(shared_layout::kWindowMaximized, value); }
    int32_t WindowPositionState() const { return ReadInt(shared_layout::kWindowPositionState); }
    void SetWindowPositionState(int32_t value) { WriteInt(shared_layout::kWindowPositionState, value); }

    // Installation facts and the shared search text.
    std::string OsName() const { return ReadText(shared_layout::kOsName, shared_layout::kShortTextSize); }
    std::string OsVersion() const {
        return ReadText(shared_layout::kOsVersion, shared_layout::kShortTextSize);
    }
    std::string OsBuild() const { return ReadText(shared_layout::kOsBuild, shared_layout::kShortTextSize); }
    std::string OsServicePack() const {
        return ReadText(shared_layout::kOsServicePack, shared_layout::kShortTextSize);
    }
    std::string ProgramVersion() const {
        return ReadText(shared_layout::kProgramVersion, shared_layout::kShortTextSize);
    }
    std::string ProgramBuild() const {
        return ReadText(shared_layout::kProgramBuild, shared_layout::kShortTextSize);
    }
    std::string HomeDirectory() const {
        return ReadText(shared_layout::kHomeDirectory, shared_layout::kPathTextSize);
    }
    std::string SearchText() const {
        return ReadText(shared_layout::kSearchText, shared_layout::kPathTextSize);
    }
    void SetSearchText(std::string_view text) {
        WriteText(shared_layout::kSearchText, shared_layout::kPathTextSize, text);
    }
    void SetInstallationFacts(std::string_view osName, std::string_view osVersion, std::string_view osBuild,
                              std::string_view servicePack, std::string_view programVersion,
                              std::string_view programBuild, std::string_view home);

    // Where an entry starts. An index outside its table gives the block size, an offset every
    // accessor ignores, so a bad index can never reach a neighbouring field.
    static size_t SlotOffset(int slot) {
        return slot >= 0 && slot < kMaxSessions
                   ? shared_layout::kSlots + static_cast<size_t>(slot) * shared_layout::kSlotSize
                   : kSharedBlockSize;
    }
    static size_t RecentOffset(int index) {
        return index >= 0 && index < kRecentFileCount
                   ? shared_layout::kRecent + static_cast<size_t>(index) * shared_layout::kRecentSize
                   : kSharedBlockSize;
    }
    static size_t HistoryOffset(int index) {
        return index >= 0 && index < kHistorySlotCount
                   ? shared_layout::kHistorySlots +
                         static_cast<size_t>(index) * shared_layout::kHistorySlotSize
                   : kSharedBlockSize;
    }

private:
    struct Token {};  // only the factories construct blocks

public:
    explicit SharedSessionBlock(Token) {}

private:
    static int ClampHistoryIndex(int32_t index) {
        return index >= 0 && index < kHistorySlotCount ? index : 0;
    }
    uint32_t* PendingWord(int slot);

    uint8_t* bytes_ = nullptr;
    std::unique_ptr<uint32_t[]> privateWords_;  // the memory of a private block
    int fd_ = -1;                               // the named block's descriptor
    std::string name_;
};

// The name of the block for a program file: the full path with every "/", ":", "\", "." and blank
// made "_", so every instance started from the same program file finds the same block; the user id
// follows, so users of one installation never share (or can tamper with) each other's block.
std::string SharedBlockName(std::string_view programPath, unsigned userId);

// The installation home: TAVOE35 when set and not empty, otherwise the directory two levels above
// the program file, otherwise "/opt/tavoe35".
std::string InstallationHome(std::string_view programPath, const char* tavoe35);

// Fills the operating system fields, the version and build texts and the home directory when the
// operating system build field is still empty (the first instance to map the block does it).
void FillInstallationFields(SharedSessionBlock& block, std::string_view programPath);

// The instance's block; a private one is created when the instance has none (not registered yet,
// or a tool or test that never registers), so history and recent files always have a home.
SharedSessionBlock& SharedBlock(AppSession& app);

}  // namespace tavoe
