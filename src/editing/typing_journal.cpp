#include "editing/typing_journal.h"

#include "buffer/line_record.h"
#include "editing/undo_journal.h"

namespace tavoe {

void JournalFirstChange(AppSession& app, EditSession& session, LineRecord& line) {
    if (IsDataLine(line)) {
        JournalKeystroke(app, session, line);
    }
}

}  // namespace tavoe
