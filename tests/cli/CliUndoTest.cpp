// The journal and undo, end to end: real photos, the real exiv2, and ExifTool as an
// independent reader of what was put back.
#include <csignal>
#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

#include "cli/CliFixture.h"
#include "common/Timestamps.h"
#include "support/Tracks.h"

namespace fs = std::filesystem;

namespace {

// ExifTool's view of every tag, but those that tell where blocks lie or how big the file is:
// a rewrite moves those, and nothing else may differ.
std::string ExifToolView(const std::string& photo)
{
    std::string out;
    RunProgram({"exiftool", "-a", "-u", "-G1", "-s", "-n", photo}, &out);
    std::string view;
    for (const auto& line : Lines(out)) {
        if (line.find("[System]") == 0 || line.find("[ExifTool]") == 0 || line.find("Offset") != std::string::npos
            || line.find("PreviewImageStart") != std::string::npos || line.find("StripOffsets") != std::string::npos)
            continue;
        view += line + "\n";
    }
    return view;
}

}  // namespace

class CliUndo : public CliFixture {
protected:
    // The run id of the newest journalled run.
    std::string LastRun()
    {
        const CliResult list = Run({"undo", "--list"});
        return Lines(list.out).empty() ? std::string() : Fields(Lines(list.out).at(0)).at(0);
    }
};

// GeoTag then undo gives every photo the tags it had, in the photo and in a sidecar; an undo
// can be undone; a photo edited after the run is left alone unless forced.
TEST_F(CliUndo, UndoPutsBackEveryTagAndLeavesAloneWhatChangedSince)
{
    if (RunProgram({"exiftool", "-ver"}) != 0)
        GTEST_SKIP() << "exiftool (Debian package libimage-exiftool-perl) is missing";
    const std::string gpx = WriteTrack();
    std::vector<std::string> jpegs;
    for (const char* name : {"exiv2-canon-eos-20d.jpg", "exiv2-nikon-d70.jpg", "exiv2-fujifilm-finepix-s2pro.jpg",
                             "exiv2-kodak-dc210.jpg"}) {
        fs::copy_file(std::string(CAMERA_DATA_DIR) + "/" + name, photos + "/" + name);
        ASSERT_EQ(0, RunExiv2({"-M", "set Exif.Photo.DateTimeOriginal 2023:06:17 08:04:10", photos + "/" + name}));
        jpegs.push_back(photos + "/" + name);
    }
    // A RAW photo takes its position in a sidecar, which the undo empties of it again.
    const std::string dng = photos + "/IMG_1361.dng";
    fs::copy_file(std::string(CAMERA_DATA_DIR) + "/IMG_1361.dng", dng);
    ASSERT_EQ(0, RunExiv2({"-M", "set Exif.Photo.DateTimeOriginal 2023:06:17 08:04:10", dng}));
    std::map<std::string, std::string> before;
    for (const auto& p : jpegs)
        before[p] = ExifToolView(p);

    const CliResult tag = Run({"geotag", "--gpx", gpx, "--no-photo-zone", photos});
    ASSERT_EQ(0, tag.status) << tag.err;
    const std::string geotagRun = LastRun();
    ASSERT_NE("", StoredLatitude(jpegs[0]));
    ASSERT_NE("", StoredLatitude(dng + ".xmp"));

    const CliResult undo = Run({"undo"});
    EXPECT_EQ(0, undo.status) << undo.err << undo.out;
    for (const auto& p : jpegs) {
        SCOPED_TRACE(p);
        EXPECT_EQ(before[p], ExifToolView(p));
        EXPECT_EQ("", StoredLatitude(p));
    }
    EXPECT_EQ("", StoredLatitude(dng + ".xmp"));
    // The undo is a run too: undoing it writes the positions again.
    EXPECT_EQ(0, Run({"undo"}).status);
    EXPECT_NE("", StoredLatitude(jpegs[1]));
    EXPECT_EQ(0, Run({"undo", geotagRun}).status) << "an undo of the undo, then the run itself again";

    // A photo changed after the run keeps the change, unless forced.
    ASSERT_EQ(0, Run({"geotag", "--gpx", gpx, jpegs[0], jpegs[1]}).status);
    const std::string second = LastRun();
    ASSERT_EQ(0, RunExiv2({"-M", "set Exif.Image.Artist Someone", jpegs[0]}));
    const CliResult careful = Run({"undo", second});
    EXPECT_EQ(1, careful.status);
    // Two workers journal their photos in either order: each line is found by its path.
    for (const auto& line : Lines(careful.out)) {
        const auto fields = Fields(line);
        EXPECT_EQ(fields.at(1) == jpegs[0] ? "not-restored" : "restored", fields.at(0)) << line;
    }
    EXPECT_NE(std::string::npos, careful.out.find("changed since the run"));
    EXPECT_NE("", StoredLatitude(jpegs[0]));
    EXPECT_EQ("", StoredLatitude(jpegs[1]));
    EXPECT_EQ(0, Run({"undo", "--force", second}).status);
    EXPECT_EQ("", StoredLatitude(jpegs[0]));
}

// A HEIC takes its position in its Exif item; an undo gives back ExifTool's whole view of it
// (but the media data's size: the old Exif stays in the file), after a GeoTag and after a Remove.
TEST_F(CliUndo, AHeicComesBackAsItWas)
{
    if (RunProgram({"exiftool", "-ver"}) != 0)
        GTEST_SKIP() << "exiftool (Debian package libimage-exiftool-perl) is missing";
    const auto view = [](const std::string& photo) {
        std::string kept;
        for (const auto& line : Lines(ExifToolView(photo)))
            if (line.find(" MediaData") == std::string::npos)
                kept += line + "\n";
        return kept;
    };
    const std::string heic = photos + "/IMG_3578.heic";
    fs::copy_file(std::string(CAMERA_DATA_DIR) + "/IMG_3578.heic", heic);
    const std::string gpx = dir.File("phone.gpx");
    WriteFile(gpx, GpxText(EveryMinute(ParseGpxTime("2020-04-17T09:30:00Z"), 60, 51, -1.8, 0.001, "80")));
    const std::vector<std::string> geotag = {"geotag", "--gpx", gpx, "--offset", "0", "--no-photo-zone", heic};
    const std::string before = view(heic);

    ASSERT_EQ(0, Run(geotag).status);
    ASSERT_NE("", StoredLatitude(heic));
    EXPECT_FALSE(fs::exists(heic + ".xmp"));
    ASSERT_EQ(0, Run({"undo"}).status);
    EXPECT_EQ("", StoredLatitude(heic));
    EXPECT_EQ(before, view(heic));

    ASSERT_EQ(0, Run(geotag).status);
    const std::string tagged = view(heic);
    ASSERT_EQ(0, Run({"remove", heic}).status);
    EXPECT_EQ("", StoredLatitude(heic));
    ASSERT_EQ(0, Run({"undo"}).status);
    EXPECT_EQ(tagged, view(heic));
}

// Rename then undo gives the old names; remove then undo gives the position back.
TEST_F(CliUndo, RenamesAndRemovalsComeBack)
{
    const std::string gpx = WriteTrack();
    WriteJpegTakenAt(photos + "/a.jpg", "2023:06:17 08:04:10");
    WriteJpegTakenAt(photos + "/b.jpg", "2023:06:17 08:10:00");
    ASSERT_EQ(0, Run({"geotag", "--gpx", gpx, photos}).status);
    const auto tagged = Snapshot(photos);
    ASSERT_EQ(0, Run({"rename", "--latlon", photos}).status);
    EXPECT_FALSE(tagged == Snapshot(photos));
    ASSERT_EQ(0, Run({"undo"}).status);
    EXPECT_TRUE(tagged == Snapshot(photos)) << "names and bytes as before the rename";

    const CliResult removed = Run({"remove", photos + "/a.jpg"});
    EXPECT_EQ(0, removed.status) << removed.err;
    EXPECT_EQ("", StoredLatitude(photos + "/a.jpg"));
    ASSERT_EQ(0, Run({"undo"}).status);
    EXPECT_NE("", StoredLatitude(photos + "/a.jpg"));
}

// A journal that can't be written stops the run before any photo changes.
TEST_F(CliUndo, AJournalThatCantBeWrittenStopsTheRun)
{
    const std::string gpx = WriteTrack();
    WriteJpegTakenAt(photos + "/a.jpg", "2023:06:17 08:04:10");
    const auto before = Snapshot(photos);
    WriteFile(dir.File("not-a-folder"), "x");
    env.push_back("XDG_STATE_HOME=" + dir.File("not-a-folder"));
    const CliResult run = Run({"geotag", "--gpx", gpx, photos});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("the journal can't be written")) << run.err;
    EXPECT_TRUE(before == Snapshot(photos));
}

// An undo killed at any moment damages nothing, and the next undo of the run completes it.
TEST_F(CliUndo, AKilledUndoIsCompletedByTheNext)
{
    const std::string gpx = WriteTrack();
    for (int i = 0; i < 40; ++i)
        WriteJpegTakenAt(photos + "/p" + std::to_string(i) + ".jpg", "2023:06:17 08:04:10");
    const auto original = Snapshot(photos);
    ASSERT_EQ(0, Run({"geotag", "--gpx", gpx, photos}).status);
    const std::string run = LastRun();
    for (int delay : {30, 150, 400}) {
        const pid_t child = fork();
        if (child == 0) {
            std::vector<char*> argv = {const_cast<char*>(cli.c_str()), const_cast<char*>("undo"),
                                       const_cast<char*>(run.c_str()), nullptr};
            std::vector<char*> envp;
            for (auto& e : env)
                envp.push_back(const_cast<char*>(e.c_str()));
            envp.push_back(nullptr);
            freopen("/dev/null", "w", stdout);
            freopen("/dev/null", "w", stderr);
            execve(cli.c_str(), argv.data(), envp.data());
            _exit(127);
        }
        usleep(static_cast<useconds_t>(delay) * 1000);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        for (const auto& [name, bytes] : Snapshot(photos))   // every photo whole: its old or its new self
            EXPECT_EQ(0, RunExiv2({"-q", "-pa", photos + "/" + name})) << name;
        const CliResult again = Run({"undo", run});
        EXPECT_EQ(0, again.status) << again.out;
        EXPECT_TRUE(original == Snapshot(photos)) << "after a kill at " << delay << " ms";
        ASSERT_EQ(0, Run({"undo"}).status);   // the position again, for the next round
    }
}
