#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include "common/Numbers.h"

TEST(CommandLine, ReadsOptionsAnywhereAndPathsAfterDoubleDash)
{
    CommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"geotag", "a", "--gpx", "t.gpx", "--offset=-60", "--dry-run", "b",
                                  "--jobs", "3", "--json", "--", "--help", "-x.jpg"},
                                 line, error))
        << error;
    EXPECT_EQ(Command::GeoTag, line.command);
    EXPECT_EQ("t.gpx", line.gpx.value_or(""));
    EXPECT_EQ(-3600, line.offset.value_or(0));
    EXPECT_TRUE(line.dryRun);
    EXPECT_TRUE(line.json);
    EXPECT_FALSE(line.help);
    EXPECT_EQ(3, line.jobs.value_or(0));
    EXPECT_EQ((std::vector<std::string>{"a", "b", "--help", "-x.jpg"}), line.operands);

    ASSERT_TRUE(ParseCommandLine({"geotag", "--offset", "-58:20", "--max-gap", "60", "--max-interpolation-gap=600",
                                  "--camera-zone", "Europe/London", "--keep-software"},
                                 line, error))
        << error;
    EXPECT_EQ(-3500, line.offset.value_or(0));   // a negative value is a value, not an option
    EXPECT_EQ(60, line.maxGap.value_or(-1));
    EXPECT_EQ(600, line.maxInterpolationGap.value_or(-1));
    EXPECT_EQ("Europe/London", line.cameraZone.value_or(""));
    EXPECT_TRUE(line.keepSoftware);

    ASSERT_TRUE(ParseCommandLine({"settings", "OffsetMinutes", "-60"}, line, error)) << error;
    EXPECT_EQ((std::vector<std::string>{"OffsetMinutes", "-60"}), line.operands);

    for (const char* command : {"geotag", "parse", "rename", "settings"}) {
        SCOPED_TRACE(command);
        ASSERT_TRUE(ParseCommandLine({command, "--help"}, line, error)) << error;
        EXPECT_TRUE(line.help);
    }

    ASSERT_TRUE(ParseCommandLine({"rename", "--osgb", "--date", "--osgb"}, line, error)) << error;
    EXPECT_EQ(1, line.displayType.value_or(-1));
    EXPECT_TRUE(line.date);
    EXPECT_FALSE(line.position);
}

TEST(CommandLine, RefusesWhatIsNotInTheInterface)
{
    struct {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{}, "no command given (geotag, parse, rename, undo, remove or settings)"},
        {{"tag"}, "unknown command tag"},
        {{"--verbose"}, "unknown option --verbose"},
        {{"geotag", "--gps", "x"}, "unknown option --gps"},
        {{"parse", "--gpx", "x"}, "unknown option --gpx"},
        {{"parse", "--dry-run"}, "unknown option --dry-run"},
        {{"geotag", "--osgb"}, "unknown option --osgb"},
        {{"geotag", "--date"}, "unknown option --date"},
        {{"geotag", "-n"}, "unknown option -n"},
        {{"geotag", "--gpx"}, "option --gpx needs a value"},
        {{"geotag", "--json=yes"}, "option --json takes no value"},
        {{"geotag", "--offset", "1.5"}, "--offset takes minutes (-58), minutes:seconds (-58:20) or hours:minutes:seconds (+1:02:20), not \"1.5\""},
        {{"geotag", "--offset", "ten"}, "--offset takes minutes (-58), minutes:seconds (-58:20) or hours:minutes:seconds (+1:02:20), not \"ten\""},
        {{"geotag", "--offset", ""}, "--offset takes minutes (-58), minutes:seconds (-58:20) or hours:minutes:seconds (+1:02:20), not \"\""},
        {{"geotag", "--offset", "2147483648"}, "--offset takes minutes (-58), minutes:seconds (-58:20) or hours:minutes:seconds (+1:02:20), not \"2147483648\""},
        {{"geotag", "--jobs", "0"}, "--jobs takes a whole number from 1 to 256, not \"0\""},
        {{"geotag", "--jobs", "257"}, "--jobs takes a whole number from 1 to 256, not \"257\""},
        {{"geotag", "--jobs", "2x"}, "--jobs takes a whole number from 1 to 256, not \"2x\""},
        {{"geotag", "--max-gap", "-1"}, "--max-gap takes whole seconds from 0 up, not \"-1\""},
        {{"parse", "--camera-zone", "UTC"}, "unknown option --camera-zone"},
        {{"rename", "--latlon", "--osgb"}, "--latlon and --osgb exclude each other"},
        {{"settings", "a", "b", "c"}, "settings takes at most a KEY and a VALUE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        CommandLine line;
        std::string error;
        EXPECT_FALSE(ParseCommandLine(c.args, line, error));
        EXPECT_EQ(c.error, error);
    }
}

TEST(CommandLine, WholeNumbersOnly)
{
    struct {
        const char* text;
        bool ok;
        long long value;
    } cases[] = {
        {"0", true, 0}, {"-60", true, -60}, {"+5", true, 5}, {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483648LL}, {"2147483648", false, 0}, {"-", false, 0},
        {" 1", false, 0}, {"1 ", false, 0}, {"1e3", false, 0}, {"0x10", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        long long value = 0;
        EXPECT_EQ(c.ok, ParseWholeNumber(c.text, INT32_MIN, INT32_MAX, value));
        if (c.ok) {
            EXPECT_EQ(c.value, value);
        }
    }
}
