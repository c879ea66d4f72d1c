#include <sys/stat.h>

#include <gtest/gtest.h>

#include "exif/Workspace.h"
#include "geotag/GeoTag.h"
#include "parse/ParseRun.h"
#include "parse/RenamePhoto.h"
#include "photos/PhotoKinds.h"
#include "photos/PhotoList.h"
#include "run/RunControl.h"
#include "run/RunFeedback.h"
#include "support/PhotoKindFiles.h"
#include "support/TestSupport.h"
#include "support/Tracks.h"

namespace {

class KindsRun : public testing::Test {
protected:
    TempDir tmp;
    RecordingFeedback feedback;
    Settings settings;
    Workspace workspace;
    std::string folder = tmp.Path() + "/";

    void SetUp() override
    {
        WriteFile(tmp.File("walk.gpx"), GpxText({{51.5, -3.03, "2023-06-17T08:04:00Z", "20"}}));
        settings.GPXPath = tmp.File("walk.gpx");
        settings.DisplayType = 0;
    }
};

TEST_F(KindsRun, OneGeoTagRunTagsEveryKindInTheFileOrItsSidecar)
{
    // exiv2 can't write RW2, so its position goes into IMG_7.RW2.xmp; the HEIC takes it in its
    // own Exif item, where its capture time comes from.
    const std::vector<std::string> names = {"IMG_1.jpg", "IMG_2.JPEG", "IMG_3.tif", "IMG_4.png",
                                            "IMG_5.dng", "IMG_6.heic", "IMG_7.RW2"};
    for (const auto& name : names)
        ASSERT_TRUE(MakeKindPhoto(folder + name, "2023:06:17 09:04:10")) << name;
    const std::string rawBytes = ReadFile(folder + "IMG_7.RW2");
    ASSERT_EQ("2023:06:17 09:04:10", ListedValue(folder + "IMG_6.heic", "Exif.Photo.DateTimeOriginal"));
    settings.OffsetMinutes = 60;

    PhotoList list;
    list.LoadFolder(folder);
    ASSERT_EQ(7, list.Count());
    RunControl control(2);
    ASSERT_EQ(RunStatus::Done, GeoTag(settings, "9", list, feedback, workspace, control).status);
    for (int i = 0; i < list.Count(); ++i) {
        SCOPED_TRACE(list.Text(i, ColumnName));
        EXPECT_EQ(RowIcon::Tick, list.Row(i).icon) << list.Row(i).tip;
        const std::string path = list.Path(i);
        const bool sidecar = KindOf(path) == PhotoKind::SidecarOnly || KindOf(path) == PhotoKind::Raw;
        EXPECT_EQ(sidecar, FileExists(SidecarPath(path)));
        // exiv2 reads the sidecar's "51,30.00N" back as GPS tags of its own.
        EXPECT_EQ(sidecar ? "51/1 30/1 0/1" : "51/1 3000/100 0/1",
                  ListedValue(sidecar ? SidecarPath(path) : path, "Exif.GPSInfo.GPSLatitude"));
    }
    EXPECT_EQ("51,30.00N", ListedValue(folder + "IMG_7.RW2.xmp", "Xmp.exif.GPSLatitude"));
    // Truncated to the hundredth of a minute like the EXIF tags (3.03 degrees is 1.80
    // minutes, 1.7999... in doubles), so a sidecar and a JPEG of the same moment give the
    // same position.
    EXPECT_EQ("3,1.80W", ListedValue(folder + "IMG_5.dng.xmp", "Xmp.exif.GPSLongitude"));
    EXPECT_EQ("<missing>", ListedValue(folder + "IMG_5.dng", "Exif.GPSInfo.GPSLatitude"));   // RawSidecar 1
    EXPECT_EQ(rawBytes, ReadFile(folder + "IMG_7.RW2"));

    RunControl parseControl(1);
    ASSERT_EQ(RunStatus::Done, Parse(settings, list, feedback, workspace, parseControl).status);
    for (int i = 0; i < list.Count(); ++i) {
        SCOPED_TRACE(list.Text(i, ColumnName));
        EXPECT_EQ(RowIcon::Tick, list.Row(i).icon);
        EXPECT_EQ("2023:06:17", list.Text(i, ColumnDate));
        EXPECT_EQ("51.500000 -3.030000", list.Text(i, ColumnMessage));
    }
}

TEST_F(KindsRun, RawSidecarZeroWritesIntoTheRawFile)
{
    ASSERT_TRUE(MakeKindPhoto(folder + "IMG_5.DNG", "2023:06:17 08:04:10"));
    settings.RawSidecar = 0;
    PhotoList list;
    list.LoadFolder(folder);
    RunControl control(1);
    ASSERT_EQ(RunStatus::Done, GeoTag(settings, "9", list, feedback, workspace, control).status);
    EXPECT_EQ(RowIcon::Tick, list.Row(0).icon) << list.Row(0).tip;
    EXPECT_EQ("51/1 3000/100 0/1", ListedValue(folder + "IMG_5.DNG", "Exif.GPSInfo.GPSLatitude"));
    EXPECT_FALSE(FileExists(folder + "IMG_5.DNG.xmp"));
}

TEST(RenameWithSidecar, MovesBothOrNeither)
{
    NameParts parts;
    parts.date = true;
    parts.dateText = "2023:06:17";
    parts.positionText = "TQ 1 2";
    parts.position = true;
    struct Case {
        const char* what;
        std::vector<const char*> taken;   // names already in the folder
        bool renamed;
    } cases[] = {
        {"both names free", {}, true},
        {"the photo's name taken", {"IMG.CR3"}, false},
        {"the sidecar's name taken", {"IMG.CR3.xmp"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        WriteFile(dir.File("IMG.CR3"), "photo");
        WriteFile(dir.File("IMG.CR3.xmp"), "sidecar");
        for (const char* name : c.taken)
            WriteFile(dir.File(std::string("IMG 2023-06-17 TQ 1 2.") + (name + 4)), "taken");
        const auto before = FolderNames(dir.Path());
        const RenameOutcome checked = RenamePhoto(dir.File("IMG.CR3"), parts, true);
        EXPECT_EQ(c.renamed, checked.renamed);
        EXPECT_EQ(before, FolderNames(dir.Path()));
        const RenameOutcome outcome = RenamePhoto(dir.File("IMG.CR3"), parts);
        EXPECT_EQ(c.renamed, outcome.renamed);
        if (c.renamed) {
            EXPECT_EQ("photo", ReadFile(dir.File("IMG 2023-06-17 TQ 1 2.CR3")));
            EXPECT_EQ("sidecar", ReadFile(dir.File("IMG 2023-06-17 TQ 1 2.CR3.xmp")));
            EXPECT_EQ(2u, FolderNames(dir.Path()).size());
        } else {
            EXPECT_EQ("File or directory specified already exists or could not be created (invalid path)",
                      outcome.message);
            EXPECT_EQ(before, FolderNames(dir.Path()));
            EXPECT_EQ("sidecar", ReadFile(dir.File("IMG.CR3.xmp")));
        }
    }
}

}  // namespace
