#include <dlfcn.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/message_box_hook.h"
#include "sampledll/sample_exports.h"

using namespace tavoe;

// An export of the loaded library, looked up by its name and typed by its declaration.
#define SAMPLE_EXPORT(name) Export<decltype(name)>(#name)

namespace {

struct ShownBox {
    std::string text;
    std::string title;
};

// Loads libtest.so from the build's program directory, as the editor does for a macro, and installs a
// message-box handler that records what the library shows.
class SampleLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        std::string path = std::string(TAVOE_BINARY_DIR) + "/bin/libtest.so";
        handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        SetMessageBoxHandler([this](std::string_view text, std::string_view title) {
            shown.push_back({std::string(text), std::string(title)});
        });
    }

    void TearDown() override {
        SetMessageBoxHandler(nullptr);
        if (handle != nullptr) {
            dlclose(handle);
        }
    }

    // The export `name`, typed like its declaration.
    template <typename Function>
    Function* Export(const char* name) {
        void* symbol = dlsym(handle, name);
        EXPECT_NE(symbol, nullptr) << name;
        return reinterpret_cast<Function*>(symbol);
    }

    void* handle = nullptr;
    std::vector<ShownBox> shown;
};

TEST_F(SampleLibrary, ReturningExportsFormatTheirParameters) {
    EXPECT_STREQ(SAMPLE_EXPORT(test9)(), "TEST9: no parms in");
    EXPECT_STREQ(SAMPLE_EXPORT(test10)("a"), "TEST10: p1=a");
    EXPECT_STREQ(SAMPLE_EXPORT(test11)("a", "b"), "TEST11: p1=a p2=b");
    EXPECT_STREQ(SAMPLE_EXPORT(test12)("a", "b", "c"), "TEST12: p1=a p2=b p3=c");
    EXPECT_STREQ(SAMPLE_EXPORT(test13)("a", "b", "c", "d"), "TEST13: p1=a p2=b p3=c p4=d");
    EXPECT_STREQ(SAMPLE_EXPORT(test14)("a", "b", "c", "d", "e"), "TEST14: p1=a p2=b p3=c p4=d p5=e");
    EXPECT_STREQ(SAMPLE_EXPORT(test15)("a", "b", "c", "d", "e", "f"),
                 "TEST15: p1=a p2=b p3=c p4=d p5=e p6=f");
    EXPECT_STREQ(SAMPLE_EXPORT(test16)("a", "b", "c", "d", "e", "f", "g"),
                 "TEST16: p1=a p2=b p3=c p4=d p5=e p6=f p7=g");
    EXPECT_STREQ(SAMPLE_EXPORT(test17)("1", "2", "3", "4", "5", "6", "7", "8"),
                 "TEST17: p1=1 p2=2 p3=3 p4=4 p5=5 p6=6 p7=7 p8=8");
    // Parameters are inserted as they are: a "%" in them is not a format directive.
    EXPECT_STREQ(SAMPLE_EXPORT(test11)("%s%n", ""), "TEST11: p1=%s%n p2=");
    EXPECT_TRUE(shown.empty());
}

TEST_F(SampleLibrary, NoReturnExportsShowTheirTextThroughTheHook) {
    EXPECT_EQ(SAMPLE_EXPORT(test0)(), kSampleBoxOk);
    SAMPLE_EXPORT(test1)("a");
    SAMPLE_EXPORT(test2)("a", "b");
    SAMPLE_EXPORT(test3)("a", "b", "c");
    SAMPLE_EXPORT(test4)("a", "b", "c", "d");
    SAMPLE_EXPORT(test5)("a", "b", "c", "d", "e");
    SAMPLE_EXPORT(test6)("a", "b", "c", "d", "e", "f");
    SAMPLE_EXPORT(test7)("a", "b", "c", "d", "e", "f", "g");
    EXPECT_EQ(SAMPLE_EXPORT(test8)("1", "2", "3", "4", "5", "6", "7", "8"), kSampleBoxOk);
    const std::vector<std::string> expected = {
        "TEST0: no parms in, no return",
        "TEST1: p1=a, no return",
        "TEST2: p1=a p2=b, no return",
        "TEST3: p1=a p2=b p3=c, no return",
        "TEST4: p1=a p2=b p3=c p4=d, no return",
        "TEST5: p1=a p2=b p3=c p4=d p5=e, no return",
        "TEST6: p1=a p2=b p3=c p4=d p5=e p6=f, no return",
        "TEST7: p1=a p2=b p3=c p4=d p5=e p6=f p7=g, no return",
        "TEST8: p1=1 p2=2 p3=3 p4=4 p5=5 p6=6 p7=7 p8=8, no return",
    };
    ASSERT_EQ(shown.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(shown[i].text, expected[i]);
        EXPECT_EQ(shown[i].title, "") << "the box has the default caption";
    }
}

TEST_F(SampleLibrary, EveryExportSharesOneBuffer) {
    auto callTest10 = SAMPLE_EXPORT(test10);
    const char* first = callTest10("first");
    const char* second = callTest10("second");
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "TEST10: p1=second");

    const char* fixed = SAMPLE_EXPORT(test9)();
    EXPECT_EQ(fixed, first);
    SAMPLE_EXPORT(test1)("shown");
    EXPECT_STREQ(fixed, "TEST1: p1=shown, no return");
}

TEST_F(SampleLibrary, CutsTextThatDoesNotFitAndTakesNullAsEmpty) {
    std::string longParameter(2 * kSampleBufferSize, 'x');
    std::string result = SAMPLE_EXPORT(test10)(longParameter.c_str());
    EXPECT_EQ(result.size(), kSampleBufferSize - 1);
    EXPECT_EQ(result.substr(0, 12), "TEST10: p1=x");

    EXPECT_STREQ(SAMPLE_EXPORT(test12)(nullptr, "b", nullptr), "TEST12: p1= p2=b p3=");
    SAMPLE_EXPORT(test1)(nullptr);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "TEST1: p1=, no return");
}

TEST_F(SampleLibrary, WithoutHandlerTheHookWritesStandardError) {
    SetMessageBoxHandler(nullptr);
    testing::internal::CaptureStderr();
    SAMPLE_EXPORT(test2)("a", "b");
    tavoe_message_box("Saved.", "Tavo/E");
    tavoe_message_box(nullptr, nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "TEST2: p1=a p2=b, no return\nTavo/E: Saved.\n\n");
    EXPECT_TRUE(shown.empty());
}

}  // namespace
