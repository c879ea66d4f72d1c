// The journal and undo, end to end: real photos, the real exiv2, and ExifTool as an
// independent reader of what was put back.
#include <csignal>
#include <filesystem>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/CliFixture.h"
#include "common/Timestamps.h"
#include "support/PhotoKindFiles.h"
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

std::string Software(const std::string& photo)
{
    std::string out;
    RunExiv2({"-Pv", "-K", "Exif.Image.Software", "--", photo}, &out);
    return out.substr(0, out.find('\n'));
}

// A number ExifTool reads from the file, as it stores it ("-n"): "54.25".
std::string ExifToolNumber(const std::string& file, const std::string& tag)
{
    std::string out;
    RunProgram({"exiftool", "-n", "-s3", "-" + tag, file}, &out);
    return Lines(out).empty() ? std::string() : Lines(out).front();
}

// A sidecar with a position that another program wrote, as darktable writes it.
const char kOthersSidecar[] =
    "<?xpacket begin=\"\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
    "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
    "<rdf:Description rdf:about=\"\" xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" exif:GPSLatitude=\"51,30.0000N\" "
    "exif:GPSLongitude=\"0,7.5000W\"/></rdf:RDF></x:xmpmeta>\n<?xpacket end=\"w\"?>\n";

}  // namespace

class CliUndo : public CliFixture {
protected:
    // The journal file of a run, to read or to plant.
    std::string JournalFile(const std::string& run) { return dir.File("state/pinroute/" + run + ".json"); }

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

    // The DNG is an iPhone's, with a position of its own: replaced, so that undo brings it back.
    const CliResult tag = Run({"geotag", "--gpx", gpx, "--no-photo-zone", "--replace", photos});
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
    // Forced with no run named after that partial undo: the same run again, never the undo.
    const CliResult forced = Run({"undo", "--force"});
    EXPECT_EQ(0, forced.status) << forced.err;
    EXPECT_NE(std::string::npos, forced.err.find("(run " + second + ", geotag)")) << forced.err;
    EXPECT_EQ("", StoredLatitude(jpegs[0]));
    EXPECT_EQ("", StoredLatitude(jpegs[1]));
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

    // Remove takes Pinroute's Software tag with the position, and leaves another program's.
    ASSERT_EQ(0, RunExiv2({"-M", "set Exif.Image.Software Android 13", photos + "/b.jpg"}));
    const CliResult removed = Run({"remove", photos + "/a.jpg", photos + "/b.jpg"});
    EXPECT_EQ(0, removed.status) << removed.err;
    EXPECT_EQ("", StoredLatitude(photos + "/a.jpg"));
    EXPECT_EQ("", StoredLatitude(photos + "/b.jpg"));
    EXPECT_EQ("", Software(photos + "/a.jpg"));
    EXPECT_EQ("Android 13", Software(photos + "/b.jpg"));
    ASSERT_EQ(0, Run({"undo"}).status);
    EXPECT_NE("", StoredLatitude(photos + "/a.jpg"));
    EXPECT_EQ(0u, Software(photos + "/a.jpg").find("GeoTag Software Pinroute v ")) << "put back by the undo";
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
            if (name[0] != '.')   // not the killed undo's hidden copy, which the next undo removes
                EXPECT_EQ(0, RunExiv2({"-q", "-pa", photos + "/" + name})) << name;
        const CliResult again = Run({"undo", run});
        EXPECT_EQ(0, again.status) << again.out;
        EXPECT_TRUE(original == Snapshot(photos)) << "after a kill at " << delay << " ms";
        ASSERT_EQ(0, Run({"undo"}).status);   // the position again, for the next round
    }
}

// The journal's paths are absolute: a run given a relative folder is undone from anywhere.
TEST_F(CliUndo, UndoWorksFromAnyFolder)
{
    const std::string gpx = WriteTrack();
    WriteJpegTakenAt(photos + "/a.jpg", "2023:06:17 08:04:10");
    const auto original = Snapshot(photos);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"geotag", "--gpx", gpx, "photos"},
                                                 std::vector<std::string>{"rename", "--latlon", "photos"}}) {
        SCOPED_TRACE(args[0]);
        if (args[0] == "rename") {
            ASSERT_EQ(0, Run({"geotag", "--gpx", gpx, photos}).status);
        }
        const auto before = Snapshot(photos);
        ASSERT_EQ(0, Run(args, dir.Path()).status);
        ASSERT_FALSE(before == Snapshot(photos));
        const CliResult undo = Run({"undo", LastRun()}, "/");
        EXPECT_EQ(0, undo.status) << undo.err << undo.out;
        EXPECT_TRUE(before == Snapshot(photos));
    }
    EXPECT_EQ(original.size(), Snapshot(photos).size());
}

// A journal key holding a line break would reach exiv2's command file as a second command:
// the run is refused with the reason, and no photo changes.
TEST_F(CliUndo, AnInjectedKeyIsRefusedAndNothingChanges)
{
    const std::string gpx = WriteTrack();
    WriteJpegTakenAt(photos + "/a.jpg", "2023:06:17 08:04:10");
    ASSERT_EQ(0, Run({"geotag", "--gpx", gpx, photos}).status);
    const std::string run = LastRun();
    std::string text = ReadFile(JournalFile(run));
    const std::string key = "\"Exif.GPSInfo.GPSMapDatum\"";
    ASSERT_NE(std::string::npos, text.find(key)) << text;
    text.replace(text.find(key), key.size(), "\"Exif.GPSInfo.GPSMapDatum\\nadd Exif.Image.Artist Ascii \\\"Mallory\\\"\"");
    WriteFile(JournalFile(run), text);
    const auto before = Snapshot(photos);
    const CliResult undo = Run({"undo", run});
    EXPECT_EQ(2, undo.status);
    EXPECT_NE(std::string::npos, undo.err.find("is not a tag name")) << undo.err;
    EXPECT_TRUE(before == Snapshot(photos));
}

// A damaged journal is listed with its reason, and undo names it rather than skipping to an
// older run.
TEST_F(CliUndo, ADamagedJournalIsNamedNeverSkipped)
{
    const std::string gpx = WriteTrack();
    WriteJpegTakenAt(photos + "/a.jpg", "2023:06:17 08:04:10");
    ASSERT_EQ(0, Run({"geotag", "--gpx", gpx, photos}).status);
    const std::string older = LastRun();
    const std::string damaged = "20991231-235959-7";   // newer than any run of the test
    WriteFile(JournalFile(damaged), "{\"id\":\"" + damaged + "\",\"photos\":[{\"photo\":");
    ASSERT_EQ(0, chmod(JournalFile(damaged).c_str(), 0600));
    const auto before = Snapshot(photos);

    const std::vector<std::string> listed = Lines(Run({"undo", "--list"}).out);
    ASSERT_EQ(2u, listed.size());
    EXPECT_EQ(damaged, Fields(listed[0]).at(0));
    EXPECT_EQ(0u, Fields(listed[0]).at(2).find("damaged: ")) << listed[0];
    EXPECT_EQ(older, Fields(listed[1]).at(0));
    const CliResult undo = Run({"undo"});
    EXPECT_EQ(2, undo.status);
    EXPECT_NE(std::string::npos, undo.err.find("the newest run, " + damaged + ", can't be undone: damaged")) << undo.err;
    EXPECT_TRUE(before == Snapshot(photos));
}

// The hidden copies of a run killed before it journalled any photo go with the undo.
TEST_F(CliUndo, UndoRemovesTheCopiesAKilledRunLeft)
{
    WriteJpegTakenAt(photos + "/a.jpg", "2023:06:17 08:04:10");
    const std::string copy = photos + "/.a.jpg.pinroute-" + std::to_string(DeadPid()) + "-Ab12Cd";
    WriteFile(copy, std::string(4096, 'x'));
    // The record as Begin saved it: the run's folders, and no photo yet.
    const std::string run = "20261207-101010-" + std::to_string(DeadPid());
    ASSERT_EQ(0, mkdir(dir.File("state").c_str(), 0700));
    ASSERT_EQ(0, mkdir(dir.File("state/pinroute").c_str(), 0700));
    WriteFile(JournalFile(run), "{\"id\":\"" + run + "\",\"time\":1796638210,\"command\":\"geotag\",\"folder\":\""
                                    + photos + "\",\"folders\":[\"" + photos + "\"],\"finished\":false,\"photos\":[]}");
    ASSERT_EQ(0, chmod(JournalFile(run).c_str(), 0600));
    const CliResult undo = Run({"undo", run});
    EXPECT_EQ(0, undo.status) << undo.err;
    EXPECT_FALSE(FileExists(copy));
    EXPECT_TRUE(FileExists(photos + "/a.jpg"));
}

namespace {

// The index of the first line from `from` on that starts with prefix and holds part, or -1.
int FindCall(const std::vector<std::string>& calls, const std::string& prefix, const std::string& part, int from = 0)
{
    for (size_t i = static_cast<size_t>(from); i < calls.size(); ++i)
        if (calls[i].compare(0, prefix.size(), prefix) == 0 && calls[i].find(part) != std::string::npos)
            return static_cast<int>(i);
    return -1;
}

}  // namespace

// The journal's record of a photo is flushed and in place before the photo's rename; a journal
// write that fails part way stops every photo, and leaves nothing behind.
TEST_F(CliUndo, TheJournalIsOnDiskBeforeAPhotoChanges)
{
    const std::string gpx = WriteTrack();
    WriteJpegTakenAt(photos + "/a.jpg", "2023:06:17 08:04:10");
    WriteJpegTakenAt(photos + "/b.jpg", "2023:06:17 08:05:10");
    env.push_back(std::string("LD_PRELOAD=") + SHIM_PATH);
    env.push_back("PINROUTE_SHIM_LOG=" + dir.File("calls.log"));
    ASSERT_EQ(0, Run({"geotag", "--gpx", gpx, photos + "/a.jpg"}).status);
    const std::vector<std::string> calls = Lines(ReadFile(dir.File("calls.log")));
    const std::string journal = dir.File("state/pinroute/");
    const int photo = FindCall(calls, "rename ", photos + "/a.jpg");
    ASSERT_NE(-1, photo) << ReadFile(dir.File("calls.log"));
    // The record saves before the photo's rename: the first holds no photo yet, so there are
    // two at least; the last of them is flushed, renamed into place, and its folder flushed.
    std::vector<int> saves;
    for (int i = FindCall(calls, "rename ", journal); i != -1 && i < photo; i = FindCall(calls, "rename ", journal, i + 1))
        saves.push_back(i);
    ASSERT_GE(saves.size(), 2u) << ReadFile(dir.File("calls.log"));
    const int save = saves.back();
    const std::string temp = calls[static_cast<size_t>(save)].substr(7, calls[static_cast<size_t>(save)].find(' ', 7) - 7);
    const int flushed = FindCall(calls, "fsync file ", temp);
    EXPECT_NE(-1, flushed);
    EXPECT_LT(flushed, save);
    const int folderFlushed = FindCall(calls, "fsync folder ", dir.File("state/pinroute"), save);
    EXPECT_NE(-1, folderFlushed);
    EXPECT_LT(folderFlushed, photo);

    ASSERT_EQ(0, Run({"undo"}).status);
    const auto before = Snapshot(photos);
    env.push_back("PINROUTE_SHIM_FAIL_WRITE_OF=\"beforeHash\"");
    const CliResult failed = Run({"geotag", "--gpx", gpx, photos});
    EXPECT_EQ(1, failed.status);
    for (const auto& line : Lines(failed.out))
        EXPECT_NE(std::string::npos, line.find("the journal can't be written: no space left on device")) << line;
    EXPECT_TRUE(before == Snapshot(photos)) << "a photo changed, or a copy was left";
}

// GeoTag keeps a position Pinroute didn't write (a phone's in the photo, another program's in
// a RAW's sidecar) unless --replace; one it wrote itself is written again, so a corrected
// offset still moves it, and 0 N 0 E is no position to keep. ExifTool reads what the files hold.
TEST_F(CliUndo, GeoTagKeepsPositionsItDidNotWrite)
{
    if (RunProgram({"exiftool", "-ver"}) != 0)
        GTEST_SKIP() << "exiftool (Debian package libimage-exiftool-perl) is missing";
    const std::string gpx = WriteTrack();   // 08:04 UTC is at 54.25
    const std::string iphone = photos + "/IMG_1361.dng";
    fs::copy_file(std::string(CAMERA_DATA_DIR) + "/IMG_1361.dng", iphone);
    ASSERT_EQ(0, RunExiv2({"-M", "set Exif.Photo.DateTimeOriginal 2023:06:17 03:04:10", iphone}));   // -05:00
    const std::string phone = photos + "/phone.jpg";
    WriteJpegTakenAt(phone, "2023:06:17 08:04:10");
    ASSERT_EQ(0, RunExiv2({"-M", "set Exif.GPSInfo.GPSLatitudeRef N", "-M", "set Exif.GPSInfo.GPSLatitude 48/1 51/1 24/1",
                           "-M", "set Exif.GPSInfo.GPSLongitudeRef E", "-M", "set Exif.GPSInfo.GPSLongitude 2/1 21/1 3/1",
                           phone}));
    const std::string raw = photos + "/edited.dng";
    ASSERT_TRUE(MakeKindPhoto(raw, "2023:06:17 08:04:10"));
    WriteFile(raw + ".xmp", kOthersSidecar);
    const std::string plain = photos + "/plain.jpg";
    WriteJpegTakenAt(plain, "2023:06:17 08:04:10");
    const std::string noFix = photos + "/no fix.jpg";   // 0 N 0 E: a camera's GPS without a fix
    WriteJpegTakenAt(noFix, "2023:06:17 08:04:10");
    ASSERT_EQ(0, RunExiv2({"-M", "set Exif.GPSInfo.GPSLatitudeRef N", "-M", "set Exif.GPSInfo.GPSLatitude 0/1 0/1 0/1",
                           "-M", "set Exif.GPSInfo.GPSLongitudeRef E", "-M", "set Exif.GPSInfo.GPSLongitude 0/1 0/1 0/1",
                           noFix}));
    const auto before = Snapshot(photos);

    const CliResult keep = Run({"geotag", "--gpx", gpx, photos});
    EXPECT_EQ(0, keep.status) << keep.err;
    EXPECT_EQ("GeoTag: 2 tagged, 3 kept, 0 rejected, 0 failed\n", keep.err);
    EXPECT_EQ("kept", Fields(Lines(keep.out).at(0)).at(0)) << keep.out;
    for (const char* name : {"IMG_1361.dng", "edited.dng", "edited.dng.xmp", "phone.jpg"})
        EXPECT_EQ(before.at(name), ReadFile(photos + "/" + name)) << name;
    EXPECT_FALSE(fs::exists(iphone + ".xmp"));
    EXPECT_EQ("48.8566666666667", ExifToolNumber(phone, "GPSLatitude"));
    EXPECT_EQ("54.25", ExifToolNumber(plain, "GPSLatitude"));
    EXPECT_EQ("54.25", ExifToolNumber(noFix, "GPSLatitude"));

    // The camera ran a minute ahead after all: 08:03 UTC, at 54.1875.
    const CliResult corrected = Run({"geotag", "--gpx", gpx, "--offset", "1", photos});
    EXPECT_EQ("GeoTag: 2 tagged, 3 kept, 0 rejected, 0 failed\n", corrected.err);
    EXPECT_EQ("54.1875", ExifToolNumber(plain, "GPSLatitude"));

    const CliResult replace = Run({"geotag", "--gpx", gpx, "--replace", photos});
    EXPECT_EQ("GeoTag: 5 tagged, 0 rejected, 0 failed (2 in sidecars)\n", replace.err);
    EXPECT_EQ("54.25", ExifToolNumber(phone, "GPSLatitude"));
    EXPECT_EQ("54.25", ExifToolNumber(iphone + ".xmp", "GPSLatitude"));
    EXPECT_EQ("54.25", ExifToolNumber(raw + ".xmp", "GPSLatitude"));
    // Now every position is Pinroute's: the journal says so for the sidecars.
    EXPECT_EQ("GeoTag: 5 tagged, 0 rejected, 0 failed (2 in sidecars)\n", Run({"geotag", "--gpx", gpx, photos}).err);
    // Parse shows what darktable and digiKam show: a RAW's sidecar before the RAW itself.
    EXPECT_EQ("parsed\t" + iphone + "\t2023:06:17\t54.250000 -3.000000\t\n", Run({"parse", "--latlon", iphone}).out);
}
