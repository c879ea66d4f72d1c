#include "settings/Settings.h"

#include <climits>
#include <filesystem>

#include <gtest/gtest.h>

#include "common/ModulePath.h"
#include "support/TestSupport.h"

namespace {

// Points the program at an executable in a fresh folder, so its settings file is
// dir/pinroute.ini and the real one is never touched.
class SettingsFile : public ::testing::Test {
protected:
    std::string Ini() const { return dir.File("pinroute.ini"); }
    static Settings ReadBack()
    {
        Settings settings;
        settings.Read();
        return settings;
    }

    TempDir dir;
    ScopedExecutablePath exe{dir.File("pinroute")};
};

TEST_F(SettingsFile, MissingFileGivesDefaultsAndIsNotCreated)
{
    Settings settings = ReadBack();
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
        Settings().WriteString("Config", "JPGDir", c.stored);
        EXPECT_EQ(c.read, ReadBack().JPGDir);
    }
}

TEST_F(SettingsFile, NegativeNumbersRoundTrip)
{
    Settings().WriteInt("Config", "OffsetMinutes", -90);
    EXPECT_EQ("[Config]\nOffsetMinutes=-90\n", ReadFile(Ini()));
    EXPECT_EQ(-90, ReadBack().OffsetMinutes);

    Settings().WriteInt("Config", "OffsetMinutes", INT_MIN);
    EXPECT_EQ(INT_MIN, ReadBack().OffsetMinutes);
}

TEST_F(SettingsFile, SaveOrderBuildsTheFileFromScratchWithoutLeftovers)
{
    Settings settings;
    settings.WriteString("Config", "JPGDir", "/home/me/photos");
    settings.WriteString("Config", "GPXPath", "/home/me/tracks/*.gpx");
    settings.WriteInt("Config", "Date", 1);
    settings.WriteInt("Config", "Posn", 0);
    settings.WriteInt("Config", "DisplayType", 0);
    settings.WriteInt("Config", "OffsetMinutes", 75);
    EXPECT_EQ("[Config]\nJPGDir=/home/me/photos\nGPXPath=/home/me/tracks/*.gpx\nDate=1\n"
              "Posn=0\nDisplayType=0\nOffsetMinutes=75\n",
              ReadFile(Ini()));

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(std::vector<std::string>{"pinroute.ini"}, names);

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

    Settings().WriteInt("Config", "date", 5);
    Settings().WriteInt("Config", "Posn", 3);   // ...nor written: reads and writes agree
    EXPECT_EQ("[Other]\nDate=7\n[config]\njpgdir=/first\nJPGDIR=/second\nDATE=5\nPosn=3\n"
              "[CONFIG]\nPosn=0\n",
              ReadFile(Ini()));
    EXPECT_EQ(5, ReadBack().Date);
    EXPECT_EQ(3, ReadBack().Posn);
}

}  // namespace
