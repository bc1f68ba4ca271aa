#include "editing/editing_commands.h"

#include "editing/clipboard_commands.h"
#include "editing/cursor_commands.h"
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
    Row("COLSCOPY"),
    Row("COLSCUT"),
    Row("COLSDELETE"),
    Row("COLSINSERT"),
    Row("COLSPASTE"),
    Row("COPY", CopyCommand),
    Row("COPYL"),
    Row("CREATE"),
    Row("CURSOR", CursorCommand),
    Row("CURSORMOVE", CursorMoveCommand),
    Row("CUT", CutCommand),
    Row("DATA", DataCommand),
    Row("DATALINE", DataLineCommand),
    Row("DELEOL", DeleteToEndOfLineCommand),
    Row("DELETE", DeleteCommand),
    Row("ENTER", EnterCommand),
    Row("EXPORT"),
    Row("HEXIN", HexInCommand),
    Row("IMPORT"),
    Row("NOTELINE", NoteLineCommand),
    Row("PASTE", PasteCommand),
    Row("REPLACE"),
    Row("SELECT", SelectCommand),
    Row("UNDO", UndoEditCommand),
};

}  // namespace

CommandRows EditingCommands() {
    return kEditingCommands;
}

}  // namespace tavoe
