#include <cerrno>
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "parse/RenamePhoto.h"
#include "common/FileSafety.h"
#include "support/TestSupport.h"

namespace {

const char* const kExists = "File or directory specified already exists or could not be created (invalid path)";
const char* const kInvalid = "File name contains invalid characters";

std::set<std::string> Listing(const std::string& dir)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        names.insert(entry.path().string());
    return names;
}

// The rename as the tables state it; folder is where the test expects the photo to be.
bool Rename(const std::string& fullPath, const std::string& folder, int dateFlag, int posnFlag, int32_t lat,
            int32_t lon, const std::string& position, const std::string& date, std::string& newName,
            std::string& message, bool checkOnly = false)
{
    EXPECT_EQ(folder, fullPath.substr(0, folder.size()));
    NameParts parts;
    parts.date = dateFlag != 0;
    parts.position = posnFlag != 0;
    parts.dateText = date;
    parts.positionText = position;
    parts.latitude = lat;
    parts.longitude = lon;
    const RenameOutcome outcome = RenamePhoto(fullPath, parts, checkOnly);
    newName = outcome.renamed ? outcome.newPath : std::string();
    message = outcome.message.English();
    return outcome.renamed;
}

}  // namespace

TEST(RenamePhoto, BuildsTheNewNameFromFlagsDateAndPosition)
{
    struct {
        const char* file; int dateFlag; int posnFlag; int32_t lat; int32_t lon;
        const char* position; const char* date; const char* renamed;
    } cases[] = {
        {"IMG_0001.JPG", 1, 0, 51, 0, "TQ 38034 80412", "2006:08:26", "IMG_0001 2006-08-26 .JPG"},
        {"IMG_0001.JPG", 0, 1, 51, 0, "TQ 38034 80412", "2006:08:26", "IMG_0001 TQ 38034 80412.JPG"},
        {"IMG_0001.JPG", 1, 1, 51, 0, "51.477500 -0.001400", "2006:08:26", "IMG_0001 2006-08-26 51.477500 -0.001400.JPG"},
        {"IMG_0001.JPG", 0, 0, 51, 0, "TQ 38034 80412", "2006:08:26", "IMG_0001 .JPG"},
        {"IMG_0001.JPG", 1, 0, 51, 0, "", "2006:08:26 14:20:31", "IMG_0001 2006:08:26 14-20-31 .JPG"},
        {"IMG_0001.JPG", 1, 0, 51, 0, "", "20060826", "IMG_0001 20060826 .JPG"},
        {"IMG_0001.JPG", 1, 0, 51, 0, "", "2006:08", "IMG_0001 2006-08 .JPG"},
        {"IMG_0001.JPG", 1, 0, 51, 0, "", "", "IMG_0001  .JPG"},   // no date: two spaces
        // No position text (a failed grid conversion): whole degrees with hemisphere letters.
        {"IMG_0001.JPG", 0, 1, 51, 0, "", "2006:08:26", "IMG_0001 N51 E0.JPG"},
        {"IMG_0001.JPG", 0, 1, -33, 151, "", "2006:08:26", "IMG_0001 S33 E151.JPG"},
        {"IMG_0001.JPG", 0, 1, 0, -1, "", "2006:08:26", "IMG_0001 N0 W1.JPG"},
        {"IMG_0001.JPG", 0, 1, INT32_MIN, INT32_MIN, "", "", "IMG_0001 S2147483648 W2147483648.JPG"},
        {"README", 1, 0, 0, 0, "", "2006:08:26", "README 2006-08-26 "},   // no extension
        {"a.b.jpg", 1, 0, 0, 0, "", "2006:08:26", "a.b 2006-08-26 .jpg"},   // the last dot only
        {".hidden", 0, 0, 0, 0, "", "", " .hidden"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.renamed);
        TempDir temp;
        const std::string folder = temp.File("Photos v1.2") + "/";   // a dot in the folder
        std::filesystem::create_directory(folder);
        WriteFile(folder + c.file, "photo bytes");

        std::string newName = "stale";
        std::string message = "stale";
        EXPECT_TRUE(Rename(folder + c.file, folder, c.dateFlag, c.posnFlag, c.lat, c.lon, c.position,
                                c.date, newName, message)) << message;
        EXPECT_EQ(folder + c.renamed, newName);
        EXPECT_EQ("photo bytes", ReadFile(folder + c.renamed));
        EXPECT_FALSE(FileExists(folder + c.file));
        EXPECT_EQ(2u, Listing(temp.Path()).size());   // the folder and the photo, nothing else
    }
}

// A second Rename finds the name already ending with what it would add, and changes nothing.
TEST(RenamePhoto, SecondRenameChangesNothing)
{
    TempDir temp;
    const std::string folder = temp.Path() + "/";
    WriteFile(folder + "IMG_0001.JPG", "photo");
    std::string newName, message;
    ASSERT_TRUE(Rename(folder + "IMG_0001.JPG", folder, 1, 0, 51, 0, "", "2006:08:26", newName, message));
    EXPECT_EQ(folder + "IMG_0001 2006-08-26 .JPG", newName);
    ASSERT_TRUE(Rename(newName, folder, 1, 0, 51, 0, "", "2006:08:26", newName, message));
    EXPECT_EQ(folder + "IMG_0001 2006-08-26 .JPG", newName);
    EXPECT_EQ("photo", ReadFile(newName));
    EXPECT_EQ(std::vector<std::string>{"IMG_0001 2006-08-26 .JPG"}, FolderNames(folder));
}

// Each refusal leaves the folder exactly as it was: no file replaced, moved or made.
TEST(RenamePhoto, RefusalsLeaveEveryFileAlone)
{
    struct {
        const char* what; const char* date; std::string position;
        const char* obstacle;   // a file in the way, or a folder ("/" at the end) the new name reaches
        bool photo; const char* message;
    } cases[] = {
        {"name taken by a file", "", "TQ 38034 80412", "IMG_0001 TQ 38034 80412.JPG", true, kExists},
        {"name taken by a folder", "", "TQ 38034 80412", "IMG_0001 TQ 38034 80412.JPG/", true, kExists},
        {"photo vanished", "", "TQ 38034 80412", nullptr, false, "Original file not found"},
        {"slash in the date", "2006/08/26", "TQ 38034 80412", "IMG_0001 2006/08/", true, kInvalid},
        {"slash in the position", "2006:08:26", "../../outside", "IMG_0001 2006-08-26 ../", true, kInvalid},
        {"slash into a folder", "2006:08:26", "sub/inside", "IMG_0001 2006-08-26 sub/", true, kInvalid},
        {"zero byte in the position", "2006:08:26", std::string("TQ\0/x", 5), nullptr, true, kInvalid},
        {"date climbing out", "../2006", "", "IMG_0001 ../", true, kInvalid},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir temp;
        const std::string folder = temp.File("photos") + "/";
        std::filesystem::create_directory(folder);
        if (c.photo)
            WriteFile(folder + "IMG_0001.JPG", std::string("photo\0one", 9));
        if (c.obstacle && std::string(c.obstacle).back() == '/')
            std::filesystem::create_directories(folder + c.obstacle);
        else if (c.obstacle)
            WriteFile(folder + c.obstacle, "another photo");
        const auto before = Listing(temp.Path());

        const int dateFlag = c.date[0] != '\0';
        std::string newName = "stale", message;
        // Checking first must give the same answer and change nothing either.
        EXPECT_FALSE(Rename(folder + "IMG_0001.JPG", folder, dateFlag, 1, 51, 0, c.position, c.date,
                            newName, message, true));
        EXPECT_EQ(c.message, message);
        EXPECT_EQ(before, Listing(temp.Path()));
        EXPECT_FALSE(Rename(folder + "IMG_0001.JPG", folder, dateFlag, 1, 51, 0, c.position, c.date,
                            newName, message));
        EXPECT_EQ(c.message, message);
        EXPECT_EQ("", newName);
        EXPECT_EQ(before, Listing(temp.Path()));
        if (c.photo) {
            EXPECT_EQ(std::string("photo\0one", 9), ReadFile(folder + "IMG_0001.JPG"));
        }
        if (c.obstacle && std::string(c.obstacle).back() != '/') {
            EXPECT_EQ("another photo", ReadFile(folder + c.obstacle));
        }
    }
}

TEST(RenamePhoto, LinkFallbackRefusesAnExistingName)
{
    TempDir temp;
    WriteFile(temp.File("a.jpg"), "photo a");
    WriteFile(temp.File("b.jpg"), "photo b");
    EXPECT_EQ(EEXIST, LinkThenUnlink(temp.File("a.jpg"), temp.File("b.jpg")));
    EXPECT_EQ("photo a", ReadFile(temp.File("a.jpg")));
    EXPECT_EQ("photo b", ReadFile(temp.File("b.jpg")));

    EXPECT_EQ(0, LinkThenUnlink(temp.File("a.jpg"), temp.File("c.jpg")));
    EXPECT_FALSE(FileExists(temp.File("a.jpg")));
    EXPECT_EQ("photo a", ReadFile(temp.File("c.jpg")));
    EXPECT_EQ(ENOENT, LinkThenUnlink(temp.File("a.jpg"), temp.File("d.jpg")));
}
