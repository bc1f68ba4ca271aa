#include "platform/clipboard.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ui/clipboard_codec.h"

using namespace tavoe;

namespace fs = std::filesystem;

namespace {

// A desktop clipboard held in memory: what was offered, and a text another program may put there.
class FakeDesktop final : public DesktopClipboard {
public:
    explicit FakeDesktop(std::string* text, bool accepts = true) : text_(text), accepts_(accepts) {}
    bool Offer(std::string_view utf8) override {
        if (accepts_) {
            *text_ = std::string(utf8);
        }
        return accepts_;
    }
    std::optional<std::string> Take() override {
        return text_->empty() ? std::nullopt : std::optional<std::string>(*text_);
    }

private:
    std::string* text_;
    bool accepts_;
};

// Each byte but NUL once, in order.
std::string AllDisplayBytes() {
    std::string bytes;
    for (int byte = 1; byte < 256; ++byte) {
        bytes.push_back(static_cast<char>(byte));
    }
    return bytes;
}

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tavoe_clip_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string FileBytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    fs::path dir;
    ui::DisplaySetCodec iso{ui::DisplaySet::Iso8859};
};

}  // namespace

TEST_F(ClipboardTest, FileKeepsEveryDisplayByteExactlyAndInstancesShareIt) {
    Clipboard writer(dir.string(), nullptr);
    Clipboard reader(dir.string(), std::make_unique<NoDesktopClipboard>());
    EXPECT_FALSE(reader.HoldsText(iso));
    const std::string bytes = AllDisplayBytes() + "\r\n";
    ClipboardWriteResult result = writer.Write(bytes, iso);
    EXPECT_TRUE(result.stored);
    EXPECT_FALSE(result.desktopTook);
    EXPECT_EQ(FileBytes(writer.FilePath()), bytes);
    ASSERT_TRUE(reader.Read(iso).has_value());
    EXPECT_EQ(*reader.Read(iso), bytes);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(ClipboardTest, NulEndsTheTextAndAnEmptyTextIsAnEmptyClipboard) {
    Clipboard clipboard(dir.string(), nullptr);
    clipboard.Write(std::string("AB\0CD", 5), iso);
    EXPECT_EQ(clipboard.Read(iso).value_or("-"), "AB");
    clipboard.Write(std::string("\0CD", 3), iso);
    EXPECT_FALSE(clipboard.Read(iso).has_value());
    EXPECT_FALSE(clipboard.HoldsText(iso));
}

TEST_F(ClipboardTest, TextInPiecesIsAskedWholeAndAnAbandonedTextKeepsTheOld) {
    Clipboard clipboard(dir.string(), nullptr);
    const std::vector<std::string> pieces = {"one\r\n", "", "tw", std::string("o\0x", 3), "more"};
    std::size_t asked = 0;
    ClipboardWriteResult result = clipboard.Write(
        [&](std::string& piece) {
            if (asked == pieces.size()) {
                return ClipboardPiece::End;
            }
            piece = pieces[asked++];
            return ClipboardPiece::More;
        },
        iso);
    EXPECT_TRUE(result.stored);
    EXPECT_EQ(asked, pieces.size());  // the pieces after the NUL were asked for too
    EXPECT_EQ(result.bytes, 8u);
    EXPECT_EQ(FileBytes(clipboard.FilePath()), "one\r\ntwo");

    bool given = false;
    result = clipboard.Write(
        [&](std::string& piece) {
            if (given) {
                return ClipboardPiece::Abandon;
            }
            given = true;
            piece = "half";
            return ClipboardPiece::More;
        },
        iso);
    EXPECT_FALSE(result.stored);
    EXPECT_TRUE(result.abandoned);
    EXPECT_EQ(clipboard.Read(iso).value_or(""), "one\r\ntwo");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(ClipboardTest, WithoutADirectoryTheTextStaysInMemory) {
    Clipboard clipboard("", nullptr);
    EXPECT_TRUE(clipboard.Write("x\r\n", iso).stored);
    EXPECT_EQ(clipboard.Read(iso).value_or(""), "x\r\n");
}

TEST_F(ClipboardTest, UnwritableDirectoryFailsTheStoreWithItsError) {
    Clipboard clipboard((dir / "missing").string(), nullptr);
    ClipboardWriteResult result = clipboard.Write("x", iso);
    EXPECT_FALSE(result.stored);
    EXPECT_EQ(result.error, ENOENT);
}

TEST_F(ClipboardTest, DesktopTextWinsOnlyWhenItChangedAfterOurWrite) {
    std::string desktop;
    Clipboard clipboard(dir.string(), std::make_unique<FakeDesktop>(&desktop));
    // Our bytes go to the desktop as UTF-8, and our own exact bytes come back while it is unchanged.
    clipboard.Write("caf\xE9\r\n", iso);
    EXPECT_EQ(desktop, "caf\xC3\xA9\r\n");
    EXPECT_EQ(clipboard.Read(iso).value_or(""), "caf\xE9\r\n");
    // Another program copies: its text is newer and is converted to the display set.
    desktop = "na\xC3\xAFve";
    EXPECT_EQ(clipboard.Read(iso).value_or(""), "na\xEFve");
    // Our next copy is newer again.
    clipboard.Write("again", iso);
    EXPECT_EQ(clipboard.Read(iso).value_or(""), "again");
}

TEST_F(ClipboardTest, DesktopThatRefusesOurTextDoesNotHideOurNewerCopy) {
    std::string desktop = "older desktop text";
    Clipboard clipboard(dir.string(), std::make_unique<FakeDesktop>(&desktop, false));
    clipboard.Write("ours", iso);
    EXPECT_EQ(clipboard.Read(iso).value_or(""), "ours");
    desktop = "newer desktop text";
    EXPECT_EQ(clipboard.Read(iso).value_or(""), "newer desktop text");
}

TEST(ClipboardDirectory, IsPrivateToTheUser) {
    const std::string path = ClipboardDirectory();
    ASSERT_FALSE(path.empty());
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0077, 0u);
    EXPECT_EQ(info.st_uid, ::getuid());
}

TEST(ClipboardCodec, EveryDisplayByteRoundTripsThroughUtf8InBothSets) {
    const std::string bytes = AllDisplayBytes();
    for (ui::DisplaySet set : {ui::DisplaySet::Iso8859, ui::DisplaySet::IbmPc}) {
        ui::DisplaySetCodec codec(set);
        const std::string utf8 = codec.ToUtf8(bytes);
        // Valid UTF-8 that keeps line ends and tabs as control codes.
        size_t pos = 0;
        while (pos < utf8.size()) {
            ASSERT_GE(ui::DecodeUtf8(utf8, pos), 0) << "at " << pos;
        }
        EXPECT_EQ(codec.FromUtf8(utf8), bytes) << static_cast<int>(set);
        EXPECT_EQ(codec.ToUtf8("a\tb\r\nc\n"), "a\tb\r\nc\n");
    }
}

TEST(ClipboardCodec, MapsGlyphsOfEachSet) {
    ui::DisplaySetCodec iso(ui::DisplaySet::Iso8859);
    ui::DisplaySetCodec pc(ui::DisplaySet::IbmPc);
    // e-acute is 0xE9 in ISO-8859-1 and 0x82 in code page 437; a box corner only exists in the latter.
    EXPECT_EQ(iso.ToUtf8("\xE9"), "\xC3\xA9");
    EXPECT_EQ(pc.ToUtf8("\x82\xDA\x01"), "\xC3\xA9\xE2\x94\x8C\xE2\x98\xBA");
    EXPECT_EQ(pc.FromUtf8("\xC3\xA9\xE2\x94\x8C"), "\x82\xDA");
    EXPECT_EQ(iso.FromUtf8("\xE2\x94\x8C\xE2\x82\xAC"), "??");
}

TEST(ClipboardCodec, BadDesktopTextIsTakenApartSafely) {
    ui::DisplaySetCodec iso(ui::DisplaySet::Iso8859);
    ui::DisplaySetCodec pc(ui::DisplaySet::IbmPc);
    // Invalid UTF-8 bytes are ISO-8859-1 characters; a truncated sequence at the end too.
    EXPECT_EQ(iso.FromUtf8("a\xE9z\xC3"), "a\xE9z\xC3");
    EXPECT_EQ(pc.FromUtf8("a\xE9z"), "a\x82z");
    // NUL does not cut the text; a leading byte-order mark goes; CR-only line ends stay for the paste.
    EXPECT_EQ(iso.FromUtf8(std::string("a\0b", 3)), "a?b");
    EXPECT_EQ(iso.FromUtf8("\xEF\xBB\xBFx\ry\r"), "x\ry\r");
    EXPECT_EQ(pc.FromUtf8("\xF0\x9F\x98\x80!"), "?!");
}
