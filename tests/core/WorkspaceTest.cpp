#include "exif/Workspace.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "exif/GpsTagWriter.h"
#include "support/Photos.h"
#include "support/TestSupport.h"

namespace {

std::string ParentOf(const std::string& path)
{
    return path.substr(0, path.rfind('/'));
}

}  // namespace

TEST(Workspace, GoesUnderTheRuntimeFolderThenTmpdirThenTmp)
{
    TempDir runtime, tmp;
    const std::string missing = runtime.File("gone");
    struct { const char* name; const char* xdg; const char* tmpdir; std::string expected; } cases[] = {
        {"runtime folder first", runtime.Path().c_str(), tmp.Path().c_str(), runtime.Path()},
        {"no runtime folder", nullptr, tmp.Path().c_str(), tmp.Path()},
        {"runtime folder missing", missing.c_str(), tmp.Path().c_str(), tmp.Path()},
        {"relative names ignored", "rel", "rel2", "/tmp"},
        {"neither", nullptr, nullptr, "/tmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnv xdg("XDG_RUNTIME_DIR", c.xdg);
        ScopedEnv tmpdir("TMPDIR", c.tmpdir);
        std::string folder;
        {
            Workspace workspace;
            ASSERT_TRUE(workspace.Ready()) << workspace.Error();
            folder = workspace.Folder();
            EXPECT_EQ(c.expected, ParentOf(folder));
            struct stat info;
            ASSERT_EQ(0, lstat(folder.c_str(), &info));
            EXPECT_TRUE(S_ISDIR(info.st_mode));
            EXPECT_EQ(0700u, info.st_mode & 07777);
        }
        EXPECT_FALSE(FileExists(folder));
    }
}

TEST(Workspace, EachWorkerHasItsOwnFilesAndLinksAreRemovedNotFollowed)
{
    TempDir outside;
    WriteFile(outside.File("keep.txt"), "precious\n");
    ASSERT_EQ(0, mkdir(outside.File("sub").c_str(), 0755));
    WriteFile(outside.File("sub/inner.txt"), "also precious\n");

    std::string folder;
    {
        Workspace one, two;
        ASSERT_TRUE(one.Ready());
        ASSERT_TRUE(two.Ready());
        EXPECT_NE(one.Folder(), two.Folder());
        folder = one.Folder();
        WorkerFiles first = one.Worker(0), second = one.Worker(1);
        EXPECT_EQ(first.command, one.Worker(0).command);   // the same set on each call
        EXPECT_NE(ParentOf(first.command), ParentOf(second.command));
        for (const WorkerFiles& files : {first, second}) {
            EXPECT_EQ(ParentOf(files.command) + "/cmd.txt", files.command);
            EXPECT_EQ(ParentOf(files.command) + "/_output.tmp", files.listing);
            EXPECT_EQ(ParentOf(files.command) + "/log_update_jpg.txt", files.log);
            EXPECT_EQ(one.Folder(), ParentOf(ParentOf(files.command)));
            WriteFile(files.log, "log\n");
        }
        ASSERT_EQ(0, symlink(outside.File("keep.txt").c_str(), first.listing.c_str()));
        ASSERT_EQ(0, symlink(outside.File("sub").c_str(), (ParentOf(first.log) + "/dir").c_str()));
        ASSERT_EQ(0, symlink(outside.Path().c_str(), (one.Folder() + "/top").c_str()));
    }
    EXPECT_FALSE(FileExists(folder));
    EXPECT_EQ("precious\n", ReadFile(outside.File("keep.txt")));
    EXPECT_EQ("also precious\n", ReadFile(outside.File("sub/inner.txt")));
}

TEST(Workspace, PlantedLinksAtWorkingFilesAreNeverFollowed)
{
    TempDir dir, victims;
    Workspace workspace;
    WorkerFiles files = workspace.Worker(0);
    const std::string worker = ParentOf(files.command);
    ASSERT_TRUE(WriteCameraPhoto(dir.File("p.jpg"), 50000, 1));
    const std::string photo = ReadFile(dir.File("p.jpg"));
    // Without its command file or its metadata copies the write can't go on; the log is
    // only for the user to read, so the write goes on without it.
    struct { const char* name; bool needed; } cases[] = {
        {"cmd.txt", true}, {"before-0.jpg", true}, {"after-0.jpg", true}, {"log_update_jpg.txt", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string victim = victims.File(c.name);
        WriteFile(victim, "victim\n");
        unlink((worker + "/" + c.name).c_str());   // the working file an earlier case left
        ASSERT_EQ(0, symlink(victim.c_str(), (worker + "/" + c.name).c_str()));
        std::string reason;
        EXPECT_EQ(!c.needed, WriteGpsTags(files, dir.File("p.jpg"), 1, 2, "3", "v", reason));
        EXPECT_EQ(c.needed, reason != "");
        EXPECT_EQ("victim\n", ReadFile(victim));
        if (c.needed) {
            EXPECT_EQ(photo, ReadFile(dir.File("p.jpg")));
        }
        ASSERT_EQ(0, unlink((worker + "/" + c.name).c_str()));
    }
    std::string reason;
    EXPECT_TRUE(WriteGpsTags(files, dir.File("p.jpg"), 1, 2, "3", "v", reason)) << reason;
}

TEST(Workspace, AnUnusableCurrentFolderChangesNothing)
{
    TempDir dir, gone;
    ASSERT_TRUE(WriteCameraPhoto(dir.File("p.jpg"), 50000, 2));
    ScopedCwd cwd(gone.Path());
    ASSERT_EQ(0, rmdir(gone.Path().c_str()));   // nothing can be created in it any more
    Workspace workspace;
    ASSERT_TRUE(workspace.Ready()) << workspace.Error();
    std::string reason;
    EXPECT_TRUE(WriteGpsTags(workspace.Worker(0), dir.File("p.jpg"), 51.5, -0.125, "3", "v", reason))
        << reason;
    EXPECT_EQ("N", TagValue(ListTags(dir.File("p.jpg")), "Exif.GPSInfo.GPSLatitudeRef"));
}
