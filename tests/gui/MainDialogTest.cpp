#include "gui/MainDialog.h"

#include <sys/stat.h>

#include <QDropEvent>
#include <QHelpEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <QUrl>
#include <gtest/gtest.h>

#include "gui/PhotoListView.h"
#include "common/ModulePath.h"
#include "support/TestSupport.h"

namespace {

// A scratch folder as the current directory, with the settings file beside a pretend
// executable in it.
class MainDialogTest : public testing::Test {
protected:
    TempDir tmp;
    ScopedCwd cwd{tmp.Path()};
    ScopedExecutablePath exe{tmp.File("pinroute")};

    void WriteSettings(const std::string& lines) { WriteFile(tmp.File("pinroute.ini"), "[Config]\n" + lines); }
};

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

QString CellText(QAbstractItemView* view, int row, int column)
{
    return view->model()->index(row, column).data().toString();
}

TEST_F(MainDialogTest, ControlsCarryTheirIdsTextsAndTabOrder)
{
    WriteFile(tmp.File("b.JPG"), "x");
    WriteFile(tmp.File("a.jpg"), "x");
    WriteSettings("JPGDir=" + tmp.Path() + "\n");
    MainDialog dialog;

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
    EXPECT_EQ((QStringList{"geotagButton", "parseButton", "renameButton", "aboutButton", "setupButton",
                           "closeButton", "photoList", "statusLine"}),
              order);
}

TEST_F(MainDialogTest, EnterPressesGeoTag)
{
    WriteFile(tmp.File("walk.gpx"), "<gpx version=\"1.1\"><trk><trkseg><trkpt lat=\"54.5\" lon=\"-3\">"
                                    "<time>2006-05-01T10:00:00Z</time></trkpt></trkseg></trk></gpx>\n");
    WriteTinyJpeg(tmp.File("no exif.jpg"));
    WriteSettings("JPGDir=" + tmp.Path() + "\nGPXPath=" + tmp.File("walk.gpx") + "\n");
    MainDialog dialog;
    dialog.show();
    auto* list = dialog.findChild<PhotoListView*>("photoList");
    auto* status = dialog.findChild<QLineEdit*>("statusLine");

    // Enter on another button presses that one; Parse leaves the status line alone.
    QTest::keyClick(dialog.findChild<QPushButton*>("parseButton"), Qt::Key_Return);
    EXPECT_EQ(QString(), status->text());
    EXPECT_EQ(QString("No EXIF data found"), CellText(list, 0, 3));

    dialog.Photos().SetText(0, ColumnMessage, "");
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(QString("walk.gpx"), status->text());
    EXPECT_EQ(QString("No EXIF data found"), CellText(list, 0, 3));
    EXPECT_TRUE(dialog.isVisible());
    dialog.hide();
}

TEST_F(MainDialogTest, EveryWayOfClosingDeletesTheWorkingFiles)
{
    WriteSettings("");
    const char* const working[] = {"_output.tmp", "cmd.txt", "log_update_jpg.txt"};
    struct { const char* what; void (*close)(MainDialog&); } routes[] = {
        {"Esc", [](MainDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"Close button", [](MainDialog& d) { QTest::mouseClick(d.findChild<QPushButton*>("closeButton"), Qt::LeftButton); }},
        {"close box", [](MainDialog& d) { d.close(); }},
    };
    for (const auto& route : routes) {
        SCOPED_TRACE(route.what);
        for (const char* name : working)
            WriteFile(tmp.File(name), "x");
        WriteFile(tmp.File("keep.txt"), "mine");
        MainDialog dialog;
        dialog.show();
        route.close(dialog);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(QDialog::Rejected, dialog.result());
        for (const char* name : working)
            EXPECT_FALSE(FileExists(tmp.File(name))) << name;
        EXPECT_EQ("mine", ReadFile(tmp.File("keep.txt")));
    }
    // Nothing to delete: closing is quiet, and a folder of one of the names is left alone.
    mkdir(tmp.File("cmd.txt").c_str(), 0755);
    MainDialog dialog;
    dialog.show();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(FileExists(tmp.File("cmd.txt")));
}

// Each row is painted as soon as it is done; a click or a key that arrives meanwhile is
// dropped, and the cursor is back to normal afterwards, also when GeoTag finds no GPX file.
TEST_F(MainDialogTest, ARunPaintsEachRowAndTakesNoOtherInput)
{
    WriteTinyJpeg(tmp.File("a.jpg"));
    WriteTinyJpeg(tmp.File("b.jpg"));
    WriteFile(tmp.File("walk.gpx"), "<gpx version=\"1.1\"></gpx>\n");
    struct { const char* button; const char* gpx; int paints; } runs[] = {
        {"geotagButton", "walk.gpx", 2}, {"geotagButton", "none.gpx", 0},
        {"parseButton", "walk.gpx", 2}, {"renameButton", "walk.gpx", 2},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(std::string(run.button) + " " + run.gpx);
        WriteSettings("JPGDir=" + tmp.Path() + "\nGPXPath=" + tmp.File(run.gpx) + "\n");
        MainDialog dialog;
        dialog.show();
        QWidget* viewport = dialog.findChild<PhotoListView*>("photoList")->viewport();
        PaintCounter counter;
        viewport->installEventFilter(&counter);

        auto* close = dialog.findChild<QPushButton*>("closeButton");
        const QPointF centre = close->rect().center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(close, new QMouseEvent(type, centre, close->mapToGlobal(centre),
                                                               Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(&dialog, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        dialog.findChild<QPushButton*>(run.button)->click();

        EXPECT_GE(counter.paints, run.paints);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(nullptr, QApplication::overrideCursor());
        viewport->removeEventFilter(&counter);
    }
}

TEST(PhotoListView, ColumnsFollowTheListWidth)
{
    PhotoList photos;
    PhotoListView view(photos);
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
    EXPECT_EQ("/other place/b/", photos.folder);

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
    QToolTip::hideText();
}

}  // namespace
