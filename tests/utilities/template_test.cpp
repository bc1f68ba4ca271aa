// Listing and inserting templates, and the shipped templates in their file types.
#include "utilities/template_insert.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "../profiles/search_path_fixture.h"
#include "buffer/edit_buffer.h"
#include "profiles/file_profile_io.h"

namespace tavoe {

namespace fs = std::filesystem;

namespace {

class TemplateTest : public SearchPathFixture {
protected:
    TemplateTest() : SearchPathFixture("tpl", "ZPATH.TEMPLATES") {}

    void SetUp() override {
        SearchPathFixture::SetUp();
        buffer.profile.maxRecordLength = 255;
        buffer.profile.languageTemplate = "COB";
        cursorLine = AddLine("first");
        AddLine("last");
    }
    LineRecord* AddLine(std::string_view text) {
        LineRecord* line = LineNew(buffer, text);
        line->kind = LineKind::Data;
        LineAppendLoaded(buffer, line);
        return line;
    }
    std::vector<std::string> DataTexts() const {
        std::vector<std::string> texts;
        for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
            texts.emplace_back(LineText(*line));
        }
        return texts;
    }

    EditBuffer buffer{app};
    LineRecord* cursorLine = nullptr;
};

TEST_F(TemplateTest, FirstDirectoryOfThePathWins) {
    fs::create_directories(root / "user" / "cob");
    fs::create_directories(root / "server" / "COB");
    Write(root / "user" / "cob" / "para.tpl", "USER\n");
    Write(root / "server" / "COB" / "PARA.TPL", "SERVER\n");
    Write(root / "server" / "COB" / "record.tpl", "R\n");
    Write(root / "server" / "COB" / "notes.txt", "not a template\n");
    std::vector<std::string> names;
    ASSERT_EQ(ListTemplates(app, "COB", names), 0);
    EXPECT_EQ(names, (std::vector<std::string>{"PARA", "RECORD"}));
    TemplateCursor cursor;
    ASSERT_EQ(InsertTemplate(app, buffer, cursorLine, 1, "PARA", cursor), 0);
    EXPECT_EQ(DataTexts(), (std::vector<std::string>{"first", "USER", "last"}));
    EXPECT_EQ(cursor.line, nullptr);
}

TEST_F(TemplateTest, ListingMessages) {
    std::vector<std::string> names;
    EXPECT_EQ(ListTemplates(app, "JAVA", names), -1);
    EXPECT_EQ(app.messages.back().text, "No '*.TPL' files found in path '" + (root / "user").string() + ";" +
                                            (root / "server").string() + "'");
    VarSetValue(app, "ZPATH.TEMPLATES", " ");
    EXPECT_EQ(ListTemplates(app, "JAVA", names), -1);
    EXPECT_EQ(app.messages.back().text, "No path set for templates, check menu OPTIONS, item PATHS.");
    TemplateCursor cursor;
    EXPECT_EQ(InsertTemplate(app, buffer, cursorLine, 1, "NOSUCH", cursor), -1);
    EXPECT_EQ(app.messages.back().text, "Unable to load template 'NOSUCH'");
    EXPECT_EQ(DataTexts().size(), 2u);
}

TEST_F(TemplateTest, IndentAndCursorMarker) {
    TemplateCursor cursor;
    std::vector<std::string> lines{"a", "   %cursor%;", "b %cursor% c"};
    ASSERT_EQ(InsertTemplateLines(app, buffer, cursorLine, 5, lines, cursor), 0);
    EXPECT_EQ(DataTexts(),
              (std::vector<std::string>{"first", "    a", "       ;", "    b %cursor% c", "last"}));
    ASSERT_NE(cursor.line, nullptr);
    EXPECT_EQ(LineText(*cursor.line), "       ;");
    EXPECT_EQ(cursor.column, 8);  // where the marker was: the semicolon
    EXPECT_TRUE(buffer.modified);
}

TEST_F(TemplateTest, FixedRecordsAreCutAndPadded) {
    buffer.profile.recordFormat = Recfm::Fixed;
    buffer.profile.maxRecordLength = 80;
    TemplateCursor cursor;
    std::vector<std::string> lines{std::string(100, 'x'), "short", std::string(90, 'y') + "%cursor%"};
    ASSERT_EQ(InsertTemplateLines(app, buffer, cursorLine, 1, lines, cursor), 0);
    std::vector<std::string> texts = DataTexts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[1], std::string(80, 'x'));
    EXPECT_EQ(texts[2], "short" + std::string(75, ' '));
    EXPECT_EQ(texts[3], std::string(80, 'y'));
    EXPECT_EQ(cursor.column, 80);        // the marker lay beyond the record: the cursor stops at its end
    ASSERT_EQ(app.messages.size(), 1u);  // one message for the whole template
    EXPECT_EQ(app.messages[0].text, "Template line exceeds max record length, truncated.");
}

// Each shipped template, inserted at the first data column of a file of its type, fits the record
// and has one cursor marker.
TEST_F(TemplateTest, ShippedTemplatesFitTheirFileTypes) {
    std::string home = TAVOE_SOURCE_DIR "/data";
    VarSetValue(app, "ZPATH.TEMPLATES", home + "/templates");
    VarSetValue(app, "ZPATH.FILEPROFILES", home + "/profiles");
    struct Case {
        const char* profile;
        int column;
    } cases[] = {{"COB", 8}, {"JCL", 1}, {"C", 1}, {"CPP", 1}, {"JAVA", 1}, {"SH", 1}};
    for (const Case& c : cases) {
        EditBuffer file(app);
        ASSERT_EQ(ReadFileProfile(app, c.profile, file.profile), 0) << c.profile;
        std::vector<std::string> names;
        ASSERT_EQ(ListTemplates(app, file.profile.languageTemplate, names), 0) << c.profile;
        EXPECT_GE(names.size(), c.column == 8 || std::string(c.profile) == "JCL" ? 3u : 2u) << c.profile;
        for (const std::string& name : names) {
            app.messages.clear();
            TemplateCursor cursor;
            ASSERT_EQ(InsertTemplate(app, file, LineFirst(file), c.column, name, cursor), 0) << name;
            EXPECT_TRUE(app.messages.empty()) << c.profile << " " << name;
            EXPECT_NE(cursor.line, nullptr) << c.profile << " " << name;
        }
    }
}

}  // namespace

}  // namespace tavoe
