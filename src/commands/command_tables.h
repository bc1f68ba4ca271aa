#pragma once

#include <array>
#include <span>
#include <string_view>
#include <vector>

// The three primary command tables: the edit table (edit and browse sessions), the general table
// (every context) and the file list table. Each row is a verb, the id that selects its handler, and
// whether the quick-reference dialog of the table lists it. Lookups walk the rows in table order.

struct CommandRow {
    std::string_view name;  // upper case
    int id = 0;
    bool listed = false;  // shown in the quick-reference dialog of its table
};

// Ids of the edit table: the row position (0..59).
enum class EditCmd : int {
    Bottom = 0,
    Bounds,
    Cancel,
    Caps,
    Change,
    Colormap,
    ColsCopy,
    ColsCut,
    ColsDelete,
    ColsInsert,
    ColsPaste,
    Copy,
    CopyL,
    Create,
    Cursor,
    CursorMove,
    Cut,
    Data,
    DataLine,
    DelEol,
    Delete,
    Down,
    Enter,
    Exclude,
    Export,
    Find,
    Flip,
    Hex,
    HexIn,
    Import,
    Left,
    Locate,
    Match,
    MergeMsg,
    NoteLine,
    Number,
    Paste,
    Print,
    Profile,
    RChange,
    Recolor,
    Renumber,
    Replace,
    Reset,
    RFind,
    Right,
    Ruler,
    Save,
    SaveAs,
    Select,
    ShowEol,
    Sort,
    TagFind,
    Template,
    Tabs,
    Top,
    Undo,
    Unnumber,
    Up,
    XKeyboard,
};
inline constexpr int kEditCmdCount = 60;

// Ids of the general table (1..53; USERCMD and the window commands out of row order).
enum class GeneralCmd : int {
    About = 1,
    AliasCmd = 2,
    AliasPrf = 3,
    Backup = 4,
    Browse = 5,
    CloseAll = 6,
    Colors = 7,
    Compare = 8,
    CompareDir = 9,
    Convert = 10,
    Defaults = 11,
    Dialog = 12,
    DialogTest = 13,
    DriveList = 14,
    Edit = 15,
    End = 16,
    Exit = 17,
    FileList = 18,
    FileScan = 19,
    Filters = 20,
    FlistOptions = 21,
    Function = 22,
    GenOptions = 23,
    Help = 24,
    IStyle = 25,
    Keys = 26,
    Menu = 27,
    MultiList = 28,
    New = 29,
    Open = 30,
    Paths = 31,
    PcmdEdit = 32,
    PcmdFileList = 33,
    PfShow = 34,
    PrintSetup = 35,
    PrintStyle = 36,
    Profiles = 37,
    ProjectList = 38,
    REdit = 39,
    Retrieve = 40,
    Return = 41,
    SplitF = 42,
    SplitH = 43,
    SplitV = 44,
    Swap = 45,
    SwapBack = 46,
    System = 47,
    WinOverlay = 48,
    WinStepH = 49,
    WinTileH = 50,
    WinStepV = 51,
    WinTileV = 52,
    UserCmd = 53,
};
inline constexpr int kGeneralCmdMaxId = 53;

// Ids of the file list table (1..25; MAKEDIR and MAXRECLEN swapped against row order).
enum class FileListCmd : int {
    AllLower = 1,
    AllUpper = 2,
    Bottom = 3,
    Change = 4,
    Confirm = 5,
    Down = 6,
    Find = 7,
    IMacro = 8,
    Left = 9,
    ListToFile = 10,
    Locate = 11,
    MaxRecLen = 12,
    MakeDir = 13,
    Parent = 14,
    PrintList = 15,
    Profile = 16,
    Refresh = 17,
    Reset = 18,
    Right = 19,
    Search = 20,
    Select = 21,
    Sort = 22,
    Top = 23,
    Up = 24,
    XMacro = 25,
};
inline constexpr int kFileListCmdMaxId = 25;

extern const std::array<CommandRow, 60> EditPrimaryCommands;
extern const std::array<CommandRow, 53> GeneralPrimaryCommands;
extern const std::array<CommandRow, 25> FileListPrimaryCommands;

// The names a quick-reference dialog lists: the rows whose listed flag is set, in table order.
std::vector<std::string_view> ListedCommandNames(std::span<const CommandRow> table);

// The dialogs DIALOG opens by name, each with its own preparation; other names are ignored.
extern const std::array<std::string_view, 76> BuiltInDialogNames;
bool IsBuiltInDialog(std::string_view upperName);
