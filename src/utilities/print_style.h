#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tavoe {

// Print styles: the page layout of a print (margins, header, footer, folding, form feeds, colours,
// line numbers), kept as a small keyword=value control file "<NAME>.pstl" along ZPATH.PRINTSTYLES.
// The active style is named by ZPRNSTYLE; the style DEFAULT always exists.

struct AppSession;
struct PropertySheet;

inline constexpr std::string_view kPrintStyleExtension = ".pstl";
inline constexpr std::string_view kPrintStylePathVariable = "ZPATH.PRINTSTYLES";
inline constexpr std::string_view kDefaultPrintStyle = "DEFAULT";
inline constexpr size_t kPrintStyleNameMax = 10;

enum class PrintAlign { Left, Center, Right, Spread };

struct PrintStyle {
    std::string name = "?";  // 1..10 letters, digits and "-", upper case
    std::string description = "?";
    int marginTop = 1;  // lines
    int marginBottom = 1;
    int marginLeft = 1;  // character cells
    int marginRight = 1;
    int hdwMarginTop = 1;  // the printer's unprintable border, taken off the page and the margins
    int hdwMarginBottom = 1;
    int hdwMarginLeft = 1;
    int hdwMarginRight = 1;
    bool headerShow = true;
    bool headerRuler = false;
    std::string headerText = "&f||&d &t";
    PrintAlign headerAlign = PrintAlign::Spread;
    int headerSpace = 1;  // blank lines after the header
    bool footerShow = true;
    bool footerRuler = false;
    std::string footerText = "Page &p";
    PrintAlign footerAlign = PrintAlign::Center;
    int footerSpace = 1;  // blank lines before the footer
    int foldAtColumn = 0;
    bool foldLongLines = false;
    bool colOneFormFeed = true;
    bool colorPrint = false;
    bool lineNumbersLeft = false;
};

// One property of a style: its name in the property sheet, its keyword in the file (the file holds
// the keywords in this table's order) and its property-sheet type.
struct PrintStyleField {
    std::string_view property;
    std::string_view keyword;
    std::string_view type;  // "STRING", "BOOL", "NUMBER,0,8", "CHOICE,LEFT,CENTER,RIGHT,SPREAD"
};

inline constexpr int kPrintStyleFieldCount = 25;
std::span<const PrintStyleField> PrintStyleFields();

// The field's value as text ("TRUE"/"FALSE", decimal numbers, the alignment word).
std::string PrintStyleValue(const PrintStyle& style, int field);

// Sets the field from text. False (and the style unchanged) when the value does not fit the field's
// type: a number with anything but digits or outside its range, a boolean other than TRUE or
// FALSE, an alignment other than the four words (any case).
bool SetPrintStyleValue(PrintStyle& style, int field, std::string_view value);

// The defaults of the style DEFAULT: the new-style defaults with the name and a description.
PrintStyle DefaultPrintStyle();

// Reads "<name>.pstl" along ZPATH.PRINTSTYLES. Lines are matched to fields by their keyword (in any
// case); keywords the file does not name keep the new-style defaults. A file that cannot be read, an
// unknown keyword or a value that does not fit its field is reported in a message box and gives -1.
// The style DEFAULT that exists nowhere is written with its defaults first, so it is always there.
int ReadPrintStyle(AppSession& app, std::string_view name, PrintStyle& out);

// Writes "<NAME>.pstl" to the first directory of ZPATH.PRINTSTYLES, one line per field in table
// order. 0, or -1 after the control-file writer reported.
int WritePrintStyle(AppSession& app, const PrintStyle& style);

// The checks made before a style is saved, in this order: "Print style, name required.", "Print
// style, description required.", "Print style, no blanks or punctuation allowed in name.", "Print
// style, name too long.". The name is upper-cased in place. 0, or -1 after the message.
int ValidatePrintStyle(AppSession& app, PrintStyle& style);

// Property sheet "Print Style Options" with one row per field, and the reverse: the changed rows
// applied to the style (a value the sheet let through that does not fit is left as it was).
void AddPrintStyleProperties(AppSession& app, PropertySheet& sheet, const PrintStyle& style);
void ApplyPrintStyleProperties(const PropertySheet& sheet, PrintStyle& style);

// The alignment from the first letter of its word (L, C, R, S), Left for anything else.
PrintAlign PrintAlignFromText(std::string_view text);
std::string_view PrintAlignName(PrintAlign align);

}  // namespace tavoe
