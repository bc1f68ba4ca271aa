#include "core/shared_block.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "core/app_session.h"
#include "platform/format.h"

namespace tavoe {

namespace {

// Longest block name we hand to shm_open: the name becomes a file name, which has its own limit.
constexpr size_t kMaxBlockName = 240;

uint32_t LoadLittle(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void StoreLittle(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

// The first number of text at *pos, advancing past it; -1 when no digit stands there.
int TakeNumber(std::string_view text, size_t* pos) {
    size_t start = *pos;
    long value = 0;
    while (*pos < text.size() && text[*pos] >= '0' && text[*pos] <= '9' && *pos - start < 9) {
        value = value * 10 + (text[*pos] - '0');
        ++*pos;
    }
    return *pos == start ? -1 : static_cast<int>(value);
}

}  // namespace

std::unique_ptr<SharedSessionBlock> SharedSessionBlock::OpenNamed(const std::string& name,
                                                                  std::string* error) {
    int fd = ::shm_open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = std::strerror(errno);
        return nullptr;
    }
    // A block that is still shorter than the layout was just created (or is being created by another
    // instance): growing it zero-fills, and growing it twice to the same size loses nothing.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || (info.st_size < static_cast<off_t>(kSharedBlockSize) &&
                                    ::ftruncate(fd, static_cast<off_t>(kSharedBlockSize)) != 0)) {
        *error = std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    void* address = ::mmap(nullptr, kSharedBlockSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (address == MAP_FAILED) {
        *error = std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    auto block = std::make_unique<SharedSessionBlock>(Token{});
    block->bytes_ = static_cast<uint8_t*>(address);
    block->fd_ = fd;
    block->name_ = name;
    return block;
}

std::unique_ptr<SharedSessionBlock> SharedSessionBlock::CreatePrivate() {
    auto block = std::make_unique<SharedSessionBlock>(Token{});
    block->privateWords_ = std::make_unique<uint32_t[]>(kSharedBlockSize / sizeof(uint32_t));
    block->bytes_ = reinterpret_cast<uint8_t*>(block->privateWords_.get());
    return block;
}

SharedSessionBlock::~SharedSessionBlock() {
    if (fd_ >= 0) {
        ::munmap(bytes_, kSharedBlockSize);
        ::close(fd_);
    }
}

void SharedSessionBlock::UnlinkName() {
    if (fd_ < 0) {
        return;
    }
    // The name may by now belong to a newer block (created after ours was unlinked elsewhere); only
    // the block this instance mapped is removed.
    int current = ::shm_open(name_.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (current < 0) {
        return;
    }
    struct stat mine {};
    struct stat theirs {};
    bool same = ::fstat(fd_, &mine) == 0 && ::fstat(current, &theirs) == 0 && mine.st_dev == theirs.st_dev &&
                mine.st_ino == theirs.st_ino;
    ::close(current);
    if (same) {
        ::shm_unlink(name_.c_str());
    }
}

int32_t SharedSessionBlock::ReadInt(size_t offset) const {
    if (offset + 4 > kSharedBlockSize) {
        return 0;
    }
    return static_cast<int32_t>(LoadLittle(bytes_ + offset));
}

void SharedSessionBlock::WriteInt(size_t offset, int32_t value) {
    if (offset + 4 <= kSharedBlockSize) {
        StoreLittle(bytes_ + offset, static_cast<uint32_t>(value));
    }
}

std::string SharedSessionBlock::ReadText(size_t offset, size_t size) const {
    if (offset + size > kSharedBlockSize) {
        return {};
    }
    const char* text = reinterpret_cast<const char*>(bytes_ + offset);
    return std::string(text, ::strnlen(text, size));
}

void SharedSessionBlock::WriteText(size_t offset, size_t size, std::string_view text) {
    if (size == 0 || offset + size > kSharedBlockSize) {
        return;
    }
    size_t length = std::min(text.size(), size - 1);
    std::memcpy(bytes_ + offset, text.data(), length);
    std::memset(bytes_ + offset + length, 0, size - length);
}

bool SharedSessionBlock::LooksValid(std::string_view systemName) const {
    int32_t count = SessionCount();
    if (count < 0 || count > kMaxSessions) {
        return false;
    }
    for (int slot = 0; slot < kMaxSessions; ++slot) {
        bool used = slot < count;
        bool owned = SlotOwner(slot) > 0 && SlotId(slot) > 0;
        if (used != owned || (!used && (SlotOwner(slot) != 0 || SlotId(slot) != 0))) {
            return false;
        }
    }
    std::string osName = OsName();
    return OsBuild().empty() || osName == systemName;
}

void SharedSessionBlock::Reset() {
    std::memset(bytes_, 0, kSharedBlockSize);
}

void SharedSessionBlock::ClearSlot(int slot) {
    if (slot < 0 || slot >= kMaxSessions) {
        return;
    }
    size_t offset = SlotOffset(slot);
    std::memset(bytes_ + offset + shared_layout::kSlotPending, 0,
                shared_layout::kSlotSize - shared_layout::kSlotPending);
}

void SharedSessionBlock::CopySlot(int from, int to) {
    if (from < 0 || from >= kMaxSessions || to < 0 || to >= kMaxSessions || from == to) {
        return;
    }
    std::memmove(bytes_ + SlotOffset(to) + shared_layout::kSlotPending,
                 bytes_ + SlotOffset(from) + shared_layout::kSlotPending,
                 shared_layout::kSlotSize - shared_layout::kSlotPending);
}

uint32_t* SharedSessionBlock::PendingWord(int slot) {
    // Slots are 268 bytes, a multiple of 4, and the block starts page-aligned (or on a uint32_t
    // array), so the word is aligned for atomic access.
    return reinterpret_cast<uint32_t*>(bytes_ + SlotOffset(slot) + shared_layout::kSlotPending);
}

void SharedSessionBlock::AddSlotPending(int slot, uint32_t bits) {
    if (slot >= 0 && slot < kMaxSessions) {
        std::atomic_ref<uint32_t>(*PendingWord(slot)).fetch_or(bits);
    }
}

uint32_t SharedSessionBlock::TakeSlotPending(int slot) {
    if (slot < 0 || slot >= kMaxSessions) {
        return 0;
    }
    return std::atomic_ref<uint32_t>(*PendingWord(slot)).exchange(0);
}

RetrieveDirection SharedSessionBlock::HistoryDirection() const {
    int32_t value = ReadInt(shared_layout::kHistoryDirection);
    if (value == 1) {
        return RetrieveDirection::Backward;
    }
    return value == 2 ? RetrieveDirection::Forward : RetrieveDirection::None;
}

bool SharedSessionBlock::HistorySlotEmpty(int index) const {
    size_t offset = HistoryOffset(index);
    return offset >= kSharedBlockSize || bytes_[offset] == 0;
}

void SharedSessionBlock::SetInstallationFacts(std::string_view osName, std::string_view osVersion,
                                              std::string_view osBuild, std::string_view servicePack,
                                              std::string_view programVersion, std::string_view programBuild,
                                              std::string_view home) {
    using namespace shared_layout;
    WriteText(kOsName, kShortTextSize, osName);
    WriteText(kOsVersion, kShortTextSize, osVersion);
    WriteText(kOsServicePack, kShortTextSize, servicePack);
    WriteText(kProgramVersion, kShortTextSize, programVersion);
    WriteText(kProgramBuild, kShortTextSize, programBuild);
    WriteText(kHomeDirectory, kPathTextSize, home);
    // The build field is written last: it is the mark other instances test to see the facts filled.
    WriteText(kOsBuild, kShortTextSize, osBuild);
}

std::string SharedBlockName(std::string_view programPath, unsigned userId) {
    std::string name = "/";
    for (char c : programPath) {
        bool replaced = c == '/' || c == ':' || c == '\\' || c == '.' || c == ' ';
        name += replaced ? '_' : c;
    }
    name += Format("_u%u", userId);
    if (name.size() > kMaxBlockName) {
        // Keep the distinctive end of the path and a hash of the whole, so different long paths still
        // get different names.
        size_t hash = std::hash<std::string>{}(name);
        std::string tail = name.substr(name.size() - (kMaxBlockName - 20));
        name = "/" + Format("%016zx", hash) + "_" + tail;
    }
    return name;
}

std::string InstallationHome(std::string_view programPath, const char* tavoe35) {
    if (tavoe35 != nullptr && tavoe35[0] != '\0') {
        return tavoe35;
    }
    // The program's directory with its last component removed.
    size_t slash = programPath.rfind('/');
    if (slash != std::string_view::npos && slash > 0) {
        std::string_view directory = programPath.substr(0, slash);
        size_t parent = directory.rfind('/');
        if (parent != std::string_view::npos) {
            std::string home(directory.substr(0, parent));
            return home.empty() ? "/" : home;
        }
    }
    return "/opt/tavoe35";
}

void FillInstallationFields(SharedSessionBlock& block, std::string_view programPath) {
    if (!block.OsBuild().empty()) {
        return;
    }
    std::string osName = "Linux";
    std::string version = "0.0";
    std::string build = "0";
    std::string servicePack;
    utsname names{};
    if (::uname(&names) == 0) {
        osName = names.sysname;
        // The release reads like "6.1.0-18-amd64": major.minor is the version, the third number
        // the build, and whatever follows the numbers stands where a service pack text would.
        std::string_view release = names.release;
        size_t pos = 0;
        int major = TakeNumber(release, &pos);
        int minor = -1;
        int patch = -1;
        if (pos < release.size() && release[pos] == '.') {
            ++pos;
            minor = TakeNumber(release, &pos);
        }
        if (pos < release.size() && release[pos] == '.') {
            ++pos;
            patch = TakeNumber(release, &pos);
        }
        if (major >= 0) {
            version = Format("%d.%d", major, minor < 0 ? 0 : minor);
            build = Format("%d", patch < 0 ? 0 : patch);
        }
        servicePack = std::string(release.substr(pos));
    }
    std::string home = InstallationHome(programPath, std::getenv("TAVOE35"));
    if (home.size() >= shared_layout::kPathTextSize) {
        home = "/opt/tavoe35";  // a cut path would name the wrong directory
    }
    block.SetInstallationFacts(osName, version, build, servicePack, "3.5", "616", home);
}

SharedSessionBlock& SharedBlock(AppSession& app) {
    if (!app.shared) {
        app.shared = SharedSessionBlock::CreatePrivate();
    }
    return *app.shared;
}

}  // namespace tavoe
