#include "dialogs/menu_parser.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/definition_lines.h"
#include "platform/ascii_case.h"
#include "platform/format.h"
#include "platform/search_path.h"

namespace tavoe {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Cut(std::string_view text, size_t max) {
    return std::string(text.substr(0, max));
}

bool IsBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return IsBlank(c); });
}

// The title after "TITLE=": quoted to the closing quote, or unquoted to the first blank or comma.
std::string TitleValue(std::string_view rest) {
    if (!rest.empty() && rest.front() == '"') {
        rest.remove_prefix(1);
        return Cut(rest.substr(0, rest.find('"')), kMenuTitleMax);
    }
    size_t end = rest.find_first_of(" \t,");
    return Cut(rest.substr(0, end), kMenuTitleMax);
}

enum class FieldEnd : uint8_t { Comma, LineEnd };

// Reads one field at pos: blanks skipped, then a quoted text or the text up to the next comma (or
// the end of the line when the field is the last). An unquoted field loses its trailing blanks.
// Returns whether a comma follows the field; pos is left after that comma.
bool ReadField(std::string_view line, size_t& pos, FieldEnd end, std::string& value) {
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    if (pos < line.size() && line[pos] == '"') {
        size_t close = line.find('"', pos + 1);
        if (close == std::string_view::npos) {
            value = std::string(line.substr(pos + 1));
            pos = line.size();
        } else {
            value = std::string(line.substr(pos + 1, close - pos - 1));
            pos = close + 1;
        }
        while (pos < line.size() && IsBlank(line[pos])) {
            ++pos;
        }
        if (end == FieldEnd::LineEnd) {
            return true;
        }
        if (pos < line.size() && line[pos] == ',') {
            ++pos;
            return true;
        }
        return false;
    }
    size_t stop = end == FieldEnd::LineEnd ? std::string_view::npos : line.find(',', pos);
    std::string_view raw =
        line.substr(pos, stop == std::string_view::npos ? std::string_view::npos : stop - pos);
    while (!raw.empty() && IsBlank(raw.back())) {
        raw.remove_suffix(1);
    }
    value = std::string(raw);
    if (stop == std::string_view::npos) {
        pos = line.size();
        return end == FieldEnd::LineEnd;
    }
    pos = stop + 1;
    return true;
}

void MenuError(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Exclamation);
}

}  // namespace

std::unique_ptr<MenuDefinition> ParseMenuText(AppSession& app, std::string_view name, std::string_view text) {
    std::string menuName = Cut(name, kMenuNameMax);
    std::vector<std::string_view> lines = SplitDefinitionLines(text);
    std::string_view first = lines.empty() ? std::string_view() : lines.front();
    if (first.size() < 6 || UpperAscii(first.substr(0, 6)) != "TITLE=") {
        MenuError(app, Format("Menu %s, first record must be 'Title=...title...'", menuName.c_str()));
        return nullptr;
    }
    auto def = std::make_unique<MenuDefinition>();
    def->name = menuName;
    def->title = TitleValue(first.substr(6));

    for (size_t index = 1; index < lines.size(); ++index) {
        std::string_view line = lines[index];
        if (IsBlankLine(line)) {
            continue;
        }
        int record = static_cast<int>(index);
        size_t pos = 0;
        std::string option;
        std::string verb;
        std::string annotation;
        std::string command;
        if (!ReadField(line, pos, FieldEnd::Comma, option)) {
            MenuError(app, Format("Menu %s, record %d, option must be followed by comma.", menuName.c_str(),
                                  record));
            return nullptr;
        }
        if (option.empty()) {
            MenuError(app, Format("Menu %s, record %d, option required.", menuName.c_str(), record));
            return nullptr;
        }
        if (!ReadField(line, pos, FieldEnd::Comma, verb)) {
            MenuError(
                app, Format("Menu %s, record %d, verb must be followed by comma.", menuName.c_str(), record));
            return nullptr;
        }
        if (verb.empty()) {
            MenuError(app, Format("Menu %s, record %d, verb required.", menuName.c_str(), record));
            return nullptr;
        }
        if (!ReadField(line, pos, FieldEnd::Comma, annotation)) {
            MenuError(app, Format("Menu %s, record %d, annotation must be followed by comma.",
                                  menuName.c_str(), record));
            return nullptr;
        }
        if (annotation.empty()) {
            MenuError(app, Format("Menu %s, record %d, annotation required.", menuName.c_str(), record));
            return nullptr;
        }
        ReadField(line, pos, FieldEnd::LineEnd, command);
        if (command.empty()) {
            MenuError(app, Format("Menu %s, record %d, primary command required.", menuName.c_str(), record));
            return nullptr;
        }
        // A menu shows at most 18 options; later records are read for their errors but not kept.
        if (static_cast<int>(def->items.size()) >= kMenuEntriesMax) {
            continue;
        }
        MenuItem item;
        item.option = UpperAscii(Cut(option, kMenuOptionMax));
        item.verb = Cut(verb, kMenuVerbMax);
        item.annotation = Cut(annotation, kMenuAnnotationMax);
        item.command = Cut(command, kMenuCommandMax);
        def->items.push_back(std::move(item));
    }
    return def;
}

std::unique_ptr<MenuDefinition> ReadMenu(AppSession& app, std::string_view name) {
    std::string fileName = std::string(name) + ".mnu";
    FilePtr file = OpenAlongPath(VarGetValue(app, "ZPATH.MENUS"), fileName, "rb");
    if (!file) {
        MenuError(app, Format("Unable to open menu definition file %s.MNU", std::string(name).c_str()));
        return nullptr;
    }
    std::string text;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        text.append(buffer, got);
    }
    return ParseMenuText(app, name, text);
}

void LayoutMenu(MenuDefinition& def, WindowFill fill, const DialogScreen& screen) {
    int verbWidth = 0;
    int annotationWidth = 0;
    for (const MenuItem& item : def.items) {
        verbWidth = std::max(verbWidth, static_cast<int>(item.verb.size()));
        annotationWidth = std::max(annotationWidth, static_cast<int>(item.annotation.size()));
    }
    int count = static_cast<int>(def.items.size());

    // Dialog units.
    int width = 20 + 4 * verbWidth + 4 * (annotationWidth + 2) + 10;
    int height = 15 * count + 26;
    if (fill == WindowFill::SessionWindow && screen.pixels) {
        UnitSize minimum = LegacyMinimumUnits(*screen.pixels);
        width = std::max(width, minimum.width);
        height = std::max(height, minimum.height);
    }
    def.width = width;
    def.height = height;
    def.label = UnitRect{3, 5, 24, 8};
    def.field = UnitRect{31, 3, width - 34, 12};
    def.separator = UnitRect{0, 15, width, 10};
    for (int i = 0; i < count; ++i) {
        MenuItem& item = def.items[i];
        int y = 25 + 15 * i;
        item.button = UnitRect{3, y, 20, 12};
        item.verbText = UnitRect{26, y + 2, 4 * verbWidth, 8};
        item.annotationText = UnitRect{26 + 4 * verbWidth, y + 2, 4 * (annotationWidth + 2), 8};
    }

    // Cells: the label and the field on the first row, the separator on the second, one row per
    // option below. The button column is 5 cells, then a blank, the verbs and the annotations.
    int annotationCol = 7 + verbWidth;
    int cols = std::max(annotationCol + annotationWidth + 2 + 1, 40);
    int rows = 2 + count;
    if (fill == WindowFill::SessionWindow) {
        cols = std::max(cols, screen.cols - 2 * kDialogCellFrame);
        rows = std::max(rows, screen.rows - 2 * kDialogCellFrame);
    }
    def.clientCols = cols;
    def.clientRows = rows;
    def.labelText = fill == WindowFill::SessionWindow ? "OPTION" : "Option";
    def.labelCell = CellRect{0, 1, 1, 6};
    def.fieldCell = CellRect{0, 8, 1, std::max(cols - 9, 1)};
    def.separatorCell = CellRect{1, 0, 1, cols};
    for (int i = 0; i < count; ++i) {
        MenuItem& item = def.items[i];
        item.buttonCell = CellRect{2 + i, 1, 1, 5};
        item.verbCell = CellRect{2 + i, 7, 1, verbWidth};
        item.annotationCell = CellRect{2 + i, annotationCol, 1, annotationWidth + 2};
    }
}

}  // namespace tavoe
