#include "journal/Journal.h"
#include "run/RunFrame.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/Settings.h"
#include "support/InChild.h"
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

// The last 100 runs are kept, or all of the last 90 days when there are more; what killed
// saves left goes.
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
    const std::string killedSave = tmp.File("pinroute/.run-1000.json." + std::to_string(DeadPid()) + "-Ab12Cd");
    WriteFile(killedSave, "{\"id\":");
    PruneJournals(now);
    EXPECT_FALSE(FileExists(killedSave)) << "a killed save's temporary file";
    const std::vector<JournalRun> kept = ListJournals();
    ASSERT_EQ(100u, kept.size());
    EXPECT_EQ("run-1000", kept.front().id);   // newest first
    EXPECT_EQ("run-1099", kept.back().id);
}

namespace {

// A run as a killed rename would leave it: photo renamed from oldPath.
JournalRun RenameRun(const std::string& id, const std::string& photo, const std::string& oldPath)
{
    JournalRun run;
    run.id = id;
    run.time = 1800000000;
    run.startedNanos = run.time * 1000000000;
    run.command = "rename";
    JournalEntry e;
    e.photo = photo;
    e.oldPath = oldPath;
    run.photos.push_back(e);
    return run;
}

// The record's text as SaveJournal writes it.
std::string RecordText(const JournalRun& run)
{
    TempDir scratch;
    ScopedEnv state("XDG_STATE_HOME", scratch.Path().c_str());
    std::string reason;
    return SaveJournal(run, reason) ? ReadFile(scratch.File("pinroute/" + run.id + ".json")) : reason;
}

}  // namespace

// Another user who could write the journal could make undo move or rewrite the user's photos:
// a folder or file of another user's, one others may write, or a link at the folder's name is
// refused with the reason. Run as the user nobody, with root as the other user.
TEST(Journal, RefusesAJournalAnotherUserCouldHaveWritten)
{
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0 || !nobody)
        GTEST_SKIP() << "needs root, to act as the user nobody against another user";
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    struct {
        const char* name;
        bool folderIsLink;
        uid_t folderOwner;
        mode_t folderMode;
        uid_t fileOwner;
        mode_t fileMode;
        const char* reason;
    } cases[] = {
        {"another user's folder", false, 0, 0755, 0, 0644, "belongs to root, not to nobody"},
        {"a folder others may write", false, uid, 0777, uid, 0600, "may be written by other users (mode 0777)"},
        {"a link to another user's folder", true, 0, 0755, 0, 0644, "is a link"},
        {"another user's file in the user's folder", false, uid, 0700, 0, 0644, "its file belongs to root"},
        {"a file others may write", false, uid, 0700, uid, 0666, "its file may be written by other users"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;   // private: root's, and nobody may only pass through it
        ASSERT_EQ(0, chmod(dir.Path().c_str(), 0711));
        const std::string state = dir.File("state"), planted = dir.File("planted");
        ASSERT_EQ(0, mkdir(state.c_str(), 0700));
        ASSERT_EQ(0, chown(state.c_str(), uid, gid));
        ASSERT_EQ(0, mkdir(planted.c_str(), 0755));
        const std::string folder = c.folderIsLink ? planted : state + "/pinroute";
        if (c.folderIsLink)
            ASSERT_EQ(0, symlink(planted.c_str(), (state + "/pinroute").c_str()));
        else
            ASSERT_EQ(0, mkdir(folder.c_str(), 0700));
        // The run would move the user's photo into a folder of the other user's.
        const std::string id = "20261207-101010-42";
        WriteFile(folder + "/" + id + ".json", RecordText(RenameRun(id, dir.File("photos/p.jpg"), planted + "/p.jpg")));
        ASSERT_EQ(0, chown(folder.c_str(), c.folderOwner, c.folderOwner ? gid : 0));
        ASSERT_EQ(0, chmod(folder.c_str(), c.folderMode));
        ASSERT_EQ(0, chown((folder + "/" + id + ".json").c_str(), c.fileOwner, c.fileOwner ? gid : 0));
        ASSERT_EQ(0, chmod((folder + "/" + id + ".json").c_str(), c.fileMode));
        const std::string seen = InChild([&] {
            if (setgid(gid) != 0 || setuid(uid) != 0)
                return std::string("setuid failed");
            setenv("XDG_STATE_HOME", state.c_str(), 1);
            JournalRun run;
            std::string reason, folderProblem;
            if (LoadJournal(id, run, reason))
                return std::string("loaded");
            const std::vector<JournalRun> listed = ListJournals(&folderProblem);
            return reason + "|" + folderProblem + (listed.empty() ? "" : "|listed: " + listed[0].problem);
        });
        EXPECT_NE(std::string::npos, seen.find(c.reason)) << seen;
        EXPECT_EQ(std::string::npos, seen.find("loaded")) << seen;
    }
}

// Without HOME the journal is the password database's home's, never a shared folder; a user
// without any home runs unjournalled and is told so.
TEST(Journal, WithoutHomeTheJournalIsNeverInASharedFolder)
{
    const std::string seen = InChild([] {
        unsetenv("HOME");
        unsetenv("XDG_STATE_HOME");
        const passwd* user = getpwuid(geteuid());
        std::string text = JournalFolder() == (user ? std::string(user->pw_dir) + "/.local/state/pinroute" : "")
            ? "own home" : "elsewhere: " + JournalFolder();
        if (geteuid() != 0)
            return text;
        const uid_t unknown = 4012345;   // no entry in the password database
        if (getpwuid(unknown) || setgid(unknown) != 0 || setuid(unknown) != 0)
            return text + "|can't become a user without an entry";
        Settings settings;
        RunJournal journal;
        RunResult result;
        const bool runs = StartJournal(journal, "geotag", settings, {"/photos/p.jpg"}, result);
        return text + "|" + JournalFolder() + "|" + (runs ? "runs" : "stops") + "|" + result.journalId + "|"
            + result.journalError.substr(0, 11);
    });
    EXPECT_EQ(geteuid() == 0 ? "own home||runs||no journal:" : "own home", seen);
}

// Every value read back is checked before use: a journal whose tag names or paths are not as
// Pinroute writes them is refused whole, and still listed, with the reason.
TEST(Journal, RefusesNamesAndPathsPinrouteNeverWrites)
{
    TempDir tmp;
    ScopedEnv state("XDG_STATE_HOME", tmp.Path().c_str());
    struct {
        const char* name;
        std::string key;
        std::string beforeKey;
        std::string oldPath;
        std::string reason;
    } cases[] = {
        {"a key that starts a second command", "Exif.GPSInfo.GPSLatitude\ndel Exif.Image.Make", "", "",
         "\"Exif.GPSInfo.GPSLatitude?del Exif.Image.Make\" is not a tag name"},
        {"an old value of a tag the run never named", "Exif.GPSInfo.GPSLatitude", "Exif.Image.Make", "",
         "the old value of \"Exif.Image.Make\" is not one of its tags"},
        {"an old name in another folder", "", "", "/elsewhere/p.jpg", "is not in the photo's folder"},
        {"a path cut short by a NUL", "", "", std::string("/photos/q.jpg\0/x", 16), "a path in it is no path"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        JournalRun run = RenameRun("20261207-1010" + std::to_string(10 + n++) + "-42", "/photos/p.jpg", c.oldPath);
        if (!c.key.empty()) {
            run.photos[0].file = run.photos[0].photo;
            run.photos[0].keys = {c.key};
        }
        if (!c.beforeKey.empty())
            run.photos[0].before = {{c.beforeKey, "Ascii", "Canon"}};
        std::string reason;
        ASSERT_TRUE(SaveJournal(run, reason)) << reason;
        JournalRun back;
        EXPECT_FALSE(LoadJournal(run.id, back, reason));
        EXPECT_NE(std::string::npos, reason.find("damaged: photo 1: ")) << reason;
        EXPECT_NE(std::string::npos, reason.find(c.reason)) << reason;
        const std::vector<JournalRun> listed = ListJournals();
        ASSERT_FALSE(listed.empty());
        EXPECT_EQ(run.id, listed.front().id);
        EXPECT_NE(std::string::npos, listed.front().problem.find(c.reason)) << listed.front().problem;
    }
}
