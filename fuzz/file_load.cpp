// Loads arbitrary bytes as an edited file under profile settings taken from the first input bytes
// (format, terminator, character set, record length, trimming flags, read size). No load may crash
// or hang; every data line stays within the record length; a fixed-format ASCII load holds exactly
// the file's bytes, the last record padded with blanks. The file is then opened for edit and saved
// again under the same settings without a line edited: the save must not crash, and a fixed-format
// ASCII file comes back byte for byte (a short last record stays short).
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "buffer/file_save.h"
#include "core/app_session.h"

using namespace tavoe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) {
        return 0;
    }
    static const std::filesystem::path dir = [] {
        std::filesystem::path d =
            std::filesystem::temp_directory_path() / ("tavoe_fuzz_load_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    const std::uint8_t mode = data[0];
    const std::uint8_t flags = data[1];
    const std::int32_t length = 8 + data[2] * 4;
    const std::int32_t readLimit = data[3] % 4 == 0 ? 0 : data[3];
    std::string content(reinterpret_cast<const char*>(data + 4), size - 4);
    std::string path = (dir / "fuzz.dat").string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << content;
    }

    AppSession app;
    EditBuffer buffer(app);
    FileProfile& profile = buffer.profile;
    profile.name = "";  // never written back
    profile.recordFormat = (mode & 1) != 0 ? Recfm::Fixed : Recfm::Variable;
    profile.endOfRecordSequence = static_cast<EorType>((mode >> 1) % 5);
    profile.diskCharset = (mode & 0x10) != 0 ? ProfileCharset::Ebcdic : ProfileCharset::AsciiIso8859;
    profile.displayCharset = (mode & 0x20) != 0 ? ProfileCharset::AsciiIbmPc : ProfileCharset::AsciiIso8859;
    profile.maxRecordLength = length;
    profile.boundsRight = length;
    profile.tabsExpandOnRead = flags % 10;
    profile.stripTrailingBlanks = (flags & 0x10) != 0;
    profile.padShortRecsWithBlank = (flags & 0x20) != 0;
    profile.truncateLongLines = (flags & 0x40) != 0;
    profile.endOfFileCharRead = (flags & 0x80) != 0;
    profile.autoIncreaseRecLen = (mode & 0x40) != 0;
    profile.offset = (mode & 0x80) != 0 ? 6 : 0;
    buffer.file.hooks.readSizeLimit = readLimit;
    const FileProfile settings = profile;

    if (OpenFile(buffer, path, OpenMode::Browse, LoadQuiet::NoSummary) != 0) {
        return 0;
    }
    std::string joined;
    for (const LineRecord& line : Lines(buffer)) {
        if (!IsDataLine(line)) {
            continue;
        }
        if (line.length > static_cast<std::uint32_t>(profile.maxRecordLength) || line.length > 64000) {
            std::abort();
        }
        joined.append(line.text, line.length);
    }
    if (profile.recordFormat == Recfm::Fixed && profile.diskCharset != ProfileCharset::Ebcdic) {
        std::string expected = content;
        std::size_t rest = expected.size() % static_cast<std::size_t>(length);
        if (rest != 0) {
            expected.append(static_cast<std::size_t>(length) - rest, ' ');
        }
        if (joined != expected) {
            std::abort();
        }
    }
    EditBuffer edit(app);
    edit.profile = settings;
    edit.file.hooks.readSizeLimit = readLimit;
    if (OpenFile(edit, path, OpenMode::Edit, LoadQuiet::NoSummary | LoadQuiet::NoCapsScan) != 0 ||
        edit.file.IsReadOnly()) {
        return 0;
    }
    edit.modified = true;
    if (SaveFile(edit, SaveClosing::Yes) != 0) {
        return 0;
    }
    if (settings.recordFormat == Recfm::Fixed && settings.diskCharset != ProfileCharset::Ebcdic) {
        // No line was edited, so every record goes back as read, a short last one unpadded.
        std::ifstream in(path, std::ios::binary);
        std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (saved != content) {
            std::abort();
        }
    }
    return 0;
}
