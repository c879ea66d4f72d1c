#include "gui/ClockOffsetDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include "exif/PhotoListing.h"
#include "exif/Workspace.h"
#include "geotag/CameraGroups.h"
#include "gui/DialogUnits.h"
#include "gui/Translations.h"
#include "photos/PhotoList.h"
#include "common/OffsetText.h"
#include "settings/Settings.h"

namespace {

class FileDialogPicker : public PhotoPicker {
public:
    bool PickPhoto(QWidget* parent, const QString& start, QString& chosen) override
    {
        const QString file = QFileDialog::getOpenFileName(parent, ClockOffsetDialog::tr("Photo of the GPS clock"), start);
        if (file.isEmpty())
            return false;
        chosen = file;
        return true;
    }
};

QLabel* Label(QWidget* dialog, const QString& text, const char* name, int x, int y, int w, int h)
{
    auto* label = PlaceControl(dialog, new QLabel(text, dialog), 0, name, x, y, w, h);
    label->setTextFormat(Qt::PlainText);   // reasons name the user's files
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

// A time count as the fields it was read from, in the form the clock's box takes.
QString TimeText(int64_t count)
{
    return QDateTime::fromSecsSinceEpoch(count, Qt::UTC).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace

PhotoPicker& DesktopPhotoPicker()
{
    static FileDialogPicker picker;
    return picker;
}

ClockOffsetDialog::ClockOffsetDialog(const QString& folder, QWidget* parent, PhotoPicker* picker)
    : QDialog(parent), folder(folder), picker(picker ? picker : &DesktopPhotoPicker())
{
    setObjectName(QStringLiteral("clockOffsetDialog"));
    setWindowTitle(tr("From a photo of the GPS clock"));
    setFixedSize(DialogRect(font(), 0, 0, 244, 128).size());
    auto* intro = Label(this,
                        tr("Take a photo of the GPS receiver's clock (or any clock that shows UTC or GPS "
                           "time), pick it here and type the time it shows."),
                        "introLabel", 7, 5, 230, 24);
    intro->setWordWrap(true);
    Label(this, tr("Photo"), "photoLabel", 7, 36, 48, 8);
    photoEdit = PlaceControl(this, new QLineEdit(this), 0, "photoEdit", 58, 33, 156, 14);
    photoEdit->setReadOnly(true);
    photoEdit->setAccessibleName(tr("Photo of the clock"));
    auto* browse = PlaceControl(this, new QPushButton(QStringLiteral("…"), this), 0, "photoBrowseButton", 217, 33, 18, 14);
    browse->setToolTip(tr("Choose the photo of the clock"));
    Label(this, tr("Camera time"), "captureCaptionLabel", 7, 54, 48, 8);
    captureLabel = Label(this, QString(), "captureLabel", 58, 54, 170, 8);
    Label(this, tr("Clock shows"), "shownLabel", 7, 71, 48, 8);
    shownEdit = PlaceControl(this, new QLineEdit(this), 0, "shownEdit", 58, 68, 80, 14);
    shownEdit->setPlaceholderText(tr("HH:MM:SS"));
    shownEdit->setAccessibleName(tr("Clock shows"));
    shownEdit->setAccessibleDescription(tr("The UTC or GPS time the clock in the photo shows, as HH:MM:SS"));
    Label(this, tr("UTC / GPS time"), "shownHintLabel", 142, 71, 90, 8);
    resultLabel = Label(this, QString(), "resultLabel", 7, 89, 230, 10);
    useButton = PlaceControl(this, new QPushButton(tr("&Use"), this), 1, "useButton", 130, 108, 50, 14);
    auto* cancel = PlaceControl(this, new QPushButton(tr("&Cancel"), this), 2, "cancelButton", 185, 108, 50, 14);
    useButton->setEnabled(false);
    useButton->setDefault(true);

    connect(browse, &QPushButton::clicked, this, &ClockOffsetDialog::OnPickPhoto);
    connect(shownEdit, &QLineEdit::textChanged, this, &ClockOffsetDialog::OnTimeEdited);
    connect(useButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ClockOffsetDialog::OnPickPhoto()
{
    QString chosen;
    if (!picker->PickPhoto(this, folder, chosen))
        return;
    photoEdit->setText(chosen);
    ReadCaptureTime(chosen);
    OnTimeEdited();
}

void ClockOffsetDialog::ReadCaptureTime(const QString& path)
{
    captureTime = -1;
    Workspace workspace;
    if (workspace.Ready()) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        const std::vector<PhotoTags> tags = ListPhotos(workspace.Worker(0), {path.toStdString()});
        QApplication::restoreOverrideCursor();
        if (!tags.empty() && tags[0].listed)
            captureTime = tags[0].captureTime;
    }
    captureLabel->setText(captureTime == -1 ? tr("The photo has no capture time.") : TimeText(captureTime));
}

void ClockOffsetDialog::OnTimeEdited()
{
    const QString text = shownEdit->text().trimmed();
    const int64_t shown = ShownTime(text.toStdString(), captureTime);
    const bool ready = captureTime != -1 && shown != -1;
    useButton->setEnabled(ready);
    if (!ready) {
        resultLabel->setText(captureTime == -1 || text.isEmpty() ? QString()
                                                                  : tr("Type the time as HH:MM:SS."));
        return;
    }
    lead = ClockLeadOf(captureTime, shown);
    resultLabel->setText(tr("Offset: %1").arg(OffsetLabel(Seconds())));
}

namespace {

// With photos of several cameras, a line with each camera's best offset: " Per camera: Canon
// EOS 5D (12 photos) +60 min; NIKON D70 (8 photos) -3:20." Set-up's camera table takes them.
QString CamerasNote(const SuggestionRun& run)
{
    if (run.cameras.size() < 2)
        return {};
    QString note = QCoreApplication::translate("OffsetSuggestionsDialog", " Per camera:");
    for (const CameraGroup& group : run.cameras) {
        const QString label = QString::fromStdString(GroupLabel(group.name));
        note += (&group == &run.cameras.front() ? QStringLiteral(" ") : QStringLiteral("; "))
            + (group.photos == 1 ? QCoreApplication::translate("OffsetSuggestionsDialog", "%1 (%L2 photo)")
                                 : QCoreApplication::translate("OffsetSuggestionsDialog", "%1 (%L2 photos)"))
                  .arg(label)
                  .arg(group.photos)
            + u' '
            + (group.best.empty() ? QCoreApplication::translate("OffsetSuggestionsDialog", "none matches")
                                  : OffsetLabel(group.best[0].seconds));
    }
    return note + u'.';
}

}  // namespace

OffsetSuggestionsDialog::OffsetSuggestionsDialog(const Settings& settings, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("offsetSuggestionsDialog"));
    setWindowTitle(tr("Suggested offsets"));
    setFixedSize(DialogRect(font(), 0, 0, 240, 138).size());
    heading = Label(this, QString(), "headingLabel", 7, 5, 226, 8);
    list = PlaceControl(this, new QListWidget(this), 0, "suggestionList", 7, 17, 226, 54);
    // How many photos were read, while the worker reads them.
    progress = PlaceControl(this, new QProgressBar(this), 0, "progressBar", 7, 74, 226, 10);
    // Where the track starts, and its zone's offset on the photos' days.
    zone = Label(this, QString(), "zoneLabel", 7, 74, 226, 26);
    zone->setWordWrap(true);
    zone->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    zone->hide();
    zoneCheck = PlaceControl(this, new QCheckBox(this), 0, "cameraZoneCheck", 7, 102, 226, 12);
    zoneCheck->hide();
    useButton = PlaceControl(this, new QPushButton(tr("&Use"), this), 1, "useButton", 128, 118, 50, 14);
    auto* cancel = PlaceControl(this, new QPushButton(tr("&Cancel"), this), 2, "cancelButton", 183, 118, 50, 14);
    connect(useButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    useButton->setEnabled(false);

    PhotoList photos;
    photos.LoadFolder(settings.JPGDir);
    std::vector<std::string> paths;
    for (int i = 0; i < photos.Count(); ++i)
        paths.push_back(photos.Path(i));
    heading->setText(tr("Reading %L1 photos…").arg(paths.size()));
    progress->setRange(0, std::max(1, static_cast<int>(paths.size())));
    progress->setValue(0);

    auto run = std::make_shared<SuggestionRun>();
    worker = QThread::create([this, run, paths, settings] {
        Workspace workspace;
        *run = SuggestOffsetsFor(settings, paths, workspace, [this](int done, int) {
            QMetaObject::invokeMethod(progress, "setValue", Qt::QueuedConnection, Q_ARG(int, done));
            return !stopping.load();
        });
    });
    connect(worker, &QThread::finished, this, [this, run] { Show(*run); });
    worker->start();
    if (!worker->isRunning() && !worker->isFinished()) {   // no thread to be had: read here
        delete worker;
        worker = nullptr;
        Workspace workspace;
        Show(SuggestOffsetsFor(settings, paths, workspace));
    }
}

OffsetSuggestionsDialog::~OffsetSuggestionsDialog()
{
    if (worker) {
        stopping = true;
        worker->wait();
        delete worker;
    }
}

void OffsetSuggestionsDialog::Show(const SuggestionRun& run)
{
    best = run.best;
    cameras = run.cameras;
    if (!run.ok)
        heading->setText(Translated(run.error).section(u'\n', 0, 0));
    else if (best.empty() && run.total == 0 && run.statedZones > 0)
        heading->setText(tr("Every photo states its zone: none needs an offset."));
    else if (best.empty())
        heading->setText(tr("No offset puts any of the %L1 photos near the track.").arg(run.total));
    else
        heading->setText(tr("The offsets that match the most photos:"));
    for (const OffsetSuggestion& suggestion : best)
        list->addItem(Translated(SuggestionText(suggestion, run.total, &run.zone)));
    if (!best.empty())
        list->setCurrentRow(0);
    useButton->setEnabled(!best.empty());
    progress->hide();
    const Text stated = StatedZonesText(run.statedZones);
    zone->setText((stated.empty() ? Translated(run.zoneNote)
                                  : Translated(Text::Joined({Text::Filled("%1.", {stated}), run.zoneNote}, " ")))
                  + CamerasNote(run));
    zone->show();
    // The track's zone, offered to a camera that has none yet.
    trackZone = run.zone;
    if (!best.empty() && !run.zone.name.empty() && !run.cameraZone) {
        zoneCheck->setText(tr("Set the camera's clock to %1 time (follows its clock changes)")
                               .arg(QString::fromStdString(run.zone.name)));
        zoneCheck->show();
    }
    finished = true;
    emit Ready();
}

int64_t OffsetSuggestionsDialog::Seconds() const
{
    const int row = list->currentRow();
    const int64_t seconds = row >= 0 && row < static_cast<int>(best.size()) ? best[static_cast<size_t>(row)].seconds : 0;
    // In the zone, the offset left is how far the clock is off the zone's time.
    return zoneCheck->isChecked() ? seconds - static_cast<int64_t>(trackZone.offsetMinutes) * 60 : seconds;
}

std::string OffsetSuggestionsDialog::Zone() const
{
    return zoneCheck->isChecked() ? trackZone.name : std::string();
}
