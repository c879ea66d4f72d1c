#include "exif/GpsTagWriter.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "exif/GpsTagWriter.h"
#include "exif/SafeWrite.h"
#include "exif/SafeWrite.h"
#include "exif/Workspace.h"
#include "photos/PhotoKinds.h"
#include "support/PhotoKindFiles.h"
#include "support/Photos.h"
#include "support/TestSupport.h"

namespace {

const char kDate[] = "2023:06:17 08:04:10";

TEST(KindsWrite, WholeFileKindsAreWrittenThroughTheirCopy)
{
    TempDir dir;
    Workspace workspace;
    const std::vector<std::string> names = {"a.tif", "b.PNG", "c.webp", "d.dng", "e.NEF", "f.arw", "g.pef", "h.CR2"};
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        const std::string path = dir.File(name);
        ASSERT_TRUE(MakeKindPhoto(path, kDate));
        chmod(path.c_str(), 0640);
        std::string reason;
        EXPECT_TRUE(WriteGpsTags(workspace.Worker(0), path, 51.4777, -0.0015, "-12.5", "9", reason)) << reason;
        EXPECT_EQ("", reason);
        EXPECT_EQ("51/1 2866/100 0/1", ListedValue(path, "Exif.GPSInfo.GPSLatitude"));
        EXPECT_EQ("W", ListedValue(path, "Exif.GPSInfo.GPSLongitudeRef"));
        EXPECT_EQ("25/2", ListedValue(path, "Exif.GPSInfo.GPSAltitude"));
        EXPECT_EQ("1", ListedValue(path, "Exif.GPSInfo.GPSAltitudeRef"));
        EXPECT_EQ(kDate, ListedValue(path, "Exif.Photo.DateTimeOriginal"));   // kept
        struct stat info;
        ASSERT_EQ(0, stat(path.c_str(), &info));
        EXPECT_EQ(0640u, info.st_mode & 07777);
        EXPECT_FALSE(FileExists(SidecarPath(path)));
    }
    EXPECT_EQ("1 4 0 0", ListedValue(dir.File("d.dng"), "Exif.Image.DNGVersion"));
    std::string summary;
    RunExiv2({"--", dir.File("h.CR2")}, &summary);
    EXPECT_NE(std::string::npos, summary.find("image/x-canon-cr2")) << summary;   // still a CR2
    EXPECT_EQ(names, FolderNames(dir.Path()));
}

TEST(KindsWrite, AFileTheToolCantWriteIsLeftAsItWasWithASidecar)
{
    // Why these kinds always get a sidecar: exiv2 reads them but refuses to write them.
    // Asked to write one in the file anyway, the writer falls back to the sidecar.
    for (const char* name : {"e.rw2"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        Workspace workspace;
        const std::string path = dir.File(name);
        ASSERT_TRUE(MakeKindPhoto(path, kDate));
        ASSERT_EQ(kDate, ListedValue(path, "Exif.Photo.DateTimeOriginal"));   // read, though
        const std::string before = ReadFile(path);
        std::vector<GpsWrite> writes(1);
        writes[0].photoPath = path;
        WriteGpsTagsBatch(workspace.Worker(0), writes, "9");
        EXPECT_TRUE(writes[0].written) << writes[0].reason;
        EXPECT_NE("", writes[0].sidecarReason);
        EXPECT_EQ(before, ReadFile(path));
        EXPECT_EQ((std::vector<std::string>{name, std::string(name) + ".xmp"}), FolderNames(dir.Path()));
    }
}

// The sidecar's XMP position and the GPS tags exiv2 derives from it.
void ExpectSidecarPosition(const std::string& sidecar, const char* latitude, const char* longitude)
{
    EXPECT_EQ(latitude, ListedValue(sidecar, "Xmp.exif.GPSLatitude"));
    EXPECT_EQ(longitude, ListedValue(sidecar, "Xmp.exif.GPSLongitude"));
    EXPECT_EQ("WGS-84", ListedValue(sidecar, "Xmp.exif.GPSMapDatum"));
    EXPECT_EQ("2.2.0.0", ListedValue(sidecar, "Xmp.exif.GPSVersionID"));
}

TEST(KindsWrite, SidecarIsMadeThenUpdatedKeepingItsOtherContent)
{
    TempDir dir;
    Workspace workspace;
    const std::string photo = dir.File("IMG_1.rw2");
    ASSERT_TRUE(MakeKindPhoto(photo, kDate));
    const std::string photoBytes = ReadFile(photo);
    const std::string sidecar = SidecarPath(photo);

    std::vector<GpsWrite> writes(1);
    writes[0] = GpsWrite();
    writes[0].photoPath = photo;
    writes[0].latitude = 51.4777;
    writes[0].longitude = -0.0015;
    writes[0].elevationText = "123.4";
    writes[0].sidecar = true;
    WriteGpsTagsBatch(workspace.Worker(0), writes, "9");
    ASSERT_TRUE(writes[0].written) << writes[0].reason;
    ExpectSidecarPosition(sidecar, "51,28.66N", "0,0.09W");
    EXPECT_EQ("617/5", ListedValue(sidecar, "Xmp.exif.GPSAltitude"));
    EXPECT_EQ("0", ListedValue(sidecar, "Xmp.exif.GPSAltitudeRef"));
    EXPECT_EQ(photoBytes, ReadFile(photo));

    // Someone else's keywords and rating stay when the position changes.
    ASSERT_EQ(0, RunExiv2({"-M", "set Xmp.dc.subject XmpBag harbour", "-M", "set Xmp.xmp.Rating 4", "--", sidecar}));
    writes[0].latitude = -33.5;
    writes[0].longitude = 151.25;
    writes[0].elevationText = "-2";
    WriteGpsTagsBatch(workspace.Worker(0), writes, "9");
    ASSERT_TRUE(writes[0].written) << writes[0].reason;
    ExpectSidecarPosition(sidecar, "33,30.00S", "151,15.00E");
    EXPECT_EQ("1", ListedValue(sidecar, "Xmp.exif.GPSAltitudeRef"));
    EXPECT_EQ("harbour", ListedValue(sidecar, "Xmp.dc.subject"));
    EXPECT_EQ("4", ListedValue(sidecar, "Xmp.xmp.Rating"));
    EXPECT_EQ(photoBytes, ReadFile(photo));
    EXPECT_EQ((std::vector<std::string>{"IMG_1.rw2", "IMG_1.rw2.xmp"}), FolderNames(dir.Path()));
}

TEST(KindsWrite, ANewSidecarNeverReplacesOneMadeMeanwhile)
{
    TempDir dir;
    const std::string target = dir.File("x.cr3.xmp");
    PhotoCopy copy;
    std::string reason;
    ASSERT_TRUE(copy.CreateFor(target, 10, reason)) << reason;
    ASSERT_TRUE(copy.Write("new", 3, reason));
    WriteFile(target, "made meanwhile");
    EXPECT_FALSE(copy.Replace(reason));
    EXPECT_EQ("file exists", reason);
    EXPECT_EQ("made meanwhile", ReadFile(target));
}

TEST(SidecarCommandText, WritesXmpCoordinatesWithHemisphereLetters)
{
    struct { double lat, lon; const char* latText; const char* lonText; } cases[] = {
        // Truncated to the hundredth of a minute, as the EXIF tags are.
        {51.4777, -0.0015, "\"51,28.66N\"", "\"0,0.09W\""},
        {-0.999999, 179.999999, "\"0,59.99S\"", "\"179,59.99E\""},
        {50.9999999, -0.00000001, "\"50,59.99N\"", "\"0,0.00W\""},
        {0, -180, "\"0,0.00N\"", "\"180,0.00W\""},
        {54.45, -3.03, "\"54,27.00N\"", "\"3,1.80W\""},   // 1.7999... in doubles
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.latText);
        const std::string text = SidecarCommandText(c.lat, c.lon, "");
        EXPECT_NE(std::string::npos, text.find(std::string("add Xmp.exif.GPSLatitude XmpText ") + c.latText + "\n"));
        EXPECT_NE(std::string::npos, text.find(std::string("add Xmp.exif.GPSLongitude XmpText ") + c.lonText + "\n"));
        EXPECT_LT(text.rfind("del "), text.find("add "));   // every deletion before the additions
    }
    EXPECT_EQ("", SidecarCommandText(90.5, 0, ""));
}

}  // namespace
