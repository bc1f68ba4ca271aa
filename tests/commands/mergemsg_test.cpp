#include "commands/mergemsg.h"

#include "dispatch_fixture.h"

using namespace tavoe;

namespace {

std::string Shape(const EditBuffer& buffer) {
    std::string all;
    for (const LineRecord& line : Lines(buffer)) {
        if (line.kind == LineKind::Data) {
            all += std::string(LineText(line)) + "|";
        } else if (line.kind == LineKind::Note) {
            all += "[" + std::string(LineText(line)) + "]|";
        }
    }
    return all;
}

}  // namespace

TEST(CompilerMessageParse, FormsAndFailures) {
    CompilerMessage m;
    ASSERT_EQ(ParseCompilerMessage("/src/PAY.C(12,7) RUNTIME: unknown function", m), MessageParse::Message);
    EXPECT_EQ(m.file, "/src/PAY.C");
    EXPECT_EQ(m.line, 12);
    EXPECT_EQ(*m.column, 7);
    EXPECT_EQ(m.text, "RUNTIME: unknown function");
    EXPECT_EQ(MessageNoteText(m), "(Col 7) RUNTIME: unknown function");

    ASSERT_EQ(ParseCompilerMessage("pay.cbl(3) : error 12: missing period", m), MessageParse::Message);
    EXPECT_FALSE(m.column.has_value());
    EXPECT_EQ(MessageNoteText(m), "error 12: missing period");

    ASSERT_EQ(ParseCompilerMessage("/a(b)/x.c(4) msg", m), MessageParse::Message);  // "(b)" is no line
    EXPECT_EQ(m.file, "/a(b)/x.c");
    EXPECT_EQ(m.line, 4);
    ASSERT_EQ(ParseCompilerMessage("x.c(-2) m", m), MessageParse::Message);
    EXPECT_EQ(m.line, -2);
    ASSERT_EQ(ParseCompilerMessage("x.c(99999999999999999999) m", m), MessageParse::Message);
    EXPECT_GT(m.line, 0);

    EXPECT_EQ(ParseCompilerMessage("no parenthesis here", m), MessageParse::NotMessage);
    EXPECT_EQ(ParseCompilerMessage("x.c(abc) m", m), MessageParse::BadFormat);
    EXPECT_EQ(ParseCompilerMessage("x.c(3", m), MessageParse::BadFormat);
    EXPECT_EQ(ParseCompilerMessage("(3) m", m), MessageParse::BadFormat);
    EXPECT_EQ(ParseCompilerMessage("x.c(3,) m", m), MessageParse::BadFormat);
}

class MergeMsg : public DispatchTest {
protected:
    void SetUp() override {
        DispatchTest::SetUp();
        OpenSession(4);
        session->buffer.displayName = "PAY.C";
        session->buffer.profile.maxRecordLength = 40;
        RecordEdit("LOCATE");
    }
    EditBuffer& Buffer() { return session->buffer; }
    TempDir dir;
};

TEST_F(MergeMsg, MacroErrorFileBecomesNotesAfterTheirLines) {
    std::string file = dir.Write("errmsg.txt",
                                 "/src/PAY.C\n"
                                 "/src/PAY.C(2,5) first\n"
                                 "/src/OTHER.C(1,1) elsewhere\n"
                                 "pay.c(2) : second\r\n"
                                 "\n"
                                 "PAY(4,1) " +
                                     std::string(60, 'x') + "\n");
    RunEditCommand(app, "mergemsg " + file);
    EXPECT_EQ(Shape(Buffer()), "1|2|[(Col 5) first]|[second]|3|4|[(Col 1) " + std::string(32, 'x') + "]|");
    EXPECT_EQ(calls, (std::vector<std::string>{"LOCATE SPECIAL"}));
    EXPECT_TRUE(app.messages.empty());
    EXPECT_FALSE(Buffer().modified);  // notes are not data
}

TEST_F(MergeMsg, FileNameIsSubstitutedAndMayBeQuoted) {
    std::string file = dir.Write("err one.txt", "PAY.C(1) m\n");
    VarSetValue(app, "ZDSNPATH", dir.Path());
    RunEditCommand(app, "mergemsg \"&zdsnpath/err one.txt\"");
    EXPECT_EQ(Shape(Buffer()), "1|[m]|2|3|4|");
}

TEST_F(MergeMsg, EachFailureEndsTheMergeWithItsMessage) {
    struct Case {
        std::string content;
        std::string message;
    };
    std::vector<Case> cases = {
        {"", "MERGEMSG: no error messages."},
        {"/src/PAY.C\n", "MERGEMSG: no error messages."},
        {"PAY.C(0) zero\n", "MERGEMSG: line number must be greater than 0."},
        {"PAY.C(9) past the end\n", "MERGEMSG: unable to locate error line."},
        {"header\nnot a message\n",
         "MERGEMSG: message file not in format: file-name(line-number) : ...msg..."},
        {"PAY.C(1) ok\nPAY.C(x) bad\n", "MERGEMSG: message file not in correct format"},
    };
    for (const Case& c : cases) {
        app.messages.clear();
        calls.clear();
        std::string file = dir.Write("e.txt", c.content);
        RunEditCommand(app, "mergemsg " + file);
        EXPECT_EQ(Texts(), (std::vector<std::string>{c.message})) << c.content;
        EXPECT_TRUE(calls.empty()) << c.content;  // no LOCATE after a failed merge
    }
    app.messages.clear();
    RunEditCommand(app, "mergemsg");
    RunEditCommand(app, "mergemsg " + dir.Path() + "/missing.txt");
    RunEditCommand(app, "mergemsg " + dir.Path());
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{"MERGEMSG: command requires file name.",
                                        "Unable to open error message file '" + dir.Path() + "/missing.txt'",
                                        "Unable to open error message file '" + dir.Path() + "'"}));
}
