#include <cctype>

#include "cli/CliFixture.h"

using CliSettings = CliFixture;

namespace {

const char kStored[] =
    "[Config]\n"
    "JPGDir=/nowhere/photos/\n"
    "GPXPath=/nowhere/wrong.gpx\n"
    "Date=1\n"
    "Posn=0\n"
    "DisplayType=1\n"
    "OffsetMinutes=60\n";

}  // namespace

TEST_F(CliSettings, OptionsOverrideTheSettingsForOneRunWithoutSavingThem)
{
    const std::string gpx = WriteTrack();
    WriteJpegTakenAt(photos + "/a.jpg", "2023:06:17 08:04:10");
    std::string stored = kStored;
    stored.replace(stored.find("/nowhere/photos/"), 16, photos + "/");
    WriteFile(ini, stored);

    // The stored offset of an hour would reject the photo; the stored GPX file is missing.
    CliResult stale = Run({"geotag", "--gpx", gpx, "--dry-run"});
    EXPECT_EQ(1, stale.status) << stale.err;
    EXPECT_EQ("rejected", Fields(stale.out).at(0));

    CliResult dry = Run({"geotag", "--gpx", gpx, "--offset", "0", "--dry-run"});
    EXPECT_EQ(0, dry.status) << dry.err;
    EXPECT_EQ("would-tag\t" + photos + "/a.jpg\t2023:06:17\t54.250000 -3.000000, 104.5 m\t10\n", dry.out);

    CliResult tag = Run({"geotag", "--gpx", gpx, "--offset=0"});
    EXPECT_EQ(0, tag.status) << tag.err;

    CliResult latlon = Run({"parse", "--latlon"});
    EXPECT_EQ("parsed\t" + photos + "/a.jpg\t2023:06:17\t54.250000 -3.000000\t\n", latlon.out);
    CliResult osgb = Run({"parse"});   // the stored DisplayType, 1
    EXPECT_EQ("parsed", Fields(osgb.out).at(0));
    const std::string grid = Fields(Lines(osgb.out).at(0)).at(3);   // such as "SD 37459 00463"
    ASSERT_EQ(14u, grid.size()) << grid;
    EXPECT_TRUE(isupper(grid[0]) && isupper(grid[1]) && grid[2] == ' ') << grid;

    // Stored Date=1, Posn=0: the date only; --position alone asks for the position only.
    CliResult byDate = Run({"rename", "--dry-run", "--latlon"});
    EXPECT_EQ(photos + "/a 2023-06-17 .jpg", Fields(Lines(byDate.out).at(0)).at(4));
    CliResult byPosition = Run({"rename", "--dry-run", "--position", "--latlon"});
    EXPECT_EQ(photos + "/a 54.250000 -3.000000.jpg", Fields(Lines(byPosition.out).at(0)).at(4));

    EXPECT_EQ(stored, ReadFile(ini)) << "a run option was saved";
}

TEST_F(CliSettings, ShowsAndStoresThroughTheSetUpChecks)
{
    WriteFile(ini, kStored);
    CliResult all = Run({"settings"});
    EXPECT_EQ(0, all.status) << all.err;
    EXPECT_EQ((std::vector<std::string>{ini, "JPGDir=/nowhere/photos/", "GPXPath=/nowhere/wrong.gpx", "PhotoTrack=",
                                        "Date=1", "Posn=0", "DisplayType=1", "OffsetMinutes=60",
                                        "RawSidecar=1", "Interpolate=0", "PhotoZone=1", "ReplacePositions=0", "Recurse=0", "Journal=1", "ShowMap=1",
                                        "MapTiles=https://tile.openstreetmap.org/{z}/{x}/{y}.png",
                                        "Places=0", "PlaceMaxKm=10", "PlaceLanguage=", "PlaceInName=0",
                                        "ReplacePlaces=0", "OffsetSeconds=0", "MaxGapSeconds=300",
                                        "MaxInterpolationGapSeconds=1800", "CameraZone=", "KeepSoftware=0"}),
              Lines(all.out));

    CliResult missing = Run({"parse"});   // the stored photo folder isn't there
    EXPECT_EQ(2, missing.status);
    EXPECT_EQ("pinroute-cli: photo folder (JPGDir) \"/nowhere/photos/\": No such file or directory\n",
              missing.err);

    CliResult one = Run({"settings", "OffsetMinutes"});
    EXPECT_EQ("60\n", one.out);

    struct {
        std::vector<std::string> args;
        int status;
    } refused[] = {
        {{"settings", "OffsetMinutes", "an hour"}, 2},
        {{"settings", "OffsetMinutes", "1.5"}, 2},
        {{"settings", "DisplayType", "7"}, 2},
        {{"settings", "RawSidecar", "2"}, 2},
        {{"settings", "Colour", "red"}, 2},
        {{"settings", "CameraZone", "Europe/Lundon"}, 2},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.args[1] + "=" + c.args[2]);
        CliResult result = Run(c.args);
        EXPECT_EQ(c.status, result.status);
        EXPECT_EQ(1u, Lines(result.err).size()) << result.err;
        EXPECT_EQ("pinroute-cli: ", result.err.substr(0, 14));
        EXPECT_EQ(kStored, ReadFile(ini)) << "a refused value changed the file";
    }

    EXPECT_EQ(0, Run({"settings", "OffsetMinutes", "-90"}).status);
    EXPECT_EQ("-90\n", Run({"settings", "OffsetMinutes"}).out);
    EXPECT_EQ(0, Run({"settings", "gpxpath", "/t/*.gpx"}).status);   // keys in any letter case
    EXPECT_EQ("/t/*.gpx\n", Run({"settings", "GPXPath"}).out);
    EXPECT_EQ(0, Run({"settings", "RawSidecar", "0"}).status);
    EXPECT_EQ("0\n", Run({"settings", "RawSidecar"}).out);
    EXPECT_EQ("1\n", Run({"settings", "Date"}).out);   // the others stay as they were
}
