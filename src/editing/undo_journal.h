#pragma once

#include <cstdint>
#include <memory>

#include "buffer/edit_buffer.h"
#include "buffer/line_record.h"
#include "buffer/record_pool.h"
#include "buffer/slist.h"
#include "core/status.h"

namespace tavoe {

// The undo journal of an edit session: what every editing operation changed, newest first, so UNDO
// can take the changes back one operation (group) at a time.
//
// UNDO on or off is a setting of the whole instance (app.profileSettings.undoEnabled, mirrored in
// ZUNDO). While it is on, each edit session has a journal whose entries come from its own record
// pool "TASK_UNDO"; while it is off no session has one and the recording operations do nothing.
//
// How editing code uses it:
//   - Text: call JournalTextChange (or JournalKeystroke for typing) before changing a line's text.
//     Only the first change to a line within one group is journaled; the line carries `textModified`
//     until the group ends.
//   - Lines: LineInsertBefore/LineInsertAfter and LineDelete (buffer/edit_buffer.h) report to the
//     journal themselves. A move takes a line out with LineRemove, reports it with JournalMoveOut and
//     links the same record in again before the operation ends.
//   - Groups: wrap each operation (a line command action, CHANGE, paste, deleting a selection, a data
//     shift, join, split, text flow, MD) in an UndoGroup, or call UndoBeginGroup/UndoEndGroup, so one
//     UNDO takes the whole operation back. Keystrokes on one line form one group by themselves.

struct AppSession;
struct EditSession;

// What an entry records. Lines deleted or inserted one after the other by one operation share an
// entry, so a range of half a million lines costs one entry and no allocation per line.
enum class UndoKind : std::uint8_t {
    TextChanged = 1,  // `saved` is a copy of the line as it was (text, kind, padding)
    // `line` is the first of the deleted lines, which the journal keeps chained through their links
    // in their old order; `saved` is the line they stood before (null: the end of the data).
    LineDeleted = 2,
    // `line` to `saved` (the last) were linked in, or NOTE or COLS lines were made data by MD; an
    // entry whose `saved` is null names `line` alone.
    LineInserted = 3
};

// Whether the journal is the one to release the line an entry names.
enum class UndoHold : std::uint8_t {
    Owned,    // a deleted line kept by the journal; an inserted line freed when its insertion is undone
    Borrowed  // a line taken out and put back by a move: the line list keeps it
};

// One journal record; records come from the journal's pool and are zero-filled when handed out.
struct UndoEntry : SListNode {
    LineRecord* line = nullptr;   // the line concerned
    LineRecord* saved = nullptr;  // see UndoKind
    UndoKind kind = UndoKind::TextChanged;
    std::uint32_t group = 0;  // the group number when the change was made
    std::int32_t column = 0;  // TextChanged: the record column of the cursor at the change
    UndoHold hold = UndoHold::Owned;
};

// The journal of one session: the newest entry first. The session's buffer owns it
// (`journalOwner`) and reaches it as its LineJournal.
class UndoJournal final : public LineJournal {
public:
    // A journal with an empty pool; nullptr when the pool cannot be made.
    static std::unique_ptr<UndoJournal> Create();
    // Releases the pool only: the buffer may already have released its lines. Discard() first
    // whenever the lines still exist.
    ~UndoJournal() override;
    UndoJournal(const UndoJournal&) = delete;
    UndoJournal& operator=(const UndoJournal&) = delete;

    // The line list's reports (LineInsertBefore, LineInsertAfter, LineDelete, MD).
    void JournalInsert(EditBuffer& buffer, LineRecord& line) override;
    void JournalDelete(EditBuffer& buffer, LineRecord& line, LineRecord* successor) override;

    // Kind 1: a copy of the line before its first change in the group; marks it `textModified`.
    void RecordTextChange(EditBuffer& buffer, LineRecord& line, std::int32_t column);
    // Kind 2 of a move: the line was taken out and will be linked in again by the same operation.
    void RecordMoveOut(EditBuffer& buffer, LineRecord& line, LineRecord* successor);

    // Groups. Begin and end nest; only the outermost pair opens and closes a group. Closing a group
    // that holds entries gives the next entries a new number and clears `textModified` on the lines
    // it journaled, so their next change is journaled again.
    void BeginGroup(EditBuffer& buffer);
    void EndGroup(EditBuffer& buffer);
    // Keystrokes: the group stays open while typing goes on in one line; typing in another line (or
    // after an operation) starts a new group.
    void NoteTyping(EditBuffer& buffer, const LineRecord& line);

    // Every entry is dropped: kept deleted lines and saved copies are freed.
    void Discard(EditBuffer& buffer);

    // For UNDO: the newest entry, taking it off the journal, and giving its record back. While
    // replaying, the line list's reports are ignored (the undo itself is not journaled).
    UndoEntry* Newest() const { return static_cast<UndoEntry*>(SListFirst(&entries_)); }
    UndoEntry* PopNewest();
    void ReleaseEntry(UndoEntry* entry);
    void SetReplaying(bool replaying) { replaying_ = replaying; }
    // After UNDO the open group, the typing line and any nesting start afresh.
    void ResetGroupState();

    bool Empty() const { return entries_.first == nullptr; }
    std::uint32_t EntryCount() const { return entryCount_; }
    std::uint32_t CurrentGroup() const { return group_; }
    const RecordPool* Pool() const { return pool_; }

private:
    explicit UndoJournal(RecordPool* pool) : pool_(pool) {}
    bool Recording() const { return !replaying_ && !failedGroup_; }
    bool GroupHasEntries() const;
    UndoEntry* NewEntry(EditBuffer& buffer, UndoKind kind, LineRecord* line);
    // An entry could not be made: the journal no longer describes the lines, so it is emptied and
    // the rest of the group is not journaled.
    void Fail(EditBuffer& buffer);

    RecordPool* pool_ = nullptr;
    SList entries_;
    std::uint32_t entryCount_ = 0;
    std::uint32_t group_ = 1;
    int depth_ = 0;                           // nesting of BeginGroup/EndGroup
    const LineRecord* typingLine_ = nullptr;  // the line keystrokes went to in the open group
    bool replaying_ = false;
    bool failedGroup_ = false;
    // The newest entry while further deleted or inserted lines may join it, and the last line of its
    // delete chain.
    UndoEntry* openRange_ = nullptr;
    LineRecord* chainTail_ = nullptr;
};

// The lines of a delete entry's chain, first to last, each taken off the chain (links cleared)
// before `visit` sees it. A first line with a predecessor is back on the line list: nothing is
// visited then.
template <typename Visit>
void TakeDeleteChain(UndoEntry& entry, Visit visit) {
    if (entry.line == nullptr || entry.line->prev != nullptr) {
        return;
    }
    for (LineRecord* line = entry.line; line != nullptr;) {
        LineRecord* next = LineNext(line);
        line->prev = line->next = nullptr;
        visit(*line);
        line = next;
    }
}

// ---- Session operations ---------------------------------------------------------------------------

// The instance's UNDO setting.
bool UndoEnabled(const AppSession& app);

// The session's journal; nullptr while UNDO is off (or before the session's first edit).
UndoJournal* SessionUndoJournal(EditSession& session);

// Makes the session's journal agree with the setting: made when UNDO is on and it is missing,
// discarded when UNDO is off. The shell calls it when a session has been opened; the recording
// operations call it themselves. nullptr when UNDO is off.
UndoJournal* UndoSyncSession(AppSession& app, EditSession& session);
// The same for every edit session of the instance (after the setting changed elsewhere).
void UndoApplySetting(AppSession& app);

// The session's journal alone: UndoOn makes it (with its pool) when it does not exist; UndoOff drops
// every entry (freeing kept lines and copies) and destroys the pool; UndoClear is both. SORT empties
// the journal this way around its work. They return 0, or -1 when the pool cannot be made
// (reported).
Status UndoOn(AppSession& app, EditSession& session);
void UndoOff(AppSession& app, EditSession& session);
Status UndoClear(AppSession& app, EditSession& session);

// Kind 1, before a line's text changes (editing code, CHANGE, shifts, LC/UC, overlay). The saved
// column is the cursor's record column. Nothing happens when UNDO is off, when the line is not on
// the line list or when it is already `textModified`.
void JournalTextChange(AppSession& app, EditSession& session, LineRecord& line);
// Typing: JournalTextChange, after closing the open group when the keystrokes were going to another
// line, so that the keystrokes on one line undo as one step.
void JournalKeystroke(AppSession& app, EditSession& session, LineRecord& line);
// Kind 2 for a line already taken off the list (LineRemove): the journal keeps it, or releases it
// when UNDO is off (LineDelete does this by itself). The caller no longer owns the line.
void JournalDelete(AppSession& app, EditSession& session, LineRecord& line, LineRecord* successor);
// Kind 3 for a line already on the list (the insert operations do this by themselves).
void JournalInsert(AppSession& app, EditSession& session, LineRecord& line);
// A move's removal (see the header comment).
void JournalMoveOut(AppSession& app, EditSession& session, LineRecord& line, LineRecord* successor);

void UndoBeginGroup(AppSession& app, EditSession& session);
void UndoEndGroup(AppSession& app, EditSession& session);

// One editing operation: UndoBeginGroup now, UndoEndGroup when it goes out of scope.
class UndoGroup {
public:
    UndoGroup(AppSession& app, EditSession& session);
    ~UndoGroup();
    UndoGroup(const UndoGroup&) = delete;
    UndoGroup& operator=(const UndoGroup&) = delete;

private:
    AppSession& app_;
    EditSession& session_;
};

}  // namespace tavoe
