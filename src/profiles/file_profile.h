#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// The settings of one file type: how its files are read, shown, numbered and written. Loading,
// saving, numbering and editing read these fields; the profile files fill them by keyword
// (profiles/file_profile_keywords.h). A value-initialised record holds 0, FALSE or the first value
// of every field, which is what a profile file leaves for the keywords it does not name.

struct Colorizer;  // a loaded colorization profile

inline constexpr std::string_view kFileProfileTag = "FILEPROF";

inline constexpr int kProfileNameMax = 63;         // name: the file type, upper case
inline constexpr int kProfileColorTypeMax = 7;     // ColorType, upper case
inline constexpr int kProfileTemplateMax = 7;      // LanguageTemplate, upper case
inline constexpr int kProfileMacroMax = 15;        // Imacro, Xmacro
inline constexpr int kProfileMaskLineMax = 127;    // mask line, never holds "'"
inline constexpr int kProfileBackupPathMax = 255;  // BackupAlternatePath
inline constexpr int kProfileTabStopsMax = 31;     // Tab key stops, ascending, 1..1000
inline constexpr int kProfileTabStopMax = 1000;
inline constexpr int kProfileRecordLengthMin = 8;
inline constexpr int kProfileRecordLengthMax = 64000;

enum class Recfm : int32_t { Variable = 0, Fixed = 1 };

// Character sets on disk (all three) and on screen (the two ASCII sets).
enum class ProfileCharset : int32_t { AsciiIso8859 = 0, AsciiIbmPc = 1, Ebcdic = 2 };

// Record terminator of variable records. As the sensed terminator, Auto means "not yet sensed".
enum class EorType : int32_t { Auto = 0, CrLf = 1, Lf = 2, Any = 3, None = 4 };

enum class NumberType : int32_t { None = 0, Cobol = 1, Standard = 2, CobStd = 3, Other = 4 };

enum class NumberAuto : int32_t { None = 0, Full = 1, Incr = 2 };

enum class CapsMode : int32_t { Off = 0, On = 1, Auto = 2 };

// The Tab key stops: ascending record columns, ended by the first 0 (so at most 31 stops).
using TabStops = std::array<int32_t, kProfileTabStopsMax + 1>;

struct FileProfile {
    std::string tag{kFileProfileTag};      // marks the record as a file profile
    std::shared_ptr<Colorizer> colorizer;  // loaded from ColorType; none when unnamed or faulty
    Recfm recordFormat = Recfm::Variable;  // Recfm
    ProfileCharset diskCharset = ProfileCharset::AsciiIso8859;     // CharsetFile (also Charset)
    ProfileCharset displayCharset = ProfileCharset::AsciiIso8859;  // CharsetDisplay
    EorType endOfRecordSequence = EorType::Auto;                   // EorType
    EorType sensedTerminator = EorType::Auto;                      // set by loading
    NumberType numberType = NumberType::None;                      // NumberType
    NumberAuto numberAuto = NumberAuto::None;                      // NumberAuto
    CapsMode caps = CapsMode::Off;                                 // CapsMode
    int32_t maxRecordLength = 0;        // MaxRecLen: 8..64000; the record length when fixed
    int32_t offset = 0;                 // Offset: first data column after a leading number field
    int32_t promptAfterKeystrokes = 0;  // PromptKeystrokeLimit: 0 = never
    int32_t boundsLeft = 0;             // Bounds: 1 <= left <= right <= 64000
    int32_t boundsRight = 0;
    int32_t tabsExpandOnRead = 0;        // TabsIn: tab width when reading, 0 = no expansion
    int32_t tabsInsertOnWrite = 0;       // TabsOut: tab width when writing, 0 = none
    TabStops tabKeyStopsAt{};            // Tabs
    int32_t numberStart = 0;             // NumberStart
    int32_t numberIncrement = 0;         // NumberIncrement
    int32_t numberColumnStart = 0;       // NumberColStart
    int32_t numberColumnEnd = 0;         // NumberColEnd
    bool autoIncreaseRecLen = false;     // BOOLautoincreasereclen
    bool autoIncreaseNotify = false;     // BOOLautoincreasenotify
    bool backup = false;                 // BOOLbackup
    bool lock = false;                   // BOOLlock: not rewritten by automatic updates
    bool endOfFileCharRead = false;      // BOOLeofread
    bool endOfFileCharWrite = false;     // BOOLeofwrite
    bool truncateLongLines = false;      // BOOLtruncate
    bool stripTrailingBlanks = false;    // BOOLstripblanks
    bool padShortRecsWithBlank = false;  // BOOLpadblanks
    std::string name;                    // the file type
    std::string colorType;               // Color
    std::string languageTemplate;        // Template
    std::string imacro;                  // Imacro: entry macro
    std::string xmacro;                  // Xmacro: exit macro
    std::string maskLine;                // MaskLine
    std::string backupAlternatePath;     // BackupPath: directory for backups
    // From the profile file: lines the reader kept without knowing them (comments, unknown
    // keywords), written back behind the known keywords; and whether some line was refused, so an
    // automatic update does not write back a profile that was not read whole.
    std::vector<std::string> keptLines;
    bool readIncomplete = false;
};

// The profile used when neither the type's profile file nor the DEFAULT one exists: variable
// records of up to 255 bytes, ISO-8859 on disk and screen, terminator sensed, tabs expanded to 2
// on read, backups on, Tab key stops every second column to 20, no numbering. The name is
// upper-cased and cut to 63 characters.
FileProfile BuiltInFileProfile(std::string_view name = {});

// The record is a file profile (its tag is intact).
bool IsFileProfile(const FileProfile& profile);

// Number of Tab key stops before the ending 0.
int TabStopCount(const TabStops& stops);

// The names of the sets as profiles, messages and macros spell them: "ASCII-ISO8859",
// "ASCII-IBMPC", "EBCDIC".
std::string_view ProfileCharsetName(ProfileCharset charset);

}  // namespace tavoe
