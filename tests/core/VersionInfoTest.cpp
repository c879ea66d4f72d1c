#include "common/VersionInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionInfo, ProgramBlockAnswersTheThreeNamesInAnyCase)
{
    VersionInfo info;
    struct { const char* name; const char* value; } cases[] = {
        {"FileVersion", "1.00.0.19"},
        {"fileversion", "1.00.0.19"},
        {"SPECIALBUILD", ""},
        {"CompanyName", "Failure getting CompanyName"},
        {"", "Failure getting "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.value, info.Query(c.name));
    }
    EXPECT_EQ("1.00.0.19", ProgramVersion());
    std::string notice = info.Query("LegalCopyright");
    EXPECT_NE(std::string::npos, notice.find("Pinroute"));
    EXPECT_EQ(std::string::npos, notice.find("Failure"));
}

TEST(VersionInfo, AnotherBlockLackingAValueReportsIt)
{
    VersionInfo info(VersionInfo::Table{{"FileVersion", "2.0"}, {"LegalCopyright", "none"}});
    EXPECT_EQ("2.0", info.Query("FileVersion"));
    EXPECT_EQ("Failure getting SpecialBuild", info.Query("SpecialBuild"));
}

}  // namespace
