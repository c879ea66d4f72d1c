// Photos from several clocks: phone photos whose positions serve as the track, and the
// offsets of several cameras in one folder.
#include "geotag/GeoTag.h"

#include <cmath>
#include <map>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "exif/Workspace.h"
#include "geotag/ClockOffset.h"
#include "common/PathText.h"
#include "photos/PhotoList.h"
#include "run/RunControl.h"
#include "support/CameraShots.h"
#include "support/TestSupport.h"
#include "support/Tracks.h"

namespace {

// The real iPhone photo states its zone (-06:00) and a fraction of a second: 11:03:31.864
// there is 17:03:31.864 UTC.
const char kPhone[] = "2021-02-13-1929.heic";
const double kPhoneLat = 30.5803667;

// The latitude between the iPhone's point and phone2.jpg's (30.6 at 17:13:31 UTC), seconds
// after 17:03:31.
double PhonesBetween(double seconds)
{
    return kPhoneLat + (30.6 - kPhoneLat) * (seconds - 0.864) / (600 - 0.864);
}

int RowNamed(const PhotoList& list, const std::string& name)
{
    for (int i = 0; i < list.Count(); ++i)
        if (FileNameOf(list.Path(i)) == name)
            return i;
    return -1;
}

}  // namespace

// With no track file (or one of another day), the phone photos place the camera's: the real
// HEIC by the zone it states, a JPEG by its GPS time stamp; one with neither is left out.
TEST(PhotoTrack, PhonePhotosPlaceTheCameraPhotos)
{
    struct Case {
        const char* what;
        bool interpolate;
        bool phonesApart;   // in a folder PhotoTrack names, beside a track file of another day
        const char* firstTip;
        double firstLat, secondLat;   // where ExifTool finds cam1 and cam2
    } cases[] = {
        {"nearest", false, false, "placed from 2021-02-13-1929.heic, 2 min away", kPhoneLat, 30.6},
        {"interpolated", true, false, "placed between 2021-02-13-1929.heic and phone2.jpg, 10 min apart",
         PhonesBetween(120), PhonesBetween(360)},
        {"another folder and a track", true, true, "placed between 2021-02-13-1929.heic and phone2.jpg, 10 min apart",
         PhonesBetween(120), PhonesBetween(360)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir tmp;
        const std::string folder = tmp.Path() + "/my photos/", phones = c.phonesApart ? tmp.Path() + "/phone/" : folder;
        mkdir(folder.c_str(), 0755);
        mkdir(phones.c_str(), 0755);
        ASSERT_EQ(0, RunProgram({"cp", std::string(CAMERA_DATA_DIR) + "/" + kPhone, phones + kPhone}));
        WriteShot(phones, {"phone2.jpg", "Apple", "iPhone XR", "2021:02:13 11:13:31", "", "2021:02:13 17:13:31", true,
                           30.6, -88.1});
        WriteShot(phones, {"phone3.jpg", "Apple", "iPhone XR", "2021:02:13 11:20:00", "", "", true, 30.7, -88.2});
        // The camera's clock is on UTC.
        WriteShot(folder, CameraShot("cam1.jpg", "Canon", "Canon EOS 5D", "2021:02:13 17:05:31"));
        WriteShot(folder, CameraShot("cam2.jpg", "Canon", "Canon EOS 5D", "2021:02:13 17:09:31"));
        Settings settings;
        settings.Interpolate = c.interpolate;
        if (c.phonesApart) {
            settings.PhotoTrack = phones;
            WriteFile(tmp.File("other day.gpx"), GpxText(EveryMinute(1613000000, 10, 10, 10)));
            settings.GPXPath = tmp.File("other day.gpx");
        }
        PhotoList list;
        list.LoadFolder(folder);
        RecordingFeedback feedback;
        Workspace workspace;
        RunControl control(2);
        const RunResult result = GeoTag(settings, "1.00.0.19", list, feedback, workspace, control);
        EXPECT_EQ(RunStatus::Done, result.status);
        EXPECT_EQ(2, result.photoPoints);
        EXPECT_EQ(1, result.photoPointsLeftOut);
        const int cam1 = RowNamed(list, "cam1.jpg");
        ASSERT_GE(cam1, 0);
        EXPECT_EQ(c.firstTip, list.Row(cam1).tip);
        const double expected[] = {c.firstLat, c.secondLat};
        const char* names[] = {"cam1.jpg", "cam2.jpg"};
        for (int i = 0; i < 2; ++i) {
            SCOPED_TRACE(names[i]);
            EXPECT_EQ(RowKind::Tagged, list.Row(RowNamed(list, names[i])).kind);
            double lat = 0, lon = 0;
            ASSERT_TRUE(ExifToolPosition(folder + names[i], lat, lon));
            EXPECT_NEAR(expected[i], lat, c.interpolate ? 1e-5 : 2e-4);   // a hundredth of a minute when nearest
        }
        if (!c.phonesApart) {   // the phone photos keep their own positions; the one left out says why
            EXPECT_EQ(RowKind::Kept, list.Row(RowNamed(list, "phone2.jpg")).kind);
            EXPECT_NE(std::string::npos, list.Row(RowNamed(list, "phone3.jpg")).tip.English().find("can't serve as a track point"));
        }
    }
}

// Two cameras in one folder, one an hour fast and one three minutes slow: Suggest finds the
// offset of each, and with them every photo is placed at its true moment.
TEST(CameraOffsets, SuggestFindsEachCamerasOffsetAndEveryPhotoIsTagged)
{
    TempDir tmp;
    const std::string folder = tmp.Path() + "/trip/";
    mkdir(folder.c_str(), 0755);
    // A logger saving power: a point every 8 minutes, at minute m a thousandth of a degree
    // north for each. (With a point a minute, a clock whole minutes off can't be told from
    // the track: every shifted photo still lands on a point.)
    const int64_t start = 1690000000;
    std::vector<GpxPoint> points;
    for (int minute = 2; minute < 60; minute += 8)
        points.push_back({54.0 + 0.001 * minute, -3.0, GpxTimeText(start + minute * 60), ""});
    WriteFile(tmp.File("walk.gpx"), GpxText(points));
    struct Camera {
        const char* make;
        const char* model;
        int64_t lead;   // seconds the clock runs ahead of UTC
        const char* name;
    } cameras[] = {{"Canon", "Canon EOS 5D", 3600, "Canon EOS 5D"}, {"NIKON CORPORATION", "NIKON D70", -180, "NIKON D70"}};
    std::vector<std::string> paths;
    std::map<std::string, int> minuteOf;   // the track minute each photo was taken at
    for (const Camera& camera : cameras) {
        for (int minute = 10; minute < 50; minute += 8) {
            const std::string name = std::string(camera.model).substr(0, 5) + std::to_string(minute) + ".jpg";
            WriteShot(folder, CameraShot(name, camera.make, camera.model, ExifTimeText(start + minute * 60 + camera.lead)));
            paths.push_back(folder + name);
            minuteOf[name] = minute;
        }
    }
    Settings settings;
    settings.GPXPath = tmp.File("walk.gpx");
    Workspace workspace;
    const SuggestionRun run = SuggestOffsetsFor(settings, paths, workspace);
    ASSERT_TRUE(run.ok) << run.error;
    ASSERT_EQ(2u, run.cameras.size());
    for (size_t i = 0; i < 2; ++i) {
        const CameraGroup& group = run.cameras[i];
        SCOPED_TRACE(group.name);
        const Camera& camera = cameras[i];
        EXPECT_EQ(camera.name, group.name);
        EXPECT_EQ(5, group.photos);
        ASSERT_FALSE(group.best.empty());
        EXPECT_EQ(camera.lead, group.best.front().seconds);
        settings.CameraOffsets[group.name] = static_cast<int32_t>(group.best.front().seconds);
    }

    PhotoList list;
    list.LoadFolder(folder);
    RecordingFeedback feedback;
    RunControl control(2);
    const RunResult result = GeoTag(settings, "1.00.0.19", list, feedback, workspace, control);
    EXPECT_EQ(RunStatus::Done, result.status);
    for (int i = 0; i < list.Count(); ++i) {
        const std::string name = FileNameOf(list.Path(i));
        SCOPED_TRACE(name);
        EXPECT_EQ(RowKind::Tagged, list.Row(i).kind);
        EXPECT_NE(std::string::npos, list.Row(i).tip.English().find(name[0] == 'C' ? "offset +1:00:00 (Canon EOS 5D)"
                                                                       : "offset -0:03:00 (NIKON D70)"))
            << list.Row(i).tip;
        double lat = 0, lon = 0;
        ASSERT_TRUE(ExifToolPosition(list.Path(i), lat, lon));
        EXPECT_NEAR(54.0 + 0.001 * minuteOf[name], lat, 2e-4);   // to a hundredth of a minute
    }
}
