#include "photos/PhotoList.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace {

std::vector<std::string> Names(const PhotoList& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(list.Text(i, ColumnName));
    return names;
}

struct CountingObserver : PhotoListObserver {
    int replaced = 0;
    void RowsReplaced() override { ++replaced; }
    void RowUpdated(int) override {}
};

}  // namespace

TEST(PhotoList, SetFolderEndsInOneSlash)
{
    struct { const char* path; const char* folder; } cases[] = {
        {"/home/ann/Photos", "/home/ann/Photos/"},
        {"/home/ann/Photos/", "/home/ann/Photos/"},
        {"/", "/"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        PhotoList list;
        list.SetFolder(c.path);
        EXPECT_EQ(c.folder, list.folder);
    }
}

TEST(PhotoList, LoadFolderListsJpegsOfAnyCaseSortedByName)
{
    TempDir dir;
    for (const char* name : {"c.jpg", "B.JPG", "a.Jpg", "notes.png", "d.jpeg", "e.jpg.txt", "Z.jpg"})
        WriteFile(dir.File(name), "x");
    mkdir(dir.File("album.jpg").c_str(), 0755);   // a folder whose name fits is listed too

    PhotoList list;
    CountingObserver observer;
    list.SetObserver(&observer);
    list.LoadFolder(dir.Path());

    EXPECT_EQ(dir.Path() + "/", list.folder);
    EXPECT_EQ((std::vector<std::string>{"a.Jpg", "album.jpg", "B.JPG", "c.jpg", "Z.jpg"}), Names(list));
    EXPECT_EQ(1, observer.replaced);
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(IconBlank, list.Row(i).icon);
        EXPECT_EQ("", list.Text(i, ColumnDate));
        EXPECT_EQ("", list.Text(i, ColumnMessage));
    }
    EXPECT_EQ(dir.Path() + "/B.JPG", list.Path(2));

    list.LoadFolder(dir.File("no such folder"));   // empties the list, no message
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(dir.File("no such folder") + "/", list.folder);
}

TEST(PhotoList, DropListsEveryPathUnderTheLastFolder)
{
    TempDir dir;
    WriteFile(dir.File("old.jpg"), "x");
    PhotoList list;
    list.LoadFolder(dir.Path());
    list.SetText(0, ColumnMessage, "Rejected");

    list.AddDroppedFiles({"/trips/a/x.jpg", "", "/other place/b/y.txt"});
    EXPECT_EQ((std::vector<std::string>{"x.jpg", "y.txt"}), Names(list));
    EXPECT_EQ("/other place/b/", list.folder);
    EXPECT_EQ("", list.Text(0, ColumnMessage));
    EXPECT_EQ(IconBlank, list.Row(0).icon);

    // A dropped folder is a row of its own; nothing readable leaves the folder alone.
    list.AddDroppedFiles({"/trips/may/"});
    EXPECT_EQ((std::vector<std::string>{"may"}), Names(list));
    EXPECT_EQ("/trips/", list.folder);
    list.AddDroppedFiles({"", "/"});
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ("/trips/", list.folder);
}
