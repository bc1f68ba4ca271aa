// Every colorization and file profile the installation ships reads without a message, and every
// profile that names a colour type gets its colorizer.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "core/app_session.h"
#include "core/var_store.h"
#include "platform/ascii_case.h"
#include "profiles/colorization_io.h"
#include "profiles/file_profile_io.h"

using namespace tavoe;

namespace fs = std::filesystem;

namespace {

const fs::path kShipped = fs::path(TAVOE_SOURCE_DIR) / "data" / "profiles";

std::set<std::string> NamesWithExtension(const std::string& extension) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(kShipped)) {
        if (entry.path().extension() == extension) {
            names.insert(entry.path().stem().string());
        }
    }
    return names;
}

TEST(ShippedProfiles, EveryColorizationLoadsWithoutAMessage) {
    std::set<std::string> types = NamesWithExtension(".clr");
    ASSERT_GE(types.size(), 15u);
    for (const std::string& type : types) {
        AppSession app;
        VarSetValue(app, "ZPATH.COLORIZATION", kShipped.string());
        auto colorizer = LoadColorizer(app, type);
        EXPECT_TRUE(colorizer) << type;
        for (const ShownMessage& m : app.messages) {
            ADD_FAILURE() << type << ".clr: " << m.text;
        }
        if (colorizer && !colorizer->FieldMode()) {
            EXPECT_GT(colorizer->words.Count(), 0u) << type;
        }
    }
}

TEST(ShippedProfiles, EveryFileProfileReadsCleanlyAndNamesALoadableColorization) {
    std::set<std::string> profiles = NamesWithExtension(".fp");
    std::set<std::string> types = NamesWithExtension(".clr");
    for (const char* language : {"CBL", "CPY", "JCL", "PLI", "REXX", "ASM", "C", "CPP", "JAVA", "SQL", "HTML",
                                 "XML", "SH", "PY", "TXT"}) {
        EXPECT_TRUE(profiles.count(language)) << language << ".fp is not shipped";
    }
    for (const std::string& name : profiles) {
        AppSession app;
        VarSetValue(app, "ZPATH.COLORIZATION", kShipped.string());
        VarSetValue(app, "ZPATH.FILEPROFILES", kShipped.string());
        FileProfile profile;
        EXPECT_EQ(ReadFileProfile(app, name, profile), 0) << name;
        for (const ShownMessage& m : app.messages) {
            ADD_FAILURE() << name << ".fp: " << m.text;
        }
        if (name == "EBC" || name == "F80") {
            continue;  // fixed records of any kind of data: no colorization
        }
        EXPECT_FALSE(profile.colorType.empty()) << name;
        EXPECT_TRUE(types.count(profile.colorType)) << name << " names " << profile.colorType;
        EXPECT_TRUE(profile.colorizer) << name;
    }
}

}  // namespace
