#include "cli/CliFixture.h"

using CliSuggest = CliFixture;

// The track runs 08:00-08:59 UTC; the camera ran an hour ahead.
TEST_F(CliSuggest, SuggestOffsetFindsTheCameraLeadAndChangesNothing)
{
    const std::string gpx = WriteTrack();
    for (const char* time : {"09:04:10", "09:21:00", "09:30:00", "09:58:30"})
        WriteJpegTakenAt(photos + "/IMG " + time + ".jpg", std::string("2023:06:17 ") + time);
    WriteJpegTakenAt(photos + "/late.jpg", "2023:06:20 13:00:00");   // days later
    const auto before = Snapshot(photos);

    CliResult run = Run({"geotag", "--suggest-offset", "--gpx", gpx, photos});
    EXPECT_EQ(0, run.status) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_LE(lines.size(), 4u);
    // The camera kept British Summer Time: the zone where the track starts says so.
    EXPECT_EQ("+60 min: 4 of 5 photos match (Europe/London, summer time)", lines[0]);
    EXPECT_EQ(0u, lines.back().find("The track starts near ")) << lines.back();
    EXPECT_EQ(before, Snapshot(photos)) << "suggesting changed a file";

    CliResult none = Run({"geotag", "--suggest-offset", "--gpx", photos + "/missing.gpx", photos});
    EXPECT_EQ(2, none.status);
    EXPECT_NE(std::string::npos, none.err.find("missing.gpx"));

    CliResult far = Run({"geotag", "--suggest-offset", "--gpx", gpx, photos + "/late.jpg"});
    EXPECT_EQ(1, far.status);
    EXPECT_EQ("no offset puts any of the 1 photos within 300 s of a track point", Lines(far.out).at(0));

    EXPECT_EQ(2, Run({"parse", "--suggest-offset", photos}).status);
}
