#include <csignal>
#include <filesystem>

#include "cli/CliFixture.h"
#include "cli/RowFormat.h"
#include "support/PhotoKindFiles.h"
#include "support/Tracks.h"

namespace fs = std::filesystem;

namespace {

// The line a photo gets, found by its path (the second field).
std::vector<std::string> LineOf(const std::string& out, const std::string& path)
{
    for (const auto& line : Lines(out)) {
        auto fields = Fields(line);
        if (fields.size() > 1 && fields[1] == path)
            return fields;
    }
    return {};
}

}  // namespace

using CliRun = CliFixture;

TEST_F(CliRun, GeoTagDryRunChangesNothingThenTagsThenParseShowsIt)
{
    const std::string gpx = WriteTrack();
    WriteJpegTakenAt(photos + "/b.jpg", "2023:06:17 08:04:10");   // 10 s from 08:04
    WriteJpegTakenAt(photos + "/A.JPG", "2023:06:17 08:30:00");   // on the 08:30 point
    WriteJpegTakenAt(photos + "/c.jpg", "2023:06:17 11:00:00");   // long after the walk
    WriteFile(photos + "/d.jpg", "not a photo");
    WriteFile(photos + "/e.txt", "not listed");
    const auto before = Snapshot(photos);

    CliResult dry = Run({"geotag", "--gpx", gpx, "--dry-run", photos});
    EXPECT_EQ(1, dry.status);
    EXPECT_EQ("GeoTag: 2 tagged, 1 rejected, 0 failed, 1 without a capture time (dry run)\n", dry.err);
    EXPECT_EQ((std::vector<std::string>{
                  "would-tag\t" + photos + "/A.JPG\t2023:06:17\t55.875000 -3.000000, 130.5 m\t0",
                  "would-tag\t" + photos + "/b.jpg\t2023:06:17\t54.250000 -3.000000, 104.5 m\t10",
                  "rejected\t" + photos + "/c.jpg\t\tRejected: nearest track point 2 h 1 min away\t",
                  "no-exif\t" + photos + "/d.jpg\t\tNo EXIF data found\t",
              }),
              Lines(dry.out));
    EXPECT_EQ(before, Snapshot(photos)) << "a dry run changed a file";

    CliResult tag = Run({"geotag", "--gpx", gpx, "--jobs", "2", photos});
    EXPECT_EQ(1, tag.status);
    EXPECT_EQ(Lines(dry.out).size(), Lines(tag.out).size());
    EXPECT_EQ("tagged", LineOf(tag.out, photos + "/A.JPG").at(0));
    EXPECT_EQ("tagged", LineOf(tag.out, photos + "/b.jpg").at(0));
    EXPECT_NE("", StoredLatitude(photos + "/A.JPG"));
    EXPECT_EQ("", StoredLatitude(photos + "/c.jpg"));
    EXPECT_EQ(before.at("c.jpg"), ReadFile(photos + "/c.jpg"));
    EXPECT_EQ(before.at("d.jpg"), ReadFile(photos + "/d.jpg"));

    CliResult parse = Run({"parse", "--latlon", photos});
    EXPECT_EQ(1, parse.status);
    EXPECT_EQ((std::vector<std::string>{
                  "parsed\t" + photos + "/A.JPG\t2023:06:17\t55.875000 -3.000000\t",
                  "parsed\t" + photos + "/b.jpg\t2023:06:17\t54.250000 -3.000000\t",
                  "no-position\t" + photos + "/c.jpg\t2023:06:17\tNo GPS position\t",
                  "no-exif\t" + photos + "/d.jpg\t\tNo EXIF data found\t",
              }),
              Lines(parse.out));

    // The tagged photos alone: everything got what parse aims at.
    EXPECT_EQ(0, Run({"parse", "--osgb", photos + "/A.JPG", photos + "/b.jpg"}).status);
}

TEST_F(CliRun, RenameDryRunShowsNamesThenRenames)
{
    const std::string gpx = WriteTrack();
    WriteJpegTakenAt(photos + "/p.jpg", "2023:06:17 08:10:00");
    WriteJpegTakenAt(photos + "/q.jpg", "2023:06:17 08:10:00");   // no position: not renamed
    ASSERT_EQ(0, Run({"geotag", "--gpx", gpx, photos + "/p.jpg"}).status);
    const auto before = Snapshot(photos);

    const std::string newPath = photos + "/p 2023-06-17 54.625000 -3.000000.jpg";
    CliResult dry = Run({"rename", "--date", "--position", "--latlon", "--dry-run", photos});
    EXPECT_EQ(1, dry.status);
    EXPECT_EQ((std::vector<std::string>{
                  "would-rename\t" + photos + "/p.jpg\t2023:06:17\t54.625000 -3.000000\t" + newPath,
                  "no-position\t" + photos + "/q.jpg\t2023:06:17\tNo GPS position\t",
              }),
              Lines(dry.out));
    EXPECT_EQ(before, Snapshot(photos));

    CliResult renamed = Run({"rename", "--date", "--position", "--latlon", "--json", photos + "/p.jpg"});
    EXPECT_EQ(0, renamed.status);
    EXPECT_EQ("{\"outcome\":\"renamed\",\"path\":\"" + photos + "/p.jpg\",\"date\":\"2023:06:17\","
              "\"message\":\"54.625000 -3.000000\",\"new_path\":\"" + newPath + "\"}\n",
              renamed.out);
    EXPECT_EQ(before.at("p.jpg"), ReadFile(newPath));
    EXPECT_FALSE(FileExists(photos + "/p.jpg"));

    // The name is taken now: a second photo with the same date and place is refused.
    fs::copy_file(newPath, photos + "/p.jpg");
    CliResult clash = Run({"rename", "--date", "--position", "--latlon", photos + "/p.jpg"});
    EXPECT_EQ(1, clash.status);
    EXPECT_EQ("not-renamed", Fields(clash.out).at(0));
    EXPECT_EQ(before.at("p.jpg"), ReadFile(photos + "/p.jpg"));
    EXPECT_EQ(before.at("p.jpg"), ReadFile(newPath));
}

TEST_F(CliRun, HeicTakesItsPositionByARelativePathAndASidecarFailureGivesItsReason)
{
    const std::string gpx = WriteTrack();
    ASSERT_TRUE(MakeKindPhoto(photos + "/IMG_1.heic", "2023:06:17 08:30:00"));
    ASSERT_TRUE(MakeKindPhoto(photos + "/IMG_2.rw2", "2023:06:17 08:30:00"));
    fs::create_directory(photos + "/IMG_2.rw2.xmp");   // a sidecar that can't be written

    CliResult tag = Run({"geotag", "--gpx", gpx, "IMG_1.heic", "IMG_2.rw2"}, photos);
    EXPECT_EQ(1, tag.status);
    EXPECT_EQ("tagged\tIMG_1.heic\t2023:06:17\t55.875000 -3.000000, 130.5 m\t0", Lines(tag.out).at(0));
    EXPECT_EQ("55/1 5250/100 0/1", ListedValue(photos + "/IMG_1.heic", "Exif.GPSInfo.GPSLatitude"));
    EXPECT_FALSE(FileExists(photos + "/IMG_1.heic.xmp"));
    const auto failed = Fields(Lines(tag.out).at(1));
    EXPECT_EQ("failed", failed.at(0));
    EXPECT_EQ("Failed to write GPS tags: ", failed.at(3).substr(0, 26));
    EXPECT_GT(failed.at(3).size(), 26u) << "no reason given";

    CliResult json = Run({"geotag", "--json", "--gpx", gpx, "IMG_2.rw2"}, photos);
    EXPECT_NE(std::string::npos, json.out.find("\"message\":\"Failed to write GPS tags\",\"reason\":\""))
        << json.out;

    CliResult parse = Run({"parse", "--latlon", "IMG_1.heic"}, photos);
    EXPECT_EQ(0, parse.status);
    EXPECT_EQ("parsed\tIMG_1.heic\t2023:06:17\t55.875000 -3.000000\t", Lines(parse.out).at(0));
}

TEST_F(CliRun, ExitStatusesAndOneLineReasons)
{
    const std::string gpx = WriteTrack();
    WriteJpegTakenAt(photos + "/a.jpg", "2023:06:17 08:04:10");
    // Beside the track, one that `gpsbabel -o nmea` made of points without a fix type.
    WriteFile(dir.File("track-void.nmea"), "$GPRMC,080400.00,V,5400.0000,N,00300.0000,W,0.0,0.0,170623,,,N\n");
    const auto before = Snapshot(photos);
    struct {
        const char* name;
        std::vector<std::string> args;
        std::vector<std::string> env;
        int status;
        std::string err;   // the start of standard error
    } cases[] = {
        {"all done", {"geotag", "--gpx", gpx, "--dry-run", photos}, {}, 0, ""},
        {"unknown option", {"geotag", "--fast", photos}, {}, 2, "pinroute-cli: unknown option --fast"},
        {"offset not whole", {"geotag", "--offset", "5.5", photos}, {}, 2, "pinroute-cli: --offset takes"},
        {"jobs out of range", {"geotag", "--jobs", "0", photos}, {}, 2, "pinroute-cli: --jobs takes"},
        {"unknown camera zone", {"geotag", "--gpx", gpx, "--camera-zone", "Mars/Olympus", photos}, {}, 2,
         "pinroute-cli: CameraZone: no time zone is called \"Mars/Olympus\""},
        {"missing path", {"parse", photos, dir.File("nowhere")}, {}, 2, "pinroute-cli: \"" + dir.File("nowhere")},
        {"no track file", {"geotag", "--gpx", dir.File("*.nothing"), photos}, {}, 2,
         "pinroute-cli: no track file matches " + dir.File("*.nothing")},
        {"GPX not readable", {"geotag", "--gpx", photos + "/a.jpg", photos}, {}, 2, "pinroute-cli: a.jpg"},
        {"a track file skipped", {"geotag", "--gpx", dir.File("track*"), "--dry-run", photos}, {}, 0,
         "pinroute-cli: skipped track-void.nmea: no track points: every RMC sentence says no fix (status V), as "
         "`gpsbabel -o nmea` writes points without a fix type: convert to GPX instead\nGeoTag: 1 tagged"},
        {"no photo folder", {"parse"}, {}, 2, "pinroute-cli: no PATH given"},
        {"no exiv2", {"parse", photos}, {"PATH=" + dir.File("empty")}, 2, "pinroute-cli: exiv2 not found"},
        {"no command", {}, {}, 2, "pinroute-cli: no command given"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> childEnv = env;
        childEnv.insert(childEnv.end(), c.env.begin(), c.env.end());
        const CliResult result = RunChild(cli, c.args, childEnv);
        EXPECT_EQ(c.status, result.status);
        EXPECT_EQ(c.err, result.err.substr(0, c.err.size()));
        if (c.status == 2) {
            EXPECT_EQ("", result.out);
            EXPECT_EQ(1u, Lines(result.err).size()) << result.err;
        }
        EXPECT_EQ(before, Snapshot(photos));
    }
}

TEST_F(CliRun, HostileNamesStayOneLineInBothFormats)
{
    const std::string gpx = WriteTrack();
    const std::vector<std::string> names = {
        " lead blank.jpg", "-dash.jpg", "back\\slash.jpg", "caf\xe9.jpg", "new\nline.jpg",
        "quo\"te's.jpg", "tab\there.jpg",
    };
    for (const auto& name : names)
        WriteJpegTakenAt(photos + "/" + name, "2023:06:17 08:20:00");

    CliResult tsv = Run({"geotag", "--gpx", gpx, photos});
    EXPECT_EQ(0, tsv.status) << tsv.err;
    const auto lines = Lines(tsv.out);
    ASSERT_EQ(names.size(), lines.size()) << tsv.out;
    CliResult json = Run({"parse", "--json", "--latlon", photos});
    EXPECT_EQ(0, json.status) << json.err;
    const auto objects = Lines(json.out);
    ASSERT_EQ(names.size(), objects.size()) << json.out;
    for (size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ((std::vector<std::string>{"tagged", TsvEscape(photos + "/" + names[i]), "2023:06:17",
                                            "55.250000 -3.000000, 120.5 m", "0"}),
                  Fields(lines[i]));
        EXPECT_NE("", StoredLatitude(photos + "/" + names[i]));
        EXPECT_EQ("{\"outcome\":\"parsed\",\"path\":\"" + JsonEscape(photos + "/" + names[i])
                      + "\",\"date\":\"2023:06:17\",\"message\":\"55.250000 -3.000000\"}",
                  objects[i]);
    }
    // Spot checks of the escapes themselves, not only of the escaping function.
    EXPECT_NE(std::string::npos, tsv.out.find("/new\\nline.jpg\t"));
    EXPECT_NE(std::string::npos, json.out.find("/caf\\udce9.jpg\""));
    EXPECT_NE(std::string::npos, json.out.find("/quo\\\"te's.jpg\""));

    // A relative path that begins with "-", after "--".
    CliResult dash = Run({"parse", "--latlon", "--", "-dash.jpg"}, photos);
    EXPECT_EQ(0, dash.status) << dash.err;
    EXPECT_EQ("parsed\t-dash.jpg\t2023:06:17\t55.250000 -3.000000\t\n", dash.out);
}

TEST_F(CliRun, SignalStopsAfterThePhotosInFlight)
{
    const std::string gpx = WriteTrack();
    struct {
        int signal;
        int status;
    } cases[] = {{SIGINT, 130}, {SIGTERM, 143}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signal);
        fs::remove_all(photos);
        fs::create_directory(photos);
        for (int i = 0; i < 40; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "/IMG_%02d.jpg", i);
            WriteJpegTakenAt(photos + name, "2023:06:17 08:30:00");
        }
        const auto before = Snapshot(photos);
        bool sent = false;
        const CliResult result = RunChild(cli, {"geotag", "--gpx", gpx, "--jobs", "2", photos}, env, "",
                                          [&](const std::string& out, int pid) {
                                              if (!sent && Lines(out).size() >= 2) {
                                                  kill(pid, c.signal);
                                                  sent = true;
                                              }
                                          });
        ASSERT_TRUE(sent) << "the run ended before two photos were reported";
        EXPECT_EQ(c.status, result.status) << result.err;
        const auto after = Snapshot(photos);
        ASSERT_EQ(before.size(), after.size());
        int tagged = 0;
        for (const auto& [name, bytes] : after) {
            SCOPED_TRACE(name);
            if (bytes == before.at(name))
                continue;
            ++tagged;
            EXPECT_NE("", StoredLatitude(photos + "/" + name)) << "changed but not tagged";
        }
        EXPECT_GE(tagged, 2);
        EXPECT_LT(tagged, 40) << "the run did not stop";
        // Every photo that was written has its line, and no other photo has one.
        EXPECT_EQ(static_cast<size_t>(tagged), Lines(result.out).size());
        for (const auto& line : Lines(result.out))
            EXPECT_EQ("tagged", Fields(line).at(0));
        // Standard error still ends with what the run did.
        const std::string done = std::to_string(tagged);
        EXPECT_EQ("Stopped after " + done + " of 40: GeoTag: " + done + " tagged, 0 rejected, 0 failed",
                  Lines(result.err).empty() ? "" : Lines(result.err).back());
    }
}

// A camera photo whose maker directory exiv2 can't read takes its position in its sidecar;
// the line says so and why, and the JSON names the sidecar.
TEST_F(CliRun, GeoTagSaysWhenThePositionWentToTheSidecar)
{
    const std::string photo = photos + "/nikon.jpg";
    const std::string original = ReadFile(CAMERA_DATA_DIR "/damaged-nikon-d70.jpg");
    WriteFile(photo, original);
    const std::string gpx = dir.File("nikon.gpx");
    WriteFile(gpx, "<gpx><trk><trkseg><trkpt lat=\"51.5\" lon=\"-0.125\"><time>2004-03-30T10:43:40Z</time>"
                   "</trkpt></trkseg></trk></gpx>");
    CliResult tag = Run({"geotag", "--gpx", gpx, "--offset", "0", "--json", photo});
    EXPECT_EQ(0, tag.status) << tag.err;
    EXPECT_NE(std::string::npos, tag.out.find("\"outcome\":\"tagged\"")) << tag.out;
    EXPECT_NE(std::string::npos,
              tag.out.find("\"message\":\"in sidecar nikon.jpg.xmp\",\"reason\":\"Error: Directory NikonPreview"))
        << tag.out;
    EXPECT_NE(std::string::npos, tag.out.find("\"sidecar\":\"" + photo + ".xmp\"")) << tag.out;
    EXPECT_EQ(original, ReadFile(photo));
    EXPECT_EQ("in sidecar nikon.jpg.xmp: Error: Directory NikonPreview with 8224 entries considered invalid; not read.",
              Fields(Run({"geotag", "--gpx", gpx, "--offset", "0", photo}).out).at(3));
}

// A photo that states its zone is matched at its UTC moment, whatever the offset; the
// others by the offset. A photo of 2040 matches a track of 2040.
TEST_F(CliRun, PhotosAreMatchedByTheZoneTheyState)
{
    const std::string gpx = dir.File("utc.gpx");
    WriteFile(gpx, "<gpx><trk><trkseg>"
                   "<trkpt lat=\"48.85\" lon=\"2.35\"><ele>35</ele><time>2023-06-17T08:00:00Z</time></trkpt>"
                   "<trkpt lat=\"48.86\" lon=\"2.36\"><ele>45</ele><time>2023-06-17T08:00:10Z</time></trkpt>"
                   "</trkseg><trkseg>"
                   "<trkpt lat=\"40.7\" lon=\"-74\"><time>2040-02-29T12:00:00Z</time></trkpt>"
                   "</trkseg></trk></gpx>");
    struct { const char* name; const char* local; const char* zone; const char* outcome; const char* place; } photos_[] = {
        {"paris.jpg", "2023:06:17 10:00:05", "+02:00", "would-tag", "48.855000 2.355000, 40 m"},
        {"india.jpg", "2023:06:17 13:30:05", "+05:30", "would-tag", "48.855000 2.355000, 40 m"},
        {"newyork.jpg", "2023:06:17 04:00:05", "-04:00", "would-tag", "48.855000 2.355000, 40 m"},
        {"halfhour.jpg", "2023:06:17 02:30:05", "-05:30", "would-tag", "48.855000 2.355000, 40 m"},
        {"utc.jpg", "2023:06:17 08:00:05", "", "would-tag", "48.855000 2.355000, 40 m"},
        {"2040.jpg", "2040:02:29 12:00:00", "", "would-tag", "40.700000 -74.000000"},
    };
    for (const auto& p : photos_) {
        WriteJpegTakenAt(photos + "/" + p.name, p.local);
        if (*p.zone) {
            ASSERT_EQ(0, RunExiv2({"-M", std::string("set Exif.Photo.OffsetTimeOriginal Ascii ") + p.zone, "--",
                                   photos + "/" + p.name}));
        }
    }
    const CliResult zoned = Run({"geotag", "--gpx", gpx, "--offset", "0", "--interpolate", "--dry-run", photos});
    for (const auto& p : photos_) {
        SCOPED_TRACE(p.name);
        const auto fields = LineOf(zoned.out, photos + "/" + p.name);
        ASSERT_EQ(5u, fields.size()) << zoned.out;
        EXPECT_EQ(p.outcome, fields[0]);
        EXPECT_EQ(p.place, fields[3]);
        EXPECT_EQ(std::string(p.name) == "2040.jpg" ? "nearest point, 0 s away" : "between two points 10 s apart",
                  fields[4]);
    }
    // Without the photo's zone, the offset (0) puts the zoned photos hours away.
    const CliResult offset = Run({"geotag", "--gpx", gpx, "--offset", "0", "--no-photo-zone", "--dry-run", photos});
    EXPECT_EQ("rejected", LineOf(offset.out, photos + "/paris.jpg").at(0));
    EXPECT_EQ("would-tag", LineOf(offset.out, photos + "/utc.jpg").at(0));
}

// A position the grid can't take: standard output carries only the rows, the reason goes
// into the row and onto standard error.
TEST_F(CliRun, AGridConversionThatFailsPrintsNothingButRows)
{
    // Beyond the pole: no position at all, so neither a grid reference nor the fall-back.
    const std::string photo = photos + "/india.jpg";
    WriteJpegTakenAt(photo, "2023:06:17 08:04:10");
    ASSERT_EQ(0, RunExiv2({"-M", "set Exif.GPSInfo.GPSLatitudeRef N", "-M", "set Exif.GPSInfo.GPSLatitude 91/1 0/1 0/1",
                           "-M", "set Exif.GPSInfo.GPSLongitudeRef E", "-M", "set Exif.GPSInfo.GPSLongitude 88/1 0/1 0/1",
                           "--", photo}));
    const CliResult run = Run({"parse", "--osgb", "--json", photo});
    EXPECT_EQ(0, run.status) << run.err;
    ASSERT_EQ(1u, Lines(run.out).size()) << run.out;
    EXPECT_EQ('{', run.out[0]);
    EXPECT_NE(std::string::npos, run.out.find("\"reason\":\"Transform failed: ")) << run.out;
    EXPECT_NE(std::string::npos, run.err.find("india.jpg: Transform failed: ")) << run.err;
}

TEST_F(CliRun, WhatADryRunShowsIsWhatThePhotoGets)
{
    // Finer figures than the photo keeps: the classic form truncates to 0.01', the exact one
    // keeps about 3 mm.
    const std::string gpx = photos + "/../fine.gpx";
    WriteFile(gpx, GpxText({{51.523515, -0.089015, "2023-06-17T08:00:00Z", "35.123456"},
                            {51.523915, -0.089415, "2023-06-17T08:01:00Z", "36.5"}}));
    for (const char* how : {"--nearest", "--interpolate"}) {
        SCOPED_TRACE(how);
        WriteJpegTakenAt(photos + "/a.jpg", "2023:06:17 08:00:20");
        const CliResult dry = Run({"geotag", how, "--gpx", gpx, "--dry-run", photos + "/a.jpg"});
        ASSERT_EQ(0, dry.status) << dry.err;
        ASSERT_EQ(0, Run({"geotag", how, "--gpx", gpx, photos + "/a.jpg"}).status);
        const CliResult parse = Run({"parse", "--latlon", photos + "/a.jpg"});
        const std::string shown = Fields(Lines(dry.out).at(0)).at(3);
        EXPECT_EQ(Fields(Lines(parse.out).at(0)).at(3), shown.substr(0, shown.find(',')));
        fs::remove(photos + "/a.jpg");
    }
}

// When no photo is near the track, the run says why: the two time spans side by side, and
// the offset that would bring them together, if any.
TEST_F(CliRun, NothingMatchedSaysWhy)
{
    const std::string gpx = WriteTrack();   // 17 June 08:00-08:59 UTC
    const struct {
        const char* taken;
        const char* why;
    } cases[] = {
        {"2023:06:17 10:00:00",
         "Your photos: 17 Jun 10:00 (camera time, offset 0).\nThe track: 17 Jun 08:00\u201308:59 UTC.\n"
         "An offset of +60 minutes would match 1 photo. Try it with --offset.\n"},
        {"2023:06:18 10:00:00",
         "Your photos: 18 Jun 10:00 (camera time, offset 0).\nThe track: 17 Jun 08:00\u201308:59 UTC.\n"
         "No clock offset brings them together: check that the track is from the day of the photos.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.taken);
        WriteJpegTakenAt(photos + "/a.jpg", c.taken);
        const CliResult run = Run({"geotag", "--gpx", gpx, photos + "/a.jpg"});
        EXPECT_EQ(1, run.status);
        EXPECT_NE(std::string::npos, run.err.find(std::string("No photo was taken near the track, so none was changed.\n") + c.why))
            << run.err;
    }
}

// --places writes the town, region and country; parse shows them in both formats, rename adds
// them to names in plain letters, and remove --places takes them away with the position.
TEST_F(CliRun, PlacesAreWrittenShownInNamesAndRemoved)
{
    const std::string gpx = WriteTrack();
    WriteJpegTakenAt(photos + "/a.jpg", "2023:06:17 08:30:00");   // 55.875 -3: 7 km from Bonnyrigg
    WriteJpegTakenAt(photos + "/b.jpg", "2023:06:17 08:04:00");   // 54.25 -3: no town within 10 km
    env.push_back("LANGUAGE=en");
    ASSERT_EQ(0, Run({"geotag", "--gpx", gpx, "--places", photos}).status);

    const CliResult parse = Run({"parse", "--latlon", photos});
    EXPECT_EQ("55.875000 -3.000000 (Bonnyrigg, Scotland, United Kingdom)", Fields(Lines(parse.out).at(0)).at(3));
    EXPECT_EQ("54.250000 -3.000000 (England, United Kingdom)", Fields(Lines(parse.out).at(1)).at(3));
    const CliResult json = Run({"parse", "--json", photos});
    EXPECT_NE(std::string::npos, json.out.find("\"place\":\"Bonnyrigg, Scotland, United Kingdom\"")) << json.out;

    const CliResult rename = Run({"rename", "--place", "--position", "--latlon", "--dry-run", photos + "/a.jpg"});
    EXPECT_EQ(photos + "/a 55.875000 -3.000000 Bonnyrigg-Scotland-United-Kingdom.jpg",
              Fields(Lines(rename.out).at(0)).at(4));

    ASSERT_EQ(0, Run({"remove", "--places", photos + "/a.jpg"}).status);
    std::string left;
    RunExiv2({"-PXkv", "--", photos + "/a.jpg"}, &left);
    EXPECT_EQ("", left) << "XMP left after remove --places";
    EXPECT_EQ("", StoredLatitude(photos + "/a.jpg"));
}
