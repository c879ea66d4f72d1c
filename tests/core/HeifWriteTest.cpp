// HEIC and AVIF photos take their position in the file, their Exif item alone rewritten, or
// else in the sidecar with the reason, the photo untouched: the camera files and copies of a
// real HEIC changed into each shape the in-file write does not cover. ExifTool reads the
// results as an independent reader, and heif-convert (where installed) decodes the pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "common/PathText.h"
#include "exif/GpsTagWriter.h"
#include "exif/PhotoListing.h"
#include "exif/Workspace.h"
#include "photos/PhotoKinds.h"
#include "support/HeifShapes.h"
#include "support/PhotoKindFiles.h"
#include "support/TestSupport.h"

namespace {

const std::string kCameras = CAMERA_DATA_DIR;

struct Row {
    std::string name;
    std::string original;
    bool inFile = false;
    std::string sidecarReason;   // expected, for a HEIF photo that ends in the sidecar
};

// ExifTool's view of every tag but the GPS group, the Software tag, the file's own facts and
// the media data's size, which grows by the new Exif.
std::string ExifToolView(const std::string& path)
{
    std::string listing, view;
    RunProgram({"exiftool", "-a", "-u", "-G1", "-s", "-n", "-q", "-q", "--", path}, &listing);
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("[GPS]", 0) == 0 || line.rfind("[System]", 0) == 0 || line.rfind("[ExifTool]", 0) == 0
            || line.rfind("[Composite]", 0) == 0 || line.find(" Software ") != std::string::npos
            || line.find(" MediaData") != std::string::npos)
            continue;
        view += line + "\n";
    }
    return view;
}

// A signature of the decoded pixels (heif-convert copies the Exif into the PNG, so the PNG's
// bytes differ); "" when heif-convert is not installed.
std::string Decoded(const std::string& photo, const std::string& png)
{
    std::string signature;
    if (RunProgram({"heif-convert", photo, png}) != 0
        || RunProgram({"identify", "-format", "%# %wx%h", png}, &signature) != 0)
        return "";
    return signature;
}

void ExpectWrittenInFile(const Row& row, const GpsWrite& w, const PhotoTags& tags, const TempDir& dir)
{
    const std::string now = ReadFile(w.photoPath), original = dir.File("original");
    WriteFile(original, row.original);
    EXPECT_EQ("", w.sidecarPath) << w.sidecarReason;
    EXPECT_FALSE(FileExists(SidecarPath(w.photoPath)));
    // The old bytes stay where they were, but for the Exif item's offset and length and the
    // media data box's size; the new Exif follows them.
    ASSERT_GT(now.size(), row.original.size());
    size_t changed = 0;
    for (size_t i = 0; i < row.original.size(); ++i)
        changed += now[i] != row.original[i];
    EXPECT_GE(20u, changed);
    EXPECT_EQ(HeifPicture(row.original), HeifPicture(now));
    EXPECT_NE("", HeifPicture(now));
    EXPECT_EQ(ExifToolView(original), ExifToolView(w.photoPath));
    std::string latitude;
    RunProgram({"exiftool", "-n", "-s3", "-GPSLatitude", "--", w.photoPath}, &latitude);
    EXPECT_NEAR(-33.875, std::atof(latitude.c_str()), 1.0 / 6000);
    ASSERT_TRUE(tags.hasPosition);   // exiv2's reading, as Parse and the map get it
    EXPECT_NEAR(-33.875, tags.latitude, 1.0 / 6000);
    const std::string before = dir.File("before.png"), after = dir.File("after.png");
    const std::string decoded = Decoded(original, before);
    EXPECT_EQ(decoded, Decoded(w.photoPath, after));
    if (FileExists("/usr/bin/heif-convert")) {
        EXPECT_NE("", decoded);
    }
}

// The camera files but the JPEGs, two photos heif-enc makes, and the changed copies.
std::vector<Row> Rows(const TempDir& dir)
{
    std::vector<Row> rows;
    for (const auto& name : FolderNames(kCameras)) {
        const PhotoKind kind = KindOf(name);
        if (kind != PhotoKind::NotPhoto && kind != PhotoKind::Jpeg)
            rows.push_back({name, ReadFile(kCameras + "/" + name), kind == PhotoKind::Heif, ""});
    }
    for (const char* name : {"made.heic", "made.avif"}) {
        EXPECT_TRUE(MakeKindPhoto(dir.File(name), "2023:06:17 08:04:10"));
        rows.push_back({name, ReadFile(dir.File(name)), true, ""});
    }
    for (const HeifShape& shape : HeifShapes(ReadFile(kCameras + "/Stonehenge.heic"), ReadFile(kCameras + "/IMG_3578.heic")))
        rows.push_back({shape.name + ".heic", shape.bytes, false, BmffShapeText(shape.shape, shape.detail)});
    return rows;
}

}  // namespace

TEST(HeifWrite, EachPhotoIsWrittenInTheFileOrLeftAsItWasWithItsSidecar)
{
    TempDir dir;
    const std::vector<Row> rows = Rows(dir);
    ASSERT_EQ(19u, rows.size());

    Workspace workspace;
    std::vector<GpsWrite> writes;
    for (const Row& row : rows) {
        const std::string path = dir.File(row.name);
        WriteFile(path, row.original);
        GpsWrite w;
        w.photoPath = path;
        w.latitude = -33.875;
        w.longitude = 151.21;
        w.elevationText = "12";
        w.sidecar = UsesSidecar(KindOf(path), true);
        writes.push_back(w);
    }
    WriteGpsTagsBatch(workspace.Worker(0), writes, "1.00.0.19");
    std::vector<std::string> paths;
    for (const GpsWrite& w : writes)
        paths.push_back(w.photoPath);
    const std::vector<PhotoTags> tags = ListPhotos(workspace.Worker(0), paths);
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].name);
        const GpsWrite& w = writes[i];
        ASSERT_TRUE(w.written) << w.reason;
        EXPECT_EQ("", w.reason);
        if (rows[i].inFile) {
            ExpectWrittenInFile(rows[i], w, tags[i], dir);
            continue;
        }
        EXPECT_EQ(SidecarPath(w.photoPath), w.sidecarPath);
        EXPECT_EQ(rows[i].sidecarReason, w.sidecarReason);
        EXPECT_EQ(rows[i].original, ReadFile(w.photoPath));
        EXPECT_EQ("33,52.50S", ListedValue(w.sidecarPath, "Xmp.exif.GPSLatitude"));
    }
}
