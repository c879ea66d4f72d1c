// Photos from several clocks: phone photos whose positions serve as the track, and the
// offsets of several cameras in one folder.
#include "geotag/GeoTag.h"

#include <cmath>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "exif/Workspace.h"
#include "common/PathText.h"
#include "photos/PhotoList.h"
#include "photos/RunControl.h"
#include "support/CameraShots.h"
#include "support/TestSupport.h"
#include "support/Tracks.h"

namespace {

// The real iPhone photo states its zone (-06:00): 11:03:31 there is 17:03:31 UTC.
const char kPhone[] = "2021-02-13-1929.heic";
const double kPhoneLat = 30.5803667, kPhoneLon = -88.0739056;

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
         kPhoneLat + (30.6 - kPhoneLat) * 0.2, kPhoneLat + (30.6 - kPhoneLat) * 0.6},
        {"another folder and a track", true, true, "placed between 2021-02-13-1929.heic and phone2.jpg, 10 min apart",
         kPhoneLat + (30.6 - kPhoneLat) * 0.2, kPhoneLat + (30.6 - kPhoneLat) * 0.6},
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
        WriteShot(folder, {"cam1.jpg", "Canon", "Canon EOS 5D", "2021:02:13 17:05:31"});
        WriteShot(folder, {"cam2.jpg", "Canon", "Canon EOS 5D", "2021:02:13 17:09:31"});
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
            EXPECT_NE(std::string::npos, list.Row(RowNamed(list, "phone3.jpg")).tip.find("can't serve as a track point"));
        }
    }
}
