#include "gui/SetupDialog.h"

#include <algorithm>
#include <iterator>

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/ClockOffsetDialog.h"
#include "gui/DialogUnits.h"
#include "gui/Icons.h"
#include "gui/HelpLauncher.h"
#include "common/Messages.h"
#include "common/OffsetText.h"
#include "common/ModulePath.h"
#include "coords/PositionFormatter.h"
#include "gui/Translations.h"
#include "photos/FolderCheck.h"
#include "settings/SettingsLocation.h"
#include "gui/FolderBrowser.h"

namespace {

// Shown when the offset box holds no offset.
const char kOffsetNotWholeNumber[] =
    QT_TRANSLATE_NOOP("SetupDialog", "Please enter the offset as minutes (-58), minutes and seconds (-58:20) or hours, "
                                     "minutes and seconds (+1:02:20), at most 2147483647 minutes either way.");

// What the folder warning offers when the photos are only in sub-folders.
const char kRecurseRemedy[] = QT_TRANSLATE_NOOP("Folder", "tick Include sub-folders to use them");

// Typing a long path checks the folder once, after the keys pause this long (ms).
constexpr int kFolderCheckDelay = 300;

// Gives a control its id (the "controlId" property; 0 for none) and a readable object name.
template <typename Widget>
Widget* Named(Widget* widget, int id, const char* name)
{
    if (id != 0)
        widget->setProperty("controlId", id);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A path box that asks for the width of a typical path, about 60 characters, and takes
// any width the dialog gives it.
class PathEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    QSize sizeHint() const override
    {
        QSize size = QLineEdit::sizeHint();   // Qt's room for 17 "x", with the frame
        size.rwidth() += fontMetrics().horizontalAdvance(QLatin1Char('x')) * (60 - 17);
        return size;
    }
};

// A label that loses the middle of its text when the dialog is narrower than the text; it
// never asks for width, so a long path doesn't widen the dialog.
class ElidedLabel : public QLabel {
public:
    ElidedLabel(const QString& whole, QWidget* parent) : QLabel(parent), whole(whole)
    {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        setTextFormat(Qt::PlainText);   // a path, never markup
        Elide();
    }
    void Elide() { setText(fontMetrics().elidedText(whole, Qt::ElideMiddle, width())); }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QLabel::resizeEvent(event);
        Elide();
    }

private:
    QString whole;
};

// Word-wrapped text after the style's warning icon. The icon, not a text colour, marks
// it, so it reads in light and dark themes alike.
class WarningLabel : public QLabel {
public:
    explicit WarningLabel(QWidget* parent) : QLabel(parent)
    {
        setWordWrap(true);
        setTextFormat(Qt::PlainText);   // it names the user's folders
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setTextInteractionFlags(Qt::TextSelectableByMouse);
        side = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
        icon = style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this);
        // A single line is at least as high as the icon.
        const int pad = std::max(0, side - fontMetrics().height());
        setContentsMargins(side + fontMetrics().horizontalAdvance(QLatin1Char(' ')), pad / 2, 0,
                           pad - pad / 2);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QLabel::paintEvent(event);
        QPainter painter(this);
        const int top = std::max(0, (fontMetrics().height() - side) / 2);
        icon.paint(&painter, QRect(0, top, side, side));
    }

private:
    int side = 16;
    QIcon icon;
};

// The real choosers, with every track kind in the file dialog.
class TrackFilePickers : public FolderBrowser {
public:
    bool BrowseGpxFile(QWidget* parent, const QString& start, QString& chosen) override
    {
        // A pattern such as /home/me/gps/*.gpx opens on its folder; a file name is preselected.
        QString initial = start;
        const QFileInfo info(start);
        if (info.fileName().contains(u'*') || info.fileName().contains(u'?'))
            initial = info.path();
        const QString file = QFileDialog::getOpenFileName(parent, QString(), initial, TrackFileFilters(),
                                                          nullptr, QFileDialog::HideNameFilterDetails);
        if (file.isEmpty())
            return false;
        chosen = QFileInfo(file).absoluteFilePath();
        return true;
    }
};

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
        this->pickers = ownPickers = new TrackFilePickers;
    BuildControls();
    ShowValues();
    CheckFolder();
    // As wide as the path boxes want, within the screen (adjustSize would stop at two
    // thirds of it), and as high as the warning's lines need at that width. Placed now, not
    // at the first show, so that the controls' sizes are right at once.
    int width = sizeHint().width();
    if (const QScreen* screen = this->screen())
        width = std::min(width, screen->availableGeometry().width());
    const int height = heightForWidth(width);
    resize(width, height > 0 ? height : sizeHint().height());
    layout()->activate();
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
    setWindowTitle(tr("Set-up"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* page = new QVBoxLayout(this);
    page->addLayout(BuildPathRows());

    auto* middle = new QHBoxLayout;
    middle->addWidget(BuildParseRename(), 0, Qt::AlignTop);
    middle->addSpacing(fontMetrics().horizontalAdvance(QLatin1Char('x')));
    middle->addLayout(BuildOffsetAndButtons(), 1);
    page->addLayout(middle);

    rawSidecarCheck = Named(new QCheckBox(tr("Write RAW positions to XMP sidecars"), this), 0, "rawSidecarCheck");
    rawSidecarCheck->setToolTip(tr("CR3, RW2 and ORF photos always get a sidecar (NAME.EXT.xmp)"));
    interpolateCheck = Named(new QCheckBox(tr("Place photos between track points"), this), 0, "interpolateCheck");
    interpolateCheck->setToolTip(tr("A photo taken between two points of a segment (at most 30 minutes apart) "
                                    "gets the position between them, written at full precision with its UTC time; "
                                    "otherwise the nearest point, to a hundredth of a minute"));
    photoZoneCheck = Named(new QCheckBox(tr("Use the time zone stored in the photo"), this), 0, "photoZoneCheck");
    photoZoneCheck->setToolTip(tr("A photo that states its time zone (phones, newer cameras) is matched by it; "
                                  "the offset serves the others"));
    replaceCheck = Named(new QCheckBox(tr("Replace positions that photos already have"), this), 0, "replaceCheck");
    replaceCheck->setToolTip(tr("Off: a photo with a position Pinroute didn't write (a phone's, another program's) "
                                "keeps it; positions Pinroute wrote are always written again"));
    placesCheck = Named(new QCheckBox(tr("Write the town, region and country"), this), 0, "placesCheck");
    placesCheck->setToolTip(tr("GeoTag writes the nearest town (within PlaceMaxKm), its region and country from "
                               "the geonames.org data, offline; a photo's own place names are kept"));
    placeInNameCheck = Named(new QCheckBox(tr("Add the place to renamed files"), this), 0, "placeInNameCheck");
    placeInNameCheck->setToolTip(tr("Rename appends the town, region and country in plain letters"));
    page->addWidget(rawSidecarCheck);
    page->addWidget(interpolateCheck);
    page->addLayout(BuildLimitRows());
    page->addWidget(photoZoneCheck);
    page->addLayout(BuildZoneRow());
    page->addWidget(replaceCheck);
    page->addWidget(keepSoftwareCheck);
    page->addWidget(placesCheck);
    page->addWidget(placeInNameCheck);
    page->addWidget(BuildCameraTable());
    page->addStretch(1);   // a taller dialog leaves the room below the controls
    ConnectControls();
}

QLayout* SetupDialog::BuildPathRows()
{
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);   // the path boxes take the width
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    // The folder icon grows with the font.
    const int iconSide = std::max(16, fontMetrics().height());
    auto pathRow = [&](int row, const QString& caption, const char* labelName, QLineEdit* edit,
                       QPushButton* browse) {
        auto* label = Named(new QLabel(caption, this), 0, labelName);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(edit, row, 1);
        browse->setIconSize(QSize(iconSide, iconSide));
        grid->addWidget(browse, row, 2);
        // The whole path, however narrow the box.
        connect(edit, &QLineEdit::textChanged, edit, &QLineEdit::setToolTip);
    };

    jpgDirEdit = Named(new PathEdit(this), 1012, "jpgDirEdit");
    jpgDirBrowse = Named(new QPushButton(folderIcon, QString(), this), 1014, "jpgDirBrowseButton");
    jpgDirBrowse->setToolTip(tr("Choose the photo folder"));
    jpgDirBrowse->setAccessibleName(tr("Browse for the photo folder"));
    pathRow(0, tr("JPG Directory"), "jpgDirLabel", jpgDirEdit, jpgDirBrowse);

    folderWarning = Named(new WarningLabel(this), 0, "folderWarning");
    folderWarning->hide();
    grid->addWidget(folderWarning, 1, 1, 1, 2);
    recurseCheck = Named(new QCheckBox(tr("Include sub-folders"), this), 0, "recurseCheck");
    recurseCheck->setToolTip(tr("List the photos of the folder's sub-folders too, as on a camera card "
                                "(DCIM/100CANON)"));
    grid->addWidget(recurseCheck, 2, 1, 1, 2);
    folderTimer = new QTimer(this);
    folderTimer->setSingleShot(true);
    folderTimer->setInterval(kFolderCheckDelay);

    gpxPathEdit = Named(new PathEdit(this), 1011, "gpxPathEdit");
    gpxBrowse = Named(new QPushButton(folderIcon, QString(), this), 1015, "gpxBrowseButton");
    gpxBrowse->setToolTip(tr("Choose the track file"));
    gpxBrowse->setAccessibleName(tr("Browse for the track file"));
    pathRow(3, tr("Track file"), "gpxPathLabel", gpxPathEdit, gpxBrowse);
    photoTrackEdit = Named(new PathEdit(this), 0, "photoTrackEdit");
    photoTrackEdit->setPlaceholderText(tr("Phone photos: their positions serve as the track"));
    photoTrackBrowse = Named(new QPushButton(folderIcon, QString(), this), 0, "photoTrackBrowseButton");
    photoTrackBrowse->setToolTip(tr("Choose a folder of photos with positions (a phone's) to serve as the track"));
    photoTrackBrowse->setAccessibleName(tr("Browse for the photo track folder"));
    pathRow(4, tr("Photo track"), "photoTrackLabel", photoTrackEdit, photoTrackBrowse);

    // Which file Save writes; a long path loses its middle, and the tooltip shows it whole.
    const QString path = QString::fromStdString(iniPath);
    auto* file = Named(new ElidedLabel(tr("Settings file: %1").arg(path), this), 0, "settingsFileLabel");
    file->setToolTip(path);
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(file, 5, 0, 1, 3);
    return grid;
}

QWidget* SetupDialog::BuildParseRename()
{
    auto* group = Named(new QGroupBox(tr("Parse/Rename"), this), 0, "parseRenameGroup");
    auto* column = new QVBoxLayout(group);
    dateCheck = Named(new QCheckBox(tr("Date"), group), 1010, "dateCheck");
    column->addWidget(dateCheck);

    auto* position = Named(new QGroupBox(group), 0, "positionGroup");
    auto* rows = new QVBoxLayout(position);
    positionCheck = Named(new QCheckBox(tr("Position"), position), 1009, "positionCheck");
    latLonRadio = Named(new QRadioButton(tr("Lat/Lon"), position), 1007, "latLonRadio");
    osgbRadio = Named(new QRadioButton(tr("OSGB"), position), 1008, "osgbRadio");
    rows->addWidget(positionCheck);
    // The display choices sit under the box's caption, past its tick.
    const int indent = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, positionCheck)
        + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, positionCheck);
    for (QRadioButton* radio : {latLonRadio, osgbRadio}) {
        auto* row = new QHBoxLayout;
        row->addSpacing(indent);
        row->addWidget(radio);
        rows->addLayout(row);
    }
    column->addWidget(position);

    displayGroup = new QButtonGroup(this);
    displayGroup->addButton(latLonRadio, 0);
    displayGroup->addButton(osgbRadio, 1);
    return group;
}

QLayout* SetupDialog::BuildOffsetAndButtons()
{
    auto* grid = new QGridLayout;
    grid->setColumnStretch(2, 1);   // the buttons keep their width; the room goes right

    auto* offsetRow = new QHBoxLayout;
    offsetEdit = Named(new QLineEdit(this), 1017, "offsetEdit");
    // Room for "-1440", the widest offset in common use, and a little more.
    offsetEdit->setFixedWidth(offsetEdit->sizeHint().width() * 2 / 3);
    auto* offsetLabel = Named(new QLabel(tr("Offset"), this), 0, "offsetLabel");
    offsetLabel->setBuddy(offsetEdit);
    offsetRow->addWidget(offsetLabel);
    offsetRow->addWidget(offsetEdit);
    offsetEdit->setToolTip(tr("How far the camera's clock runs ahead of the track's: minutes (-58), "
                              "minutes:seconds (-58:20) or hours:minutes:seconds (+1:02:20)"));
    offsetRow->addWidget(Named(new QLabel(tr("Minutes, m:ss or h:mm:ss"), this), 0, "minutesLabel"));
    offsetRow->addStretch(1);
    grid->addLayout(offsetRow, 0, 0, 1, 3);

    clockButton = Named(new QPushButton(tr("From a photo of the GPS clock…"), this), 0, "clockPhotoButton");
    grid->addWidget(clockButton, 1, 0, 1, 2);
    helpButton = Named(new QPushButton(tr("&Help"), this), 1016, "helpButton");
    grid->addWidget(helpButton, 2, 0);
    suggestButton = Named(new QToolButton(this), 0, "suggestButton");
    suggestButton->setText(tr("Su&ggest"));
    suggestButton->setToolTip(tr("The offsets that put the most photos near the track"));
    // As high and as wide as the push buttons beside it.
    suggestButton->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    grid->addWidget(suggestButton, 2, 1);
    saveButton = Named(new QPushButton(tr("&Save"), this), 1, "saveButton");
    saveButton->setDefault(true);
    grid->addWidget(saveButton, 3, 0);
    cancelButton = Named(new QPushButton(tr("&Cancel"), this), 2, "cancelButton");
    grid->addWidget(cancelButton, 4, 0);

    auto* icon = Named(new QLabel(this), 0, "appIcon");
    const QSize iconSize = DialogRect(font(), 0, 0, 20, 20).size();
    icon->setPixmap(AppIcon().pixmap(iconSize));
    grid->addWidget(icon, 3, 1, 2, 1, Qt::AlignRight | Qt::AlignBottom);
    grid->setRowStretch(5, 1);
    return grid;
}

void SetupDialog::ConnectControls()
{
    QWidget* order[] = {jpgDirEdit, jpgDirBrowse, recurseCheck, gpxPathEdit, gpxBrowse, photoTrackEdit, photoTrackBrowse,
                        dateCheck,
                        positionCheck, latLonRadio, osgbRadio, rawSidecarCheck, interpolateCheck, maxGapSpin,
                        maxInterpolationGapSpin, photoZoneCheck, cameraZoneEdit, replaceCheck, keepSoftwareCheck,
                        placesCheck, placeInNameCheck, cameraTable, offsetEdit, clockButton, helpButton, suggestButton, saveButton,
                        cancelButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(jpgDirBrowse, &QPushButton::clicked, this, &SetupDialog::OnBrowseJpgDir);
    connect(gpxBrowse, &QPushButton::clicked, this, &SetupDialog::OnBrowseGpxFile);
    connect(photoTrackBrowse, &QPushButton::clicked, this, &SetupDialog::OnBrowsePhotoTrack);
    connect(helpButton, &QPushButton::clicked, this, &SetupDialog::OnHelp);
    connect(saveButton, &QPushButton::clicked, this, &SetupDialog::OnSave);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(clockButton, &QPushButton::clicked, this, &SetupDialog::OnClockPhoto);
    connect(suggestButton, &QToolButton::clicked, this, &SetupDialog::OnSuggestOffset);
    // Each key restarts the wait, so a typed path is walked once.
    connect(jpgDirEdit, &QLineEdit::textChanged, folderTimer, qOverload<>(&QTimer::start));
    connect(folderTimer, &QTimer::timeout, this, &SetupDialog::CheckFolder);
    connect(recurseCheck, &QCheckBox::toggled, this, &SetupDialog::CheckFolder);
}

void SetupDialog::CheckFolder()
{
    folderTimer->stop();
    const std::string folder = jpgDirEdit->text().toStdString();
    // An empty box is the folder Pinroute starts in, not a mistake.
    const QString text = folder.empty()
        ? QString()
        : Translated(FolderCheckText(CheckPhotoFolder(folder, recurseCheck->isChecked()), folder,
                                     Text("Folder", kRecurseRemedy)));
    folderWarning->setText(text);
    folderWarning->setVisible(!text.isEmpty());
    FitHeight();
}

void SetupDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FitHeight();
}

void SetupDialog::FitHeight()
{
    // A window's minimum size ignores how many lines the warning wraps to at its width:
    // grow the window, so that no line is cut off.
    layout()->activate();
    const int needed = layout()->totalMinimumHeightForWidth(width());
    if (needed > height())
        resize(width(), needed);
}

bool SetupDialog::TakeValues()
{
    values.JPGDir = jpgDirEdit->text().toStdString();
    values.GPXPath = gpxPathEdit->text().toStdString();
    values.PhotoTrack = photoTrackEdit->text().toStdString();
    values.Recurse = recurseCheck->isChecked() ? 1 : 0;
    values.Date = dateCheck->isChecked() ? 1 : 0;
    values.Posn = positionCheck->isChecked() ? 1 : 0;
    values.RawSidecar = rawSidecarCheck->isChecked() ? 1 : 0;
    values.Interpolate = interpolateCheck->isChecked() ? 1 : 0;
    values.PhotoZone = photoZoneCheck->isChecked() ? 1 : 0;
    values.ReplacePositions = replaceCheck->isChecked() ? 1 : 0;
    values.Places = placesCheck->isChecked() ? 1 : 0;
    values.PlaceInName = placeInNameCheck->isChecked() ? 1 : 0;
    values.DisplayType = displayGroup->checkedId();   // -1 when neither is checked

    // A refused offset leaves the last valid one in values.
    const std::optional<int64_t> offset = ParseOffset(offsetEdit->text().toStdString());
    if (!offset || !values.SetOffset(*offset)) {
        ShowMessage(tr(kOffsetNotWholeNumber).toStdString(), "", MessageIcon::Error);
        offsetEdit->setFocus(Qt::OtherFocusReason);
        offsetEdit->selectAll();
        return false;
    }
    return TakeClockValues() && TakeCameraOffsets();
}

void SetupDialog::ShowValues()
{
    // The caret at the start shows the beginning of a long path.
    jpgDirEdit->setText(QString::fromStdString(values.JPGDir));
    jpgDirEdit->setCursorPosition(0);
    gpxPathEdit->setText(QString::fromStdString(values.GPXPath));
    gpxPathEdit->setCursorPosition(0);
    photoTrackEdit->setText(QString::fromStdString(values.PhotoTrack));
    photoTrackEdit->setCursorPosition(0);
    recurseCheck->setChecked(values.Recurse != 0);
    dateCheck->setChecked(values.Date != 0);
    positionCheck->setChecked(values.Posn != 0);
    rawSidecarCheck->setChecked(values.RawSidecar != 0);
    interpolateCheck->setChecked(values.Interpolate != 0);
    photoZoneCheck->setChecked(values.PhotoZone != 0);
    replaceCheck->setChecked(values.ReplacePositions != 0);
    placesCheck->setChecked(values.Places != 0);
    placeInNameCheck->setChecked(values.PlaceInName != 0);
    // An exclusive group can't uncheck its last checked button: lift the rule meanwhile.
    displayGroup->setExclusive(false);
    latLonRadio->setChecked(values.DisplayType == static_cast<int32_t>(::DisplayType::LatLon));
    osgbRadio->setChecked(values.DisplayType == static_cast<int32_t>(::DisplayType::Osgb));
    displayGroup->setExclusive(true);
    offsetEdit->setText(QString::fromStdString(OffsetText(values.Offset())));
    ShowClockValues();
    ShowCameraOffsets();
}
