#include <QApplication>
#include <QCheckBox>
#include <QSpinBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QAbstractItemView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "gui/MainDialog.h"
#include "gui/HelpLauncher.h"
#include "common/Messages.h"
#include "gui/FolderBrowser.h"
#include "gui/SetupDialog.h"
#include "support/TestSupport.h"

namespace {

class AnsweringPickers : public PathPickers {
public:
    bool BrowseFolder(QWidget*, const QString& title, const QString& start,
                      QString& chosen) override
    {
        folderCalls.push_back({title, start});
        chosen = folderAnswer;
        return !folderAnswer.isEmpty();
    }
    bool BrowseGpxFile(QWidget*, const QString& start, QString& chosen) override
    {
        gpxStarts.push_back(start);
        chosen = gpxAnswer;
        return !gpxAnswer.isEmpty();
    }
    QString folderAnswer, gpxAnswer;   // empty: the user cancels
    std::vector<std::pair<QString, QString>> folderCalls;   // title, start
    std::vector<QString> gpxStarts;
};

template <typename Widget>
Widget* Control(QWidget* dialog, int id)
{
    for (Widget* w : dialog->findChildren<Widget*>()) {
        if (w->property("controlId").toInt() == id)
            return w;
    }
    ADD_FAILURE() << "no control " << id;
    return nullptr;
}

class SetupDialogTest : public testing::Test {
protected:
    std::string IniPath() const { return dir.File("pinroute.ini"); }
    std::string Ini() const { return ReadFile(IniPath()); }
    void WriteIni(const std::string& text) { WriteFile(IniPath(), text); }
    // The dialog over the settings file as it is now, as the main window opens it.
    std::unique_ptr<SetupDialog> Open(const std::string& iniPath = {})
    {
        const std::string path = iniPath.empty() ? IniPath() : iniPath;
        Settings settings;
        settings.Read(path);
        return std::make_unique<SetupDialog>(settings, path, nullptr, &pickers);
    }

    TempDir dir;
    RecordingBoxes boxes;
    AnsweringPickers pickers;
};

QLineEdit* FolderBox(QWidget* d) { return Control<QLineEdit>(d, 1012); }
QLineEdit* GpxBox(QWidget* d) { return Control<QLineEdit>(d, 1011); }
QLineEdit* OffsetBox(QWidget* d) { return Control<QLineEdit>(d, 1017); }
QCheckBox* DateBox(QWidget* d) { return Control<QCheckBox>(d, 1010); }
QCheckBox* PositionBox(QWidget* d) { return Control<QCheckBox>(d, 1009); }
QCheckBox* RawSidecarBox(QWidget* d) { return d->findChild<QCheckBox*>("rawSidecarCheck"); }
QCheckBox* RecurseBox(QWidget* d) { return d->findChild<QCheckBox*>("recurseCheck"); }
QLabel* FolderWarning(QWidget* d) { return d->findChild<QLabel*>("folderWarning"); }
QRadioButton* LatLon(QWidget* d) { return Control<QRadioButton>(d, 1007); }
QRadioButton* Osgb(QWidget* d) { return Control<QRadioButton>(d, 1008); }
QPushButton* Button(QWidget* d, int id) { return Control<QPushButton>(d, id); }

TEST_F(SetupDialogTest, OpensWithStoredValuesAndSavesThemBack)
{
    struct {
        const char* ini;
        bool date, position, latLon, osgb;
        const char* folder;
        const char* offset;
        const char* savedDisplayType;
    } cases[] = {
        {"[Config]\nDisplayType=0\nJPGDir=/photos\n", true, true, true, false, "/photos/", "0",
         "DisplayType=0"},
        {"[Config]\nDisplayType=1\nJPGDir=/photos/\nOffsetMinutes=-60\n", true, true, false,
         true, "/photos/", "-60", "DisplayType=1"},
        {"[Config]\nDisplayType=7\n", true, true, false, false, "", "0", "DisplayType=-1"},
        {"[Config]\nDate=1\nPosn=0\n", true, false, false, true, "", "0", "DisplayType=1"},
        {"[Config]\nDate=0\nPosn=1\nDisplayType=-1\nRawSidecar=0\nRecurse=1\n", false, true, false, false, "",
         "0", "DisplayType=-1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini);
        WriteIni(c.ini);
        auto opened = Open();
        SetupDialog& dialog = *opened;
        EXPECT_EQ(c.date, DateBox(&dialog)->isChecked());
        EXPECT_EQ(c.position, PositionBox(&dialog)->isChecked());
        EXPECT_EQ(c.latLon, LatLon(&dialog)->isChecked());
        EXPECT_EQ(c.osgb, Osgb(&dialog)->isChecked());
        EXPECT_EQ(c.folder, FolderBox(&dialog)->text().toStdString());
        EXPECT_EQ(c.offset, OffsetBox(&dialog)->text().toStdString());
        const bool rawSidecar = std::string(c.ini).find("RawSidecar=0") == std::string::npos;
        EXPECT_EQ(rawSidecar, RawSidecarBox(&dialog)->isChecked());
        const bool recurse = std::string(c.ini).find("Recurse=1") != std::string::npos;
        EXPECT_EQ(recurse, RecurseBox(&dialog)->isChecked());

        // Save without changes writes the same values back, -1 for "neither".
        Button(&dialog, 1)->click();
        EXPECT_EQ(QDialog::Accepted, dialog.result());
        const std::string ini = Ini();
        EXPECT_NE(std::string::npos, ini.find(std::string(c.savedDisplayType) + "\n")) << ini;
        EXPECT_NE(std::string::npos, ini.find(c.date ? "Date=1\n" : "Date=0\n")) << ini;
        EXPECT_NE(std::string::npos, ini.find(c.position ? "Posn=1\n" : "Posn=0\n")) << ini;
        EXPECT_NE(std::string::npos, ini.find(rawSidecar ? "RawSidecar=1\n" : "RawSidecar=0\n")) << ini;
        EXPECT_NE(std::string::npos, ini.find(recurse ? "Recurse=1\n" : "Recurse=0\n")) << ini;
    }
}

TEST_F(SetupDialogTest, SaveWritesEveryKeyInOrderAndKeepsTheRest)
{
    WriteIni("; kept\n[Window]\nWidth=640\n\n[Config]\nColour=green\n");
    auto opened = Open();
    SetupDialog& dialog = *opened;
    FolderBox(&dialog)->setText("/home/me/My Photos");
    GpxBox(&dialog)->setText("/home/me/gps/*.gpx");
    DateBox(&dialog)->setChecked(true);
    PositionBox(&dialog)->setChecked(false);
    LatLon(&dialog)->setChecked(true);
    OffsetBox(&dialog)->setText("-60");
    ASSERT_TRUE(RawSidecarBox(&dialog)->isChecked());   // the default
    RawSidecarBox(&dialog)->setChecked(false);
    auto* interpolate = dialog.findChild<QCheckBox*>("interpolateCheck");
    auto* photoZone = dialog.findChild<QCheckBox*>("photoZoneCheck");
    ASSERT_FALSE(interpolate->isChecked());   // the defaults
    ASSERT_TRUE(photoZone->isChecked());
    interpolate->setChecked(true);
    photoZone->setChecked(false);
    auto* replace = dialog.findChild<QCheckBox*>("replaceCheck");
    ASSERT_FALSE(replace->isChecked());
    replace->setChecked(true);
    ASSERT_FALSE(RecurseBox(&dialog)->isChecked());
    RecurseBox(&dialog)->setChecked(true);
    Button(&dialog, 1)->click();

    EXPECT_EQ(QDialog::Accepted, dialog.result());
    const std::string ini = Ini();
    const char* lines[] = {"; kept\n", "[Window]\n", "Width=640\n", "[Config]\n",
                           "Colour=green\n", "JPGDir=/home/me/My Photos\n",
                           "GPXPath=/home/me/gps/*.gpx\n", "Date=1\n", "Posn=0\n",
                           "DisplayType=0\n", "OffsetMinutes=-60\n", "RawSidecar=0\n", "Interpolate=1\n",
                           "PhotoZone=0\n", "ReplacePositions=1\n", "Recurse=1\n"};
    size_t at = 0;
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        const size_t found = ini.find(line, at);
        ASSERT_NE(std::string::npos, found) << ini;
        at = found + 1;
    }
}

TEST_F(SetupDialogTest, OffsetThatIsNoWholeNumberIsRefused)
{
    const std::string before = "[Config]\nJPGDir=/old/\nOffsetMinutes=5\n";
    for (const char* offset : {"abc", "1.5", "", "12 minutes", "2147483648", "-2147483649", "1:2", "+1:60"}) {
        SCOPED_TRACE(offset);
        WriteIni(before);
        boxes.shown.clear();
        auto opened = Open();
        SetupDialog& dialog = *opened;
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        FolderBox(&dialog)->setText("/new/");
        FolderBox(&dialog)->setFocus();
        OffsetBox(&dialog)->setText(offset);
        Button(&dialog, 1)->click();

        EXPECT_EQ(before, Ini());
        ASSERT_EQ(1u, boxes.shown.size());
        EXPECT_NE(std::string::npos, boxes.shown[0].text.find("minutes and seconds (-58:20)"));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(OffsetBox(&dialog), QApplication::focusWidget());
    }
}

// The clock controls: an offset with seconds, the limits, the camera's zone (an unknown one is
// refused and nothing is saved) and the Software tag.
TEST_F(SetupDialogTest, ClockControlsSaveTheirSettings)
{
    WriteIni("[Config]\nOffsetMinutes=5\n");
    auto opened = Open();
    SetupDialog& dialog = *opened;
    OffsetBox(&dialog)->setText("-58:20");
    dialog.findChild<QSpinBox*>("maxGapSpin")->setValue(60);
    dialog.findChild<QSpinBox*>("maxInterpolationGapSpin")->setValue(600);
    dialog.findChild<QCheckBox*>("keepSoftwareCheck")->setChecked(true);
    auto* zone = dialog.findChild<QLineEdit*>("cameraZoneEdit");
    zone->setText("Europe/Lundon");
    Button(&dialog, 1)->click();
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_NE(std::string::npos, boxes.shown[0].text.find("no time zone is called \"Europe/Lundon\"")) << boxes.shown[0].text;
    EXPECT_EQ("[Config]\nOffsetMinutes=5\n", Ini());

    zone->setText("Europe/London");
    Button(&dialog, 1)->click();
    EXPECT_EQ(QDialog::Accepted, dialog.result());
    for (const char* line : {"\nOffsetMinutes=-58\n", "\nOffsetSeconds=-20\n", "\nMaxGapSeconds=60\n",
                             "\nMaxInterpolationGapSeconds=600\n", "\nCameraZone=Europe/London\n", "\nKeepSoftware=1\n"})
        EXPECT_NE(std::string::npos, Ini().find(line)) << line << Ini();
}

TEST_F(SetupDialogTest, CancelAndEscapeWriteNothing)
{
    const std::string before = "[Config]\nJPGDir=/old/\nDate=1\nPosn=1\nDisplayType=1\n";
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Esc" : "Cancel");
        WriteIni(before);
        auto opened = Open();
        SetupDialog& dialog = *opened;
        dialog.show();
        FolderBox(&dialog)->setText("/elsewhere");
        GpxBox(&dialog)->setText("/track.gpx");
        DateBox(&dialog)->setChecked(false);
        PositionBox(&dialog)->setChecked(false);
        LatLon(&dialog)->setChecked(true);
        OffsetBox(&dialog)->setText("30");
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            Button(&dialog, 2)->click();
        EXPECT_EQ(QDialog::Rejected, dialog.result());
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(before, Ini());
    }
}

TEST_F(SetupDialogTest, EnterInTheOffsetBoxSaves)
{
    auto opened = Open();
    SetupDialog& dialog = *opened;
    dialog.show();
    OffsetBox(&dialog)->setText("120");
    QTest::keyClick(OffsetBox(&dialog), Qt::Key_Return);
    EXPECT_EQ(QDialog::Accepted, dialog.result());
    EXPECT_NE(std::string::npos, Ini().find("OffsetMinutes=120\n"));
}

TEST_F(SetupDialogTest, FolderBrowserStartsWithoutTheFinalSlash)
{
    struct {
        const char* box;
        const char* start;
        const char* answer;   // "" cancels
        const char* after;
    } cases[] = {
        {"/data/photos/", "/data/photos", "/data/new", "/data/new"},
        {"/data/photos", "/data/photos", "/data/new", "/data/new"},
        {"/data/photos/", "/data/photos", "", "/data/photos/"},
        {"/", "/", "/mnt/card", "/mnt/card"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        auto opened = Open();
        SetupDialog& dialog = *opened;
        FolderBox(&dialog)->setText(c.box);
        pickers.folderCalls.clear();
        pickers.folderAnswer = c.answer;
        Button(&dialog, 1014)->click();
        ASSERT_EQ(1u, pickers.folderCalls.size());
        EXPECT_EQ("Select Directory", pickers.folderCalls[0].first);
        EXPECT_EQ(c.start, pickers.folderCalls[0].second);
        EXPECT_EQ(c.after, FolderBox(&dialog)->text());
    }
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ("", Ini());   // browsing writes nothing
}

TEST_F(SetupDialogTest, GpxBrowserStartsAtTheGpxText)
{
    auto opened = Open();
    SetupDialog& dialog = *opened;
    GpxBox(&dialog)->setText("/gps/*.gpx");
    pickers.gpxAnswer = "";
    Button(&dialog, 1015)->click();
    EXPECT_EQ("/gps/*.gpx", GpxBox(&dialog)->text());
    pickers.gpxAnswer = "/gps/walk 1.GPX";
    Button(&dialog, 1015)->click();
    EXPECT_EQ("/gps/walk 1.GPX", GpxBox(&dialog)->text());
    ASSERT_EQ(2u, pickers.gpxStarts.size());
    EXPECT_EQ("/gps/*.gpx", pickers.gpxStarts[0]);
}

TEST_F(SetupDialogTest, BrowsingWithABadOffsetWarnsAndStillBrowses)
{
    WriteIni("[Config]\nOffsetMinutes=15\n");
    auto opened = Open();
    SetupDialog& dialog = *opened;
    OffsetBox(&dialog)->setText("ten");
    pickers.folderAnswer = "/chosen";
    Button(&dialog, 1014)->click();
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_NE(std::string::npos, boxes.shown[0].text.find("minutes and seconds (-58:20)"));
    EXPECT_EQ(1u, pickers.folderCalls.size());
    EXPECT_EQ("/chosen", FolderBox(&dialog)->text());
    EXPECT_EQ("+15", OffsetBox(&dialog)->text());   // the last valid offset comes back
}

TEST_F(SetupDialogTest, HelpKeepsTheDialogOpen)
{
    auto opened = Open();
    SetupDialog& dialog = *opened;
    dialog.show();
    Button(&dialog, 1016)->click();   // no help file beside the stand-in program
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ("Help Error", boxes.shown[0].caption);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ("", Ini());
}

// A Save that can't write says why, keeps the dialog open with what was typed, and a
// second Save, once the cause is gone, writes it all.
TEST_F(SetupDialogTest, FailedSaveSaysWhyAndLosesNothing)
{
    const std::string blocked = dir.File("blocked.ini");
    ASSERT_EQ(0, mkdir(blocked.c_str(), 0755));   // a folder where the file should be
    auto opened = Open(blocked);
    SetupDialog& dialog = *opened;
    dialog.show();
    FolderBox(&dialog)->setText("/typed/photos");
    GpxBox(&dialog)->setText("/typed/*.gpx");
    DateBox(&dialog)->setChecked(false);
    LatLon(&dialog)->setChecked(true);
    OffsetBox(&dialog)->setText("-30");
    Button(&dialog, 1)->click();

    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_NE(std::string::npos, boxes.shown[0].text.find("Is a directory")) << boxes.shown[0].text;
    EXPECT_NE(std::string::npos, boxes.shown[0].text.find(blocked)) << boxes.shown[0].text;
    EXPECT_EQ(MessageIcon::Error, boxes.shown[0].icon);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(QDialog::Accepted, dialog.result());
    EXPECT_EQ("/typed/photos", FolderBox(&dialog)->text());
    EXPECT_EQ("-30", OffsetBox(&dialog)->text());
    EXPECT_EQ("", dialog.Result().JPGDir);   // nothing was saved

    ASSERT_EQ(0, rmdir(blocked.c_str()));
    Button(&dialog, 1)->click();
    EXPECT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(QDialog::Accepted, dialog.result());
    EXPECT_EQ("[Config]\nJPGDir=/typed/photos\nGPXPath=/typed/*.gpx\nPhotoTrack=\nDate=0\nPosn=1\n"
              "DisplayType=0\nOffsetMinutes=-30\nRawSidecar=1\nInterpolate=0\nPhotoZone=1\nReplacePositions=0\nRecurse=0\nJournal=1\nShowMap=1\n"
              "MapTiles=https://tile.openstreetmap.org/{z}/{x}/{y}.png\n"
              "Places=0\nPlaceMaxKm=10\nPlaceLanguage=\nPlaceInName=0\nReplacePlaces=0\n"
              "OffsetSeconds=0\nMaxGapSeconds=300\nMaxInterpolationGapSeconds=1800\nCameraZone=\nKeepSoftware=0\n",
              ReadFile(blocked));
    const Settings result = dialog.Result();
    EXPECT_EQ("/typed/photos/", result.JPGDir);   // as every later read gives it
    EXPECT_EQ(0, result.Date);
    EXPECT_EQ(-30, result.OffsetMinutes);
}

// Save creates the settings folder when it is missing (a first run of an installed copy).
TEST_F(SetupDialogTest, SaveMakesAMissingSettingsFolder)
{
    const std::string ini = dir.File("config/pinroute/pinroute.ini");
    auto opened = Open(ini);
    OffsetBox(opened.get())->setText("7");
    Button(opened.get(), 1)->click();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(QDialog::Accepted, opened->result());
    EXPECT_NE(std::string::npos, ReadFile(ini).find("OffsetMinutes=7\n"));
}

TEST_F(SetupDialogTest, ShowsWhichSettingsFileItUses)
{
    const std::string ini = dir.File(std::string(200, 'd') + ".ini");
    auto opened = Open(ini);
    opened->show();
    auto* label = opened->findChild<QLabel*>("settingsFileLabel");
    ASSERT_NE(nullptr, label);
    EXPECT_EQ(QString::fromStdString(ini), label->toolTip());
    EXPECT_TRUE(label->text().endsWith(".ini")) << label->text().toStdString();
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
    EXPECT_LE(label->geometry().right(), opened->width());
    // Wide enough, the whole path shows.
    opened->resize(label->fontMetrics().horizontalAdvance(label->toolTip()) * 2, opened->height());
    QApplication::processEvents();
    EXPECT_EQ("Settings file: " + QString::fromStdString(ini), label->text());
}

// The path boxes hold a typical path at first and take the width the dialog gains; a long
// path shows its start, and the tooltip shows it whole as it changes.
TEST_F(SetupDialogTest, PathBoxesTakeTheWidthAndShowLongPathsWhole)
{
    const std::string folder = "/media/someone/archive/" + std::string(120, 'p') + "/2024-05 Lakes/";
    const std::string track = "/home/someone/" + std::string(120, 't') + "/*.gpx";
    WriteIni("[Config]\nJPGDir=" + folder + "\nGPXPath=" + track + "\n");
    auto opened = Open();
    SetupDialog& dialog = *opened;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (QLineEdit* box : {FolderBox(&dialog), GpxBox(&dialog)}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_EQ(0, box->cursorPosition());
        EXPECT_EQ(box->text(), box->toolTip());
        EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(QString(60, 'x')));
    }
    EXPECT_EQ(QString::fromStdString(folder), FolderBox(&dialog)->toolTip());

    const int folderWidth = FolderBox(&dialog)->width(), trackWidth = GpxBox(&dialog)->width();
    dialog.resize(dialog.width() + 200, dialog.height() + 100);
    QApplication::processEvents();
    EXPECT_EQ(folderWidth + 200, FolderBox(&dialog)->width());
    EXPECT_EQ(trackWidth + 200, GpxBox(&dialog)->width());

    pickers.gpxAnswer = QString::fromStdString("/elsewhere/" + std::string(100, 'n') + ".fit");
    Button(&dialog, 1015)->click();
    EXPECT_EQ(0, GpxBox(&dialog)->cursorPosition());
    EXPECT_EQ(pickers.gpxAnswer, GpxBox(&dialog)->toolTip());
    QTest::keyClicks(FolderBox(&dialog), "x");
    EXPECT_EQ(FolderBox(&dialog)->text(), FolderBox(&dialog)->toolTip());
}

// The warning below the folder box follows what is typed, once the typing pauses, and the
// sub-folder box; Save keeps a folder with a problem.
TEST_F(SetupDialogTest, FolderWarningFollowsTheBoxAndTheSubFolderChoice)
{
    const std::string photos = dir.File("photos"), empty = dir.File("empty"), card = dir.File("card");
    for (const std::string& folder : {photos, empty, card, card + "/DCIM", card + "/DCIM/100CANON"})
        ASSERT_EQ(0, mkdir(folder.c_str(), 0755));
    WriteTinyJpeg(photos + "/a.jpg");
    WriteFile(empty + "/notes.txt", "x");
    WriteTinyJpeg(card + "/DCIM/100CANON/IMG_0001.JPG");
    WriteTinyJpeg(card + "/DCIM/100CANON/IMG_0002.JPG");
    WriteIni("[Config]\nJPGDir=" + photos + "\n");
    auto opened = Open();
    SetupDialog& dialog = *opened;
    dialog.show();
    QLabel* warning = FolderWarning(&dialog);
    ASSERT_NE(nullptr, warning);
    auto shown = [&] { return warning->isVisibleTo(&dialog); };
    EXPECT_FALSE(shown());

    // Each case changes what shows, so each wait has something to wait for.
    const std::string missing = dir.File("missing");
    struct {
        std::string box;
        const char* said;   // "" for no warning
    } cases[] = {
        {missing, "doesn't exist"}, {photos, ""},       {empty, "has no photos"},
        {"", ""},                   {card, "2 (DCIM/100CANON)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        const bool before = shown();
        FolderBox(&dialog)->setText(QString::fromStdString(c.box));
        EXPECT_EQ(before, shown());   // not walked at each key
        const bool expected = *c.said != '\0';
        EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == expected; }, 3000));
        if (expected) {
            EXPECT_TRUE(warning->text().contains(QString::fromStdString(c.box))) << warning->text().toStdString();
            EXPECT_TRUE(warning->text().contains(c.said)) << warning->text().toStdString();
            // The dialog grows for the wrapped lines: nothing is cut off.
            QApplication::processEvents();
            EXPECT_GE(warning->height(), warning->heightForWidth(warning->width()));
            EXPECT_LE(Button(&dialog, 2)->mapTo(&dialog, QPoint(0, Button(&dialog, 2)->height())).y(),
                      dialog.height());
        }
    }
    EXPECT_TRUE(warning->text().contains("Include sub-folders"));
    RecurseBox(&dialog)->setChecked(true);
    EXPECT_FALSE(shown());
    RecurseBox(&dialog)->setChecked(false);
    EXPECT_TRUE(shown());

    // Saved at once, before the typing pause: the warning is up to date all the same.
    FolderBox(&dialog)->setText(QString::fromStdString(missing));
    Button(&dialog, 1)->click();
    EXPECT_EQ(QDialog::Accepted, dialog.result());
    EXPECT_TRUE(shown());
    EXPECT_TRUE(warning->text().contains("doesn't exist"));
    EXPECT_NE(std::string::npos, Ini().find("JPGDir=" + missing + "\n")) << Ini();
    EXPECT_TRUE(boxes.shown.empty());
}

// The main window's Set-up button: the list is filled again from the saved folder after
// Save, and stays as it was after Cancel even though the folder box was changed.
TEST_F(SetupDialogTest, MainWindowRefillsItsListOnlyAfterSave)
{
    ScopedCwd cwd(dir.Path());
    TempDir other;
    WriteFile(other.File("new.JPG"), "x");
    WriteFile(dir.File("old.jpg"), "x");
    WriteIni("[Config]\nJPGDir=" + dir.Path() + "\n");
    MainDialog main(IniPath());
    auto* list = main.findChild<QAbstractItemView*>("photoList");
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(1, list->model()->rowCount());
    struct {
        bool save;
        const char* listed;
    } cases[] = {{false, "old.jpg"}, {true, "new.JPG"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.save ? "Save" : "Cancel");
        bool answered = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* setup = qobject_cast<SetupDialog*>(modal);
            if (!setup) {   // never leave a dialog waiting
                if (modal)
                    modal->close();
                return;
            }
            FolderBox(setup)->setText(QString::fromStdString(other.Path()));
            Button(setup, c.save ? 1 : 2)->click();
            answered = true;
        });
        main.findChild<QPushButton*>("setupButton")->click();
        ASSERT_TRUE(answered);
        ASSERT_EQ(1, list->model()->rowCount());
        EXPECT_EQ(c.listed, list->model()->index(0, ColumnName).data().toString().toStdString());
    }
    EXPECT_NE(std::string::npos, Ini().find("JPGDir=" + other.Path() + "\n")) << Ini();
}

// What Qt's own open-file dialog over folder lists with filters, the one at index chosen
// selected; caseSensitive compares names by case, as GTK's dialog does. shownFilters: the
// filters as the type list shows them.
QStringList Listed(const std::string& folder, const QString& filters, int chosen, bool caseSensitive,
                   QStringList* shownFilters = nullptr)
{
    QFileDialog dialog(nullptr, "Open", QString::fromStdString(folder), filters);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (caseSensitive)
        dialog.setFilter(dialog.filter() | QDir::CaseSensitive);
    dialog.selectNameFilter(filters.split(";;").at(chosen));
    dialog.show();
    auto* list = dialog.findChild<QListView*>("listView");
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    if (!list || !types)
        return {"<no list>"};
    QStringList names;
    // The model fills in the background; the listing is done when it stops growing.
    for (int wait = 0, stable = 0; wait < 60 && stable < 4; ++wait) {
        QTest::qWait(25);
        QStringList now;
        const QModelIndex root = list->rootIndex();
        for (int row = 0; row < list->model()->rowCount(root); ++row)
            now << list->model()->index(row, 0, root).data().toString();
        stable = !now.isEmpty() && now == names ? stable + 1 : 0;
        names = now;
    }
    names.sort();
    if (shownFilters) {
        shownFilters->clear();
        for (int i = 0; i < types->count(); ++i)
            *shownFilters << types->itemText(i);
    }
    return names;
}

// Qt's own open-file dialog with the GPX filter lists .gpx files whatever their case.
TEST(GpxFileFilter, ListsGpxFilesInAnyLetterCase)
{
    TempDir dir;
    for (const char* name : {"a.gpx", "b.GPX", "c.Gpx", "d.txt", "e.gpx.bak"})
        WriteFile(dir.File(name), "x");
    QStringList shown;
    EXPECT_EQ(QStringList({"a.gpx", "b.GPX", "c.Gpx"}), Listed(dir.Path(), kGpxFileFilter, 0, false, &shown));
    EXPECT_EQ(QStringList({"GPX Files *.GPX"}), shown);
}

// The track box's chooser lists every track kind in any letter case, even where names are
// compared by case, then GPX files alone, then everything.
TEST(TrackFileFilters, ListEveryTrackKindInAnyLetterCase)
{
    TempDir dir;
    const QStringList tracks = {"a.gpx", "b.GPX", "c.Kml", "d.kmz", "e.NMEA", "f.nma", "g.log",
                                "h.txt", "i.TCX", "j.igc", "k.Fit", "l.json", "m.CSV"};
    for (const QString& name : tracks + QStringList{"n.jpg", "o.gpx.bak"})
        WriteFile(dir.File(name.toStdString()), "x");
    struct {
        int filter;
        QStringList listed;
    } cases[] = {
        {0, tracks},
        {1, {"a.gpx", "b.GPX"}},
        {2, tracks + QStringList{"n.jpg", "o.gpx.bak"}},
    };
    for (const auto& c : cases) {
        for (bool caseSensitive : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.filter << (caseSensitive ? " by case" : ""));
            QStringList expected = c.listed;
            expected.sort();
            QStringList shown;
            EXPECT_EQ(expected, Listed(dir.Path(), TrackFileFilters(), c.filter, caseSensitive, &shown));
            EXPECT_EQ(QStringList({"Track files (*.gpx *.kml *.kmz *.nmea *.nma *.log *.txt *.tcx *.igc "
                                   "*.fit *.json *.csv)",
                                   "GPX files (*.gpx)", "All files (*)"}),
                      shown);
        }
    }
}

}  // namespace
