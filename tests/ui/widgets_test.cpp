#include <gtest/gtest.h>

#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/form.h"
#include "ui/input_field.h"
#include "ui/list_box.h"
#include "ui/message_box.h"
#include "ui/popup_menu.h"
#include "ui/progress_window.h"
#include "ui/static_text.h"
#include "ui_test_harness.h"

using namespace tavoe;

using namespace ui;

namespace {

// A frameless form at the canvas's top-left corner, so widget columns are canvas columns.
struct Bare : Form {
    Bare(int rows, int cols) : Form("", rows, cols) {
        SetFrame(FormFrame::None);
        PlaceAt(0, 0);
    }
};

std::vector<std::string> Names(int count) {
    std::vector<std::string> items;
    const char* base[] = {"apple", "banana", "cherry", "date", "elder",
                          "fig",   "grape",  "hazel",  "iris", "jade"};
    for (int i = 0; i < count; ++i) {
        items.push_back(std::string(base[i % 10]) + (i >= 10 ? std::to_string(i) : ""));
    }
    return items;
}

}  // namespace

TEST(InputFieldWidget, TypingEditingKeysAndModes) {
    UiHarness h("!keys abcdef<Home><Right>X<End><BS><Left><Left><Del><Ins>Z<C-Left>_\n");
    Bare form(1, 20);
    InputField& f = form.Add<InputField>(Rect{0, 0, 1, 20});
    h.screen.RunModal(form);
    // abcdef -> aXbcdef -> aXbcde -> cursor before d -> Del d -> aXbce; overtype Z on e -> aXbcZ;
    // Ctrl+Left to the word start, overtype _ on a.
    EXPECT_EQ(f.Text(), "_XbcZ");
    EXPECT_EQ(f.mode, TypingMode::Overtype);
}

TEST(InputFieldWidget, ScrollsSidewaysAndShowsTheCursorColumn) {
    UiHarness h("!keys 0123456789abcdef\n");
    Bare form(1, 30);
    InputField& f = form.Add<InputField>(Rect{0, 2, 1, 8});
    h.screen.RunModal(form);
    h.screen.PushLayer(form);
    EXPECT_EQ(f.ScrollOffset(), 9);
    EXPECT_EQ(h.Row(0), "  9abcdef");
    f.SetCursorPos(0);
    EXPECT_EQ(h.Row(0), "  01234567");
}

TEST(InputFieldWidget, CaseLimitsPasswordAlignmentAndNoScroll) {
    UiHarness h("!keys Hello World<Tab>Secret<Tab>abcdefghijk<Tab>ABC\n");
    Bare form(4, 30);
    InputField& upper = form.Add<InputField>(Rect{0, 0, 1, 20});
    upper.caseForce = CaseForce::Upper;
    upper.maxLength = 8;
    InputField& pass = form.Add<InputField>(Rect{1, 0, 1, 20});
    pass.echo = EchoMode::Password;
    InputField& fixed = form.Add<InputField>(Rect{2, 0, 1, 6});
    fixed.hscroll = HScroll::Off;
    InputField& right = form.Add<InputField>(Rect{3, 0, 1, 10});
    right.caseForce = CaseForce::Lower;
    right.align = Align::Right;
    h.screen.RunModal(form);
    EXPECT_EQ(upper.Text(), "HELLO WO");
    EXPECT_EQ(pass.Text(), "Secret");
    EXPECT_EQ(fixed.Text(), "abcdef");
    EXPECT_EQ(right.Text(), "abc");
    h.screen.PushLayer(form);
    std::string dump = h.Dump();
    EXPECT_NE(dump.find("HELLO WO\n******\nabcdef\n      abc\n"), std::string::npos) << dump;
}

TEST(InputFieldWidget, KeyboardFocusMarksTheTextAndAClickPlacesTheCursor) {
    UiHarness h("!keys <Tab>new<Click:1,3>X\n");
    Bare form(2, 20);
    InputField& a = form.Add<InputField>(Rect{0, 0, 1, 10});
    InputField& b = form.Add<InputField>(Rect{1, 0, 1, 10});
    a.SetText("keep");
    b.SetText("replace me");
    h.screen.RunModal(form);
    EXPECT_EQ(b.Text(), "new");
    EXPECT_EQ(a.Text(), "keXep");
}

TEST(InputFieldWidget, HighCharactersGoThroughTheTranslationAndFiltersRefuse) {
    UiHarness h(
        "!keys 1a\xc3\xa9"
        "2\n");
    Bare form(1, 20);
    InputField& f = form.Add<InputField>(Rect{0, 0, 1, 10});
    f.translateHigh = [](uint8_t c) { return static_cast<uint8_t>(c == 0xE9 ? 'E' : c); };
    f.accept = [](uint8_t c) { return c != 'a'; };
    h.screen.RunModal(form);
    EXPECT_EQ(f.Text(), "1E2");
}

TEST(ListBoxWidget, SingleSelectionKeysAndTypeAhead) {
    UiHarness h("!keys <Down><Down>g<End><PgUp>\n");
    Bare form(5, 20);
    ListBox& list = form.Add<ListBox>(Rect{0, 0, 4, 20});
    list.SetItems(Names(10));
    int changes = 0;
    list.onSelectionChange = [&](ListBox&) { ++changes; };
    h.screen.RunModal(form);
    // Down selects banana then cherry; g jumps to grape; End to jade (top 6); PgUp: top 2, caret 2.
    EXPECT_EQ(list.Top(), 2);
    EXPECT_EQ(list.Caret(), 2);
    EXPECT_EQ(list.SelectedIndexes(), std::vector<int>{2});
    EXPECT_EQ(changes, 5);
}

TEST(ListBoxWidget, PageDownStopsAtTheLastItemAndPageUpAtTheTop) {
    Rect r{0, 0, 4, 20};
    ListBox list(r);
    list.SetItems(Names(10));
    list.PageDown();
    EXPECT_EQ(list.Top(), 4);
    list.PageDown();  // only 2 items after the last visible one
    EXPECT_EQ(list.Top(), 6);
    list.PageDown();
    EXPECT_EQ(list.Top(), 6);
    EXPECT_EQ(list.Caret(), 6);
    list.PageUp();
    list.PageUp();
    EXPECT_EQ(list.Top(), 0);
    EXPECT_EQ(list.Caret(), 0);
}

TEST(ListBoxWidget, ExtendedSelectionWithShiftCtrlAndClicks) {
    UiHarness h("!keys <Down><S-Down><S-Down><C-Down><C-Down><Space><Click:1,1><C-Click:3,1><S-Click:2,1>\n");
    Bare form(6, 20);
    ListBox& list = form.Add<ListBox>(Rect{0, 0, 6, 20});
    list.selectMode = SelectMode::Extended;
    list.SetItems(Names(10));
    std::vector<std::vector<int>> history;
    list.onSelectionChange = [&](ListBox& l) { history.push_back(l.SelectedIndexes()); };
    h.screen.RunModal(form);
    ASSERT_GE(history.size(), 4u);
    EXPECT_EQ(history[2], (std::vector<int>{1, 2, 3}));     // Shift extends from the anchor
    EXPECT_EQ(history[3], (std::vector<int>{1, 2, 3, 5}));  // Ctrl moves alone, Space toggles
    // Click 0 selects it alone, Ctrl+click 2 adds it (anchor 2), Shift+click 1 selects 1..2.
    EXPECT_EQ(list.SelectedIndexes(), (std::vector<int>{1, 2}));
}

TEST(ListBoxWidget, MultiColumnLayoutAndKeys) {
    UiHarness h("!keys <Right><Right><Down>\n");
    Bare form(3, 24);
    ListBox& list = form.Add<ListBox>(Rect{0, 0, 3, 24});
    list.columnWidth = 8;
    list.SetItems(Names(12));
    h.screen.RunModal(form);
    EXPECT_EQ(list.Caret(), 7);
    h.screen.PushLayer(form);
    EXPECT_EQ(h.Row(0), "apple   date    grape");
    EXPECT_EQ(list.Top(), 0);
    list.SetCaret(11);  // the fourth column scrolls one column in
    EXPECT_EQ(list.Top(), 3);
    EXPECT_EQ(h.Row(0), "date    grape   jade");
}

TEST(ListBoxWidget, DoubleAndRightClicksReportWhereAndWhat) {
    UiHarness h("!keys <DblClick:3,2><RClick:2,5><WheelDown>\n");
    Bare form(4, 20);
    form.Add<StaticText>(Rect{0, 0, 1, 20}, "title");
    ListBox& list = form.Add<ListBox>(Rect{1, 0, 3, 20});
    list.SetItems(Names(10));
    int doubled = -1;
    int rightRow = -1;
    int rightCol = -1;
    list.onDoubleClick = [&](ListBox&, int index) { doubled = index; };
    list.onRightClick = [&](ListBox&, int row, int col) {
        rightRow = row;
        rightCol = col;
    };
    h.screen.RunModal(form);
    EXPECT_EQ(doubled, 1);
    EXPECT_EQ(rightRow, 1);
    EXPECT_EQ(rightCol, 4);
    EXPECT_EQ(list.SelectedIndex(), 1);  // a right click leaves the selection
    EXPECT_EQ(list.Top(), 3);
}

TEST(ListBoxWidget, SortedInsertAndEmptyList) {
    ListBox list(Rect{0, 0, 3, 10});
    list.sorted = true;
    list.AddItem("pear");
    list.AddItem("Apple");
    EXPECT_EQ(list.AddItem("mango"), 1);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"Apple", "mango", "pear"}));
    UiHarness h("!keys <Down><PgDn>x<Click:1,1>\n");
    Bare form(3, 10);
    ListBox& empty = form.Add<ListBox>(Rect{0, 0, 3, 10});
    h.screen.RunModal(form);
    EXPECT_EQ(empty.SelectedIndex(), -1);
}

TEST(ComboBoxWidget, FixedListChangesInPlaceAndDropsDown) {
    UiHarness h("!keys <Down>c<A-Down><Down><Down><Enter>\n");
    Bare form(10, 20);
    ComboBox& combo = form.Add<ComboBox>(Rect{0, 0, 1, 12}, ComboKind::Fixed);
    combo.SetItems(Names(5));
    combo.SetSelected(0);
    std::vector<std::string> seen;
    combo.onSelectionChange = [&](ComboBox& c) { seen.push_back(c.Text()); };
    h.screen.RunModal(form);
    EXPECT_EQ(seen, (std::vector<std::string>{"banana", "cherry", "elder"}));
    EXPECT_EQ(combo.Selected(), 4);
}

TEST(ComboBoxWidget, DroppedListShowsBelowAndEscapeLeavesIt) {
    UiHarness h("!keys <Click:1,12>\n!screen\n!keys <Esc>\n");
    Bare form(10, 20);
    ComboBox& combo = form.Add<ComboBox>(Rect{0, 0, 1, 12}, ComboKind::Fixed);
    combo.SetItems(Names(3));
    combo.SetSelected(1);
    h.screen.RunModal(form);
    EXPECT_NE(h.out.str().find("--- screen ---\nbanana     \xe2\x96\xbc\napple\nbanana\ncherry\n"),
              std::string::npos)
        << h.out.str();
    EXPECT_EQ(combo.Selected(), 1);
}

TEST(ComboBoxWidget, EditableTypesAndChoosesFromItsList) {
    UiHarness h("!keys Find X<Tab><Click:2,10><Click:4,3>\n");
    Bare form(10, 20);
    ComboBox& typed = form.Add<ComboBox>(Rect{0, 0, 1, 10}, ComboKind::Editable);
    typed.Edit().caseForce = CaseForce::Lower;
    ComboBox& chosen = form.Add<ComboBox>(Rect{1, 0, 1, 10}, ComboKind::Editable);
    chosen.SetItems({"one", "two", "three"});
    h.screen.RunModal(form);
    EXPECT_EQ(typed.Text(), "find x");
    EXPECT_EQ(typed.Selected(), -1);
    EXPECT_EQ(chosen.Text(), "two");  // the list dropped below row 2: item 2 is on canvas row 4
    EXPECT_EQ(chosen.Selected(), 1);
}

TEST(ButtonsAndCheckBoxes, PushToggleAndTheDefaultButton) {
    UiHarness h("!keys <Tab> <Tab><Tab> <Click:1,14>x<Enter>\n");
    Bare form(2, 40);
    InputField& field = form.Add<InputField>(Rect{1, 0, 1, 8});
    CheckBox& right = form.Add<CheckBox>(Rect{0, 0, 1, 12}, "&Backup");
    CheckBox& left = form.Add<CheckBox>(Rect{0, 13, 1, 12}, "Verbose");
    left.side = TextSide::Left;
    Button& ok = form.Add<Button>(Rect{0, 26, 1, 8}, "OK");
    std::vector<std::string> pushed;
    ok.onPush = [&](Button& b) { pushed.push_back(b.caption); };
    ok.isDefault = true;
    form.defaultButton = &ok;
    h.screen.RunModal(form);
    // Space on Backup; Tab, Tab to OK, Space pushes; a click toggles Verbose; focus stays there, so
    // "x" is nothing and Enter goes to the default button.
    EXPECT_TRUE(right.checked);
    EXPECT_TRUE(left.checked);
    EXPECT_EQ(pushed.size(), 2u);
    EXPECT_EQ(field.Text(), "");
    h.screen.PushLayer(form);
    EXPECT_EQ(h.Row(0), "[X] Backup   Verbose  [X] [> OK <]");
}

TEST(FocusOrder, TabShiftTabWrapAndSkipStaticText) {
    UiHarness h("!keys <S-Tab>a<Tab><Tab>b<Tab>c\n");
    Bare form(3, 20);
    InputField& a = form.Add<InputField>(Rect{0, 0, 1, 5});
    form.Add<StaticText>(Rect{1, 0, 1, 5}, "x");
    InputField& b = form.Add<InputField>(Rect{1, 6, 1, 5});
    InputField& c = form.Add<InputField>(Rect{2, 0, 1, 5});
    c.enabled = false;
    h.screen.RunModal(form);
    // Shift+Tab from a wraps to b (c is disabled); Tab, Tab: a, b; Tab: a.
    EXPECT_EQ(a.Text(), "c");
    EXPECT_EQ(b.Text(), "b");
    EXPECT_EQ(c.Text(), "");
}

TEST(PopupMenuWidget, SeparatorsAreSkippedAndLettersChoose) {
    std::vector<MenuEntry> entries = {
        {"Edit"}, {"", MenuEntryKind::Separator}, {"Delete"}, {"Dup"}, {"&Rename"}};
    {
        UiHarness h("!keys <Down><Enter>\n");
        EXPECT_EQ(RunPopupMenu(h.screen, entries, 2, 3), 2);
    }
    {
        UiHarness h("!keys r\n");
        EXPECT_EQ(RunPopupMenu(h.screen, entries, 2, 3), 4);
    }
    {
        UiHarness h("!keys d<Enter>\n");  // two entries begin with d: the letter moves, Enter chooses
        EXPECT_EQ(RunPopupMenu(h.screen, entries, 2, 3), 2);
    }
    {
        UiHarness h("!keys <Esc>\n");
        EXPECT_EQ(RunPopupMenu(h.screen, entries, 2, 3), -1);
    }
    {
        UiHarness h("!screen\n!keys <Click:7,5>\n");
        EXPECT_EQ(RunPopupMenu(h.screen, entries, 2, 3), 3);
        EXPECT_NE(h.out.str().find("   \xe2\x94\x8c\xe2\x94\x80"), std::string::npos);
        EXPECT_NE(h.out.str().find("   \xe2\x94\x82 Dup"), std::string::npos) << h.out.str();
    }
    {
        UiHarness h("!keys <Click:20,70>\n");  // outside
        EXPECT_EQ(RunPopupMenu(h.screen, entries, 2, 3), -1);
    }
}

// Greyed entries (a file already open, the own session) are passed over by the cursor and refuse a
// letter or a click; with every entry greyed nothing can be chosen.
TEST(PopupMenuWidget, GreyedEntriesCannotBeChosen) {
    std::vector<MenuEntry> entries = {
        {"Alpha", MenuEntryKind::Item, true}, {"Beta"}, {"Gamma", MenuEntryKind::Item, true}, {"Delta"}};
    {
        UiHarness h("!keys <Enter>\n");  // the cursor starts on the first entry it may choose
        EXPECT_EQ(RunPopupMenu(h.screen, entries, 2, 3), 1);
    }
    {
        UiHarness h("!keys <Down><Enter>\n");
        EXPECT_EQ(RunPopupMenu(h.screen, entries, 2, 3), 3);
    }
    {
        UiHarness h("!keys g<Click:6,5><Esc>\n");  // Gamma's letter and a click on Gamma's row
        EXPECT_EQ(RunPopupMenu(h.screen, entries, 2, 3), -1);
    }
    std::vector<MenuEntry> none = {{"One", MenuEntryKind::Item, true}, {"Two", MenuEntryKind::Item, true}};
    UiHarness h("!keys <Down><Enter><Esc>\n");
    EXPECT_EQ(RunPopupMenu(h.screen, none, 2, 3), -1);
}

TEST(MessageBoxForm, ButtonsKeysAndLayout) {
    std::istringstream in("!screen\n!keys <Right><Enter>\n");
    std::ostringstream out;
    std::ostringstream err;
    FormBoxBackend backend(in, out, err, 12, 50);
    Screen screen(backend);
    MessageBoxSpec spec{"Save changes?", "Tavo/E", MsgBoxButtons::YesNoCancel, MsgBoxIcon::Question, 0};
    EXPECT_EQ(ShowMessageBox(screen, spec), MsgBoxReply::No);
    std::string dump = out.str();
    EXPECT_NE(dump.find("\xe2\x94\x80 Tavo/E \xe2\x94\x80"), std::string::npos) << dump;
    EXPECT_NE(dump.find("(?)  Save changes?"), std::string::npos) << dump;
    EXPECT_NE(dump.find("[> Yes  <]  [   No   ]  [ Cancel ]"), std::string::npos) << dump;
}

TEST(MessageBoxForm, LettersEscapeAndYesNoIgnoringEscape) {
    auto run = [](const std::string& script, MsgBoxButtons buttons, int defaultButton) {
        std::istringstream in(script);
        std::ostringstream out;
        std::ostringstream err;
        FormBoxBackend backend(in, out, err);
        Screen screen(backend);
        return ShowMessageBox(screen, MessageBoxSpec{"Q", "T", buttons, MsgBoxIcon::None, defaultButton});
    };
    EXPECT_EQ(run("!keys n\n", MsgBoxButtons::YesNo, 0), MsgBoxReply::No);
    EXPECT_EQ(run("!keys <Esc><Enter>\n", MsgBoxButtons::YesNo, 1), MsgBoxReply::No);
    EXPECT_EQ(run("!keys <Esc>\n", MsgBoxButtons::OkCancel, 0), MsgBoxReply::Cancel);
    EXPECT_EQ(run("!keys <Tab><Enter>\n", MsgBoxButtons::OkCancel, 0), MsgBoxReply::Cancel);
    EXPECT_EQ(run("!keys <F3>\n", MsgBoxButtons::Ok, 0), MsgBoxReply::Ok);
}

TEST(MessageBoxForm, LongTextWraps) {
    std::vector<std::string> lines = WrapText("one two three four\n\nfive-six-seven-eight", 9);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"one two", "three", "four", "", "five-six-", "seven-eig", "ht"}));
}

TEST(ProgressWindowLayer, ShowsPercentAndRemovesItself) {
    UiHarness h("");
    {
        ProgressWindow progress(h.screen, "Loading", "Reading file");
        progress.Update(50);
        std::string dump = h.Dump();
        EXPECT_NE(dump.find("Reading file"), std::string::npos);
        EXPECT_NE(dump.find("50%"), std::string::npos);
        EXPECT_NE(dump.find(" Loading "), std::string::npos);
        EXPECT_FALSE(progress.CancelRequested());  // a script is never read ahead
        progress.Update(250, "Done");
        EXPECT_EQ(progress.Percent(), 100);
    }
    EXPECT_EQ(h.Dump().find("Loading"), std::string::npos);
}

TEST(TinyScreens, AFormLargerThanTheCanvasIsClippedAndStillWorks) {
    UiHarness h("!keys ab\n!screen\n", 5, 10);
    Form form("A title longer than the canvas", 8, 40);
    InputField& f = form.Add<InputField>(Rect{6, 30, 1, 8});
    ListBox& list = form.Add<ListBox>(Rect{0, 0, 8, 40});
    list.SetItems(Names(3));
    form.SetFocus(&f, FocusReason::Initial);
    h.screen.RunModal(form);
    EXPECT_EQ(f.Text(), "ab");
    EXPECT_NE(h.out.str().find("--- screen ---\n\xe2\x94\x8c"), std::string::npos);
}
