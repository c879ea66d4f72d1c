#include "parse/ParseRun.h"

#include <cstdio>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "exif/Workspace.h"
#include "photos/PhotoList.h"
#include "run/RunControl.h"
#include "run/RunFeedback.h"
#include "support/TestSupport.h"

namespace {

const RowIcon kTick = RowIcon::Tick;
const RowIcon kCross = RowIcon::Cross;

const char kTagged[] = "a tagged.jpg";     // date and position (51.5 N, 0.125 W)
const char kDateOnly[] = "b date only.jpg";
const char kNotJpeg[] = "c not a photo.jpg";
const char kNoDate[] = "d no date.jpg";    // position only

class ParseRunTest : public testing::Test {
protected:
    TempDir tmp;
    std::string folder = tmp.File("my photos") + "/";
    RecordingFeedback feedback;
    PhotoList list;
    Settings settings;

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
        settings.Date = date;
        settings.Posn = posn;
        settings.DisplayType = displayType;
    }

    RunStatus Run(bool rename, int jobs = 1, bool dryRun = false)
    {
        Workspace workspace;
        RunControl control(jobs);
        return rename ? Rename(settings, list, feedback, workspace, control, dryRun).status
                      : Parse(settings, list, feedback, workspace, control).status;
    }

    std::vector<std::string> Column(int column) const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < list.Count(); ++i)
            texts.push_back(list.Text(i, column));
        return texts;
    }
    std::vector<RowIcon> Icons() const
    {
        std::vector<RowIcon> icons;
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
        RowOutcome earlier;
        earlier.date = "earlier";
        list.SetRow(1, earlier);
        feedback.done.clear();
        EXPECT_EQ(RunStatus::Done, Run(false));
        EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), feedback.done);
        EXPECT_EQ(4, feedback.total);

        EXPECT_EQ((std::vector<std::string>{kTagged, kDateOnly, kNotJpeg, kNoDate}), Column(ColumnName));
        EXPECT_EQ((std::vector<std::string>{"2006:08:26", "2006:08:26", "", ""}), Column(ColumnDate));
        EXPECT_EQ((std::vector<std::string>{c.position, "No GPS position", "No EXIF data found", c.position}),
                  Column(ColumnMessage));
        EXPECT_EQ((std::vector<RowIcon>{kTick, kCross, kCross, kTick}), Icons());
    }
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
        EXPECT_EQ(RunStatus::Done, Run(true));

        EXPECT_EQ((std::vector<std::string>{c.tagged, kDateOnly, kNotJpeg, c.noDate}), Column(ColumnName));
        EXPECT_EQ((std::vector<RowIcon>{kTick, kCross, kCross, kTick}), Icons());
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
    EXPECT_EQ(RunStatus::Done, Run(true));

    EXPECT_EQ(kTagged, list.Text(1, ColumnName));
    EXPECT_EQ(kCross, list.Row(1).icon);
    EXPECT_EQ("2006:08:26", list.Text(1, ColumnDate));
    EXPECT_EQ("File or directory specified already exists or could not be created (invalid path)",
              list.Text(1, ColumnMessage));
    EXPECT_EQ("keep me", ReadFile(taken));
    EXPECT_TRUE(FileExists(folder + kTagged));
}

// Records every outcome, so that a dry run can be compared with what the files show.
struct RecordingRows : PhotoRows {
    std::vector<std::string> paths;
    std::vector<RowOutcome> outcomes;
    explicit RecordingRows(std::vector<std::string> p) : paths(std::move(p)), outcomes(paths.size()) {}
    int Count() const override { return static_cast<int>(paths.size()); }
    std::string Path(int row) const override { return paths[static_cast<size_t>(row)]; }
    void SetRow(int row, const RowOutcome& outcome) override { outcomes[static_cast<size_t>(row)] = outcome; }
};

TEST_F(ParseRunTest, ADryRenameNamesTheNewPathAndChangesNothing)
{
    WriteSettings(1, 1, 0);
    WriteFile(folder + "d no date  51.500000 -0.125000.jpg", "already there");
    RecordingRows rows({folder + kTagged, folder + kNotJpeg, folder + kNoDate});
    Workspace workspace;
    RunControl control;
    ASSERT_EQ(RunStatus::Done, Rename(settings, rows, feedback, workspace, control, true).status);

    EXPECT_EQ(folder + "a tagged 2006-08-26 51.500000 -0.125000.jpg", rows.outcomes[0].newPath);
    EXPECT_EQ(RowIcon::Tick, rows.outcomes[0].icon);
    EXPECT_EQ(RowIcon::Cross, rows.outcomes[1].icon);
    EXPECT_EQ("File or directory specified already exists or could not be created (invalid path)",
              rows.outcomes[2].text);
    EXPECT_TRUE(FileExists(folder + kTagged));
    EXPECT_FALSE(FileExists(folder + "a tagged 2006-08-26 51.500000 -0.125000.jpg"));
    EXPECT_EQ("already there", ReadFile(folder + "d no date  51.500000 -0.125000.jpg"));
}

TEST_F(ParseRunTest, SeveralWorkersGiveTheSameRowsAsOne)
{
    // Enough photos for several chunks per worker: copies of the four kinds.
    for (int i = 0; i < 40; ++i) {
        const char* source = i % 4 == 0 ? kTagged : i % 4 == 1 ? kDateOnly : i % 4 == 2 ? kNotJpeg : kNoDate;
        WriteFile(folder + "copy " + std::to_string(100 + i) + ".jpg", ReadFile(folder + source));
    }
    WriteSettings(0, 0, 1);
    auto outcomes = [&](int jobs) {
        list.LoadFolder(folder);
        feedback.done.clear();
        EXPECT_EQ(RunStatus::Done, Run(false, jobs));
        std::vector<std::string> texts;
        for (int i = 0; i < list.Count(); ++i)
            texts.push_back(list.Text(i, ColumnName) + "|" + list.Text(i, ColumnDate) + "|"
                            + list.Text(i, ColumnMessage) + "|" + std::to_string(int(list.Row(i).icon)));
        return texts;
    };
    const std::vector<std::string> one = outcomes(1);
    ASSERT_EQ(44u, one.size());
    EXPECT_EQ("copy 100.jpg|2006:08:26|TQ 30244 79562|1", one[3]);   // after "c not a photo.jpg"
    EXPECT_EQ(one, outcomes(2));
    EXPECT_EQ(44u, feedback.done.size());
    EXPECT_EQ(one, outcomes(3));
}

TEST_F(ParseRunTest, AStoppedRunLeavesTheRowsItDidNotReach)
{
    list.LoadFolder(folder);
    Workspace workspace;
    RunControl control(2);
    control.Stop();
    EXPECT_EQ(RunStatus::Stopped, Parse(settings, list, feedback, workspace, control).status);
    EXPECT_TRUE(feedback.done.empty());
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ(RowIcon::Blank, list.Row(i).icon);
}

}  // namespace
