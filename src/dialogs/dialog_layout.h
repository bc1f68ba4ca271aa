#pragma once

#include <optional>

#include "dialogs/dialog_def.h"

namespace tavoe {

// Grid layout of a parsed dialog. Positions are kept in dialog units, where a character is 4 units
// wide and 8 high and a grid row is 16 units (12 for the control and a gap of 4), and in character
// cells for the terminal, where one grid cell is one character cell.
//
// Cells, relative to the client area inside the dialog's frame: an object at ROW r, COL c, WIDTH w
// lies at row r-1, column c (one blank column on the left, as the 3-unit inset of the unit layout),
// w columns wide; LIST and BUTTON take DEPTH rows, every other control one row (a COMBO drops
// DEPTH lines down). The client area is one column wider than the rightmost control, and as high
// as the lowest one reaches; a SEPARATOR spans the whole client width from column 0.

struct AppSession;

inline constexpr int kDialogCellMarginLeft = 1;
inline constexpr int kDialogCellMarginRight = 1;
// The frame around the client area, in cells on each side.
inline constexpr int kDialogCellFrame = 1;

enum class BorderMode : uint8_t { Normal, Alternate };

// The session window in pixels and the platform's metrics, for the legacy full-window size in units.
struct LegacyPixelMetrics {
    int windowWidth = 0;  // outer size of the session frame window
    int windowHeight = 0;
    int frameWidth = 0;  // system metrics of the frame and the caption
    int frameHeight = 0;
    int captionHeight = 0;
    int cellWidth = 0;  // the session's character cell
    int cellHeight = 0;
    BorderMode border = BorderMode::Normal;
};

// The session window a dialog is shown in: its size in character cells, and when the platform has
// pixels, the metrics for the unit sizes.
struct DialogScreen {
    int rows = 24;
    int cols = 80;
    std::optional<LegacyPixelMetrics> pixels;
};

// Natural: the dialog is as large as its controls need. SessionWindow: the legacy interface style,
// where a dialog is at least as large as the session window.
enum class WindowFill : uint8_t { Natural, SessionWindow };

// A pixel distance in dialog units, rounded: (4p + cw/2) / cw across, (8p + ch/2) / ch down.
int PixelsToUnitsX(int pixels, int cellWidth);
int PixelsToUnitsY(int pixels, int cellHeight);

struct UnitSize {
    int width = 0;
    int height = 0;
};

// The smallest dialog size in units that fills the session window in the legacy style.
UnitSize LegacyMinimumUnits(const LegacyPixelMetrics& metrics);

// Computes every object's position (units and cells), the control ids, the dialog size in units and
// the client size in cells. With SessionWindow the dialog grows to the session window: in cells to
// the screen less the frame, in units to LegacyMinimumUnits when the screen has pixel metrics.
void LayoutDialog(DialogDefinition& def, WindowFill fill, const DialogScreen& screen);

// Builds the dialog's template: the font from ZFONT.DIALOG (ZFONT.EDIT for XKEYBRD), the
// multi-column switch of every LIST (a MULTICOL variable is read now), and the layout, filling the
// session window when ZMENUSTYLE is "Legacy Tavo".
void BuildDialogTemplate(AppSession& app, DialogDefinition& def, const DialogScreen& screen);

}  // namespace tavoe
