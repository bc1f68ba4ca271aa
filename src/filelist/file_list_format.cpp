#include "filelist/file_list_format.h"

#include <algorithm>

#include "platform/format.h"

namespace tavoe {

namespace {

constexpr int kSizeWidth = 13;
constexpr int kDateWidth = 20;
constexpr int kActionWidth = 8;

void Pad(std::string& text, size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
}

// Appends a cell of exactly `width` characters: the text cut or padded, aligned left or right,
// and the blank that separates it from the next cell.
void Cell(std::string& row, std::string_view text, int width, bool right = false) {
    std::string cell(text.substr(0, static_cast<size_t>(width)));
    if (right) {
        cell.insert(0, static_cast<size_t>(width) - cell.size(), ' ');
    } else {
        Pad(cell, static_cast<size_t>(width));
    }
    row += cell;
    row += ' ';
}

std::string ShownName(const FileEntry& entry, const RowLayout& layout) {
    std::string_view name = entry.name;
    if (layout.extSeparate && !entry.ext.empty()) {
        name.remove_suffix(entry.ext.size() + 1);
    }
    return DisplayName(name);
}

struct Heading {
    std::string_view text;
    SortField field;
    int start;
    int width;
};

std::vector<Heading> Headings(const RowLayout& layout) {
    std::vector<Heading> out;
    int col = 0;
    auto add = [&](std::string_view text, SortField field, int width) {
        out.push_back({text, field, col, width});
        col += width + 1;
    };
    add("Name", SortField::Name, layout.nameWidth);
    if (layout.extSeparate) {
        add("Ext", SortField::Ext, layout.extWidth);
    }
    if (layout.showSize) {
        add("Size", SortField::Size, kSizeWidth);
    }
    if (layout.showDate) {
        add("Date", SortField::Date, kDateWidth);
    }
    if (layout.showAttr) {
        add("Attr", SortField::Attr, kAttrWidth);
    }
    if (layout.showAction) {
        add("Action", SortField::Action, kActionWidth);
    }
    if (layout.showPath) {
        add("Path", SortField::Path, 255);
    }
    return out;
}

}  // namespace

std::string GroupThousands(uint64_t value) {
    std::string digits = std::to_string(value);
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) {
            out += ',';
        }
        out += digits[i];
    }
    return out;
}

std::string FormatEntryDate(const std::tm& t, std::string_view form) {
    int year = t.tm_year + 1900;
    int month = t.tm_mon + 1;
    if (form == "EUR") {
        return Format("%2d.%02d.%04d  %2d.%02d.%02d", t.tm_mday, month, year, t.tm_hour, t.tm_min, t.tm_sec);
    }
    if (form == "ISO") {
        return Format("%04d-%02d-%02d  %02d.%02d.%02d", year, month, t.tm_mday, t.tm_hour, t.tm_min,
                      t.tm_sec);
    }
    if (form == "JIS") {
        return Format("%04d-%02d-%02d  %02d:%02d:%02d", year, month, t.tm_mday, t.tm_hour, t.tm_min,
                      t.tm_sec);
    }
    // A 12-hour clock: noon and later are PM, and the hour after midnight reads 12, not 0.
    int hour = t.tm_hour > 12 ? t.tm_hour - 12 : t.tm_hour;
    if (hour == 0) {
        hour = 12;
    }
    return Format("%2d/%02d/%04d  %2d:%02d%s", month, t.tm_mday, year, hour, t.tm_min,
                  t.tm_hour >= 12 ? "PM" : "AM");
}

std::string FormatEntryDate(std::time_t when, std::string_view form) {
    std::tm local{};
    localtime_r(&when, &local);
    return FormatEntryDate(local, form);
}

std::string FormatAttrs(const FileEntry& entry) {
    std::string out = "----";
    if (entry.attrs & kAttrLink) {
        out[0] = 'l';
    } else if (entry.isDirectory) {
        out[0] = 'd';
    }
    if (entry.attrs & kAttrReadOnly) {
        out[1] = 'R';
    }
    if (entry.attrs & kAttrHidden) {
        out[2] = 'H';
    }
    if (entry.attrs & kAttrExec) {
        out[3] = 'x';
    }
    return out;
}

std::string ActionText(const FileEntry& entry) {
    switch (entry.action) {
        case EntryAction::None:
            return {};
        case EntryAction::Browsed:
            return "Browsed";
        case EntryAction::Changed:
            return entry.count == 0 ? std::string() : Format("%dChg", entry.count);
        case EntryAction::Copied:
            return "Copied";
        case EntryAction::Created:
            return "Created";
        case EntryAction::Deleted:
            return "Deleted";
        case EntryAction::Edited:
            return "Edited";
        case EntryAction::Found:
            if (entry.count == 0) {
                return {};
            }
            return entry.count == 1 ? std::string("FindHit") : Format("%dFnd", entry.count);
        case EntryAction::Info:
            return "Info";
        case EntryAction::Moved:
            return "Moved";
        case EntryAction::Printed:
            return "Printed";
        case EntryAction::Renamed:
            return "Renamed";
        case EntryAction::SearchHit:
            return "SrchHit";
        case EntryAction::UserCmd:
            return "UserCmd";
    }
    return {};
}

std::string SizeText(const FileEntry& entry) {
    return entry.isDirectory ? std::string("<DIR>") : GroupThousands(entry.size);
}

std::string DisplayName(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            c = '?';
        }
    }
    return out;
}

std::string_view SortFieldName(SortField field) {
    switch (field) {
        case SortField::Name:
            return "NAME";
        case SortField::Ext:
            return "EXT";
        case SortField::Size:
            return "SIZE";
        case SortField::Date:
            return "DATE";
        case SortField::Attr:
            return "ATTR";
        case SortField::Action:
            return "ACTION";
        case SortField::Path:
            return "PATH";
    }
    return "NAME";
}

std::string HeaderLine(const FileList& list) {
    std::string out;
    auto part = [&out](const std::string& text) {
        if (!out.empty()) {
            out += ",  ";
        }
        out += text;
    };
    if (list.dirCount != 0) {
        part(GroupThousands(list.dirCount) + " dirs");
    }
    if (list.fileCount != 0) {
        part(GroupThousands(list.fileCount) + " files");
    }
    if (list.byteCount != 0) {
        part(GroupThousands(list.byteCount) + " bytes");
    }
    if (list.locked) {
        part("locked");
    }
    if (list.sorted) {
        part("sorted by " + std::string(SortFieldName(list.sortField)) +
             (list.sortOrder == SortOrder::Ascending ? " ASCENDING" : " DESCENDING"));
    }
    return out;
}

std::string RowText(const FileEntry& entry, const RowLayout& layout) {
    std::string row;
    row.reserve(128);
    Cell(row, ShownName(entry, layout), layout.nameWidth);
    if (layout.extSeparate) {
        Cell(row, DisplayName(entry.ext), layout.extWidth);
    }
    if (layout.showSize) {
        Cell(row, SizeText(entry), kSizeWidth, true);
    }
    if (layout.showDate) {
        Cell(row, FormatEntryDate(entry.modified, layout.dateForm), kDateWidth);
    }
    if (layout.showAttr) {
        Cell(row, FormatAttrs(entry), kAttrWidth);
    }
    if (layout.showAction) {
        Cell(row, ActionText(entry), kActionWidth);
    }
    if (layout.showPath) {
        row += DisplayName(entry.path);
    }
    while (!row.empty() && row.back() == ' ') {
        row.pop_back();
    }
    return row;
}

std::string ColumnHeadings(const RowLayout& layout) {
    std::string row;
    for (const Heading& heading : Headings(layout)) {
        Pad(row, static_cast<size_t>(heading.start));
        row += heading.text;
    }
    return row;
}

bool HeadingAt(const RowLayout& layout, int column, SortField& field) {
    for (const Heading& heading : Headings(layout)) {
        if (column >= heading.start && column < heading.start + heading.width) {
            field = heading.field;
            return true;
        }
    }
    return false;
}

std::string ExportText(FileList& list, const RowLayout& layout) {
    std::string shown;
    for (const std::string& path : list.paths) {
        if (!path.empty()) {
            shown += shown.empty() ? path : "  " + path;
        }
    }
    if (!list.title.empty()) {
        shown = list.title;
    }
    std::string out = Format("// File List for: %s\n", shown.c_str());
    out += Format("// %s directories, %s files, %s bytes\n", GroupThousands(list.dirCount).c_str(),
                  GroupThousands(list.fileCount).c_str(), GroupThousands(list.byteCount).c_str());
    RowLayout exported = layout;
    exported.showAction = false;
    for (const FileEntry* entry : VisibleRows(list)) {
        out += RowText(*entry, exported);
        out += '\n';
    }
    return out;
}

}  // namespace tavoe
