#include "journal/Journal.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

// A record reads back as written, whatever bytes its tags and paths hold.
TEST(Journal, ARecordReadsBackAsWritten)
{
    TempDir tmp;
    ScopedEnv state("XDG_STATE_HOME", tmp.Path().c_str());
    JournalRun run;
    run.id = "20261207-101010-42";
    run.time = 1700000000;
    run.command = "geotag";
    JournalEntry e;
    e.photo = tmp.File("caf\xe9 \"quoted\"\n.jpg");
    e.file = e.photo;
    e.keys = {"Exif.GPSInfo.GPSLatitude", "Exif.Image.Software"};
    e.before = {{"Exif.Image.Software", "Ascii", "Ver.1.01 \\ \"x\""}};
    e.beforeHash = 18446744073709551557ull;   // beyond 2^53: kept whole
    run.photos.push_back(e);
    std::string reason;
    ASSERT_TRUE(SaveJournal(run, reason)) << reason;
    JournalRun back;
    ASSERT_TRUE(LoadJournal(run.id, back, reason)) << reason;
    ASSERT_EQ(1u, back.photos.size());
    EXPECT_EQ(e.photo, back.photos[0].photo);
    EXPECT_EQ(e.keys, back.photos[0].keys);
    EXPECT_TRUE(e.before == back.photos[0].before);
    EXPECT_EQ(e.beforeHash, back.photos[0].beforeHash);
    EXPECT_FALSE(LoadJournal("../20261207-101010-42", back, reason)) << "a run id is no path";
}

// The last 100 runs are kept, or all of the last 90 days when there are more.
TEST(Journal, KeepsTheLastHundredRunsOrNinetyDays)
{
    TempDir tmp;
    ScopedEnv state("XDG_STATE_HOME", tmp.Path().c_str());
    const int64_t now = 1800000000, day = 86400;
    std::string reason;
    for (int i = 0; i < 130; ++i) {
        JournalRun run;
        run.id = "run-" + std::to_string(1000 + i);
        // 20 runs of the last week, then 110 older ones, a day apart from 91 days back.
        run.time = i < 20 ? now - i * 3600 : now - (91 + i) * day;
        run.startedNanos = run.time * 1000000000;
        ASSERT_TRUE(SaveJournal(run, reason)) << reason;
    }
    PruneJournals(now);
    const std::vector<JournalRun> kept = ListJournals();
    ASSERT_EQ(100u, kept.size());
    EXPECT_EQ("run-1000", kept.front().id);   // newest first
    EXPECT_EQ("run-1099", kept.back().id);
}
