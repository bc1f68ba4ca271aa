#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dynamic_library.h"

using namespace tavoe;

namespace {

const std::vector<std::string> kBinDirectory{std::string(TAVOE_BINARY_DIR) + "/bin"};

std::string CallTest9(void* library) {
    auto function = reinterpret_cast<const char* (*)()>(SharedLibrarySymbol(library, "test9"));
    return function != nullptr ? function() : "<no test9>";
}

}  // namespace

TEST(SharedLibraryName, DllEndingIsDroppedInAnyCase) {
    EXPECT_EQ(SharedLibraryStem("test.dll"), "test");
    EXPECT_EQ(SharedLibraryStem("test.DLL"), "test");
    EXPECT_EQ(SharedLibraryStem("test"), "test");
    EXPECT_EQ(SharedLibraryStem(".dll"), ".dll");  // nothing would be left
    EXPECT_EQ(SharedLibraryStem("test.dll.so"), "test.dll.so");
}

TEST(SharedLibraryOpen, BareNamesFindTheLibraryInTheGivenDirectories) {
    for (const char* name : {"test", "test.dll", "libtest.so"}) {
        void* library = OpenSharedLibrary(name, kBinDirectory);
        ASSERT_NE(library, nullptr) << name;
        EXPECT_EQ(CallTest9(library), "TEST9: no parms in") << name;
    }
    void* byPath = OpenSharedLibrary(kBinDirectory[0] + "/libtest.so", {});
    ASSERT_NE(byPath, nullptr);
    EXPECT_EQ(SharedLibrarySymbol(byPath, "test99"), nullptr);
    EXPECT_EQ(SharedLibrarySymbol(byPath, ""), nullptr);
}

TEST(SharedLibraryOpen, MissingOrMalformedNamesOpenNothing) {
    EXPECT_EQ(OpenSharedLibrary("", kBinDirectory), nullptr);
    EXPECT_EQ(OpenSharedLibrary("no_such_library_here", kBinDirectory), nullptr);
    EXPECT_EQ(OpenSharedLibrary(std::string("test\0x", 6), kBinDirectory), nullptr);
    EXPECT_EQ(OpenSharedLibrary("/no/such/dir/libtest.so", kBinDirectory), nullptr);
    // A path is taken as it stands: the directories are not searched for it.
    EXPECT_EQ(OpenSharedLibrary("sub/libtest.so", kBinDirectory), nullptr);
    EXPECT_EQ(SharedLibrarySymbol(nullptr, "test9"), nullptr);
}
