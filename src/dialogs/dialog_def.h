#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// The in-memory model of one dialog definition file (name.dlg): the dialog's header and its objects
// in file order, the grid layout in dialog units, the same layout in character cells for the
// terminal, and the run-time state the dialog runtime keeps while the dialog is shown.

struct AppSession;

// Control kinds, with the numbers the definition language uses internally; None while no TYPE was read.
enum class DialogObjectType : int32_t {
    None = 0,
    Static = 1,
    Output = 2,
    Input = 3,
    List = 4,
    Combo = 5,
    Button = 6,
    Checkbox = 7,
    Separator = 8,
};

enum class DialogHAlign : int32_t { Left = 1, Center = 2, Right = 3 };
enum class DialogTextSide : int32_t { Left = 1, Right = 2 };

// The first object's control id; the following objects take the next ids in file order.
inline constexpr int kDialogFirstControlId = 32;
// Visible lines of a LIST, and drop-down lines of a COMBO, whose DEPTH is 0 or 1.
inline constexpr int kDialogDefaultListDepth = 8;
// ROW, COL, WIDTH and DEPTH must lie in 1..kDialogGridMax; larger values are reported as invalid.
inline constexpr int kDialogGridMax = 999;
inline constexpr size_t kDialogTitleMax = 95;

// A rectangle of character cells, relative to the dialog's client area (inside its frame), 0-based.
struct CellRect {
    int row = 0;
    int col = 0;
    int rows = 0;
    int cols = 0;
    bool operator==(const CellRect&) const = default;
};

// One OBJ block.
struct DialogObject {
    DialogObjectType type = DialogObjectType::None;
    DialogHAlign hAlign = DialogHAlign::Left;
    DialogTextSide textSide = DialogTextSide::Right;
    int32_t controlId = 0;

    // ROW, COL, WIDTH and DEPTH in grid cells as the file gives them (after the closing defaults);
    // 0 = not given.
    int32_t row = 0;
    int32_t column = 0;
    int32_t width = 0;
    int32_t depth = 0;
    bool widthFromText = false;  // no WIDTH given: the width is the TEXT's length

    // Position and size in dialog units (a character is 4 units wide, a grid row 16 units high).
    // A COMBO's cy is the height it is created with, including its drop-down list (12 x DEPTH);
    // the dialog size counts it as 12.
    int32_t x = 0;
    int32_t y = 0;
    int32_t cx = 0;
    int32_t cy = 0;

    // Where the control lies on the terminal: one grid cell is one character cell. A COMBO takes
    // one row; dropRows is the number of lines its drop-down list shows.
    CellRect cell;
    int32_t dropRows = 0;

    // Palette indexes 0..15 of a valid COLOR; meaningful only when colored is set.
    int32_t foreground = 0;
    int32_t background = 0;

    bool modifiable = false;
    bool multiselect = false;
    bool password = false;
    bool vscroll = false;
    bool hscroll = false;
    bool upcase = false;
    bool lowcase = false;
    bool number = false;
    bool commit = false;
    bool focus = false;
    bool sort = false;
    bool colored = false;
    bool isDefault = false;  // DEFAULT=YES
    bool cancel = false;

    std::optional<std::string> text;          // TEXT, case kept
    std::optional<std::string> variable;      // VAR, resolved to the full upper-case variable name
    std::optional<std::string> multicolumn;   // MULTICOL: "TRUE", "FALSE" or a variable name
    std::optional<std::string> columnWidths;  // COLWIDTH, case kept; the layout does not use it
    std::optional<std::string> popup;         // POPUP, resolved to the full upper-case variable name

    // Whether a LIST is multi-column, decided when the dialog is built (a MULTICOL variable is read
    // then).
    bool multicolumnOn = false;
};

// The built form of a definition: what the runtime needs beyond the objects to create the dialog.
struct DialogTemplate {
    bool built = false;
    // The client area in character cells (inside the frame); in legacy style at least the session
    // window less its frame.
    int clientRows = 0;
    int clientCols = 0;
    // The dialog font: ZFONT.DIALOG (ZFONT.EDIT for XKEYBRD) or Courier 10. namesFont is false when
    // the face is empty or the size is below 6, so the default dialog font applies.
    std::string fontFace;
    int fontPoints = 0;
    bool namesFont = false;
};

// Whatever the dialog runtime keeps while the dialog is shown (its window and controls). Owned by
// the definition so that freeing the definition also destroys them.
struct DialogWindow {
    virtual ~DialogWindow() = default;
};

struct DialogDefinition {
    std::vector<DialogObject> objects;  // the OBJ blocks in file order
    std::string name;                   // the requested name, upper-cased (file name without .dlg)
    std::string title;                  // TITLE as written, at most 95 characters; "" when absent

    // Dialog size in dialog units, computed by the layout.
    int32_t width = 0;
    int32_t height = 0;

    DialogTemplate tmpl;

    // Run time (dialog runtime): the object that has or last had the focus (index into objects, -1
    // for none), the window while shown, and how the last showing ended.
    int focusObject = -1;
    std::unique_ptr<DialogWindow> window;
    bool closedFlag = false;
    bool helpFlag = false;
    bool returnFlag = false;
};

// The keyword of a type as the file spells it ("STATIC" .. "SEPARATOR"); "" for None.
std::string_view DialogTypeName(DialogObjectType type);

// The caption of the dialog when it opens: a title "&" followed by Z or z shows the value of the
// variable named by the rest of the title, unless that value is empty; any other title as written.
std::string ResolveDialogTitle(AppSession& app, const DialogDefinition& def);

// The caption of a BUTTON when the dialog opens: TEXT "&Z..." (either case of Z) shows the value of
// that global variable; "&" followed by any other character shows the dialog variable DLG.rest;
// any other TEXT is shown unchanged. "" when the object has no TEXT.
std::string ResolveButtonCaption(AppSession& app, const DialogDefinition& def, const DialogObject& obj);

}  // namespace tavoe
