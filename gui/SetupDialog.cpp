#include "gui/SetupDialog.h"

#include <algorithm>
#include <iterator>

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

#include "gui/ClockOffsetDialog.h"
#include "gui/DialogUnits.h"
#include "gui/Icons.h"
#include "gui/HelpLauncher.h"
#include "common/Messages.h"
#include "common/ModulePath.h"
#include "settings/SettingsLocation.h"
#include "gui/FolderBrowser.h"

namespace {

// Shown when the offset box holds no whole number.
const char kOffsetNotWholeNumber[] =
    "Please enter a whole number of minutes for the offset "
    "(from -2147483648 to 2147483647).";

QLabel* Label(QWidget* dialog, const char* text, const char* name, int x, int y, int w, int h,
              Qt::Alignment alignment = Qt::AlignLeft)
{
    auto* label = PlaceControl(dialog, new QLabel(text, dialog), 0, name, x, y, w, h);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

}  // namespace

bool RunSetupDialog(QWidget* parent, const std::string& iniPath, Settings& settings)
{
    SetupDialog dialog(settings, iniPath, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings = dialog.Result();
    return true;
}

SetupDialog::SetupDialog(const Settings& settings, const std::string& iniPath, QWidget* parent,
                         PathPickers* pickers)
    : QDialog(parent), values(settings), saved(settings), iniPath(iniPath), pickers(pickers)
{
    if (!this->pickers)
        this->pickers = ownPickers = new FolderBrowser;
    BuildControls();
    ShowValues();
}

SetupDialog::~SetupDialog()
{
    delete ownPickers;
}

Settings SetupDialog::Result() const
{
    return saved;
}

void SetupDialog::BuildControls()
{
    setWindowTitle("Set-up");
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    // Rows for the RAW, matching and time-zone choices below the table's 162.
    setFixedSize(DialogRect(font(), 0, 0, 244, 198).size());
    // Frames and labels first, so that the controls lie above them.
    BuildFramesAndLabels();
    BuildPathRows();
    BuildChoices();
    BuildButtons();
    ConnectControls();
}

void SetupDialog::BuildFramesAndLabels()
{
    PlaceControl(this, new QGroupBox("Parse/Rename", this), 0, "parseRenameGroup", 9, 55, 84, 97);
    PlaceControl(this, new QGroupBox(this), 0, "positionGroup", 17, 85, 66, 59);
    Label(this, "JPG Directory", "jpgDirLabel", 7, 12, 53, 8, Qt::AlignRight);
    Label(this, "GPX File", "gpxPathLabel", 7, 32, 53, 8, Qt::AlignRight);
    // "Offset" ends just before its box, however wide the font makes it.
    auto* offsetLabel = Label(this, "Offset", "offsetLabel", 117, 62, 22, 8, Qt::AlignRight);
    if (offsetLabel->sizeHint().width() > offsetLabel->width())
        offsetLabel->setGeometry(offsetLabel->geometry().adjusted(
            offsetLabel->width() - offsetLabel->sizeHint().width(), 0, 0, 0));
    auto* minutesLabel = Label(this, "Minutes", "minutesLabel", 179, 62, 30, 8);
    minutesLabel->resize(std::max(minutesLabel->width(), minutesLabel->sizeHint().width()),
                         minutesLabel->height());
    auto* icon = PlaceControl(this, new QLabel(this), 0, "appIcon", 214, 131, 20, 20);
    icon->setPixmap(AppIcon().pixmap(icon->size()));

    // Which file Save writes, in the free band between the GPX row and the group box;
    // a long path loses its middle, and the tooltip shows it whole.
    const QString path = QString::fromStdString(iniPath);
    auto* file = Label(this, "", "settingsFileLabel", 7, 45, 224, 8);
    file->setText(file->fontMetrics().elidedText("Settings file: " + path, Qt::ElideMiddle,
                                                 file->width()));
    file->setToolTip(path);
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void SetupDialog::BuildPathRows()
{
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    jpgDirEdit = PlaceControl(this, new QLineEdit(this), 1012, "jpgDirEdit", 73, 6, 129, 14);
    jpgDirBrowse = PlaceControl(this, new QPushButton(folderIcon, QString(), this), 1014,
                                "jpgDirBrowseButton", 213, 5, 18, 17);
    jpgDirBrowse->setToolTip("Choose the photo folder");
    jpgDirBrowse->setAccessibleName("Browse for the photo folder");
    gpxPathEdit = PlaceControl(this, new QLineEdit(this), 1011, "gpxPathEdit", 73, 27, 129, 14);
    gpxBrowse = PlaceControl(this, new QPushButton(folderIcon, QString(), this), 1015,
                             "gpxBrowseButton", 213, 27, 18, 17);
    gpxBrowse->setToolTip("Choose the GPX file");
    gpxBrowse->setAccessibleName("Browse for the GPX file");
    // The folder icon grows with the buttons, which grow with the font.
    const int iconSide = std::max(16, std::min(gpxBrowse->width(), gpxBrowse->height()) * 3 / 5);
    jpgDirBrowse->setIconSize(QSize(iconSide, iconSide));
    gpxBrowse->setIconSize(QSize(iconSide, iconSide));
}

void SetupDialog::BuildChoices()
{
    dateCheck = PlaceControl(this, new QCheckBox("Date", this), 1010, "dateCheck", 21, 71, 31, 10);
    positionCheck =
        PlaceControl(this, new QCheckBox("Position", this), 1009, "positionCheck", 21, 99, 40, 10);
    latLonRadio =
        PlaceControl(this, new QRadioButton("Lat/Lon", this), 1007, "latLonRadio", 32, 112, 39, 10);
    osgbRadio = PlaceControl(this, new QRadioButton("OSGB", this), 1008, "osgbRadio", 32, 124, 35, 10);
    offsetEdit = PlaceControl(this, new QLineEdit(this), 1017, "offsetEdit", 141, 59, 33, 14);
    rawSidecarCheck = PlaceControl(this, new QCheckBox("Write RAW positions to XMP sidecars", this), 0,
                                   "rawSidecarCheck", 9, 158, 160, 10);
    rawSidecarCheck->setToolTip("HEIC, CR3, RW2 and ORF photos always get a sidecar (NAME.EXT.xmp)");
    interpolateCheck = PlaceControl(this, new QCheckBox("Place photos between track points", this), 0,
                                    "interpolateCheck", 9, 170, 160, 10);
    interpolateCheck->setToolTip("A photo taken between two points of a segment (at most 30 minutes apart) "
                                 "gets the position between them, written at full precision with its UTC time; "
                                 "otherwise the nearest point, to a hundredth of a minute");
    photoZoneCheck = PlaceControl(this, new QCheckBox("Use the time zone stored in the photo", this), 0,
                                  "photoZoneCheck", 9, 182, 160, 10);
    photoZoneCheck->setToolTip("A photo that states its time zone (phones, newer cameras) is matched by it; "
                               "the offset serves the others");

    // The check boxes and radio buttons may hold a longer caption than the table's
    // width in a larger font: let them take the width they need.
    for (QWidget* w : {static_cast<QWidget*>(dateCheck), static_cast<QWidget*>(positionCheck),
                       static_cast<QWidget*>(latLonRadio), static_cast<QWidget*>(osgbRadio),
                       static_cast<QWidget*>(rawSidecarCheck), static_cast<QWidget*>(interpolateCheck),
                       static_cast<QWidget*>(photoZoneCheck)})
        w->resize(std::max(w->width(), w->sizeHint().width()), w->height());

    displayGroup = new QButtonGroup(this);
    displayGroup->addButton(latLonRadio, 0);
    displayGroup->addButton(osgbRadio, 1);
}

void SetupDialog::BuildButtons()
{
    helpButton = PlaceControl(this, new QPushButton("&Help", this), 1016, "helpButton", 140, 95, 50, 14);
    saveButton = PlaceControl(this, new QPushButton("&Save", this), 1, "saveButton", 141, 115, 50, 14);
    cancelButton =
        PlaceControl(this, new QPushButton("&Cancel", this), 2, "cancelButton", 141, 135, 50, 14);
    saveButton->setDefault(true);
    clockButton = PlaceControl(this, new QPushButton("From a photo of the GPS clock…", this), 0,
                               "clockPhotoButton", 99, 77, 135, 14);
    // A tool button: a push button's style minimum is wider than the room beside Help.
    suggestButton = PlaceControl(this, new QToolButton(this), 0, "suggestButton", 196, 95, 38, 14);
    suggestButton->setText("Su&ggest");
    suggestButton->setToolTip("The offsets that put the most photos near the track");
}

void SetupDialog::ConnectControls()
{
    QWidget* order[] = {jpgDirEdit, jpgDirBrowse, gpxPathEdit, gpxBrowse, dateCheck,
                        positionCheck, latLonRadio, osgbRadio, rawSidecarCheck, interpolateCheck, photoZoneCheck, offsetEdit, clockButton,
                        helpButton, suggestButton, saveButton, cancelButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(jpgDirBrowse, &QPushButton::clicked, this, &SetupDialog::OnBrowseJpgDir);
    connect(gpxBrowse, &QPushButton::clicked, this, &SetupDialog::OnBrowseGpxFile);
    connect(helpButton, &QPushButton::clicked, this, &SetupDialog::OnHelp);
    connect(saveButton, &QPushButton::clicked, this, &SetupDialog::OnSave);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(clockButton, &QPushButton::clicked, this, &SetupDialog::OnClockPhoto);
    connect(suggestButton, &QToolButton::clicked, this, &SetupDialog::OnSuggestOffset);
}

bool SetupDialog::TakeValues()
{
    values.JPGDir = jpgDirEdit->text().toStdString();
    values.GPXPath = gpxPathEdit->text().toStdString();
    values.Date = dateCheck->isChecked() ? 1 : 0;
    values.Posn = positionCheck->isChecked() ? 1 : 0;
    values.RawSidecar = rawSidecarCheck->isChecked() ? 1 : 0;
    values.Interpolate = interpolateCheck->isChecked() ? 1 : 0;
    values.PhotoZone = photoZoneCheck->isChecked() ? 1 : 0;
    values.DisplayType = displayGroup->checkedId();   // -1 when neither is checked

    // A refused offset leaves the last valid one in values.
    std::string reason;
    if (!values.Set("OffsetMinutes", offsetEdit->text().toStdString(), reason)) {
        ShowMessage(kOffsetNotWholeNumber, "", MessageIcon::Error);
        offsetEdit->setFocus(Qt::OtherFocusReason);
        offsetEdit->selectAll();
        return false;
    }
    return true;
}

void SetupDialog::ShowValues()
{
    jpgDirEdit->setText(QString::fromStdString(values.JPGDir));
    gpxPathEdit->setText(QString::fromStdString(values.GPXPath));
    dateCheck->setChecked(values.Date != 0);
    positionCheck->setChecked(values.Posn != 0);
    rawSidecarCheck->setChecked(values.RawSidecar != 0);
    interpolateCheck->setChecked(values.Interpolate != 0);
    photoZoneCheck->setChecked(values.PhotoZone != 0);
    // An exclusive group can't uncheck its last checked button: lift the rule meanwhile.
    displayGroup->setExclusive(false);
    latLonRadio->setChecked(values.DisplayType == static_cast<int32_t>(::DisplayType::LatLon));
    osgbRadio->setChecked(values.DisplayType == static_cast<int32_t>(::DisplayType::Osgb));
    displayGroup->setExclusive(true);
    offsetEdit->setText(QString::number(values.OffsetMinutes));
}

void SetupDialog::OnBrowseJpgDir()
{
    TakeValues();   // a bad offset is reported, and the browse goes on
    QString start = QString::fromStdString(values.JPGDir);
    if (start.endsWith('/') && start.size() > 1)
        start.chop(1);
    QString chosen;
    if (!pickers->BrowseFolder(this, "Select Directory", start, chosen))
        return;
    values.JPGDir = chosen.toStdString();
    ShowValues();
}

void SetupDialog::OnBrowseGpxFile()
{
    TakeValues();
    QString chosen;
    if (!pickers->BrowseGpxFile(this, QString::fromStdString(values.GPXPath), chosen))
        return;
    values.GPXPath = chosen.toStdString();
    ShowValues();
}

void SetupDialog::OnHelp()
{
    HelpLauncher launcher;
    launcher.ShowTopic("pinroute.html");
}

void SetupDialog::OnSave()
{
    if (!TakeValues())
        return;
    std::string reason;
    if (!EnsureSettingsFolder(iniPath, reason) || !values.Write(iniPath, reason)) {
        ShowMessage("The settings could not be saved to " + iniPath + ":\n" + reason, "",
                    MessageIcon::Error);
        return;
    }
    // Read back, so the caller gets exactly what every later command will read.
    if (!saved.Read(iniPath))
        saved = values;
    accept();
}

namespace {

// Shows a clock helper over the dialog; on Use its offset goes into the offset box.
template <typename Helper>
void OpenHelper(Helper* helper, QLineEdit* offsetEdit)
{
    QObject::connect(helper, &QDialog::accepted, offsetEdit,
                     [helper, offsetEdit] { offsetEdit->setText(QString::number(helper->Minutes())); });
    QObject::connect(helper, &QDialog::finished, helper, &QObject::deleteLater);
    helper->open();
}

}  // namespace

void SetupDialog::OnClockPhoto()
{
    TakeValues();
    OpenHelper(new ClockOffsetDialog(QString::fromStdString(values.JPGDir), this), offsetEdit);
}

void SetupDialog::OnSuggestOffset()
{
    TakeValues();
    OpenHelper(new OffsetSuggestionsDialog(values.JPGDir, values.GPXPath, this), offsetEdit);
}
