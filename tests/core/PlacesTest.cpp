#include "coords/Places.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include <gtest/gtest.h>

#include "exif/Workspace.h"
#include "geotag/GeoTag.h"
#include "undo/Undo.h"
#include "parse/ParseRun.h"
#include "photos/PhotoList.h"
#include "run/RunControl.h"
#include "support/TestSupport.h"

namespace {

// A photo taken where a track point lies, one an hour from 08:00 UTC.
struct Spot {
    const char* what;
    double latitude;
    double longitude;
    const char* city;   // as ExifTool reads the written tags; "-" for none
    const char* state;
    const char* country;
    const char* code;
};

// A track with one point per spot, spot n at 0n+8:00:00 on 17 June 2023.
std::string TrackThrough(const std::vector<Spot>& spots)
{
    std::ostringstream gpx;
    gpx.precision(9);
    gpx << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>\n";
    for (size_t n = 0; n < spots.size(); ++n)
        gpx << "<trkpt lat=\"" << spots[n].latitude << "\" lon=\"" << spots[n].longitude << "\"><time>2023-06-17T"
            << (n + 8 < 10 ? "0" : "") << n + 8 << ":00:00Z</time></trkpt>\n";
    return gpx.str() + "</trkseg></trk></gpx>\n";
}

std::string TakenAt(size_t n)
{
    return std::string("2023:06:17 ") + (n + 8 < 10 ? "0" : "") + std::to_string(n + 8) + ":00:00";
}

// ExifTool's reading of the place tags, "-" for each one missing, tab-separated:
// XMP city, state, country, country code, then IPTC city, state, country, code, character set.
std::string PlaceTags(const std::string& path)
{
    ProgramResult read = RunChild("exiftool", {"-T", "-f", "-charset", "iptc=Latin", "-XMP-photoshop:City",
                                               "-XMP-photoshop:State", "-XMP-photoshop:Country",
                                               "-XMP-iptcCore:CountryCode", "-IPTC:City", "-IPTC:Province-State",
                                               "-IPTC:Country-PrimaryLocationName",
                                               "-IPTC:Country-PrimaryLocationCode", "-IPTC:CodedCharacterSet",
                                               "--", path});
    EXPECT_EQ(0, read.status) << read.err;
    return read.out.substr(0, read.out.find('\n'));
}

class PlacesTest : public testing::Test {
protected:
    TempDir tmp;
    RecordingFeedback feedback;
    Settings settings;
    Workspace workspace;

    // Photos at the spots, in a folder of their own, and the track through them.
    PhotoList PhotosAt(const std::vector<Spot>& spots)
    {
        WriteFile(tmp.File("walk.gpx"), TrackThrough(spots));
        settings.GPXPath = tmp.File("walk.gpx");
        settings.Places = 1;
        settings.PlaceLanguage = "en";
        settings.DisplayType = 0;
        for (size_t n = 0; n < spots.size(); ++n)
            WriteJpegTakenAt(tmp.File("photo " + std::to_string(10 + n) + ".jpg"), TakenAt(n));
        PhotoList list;
        std::vector<std::string> paths;
        for (size_t n = 0; n < spots.size(); ++n)
            paths.push_back(tmp.File("photo " + std::to_string(10 + n) + ".jpg"));
        list.AddDroppedFiles(paths);
        return list;
    }

    RunResult Run(Command command, PhotoList& list)
    {
        RunControl control(1);
        return command == Command::GeoTag ? GeoTag(settings, "1.00.0.19", list, feedback, workspace, control)
                                          : Parse(settings, list, feedback, workspace, control);
    }
};

}  // namespace

// The town within PlaceMaxKm, else its region and country within 100 km, else nothing;
// a place the photo holds stays.
TEST_F(PlacesTest, WritesTheNearestTownRegionAndCountry)
{
    const std::vector<Spot> spots = {
        {"a town centre", 54.32681, -2.74757, "Kendal", "England", "United Kingdom", "GB"},
        {"8 km north of it", 54.39871, -2.74757, "Kendal", "England", "United Kingdom", "GB"},
        {"the Jungfrau, 35 km from Thun", 46.5369, 7.9626, "-", "Bern", "Switzerland", "CH"},
        {"the open Atlantic", 45.0, -30.0, "-", "-", "-", "-"},
        {"Kreuzlingen, at the border", 47.6505, 9.1750, "Kreuzlingen", "Thurgau", "Switzerland", "CH"},
        {"Konstanz, across it", 47.6603, 9.1758, "Konstanz", "Baden-Württemberg", "Germany", "DE"},
        {"a photo that names its town", 54.32681, -2.74757, "Elsewhere", "-", "-", "-"},
        // Regions by their short names: the data's "Canton of Zurich" and "State of Maine"
        // lose the word for their kind; "Free State of Thuringia" is a name.
        {"Zürich", 47.36667, 8.55, "Zurich", "Zurich", "Switzerland", "CH"},
        {"Portland, Maine", 43.6615, -70.2553, "Portland", "Maine", "United States of America", "US"},
        {"Erfurt", 50.978, 11.029, "Erfurt", "Free State of Thuringia", "Germany", "DE"},
    };
    PhotoList list = PhotosAt(spots);
    ASSERT_EQ(0, RunExiv2({"-M", "set Xmp.photoshop.City XmpText Elsewhere", "--", list.Path(6)}));
    const RunResult result = Run(Command::GeoTag, list);
    ASSERT_EQ(static_cast<int>(spots.size()), result.reached);
    for (size_t n = 0; n < spots.size(); ++n) {
        const Spot& s = spots[n];
        SCOPED_TRACE(s.what);
        EXPECT_EQ(RowIcon::Tick, list.Row(static_cast<int>(n)).icon) << list.Tip(static_cast<int>(n));
        // No IPTC-IIM data before: none is made.
        EXPECT_EQ(std::string(s.city) + "\t" + s.state + "\t" + s.country + "\t" + s.code + "\t-\t-\t-\t-\t-",
                  PlaceTags(list.Path(static_cast<int>(n))));
    }
    // The Jungfrau lies 35 km from Thun, its nearest town.
    EXPECT_NEAR(35.3, DistanceKm(46.5369, 7.9626, 46.75118, 7.62166), 0.2);

    // Parse shows what the photos hold, beside the position.
    Run(Command::Parse, list);
    EXPECT_EQ("Kendal, England, United Kingdom", list.Row(0).place);
    EXPECT_EQ("Bern, Switzerland", list.Row(2).place);
    EXPECT_EQ("", list.Row(3).place);
    EXPECT_EQ("Elsewhere", list.Row(6).place);
}

// A photo with IPTC-IIM data gets the place there too, marked UTF-8, so that "Zürich"
// reads back as written; names come in the language asked for.
TEST_F(PlacesTest, IptcTakesThePlaceInUtf8)
{
    PhotoList list = PhotosAt({{"Zürich", 47.36667, 8.55, "", "", "", ""}});
    settings.PlaceLanguage = "de";
    ASSERT_EQ(0, RunExiv2({"-M", "set Iptc.Application2.Keywords String holiday", "--", list.Path(0)}));
    Run(Command::GeoTag, list);
    EXPECT_EQ("Zürich\tZürich\tSchweiz\tCH\tZürich\tZürich\tSchweiz\tCHE\tUTF8", PlaceTags(list.Path(0)));
    std::string keywords;
    RunExiv2({"-Pv", "-K", "Iptc.Application2.Keywords", "--", list.Path(0)}, &keywords);
    EXPECT_EQ("holiday\n", keywords);
}

// Undo takes away the place tags the run added; with Places=0 none are written or shown.
TEST_F(PlacesTest, UndoRemovesThePlaceAdded)
{
    PhotoList list = PhotosAt({{"Kendal", 54.32681, -2.74757, "", "", "", ""}});
    ASSERT_EQ(0, RunExiv2({"-M", "set Iptc.Application2.Keywords String holiday", "--", list.Path(0)}));
    const std::string untouched = "-\t-\t-\t-\t-\t-\t-\t-\t-";
    settings.Places = 0;
    Run(Command::GeoTag, list);
    EXPECT_EQ(untouched, PlaceTags(list.Path(0)));
    // Parse shows only what a photo holds; with Places=1, what GeoTag would write.
    Run(Command::Parse, list);
    EXPECT_EQ("", list.Row(0).place);

    settings.Places = 1;
    Run(Command::Parse, list);
    EXPECT_EQ("Kendal, England, United Kingdom", list.Row(0).place);
    const RunResult run = Run(Command::GeoTag, list);
    ASSERT_FALSE(run.journalId.empty());
    EXPECT_EQ("Kendal\tEngland\tUnited Kingdom\tGB\tKendal\tEngland\tUnited Kingdom\tGBR\tUTF8",
              PlaceTags(list.Path(0)));
    JournalRun journal;
    std::string reason;
    ASSERT_TRUE(LoadJournal(run.journalId, journal, reason)) << reason;
    RunControl control(1);
    Undo(journal, false, settings, "1.00.0.19", list, feedback, workspace, control);
    EXPECT_EQ(RowIcon::Tick, list.Row(0).icon) << list.Tip(0);
    EXPECT_EQ(untouched, PlaceTags(list.Path(0)));
}

// The index is read from its cache file only when the file is whole and made from the same
// data; any other file is replaced by a good one, silently.
TEST(PlaceCache, BuildsAgainWhatItCannotTrust)
{
    const std::string path = PlaceCachePath("de");
    ASSERT_EQ(std::string(std::getenv("XDG_CACHE_HOME")) + "/pinroute/places-de.cache", path);   // not the user's
    std::remove(path.c_str());
    ASSERT_FALSE(PlaceIndex("de").FromCache());
    const std::string good = ReadFile(path);
    ASSERT_FALSE(good.empty());
    std::string changed = good;
    changed[changed.size() / 2] ^= 0x20;
    PlaceTable stale;   // a whole file, but not of this data: its town would show
    stale.regions = {{"Alt", "Alt", "CH", "CHE"}};
    stale.towns = {{"Stale", 0, 0, 47.36667, 8.55}};
    const struct {
        const char* what;
        bool write;
        std::string bytes;
        bool read;
    } cases[] = {
        {"no file", false, "", false},
        {"an empty file", true, "", false},
        {"cut short", true, good.substr(0, good.size() / 2), false},
        {"a byte changed", true, changed, false},
        {"made from other data", true, EncodePlaceTable("library other 1 2\ncatalogue none", stale), false},
        {"a whole file", true, good, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::remove(path.c_str());
        if (c.write)
            WriteFile(path, c.bytes);
        const PlaceIndex index("de");
        EXPECT_EQ(c.read, index.FromCache());
        EXPECT_EQ("Zürich, Zürich, Schweiz", PlaceLabel(index.At(47.36667, 8.55, 10)));
        EXPECT_TRUE(good == ReadFile(path)) << "the cache file is not the one built from the data";
    }
}

// File names take places in plain letters.
TEST(AsciiPlaceName, DropsAccentsAndPunctuation)
{
    struct { const char* text; const char* name; } cases[] = {
        {"Zürich, Kanton Zürich, Schweiz", "Zurich-Kanton-Zurich-Schweiz"},
        {"Kraków, Lesser Poland, Poland", "Krakow-Lesser-Poland-Poland"},
        {"Straße / Œuvre", "Strasse-OEuvre"},
        {"東京", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.name, AsciiPlaceName(c.text));
    }
}
