// The --help texts and the man page describe the same interface.
#include <regex>
#include <set>
#include <string>

#include "cli/CliFixture.h"

namespace {

// The man page's source in the source tree (not __FILE__, which a compiler cache makes relative).
std::string ManPageSource()
{
    return ReadFile(std::string(SOURCE_DIR) + "/cli/pinroute-cli.1");
}

// The page as text: font changes (\fB, \f(CW, \fR) and \c, \& dropped, \- read as "-".
std::string ManText(std::string page)
{
    page = std::regex_replace(page, std::regex(R"(\\f(\(..|\[[^\]]*\]|.))"), "");
    page = std::regex_replace(page, std::regex(R"(\\[c&])"), "");
    return std::regex_replace(page, std::regex(R"(\\-)"), "-");
}

std::set<std::string> LongOptions(const std::string& text)
{
    static const std::regex option("--[a-z][a-z-]*");
    std::set<std::string> found;
    for (std::sregex_iterator i(text.begin(), text.end(), option), end; i != end; ++i)
        found.insert(i->str());
    return found;
}

}  // namespace

class HelpMan : public CliFixture {};

TEST_F(HelpMan, ManPageListsTheOptionsOfTheHelpAndEverySetting)
{
    const std::string page = ManPageSource();
    ASSERT_FALSE(page.empty()) << "man page not found in " << SOURCE_DIR;
    const std::string text = ManText(page);

    std::set<std::string> helpOptions;
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"geotag", "--help"}, {"parse", "--help"}, {"rename", "--help"}, {"undo", "--help"},
             {"remove", "--help"}, {"settings", "--help"}}) {
        const CliResult help = Run(args);
        ASSERT_EQ(0, help.status) << args[0] << ": " << help.err;
        if (args.size() == 2) {   // a command's own help, not the general one
            EXPECT_EQ(0u, help.out.find("pinroute-cli " + args[0])) << help.out;
        }
        const std::set<std::string> options = LongOptions(help.out);
        helpOptions.insert(options.begin(), options.end());
    }
    EXPECT_TRUE(helpOptions.count("--track")) << "the help has lost the --gpx alias";
    EXPECT_EQ(helpOptions, LongOptions(text));

    // Each key that `settings` prints has its entry in the page's SETTINGS section.
    const CliResult shown = Run({"settings"});
    ASSERT_EQ(0, shown.status) << shown.err;
    const size_t start = text.find("\n.SH SETTINGS");
    ASSERT_NE(std::string::npos, start) << "the page has no SETTINGS section";
    const std::string section = text.substr(start, text.find("\n.SH ", start + 1) - start);
    const std::vector<std::string> lines = Lines(shown.out);
    ASSERT_GT(lines.size(), 1u) << shown.out;
    for (size_t i = 1; i < lines.size(); ++i) {   // after the file's path: KEY=VALUE
        const std::string key = lines[i].substr(0, lines[i].find('='));
        EXPECT_NE(std::string::npos, section.find("\n.B " + key + "\n")) << key << " is not in SETTINGS";
    }
}

// The README, the window's man page and the manual name every key that `settings` prints.
TEST_F(HelpMan, EveryDocumentNamesEverySetting)
{
    const CliResult shown = Run({"settings"});
    ASSERT_EQ(0, shown.status) << shown.err;
    const std::vector<std::string> lines = Lines(shown.out);
    ASSERT_GT(lines.size(), 1u) << shown.out;
    for (const char* document : {"README.md", "gui/pinroute.1", "gui/manual/pinroute.html"}) {
        SCOPED_TRACE(document);
        const std::string text = ReadFile(std::string(SOURCE_DIR) + "/" + document);
        ASSERT_FALSE(text.empty());
        for (size_t i = 1; i < lines.size(); ++i) {   // after the file's path: KEY=VALUE
            const std::string key = lines[i].substr(0, lines[i].find('='));
            EXPECT_TRUE(std::regex_search(text, std::regex("\\b" + key + "\\b"))) << key << " is not named";
        }
    }
}
