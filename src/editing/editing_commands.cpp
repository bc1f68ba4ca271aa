#include "editing/editing_commands.h"

#include "editing/clipboard_commands.h"
#include "editing/column_commands.h"
#include "editing/cursor_commands.h"
#include "editing/export_command.h"
#include "editing/import_command.h"
#include "editing/line_class_commands.h"
#include "editing/locate_command.h"
#include "editing/select_command.h"
#include "editing/typing_commands.h"
#include "editing/undo_command.h"

namespace tavoe {

namespace {

constexpr CommandDesc Row(std::string_view verb, EditCommandFn handler = nullptr) {
    return {.table = CommandTable::Edit, .verb = verb, .owner = CommandOwner::Editing, .edit = handler};
}

constexpr CommandDesc kEditingCommands[] = {
    Row("COLSCOPY", ColsCopyCommand),
    Row("COLSCUT", ColsCutCommand),
    Row("COLSDELETE", ColsDeleteCommand),
    Row("COLSINSERT", ColsInsertCommand),
    Row("COLSPASTE", ColsPasteCommand),
    Row("COPY", CopyCommand),
    Row("COPYL", CopyLinesCommand),
    Row("CREATE", CreateEditCommand),
    Row("CURSOR", CursorCommand),
    Row("CURSORMOVE", CursorMoveCommand),
    Row("CUT", CutCommand),
    Row("DATA", DataCommand),
    Row("DATALINE", DataLineCommand),
    Row("DELEOL", DeleteToEndOfLineCommand),
    Row("DELETE", DeleteCommand),
    Row("ENTER", EnterCommand),
    Row("EXPORT", ExportEditCommand),
    Row("HEXIN", HexInCommand),
    Row("IMPORT", ImportEditCommand),
    Row("NOTELINE", NoteLineCommand),
    Row("PASTE", PasteCommand),
    Row("REPLACE", ReplaceEditCommand),
    Row("SELECT", SelectCommand),
    Row("UNDO", UndoEditCommand),
};

}  // namespace

CommandRows EditingCommands() {
    return kEditingCommands;
}

}  // namespace tavoe
