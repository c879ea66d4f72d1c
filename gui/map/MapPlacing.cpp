// The map panel's placing by hand: rows placed at a point after a question, rows dropped
// on the map, and the camera clock's offset from a point of the track.
#include "gui/map/MapPanel.h"

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QThread>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "common/Messages.h"
#include "common/OffsetText.h"
#include "common/ZoneRules.h"
#include "common/VersionInfo.h"
#include "coords/PositionFormatter.h"
#include "exif/PhotoListing.h"
#include "exif/Workspace.h"
#include "geotag/ClockOffset.h"
#include "geotag/PlaceByHand.h"
#include "gui/Translations.h"
#include "gui/map/PlaceSearch.h"
#include "gui/map/MapBridge.h"
#include "gui/map/MapNotices.h"
#include "gui/map/RowDrag.h"
#include "gui/map/TileInterceptor.h"
#include "photos/PhotoList.h"
#include "settings/Settings.h"
#include "track/TrackSearch.h"

namespace {

// The most names a question lists before "and N more".
const size_t kNamesShown = 8;

QString NameList(const PhotoList& photos, const std::vector<int>& rows)
{
    QString text;
    for (size_t i = 0; i < rows.size() && i < kNamesShown; ++i)
        text += u'\n' + QString::fromStdString(photos.Text(rows[i], ColumnName));
    if (rows.size() > kNamesShown)
        text += u'\n' + MapPanel::tr("and %L1 more").arg(rows.size() - kNamesShown);
    return text;
}

// A time count as a date and time in the locale's form, with the seconds.
QString TimeText(int64_t seconds)
{
    const QDateTime moment = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
    return QLocale().toString(moment.date(), QLocale::ShortFormat) + u' ' + moment.time().toString(QStringLiteral("HH:mm:ss"));
}

// What a click on the track says of the camera clock: the two times, how far apart, the
// offset (from the camera zone's time, when one is named).
QString OffsetText(const QString& name, int64_t captureTime, int64_t trackTime, int64_t lead, const QString& zone)
{
    const int64_t apart = captureTime - trackTime;
    const int64_t size = apart < 0 ? -apart : apart;
    const QString runs = apart < 0 ? MapPanel::tr("The camera clock runs %L1 min %L2 s behind the track's time.")
                                   : MapPanel::tr("The camera clock runs %L1 min %L2 s ahead of the track's time.");
    const QString offset = zone.isEmpty() ? MapPanel::tr("Offset: %1.").arg(OffsetLabel(lead))
                                          : MapPanel::tr("Offset: %1 from %2 time.").arg(OffsetLabel(lead), zone);
    return MapPanel::tr("%1 was taken here?\n\nIts camera clock said %2; the track passed this point at %3 UTC.")
               .arg(name, TimeText(captureTime), TimeText(trackTime))
        + u'\n' + runs.arg(size / 60).arg(size % 60) + QStringLiteral("\n\n") + offset;
}

}  // namespace

void MapPanel::PlaceRows(std::vector<int> rows, double latitude, double longitude)
{
    rows.erase(std::remove_if(rows.begin(), rows.end(), [this](int row) { return row < 0 || row >= photos.Count(); }),
               rows.end());
    if (rows.empty())
        return;
    if (hooks.busy && hooks.busy()) {
        ShowMessage(tr("The photos are being written: place them once the run has ended.").toStdString(),
                    tr("Place on the map").toStdString(), MessageIcon::Warning);
        Resend(rows);   // a dragged marker goes back
        return;
    }
    std::string where;
    PositionFormatter().Format(latitude, longitude, where);
    const QString question = rows.size() == 1
        ? tr("Place this photo here?\n%1\n\nat %2\n\nThe position is written into it, in place of any it had.")
        : tr("Place these %L3 photos here?\n%1\n\nat %2\n\nThe position is written into each of them, in place of "
             "any it had.");
    if (!AskMessage(question.arg(NameList(photos, rows), QString::fromStdString(where)).arg(rows.size()).toStdString(),
                    tr("Place on the map").toStdString())) {
        Resend(rows);
        return;
    }
    Workspace* workspace = hooks.workspace ? hooks.workspace() : nullptr;
    if (!workspace) {
        Resend(rows);
        return;
    }
    Settings settings;
    settings.Read(settingsPath);
    std::vector<std::string> paths;
    for (int row : rows)
        paths.push_back(photos.Path(row));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::vector<RowOutcome> outcomes =
        PlacePhotos(settings, VersionInfo().Query("FileVersion"), paths, latitude, longitude, *workspace);
    QApplication::restoreOverrideCursor();
    for (size_t i = 0; i < rows.size() && i < outcomes.size(); ++i)
        photos.SetRow(rows[i], outcomes[i]);
    Resend(rows);
}

void MapPanel::DropRows(std::vector<int> rows, QPoint at)
{
    if (!page || !ready || rows.empty())
        return;
    QPointer<MapPanel> self(this);
    at = view->mapFrom(this, at);   // the page's points start below the town search
    Page()->runJavaScript(QStringLiteral("pinrouteLatLngAt(%1, %2)").arg(at.x()).arg(at.y()),
                        [self, rows](const QVariant& result) {
                            const QVariantList position = result.toList();
                            if (!self || position.size() != 2)
                                return;
                            const double latitude = position[0].toDouble(), longitude = position[1].toDouble();
                            QTimer::singleShot(0, self, [self, rows, latitude, longitude] {
                                if (self)
                                    self->PlaceRows(rows, latitude, longitude);
                            });
                        });
}

void MapPanel::OfferTakenHere(int segment, int index)
{
    if (segment < 0 || segment >= static_cast<int>(lines.segments.size()) || index < 0
        || index >= static_cast<int>(lines.segments[static_cast<size_t>(segment)].size()))
        return;
    const LinePoint point = lines.segments[static_cast<size_t>(segment)][static_cast<size_t>(index)];
    const std::vector<int> rows = SelectedRows();
    const std::string caption = tr("Camera clock offset").toStdString();
    if (rows.size() != 1) {
        ShowMessage(tr("Select one photo, then click the point of the track where it was taken.").toStdString(), caption,
                    MessageIcon::Information);
        return;
    }
    if (point.time < 0) {
        ShowMessage(tr("This point of the track has no time: choose another.").toStdString(), caption,
                    MessageIcon::Information);
        return;
    }
    if (hooks.busy && hooks.busy()) {
        ShowMessage(tr("The photos are being worked on: try again once the run has ended.").toStdString(), caption,
                    MessageIcon::Warning);
        return;
    }
    Workspace* workspace = hooks.workspace ? hooks.workspace() : nullptr;
    if (!workspace)
        return;
    const QString name = QString::fromStdString(photos.Text(rows[0], ColumnName));
    const std::vector<PhotoTags> tags = ListPhotos(workspace->Worker(0), {photos.Path(rows[0])});
    if (tags.empty() || !tags[0].listed || tags[0].captureTime < 0) {
        ShowMessage(tr("%1 has no capture time, so the offset can't be worked out from it.").arg(name).toStdString(),
                    caption, MessageIcon::Information);
        return;
    }
    OfferOffset(name, tags[0], point.time, caption);
}

void MapPanel::OfferOffset(const QString& name, const PhotoTags& photo, int64_t pointTime, const std::string& caption)
{
    Settings settings;
    const bool read = settings.Read(settingsPath);
    // With a camera zone the offset is how far the clock is off the zone's time there and then.
    std::string zoneReason;
    const std::optional<ZoneRules> zone = settings.CameraZone.empty()
        ? std::nullopt : ZoneRules::Load(settings.CameraZone, zoneReason);
    const int64_t captureTime = photo.captureTime;
    const TakenHere taken = TakenHereOf(captureTime, pointTime, zone ? zone->OffsetAt(pointTime) : 0);
    if (!taken.fits) {
        ShowMessage(tr("The photo's time and the track's are too far apart to be an offset.").toStdString(), caption,
                    MessageIcon::Warning);
        return;
    }
    const int64_t lead = taken.lead;
    QString text = OffsetText(name, captureTime, pointTime, lead,
                              zone ? QString::fromStdString(settings.CameraZone) : QString());
    if (settings.PhotoZone != 0 && photo.hasZone)
        text += u'\n' + tr("This photo states its time zone: GeoTag matches it by that, not by the offset, while "
                           "\"Use the time zone stored in the photo\" is on.");
    if (settings.Offset() == lead) {
        ShowMessage((text + QStringLiteral("\n\n") + tr("That is the offset already set.")).toStdString(), caption,
                    MessageIcon::Information);
        return;
    }
    if (!AskMessage((text + QStringLiteral("\n\n") + tr("Save %1 as the offset (now %2)?")
                                                          .arg(OffsetLabel(lead), OffsetLabel(settings.Offset()))).toStdString(),
                    caption))
        return;
    settings.SetOffset(lead);
    std::string reason = tr("the settings file can't be read").toStdString();
    if (!read || !settings.Write(settingsPath, reason))
        ShowMessage(tr("The offset could not be saved: %1.").arg(QString::fromStdString(reason)).toStdString(), caption,
                    MessageIcon::Error);
}
