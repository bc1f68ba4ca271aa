#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "buffer/charset.h"
#include "buffer/original_records.h"
#include "core/open_mode.h"
#include "platform/file_io.h"
#include "profiles/file_profile.h"

namespace tavoe {

// What an edit session knows about its file between opening and closing: the open handle and its
// lock, the stamp taken at load that saving compares against, the progress of an incremental load,
// and the read buffer that saving reuses as its write buffer. One per EditBuffer (its `file` member);
// loading fills it, saving reads and refreshes it.

// How the session asked for the file.
// Why a session is read-only. Anything but None means BROWSE.
enum class BrowseReason {
    None,           // an EDIT session that may save
    Requested,      // opened with BROWSE
    NoWriteAccess,  // EDIT of a file the user may read but not write
    OpenFallback,   // the read-write open failed (another editor holds the file's write lock)
    LoadFailed,     // the load stopped on an error (terminator not found, read error)
    LoadAborted,    // the user pressed Escape during the load
};

// Flags of the opener: background operations open files without the CAPS scan and without the
// load summary.
enum class LoadQuiet : std::uint8_t {
    None = 0,
    NoCapsScan = 1 << 0,
    NoSummary = 1 << 1,
};
constexpr LoadQuiet operator|(LoadQuiet a, LoadQuiet b) {
    return static_cast<LoadQuiet>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}
constexpr bool HasQuiet(LoadQuiet set, LoadQuiet flag) {
    return (static_cast<std::uint8_t>(set) & static_cast<std::uint8_t>(flag)) != 0;
}

// Reads the read loop performs. Tests replace them to cut the data at chosen points or to fail.
struct LoadReadHooks {
    // Largest number of bytes one read may bring in (0 = as many as fit in the buffer).
    std::int32_t readSizeLimit = 0;
    // Replaces the read of the file when set: same contract as ReadFull.
    std::function<IoResult(const FileHandle&, char*, std::size_t, std::size_t*)> read;
};

struct FileState {
    // ---- The file on disk ----
    FileHandle handle;         // open while a write-locked EDIT holds it or a virtual load is incomplete
    bool writeLocked = false;  // the handle holds the advisory write lock (ZEDITWRITELOCK "TRUE")
    FileStamp loadStamp;       // status at open (EDIT) or last save; compared by SAVE and by each batch
    // The file changed under a virtual load: the lines read are kept, but the rest is not read and the
    // session may not save under this name (SAVEAS clears it with the new name).
    bool changedWhileLoading = false;
    OpenMode mode = OpenMode::Edit;
    BrowseReason browseReason = BrowseReason::None;
    bool IsReadOnly() const { return browseReason != BrowseReason::None; }

    // ---- The read buffer (also the write buffer of saving) ----
    std::unique_ptr<char[]> buffer;
    std::int32_t bufferSize = 0;     // bytes allocated in `buffer`
    std::int32_t bytesInBuffer = 0;  // valid bytes after the last read
    // Reading: bytes of an incomplete record kept at the end of the valid data for the next read.
    // Writing: bytes pending in the buffer.
    std::int32_t carry = 0;
    std::int32_t writePos = 0;      // next free byte when the buffer is used for writing
    std::int64_t flushedBytes = 0;  // bytes of the save written to the file so far

    // ---- Progress of the load ----
    std::uint32_t recordCount = 0;   // records made so far; the first record is number 1
    std::int64_t bytesConsumed = 0;  // file offset up to which the data has been read
    bool firstRead = true;           // the next read is the first
    bool atEnd = false;              // end of file reached, or no more reading
    bool loadComplete = false;       // the end marker is in place; nothing remains to load
    bool loadAborted = false;        // the load stopped early (error or Escape)
    bool virtualLoad = false;        // ZEDITVIRTUALLOAD: the rest is loaded batch by batch on demand
    bool tabSeen = false;            // the current buffer holds a TAB and tabs are expanded
    bool eofCharSeen = false;        // the load stopped at an x'1A' end-of-file character
    bool cobolFolding = false;       // folded pieces continue in column 7
    // The terminator cut by (also stored in the profile's `sensedTerminator`, which saving uses):
    // Auto while not yet sensed; CrLf, Lf or Any for variable files; None for fixed files.
    EorType sensedTerminator = EorType::Auto;
    bool longRecordReported = false;
    // Records the load did not keep whole: split into several lines (longer than the record length or
    // the read buffer) or cut (TruncateLongLines). A save under the file's own name asks first.
    std::uint32_t splitRecords = 0;
    std::uint32_t cutRecords = 0;
    bool splitCounted = false;  // the record being read in buffer-sized pieces is already counted  //
                                // "Individual record length exceeds 64000." shown for this load
    // A record that filled the whole buffer was taken as it stood; what follows may be its terminator
    // (consumed quietly) or more of it (a record that really is longer than the buffer).
    bool splitRecordOpen = false;
    bool skippingSplitRecord = false;  // dropping the rest of a split record that was truncated
    UntranslatableReport untranslatable;
    std::vector<char> expandBuffer;  // a record with its TABs expanded
    // Records a save of their unedited lines would not give back, with their disk bytes, and the
    // scratch of finding them.
    OriginalRecords originals;
    bool warnedOriginals = false;    // the user was told once that such records exist
    std::vector<char> rawRecord;     // a record's disk bytes before translation in place
    std::vector<char> encodeBuffer;  // what a save would write for a line
    std::array<bool, 256> lossyCodes{};
    bool lossyCodesKnown = false;
    LoadQuiet quiet = LoadQuiet::None;

    // ---- Results for the session ----
    bool capsOn = false;          // the session's CAPS mode after open
    std::int32_t viewOffset = 0;  // the view's initial horizontal offset (the profile's offset)

    LoadReadHooks hooks;
};

}  // namespace tavoe
