#include "photos/PositionTip.h"
#include "coords/MapAddress.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "exif/Workspace.h"
#include "geotag/GeoTag.h"
#include "parse/ParseRun.h"
#include "photos/PhotoList.h"
#include "run/RunControl.h"
#include "run/RunFeedback.h"
#include "support/TestSupport.h"
#include "support/Tracks.h"

namespace {

}  // namespace

TEST(MapAddress, PutsLatitudeAndLongitudeInBothPlaces)
{
    struct { double lat, lon; const char* address; } cases[] = {
        {51.4775, -0.0014, "https://www.openstreetmap.org/?mlat=51.477500&mlon=-0.001400#map=17/51.477500/-0.001400"},
        {-33.856784, 151.215297,
         "https://www.openstreetmap.org/?mlat=-33.856784&mlon=151.215297#map=17/-33.856784/151.215297"},
        {0, 0, "https://www.openstreetmap.org/?mlat=0.000000&mlon=0.000000#map=17/0.000000/0.000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ(c.address, MapAddress(c.lat, c.lon));
    }
    DecimalCommaLocale comma;
    if (!comma.Active())
        GTEST_SKIP() << "no decimal-comma locale";
    EXPECT_EQ(cases[0].address, MapAddress(51.4775, -0.0014));
}

TEST(PositionTip, ShowsTheGridReferenceOnlyWhereTheGridApplies)
{
    struct { const char* what; RowPosition position; const char* tip; } cases[] = {
        {"Greenwich, read", {51.4775, -0.0014, false}, "Position:\n51.477500 -0.001400\nTQ 38891 77287"},
        {"Greenwich, written", {51.4775, -0.0014, true}, "Position written:\n51.477500 -0.001400\nTQ 38891 77287"},
        {"Paris", {48.8566, 2.3522, false},
         "Position:\n48.856600 2.352200\noutside the British grid: shown as latitude/longitude"},
        {"Sydney", {-33.856784, 151.215297, true},
         "Position written:\n-33.856784 151.215297\noutside the British grid: shown as latitude/longitude"},
        {"west of the grid's squares, inside its area", {50.0, -8.9, false},
         "Position:\n50.000000 -8.900000\noutside the British grid: shown as latitude/longitude"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.tip, PositionTip(c.position));
    }
}

TEST(PhotoListTip, AFailureReasonComesBeforeThePosition)
{
    PhotoList list;
    list.AddDroppedFiles({"/trips/a.jpg"});
    EXPECT_EQ("", list.Tip(0));
    RowOutcome outcome;
    outcome.icon = RowIcon::Tick;
    outcome.position = RowPosition{51.4775, -0.0014, false};
    list.SetRow(0, outcome);
    EXPECT_EQ(PositionTip(*outcome.position), list.Tip(0));
    outcome.tip = "a tag would be lost: Exif.Image.ImageDescription";   // so it went to the sidecar
    list.SetRow(0, outcome);
    EXPECT_EQ(outcome.tip.English() + "\n" + PositionTip(*outcome.position), list.Tip(0));
    list.SetRow(0, RowOutcome());   // a later run that found no position
    EXPECT_FALSE(list.Row(0).position.has_value());
    EXPECT_EQ("", list.Tip(0));
}

// The runs fill the row's position: Parse with what it read, GeoTag with what it wrote.
TEST(RowPositions, ParseReadsAndGeoTagWrites)
{
    TempDir tmp;
    const std::string folder = tmp.File("my photos") + "/";
    mkdir(folder.c_str(), 0755);
    WriteJpegTakenAt(folder + "a.jpg", "2006:05:01 10:00:00");
    WriteTinyJpeg(folder + "b.jpg");   // no capture time
    WriteFile(tmp.File("walk.gpx"), GpxText({{54.4575, -3.0235, "2006-05-01T10:01:00Z", ""}}));
    Settings settings;
    settings.GPXPath = tmp.File("walk.gpx");
    PhotoList list;
    list.LoadFolder(folder);
    RecordingFeedback feedback;
    Workspace workspace;
    {
        RunControl control;
        GeoTag(settings, "1.00.0.19", list, feedback, workspace, control, true);   // dry run
    }
    EXPECT_FALSE(list.Row(0).position.has_value());
    {
        RunControl control;
        ASSERT_EQ(RunStatus::Done, GeoTag(settings, "1.00.0.19", list, feedback, workspace, control).status);
    }
    ASSERT_TRUE(list.Row(0).position.has_value());
    EXPECT_TRUE(list.Row(0).position->written);
    // What the photo holds: minutes to the hundredth, truncated; 1.41' stays 1.41' although
    // it is 1.40999... in doubles.
    EXPECT_DOUBLE_EQ(54.4575, list.Row(0).position->latitude);
    EXPECT_DOUBLE_EQ(-(3 + 1.41 / 60), list.Row(0).position->longitude);
    EXPECT_FALSE(list.Row(1).position.has_value());

    RunControl control;
    ASSERT_EQ(RunStatus::Done, Parse(settings, list, feedback, workspace, control).status);
    ASSERT_TRUE(list.Row(0).position.has_value());
    EXPECT_FALSE(list.Row(0).position->written);
    // Written as degrees and hundredths of minutes: within 0.0002 degrees of the point.
    EXPECT_NEAR(54.4575, list.Row(0).position->latitude, 0.0002);
    EXPECT_NEAR(-3.0235, list.Row(0).position->longitude, 0.0002);
    EXPECT_FALSE(list.Row(1).position.has_value());
    EXPECT_NE(std::string::npos, list.Tip(0).find("NY "));
}
