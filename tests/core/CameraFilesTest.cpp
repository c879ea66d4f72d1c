// Photos as real cameras and phones wrote them (tests/data/cameras): maker notes, previews,
// HEIC, CR3, DNG and CRW. Each gets its position; each JPEG in the file, where nothing but
// the GPS tags, the Software tag and bookkeeping may change, as exiv2 and ExifTool see it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <set>
#include <sstream>

#include "exif/PhotoListing.h"
#include "exif/GpsTagWriter.h"
#include "common/PathText.h"
#include "exif/Workspace.h"
#include "photos/PhotoKinds.h"
#include "support/Photos.h"
#include "support/TestSupport.h"

namespace {

const std::string kCameras = CAMERA_DATA_DIR;

// The camera files as they came, sorted by name.
std::vector<std::string> CameraFiles()
{
    std::vector<std::string> names;
    for (const auto& name : FolderNames(kCameras)) {
        if (IsPhotoName(name) && name.compare(0, 8, "damaged-") != 0)
            names.push_back(name);
    }
    return names;
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// exiv2's view of every tag, unknown ones too, as "KEY TYPE COUNT VALUE". A pointer or
// offset, which any rewrite moves, keeps only its key; so does the raw maker note, whose
// decoded tags are listed one by one.
std::multiset<std::string> Exiv2View(const std::string& path)
{
    static const char* const moved[] = {"Exif.Image.ExifTag", "Exif.Photo.InteroperabilityTag",
        "JPEGInterchangeFormat", "Exif.Thumbnail.StripOffsets", "Exif.MakerNote.Offset", "Exif.MakerNote.ByteOrder",
        "Exif.Photo.MakerNote", "Exif.Nikon3.Preview"};
    std::string listing;
    RunExiv2({"-u", "-PEIXkycv", "--", path}, &listing);
    std::multiset<std::string> view;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        const std::string key = line.substr(0, line.find(' '));
        if (key.compare(0, 13, "Exif.GPSInfo.") == 0 || key == "Exif.Image.GPSTag" || key == "Exif.Image.Software"
            || key.rfind("Warning:", 0) == 0)
            continue;
        const bool isMoved = std::any_of(std::begin(moved), std::end(moved),
                                         [&key](const char* m) { return EndsWith(key, m); });
        view.insert(isMoved ? key : line);
    }
    return view;
}

// ExifTool's view, an independent reader: every tag of every group, apart from the GPS
// group, the Software tag, offsets and the XMP toolkit's name.
std::multiset<std::string> ExifToolView(const std::string& path)
{
    std::string listing;
    RunProgram({"exiftool", "-a", "-u", "-G1", "-s", "-n", "-q", "-q", "--", path}, &listing);
    std::multiset<std::string> view;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        const std::string group = line.substr(0, line.find(']') + 1);
        std::istringstream words(line.substr(group.size()));
        std::string name;
        words >> name;
        if (group == "[GPS]" || group == "[System]" || group == "[File]" || group == "[Composite]"
            || group == "[ExifTool]" || name == "Software" || name == "XMPToolkit" || EndsWith(name, "Offset") || EndsWith(name, "Offsets")
            || EndsWith(name, "Start"))
            continue;
        view.insert(line);
    }
    return view;
}

// Writes every photo of the batch, then lists them as a run would.
std::vector<PhotoTags> WriteThenList(std::vector<GpsWrite>& writes)
{
    Workspace workspace;
    WriteGpsTagsBatch(workspace.Worker(0), writes, "1.00.0.19");
    std::vector<std::string> paths;
    for (const auto& w : writes)
        paths.push_back(w.photoPath);
    return ListPhotos(workspace.Worker(0), paths);
}

GpsWrite WriteFor(const std::string& path, double latitude, bool sidecar)
{
    GpsWrite w;
    w.photoPath = path;
    w.latitude = latitude;
    w.longitude = -3.0215;
    w.elevationText = "61.5";
    w.sidecar = sidecar;
    return w;
}

}  // namespace

TEST(CameraFiles, EveryJpegTakesItsPositionInTheFileAndKeepsEverythingElse)
{
    TempDir dir;
    std::vector<GpsWrite> writes;
    for (const auto& name : CameraFiles()) {
        if (KindOf(name) != PhotoKind::Jpeg)
            continue;
        WriteFile(dir.File(name), ReadFile(kCameras + "/" + name));
        writes.push_back(WriteFor(dir.File(name), 54.4 + 0.01 * static_cast<double>(writes.size()), false));
    }
    ASSERT_EQ(14u, writes.size());
    const std::vector<PhotoTags> tags = WriteThenList(writes);
    for (size_t i = 0; i < writes.size(); ++i) {
        const GpsWrite& w = writes[i];
        const std::string original = kCameras + "/" + FileNameOf(w.photoPath);
        SCOPED_TRACE(original);
        EXPECT_TRUE(w.written) << w.reason;
        EXPECT_EQ("", w.sidecarPath) << w.sidecarReason;
        EXPECT_FALSE(FileExists(SidecarPath(w.photoPath)));
        EXPECT_EQ(ImageData(ReadFile(original)), ImageData(ReadFile(w.photoPath)));
        EXPECT_EQ(Exiv2View(original), Exiv2View(w.photoPath));
        EXPECT_EQ(ExifToolView(original), ExifToolView(w.photoPath));
        ASSERT_TRUE(tags[i].hasPosition);
        EXPECT_NEAR(w.latitude, tags[i].latitude, 1.0 / 6000);   // a hundredth of a minute
        EXPECT_NEAR(w.longitude, tags[i].longitude, 1.0 / 6000);
    }
}

// CR3, which exiv2 can't write, and the RAW files take a sidecar, and the photo stays as it
// was; a HEIC takes the position in its Exif item; asked to write a RAW file itself, the
// writer puts the position in the file or, where that would lose something, in the sidecar.
TEST(CameraFiles, EveryOtherKindGetsItsPosition)
{
    for (const bool rawSidecar : {true, false}) {
        SCOPED_TRACE(rawSidecar ? "RAW into sidecars" : "RAW into the file");
        TempDir dir;
        Workspace workspace;
        std::vector<GpsWrite> writes;
        for (const auto& name : CameraFiles()) {
            if (KindOf(name) == PhotoKind::Jpeg)
                continue;
            WriteFile(dir.File(name), ReadFile(kCameras + "/" + name));
            writes.push_back(WriteFor(dir.File(name), -33.87, UsesSidecar(KindOf(name), rawSidecar)));
        }
        ASSERT_EQ(6u, writes.size());
        const std::vector<PhotoTags> tags = WriteThenList(writes);
        for (size_t i = 0; i < writes.size(); ++i) {
            const GpsWrite& w = writes[i];
            const std::string original = kCameras + "/" + FileNameOf(w.photoPath);
            SCOPED_TRACE(original);
            EXPECT_TRUE(w.written) << w.reason;
            if (!w.sidecarPath.empty()) {
                EXPECT_EQ(ReadFile(original), ReadFile(w.photoPath));
            }
            // Phones store a position of their own, which the listing prefers to the sidecar's.
            const PhotoTags& written = w.sidecarPath.empty() ? tags[i] : ListPhotos(workspace.Worker(0), {w.sidecarPath})[0];
            ASSERT_TRUE(written.hasPosition);
            EXPECT_NEAR(-33.87, written.latitude, 1.0 / 6000);
        }
    }
}

TEST(CameraFiles, AMakerDirectoryExiv2CantReadSendsThePositionToTheSidecar)
{
    TempDir dir;
    Workspace workspace;
    const std::string photo = dir.File("damaged-nikon-d70.jpg");
    const std::string original = ReadFile(kCameras + "/damaged-nikon-d70.jpg");
    WriteFile(photo, original);
    std::vector<GpsWrite> writes = {WriteFor(photo, 51.5, false)};
    WriteGpsTagsBatch(workspace.Worker(0), writes, "1.00.0.19");
    EXPECT_TRUE(writes[0].written) << writes[0].reason;
    EXPECT_EQ(SidecarPath(photo), writes[0].sidecarPath);
    EXPECT_NE(std::string::npos, writes[0].sidecarReason.find("NikonPreview")) << writes[0].sidecarReason;
    EXPECT_EQ(original, ReadFile(photo));
    const std::vector<PhotoTags> tags = ListPhotos(workspace.Worker(0), {photo});
    ASSERT_TRUE(tags[0].hasPosition);
    EXPECT_NEAR(51.5, tags[0].latitude, 1.0 / 6000);
}

// An editor may keep the capture time only in XMP; it serves as the EXIF one would.
TEST(CameraFiles, CaptureTimeFromXmpWhenExifHasNone)
{
    TempDir dir;
    Workspace workspace;
    const std::string photo = dir.File("edited.jpg");
    WriteFile(photo, ReadFile(kCameras + "/exiv2-kodak-dc210.jpg"));
    const PhotoTags exif = ListPhotos(workspace.Worker(0), {photo})[0];
    ASSERT_NE(-1, exif.captureTime);
    ASSERT_EQ(0, RunExiv2({"-M", "del Exif.Photo.DateTimeOriginal", "-M",
                           "set Xmp.exif.DateTimeOriginal 2000-10-26T16:46:51+02:00", "--", photo}));
    const PhotoTags xmp = ListPhotos(workspace.Worker(0), {photo})[0];
    EXPECT_EQ(exif.captureTime, xmp.captureTime);
    EXPECT_EQ(exif.dateText, xmp.dateText);
    // The EXIF time wins over a different XMP one.
    ASSERT_EQ(0, RunExiv2({"-M", "set Exif.Photo.DateTimeOriginal 2000:10:26 16:46:51", "-M",
                           "set Xmp.exif.DateTimeOriginal 2011-01-01T00:00:00", "--", photo}));
    EXPECT_EQ(exif.captureTime, ListPhotos(workspace.Worker(0), {photo})[0].captureTime);
}

// A preview is compared by its bytes: a tool that damages the thumbnail while it moves it
// is caught, and the photo stays as it was.
TEST(CameraFiles, AChangedThumbnailIsCaught)
{
    TempDir dir;
    const std::string photo = dir.File("nikon.jpg");
    const std::string original = ReadFile(kCameras + "/exiv2-nikon-d70.jpg");
    WriteFile(photo, original);
    std::vector<GpsWrite> writes = {WriteFor(photo, 51.5, false)};
    Workspace workspace;
    {
        // After the real update, two bytes inside the rewritten thumbnail change.
        PlantedExiv2 planted("off=$(" + RealExiv2Path() + " -PEv -K Exif.Thumbnail.JPEGInterchangeFormat -- \"$last\"); "
                             "printf UU | dd of=\"$last\" bs=1 seek=$((off + 312)) conv=notrunc 2>/dev/null");
        WriteGpsTagsBatch(workspace.Worker(0), writes, "1.00.0.19");
    }
    EXPECT_EQ("preview 1 would change", (writes[0].written ? writes[0].sidecarReason : writes[0].reason).substr(0, 22));
    EXPECT_EQ(original, ReadFile(photo));
}

// Canon's arrays start with their own length in bytes, which exiv2 rewrites to the length
// it writes: a camera's odd figure is bookkeeping, and the photo is written in the file,
// with nothing else changed as ExifTool reads it. An entry that is data (the AF array's
// first, which has no length field) still counts.
TEST(CameraFiles, CanonArrayLengthsAreBookkeepingAndTheirEntriesData)
{
    TempDir dir;
    const std::string pristine = kCameras + "/exiv2-canon-eos-20d.jpg";
    std::string bytes = ReadFile(pristine);
    const size_t lengthAt = 952;   // CanonCs.0x0000 (92, little-endian), from exiftool -v5
    ASSERT_EQ(std::string("\x5c\x00\x02\x00", 4), bytes.substr(lengthAt, 4));
    bytes[lengthAt] = static_cast<char>(139);
    struct { const char* name; const char* planted; const char* sidecarReason; } cases[] = {
        {"odd-length.jpg", "", ""},
        {"data-changed.jpg", " -M 'set Exif.CanonPi.0x0000 Short 8' -- \"$last\"",
         "a tag would be lost or changed: Exif.CanonPi.0x0000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string photo = dir.File(c.name);
        WriteFile(photo, bytes);
        std::vector<GpsWrite> writes = {WriteFor(photo, 51.5, false)};
        {
            std::unique_ptr<PlantedExiv2> planted;
            if (*c.planted)
                planted = std::make_unique<PlantedExiv2>(RealExiv2Path() + c.planted);
            Workspace workspace;
            WriteGpsTagsBatch(workspace.Worker(0), writes, "1.00.0.19");
        }
        if (*c.sidecarReason) {
            // The planted edit spoils the sidecar's write too: the photo is what counts.
            const std::string& why = writes[0].written ? writes[0].sidecarReason : writes[0].reason;
            EXPECT_EQ(c.sidecarReason, why.substr(0, std::strlen(c.sidecarReason))) << why;
            EXPECT_EQ(bytes, ReadFile(photo));
            continue;
        }
        ASSERT_TRUE(writes[0].written) << writes[0].reason;
        EXPECT_EQ("", writes[0].sidecarPath) << writes[0].sidecarReason;
        EXPECT_EQ(Exiv2View(pristine), Exiv2View(photo));   // the length is 92 again
        EXPECT_EQ(ExifToolView(pristine), ExifToolView(photo));
    }
}
