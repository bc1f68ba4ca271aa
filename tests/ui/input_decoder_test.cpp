#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "ui/input_decoder.h"

using namespace tavoe;

using namespace ui;

namespace {

std::vector<Event> Decode(InputDecoder& d, std::string_view bytes, int64_t now = 0) {
    d.Feed(bytes, now);
    std::vector<Event> events;
    Event e;
    while (d.Next(e)) {
        events.push_back(e);
    }
    return events;
}

std::vector<Event> Decode(std::string_view bytes) {
    InputDecoder d;
    std::vector<Event> events = Decode(d, bytes);
    d.Flush();
    Event e;
    while (d.Next(e)) {
        events.push_back(e);
    }
    return events;
}

KeyEvent OnlyKey(std::string_view bytes) {
    std::vector<Event> events = Decode(bytes);
    EXPECT_EQ(events.size(), 1u) << "for " << bytes.substr(1);
    if (events.size() != 1 || events[0].kind != EventKind::Key) {
        return KeyEvent{};
    }
    return events[0].key;
}

}  // namespace

TEST(InputDecoderKeys, ModifiedFunctionKeysReachAllFortyEightNumbers) {
    EXPECT_EQ(FunctionKeyNumber(OnlyKey("\x1bOP")), 1);
    EXPECT_EQ(FunctionKeyNumber(OnlyKey("\x1b[24~")), 12);
    EXPECT_EQ(FunctionKeyNumber(OnlyKey("\x1b[1;2P")), 13);   // Shift+F1
    EXPECT_EQ(FunctionKeyNumber(OnlyKey("\x1b[15;5~")), 29);  // Ctrl+F5
    EXPECT_EQ(FunctionKeyNumber(OnlyKey("\x1b[24;3~")), 48);  // Alt+F12
    EXPECT_EQ(FunctionKeyNumber(OnlyKey("\x1b[1;6R")), 15);   // Shift+Ctrl+F3: Shift wins
    EXPECT_EQ(FunctionKeyNumber(OnlyKey("\x1b[13;7~")), 27);  // Ctrl+Alt+F3: Ctrl wins
    EXPECT_EQ(FunctionKeyNumber(OnlyKey("\x1bO2Q")), 14);     // SS3 with a modifier
    EXPECT_EQ(FunctionKeyNumber(OnlyKey("\x1b[[C")), 3);      // Linux console
    EXPECT_EQ(FunctionKeyNumber(OnlyKey("\x1b[11^")), 25);    // rxvt Ctrl+F1
    EXPECT_EQ(FunctionKeyNumber(OnlyKey("\x1b[23$")), 23);    // rxvt Shift+F11
}

TEST(InputDecoderKeys, NamedKeysAndModifiers) {
    EXPECT_EQ(OnlyKey("\x1b[A"), NamedKey(Key::Up));
    EXPECT_EQ(OnlyKey("\x1bOB"), NamedKey(Key::Down));
    EXPECT_EQ(OnlyKey("\x1b[1;5D"), NamedKey(Key::Left, kModCtrl));
    EXPECT_EQ(OnlyKey("\x1b[6;5~"), NamedKey(Key::PageDown, kModCtrl));
    EXPECT_EQ(OnlyKey("\x1b[2~"), NamedKey(Key::Insert));
    EXPECT_EQ(OnlyKey("\x1b[3;2~"), NamedKey(Key::Delete, kModShift));
    EXPECT_EQ(OnlyKey("\x1b[H"), NamedKey(Key::Home));
    EXPECT_EQ(OnlyKey("\x1b[4~"), NamedKey(Key::End));
    EXPECT_EQ(OnlyKey("\x1b[Z"), NamedKey(Key::Tab, kModShift));
    EXPECT_EQ(OnlyKey("\x1b\x1b[A"), NamedKey(Key::Up, kModAlt));
    EXPECT_EQ(OnlyKey("\r"), NamedKey(Key::Enter));
    EXPECT_EQ(OnlyKey("\n"), NamedKey(Key::Enter, kModCtrl));
    EXPECT_EQ(OnlyKey("\t"), NamedKey(Key::Tab));
    EXPECT_EQ(OnlyKey("\x7f"), NamedKey(Key::Backspace));
    EXPECT_EQ(OnlyKey("\x08"), NamedKey(Key::Backspace, kModCtrl));
}

TEST(InputDecoderKeys, ControlAltAndText) {
    EXPECT_EQ(OnlyKey("\x03"), CharKey('c', kModCtrl));
    EXPECT_EQ(OnlyKey("\x1a"), CharKey('z', kModCtrl));
    EXPECT_EQ(OnlyKey("\x1c"), CharKey('\\', kModCtrl));
    EXPECT_EQ(OnlyKey("\x1bx"), CharKey('x', kModAlt));
    EXPECT_EQ(OnlyKey("\x1b\x01"), CharKey('a', kModCtrl | kModAlt));
    EXPECT_EQ(OnlyKey("\x1b[27;5;13~"), NamedKey(Key::Enter, kModCtrl));  // modifyOtherKeys
    EXPECT_EQ(OnlyKey("\xc3\xa9"), CharKey(0xE9));
    InputDecoder pc(DisplaySet::IbmPc);
    std::vector<Event> e = Decode(pc, "\xc3\xa9");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].key, CharKey(0x82));
    // A character the display set cannot show is dropped.
    EXPECT_TRUE(Decode("\xe2\x82\xac").empty());
}

TEST(InputDecoderKeys, LoneEscapeWaitsThenIsEscape) {
    InputDecoder d;
    EXPECT_TRUE(Decode(d, "\x1b").empty());
    EXPECT_TRUE(d.Pending());
    d.Flush();
    Event e;
    ASSERT_TRUE(d.Next(e));
    EXPECT_EQ(e.key, NamedKey(Key::Escape));
    // A sequence split across reads still decodes as one key.
    EXPECT_TRUE(Decode(d, "\x1b[1;").empty());
    std::vector<Event> rest = Decode(d, "2P");
    ASSERT_EQ(rest.size(), 1u);
    EXPECT_EQ(FunctionKeyNumber(rest[0].key), 13);
}

TEST(InputDecoderKeys, UnknownAndBrokenSequencesAreDropped) {
    std::vector<Event> e = Decode(
        "\x1b[99;99za\x1b[200~b\x1b]11;rgb:0/0/0\x07"
        "c\x1b[?62;22c");
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].key, CharKey('a'));
    EXPECT_EQ(e[1].key, CharKey('b'));
    EXPECT_EQ(e[2].key, CharKey('c'));
    // An endless parameter run is cut off instead of growing without bound.
    InputDecoder d;
    Decode(d, "\x1b[" + std::string(1000, '1'));
    EXPECT_FALSE(d.Pending());
    std::vector<Event> after = Decode(d, "x");
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].key, CharKey('x'));
}

TEST(InputDecoderKeys, RandomBytesNeverCrash) {
    std::mt19937 random(7);
    InputDecoder d;
    for (int round = 0; round < 2000; ++round) {
        std::string chunk;
        int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i) {
            uint32_t r = random();
            chunk.push_back(r % 4 == 0   ? '\x1b'
                            : r % 4 == 1 ? "[;<0123456789~uMm"[r % 17]
                                         : static_cast<char>(r));
        }
        Decode(d, chunk, round * 10);
        if (round % 7 == 0) {
            d.Flush();
            Event e;
            while (d.Next(e)) {
            }
        }
    }
    SUCCEED();
}

TEST(InputDecoderKeys, CsiUKeysAndTheRightCtrlKeyAlone) {
    EXPECT_EQ(OnlyKey("\x1b[97;5u"), CharKey('a', kModCtrl));
    EXPECT_EQ(OnlyKey("\x1b[49:33;2u"), CharKey('!'));  // Shift+1 with its shifted key
    EXPECT_EQ(OnlyKey("\x1b[13;5u"), NamedKey(Key::Enter, kModCtrl));
    EXPECT_TRUE(Decode("\x1b[1;1:3A").empty());  // a release
    EXPECT_EQ(OnlyKey("\x1b[57448;5:1u\x1b[57448;1:3u"), NamedKey(Key::RightCtrl));
    // With another key between press and release it was a Ctrl combination, not the key alone.
    std::vector<Event> e = Decode("\x1b[57448;5:1u\x1b[99;5u\x1b[57448;1:3u");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].key, CharKey('c', kModCtrl));
    InputDecoder d;
    Decode(d, "\x1b[?15u");
    EXPECT_TRUE(d.CsiUReported());
}

TEST(InputDecoderMouse, SgrPressDragReleaseWheel) {
    std::vector<Event> e =
        Decode("\x1b[<0;10;5M\x1b[<32;11;5M\x1b[<0;11;5m\x1b[<2;3;4M\x1b[<65;1;1M\x1b[<20;2;2M");
    ASSERT_EQ(e.size(), 6u);
    EXPECT_EQ(e[0].mouse, (MouseEvent{MouseAction::Press, MouseButton::Left, 4, 9, 0}));
    EXPECT_EQ(e[1].mouse.action, MouseAction::Drag);
    EXPECT_EQ(e[1].mouse.col, 10);
    EXPECT_EQ(e[2].mouse.action, MouseAction::Release);
    EXPECT_EQ(e[3].mouse.button, MouseButton::Right);
    EXPECT_EQ(e[4].mouse.action, MouseAction::WheelDown);
    EXPECT_EQ(e[5].mouse.mods, kModShift | kModCtrl);
}

TEST(InputDecoderMouse, TwoQuickPressesOnOneCellAreADoubleClick) {
    InputDecoder d;
    EXPECT_EQ(Decode(d, "\x1b[<0;3;3M", 1000)[0].mouse.action, MouseAction::Press);
    EXPECT_EQ(Decode(d, "\x1b[<0;3;3M", 1200)[0].mouse.action, MouseAction::DoubleClick);
    EXPECT_EQ(Decode(d, "\x1b[<0;3;3M", 1300)[0].mouse.action, MouseAction::Press);  // a third starts over
    EXPECT_EQ(Decode(d, "\x1b[<0;3;3M", 2000)[0].mouse.action, MouseAction::Press);  // too slow
    EXPECT_EQ(Decode(d, "\x1b[<0;4;3M", 2100)[0].mouse.action, MouseAction::Press);  // another cell
}

TEST(InputDecoderMouse, X10Report) {
    std::vector<Event> e = Decode(std::string("\x1b[M") + char(32 + 0) + char(32 + 5) + char(32 + 2));
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].mouse.row, 1);
    EXPECT_EQ(e[0].mouse.col, 4);
}
