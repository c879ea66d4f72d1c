#include <sys/stat.h>

#include <QLabel>
#include <QLineEdit>
#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "gui/ClockOffsetDialog.h"
#include "gui/QtMessageBoxes.h"
#include "gui/SetupDialog.h"
#include "support/TestSupport.h"
#include "support/Tracks.h"
#include "common/Timestamps.h"

namespace {

class AnsweringPicker : public PhotoPicker {
public:
    bool PickPhoto(QWidget*, const QString& start, QString& chosen) override
    {
        starts.push_back(start);
        chosen = answer;
        return !answer.isEmpty();
    }
    QString answer;   // empty: the user cancels
    std::vector<QString> starts;
};

// A real JPEG; with a capture time when one is given.
std::string Photo(const TempDir& tmp, const std::string& name, const std::string& captureTime)
{
    const std::string path = tmp.File(name);
    if (captureTime.empty())
        WriteTinyJpeg(path);
    else
        WriteJpegTakenAt(path, captureTime);
    return path;
}

// A GPX file of a 40-minute walk from 08:00 UTC, a point a minute.
void WriteWalk(const std::string& path)
{
    WriteFile(path, GpxText(EveryMinute(ParseGpxTime("2023-06-17T08:00:00Z"), 41, 54.45, -3.02)));
}

template <typename Widget>
Widget* Find(QWidget* dialog, const char* name)
{
    Widget* w = dialog->findChild<Widget*>(name);
    EXPECT_NE(nullptr, w) << name;
    return w;
}

}  // namespace

TEST(ClockOffsetDialog, ComputesTheOffsetFromThePhotoAndTheTimeTyped)
{
    TempDir tmp;
    AnsweringPicker picker;
    picker.answer = QString::fromStdString(Photo(tmp, "clock photo.jpg", "2023:06:17 09:04:10"));
    ClockOffsetDialog dialog("/photos/may", nullptr, &picker);
    auto* use = Find<QPushButton>(&dialog, "useButton");
    auto* shown = Find<QLineEdit>(&dialog, "shownEdit");
    auto* result = Find<QLabel>(&dialog, "resultLabel");
    EXPECT_FALSE(use->isEnabled());

    QTest::mouseClick(Find<QPushButton>(&dialog, "photoBrowseButton"), Qt::LeftButton);
    ASSERT_EQ(1u, picker.starts.size());
    EXPECT_EQ("/photos/may", picker.starts[0]);
    EXPECT_EQ(picker.answer, Find<QLineEdit>(&dialog, "photoEdit")->text());
    EXPECT_EQ("2023-06-17 09:04:10", Find<QLabel>(&dialog, "captureLabel")->text());

    struct { const char* typed; bool usable; int seconds; const char* text; } cases[] = {
        {"08:04:00", true, 3610, "Offset: +1:00:10 (h:min:s)"},
        {"8:04:50", true, 3560, "Offset: +59:20 (min:s)"},
        {"09:04:30", true, -20, "Offset: -0:20 (min:s)"},
        {"09:05", true, -50, "Offset: -0:50 (min:s)"},
        {"09:05:10", true, -60, "Offset: -1 minute"},
        {"14:34:00", true, -19790, "Offset: -5:29:50 (h:min:s)"},
        {"8.04", false, 0, "Type the time as HH:MM:SS."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        shown->clear();
        QTest::keyClicks(shown, c.typed);
        EXPECT_EQ(c.usable, use->isEnabled());
        EXPECT_EQ(c.text, result->text());
        if (c.usable)
            EXPECT_EQ(c.seconds, dialog.Seconds());
    }
    shown->setText("07:04:10");
    QTest::mouseClick(use, Qt::LeftButton);
    EXPECT_EQ(QDialog::Accepted, dialog.result());
    EXPECT_EQ(7200, dialog.Seconds());
}

TEST(ClockOffsetDialog, APhotoWithoutCaptureTimeGivesNoOffset)
{
    TempDir tmp;
    AnsweringPicker picker;
    ClockOffsetDialog dialog(QString(), nullptr, &picker);
    auto* browse = Find<QPushButton>(&dialog, "photoBrowseButton");
    QTest::mouseClick(browse, Qt::LeftButton);   // cancelled: nothing changes
    EXPECT_EQ("", Find<QLineEdit>(&dialog, "photoEdit")->text());

    picker.answer = QString::fromStdString(Photo(tmp, "plain.jpg", ""));
    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_EQ("The photo has no capture time.", Find<QLabel>(&dialog, "captureLabel")->text());
    QTest::keyClicks(Find<QLineEdit>(&dialog, "shownEdit"), "08:00:00");
    EXPECT_FALSE(Find<QPushButton>(&dialog, "useButton")->isEnabled());
    EXPECT_EQ("", Find<QLabel>(&dialog, "resultLabel")->text());
}

// The suggestions are read on a worker; waits until the list is filled.
void WaitReady(OffsetSuggestionsDialog& dialog)
{
    QSignalSpy ready(&dialog, &OffsetSuggestionsDialog::Ready);
    if (!dialog.Finished())
        ASSERT_TRUE(ready.wait(30000));
}

TEST(OffsetSuggestionsDialog, ListsTheBestOffsetsForTheFolder)
{
    TempDir tmp;
    WriteWalk(tmp.File("walk.gpx"));
    // Camera an hour ahead; one photo long after the walk.
    for (const char* time : {"09:02:10", "09:21:00", "09:38:30", "13:00:00"})
        Photo(tmp, std::string("IMG ") + time + ".jpg", std::string("2023:06:17 ") + time);

    Settings settings;
    settings.JPGDir = tmp.Path() + "/";
    settings.GPXPath = tmp.File("walk.gpx");
    OffsetSuggestionsDialog dialog(settings);
    WaitReady(dialog);
    auto* list = Find<QListWidget>(&dialog, "suggestionList");
    ASSERT_GE(list->count(), 2);
    EXPECT_LE(list->count(), 3);
    EXPECT_EQ("+60 min: 3 of 4 photos match (Europe/London, summer time)", list->item(0)->text());
    EXPECT_TRUE(Find<QLabel>(&dialog, "zoneLabel")->text().contains("Europe/London, UTC+01:00 (summer time)"));
    EXPECT_EQ(3600, dialog.Seconds());
    list->setCurrentRow(1);
    EXPECT_EQ(list->item(1)->text().section(' ', 0, 0).toInt() * 60, dialog.Seconds());
    // The track's zone is offered; taken, the offset left is the clock's error in it.
    auto* zone = Find<QCheckBox>(&dialog, "cameraZoneCheck");
    EXPECT_TRUE(zone->isVisibleTo(&dialog));
    list->setCurrentRow(0);
    zone->setChecked(true);
    EXPECT_EQ("Europe/London", dialog.Zone());
    EXPECT_EQ(0, dialog.Seconds());
    EXPECT_TRUE(Find<QPushButton>(&dialog, "useButton")->isEnabled());

    settings.GPXPath = tmp.File("missing.gpx");
    OffsetSuggestionsDialog none(settings);
    WaitReady(none);
    EXPECT_EQ(0, Find<QListWidget>(&none, "suggestionList")->count());
    EXPECT_FALSE(Find<QPushButton>(&none, "useButton")->isEnabled());
    EXPECT_TRUE(Find<QLabel>(&none, "headingLabel")->text().contains("missing.gpx"));
}

// Set-up: each helper fills the offset box on Use; nothing reaches the file before Save.
TEST(SetupClockHelp, HelpersFillTheOffsetBoxAndSaveWritesIt)
{
    TempDir tmp;
    const std::string folder = tmp.File("photos") + "/";
    mkdir(folder.c_str(), 0755);
    WriteWalk(tmp.File("walk.gpx"));
    for (const char* time : {"09:02:10", "09:21:00", "09:38:30"})
        Photo(tmp, std::string("photos/IMG ") + time + ".jpg", std::string("2023:06:17 ") + time);
    const std::string ini = tmp.File("pinroute.ini");
    WriteFile(ini, "[Config]\nOffsetMinutes=5\n");
    Settings settings;
    settings.Read(ini);
    settings.JPGDir = folder;
    settings.GPXPath = tmp.File("walk.gpx");
    SetupDialog setup(settings, ini);
    auto* offset = Find<QLineEdit>(&setup, "offsetEdit");
    for (const char* name : {"clockPhotoButton", "suggestButton"}) {   // the caption fits its button
        auto* button = Find<QAbstractButton>(&setup, name);
        EXPECT_GE(button->width(), button->sizeHint().width()) << name;
    }

    QTest::mouseClick(Find<QAbstractButton>(&setup, "suggestButton"), Qt::LeftButton);
    auto* suggestions = setup.findChild<OffsetSuggestionsDialog*>();
    ASSERT_NE(nullptr, suggestions);
    WaitReady(*suggestions);
    QTest::mouseClick(Find<QPushButton>(suggestions, "useButton"), Qt::LeftButton);
    EXPECT_EQ("+60", offset->text());

    AnsweringPicker picker;
    picker.answer = QString::fromStdString(folder + "IMG 09:02:10.jpg");
    QTest::mouseClick(Find<QPushButton>(&setup, "clockPhotoButton"), Qt::LeftButton);
    ClockOffsetDialog* clock = nullptr;
    for (auto* c : setup.findChildren<ClockOffsetDialog*>())
        if (c->isVisible())
            clock = c;
    ASSERT_NE(nullptr, clock);
    clock->SetPicker(&picker);
    QTest::mouseClick(Find<QPushButton>(clock, "photoBrowseButton"), Qt::LeftButton);
    ASSERT_EQ(1u, picker.starts.size());
    EXPECT_EQ(QString::fromStdString(folder), picker.starts[0]);
    QTest::keyClicks(Find<QLineEdit>(clock, "shownEdit"), "07:00:00");
    QTest::mouseClick(Find<QPushButton>(clock, "useButton"), Qt::LeftButton);
    EXPECT_EQ("+2:02:10", offset->text());
    EXPECT_EQ("[Config]\nOffsetMinutes=5\n", ReadFile(ini));

    QTest::mouseClick(Find<QPushButton>(&setup, "saveButton"), Qt::LeftButton);
    Settings saved;
    saved.Read(ini);
    EXPECT_EQ(122, saved.OffsetMinutes);   // the nearest minute, for a reader that knows no seconds
    EXPECT_EQ(10, saved.OffsetSeconds);
}

// A name is the user's text: a photo called "<b>x</b>.jpg" shows its brackets, in the
// question the map asks of a clicked track point and in a message alike.
TEST(QtMessageBoxesTest, NamesShowAsTheyAre)
{
    const std::string text = "<b>x</b>.jpg was taken here?";
    QtMessageBoxes boxes;
    for (const bool ask : {true, false}) {
        SCOPED_TRACE(ask ? "question" : "message");
        QString shown = "no box";
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            format = box->textFormat();
            if (auto* label = box->findChild<QLabel*>("qt_msgbox_label"))
                shown = label->textFormat() == Qt::PlainText || !Qt::mightBeRichText(label->text())
                    ? label->text() : "rich text";
            box->done(QMessageBox::No);
        });
        if (ask)
            EXPECT_FALSE(boxes.Ask(text, "Pinroute"));
        else
            boxes.Show(text, "Pinroute", MessageIcon::Information);
        EXPECT_EQ(Qt::PlainText, format);
        EXPECT_EQ(text, shown.toStdString());
    }
}
