#include "parse/ParseRun.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "photos/PhotoList.h"
#include "photos/RunFeedback.h"
#include "common/ModulePath.h"
#include "support/TestSupport.h"

namespace {

struct CountingFeedback : RunFeedback {
    int depth = 0;
    int begun = 0;
    void SetStatus(const std::string&) override {}
    void BeginWait() override { ++depth; ++begun; }
    void EndWait() override { --depth; }
};

const char kTagged[] = "a tagged.jpg";     // date and position (51.5 N, 0.125 W)
const char kDateOnly[] = "b date only.jpg";
const char kNotJpeg[] = "c not a photo.jpg";
const char kNoDate[] = "d no date.jpg";    // position only

class ParseRunTest : public testing::Test {
protected:
    TempDir tmp;
    ScopedCwd cwd{tmp.Path()};
    ScopedExecutablePath exe{tmp.File("pinroute")};
    std::string folder = tmp.File("my photos") + "/";
    CountingFeedback feedback;
    PhotoList list;

    ParseRunTest()
    {
        mkdir(folder.c_str(), 0755);
        const std::vector<std::string> position = {
            "-M", "set Exif.GPSInfo.GPSLatitudeRef Ascii N", "-M", "set Exif.GPSInfo.GPSLatitude Rational 51/1 30/1 0/1",
            "-M", "set Exif.GPSInfo.GPSLongitudeRef Ascii W", "-M", "set Exif.GPSInfo.GPSLongitude Rational 0/1 7/1 30/1"};
        const std::vector<std::string> date = {"-M", "set Exif.Photo.DateTimeOriginal Ascii 2006:08:26 14:20:31"};
        Photo(kTagged, {date, position});
        Photo(kDateOnly, {date});
        WriteFile(folder + kNotJpeg, "plain text\n");
        Photo(kNoDate, {position});
        list.LoadFolder(folder);
    }

    void Photo(const std::string& name, const std::vector<std::vector<std::string>>& edits)
    {
        WriteTinyJpeg(folder + name);
        std::vector<std::string> args;
        for (const auto& e : edits)
            args.insert(args.end(), e.begin(), e.end());
        args.push_back("--");
        args.push_back(folder + name);
        ASSERT_EQ(0, RunExiv2(args));
    }

    void WriteSettings(int date, int posn, int displayType)
    {
        WriteFile(tmp.File("pinroute.ini"), "[Config]\nDate=" + std::to_string(date) + "\nPosn="
                  + std::to_string(posn) + "\nDisplayType=" + std::to_string(displayType) + "\n");
    }

    std::vector<std::string> Column(int column) const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < list.Count(); ++i)
            texts.push_back(list.Text(i, column));
        return texts;
    }
    std::vector<int> Icons() const
    {
        std::vector<int> icons;
        for (int i = 0; i < list.Count(); ++i)
            icons.push_back(list.Row(i).icon);
        return icons;
    }
};

TEST_F(ParseRunTest, ShowsDatesAndPositionsInBothDisplayTypes)
{
    struct { int displayType; const char* position; } cases[] = {
        {0, "51.500000 -0.125000"},
        {1, "TQ 30244 79562"},   // cs2cs: 530244.137154 179562.163967
        {7, "51.500000 -0.125000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.displayType);
        WriteSettings(1, 1, c.displayType);   // Parse leaves the files alone whatever the flags say
        list.LoadFolder(folder);
        list.SetText(1, ColumnDate, "earlier");
        RunParseCommand(list, false, feedback);

        EXPECT_EQ((std::vector<std::string>{kTagged, kDateOnly, kNotJpeg, kNoDate}), Column(ColumnName));
        EXPECT_EQ((std::vector<std::string>{"2006:08:26", "earlier", "", ""}), Column(ColumnDate));
        EXPECT_EQ((std::vector<std::string>{c.position, "No EXIF data found", "No EXIF data found", c.position}),
                  Column(ColumnMessage));
        EXPECT_EQ((std::vector<int>{IconTick, IconCross, IconCross, IconTick}), Icons());
    }
    EXPECT_EQ(3, feedback.begun);
    EXPECT_EQ(0, feedback.depth);
}

TEST_F(ParseRunTest, RenameFollowsTheDateAndPositionSettings)
{
    struct {
        int date, posn;
        const char* tagged;   // new names of the two photos with a position
        const char* noDate;
    } cases[] = {
        {1, 1, "a tagged 2006-08-26 51.500000 -0.125000.jpg", "d no date  51.500000 -0.125000.jpg"},
        {1, 0, "a tagged 2006-08-26 .jpg", "d no date  .jpg"},
        {0, 1, "a tagged 51.500000 -0.125000.jpg", "d no date 51.500000 -0.125000.jpg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tagged);
        WriteSettings(c.date, c.posn, 0);
        list.LoadFolder(folder);
        RunParseCommand(list, true, feedback);

        EXPECT_EQ((std::vector<std::string>{c.tagged, kDateOnly, kNotJpeg, c.noDate}), Column(ColumnName));
        EXPECT_EQ((std::vector<int>{IconTick, IconCross, IconCross, IconTick}), Icons());
        EXPECT_TRUE(FileExists(folder + c.tagged));
        EXPECT_TRUE(FileExists(folder + c.noDate));
        EXPECT_FALSE(FileExists(folder + kTagged));
        EXPECT_TRUE(FileExists(folder + kDateOnly));
        // Back to the old names for the next case.
        ASSERT_EQ(0, std::rename((folder + c.tagged).c_str(), (folder + kTagged).c_str()));
        ASSERT_EQ(0, std::rename((folder + c.noDate).c_str(), (folder + kNoDate).c_str()));
    }
}

TEST_F(ParseRunTest, AFailedRenameShowsWhyAndKeepsTheDate)
{
    WriteSettings(1, 0, 0);
    const std::string taken = folder + "a tagged 2006-08-26 .jpg";   // listed first, then kTagged
    WriteFile(taken, "keep me");
    list.LoadFolder(folder);
    RunParseCommand(list, true, feedback);

    EXPECT_EQ(kTagged, list.Text(1, ColumnName));
    EXPECT_EQ(IconCross, list.Row(1).icon);
    EXPECT_EQ("2006:08:26", list.Text(1, ColumnDate));
    EXPECT_EQ("File or directory specified already exists or could not be created (invalid path)",
              list.Text(1, ColumnMessage));
    EXPECT_EQ("keep me", ReadFile(taken));
    EXPECT_TRUE(FileExists(folder + kTagged));
}

}  // namespace
