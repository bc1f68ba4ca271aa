#include "utilities/dircompare_scan.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/file_io.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "ui/file_chooser.h"

namespace tavoe {

namespace {

constexpr size_t kBlock = 1 << 16;

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool IsRegularFile(const std::string& directory, const struct dirent* entry) {
    if (entry->d_type == DT_REG) {
        return true;
    }
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK) {
        return false;
    }
    struct stat st {};
    return ::stat(JoinPath(directory, entry->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Compares the bytes of two files of the same size: Equal or Different, or an error message.
std::string SameContents(const std::string& pathA, const std::string& pathB, std::vector<char>& blockA,
                         std::vector<char>& blockB, bool& equal) {
    FileHandle a;
    FileHandle b;
    if (!OpenExisting(pathA, OpenAccess::Read, a).Ok()) {
        return Format("COMPDIR unable to open for READ %s", pathA.c_str());
    }
    if (!OpenExisting(pathB, OpenAccess::Read, b).Ok()) {
        return Format("COMPDIR unable to open for READ %s", pathB.c_str());
    }
    for (;;) {
        size_t gotA = 0;
        size_t gotB = 0;
        if (!ReadFull(a, blockA.data(), kBlock, &gotA).Ok()) {
            return Format("COMPDIR I/O error reading %s'", pathA.c_str());
        }
        if (!ReadFull(b, blockB.data(), kBlock, &gotB).Ok()) {
            return Format("COMPDIR I/O error reading %s'", pathB.c_str());
        }
        if (gotA != gotB) {
            return Format("COMPDIR bytes read not equal, file A is %s", pathA.c_str());
        }
        if (std::memcmp(blockA.data(), blockB.data(), gotA) != 0) {
            equal = false;
            return {};
        }
        if (gotA < kBlock) {
            equal = true;
            return {};
        }
    }
}

}  // namespace

bool ListDirectoryFiles(const std::string& directory, const std::string& mask, std::vector<DirFile>& files) {
    files.clear();
    std::unique_ptr<DIR, DirCloser> dir(::opendir(directory.c_str()));
    if (dir == nullptr) {
        return false;
    }
    while (const struct dirent* entry = ::readdir(dir.get())) {
        if (ui::MatchesPatterns(entry->d_name, mask) && IsRegularFile(directory, entry)) {
            files.push_back({entry->d_name, DirFileStatus::Unpaired});
        }
    }
    std::sort(files.begin(), files.end(), [](const DirFile& x, const DirFile& y) { return x.name < y.name; });
    return true;
}

std::string CompareDirectoryFiles(const std::string& dirA, std::vector<DirFile>& filesA,
                                  const std::string& dirB, std::vector<DirFile>& filesB) {
    // Both lists are sorted by name, so pairs are found in one walk.
    std::vector<char> blockA(kBlock);
    std::vector<char> blockB(kBlock);
    auto b = filesB.begin();
    for (DirFile& a : filesA) {
        while (b != filesB.end() && b->name < a.name) {
            ++b;
        }
        if (b == filesB.end() || b->name != a.name) {
            a.status = DirFileStatus::OnlyHere;
            continue;
        }
        std::string pathA = JoinPath(dirA, a.name);
        std::string pathB = JoinPath(dirB, b->name);
        FileStamp stampA;
        FileStamp stampB;
        if (!StatPath(pathA, stampA).Ok()) {
            return Format("COMPDIR unable to get status for %s'", pathA.c_str());
        }
        if (!StatPath(pathB, stampB).Ok()) {
            return Format("COMPDIR unable to get status for %s'", pathB.c_str());
        }
        bool equal = false;
        if (stampA.size == stampB.size) {
            std::string failure = SameContents(pathA, pathB, blockA, blockB, equal);
            if (!failure.empty()) {
                return failure;
            }
        }
        a.status = b->status = equal ? DirFileStatus::Equal : DirFileStatus::Different;
    }
    for (DirFile& file : filesB) {
        if (file.status == DirFileStatus::Unpaired) {
            file.status = DirFileStatus::OnlyHere;
        }
    }
    return {};
}

}  // namespace tavoe
