#include "utilities/compare_read.h"

#include <algorithm>
#include <cstring>

#include "platform/file_io.h"
#include "platform/format.h"

namespace tavoe {

namespace {

int ReadWholeFile(const std::string& path, std::vector<char>& bytes) {
    FileHandle handle;
    if (!OpenExisting(path, OpenAccess::Read, handle).Ok()) {
        return -1;
    }
    FileStamp stamp;
    if (!StatHandle(handle, stamp).Ok() || stamp.isDirectory) {
        return -1;
    }
    bytes.resize(static_cast<size_t>(stamp.size));
    size_t got = 0;
    if (!ReadFull(handle, bytes.data(), bytes.size(), &got).Ok()) {
        return -1;
    }
    bytes.resize(got);
    return 0;
}

}  // namespace

std::string ReadCompareFile(const std::string& path, const CompareReadRules& rules, CompareFile& out) {
    out.records.clear();
    if (ReadWholeFile(path, out.bytes) != 0) {
        return Format("Unable to open '%s' for read.", path.c_str());
    }
    const char* data = out.bytes.data();
    const size_t size = out.bytes.size();
    const size_t maxLen = static_cast<size_t>(std::max(rules.maxReclen, 1));
    const size_t colEnd = static_cast<size_t>(std::max(rules.colEnd, 0));
    size_t at = 0;
    while (at < size) {
        const void* found = std::memchr(data + at, '\n', size - at);
        size_t lineEnd =
            found != nullptr ? static_cast<size_t>(static_cast<const char*>(found) - data) : size;
        size_t contentEnd = lineEnd;
        if (found != nullptr && contentEnd > at && data[contentEnd - 1] == '\r') {
            --contentEnd;  // CR+LF is one newline
        }
        size_t length = contentEnd - at;
        if (rules.terminators) {
            if (found == nullptr || length > maxLen) {
                return Format(
                    "%s, record %d, newline character not found within expected maximum record length.",
                    path.c_str(), static_cast<int>(out.records.size() + 1));
            }
            out.records.emplace_back(data + at, std::min(length, colEnd));
        } else {
            // A long line becomes several records of the maximum length; an empty line is one
            // empty record.
            size_t piece = at;
            do {
                size_t take = std::min(maxLen, contentEnd - piece);
                out.records.emplace_back(data + piece, std::min(take, colEnd));
                piece += take;
            } while (piece < contentEnd);
        }
        at = found != nullptr ? lineEnd + 1 : size;
    }
    return {};
}

}  // namespace tavoe
