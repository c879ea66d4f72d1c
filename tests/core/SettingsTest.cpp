#include "settings/Settings.h"

#include <climits>
#include <filesystem>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "support/InChild.h"
#include "support/TestSupport.h"

namespace {

// Each test has its own settings file in a fresh folder.
class SettingsFile : public ::testing::Test {
protected:
    std::string Ini() const { return dir.File("pinroute.ini"); }
    Settings ReadBack() const
    {
        Settings settings;
        EXPECT_TRUE(settings.Read(Ini()));
        return settings;
    }
    void Save(const Settings& settings) const
    {
        std::string reason;
        EXPECT_TRUE(settings.Write(Ini(), reason)) << reason;
    }

    TempDir dir;
};

TEST_F(SettingsFile, MissingFileGivesDefaultsAndIsNotCreated)
{
    Settings settings;
    settings.Date = settings.Posn = settings.DisplayType = 0;
    settings.OffsetMinutes = 5;
    settings.GPXPath = settings.JPGDir = "/old";
    EXPECT_TRUE(settings.Read(Ini()));
    EXPECT_EQ(1, settings.Date);
    EXPECT_EQ(1, settings.Posn);
    EXPECT_EQ(1, settings.DisplayType);
    EXPECT_EQ(0, settings.OffsetMinutes);
    EXPECT_EQ("", settings.GPXPath);
    EXPECT_EQ("", settings.JPGDir);
    EXPECT_FALSE(FileExists(Ini()));
}

TEST_F(SettingsFile, PhotoFolderReadsBackWithOneFinalSlash)
{
    struct { const char* stored; const char* read; } cases[] = {
        {"/photos", "/photos/"},
        {"/photos/", "/photos/"},
        {"", ""},
        {"/my photos/2006", "/my photos/2006/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        Settings settings;
        settings.JPGDir = c.stored;
        Save(settings);
        EXPECT_NE(std::string::npos, ReadFile(Ini()).find("JPGDir=" + std::string(c.stored) + "\n"));
        EXPECT_EQ(c.read, ReadBack().JPGDir);
    }
}

TEST_F(SettingsFile, NegativeNumbersRoundTrip)
{
    Settings settings;
    settings.OffsetMinutes = -90;
    Save(settings);
    EXPECT_NE(std::string::npos, ReadFile(Ini()).find("\nOffsetMinutes=-90\n"));
    EXPECT_EQ(-90, ReadBack().OffsetMinutes);

    settings.OffsetMinutes = INT_MIN;
    Save(settings);
    EXPECT_EQ(INT_MIN, ReadBack().OffsetMinutes);
}

TEST_F(SettingsFile, SaveBuildsTheFileFromScratchWithoutLeftovers)
{
    Settings settings;
    settings.JPGDir = "/home/me/photos";
    settings.GPXPath = "/home/me/tracks/*.gpx";
    settings.Date = 1;
    settings.Posn = 0;
    settings.DisplayType = 0;
    settings.OffsetMinutes = 75;
    Save(settings);
    EXPECT_EQ("[Config]\nJPGDir=/home/me/photos\nGPXPath=/home/me/tracks/*.gpx\nPhotoTrack=\nDate=1\n"
              "Posn=0\nDisplayType=0\nOffsetMinutes=75\nRawSidecar=1\nInterpolate=0\nPhotoZone=1\nReplacePositions=0\nRecurse=0\nJournal=1\nShowMap=1\n"
              "MapTiles=https://tile.openstreetmap.org/{z}/{x}/{y}.png\n"
              "Places=0\nPlaceMaxKm=10\nPlaceLanguage=\nPlaceInName=0\nReplacePlaces=0\n"
              "OffsetSeconds=0\nMaxGapSeconds=300\nMaxInterpolationGapSeconds=1800\nCameraZone=\nKeepSoftware=0\n",
              ReadFile(Ini()));
    EXPECT_EQ(std::vector<std::string>{"pinroute.ini"}, FolderNames(dir.Path()));

    Settings read = ReadBack();
    EXPECT_EQ("/home/me/photos/", read.JPGDir);
    EXPECT_EQ("/home/me/tracks/*.gpx", read.GPXPath);
    EXPECT_EQ(1, read.Date);
    EXPECT_EQ(0, read.Posn);
    EXPECT_EQ(0, read.DisplayType);
    EXPECT_EQ(75, read.OffsetMinutes);
}

TEST_F(SettingsFile, NamesIgnoreCaseAndTheFirstOccurrenceWins)
{
    WriteFile(Ini(), "[Other]\nDate=7\n[config]\njpgdir=/first\nJPGDIR=/second\nDATE=0\n"
                     "[CONFIG]\nPosn=0\n");
    Settings settings = ReadBack();
    EXPECT_EQ("/first/", settings.JPGDir);
    EXPECT_EQ(0, settings.Date);
    EXPECT_EQ(1, settings.Posn);   // a second [Config] is not read...

    settings.Date = 5;
    settings.Posn = 3;
    Save(settings);   // ...nor written: reads and writes agree
    EXPECT_EQ("[Other]\nDate=7\n[config]\njpgdir=/first/\nJPGDIR=/second\nDATE=5\n"
              "GPXPath=\nPhotoTrack=\nPosn=3\nDisplayType=1\nOffsetMinutes=0\nRawSidecar=1\nInterpolate=0\nPhotoZone=1\nReplacePositions=0\nRecurse=0\nJournal=1\nShowMap=1\n"
              "MapTiles=https://tile.openstreetmap.org/{z}/{x}/{y}.png\n"
              "Places=0\nPlaceMaxKm=10\nPlaceLanguage=\nPlaceInName=0\nReplacePlaces=0\n"
              "OffsetSeconds=0\nMaxGapSeconds=300\nMaxInterpolationGapSeconds=1800\nCameraZone=\nKeepSoftware=0\n"
              "[CONFIG]\nPosn=0\n",
              ReadFile(Ini()));
    EXPECT_EQ(5, ReadBack().Date);
    EXPECT_EQ(3, ReadBack().Posn);
}

TEST_F(SettingsFile, TextsReadBackExactlyAsSet)
{
    // Blanks at either end and quotes would be taken off a hand-edited value.
    for (const char* text : {" /lead", "/trail ", "\t/tab\t", "\"/quoted\"", "'/single'",
                             "/a \"mid\" b", "\"", "/semi;colon=#x"}) {
        SCOPED_TRACE(text);
        Settings settings;
        std::string reason;
        ASSERT_TRUE(settings.Set("GPXPath", text, reason)) << reason;
        Save(settings);
        EXPECT_EQ(text, ReadBack().Get("gpxpath"));
    }
}

TEST_F(SettingsFile, UnreadableFileGivesDefaults)
{
    std::filesystem::create_directory(Ini());
    Settings settings;
    settings.Date = 0;
    EXPECT_FALSE(settings.Read(Ini()));
    EXPECT_EQ(1, settings.Date);
}

TEST(SettingsKeys, SetChecksEachKeyAndLeavesRefusedValuesAlone)
{
    struct { const char* key; std::string value; bool taken; const char* got; } cases[] = {
        {"Date", "0", true, "0"}, {"date", "1", true, "1"}, {"DATE", "2", false, "1"},
        {"Posn", "0", true, "0"}, {"Posn", "", false, "1"}, {"Posn", " 1", false, "1"},
        {"DisplayType", "0", true, "0"}, {"displaytype", "-1", false, "1"},
        {"RawSidecar", "0", true, "0"}, {"rawsidecar", "yes", false, "1"},
        {"OffsetMinutes", "-60", true, "-60"}, {"OffsetMinutes", " +15 ", true, "15"},
        {"OffsetMinutes", "2147483647", true, "2147483647"},
        {"OffsetMinutes", "-2147483648", true, "-2147483648"},
        {"OffsetMinutes", "2147483648", false, "0"}, {"OffsetMinutes", "-2147483649", false, "0"},
        {"OffsetMinutes", "1.5", false, "0"}, {"OffsetMinutes", "", false, "0"},
        {"OffsetMinutes", "-", false, "0"}, {"OffsetMinutes", "12 minutes", false, "0"},
        {"OffsetMinutes", "99999999999999999999", false, "0"},
        {"JPGDir", "/my photos", true, "/my photos"}, {"jpgdir", "/a\nb", false, ""},
        {"GPXPath", "/t/*.gpx", true, "/t/*.gpx"}, {"GPXPath", "/t\r", false, ""},
        {"GPXPath", std::string("/t\0x", 4), false, ""},
        {"OffsetSeconds", "-20", true, "-20"}, {"OffsetSeconds", "0:20", false, "0"},
        {"MaxGapSeconds", "60", true, "60"}, {"MaxGapSeconds", "-1", false, "300"},
        {"MaxInterpolationGapSeconds", "0", true, "0"}, {"MaxInterpolationGapSeconds", "1e3", false, "1800"},
        {"CameraZone", "Europe/London", true, "Europe/London"}, {"CameraZone", "", true, ""},
        {"CameraZone", "Europe/Lundon", false, ""}, {"CameraZone", "../../etc/passwd", false, ""},
        {"KeepSoftware", "1", true, "1"}, {"KeepSoftware", "2", false, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        Settings settings;
        std::string reason;
        EXPECT_EQ(c.taken, settings.Set(c.key, c.value, reason));
        EXPECT_EQ(c.taken, reason.empty()) << reason;
        EXPECT_EQ(c.got, settings.Get(c.key));
    }
}

// An offset with seconds is kept as the nearest whole minute and the rest, so that a reader
// of OffsetMinutes alone gets the nearest minute; a file without OffsetSeconds means minutes.
TEST_F(SettingsFile, OffsetsKeepTheNearestMinuteForOldReaders)
{
    struct { int64_t offset; int minutes; int seconds; } cases[] = {
        {3500, 58, 20}, {3530, 59, -10}, {-3500, -58, -20}, {-3530, -59, 10}, {29, 0, 29}, {30, 1, -30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        Settings settings;
        ASSERT_TRUE(settings.SetOffset(c.offset));
        Save(settings);
        const Settings read = ReadBack();
        EXPECT_EQ(c.minutes, read.OffsetMinutes);
        EXPECT_EQ(c.seconds, read.OffsetSeconds);
        EXPECT_EQ(c.offset, read.Offset());
    }
    WriteFile(Ini(), "[Config]\nOffsetMinutes=-90\n");
    EXPECT_EQ(-5400, ReadBack().Offset());
    Settings settings;
    EXPECT_FALSE(settings.SetOffset(2147483647LL * 60 + 1));
}

TEST(SettingsKeys, UnknownKeysAreRefusedWithTheKnownOnes)
{
    Settings settings;
    std::string reason;
    EXPECT_FALSE(settings.Set("Offset", "5", reason));
    for (const std::string& key : Settings::Keys())
        EXPECT_NE(std::string::npos, reason.find(key)) << reason;
    EXPECT_EQ("", settings.Get("Offset"));
    EXPECT_EQ("0", settings.Get("offsetminutes"));
}

// A failed save says why and leaves the file as it was, with no temporary file beside it.
TEST_F(SettingsFile, FailedSaveKeepsTheOldFileAndSaysWhy)
{
    const std::string before = "; mine\n[Config]\nOffsetMinutes=5\n";
    WriteFile(Ini(), before);
    Settings settings;
    settings.OffsetMinutes = 10;
    settings.JPGDir = std::string(100000, 'p');

    // A file size limit stops the write part-way, as a full disk would.
    const std::string tooLarge = InChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string reason;
        return settings.Write(Ini(), reason) ? "written" : reason;
    });
    EXPECT_EQ("File too large", tooLarge);
    EXPECT_EQ(before, ReadFile(Ini()));
    EXPECT_EQ(std::vector<std::string>{"pinroute.ini"}, FolderNames(dir.Path()));

    // A folder that the user can't write; root runs the save as "nobody".
    ASSERT_EQ(0, chmod(dir.Path().c_str(), geteuid() == 0 ? 0755 : 0555));
    const std::string denied = InChild([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return std::string("can't become nobody");
        std::string reason;
        return settings.Write(Ini(), reason) ? "written" : reason;
    });
    chmod(dir.Path().c_str(), 0700);
    EXPECT_EQ("Permission denied", denied);
    EXPECT_EQ(before, ReadFile(Ini()));

    std::string reason;
    EXPECT_FALSE(settings.Write(dir.File("missing/pinroute.ini"), reason));
    EXPECT_EQ("No such file or directory", reason);
    ScopedCwd cwd(dir.Path());   // a path that names nothing leaves nothing anywhere
    EXPECT_FALSE(settings.Write("", reason));
    EXPECT_EQ("No such file or directory", reason);
    EXPECT_EQ(std::vector<std::string>{"pinroute.ini"}, FolderNames(dir.Path()));
}

}  // namespace

// Offsets per camera live in a section of their own: any camera name reads back as it was,
// [Config] keeps its bytes, and an offset taken away leaves its key empty, read as none.
TEST_F(SettingsFile, CameraOffsetsKeepTheirNamesInASectionOfTheirOwn)
{
    const std::string config = "; mine\n[Config]\nOffsetMinutes=5\n";
    WriteFile(Ini(), config);
    Settings settings = ReadBack();
    const std::map<std::string, int32_t> offsets = {
        {"Canon EOS 5D", 3600}, {"NIKON D70 #2001234", -180}, {"A=B 100%", 1}, {"[odd];", -1}, {" blank ", 20}};
    settings.CameraOffsets = offsets;
    Save(settings);
    EXPECT_EQ(offsets, ReadBack().CameraOffsets);
    const std::string text = ReadFile(Ini());
    EXPECT_EQ(0u, text.find(config)) << text;
    EXPECT_LT(text.find("\n[CameraOffsets]\n"), text.find("\nCanon EOS 5D=3600\n")) << text;

    settings.CameraOffsets.erase("Canon EOS 5D");
    Save(settings);
    EXPECT_EQ(0u, ReadBack().CameraOffsets.count("Canon EOS 5D"));
    EXPECT_EQ(offsets.size() - 1, ReadBack().CameraOffsets.size());
}
