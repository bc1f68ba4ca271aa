#include "editing/selection.h"

#include "editing/cursor_actions.h"
#include "typing_test_fixture.h"

namespace {

// The selected columns of every line, "-" for none.
std::vector<std::string> Columns(const EditSession& session) {
    std::vector<std::string> out;
    for (const LineRecord& line : tavoe::Lines(session.buffer)) {
        out.push_back(
            LineHasSelection(line) ? std::to_string(line.selStart) + "-" + std::to_string(line.selEnd) : "-");
    }
    return out;
}

using Cols = std::vector<std::string>;

class SelectionTest : public TypingFixture {
protected:
    void Key(ui::Key key) {
        ui::KeyEvent event;
        event.key = key;
        event.mods = ui::kModShift;
        KeyContext context;
        context.field = KeyField::Data;
        PerformEditAction(app, session, MapKey(app, context, event));
    }
};

}  // namespace

TEST_F(SelectionTest, ShapesSetTheirColumnsOnDataLinesOnly) {
    Lines({"one", "two", "three"});
    LineRecord* note = LineNew(session.buffer, "note");
    note->kind = LineKind::Note;
    ASSERT_EQ(LineInsertBefore(session.buffer, lines[1], note), 0);
    SetSelection(session, SelectionMode::Stream, *lines[0], 2, *lines[2], 4);
    EXPECT_EQ(Columns(session), (Cols{"-", "2-64000", "-", "1-64000", "1-4", "-"}));
    SetSelection(session, SelectionMode::Block, *lines[0], 2, *lines[1], 4);
    EXPECT_EQ(Columns(session), (Cols{"-", "2-4", "-", "2-4", "-", "-"}));
    SelectLines(session, *lines[1], *lines[2]);
    EXPECT_EQ(Columns(session), (Cols{"-", "-", "-", "1-64000", "1-64000", "-"}));
    EXPECT_EQ(FindSelection(session).first, lines[1]);
    EXPECT_EQ(FindSelection(session).mode, SelectionMode::WholeLine);
    ClearSelection(session);
    EXPECT_FALSE(SelectionExists(session));
    EXPECT_TRUE(LineNotAfter(*lines[0], *lines[2]));
    EXPECT_FALSE(LineNotAfter(*lines[2], *note));
}

TEST_F(SelectionTest, ShiftWithCursorKeysCoversTheCharactersPassed) {
    Lines({"abcdef", "ghijkl"});
    At(0, 3);
    Key(ui::Key::Right);
    Key(ui::Key::Right);
    EXPECT_EQ(Columns(session), (Cols{"-", "3-4", "-", "-"}));
    // Back over the start: the selection turns round the place it started from.
    Key(ui::Key::Left);
    Key(ui::Key::Left);
    EXPECT_FALSE(SelectionExists(session));
    Key(ui::Key::Left);
    EXPECT_EQ(Columns(session), (Cols{"-", "2-2", "-", "-"}));
    // Down from there: a stream from the start place to the new one.
    Key(ui::Key::Right);
    Key(ui::Key::Down);
    EXPECT_EQ(Columns(session), (Cols{"-", "3-64000", "1-2", "-"}));
}
