// What lies around a photo's bytes and belongs to the user: another program's edit, extended
// attributes and ACLs, permissions and owner, hard links; and reasons that tell the truth.
#include <gtest/gtest.h>

#include <csignal>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "exif/PhotoListing.h"
#include "exif/GpsTagWriter.h"
#include "exif/Workspace.h"
#include "photos/PhotoKinds.h"
#include "support/InChild.h"
#include "support/Photos.h"
#include "support/TestSupport.h"

namespace {

GpsWrite WriteFor(const std::string& path)
{
    GpsWrite w;
    w.photoPath = path;
    w.latitude = 54.45;
    w.longitude = -3.02;
    w.elevationText = "120";
    return w;
}

std::string Attribute(const std::string& path, const char* name)
{
    char value[256];
    const ssize_t n = getxattr(path.c_str(), name, value, sizeof value);
    return n < 0 ? "<none>" : std::string(value, static_cast<size_t>(n));
}

}  // namespace

// An editor that saves the photo while Pinroute writes it: its edit stays, and the row asks
// for another run. The edit is planted between the copy and the rename, so no timing luck.
TEST(OwnedFiles, AnotherProgramsEditDuringTheWriteIsKept)
{
    TempDir dir;
    const std::string photo = dir.File("p.jpg");
    ASSERT_TRUE(WriteCameraPhoto(photo, 30000, 1));
    std::vector<GpsWrite> writes = {WriteFor(photo)};
    Workspace workspace;
    {
        PlantedExiv2 editor(RealExiv2Path() + " -M 'set Exif.Image.Artist Editor' -- '" + photo + "'");
        WriteGpsTagsBatch(workspace.Worker(0), writes, "v");
    }
    EXPECT_FALSE(writes[0].written);
    EXPECT_EQ("the photo changed during the run; run again", writes[0].reason);
    const std::string listing = ListTags(photo);
    EXPECT_EQ("Editor", TagValue(listing, "Exif.Image.Artist"));
    EXPECT_EQ("<missing>", TagValue(listing, "Exif.GPSInfo.GPSLatitude"));
    EXPECT_EQ(std::vector<std::string>{"p.jpg"}, FolderNames(dir.Path()));   // no copy left
}

TEST(OwnedFiles, ExtendedAttributesAndAclsAreKept)
{
    TempDir dir;
    const std::string photo = dir.File("p.jpg");
    ASSERT_TRUE(WriteCameraPhoto(photo, 30000, 2));
    if (setxattr(photo.c_str(), "user.xdg.tags", "holiday,lakes", 13, 0) != 0)
        GTEST_SKIP() << "the temporary folder's file system takes no user attributes";
    ASSERT_EQ(0, setxattr(photo.c_str(), "user.baloo.rating", "8", 1, 0));
    const bool acl = RunProgram({"setfacl", "-m", "u:nobody:rw,m:rw", photo}) == 0;
    const std::string aclBefore = Attribute(photo, "system.posix_acl_access");
    Workspace workspace;
    std::vector<GpsWrite> writes = {WriteFor(photo)};
    WriteGpsTagsBatch(workspace.Worker(0), writes, "v");
    ASSERT_TRUE(writes[0].written) << writes[0].reason;
    EXPECT_NE("<missing>", TagValue(ListTags(photo), "Exif.GPSInfo.GPSLatitude"));
    EXPECT_EQ("holiday,lakes", Attribute(photo, "user.xdg.tags"));
    EXPECT_EQ("8", Attribute(photo, "user.baloo.rating"));
    if (!acl)
        GTEST_SKIP() << "setfacl (Debian package acl) is missing: the ACL was not tried";
    EXPECT_NE("<none>", aclBefore);
    EXPECT_EQ(aclBefore, Attribute(photo, "system.posix_acl_access"));
}

// Run as a user who may write in the folder but not the photo: root's photo and a
// read-only photo stay as they are, and their owners.
TEST(OwnedFiles, APhotoTheUserMayNotWriteIsLeftAlone)
{
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0 || !nobody)
        GTEST_SKIP() << "needs root, to act as the user nobody";
    TempDir dir;
    ASSERT_EQ(0, chmod(dir.Path().c_str(), 0777));
    const std::string roots = dir.File("root.jpg"), readOnly = dir.File("readonly.jpg");
    ASSERT_TRUE(WriteCameraPhoto(roots, 30000, 3));
    ASSERT_TRUE(WriteCameraPhoto(readOnly, 30000, 4));
    ASSERT_EQ(0, chown(readOnly.c_str(), nobody->pw_uid, nobody->pw_gid));
    ASSERT_EQ(0, chmod(readOnly.c_str(), 0444));
    const std::string rootBytes = ReadFile(roots), readOnlyBytes = ReadFile(readOnly);
    const std::string reasons = InChild([&] {
        if (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0)
            return std::string("setuid failed");
        setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
        Workspace workspace;
        std::vector<GpsWrite> writes = {WriteFor(roots), WriteFor(readOnly)};
        WriteGpsTagsBatch(workspace.Worker(0), writes, "v");
        return writes[0].reason + "|" + writes[1].reason;
    });
    EXPECT_EQ("the photo belongs to root|the photo is read-only", reasons);
    EXPECT_EQ(rootBytes, ReadFile(roots));
    EXPECT_EQ(readOnlyBytes, ReadFile(readOnly));
    struct stat info;
    ASSERT_EQ(0, stat(roots.c_str(), &info));
    EXPECT_EQ(0u, info.st_uid);
}

// Photos the user owns in a group the user is not in (root's, after chown -R): a new group
// is harmless only where the group may do what everyone may.
TEST(OwnedFiles, AGroupThatCantBeKeptIsGivenUpOnlyWhereItChangesNoAccess)
{
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0 || !nobody || nobody->pw_gid == 0)
        GTEST_SKIP() << "needs root, to act as the user nobody";
    TempDir dir;
    ASSERT_EQ(0, chmod(dir.Path().c_str(), 0777));
    struct { const char* name; mode_t mode; const char* reason; } cases[] = {
        {"shared.jpg", 0644, ""},
        {"writable.jpg", 0666, ""},
        {"private.jpg", 0640, "the photo's group root can't be kept, whose permissions r-- differ from others' ---"},
        {"setgid.jpg", 02644, "the photo's group root can't be kept, and it runs as its owner or group (set-id bits)"},
    };
    std::vector<std::string> paths, before;
    for (const auto& c : cases) {
        paths.push_back(dir.File(c.name));
        ASSERT_TRUE(WriteCameraPhoto(paths.back(), 30000, 7));
        ASSERT_EQ(0, chown(paths.back().c_str(), nobody->pw_uid, 0));
        ASSERT_EQ(0, chmod(paths.back().c_str(), c.mode));
        before.push_back(ReadFile(paths.back()));
    }
    const std::string reasons = InChild([&] {
        if (setgid(nobody->pw_gid) != 0 || setgroups(0, nullptr) != 0 || setuid(nobody->pw_uid) != 0)
            return std::string("setuid failed");
        setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
        Workspace workspace;
        std::vector<GpsWrite> writes;
        for (const auto& path : paths)
            writes.push_back(WriteFor(path));
        WriteGpsTagsBatch(workspace.Worker(0), writes, "v");
        std::string all;
        for (const auto& w : writes)
            all += (w.written && w.sidecarPath.empty() ? "" : w.reason) + "|";
        return all;
    });
    std::string expected;
    for (const auto& c : cases)
        expected += std::string(c.reason) + "|";
    EXPECT_EQ(expected, reasons);
    for (size_t i = 0; i < paths.size(); ++i) {
        SCOPED_TRACE(paths[i]);
        struct stat info;
        ASSERT_EQ(0, stat(paths[i].c_str(), &info));
        EXPECT_EQ(cases[i].mode, info.st_mode & 07777);
        EXPECT_EQ(nobody->pw_uid, info.st_uid);
        const bool written = *cases[i].reason == '\0';
        EXPECT_EQ(written ? nobody->pw_gid : 0u, info.st_gid);
        EXPECT_EQ(written, before[i] != ReadFile(paths[i]));
    }
}

// Renaming a new file over one name would leave the other names with the old photo.
TEST(OwnedFiles, AHardLinkedPhotoTakesASidecar)
{
    TempDir dir;
    const std::string photo = dir.File("p.jpg"), other = dir.File("also.jpg");
    ASSERT_TRUE(WriteCameraPhoto(photo, 30000, 5));
    ASSERT_EQ(0, link(photo.c_str(), other.c_str()));
    const std::string before = ReadFile(photo);
    Workspace workspace;
    std::vector<GpsWrite> writes = {WriteFor(photo)};
    WriteGpsTagsBatch(workspace.Worker(0), writes, "v");
    EXPECT_TRUE(writes[0].written) << writes[0].reason;
    EXPECT_EQ("the photo has 2 hard links", writes[0].sidecarReason);
    EXPECT_EQ(SidecarPath(photo), writes[0].sidecarPath);
    EXPECT_EQ(before, ReadFile(photo));
    struct stat a, b;
    ASSERT_EQ(0, stat(photo.c_str(), &a));
    ASSERT_EQ(0, stat(other.c_str(), &b));
    EXPECT_EQ(a.st_ino, b.st_ino);
}

// A photo exiv2 never read is not a photo without EXIF: the reason is the tool's.
TEST(OwnedFiles, AListingThatCouldNotRunSaysWhy)
{
    TempDir dir;
    const std::string photo = dir.File("p.jpg");
    ASSERT_TRUE(WriteCameraPhoto(photo, 30000, 6));
    Workspace workspace;
    PhotoTags tags;
    {
        PlantedExiv2 killed("", "kill -9 $$");
        tags = ListPhotos(workspace.Worker(0), {photo, dir.File("missing.jpg")})[0];
    }
    EXPECT_FALSE(tags.listed);
    EXPECT_EQ("exiv2 was stopped by signal 9", tags.listError);

    {
        ScopedEnv path("PATH", dir.Path().c_str());   // no exiv2 at all
        tags = ListPhotos(workspace.Worker(0), {photo})[0];
    }
    EXPECT_EQ("exiv2 could not run: no such file or directory", tags.listError);

    // A check that is killed says so, not that a tag was not written; the photo stays.
    const std::string before = ReadFile(photo);
    std::vector<GpsWrite> writes = {WriteFor(photo)};
    {
        PlantedExiv2 killed("", "[ \"$1\" = -u ] && kill -9 $$");
        WriteGpsTagsBatch(workspace.Worker(0), writes, "v");
    }
    EXPECT_FALSE(writes[0].written);
    EXPECT_EQ("the check could not run: exiv2 was stopped", writes[0].reason.substr(0, 42)) << writes[0].reason;
    EXPECT_EQ(before, ReadFile(photo));
}

// The working folder of an instance that was killed goes at the next start; a live one's
// and a folder not of our name stay.
TEST(OwnedFiles, WorkingFoldersOfDeadInstancesGo)
{
    TempDir runtime;
    const int dead = DeadPid();
    const std::string deadFolder = "pinroute-" + std::to_string(dead) + "-Ab12Cd";
    const std::string liveFolder = "pinroute-" + std::to_string(getppid()) + "-Ef34Gh";
    for (const auto& name : {deadFolder, liveFolder, std::string("pinroute-notes")}) {
        ASSERT_EQ(0, mkdir(runtime.File(name).c_str(), 0700));
        WriteFile(runtime.File(name) + "/_output.tmp", "x");
    }
    const char* old = getenv("XDG_RUNTIME_DIR");
    const std::string previous = old ? old : "";
    setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    {
        Workspace workspace;
        ASSERT_TRUE(workspace.Ready());
        EXPECT_FALSE(FileExists(runtime.File(deadFolder)));
        EXPECT_TRUE(FileExists(runtime.File(liveFolder)));
        EXPECT_TRUE(FileExists(runtime.File("pinroute-notes")));
    }
    if (old)
        setenv("XDG_RUNTIME_DIR", previous.c_str(), 1);
    else
        unsetenv("XDG_RUNTIME_DIR");
}
