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
    int updated = 0;
    void RowsReplaced() override { ++replaced; }
    void RowUpdated(int) override { ++updated; }
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

TEST(PhotoList, LoadFolderListsPhotoKindsOfAnyCaseSortedByName)
{
    TempDir dir;
    for (const char* name : {"c.jpg", "B.JPG", "a.Jpg", "notes.txt", "d.jpeg", "e.jpg.txt", "Z.jpg", "f.Cr3",
                             "f.Cr3.xmp", "g.tiff", "h.PNG", "tiff", "i.webp.bak"})
        WriteFile(dir.File(name), "x");
    mkdir(dir.File("album.jpg").c_str(), 0755);   // a folder whose name fits is listed too

    PhotoList list;
    CountingObserver observer;
    list.SetObserver(&observer);
    list.LoadFolder(dir.Path());

    EXPECT_EQ(dir.Path() + "/", list.folder);
    EXPECT_EQ((std::vector<std::string>{"a.Jpg", "album.jpg", "B.JPG", "c.jpg", "d.jpeg", "f.Cr3", "g.tiff", "h.PNG",
                                        "Z.jpg"}),
              Names(list));
    EXPECT_EQ(1, observer.replaced);
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(RowIcon::Blank, list.Row(i).icon);
        EXPECT_EQ("", list.Text(i, ColumnDate));
        EXPECT_EQ("", list.Text(i, ColumnMessage));
    }
    EXPECT_EQ(dir.Path() + "/B.JPG", list.Path(2));

    list.LoadFolder(dir.File("no such folder"));   // empties the list, no message
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(dir.File("no such folder") + "/", list.folder);
}

TEST(PhotoList, DropsKeepEachFilesOwnFolder)
{
    TempDir dir;
    WriteFile(dir.File("old.jpg"), "x");
    PhotoList list;
    list.LoadFolder(dir.Path());
    RowOutcome rejected;
    rejected.icon = RowIcon::Cross;
    rejected.text = "Rejected";
    list.SetRow(0, rejected);

    list.AddDroppedFiles({"/trips/a/x.jpg", "", "/other place/b/y.txt", "/trips/b/x.jpg", "here.jpg"});
    EXPECT_EQ((std::vector<std::string>{"x.jpg", "y.txt", "x.jpg", "here.jpg"}), Names(list));
    EXPECT_EQ((std::vector<std::string>{"/trips/a/x.jpg", "/other place/b/y.txt", "/trips/b/x.jpg", "here.jpg"}),
              (std::vector<std::string>{list.Path(0), list.Path(1), list.Path(2), list.Path(3)}));
    EXPECT_EQ("", list.Text(0, ColumnMessage));
    EXPECT_EQ(RowIcon::Blank, list.Row(0).icon);

    // A dropped folder is a row of its own; nothing readable empties the list.
    list.AddDroppedFiles({"/trips/may/"});
    EXPECT_EQ((std::vector<std::string>{"may"}), Names(list));
    EXPECT_EQ("/trips/may", list.Path(0));
    list.AddDroppedFiles({"", "/"});
    EXPECT_EQ(0, list.Count());
}

TEST(PhotoList, ARowTakesItsOutcome)
{
    PhotoList list;
    CountingObserver observer;
    list.SetObserver(&observer);
    list.AddDroppedFiles({"/p/a.jpg"});
    RowOutcome dated;
    dated.icon = RowIcon::Tick;
    dated.date = "2006:08:26";
    dated.text = "TQ 38034 80412";
    list.SetRow(0, dated);
    RowOutcome keepsDate;   // no date given: the cell keeps what it shows
    keepsDate.icon = RowIcon::Cross;
    keepsDate.text = "Failed to write GPS tags";
    keepsDate.tip = "no space left on device";
    list.SetRow(0, keepsDate);
    EXPECT_EQ("2006:08:26", list.Text(0, ColumnDate));
    EXPECT_EQ("Failed to write GPS tags", list.Text(0, ColumnMessage));
    EXPECT_EQ("no space left on device", list.Row(0).tip);
    RowOutcome renamed;
    renamed.icon = RowIcon::Tick;
    renamed.newPath = "/p/a 2006-08-26 .jpg";
    list.SetRow(0, renamed);
    EXPECT_EQ("a 2006-08-26 .jpg", list.Text(0, ColumnName));
    EXPECT_EQ("/p/a 2006-08-26 .jpg", list.Path(0));
    EXPECT_EQ(3, observer.updated);
    list.SetRow(5, renamed);   // out of range: ignored
    EXPECT_EQ(3, observer.updated);
}

