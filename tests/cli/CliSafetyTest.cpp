// The terminal tool's run under broken or traced system calls (tests/helpers/SyscallShim.cpp),
// and the outcomes around a write that a photo's owner relies on.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/CliFixture.h"
#include "common/PathText.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The index of the first line that starts with prefix and ends with suffix, or -1.
int Find(const std::vector<std::string>& lines, const std::string& prefix, const std::string& suffix)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.compare(0, prefix.size(), prefix) == 0 && l.size() >= suffix.size()
            && l.compare(l.size() - suffix.size(), suffix.size(), suffix) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

class CliSafety : public CliFixture {
protected:
    // Runs with the shim loaded and the given switches set.
    CliResult RunShimmed(const std::vector<std::string>& args, const std::vector<std::string>& switches)
    {
        std::vector<std::string> saved = env;
        env.push_back(std::string("LD_PRELOAD=") + SHIM_PATH);
        env.push_back("PINROUTE_SHIM_LOG=" + dir.File("calls.log"));
        env.insert(env.end(), switches.begin(), switches.end());
        CliResult result = Run(args);
        env = saved;
        return result;
    }
};

// The copy's data is on disk before it takes the photo's name, and the name is flushed after:
// otherwise a power cut could leave an empty photo.
TEST_F(CliSafety, FlushesTheCopyThenRenamesThenFlushesTheFolder)
{
    const std::string gpx = WriteTrack();
    WriteJpegTakenAt(photos + "/p.jpg", "2023:06:17 08:04:10");
    ASSERT_EQ(0, RunShimmed({"geotag", "--gpx", gpx, photos + "/p.jpg"}, {}).status);
    const std::vector<std::string> calls = Lines(ReadFile(dir.File("calls.log")));
    const int renamed = Find(calls, "rename ", "/p.jpg");
    ASSERT_NE(-1, renamed) << ReadFile(dir.File("calls.log"));
    const std::string copy = calls[static_cast<size_t>(renamed)].substr(7, calls[static_cast<size_t>(renamed)].find(' ', 7) - 7);
    const int flushed = Find(calls, "fsync file ", FileNameOf(copy));
    ASSERT_NE(-1, flushed);
    EXPECT_LT(flushed, renamed);
    EXPECT_LT(renamed, Find(calls, "fsync folder ", FileNameOf(photos)));
}

TEST_F(CliSafety, AFolderThatCantBeFlushedIsReported)
{
    const std::string gpx = WriteTrack();
    WriteJpegTakenAt(photos + "/p.jpg", "2023:06:17 08:04:10");
    // The journal's folder can't be flushed either, which alone stops a run: this is about the photo's.
    ASSERT_EQ(0, Run({"settings", "Journal", "0"}).status);
    const CliResult run = RunShimmed({"geotag", "--gpx", gpx, photos + "/p.jpg"}, {"PINROUTE_SHIM_FAIL_FOLDER_FSYNC=1"});
    EXPECT_EQ(1, run.status);
    const auto fields = Fields(Lines(run.out).at(0));
    EXPECT_EQ("failed", fields.at(0));
    EXPECT_EQ("Failed to write GPS tags: the photo is written, but the folder could not be flushed: input/output error",
              fields.at(3));
    EXPECT_NE("", StoredLatitude(photos + "/p.jpg"));
}

// Undo and Remove write as GeoTag does, and a photo written whose folder could not be flushed
// is a failure there too: it may lose the change in a power cut.
TEST_F(CliSafety, UndoAndRemoveReportAFolderThatCantBeFlushed)
{
    const std::string gpx = WriteTrack();
    const std::string photo = photos + "/p.jpg";
    WriteJpegTakenAt(photo, "2023:06:17 08:04:10");
    ASSERT_EQ(0, Run({"geotag", "--gpx", gpx, photo}).status);
    // The journal's own folder can't be flushed either, which alone stops a run: unjournalled.
    ASSERT_EQ(0, Run({"settings", "Journal", "0"}).status);
    struct {
        std::vector<std::string> args;
        const char* outcome;
    } cases[] = {{{"undo"}, "not-restored"}, {{"remove", photo}, "failed"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        ASSERT_NE("", StoredLatitude(photo));
        const CliResult run = RunShimmed(c.args, {"PINROUTE_SHIM_FAIL_FOLDER_FSYNC=1"});
        EXPECT_EQ(1, run.status);
        const auto fields = Fields(Lines(run.out).at(0));
        EXPECT_EQ(c.outcome, fields.at(0));
        EXPECT_NE(std::string::npos, fields.at(3).find("the photo is written, but the folder could not be flushed"))
            << fields.at(3);
        EXPECT_EQ("", StoredLatitude(photo)) << "the change itself is made";
        ASSERT_EQ(0, Run({"geotag", "--gpx", gpx, photo}).status);   // a position again for the next case
    }
}

// Under a process limit no thread can be made: the run goes on in the main thread.
TEST_F(CliSafety, RunsWithoutThreads)
{
    const std::string gpx = WriteTrack();
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        WriteJpegTakenAt(photos + "/" + name, "2023:06:17 08:04:10");
    const CliResult run = RunShimmed({"geotag", "--jobs", "4", "--gpx", gpx, photos}, {"PINROUTE_SHIM_NO_THREADS=1"});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(3u, Lines(run.out).size());
    EXPECT_NE("", StoredLatitude(photos + "/c.jpg"));
}

// Output that fails once photos were tagged is no failure to start: exit 1, and say so.
TEST_F(CliSafety, OutputThatFailsAfterTaggingExitsOne)
{
    const std::string gpx = WriteTrack();
    WriteJpegTakenAt(photos + "/p.jpg", "2023:06:17 08:04:10");
    const CliResult run = RunChild("/bin/sh", {"-c", "exec \"$0\" \"$@\" >/dev/full", cli, "geotag", "--gpx", gpx, photos}, env);
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("photos may have been changed")) << run.err;
    EXPECT_NE("", StoredLatitude(photos + "/p.jpg"));
}

// A copy that a killed run left beside the file a link leads to goes at the next run.
TEST_F(CliSafety, RemovesCopiesBesideTheFileALinkLeadsTo)
{
    const std::string gpx = WriteTrack();
    const std::string real = dir.File("card");
    ASSERT_EQ(0, mkdir(real.c_str(), 0700));
    WriteJpegTakenAt(real + "/p.jpg", "2023:06:17 08:04:10");
    const int dead = DeadPid();
    const std::string stale = real + "/.p.jpg.pinroute-" + std::to_string(dead) + "-Ab12Cd";
    WriteFile(stale, "half a photo");
    ASSERT_EQ(0, symlink((real + "/p.jpg").c_str(), (photos + "/p.jpg").c_str()));
    EXPECT_EQ(0, Run({"geotag", "--gpx", gpx, photos}).status);
    EXPECT_FALSE(FileExists(stale));
}

// A point whose ele holds no number writes no altitude, removes the old one, and its text
// is never shown.
TEST_F(CliSafety, APointWithoutANumericElevationWritesNoAltitude)
{
    const std::string photo = photos + "/p.jpg";
    WriteJpegTakenAt(photo, "2023:06:17 08:04:10");
    ASSERT_EQ(0, RunExiv2({"-M", "set Exif.GPSInfo.GPSAltitude Rational 100/1", "--", photo}));
    const std::string gpx = dir.File("t.gpx");
    WriteFile(gpx, "<gpx><trk><trkseg><trkpt lat=\"54.25\" lon=\"-3\"><ele>&amp;lol9;</ele>"
                   "<time>2023-06-17T08:04:10Z</time></trkpt></trkseg></trk></gpx>");
    const CliResult run = Run({"geotag", "--gpx", gpx, photo});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("54.250000 -3.000000", Fields(Lines(run.out).at(0)).at(3));
    std::string listing;
    RunExiv2({"-PEkv", "-K", "Exif.GPSInfo.GPSAltitude", "--", photo}, &listing);
    EXPECT_EQ("", listing);
}

// Every input a run can't use stops it before anything is read or written, with one line
// naming the cause (exit 2); a card's sub-folders are taken with --recursive.
TEST_F(CliSafety, InputsAreCheckedBeforeAnythingRuns)
{
    const std::string gpx = WriteTrack();
    const std::string card = dir.File("card"), empty = dir.File("empty");
    fs::create_directories(card + "/DCIM/100CANON");
    fs::create_directories(empty);
    WriteFile(empty + "/notes.txt", "no photo");
    WriteJpegTakenAt(card + "/DCIM/100CANON/IMG_1.JPG", "2023:06:17 08:04:10");
    const auto before = Snapshot(card + "/DCIM/100CANON");
    struct {
        std::vector<std::string> args;
        std::string readOnly;   // a folder the shim makes read-only
        int status;
        std::string err;        // what stderr starts with
    } cases[] = {
        {{"geotag", "--gpx", gpx, dir.File("typo")}, "", 2, "pinroute-cli: \"" + dir.File("typo") + "\": No such file"},
        {{"parse", empty}, "", 2, "pinroute-cli: The photo folder \"" + empty + "\" has no photos"},
        {{"geotag", "--gpx", gpx, card}, "", 2,
         "pinroute-cli: The photo folder \"" + card + "\" has no photos, but its sub-folders have 1 (DCIM/100CANON): "
         "add --recursive to use them."},
        {{"geotag", "--recursive", "--gpx", gpx, card}, card, 2,
         "pinroute-cli: can't write in \"" + card + "/DCIM/100CANON\": Read-only file system; no photo was changed"},
        {{"rename", "--recursive", card}, card, 2, "pinroute-cli: can't write in"},
        {{"parse", "--recursive", card}, card, 1, "Parse: 0 with a position, 1 without"},   // reading needs no writing
        {{"geotag", "--recursive", "--dry-run", "--gpx", gpx, card}, card, 0, "GeoTag: 1 tagged"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back() + " " + c.args.front());
        const CliResult run = c.readOnly.empty() ? Run(c.args) : RunShimmed(c.args, {"PINROUTE_SHIM_READONLY=" + c.readOnly});
        EXPECT_EQ(c.status, run.status) << run.err;
        EXPECT_EQ(c.err, run.err.substr(0, c.err.size())) << run.err;
        EXPECT_EQ(before, Snapshot(card + "/DCIM/100CANON"));
    }
    const CliResult tagged = Run({"geotag", "--recursive", "--gpx", gpx, card});
    EXPECT_EQ(0, tagged.status) << tagged.err;
    EXPECT_NE("", StoredLatitude(card + "/DCIM/100CANON/IMG_1.JPG"));

    // The settings take a folder as asked, but say what is wrong with it.
    const CliResult set = Run({"settings", "JPGDir", card});
    EXPECT_EQ(0, set.status);
    EXPECT_NE(std::string::npos, set.err.find("warning: The photo folder " + card + " has no photos, but its "
                                              "sub-folders have 1 (DCIM/100CANON): set Recurse to 1")) << set.err;
}
