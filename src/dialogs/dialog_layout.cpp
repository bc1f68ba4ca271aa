#include "dialogs/dialog_layout.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/app_session.h"
#include "core/var_store.h"

namespace tavoe {

namespace {

constexpr int kRowUnits = 16;       // a grid row: 12 units of control and a gap of 4
constexpr int kControlUnits = 12;   // height of one row of a control
constexpr int kCharUnits = 4;       // width of one character
constexpr int kInsetUnits = 3;      // the left inset of column 1
constexpr int kRightUnits = 7;      // added after the rightmost control
constexpr int kBottomUnits = 8;     // added after the lowest control
constexpr int kTextNudgeUnits = 2;  // STATIC and OUTPUT text sits this much lower than a field

constexpr int kMinFontPoints = 6;

bool IsText(DialogObjectType type) {
    return type == DialogObjectType::Static || type == DialogObjectType::Output;
}

void LayoutUnits(DialogDefinition& def, WindowFill fill, const DialogScreen& screen) {
    int right = 0;
    int bottom = 0;
    for (DialogObject& obj : def.objects) {
        obj.x = kCharUnits * (obj.column - 1) + kInsetUnits;
        obj.y = kRowUnits * obj.row - kControlUnits;
        obj.cx = kCharUnits * obj.width;
        int layoutCy = kControlUnits * obj.depth;
        obj.cy = layoutCy;
        if (obj.type == DialogObjectType::List) {
            obj.cy = kRowUnits * obj.depth - 4;
            layoutCy = obj.cy;
        } else if (obj.type == DialogObjectType::Combo) {
            // The drop-down list hangs below the field and does not enlarge the dialog.
            layoutCy = kControlUnits;
        }
        if (obj.type != DialogObjectType::Separator) {
            right = std::max(right, obj.x + obj.cx - 1);
        }
        bottom = std::max(bottom, obj.y + layoutCy - 1);
    }
    def.width = right + kRightUnits;
    def.height = bottom + kBottomUnits;
    if (fill == WindowFill::SessionWindow && screen.pixels) {
        UnitSize least = LegacyMinimumUnits(*screen.pixels);
        def.width = std::max(def.width, least.width);
        def.height = std::max(def.height, least.height);
    }
    for (DialogObject& obj : def.objects) {
        if (obj.type == DialogObjectType::Separator) {
            obj.x = 0;
            obj.cx = def.width;
        }
        if (IsText(obj.type)) {
            obj.y += kTextNudgeUnits;
        }
    }
}

// The cells a button or check box sized by its text needs on a terminal: the caption (an "&" inside
// it, before the access key, is not shown) plus the brackets of a button, or the "[ ] " before a check box's
// label. Every other object keeps its width.
int CellWidth(const DialogObject& obj) {
    if (!obj.widthFromText || !obj.text ||
        (obj.type != DialogObjectType::Button && obj.type != DialogObjectType::Checkbox)) {
        return obj.width;
    }
    int shown = static_cast<int>(obj.text->size());
    if (obj.text->find('&', 1) != std::string::npos) {
        --shown;  // a leading "&" names a variable; a later one marks the access key
    }
    return std::max(obj.width, shown + (obj.type == DialogObjectType::Button ? 2 : 4));
}

void LayoutCells(DialogDefinition& def, WindowFill fill, const DialogScreen& screen) {
    int cols = 0;
    int rows = 0;
    for (DialogObject& obj : def.objects) {
        int height = 1;
        obj.dropRows = 0;
        if (obj.type == DialogObjectType::List || obj.type == DialogObjectType::Button) {
            height = obj.depth;
        } else if (obj.type == DialogObjectType::Combo) {
            obj.dropRows = obj.depth;
        }
        obj.cell = CellRect{obj.row - 1, obj.column - 1 + kDialogCellMarginLeft, height, CellWidth(obj)};
        if (obj.type != DialogObjectType::Separator) {
            cols = std::max(cols, obj.cell.col + obj.cell.cols + kDialogCellMarginRight);
        }
        rows = std::max(rows, obj.cell.row + obj.cell.rows);
    }
    if (cols == 0) {
        cols = kDialogCellMarginLeft + kDialogCellMarginRight;
    }
    if (fill == WindowFill::SessionWindow) {
        cols = std::max(cols, screen.cols - 2 * kDialogCellFrame);
        rows = std::max(rows, screen.rows - 2 * kDialogCellFrame);
    }
    for (DialogObject& obj : def.objects) {
        if (obj.type == DialogObjectType::Separator) {
            obj.cell.col = 0;
            obj.cell.cols = cols;
        }
    }
    def.tmpl.clientRows = rows;
    def.tmpl.clientCols = cols;
}

// The face and point size of the dialog font; the weight and style fields are not used.
void ReadFont(AppSession& app, DialogDefinition& def) {
    std::string value = VarGetValue(app, def.name == "XKEYBRD" ? "ZFONT.EDIT" : "ZFONT.DIALOG");
    if (value.empty()) {
        def.tmpl.fontFace = "Courier";
        def.tmpl.fontPoints = 10;
    } else {
        size_t comma = value.find(',');
        def.tmpl.fontFace = value.substr(0, comma);
        def.tmpl.fontPoints = comma == std::string::npos ? 0 : std::atoi(value.c_str() + comma + 1);
    }
    def.tmpl.namesFont = !def.tmpl.fontFace.empty() && def.tmpl.fontPoints >= kMinFontPoints;
}

}  // namespace

int PixelsToUnitsX(int pixels, int cellWidth) {
    return cellWidth <= 0 ? 0 : (4 * pixels + cellWidth / 2) / cellWidth;
}

int PixelsToUnitsY(int pixels, int cellHeight) {
    return cellHeight <= 0 ? 0 : (8 * pixels + cellHeight / 2) / cellHeight;
}

UnitSize LegacyMinimumUnits(const LegacyPixelMetrics& m) {
    int width = m.windowWidth - 4 * m.frameWidth + 1;
    int height = m.windowHeight - 2 * m.captionHeight - 4 * m.frameHeight;
    if (m.border == BorderMode::Alternate) {
        width += 2;
        height -= 1;
    } else {
        height += 2;
    }
    return UnitSize{PixelsToUnitsX(width, m.cellWidth), PixelsToUnitsY(height, m.cellHeight)};
}

void LayoutDialog(DialogDefinition& def, WindowFill fill, const DialogScreen& screen) {
    for (size_t i = 0; i < def.objects.size(); ++i) {
        def.objects[i].controlId = kDialogFirstControlId + static_cast<int>(i);
    }
    LayoutUnits(def, fill, screen);
    LayoutCells(def, fill, screen);
}

void BuildDialogTemplate(AppSession& app, DialogDefinition& def, const DialogScreen& screen) {
    ReadFont(app, def);
    for (DialogObject& obj : def.objects) {
        obj.multicolumnOn = false;
        if (obj.type == DialogObjectType::List && obj.multicolumn) {
            const std::string& multi = *obj.multicolumn;
            if (multi == "TRUE" || multi == "FALSE") {
                obj.multicolumnOn = multi == "TRUE";
            } else if (!multi.empty()) {
                obj.multicolumnOn = VarGetValue(app, multi) == "TRUE";
            }
        }
    }
    WindowFill fill =
        VarGetValue(app, "ZMENUSTYLE") == "Legacy Tavo" ? WindowFill::SessionWindow : WindowFill::Natural;
    LayoutDialog(def, fill, screen);
    def.tmpl.built = true;
}

}  // namespace tavoe
