#include "common/FolderListing.h"

#include <clocale>
#include <cstdlib>
#include <cwctype>
#include <sstream>

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include "support/InChild.h"
#include "support/TestSupport.h"

extern char** environ;

namespace {

TEST(WildcardMatch, MatchesAsTheFileListsNeed)
{
    struct { const char* pattern; const char* name; bool match; } cases[] = {
        {"*.jpg", "IMG_0001.jpg", true}, {"*.jpg", "IMG_0001.JPG", true},
        {"*.jpg", "a.Jpg", true}, {"*.jpg", ".jpg", true}, {"*.jpg", "a.jpeg", false},
        {"*.jpg", "a.jpg.bak", false}, {"*.jpg", "a.jp", false},
        {"Ride*.gpx", "RIDE1.gpx", true}, {"Ride*.gpx", "ride.GPX", true},
        {"Ride*.gpx", "Rid.gpx", false},
        {"?.gpx", "a.gpx", true}, {"?.gpx", ".gpx", false}, {"?.gpx", "ab.gpx", false},
        {"a?c", "a\xC3\xA9" "c", false},   // ? is one byte, not one letter
        {"*", "", true}, {"*", "anything", true}, {"", "", true}, {"", "a", false},
        {"***", "x", true}, {"a*", "", false},
        {"*a*b", "aXbYb", true}, {"*a*b", "aXbYc", false}, {"a*b*c", "abXbXc", true},
        {"*ab", "aab", true}, {"*aab", "aaab", true}, {"*a?b", "aXaYb", true},
        {"[ab].gpx", "[ab].gpx", true}, {"[ab].gpx", "a.gpx", false},
        {"a\\*b", "a\\xyzb", true}, {"a\\*b", "a*b", false},
        {"I*.JPG", "img.jpg", true}, {"\xC4\xB0*", "i.jpg", false},   // only ASCII folds
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " ~ " + c.name);
        EXPECT_EQ(c.match, WildcardMatch(c.pattern, c.name));
    }
}

TEST(MatchingNames, SortsIgnoringCaseAndSkipsTheDotEntries)
{
    TempDir dir;
    for (const char* name : {"b.JPG", "A.jpg", "c.jpg.txt", "a.JPG", "C.jpg", ".jpg"})
        WriteFile(dir.File(name), "x");
    const std::vector<std::string> expected = {".jpg", "A.jpg", "a.JPG", "b.JPG", "C.jpg"};
    EXPECT_EQ(expected, MatchingNames(dir.Path(), "*.jpg"));
    EXPECT_EQ(std::vector<std::string>{}, MatchingNames(dir.File("none"), "*"));
    const std::vector<std::string> all = MatchingNames(dir.Path(), "*");
    EXPECT_EQ(6u, all.size());
}

// Under Turkish rules "I" and "i" are not a pair of cases (they pair with dotless "ı" and
// dotted "İ"), so the C library's case-blind matching no longer takes RIDE1.gpx for
// Ride*.gpx once the program has set the locale from the environment, as Qt does.
TEST(MatchingNames, TurkishLocaleStillMatchesAsciiLetters)
{
    const std::string& locales = TurkishLocaleFolder();
    if (locales.empty())
        GTEST_SKIP() << "localedef could not build tr_TR.UTF-8 (the locales package has its source)";
    TempDir dir;
    for (const char* name : {"RIDE1.gpx", "ride2.GPX", "IMG.JPG", "img2.jpg", "Walk.gpx"})
        WriteFile(dir.File(name), "x");

    const std::string outcome = InChild([&] {
        setenv("LOCPATH", locales.c_str(), 1);
        setenv("LC_ALL", "tr_TR.UTF-8", 1);
        setenv("LANG", "tr_TR.UTF-8", 1);
        const char* set = std::setlocale(LC_ALL, "");
        std::ostringstream out;
        out << (set ? set : "(refused)") << "|" << (std::towupper(L'i') == 0x130 ? "dotted" : "plain");
        for (const char* pattern : {"Ride*.gpx", "*.jpg", "I*"}) {
            out << "|" << pattern << ":";
            for (const std::string& name : MatchingNames(dir.Path(), pattern))
                out << " " << name;
        }
        out << "|" << WildcardMatch("Ride*.gpx", "RIDE1.gpx") << WildcardMatch("*.jpg", "IMG.JPG");
        return out.str();
    });
    EXPECT_EQ("tr_TR.UTF-8|dotted|Ride*.gpx: RIDE1.gpx ride2.GPX|*.jpg: IMG.JPG img2.jpg"
              "|I*: IMG.JPG img2.jpg|11",
              outcome);
}

}  // namespace
