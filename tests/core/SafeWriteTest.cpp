#include "exif/SafeWrite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "exif/GpsTagWriter.h"
#include "exif/SafeWrite.h"
#include "exif/Workspace.h"
#include "photos/PhotoKinds.h"
#include "support/InChild.h"
#include "support/Photos.h"
#include "support/TestSupport.h"

namespace {

// A JPEG with the given metadata segments between SOI and the scan.
std::string Jpeg(const std::string& segments)
{
    return std::string("\xFF\xD8", 2) + segments + std::string("\xFF\xDA\x00\x02\x11\x22\xFF\xD9", 8);
}

}  // namespace

TEST(ScanOffset, FindsTheScanOnlyAfterWellFormedSegments)
{
    const std::string app1("\xFF\xE1\x00\x04\xAA\xBB", 6);
    struct { const char* name; std::string bytes; size_t expected; } cases[] = {
        {"no segments", Jpeg(""), 2},
        {"one segment", Jpeg(app1), 8},
        {"fill bytes before a marker", Jpeg(std::string("\xFF\xFF", 2) + app1), 10},
        {"restart marker without a length", Jpeg(std::string("\xFF\xD0", 2) + app1), 10},
        {"not a JPEG", "GIF89a" + Jpeg(""), std::string::npos},
        {"segment runs past the end", std::string("\xFF\xD8\xFF\xE1\x40\x00\xAA", 7), std::string::npos},
        {"cut inside a length", std::string("\xFF\xD8\xFF\xE1\x00", 5), std::string::npos},
        {"length below two", Jpeg(std::string("\xFF\xE1\x00\x01", 4)), std::string::npos},
        {"garbage between segments", Jpeg(app1 + "x" + app1), std::string::npos},
        {"end of image before the scan", std::string("\xFF\xD8\xFF\xD9\xFF\xDA\x00\x02", 8),
         std::string::npos},
        {"empty", "", std::string::npos},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, ScanOffset(c.bytes));
    }
}

TEST(IsCopyName, MatchesOnlyTheHiddenCopyPattern)
{
    struct { const char* name; bool matches; long pid; } cases[] = {
        {".IMG_0001.jpg.pinroute-1234-aB3xYz", true, 1234},
        {".a b.jpg.pinroute-7-000000", true, 7},
        {".x.pinroute-1.pinroute-99-ZZZZZZ", true, 99},
        {"IMG_0001.jpg.pinroute-1234-aB3xYz", false, 0},    // not hidden
        {".IMG_0001.jpg.pinroute-1234-aB3xY", false, 0},    // five random letters
        {".IMG_0001.jpg.pinroute-1234-aB3xYzq", false, 0},
        {".IMG_0001.jpg.pinroute--aB3xYz", false, 0},       // no pid
        {".IMG_0001.jpg.pinroute-12a4-aB3xYz", false, 0},
        {".IMG_0001.jpg.pinroute-0-aB3xYz", false, 0},
        {".IMG_0001.jpg.pinroute-1234-aB3x.z", false, 0},
        {".IMG_0001.jpg.pinroute-1234-aB3xYz.jpg", false, 0},
        {".pinroute-1234-aB3xYz", false, 0},                // no photo name
        {".IMG_0001.jpg.pinroute-12345678901-aB3xYz", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        long pid = 0;
        EXPECT_EQ(c.matches, IsCopyName(c.name, pid));
        if (c.matches) {
            EXPECT_EQ(c.pid, pid);
        }
    }
}

TEST(RemoveStaleCopies, RemovesOnlyCopiesOfEndedRuns)
{
    TempDir dir;
    const std::string dead = std::to_string(DeadPid());
    const std::string live = std::to_string(getppid());
    const std::string stale = ".IMG_0001.jpg.pinroute-" + dead + "-Ab12Cd";
    const std::vector<std::string> kept = {
        ".IMG_0002.jpg.pinroute-" + live + "-Ab12Cd",      // its run is still going
        "IMG_0001.jpg.pinroute-" + dead + "-Ab12Cd",       // the user's, not hidden
        ".IMG_0001.jpg.pinroute-" + dead + "-Ab12Cd.jpg",  // the user's, another ending
        ".IMG_0001.jpg.pinroute-" + dead + "-Ab12",
        "IMG_0001.jpg",
    };
    WriteFile(dir.File(stale), "leftover");
    for (const auto& name : kept)
        WriteFile(dir.File(name), "keep");
    // Only regular files: a folder or a link under the pattern is no copy of ours.
    const std::string folder = ".IMG_0003.jpg.pinroute-" + dead + "-Ab12Cd";
    const std::string link = ".IMG_0004.jpg.pinroute-" + dead + "-Ab12Cd";
    ASSERT_EQ(0, mkdir(dir.File(folder).c_str(), 0700));
    ASSERT_EQ(0, symlink("IMG_0001.jpg", dir.File(link).c_str()));

    RemoveStaleCopies(dir.Path());
    std::vector<std::string> expected = kept;
    expected.push_back(folder);
    expected.push_back(link);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, FolderNames(dir.Path()));
}

TEST(WriteGpsTags, NeverLosesATagNearTheExifSizeLimit)
{
    TempDir dir;
    Workspace workspace;
    const std::string photo = dir.File("big.jpg");
    WriteTinyJpeg(photo);
    // Just small enough to be stored; the GPS tags then push the EXIF block past 64 kB.
    ASSERT_EQ(0, RunExiv2({"-M", "set Exif.Image.ImageDescription " + std::string(65300, 'x'), "--",
                           photo}));
    ASSERT_EQ(std::string(65300, 'x'), TagValue(ListTags(photo), "Exif.Image.ImageDescription"));
    const std::string before = ReadFile(photo);

    std::vector<GpsWrite> writes(1);
    writes[0].photoPath = photo;
    writes[0].latitude = 51.5;
    writes[0].elevationText = "1";
    WriteGpsTagsBatch(workspace.Worker(0), writes, "v");
    EXPECT_TRUE(writes[0].written);
    EXPECT_EQ("a tag would be lost: Exif.Image.ImageDescription", writes[0].sidecarReason);
    EXPECT_EQ(before, ReadFile(photo));
    EXPECT_EQ((std::vector<std::string>{"big.jpg", "big.jpg.xmp"}), FolderNames(dir.Path()));
}

TEST(WriteGpsTags, CatchesAToolThatDamagesTheCopySilently)
{
    const std::string exiv2 = RealExiv2Path();
    // Each fault runs after the real update of the working copy and exits 0, as exiv2 does
    // after a failed write.
    struct { const char* name; std::string fault; const char* reason; } cases[] = {
        {"drops a tag", exiv2 + " -M 'del Exif.Image.Make' -- \"$last\"",
         "a tag would be lost or changed: Exif.Image.Make"},
        {"changes a value", exiv2 + " -M 'set Exif.Image.Make Other' -- \"$last\"",
         "a tag would be lost or changed: Exif.Image.Make"},
        {"drops an XMP tag", exiv2 + " -M 'del Xmp.dc.subject' -- \"$last\"",
         "a tag would be lost or changed: Xmp.dc.subject"},
        {"writes another position",
         exiv2 + " -M 'set Exif.GPSInfo.GPSLatitude 1/1 0/1 0/1' -- \"$last\"",
         "a tag was not written: Exif.GPSInfo.GPSLatitude"},
        {"cuts the file short", "truncate -s 200 \"$last\"", "the tool wrote an incomplete JPEG file"},
        {"says so and fails", "echo 'Error: disk trouble'; exit 1", "Error: disk trouble"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ASSERT_TRUE(WriteCameraPhoto(dir.File("p.jpg"), 40000, 3));
        const std::string before = ReadFile(dir.File("p.jpg"));
        Workspace workspace;
        PlantedExiv2 planted(c.fault);
        std::string reason;
        bool written = WriteGpsTags(workspace.Worker(0), dir.File("p.jpg"), 51.5, -0.1, "1", "v", reason);
        EXPECT_FALSE(written);   // the sidecar, written by the same tool, fails too
        EXPECT_EQ(c.reason, reason.substr(0, reason.find(';')));
        EXPECT_EQ(before, ReadFile(dir.File("p.jpg")));
        EXPECT_EQ(std::vector<std::string>{"p.jpg"}, FolderNames(dir.Path()));
    }
}

TEST(WriteGpsTags, KeepsTextTagsThatLookLikeListingLines)
{
    TempDir dir;
    Workspace workspace;
    const std::string photo = dir.File("p.jpg");
    ASSERT_TRUE(WriteCameraPhoto(photo, 40000, 4));
    const std::string description = "first line\nExif.GPSInfo.GPSLatitude Rational 3 1/1 0/1 0/1\n"
                                    "Exif.Image.Make Ascii 5 Evil\n" + std::string(1019, 'y')
                                    + "Exif.Photo.DateTimeOriginal Ascii 20 2023:06:17 08:04:10";
    ASSERT_EQ(0, RunExiv2({"-M", "set Exif.Image.ImageDescription " + description, "--", photo}));
    const std::vector<std::string> prefixes = {"Exif.GPSInfo.", "Exif.Image.GPSTag", "Exif.Image.ExifTag",
                                               "Exif.Image.Software"};
    const std::vector<std::string> others = TagsOtherThan(ListTags(photo), prefixes);
    const std::string image = ImageData(ReadFile(photo));

    std::string reason;
    ASSERT_TRUE(WriteGpsTags(workspace.Worker(0), photo, 51.5, -0.125, "1", "v", reason)) << reason;
    const std::string listing = ListTags(photo);
    EXPECT_EQ(others, TagsOtherThan(listing, prefixes));
    std::string latitude;   // asked for alone, since the description holds a line like it
    RunExiv2({"-PEkycv", "-K", "Exif.GPSInfo.GPSLatitude", "--", photo}, &latitude);
    EXPECT_EQ("51/1 3000/100 0/1", TagValue(latitude, "Exif.GPSInfo.GPSLatitude"));
    EXPECT_EQ(image, ImageData(ReadFile(photo)));
}

TEST(WriteGpsTags, AFullDiskLeavesThePhotoAsItWas)
{
    TempDir dir;
    const std::string photo = dir.File("p.jpg");
    ASSERT_TRUE(WriteCameraPhoto(photo, 300000, 5));
    const std::string before = ReadFile(photo);
    // The limit on file size stands in for a full disk: writes past it fail as ENOSPC does.
    for (rlim_t limit : {rlim_t(before.size() / 2), rlim_t(before.size() - 1), rlim_t(before.size() + 20)}) {
        SCOPED_TRACE(limit);
        const std::string outcome = InChild([&] {
            signal(SIGXFSZ, SIG_IGN);
            rlimit size{limit, limit};
            setrlimit(RLIMIT_FSIZE, &size);
            Workspace workspace;
            std::string reason;
            const bool written = WriteGpsTags(workspace.Worker(0), photo, 51.5, -0.1, "1", "v", reason);
            return (written ? "written " : "failed ") + reason;
        });
        EXPECT_EQ("failed file too large", outcome);
        EXPECT_EQ(before, ReadFile(photo));
        EXPECT_EQ(std::vector<std::string>{"p.jpg"}, FolderNames(dir.Path()));
    }
}

TEST(WriteGpsTags, TwoWritersAtOnceNeverMixTheirPositions)
{
    TempDir dir;
    const int photos = 6;
    std::vector<std::string> image(photos);
    for (int i = 0; i < photos; ++i) {
        ASSERT_TRUE(WriteCameraPhoto(dir.File("p" + std::to_string(i) + ".jpg"), 200000, 10 + i));
        image[i] = ImageData(ReadFile(dir.File("p" + std::to_string(i) + ".jpg")));
    }
    // Writer 0 puts every photo in the north-east, writer 1 in the south-west.
    std::vector<pid_t> writers;
    for (int w = 0; w < 2; ++w) {
        pid_t pid = fork();
        if (pid == 0) {
            Workspace workspace;
            int failures = 0;   // for any reason but the other writer's change
            for (int round = 0; round < 2; ++round)
                for (int i = 0; i < photos; ++i) {
                    std::string reason;
                    failures += !WriteGpsTags(workspace.Worker(0), dir.File("p" + std::to_string(i) + ".jpg"),
                                              w ? -30.5 : 10.5, w ? -40.5 : 20.5, "1", "v", reason)
                        && reason != "the photo changed during the run; run again";
                }
            _exit(failures);
        }
        writers.push_back(pid);
    }
    for (pid_t pid : writers) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(0, WEXITSTATUS(status));   // every write succeeded, or gave way to the other's
    }
    for (int i = 0; i < photos; ++i) {
        SCOPED_TRACE(i);
        const std::string path = dir.File("p" + std::to_string(i) + ".jpg");
        const std::string listing = ListTags(path);
        const std::string lat = TagValue(listing, "Exif.GPSInfo.GPSLatitudeRef");
        EXPECT_EQ(lat == "N" ? "E" : "W", TagValue(listing, "Exif.GPSInfo.GPSLongitudeRef"));
        EXPECT_EQ(lat == "N" ? "10/1 3000/100 0/1" : "30/1 3000/100 0/1",
                  TagValue(listing, "Exif.GPSInfo.GPSLatitude"));
        EXPECT_EQ(lat == "N" ? "20/1 3000/100 0/1" : "40/1 3000/100 0/1",
                  TagValue(listing, "Exif.GPSInfo.GPSLongitude"));
        EXPECT_EQ("Photo " + std::to_string(10 + i), TagValue(listing, "Exif.Image.ImageDescription"));
        EXPECT_EQ(image[i], ImageData(ReadFile(path)));
    }
    EXPECT_EQ(size_t(photos), FolderNames(dir.Path()).size());
}

// Photos at one spot get the same commands and share one run of the tool; when a shared
// run fails, each photo's own run pins the fault on its photo and the others are written.
TEST(WriteGpsTagsBatch, PhotosAtOneSpotShareARunAndAFaultStaysWithItsPhoto)
{
    for (const bool fault : {false, true}) {
        SCOPED_TRACE(fault ? "a fault in photo 2" : "no fault");
        TempDir dir, log;
        // Counts the runs that update (those with -m) and fails any that include photo 2.
        PlantedExiv2 planted("", "case \" $* \" in *\" -m \"*) echo \"$#\" >>" + log.File("runs") + " ;; esac\n"
                                     + (fault ? "case \"$*\" in *\" -m \"*after-2.jpg*) echo 'Error: planted'; exit 1 ;; esac"
                                              : ""));
        std::vector<GpsWrite> writes(6);
        std::vector<std::string> before;
        for (size_t i = 0; i < writes.size(); ++i) {
            GpsWrite& w = writes[i];
            w.photoPath = dir.File("IMG_" + std::to_string(i) + ".jpg");
            ASSERT_TRUE(WriteCameraPhoto(w.photoPath, 20000, static_cast<uint32_t>(i)));
            before.push_back(ReadFile(w.photoPath));
            // Photos 0-3 within a hundredth of a minute of each other; 4 and 5 elsewhere.
            w.latitude = i < 4 ? 54.45 + 0.00001 * static_cast<double>(i) : 50 + static_cast<double>(i);
            w.longitude = -3.03;
            w.elevationText = "120";
        }
        Workspace workspace;
        WriteGpsTagsBatch(workspace.Worker(0), writes, "v");

        // Three runs for three spots; with the fault, the shared one fails and its four
        // photos get a run each, and the one the tool refuses gets its sidecar.
        const std::string runs = ReadFile(log.File("runs"));
        EXPECT_EQ(fault ? 8 : 3, std::count(runs.begin(), runs.end(), '\n'));
        for (size_t i = 0; i < writes.size(); ++i) {
            SCOPED_TRACE(i);
            const bool refused = fault && i == 2;
            EXPECT_TRUE(writes[i].written) << writes[i].reason;
            EXPECT_EQ(refused ? "Error: planted" : "", writes[i].sidecarReason);
            if (refused) {
                EXPECT_EQ(before[i], ReadFile(writes[i].photoPath));
                EXPECT_TRUE(FileExists(SidecarPath(writes[i].photoPath)));
                continue;
            }
            std::string out;
            ASSERT_EQ(0, RunExiv2({"-PEkycv", "-K", "Exif.GPSInfo.GPSLatitude", "--", writes[i].photoPath}, &out));
            EXPECT_EQ(i < 4 ? "54/1 2700/100 0/1" : std::to_string(50 + i) + "/1 0/100 0/1",
                      TagValue(out, "Exif.GPSInfo.GPSLatitude"));
        }
        EXPECT_EQ(fault ? 7u : 6u, FolderNames(dir.Path()).size());   // no copy left behind
    }
}
