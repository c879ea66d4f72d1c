#include "gui/MainDialog.h"

#include <sys/stat.h>

#include <QDropEvent>
#include <QHelpEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QAction>
#include <QMenu>
#include <QShortcut>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <QUrl>
#include <gtest/gtest.h>

#include "gui/PhotoListView.h"
#include <QSignalSpy>

#include <cstdlib>
#include <filesystem>
#include "support/TestSupport.h"

namespace {

// A settings file and photos in a scratch folder; the working folder under it too.
class MainDialogTest : public testing::Test {
protected:
    TempDir tmp;
    std::string runtimeDir = tmp.File("runtime");
    std::string oldRuntime = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";

    MainDialogTest()
    {
        mkdir(runtimeDir.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
    }
    ~MainDialogTest() override
    {
        if (oldRuntime.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    }

    std::string Ini() const { return tmp.File("pinroute.ini"); }
    void WriteSettings(const std::string& lines) { WriteFile(Ini(), "[Config]\n" + lines); }
    int RuntimeEntries() const
    {
        int n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(runtimeDir))
            ++n;
        return n;
    }
};

// 10:00 UTC on the day, in the locale's short form, as the window's messages give moments.
std::string LocaleMoment(int year, int month, int day)
{
    return QLocale().toString(QDateTime(QDate(year, month, day), QTime(10, 0), Qt::UTC), QLocale::ShortFormat).toStdString();
}

QString CellText(QAbstractItemView* view, int row, int column)
{
    return view->model()->index(row, column).data().toString();
}

// Clicks the button and waits for the run it starts to end.
void RunAndWait(MainDialog& dialog, const char* button)
{
    QSignalSpy finished(&dialog, &MainDialog::RunFinished);
    dialog.findChild<QPushButton*>(button)->click();
    if (dialog.Running()) {
        ASSERT_TRUE(finished.wait(60000));
    }
}

TEST_F(MainDialogTest, ControlsCarryTheirIdsTextsAndTabOrder)
{
    WriteFile(tmp.File("b.JPG"), "x");
    WriteFile(tmp.File("a.jpg"), "x");
    WriteSettings("JPGDir=" + tmp.Path() + "\n");
    MainDialog dialog(Ini());

    struct { const char* name; int id; const char* text; } buttons[] = {
        {"geotagButton", 1018, "&GeoTag"}, {"parseButton", 1002, "&Parse"},
        {"renameButton", 1003, "&Rename"}, {"aboutButton", 1025, "&About"},
        {"setupButton", 1004, "&Set-up"},  {"closeButton", 2, "&Close"},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.name);
        auto* button = dialog.findChild<QPushButton*>(b.name);
        ASSERT_NE(nullptr, button);
        EXPECT_EQ(b.id, button->property("controlId").toInt());
        EXPECT_EQ(QString(b.text), button->text());
    }
    EXPECT_TRUE(dialog.findChild<QPushButton*>("geotagButton")->isDefault());
    auto* list = dialog.findChild<PhotoListView*>("photoList");
    auto* status = dialog.findChild<QLineEdit*>("statusLine");
    ASSERT_NE(nullptr, list);
    ASSERT_NE(nullptr, status);
    EXPECT_EQ(1001, list->property("controlId").toInt());
    EXPECT_EQ(1028, status->property("controlId").toInt());
    EXPECT_TRUE(status->isReadOnly());
    EXPECT_EQ(QString("Parsing:-"), dialog.findChild<QLabel*>("statusLabel")->text());
    EXPECT_EQ(QString("Pinroute 1.00.0.19 (https://www.openstreetmap.org/traces)"), dialog.windowTitle());
    EXPECT_FALSE(dialog.windowIcon().isNull());

    // The folder of the settings is listed at once, sorted.
    ASSERT_EQ(2, list->model()->rowCount());
    EXPECT_EQ(QString("a.jpg"), CellText(list, 0, 1));
    EXPECT_EQ(QString("b.JPG"), CellText(list, 1, 1));

    QStringList order;
    QWidget* w = dialog.findChild<QPushButton*>("geotagButton");
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w->objectName() != "geotagButton" && order.size() < 20);
    QStringList expected{"geotagButton", "parseButton", "renameButton", "aboutButton", "setupButton",
                         "closeButton", "photoList", "statusLine"};
    if (dialog.findChild<QWidget*>("placeSearch"))   // the map's town search, in a build with the map
        expected << "placeSearch";
    EXPECT_EQ(expected,
              order);
}

TEST_F(MainDialogTest, EnterPressesGeoTag)
{
    WriteFile(tmp.File("walk.gpx"), "<gpx version=\"1.1\"><trk><trkseg><trkpt lat=\"54.5\" lon=\"-3\">"
                                    "<time>2006-05-01T10:00:00Z</time></trkpt></trkseg></trk></gpx>\n");
    WriteTinyJpeg(tmp.File("no exif.jpg"));
    WriteSettings("JPGDir=" + tmp.Path() + "\nGPXPath=" + tmp.File("walk.gpx") + "\n");
    MainDialog dialog(Ini());
    dialog.show();
    auto* list = dialog.findChild<PhotoListView*>("photoList");
    auto* status = dialog.findChild<QLineEdit*>("statusLine");

    // Enter on another button presses that one.
    QSignalSpy finished(&dialog, &MainDialog::RunFinished);
    QTest::keyClick(dialog.findChild<QPushButton*>("parseButton"), Qt::Key_Return);
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(QString("Parse: 0 with a position, 1 without, 0 failed"), status->text());
    EXPECT_EQ(QString("No EXIF data found"), CellText(list, 0, 3));

    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(QString("GeoTag: 0 tagged, 0 rejected, 0 failed, 1 without a capture time"), status->text());
    EXPECT_EQ(QString("No EXIF data found"), CellText(list, 0, 3));
    EXPECT_TRUE(dialog.isVisible());
    dialog.hide();
}

// Parse only reads; Rename renames: a button wired to the other command fails here.
TEST_F(MainDialogTest, ParseAndRenameEachRunTheirOwnCommand)
{
    const std::string photo = tmp.File("IMG_1.jpg");
    WriteTinyJpeg(photo);
    ASSERT_EQ(0, RunExiv2({"-M", "set Exif.Photo.DateTimeOriginal 2006:05:01 10:00:00", "-M",
                           "set Exif.GPSInfo.GPSLatitudeRef N", "-M", "set Exif.GPSInfo.GPSLatitude 54/1 30/1 0/1", "-M",
                           "set Exif.GPSInfo.GPSLongitudeRef W", "-M", "set Exif.GPSInfo.GPSLongitude 3/1 0/1 0/1", "--",
                           photo}));
    WriteSettings("JPGDir=" + tmp.Path() + "\nDate=1\nPosn=0\n");
    MainDialog dialog(Ini());
    auto* list = dialog.findChild<PhotoListView*>("photoList");
    RunAndWait(dialog, "parseButton");
    EXPECT_EQ(QString("2006:05:01"), CellText(list, 0, 2));
    EXPECT_TRUE(FileExists(photo));

    // Rename asks first, naming the photo and its new name; no leaves it be.
    RecordingBoxes boxes;
    boxes.answer = false;
    RunAndWait(dialog, "renameButton");
    ASSERT_EQ(1u, boxes.asked.size());
    EXPECT_NE(std::string::npos, boxes.asked[0].text.find("Rename 1 of 1 photo?\n\nIMG_1.jpg\n")) << boxes.asked[0].text;
    EXPECT_NE(std::string::npos, boxes.asked[0].text.find("\u2192 IMG_1 2006-05-01 .jpg")) << boxes.asked[0].text;
    EXPECT_TRUE(FileExists(photo));
    boxes.answer = true;
    RunAndWait(dialog, "renameButton");
    EXPECT_FALSE(FileExists(photo));
    const std::string renamed = FolderNames(tmp.Path()).at(0);
    EXPECT_EQ("IMG_1 2006-05-01", renamed.substr(0, 16));
    EXPECT_EQ(QString::fromStdString(renamed), CellText(list, 0, 1));
}

// The working files live in a private folder of the window; every way of closing removes it.
TEST_F(MainDialogTest, EveryWayOfClosingRemovesTheWorkingFolder)
{
    WriteTinyJpeg(tmp.File("a.jpg"));
    WriteSettings("JPGDir=" + tmp.Path() + "\n");
    struct { const char* what; void (*close)(MainDialog&); } routes[] = {
        {"Esc", [](MainDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"Close button", [](MainDialog& d) { QTest::mouseClick(d.findChild<QPushButton*>("closeButton"), Qt::LeftButton); }},
        {"close box", [](MainDialog& d) { d.close(); }},
    };
    for (const auto& route : routes) {
        SCOPED_TRACE(route.what);
        WriteFile(tmp.File("cmd.txt"), "mine");
        {
            MainDialog dialog(Ini());
            dialog.show();
            RunAndWait(dialog, "parseButton");
            EXPECT_EQ(1, RuntimeEntries());
            route.close(dialog);
            EXPECT_FALSE(dialog.isVisible());
            EXPECT_EQ(QDialog::Rejected, dialog.result());
        }
        EXPECT_EQ(0, RuntimeEntries());
        // A file of a working file's name in the current or photo folder is the user's.
        EXPECT_EQ("mine", ReadFile(tmp.File("cmd.txt")));
    }
}

// While a run lasts the window stays live: the commands are off, Esc stops the run after
// the photos in flight, and the rows not reached stay as they were.
TEST_F(MainDialogTest, EscStopsARunAndTheWindowStaysLive)
{
    const std::string photos = tmp.File("photos");
    mkdir(photos.c_str(), 0755);
    WriteTinyJpeg(photos + "/template.jpg");
    const std::string jpeg = ReadFile(photos + "/template.jpg");
    std::remove((photos + "/template.jpg").c_str());
    for (int i = 0; i < 300; ++i)
        WriteFile(photos + "/IMG_" + std::to_string(1000 + i) + ".jpg", jpeg);
    WriteSettings("JPGDir=" + photos + "\n");
    MainDialog dialog(Ini());
    dialog.show();
    auto* status = dialog.findChild<QLineEdit*>("statusLine");
    auto* list = dialog.findChild<PhotoListView*>("photoList");

    QSignalSpy finished(&dialog, &MainDialog::RunFinished);
    dialog.findChild<QPushButton*>("parseButton")->click();
    ASSERT_TRUE(dialog.Running());
    EXPECT_FALSE(dialog.findChild<QPushButton*>("geotagButton")->isEnabled());
    EXPECT_FALSE(dialog.findChild<QPushButton*>("setupButton")->isEnabled());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_TRUE(finished.wait(30000));

    int done = 0;
    for (int i = 0; i < list->model()->rowCount(); ++i)
        done += !CellText(list, i, 3).isEmpty();
    EXPECT_LT(done, 300);
    EXPECT_EQ(QString("Stopped after %1 of 300").arg(done), status->text());
    EXPECT_TRUE(dialog.findChild<QPushButton*>("geotagButton")->isEnabled());
    EXPECT_TRUE(dialog.isVisible());

    // Closing the window during a run waits for the run, then closes.
    dialog.findChild<QPushButton*>("parseButton")->click();
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.Running());
}

TEST_F(MainDialogTest, TheListTakesTheRoomOfABiggerWindow)
{
    WriteSettings("");
    MainDialog dialog(Ini());
    dialog.show();
    auto* list = dialog.findChild<PhotoListView*>("photoList");
    auto* status = dialog.findChild<QLineEdit*>("statusLine");
    auto* geotag = dialog.findChild<QPushButton*>("geotagButton");
    auto* close = dialog.findChild<QPushButton*>("closeButton");
    const QRect listBefore = list->geometry();
    const QRect geotagBefore = geotag->geometry();
    const QRect statusBefore = status->geometry();
    EXPECT_EQ(dialog.minimumSize(), dialog.size());

    dialog.resize(dialog.width() + 200, dialog.height() + 100);
    EXPECT_EQ(listBefore.size() + QSize(200, 100), list->size());
    EXPECT_EQ(geotagBefore.translated(0, 100), geotag->geometry());
    EXPECT_EQ(statusBefore.width() + 200, status->width());
    EXPECT_LT(geotag->x(), close->x());
    EXPECT_GT(geotag->y(), list->geometry().bottom());
}

TEST(PhotoListView, ColumnsFollowTheListWidth)
{
    PhotoList photos;
    PhotoListView view(photos, nullptr, false);   // names and texts alone
    view.resize(600, 200);
    view.SetupColumns();
    const int widths[] = {32, 282, 84, 197};
    const char* const titles[] = {"", "File name", "Date", "Position/Message"};
    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(widths[c], view.columnWidth(c));
        EXPECT_EQ(QString(titles[c]), view.model()->headerData(c, Qt::Horizontal).toString());
    }
    EXPECT_EQ(QAbstractItemView::ExtendedSelection, view.selectionMode());
    EXPECT_EQ(QAbstractItemView::SelectRows, view.selectionBehavior());
    EXPECT_TRUE(view.showGrid());

    // With thumbnails and times, the date column holds a date and time; the others keep theirs.
    PhotoListView shown(photos);
    shown.resize(600, 200);
    shown.SetupColumns();
    EXPECT_EQ(282 + 84, shown.columnWidth(ColumnName) + shown.columnWidth(ColumnDate));
    EXPECT_GT(shown.columnWidth(ColumnDate), 84);
    EXPECT_EQ(197, shown.columnWidth(ColumnMessage));
}

TEST(PhotoListView, DroppedFilesReplaceTheRows)
{
    PhotoList photos;
    photos.AddDroppedFiles({"/old/a.jpg", "/old/b.jpg", "/old/c.jpg"});
    PhotoListView view(photos);
    view.resize(600, 200);
    view.show();

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile("/trips/a/x.jpg"), QUrl("https://example.org/z.jpg"),
                  QUrl::fromLocalFile("/other place/b/y.txt")});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &drop);

    EXPECT_TRUE(drop.isAccepted());
    ASSERT_EQ(2, view.model()->rowCount());
    EXPECT_EQ(QString("x.jpg"), CellText(&view, 0, 1));
    EXPECT_EQ(QString("y.txt"), CellText(&view, 1, 1));
    EXPECT_EQ("/trips/a/x.jpg", photos.Path(0));   // each dropped file keeps its own folder
    EXPECT_EQ("/other place/b/y.txt", photos.Path(1));

    // A drop without local files leaves the list as it is.
    QMimeData web;
    web.setUrls({QUrl("https://example.org/z.jpg")});
    QDragEnterEvent webEnter(QPoint(50, 50), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &webEnter);
    EXPECT_FALSE(webEnter.isAccepted());
    QDropEvent webDrop(QPointF(50, 50), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &webDrop);
    EXPECT_EQ(2, view.model()->rowCount());
}

TEST(PhotoListView, TipsShowOnlyCutOffTexts)
{
    const std::string longName = "IMG_0001 2006-08-26 TQ 38034 80412 and a very long description of the view.jpg";
    PhotoList photos;
    photos.AddDroppedFiles({"/p/" + longName, "/p/a.jpg"});
    PhotoListView view(photos);
    view.resize(600, 200);
    view.SetupColumns();
    view.show();

    auto tipAt = [&view](int row) {
        const QPoint pos = view.visualRect(view.model()->index(row, 1)).center();
        QHelpEvent help(QEvent::ToolTip, pos, view.viewport()->mapToGlobal(pos));
        QApplication::sendEvent(view.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(QString(), tipAt(1));
    EXPECT_EQ(QString::fromStdString(longName), tipAt(0));

    // A failed photo's reason is its row's tip, on every cell.
    RowOutcome failed;
    failed.icon = RowIcon::Cross;
    failed.text = "Failed to write GPS tags";
    failed.tip = "no space left on device";
    photos.SetRow(1, failed);
    EXPECT_EQ(QString("no space left on device"), tipAt(1));
    QToolTip::hideText();
}

}  // namespace

// The usual first-hour mistakes each give one message naming the cause: over the empty list
// as soon as the window opens, and in a box when a command is pressed anyway.
TEST_F(MainDialogTest, EachFirstHourMistakeGetsOneMessageNamingItsCause)
{
    namespace fs = std::filesystem;
    const std::string card = tmp.File("card"), photos = tmp.File("photos");
    fs::create_directories(card + "/DCIM/100CANON");
    WriteJpegTakenAt(card + "/DCIM/100CANON/IMG_1.JPG", "2006:05:01 10:00:00");
    fs::create_directories(photos);
    WriteJpegTakenAt(photos + "/IMG_2.jpg", "2006:05:01 10:00:00");
    WriteFile(tmp.File("may2.gpx"), "<gpx><trk><trkseg><trkpt lat=\"51\" lon=\"0\"><time>2006-05-02T10:00:00Z</time>"
                                    "</trkpt></trkseg></trk></gpx>");
    WriteFile(tmp.File("route.gpx"), "<gpx><rte><rtept lat=\"51\" lon=\"0\"/></rte></gpx>");
    fs::create_directories(tmp.File("tracks"));   // a track that matches, and one left out
    WriteFile(tmp.File("tracks/may1.gpx"), "<gpx><trk><trkseg><trkpt lat=\"51\" lon=\"0\"><time>2006-05-01T10:00:00Z"
                                           "</time></trkpt></trkseg></trk></gpx>");
    fs::copy_file(tmp.File("route.gpx"), tmp.File("tracks/route.gpx"));
    const struct {
        std::string settings;
        const char* note;   // over the list; "" when the list has photos
        std::string box;    // after GeoTag
    } cases[] = {
        {"", "Welcome to Pinroute", "No photo folder is set: choose one in Set-up."},
        {"JPGDir=" + tmp.File("typo") + "\n", "doesn't exist", "doesn't exist"},
        {"JPGDir=" + card + "\n", "its sub-folders have 1 (DCIM/100CANON)", "tick Include sub-folders in Set-up"},
        {"JPGDir=" + card + "\nRecurse=1\n", "", "No track file is set: choose one in Set-up."},
        {"JPGDir=" + photos + "\nGPXPath=" + tmp.File("may2.gpx") + "\n", "",
         "Your photos: " + LocaleMoment(2006, 5, 1) + " (camera time, offset 0).\nThe track: " + LocaleMoment(2006, 5, 2) + " UTC."},
        {"JPGDir=" + photos + "\nGPXPath=" + tmp.File("route.gpx") + "\n", "", "route.gpx: no track points: only route points"},
        {"JPGDir=" + photos + "\nGPXPath=" + tmp.File("tracks/*") + "\n", "",
         "skipped; the run used the others:\n\nroute.gpx: no track points: only route points"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        WriteSettings(c.settings);
        MainDialog dialog(Ini());
        dialog.show();
        auto* note = dialog.findChild<QLabel*>("emptyNote");
        ASSERT_NE(nullptr, note);
        EXPECT_EQ(*c.note != '\0', note->isVisible());
        EXPECT_TRUE(note->text().contains(c.note)) << note->text().toStdString();
        RecordingBoxes boxes;
        RunAndWait(dialog, "geotagButton");
        ASSERT_EQ(1u, boxes.shown.size());
        EXPECT_NE(std::string::npos, boxes.shown[0].text.find(c.box)) << boxes.shown[0].text;
        dialog.hide();
    }
}

// During a run the list shows each row as it is done, but once the user scrolls away it stays
// where they put it, until they scroll back to the run's latest row.
TEST(PhotoListView, FollowsTheRunUntilTheUserScrollsAway)
{
    PhotoList list;
    std::vector<std::string> paths;
    for (int i = 0; i < 300; ++i)
        paths.push_back("/p/IMG_" + std::to_string(i) + ".jpg");
    list.AddDroppedFiles(paths);
    PhotoListView view(list);
    view.resize(400, 200);
    view.show();
    const auto visible = [&](int row) {
        return view.viewport()->rect().intersects(view.visualRect(view.model()->index(row, ColumnName)));
    };
    list.SetRow(150, RowOutcome(RowKind::Rejected));
    EXPECT_TRUE(visible(150));
    view.verticalScrollBar()->setValue(0);   // the user looks at the top
    list.SetRow(160, RowOutcome(RowKind::Rejected));
    EXPECT_TRUE(visible(0));
    EXPECT_FALSE(visible(160));
    view.scrollTo(view.model()->index(160, ColumnName));   // and back to where the run is
    list.SetRow(250, RowOutcome(RowKind::Rejected));
    EXPECT_TRUE(visible(250));
    // The last column takes what the others leave, also in a wider window.
    view.SetupColumns();
    view.resize(900, 200);
    QCoreApplication::processEvents();
    const int columns = view.columnWidth(0) + view.columnWidth(1) + view.columnWidth(2) + view.columnWidth(3);
    EXPECT_EQ(view.viewport()->width(), columns);
}

// The list's menu removes a position and Ctrl+Z undoes the last run, each after asking;
// both go through the journal, so the undo of the removal gives the position back, and the
// list keeps the whole folder.
TEST_F(MainDialogTest, RemoveAndUndoFromTheWindow)
{
    const std::string photo = tmp.File("IMG_1.jpg");
    WriteJpegTakenAt(photo, "2006:05:01 10:00:00");
    WriteJpegTakenAt(tmp.File("IMG_2.jpg"), "2006:05:01 10:00:00");
    WriteFile(tmp.File("walk.gpx"), "<gpx><trk><trkseg><trkpt lat=\"54.5\" lon=\"-3\"><time>2006-05-01T10:00:00Z</time>"
                                    "</trkpt></trkseg></trk></gpx>");
    WriteSettings("JPGDir=" + tmp.Path() + "\nGPXPath=" + tmp.File("walk.gpx") + "\n");
    const auto latitude = [&] {
        std::string out;
        RunExiv2({"-Pv", "-K", "Exif.GPSInfo.GPSLatitude", photo}, &out);
        return out;
    };
    MainDialog dialog(Ini());
    auto* list = dialog.findChild<PhotoListView*>("photoList");
    RunAndWait(dialog, "geotagButton");
    ASSERT_NE("", latitude());

    RecordingBoxes boxes;
    QSignalSpy finished(&dialog, &MainDialog::RunFinished);
    list->RowMenu(0)->findChild<QAction*>("removePositionAction")->trigger();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ("", latitude());
    EXPECT_NE(std::string::npos, boxes.asked.at(0).text.find("Remove the position from IMG_1.jpg?"));
    EXPECT_EQ(QString("Remove: 1 removed, 0 without a position, 0 failed"),
              dialog.findChild<QLineEdit*>("statusLine")->text());

    bool ctrlZ = false;
    for (const QShortcut* shortcut : dialog.findChildren<QShortcut*>())
        ctrlZ = ctrlZ || shortcut->key() == QKeySequence(QKeySequence::Undo);
    EXPECT_TRUE(ctrlZ);
    list->RowMenu(0)->findChild<QAction*>("undoLastRunAction")->trigger();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_NE(std::string::npos, boxes.asked.at(1).text.find("Remove of 1 photo"));
    EXPECT_NE("", latitude());
    EXPECT_EQ(QString("Restored"), CellText(list, 0, 3));
    ASSERT_EQ(2, list->model()->rowCount());
    EXPECT_EQ(QString("IMG_2.jpg"), CellText(list, 1, 1));
}

TEST(PhotoListView, RowsShowThumbnailsAndCaptureTimesOnceReadAndSayTheirOutcome)
{
    TempDir dir;
    const std::string cameras = CAMERA_DATA_DIR;
    std::filesystem::copy_file(cameras + "/exiv2-canon-eos-20d.jpg", dir.File("canon.jpg"));
    std::filesystem::copy_file(cameras + "/IMG_1361.dng", dir.File("pruned.dng"));   // no picture to show
    WriteFile(dir.File("not-a-photo.jpg"), "text");
    PhotoList photos;
    photos.AddDroppedFiles({dir.File("canon.jpg"), dir.File("pruned.dng"), dir.File("not-a-photo.jpg")});
    PhotoListView view(photos);
    view.resize(700, 300);
    view.show();
    QAbstractItemModel* model = view.model();
    auto thumbnail = [&](int row) { return model->index(row, ColumnName).data(Qt::DecorationRole).value<QPixmap>().toImage(); };
    // Asked for, not waited for: the list is drawn before any preview exists.
    EXPECT_TRUE(thumbnail(0).isNull() || thumbnail(0).pixelColor(24, 18).alpha() == 0);

    const QString taken = QLocale().toString(QDate(2006, 8, 2), QLocale::ShortFormat);
    ASSERT_TRUE(QTest::qWaitFor([&] { return CellText(&view, 0, ColumnDate).startsWith(taken); }, 20000));
    EXPECT_TRUE(CellText(&view, 0, ColumnDate).contains("21:53:01")) << CellText(&view, 0, ColumnDate).toStdString();
    const QImage picture = thumbnail(0);
    EXPECT_LE(picture.width(), 48);
    EXPECT_LE(picture.height(), 36);
    EXPECT_TRUE(picture.width() == 48 || picture.height() == 36) << picture.width() << "x" << picture.height();
    EXPECT_GT(picture.pixelColor(picture.width() / 2, 18).alpha(), 0);   // a picture, not the blank

    // A rejected photo still shows when it was taken; a screen reader hears the outcome.
    RowOutcome rejected(RowKind::Rejected, "nearest track point 2 h away");
    rejected.date = std::string();
    photos.SetRow(0, rejected);
    EXPECT_TRUE(CellText(&view, 0, ColumnDate).startsWith(taken));
    EXPECT_EQ("canon.jpg, rejected, Rejected", model->index(0, ColumnName).data(Qt::AccessibleTextRole).toString());
    EXPECT_EQ(QString(), CellText(&view, 2, ColumnDate));   // nothing to read: nothing shown
}
