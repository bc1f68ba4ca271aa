#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// Templates: small text files of boilerplate, "<name>.tpl" in the sub-directory named by the file
// profile's template binding (such as "cob") of each directory of ZPATH.TEMPLATES. TEMPLATE inserts
// one below the cursor line, indented to the cursor's column; the first "%cursor%" in it marks where
// the cursor goes afterwards.

struct AppSession;
struct EditBuffer;
struct LineRecord;

inline constexpr std::string_view kTemplateCursorMarker = "%cursor%";
inline constexpr size_t kTemplateLineMax = 255;

// The names of the templates for the binding, without ".tpl" and in upper case, sorted by name; a name
// found in an earlier directory of the path hides the same name further on. Shows "No path set for
// templates, check menu OPTIONS, item PATHS." for an empty path and "No '*.TPL' files found in path
// '%s'" when there is none; -1 then.
int ListTemplates(AppSession& app, std::string_view binding, std::vector<std::string>& names);

// The file of the template: the binding's sub-directory (any case) of the first directory of the path
// that holds "<name>.tpl" (any case). Empty when none does.
std::string FindTemplateFile(AppSession& app, std::string_view binding, std::string_view name);

// Where the cursor goes after an insertion: the line and data column (from 1) of the marker, or no
// line when the template had none.
struct TemplateCursor {
    LineRecord* line = nullptr;
    int column = 0;
};

// Inserts the template's lines as data lines below `below`, each prefixed by cursorColumn - 1 blanks.
// Lines longer than the record length are cut ("Template line exceeds max record length,
// truncated.", once); fixed-length files, and 80-column files with a number type, get their lines
// blank-padded to the record length. Every line is colorized. "Unable to load template '%s'" when the
// file cannot be read. 0, or -1 after a message.
int InsertTemplate(AppSession& app, EditBuffer& buffer, LineRecord* below, int cursorColumn,
                   std::string_view name, TemplateCursor& cursor);

// The same with the template's lines given as text (the insertion step on its own).
int InsertTemplateLines(AppSession& app, EditBuffer& buffer, LineRecord* below, int cursorColumn,
                        const std::vector<std::string>& lines, TemplateCursor& cursor);

}  // namespace tavoe
