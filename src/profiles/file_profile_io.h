#pragma once

#include <string>
#include <string_view>

#include "core/status.h"
#include "profiles/file_profile.h"
#include "profiles/profile_name.h"

namespace tavoe {

// File profile files: "<TYPE>.fp" text files found along ZPATH.FILEPROFILES, one setting per line
// as a keyword, blanks and/or "=", and the value. Lines are at most 511 characters; blank lines
// and lines starting with "//" are skipped. Reading fills a FileProfile and normalises it; writing
// produces a fixed line order and replaces the file only once the new text is safely on disk.

struct AppSession;

inline constexpr std::string_view kFileProfileExtension = ".fp";
inline constexpr std::string_view kFileProfilePathVariable = "ZPATH.FILEPROFILES";
inline constexpr std::string_view kDefaultProfileName = "DEFAULT";
inline constexpr size_t kFileProfileLineMax = 511;  // characters of a line, the newline not counted
inline constexpr int kBuiltInRecordLength = 255;    // for a profile file that names no MaxRecLen

// An automatic write (the loader raising the record length) leaves a locked profile alone; an
// explicit one (the profile sheet, the CAPS command) always writes.
enum class ProfileWriteMode { Explicit, Automatic };

// The file name of a profile: the name followed by ".fp".
std::string FileProfileFileName(std::string_view name);

// A profile file of this name (any case of "<name>.fp") exists in a directory of
// ZPATH.FILEPROFILES.
bool FileProfileExists(AppSession& app, std::string_view name);

// Reads the profile of this name into out: the file "<name>.fp" along ZPATH.FILEPROFILES, else
// "DEFAULT.fp", else the built-in profile. out always ends up a usable record tagged "FILEPROF"
// and named with the upper-cased name; fields the file does not name are 0, FALSE or the first
// value. When ZMAXRECLEN is set it replaces the file's record length. The read is normalised
// (numbering defaults by NumberType, bounds, offset and tabs within the record length). A bad line
// is reported in a message box naming the file and the line, skipped, and the read goes on; the
// profile is then marked `readIncomplete` and -1 is returned, else 0. Comments and lines with
// unknown keywords are kept in `keptLines`. A colour type that was read is loaded as the profile's
// colorizer (none when its file is missing or faulty).
Status ReadFileProfile(AppSession& app, std::string_view name, FileProfile& out);

// The reading above applied to text as if it were the file fileName (the name shown in messages):
// the lines fill profile, which the caller prepares, and the read is normalised. 0, or -1 after
// reporting the bad lines.
int ParseFileProfileText(AppSession& app, std::string_view fileName, std::string_view text,
                         FileProfile& profile);

// The text the writer produces for the profile, every line ended by "\n": Recfm, CapsMode,
// CharsetFile, CharsetDisplay, Color (when named), EorType, NumberType, then when numbering is not
// None: NumberAuto and the non-zero NumberStart, NumberIncrement, NumberColStart, NumberColEnd;
// MaxRecLen, Offset, PromptKeystrokeLimit (when not 0), Bounds, Imacro and Xmacro (when set),
// TabsIn, TabsOut, Template (when set), Tabs, MaskLine and BackupPath (when set), then the nine
// BOOL lines.
std::string FileProfileText(const FileProfile& profile);

// Writes the profile as "<name>.fp" into the first directory of ZPATH.FILEPROFILES (an existing
// file there keeps the case of its name). The text goes to a temporary file in that directory
// that replaces the profile only when it was written whole, so a failure leaves the old profile
// intact. The kept lines follow the known keywords. A profile without a name is never written, and an
// automatic write of a locked profile or of one that was not read whole does nothing: all return 0. Returns
// -1 after reporting in a message box when a value could not be read back or the file cannot be written.
Status WriteFileProfile(AppSession& app, const FileProfile& profile,
                        ProfileWriteMode mode = ProfileWriteMode::Explicit);

// Releases the colorizer of a record tagged "FILEPROF" and clears the tag, so a released record is
// not taken for a profile again. Other records are left alone.
void FreeFileProfile(FileProfile& profile);

}  // namespace tavoe
