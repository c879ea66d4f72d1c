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

std::string NameList(const PhotoList& photos, const std::vector<int>& rows)
{
    std::string text;
    for (size_t i = 0; i < rows.size() && i < kNamesShown; ++i)
        text += "\n" + photos.Text(rows[i], ColumnName);
    if (rows.size() > kNamesShown)
        text += "\nand " + std::to_string(rows.size() - kNamesShown) + " more";
    return text;
}

}  // namespace

void MapPanel::PlaceRows(std::vector<int> rows, double latitude, double longitude)
{
    rows.erase(std::remove_if(rows.begin(), rows.end(), [this](int row) { return row < 0 || row >= photos.Count(); }),
               rows.end());
    if (rows.empty())
        return;
    if (hooks.busy && hooks.busy()) {
        ShowMessage("The photos are being written: place them once the run has ended.", "Place on the map",
                    MessageIcon::Warning);
        Resend(rows);   // a dragged marker goes back
        return;
    }
    std::string where;
    PositionFormatter().Format(latitude, longitude, where);
    const std::string question = (rows.size() == 1 ? "Place this photo here?\n" : "Place these "
                                      + std::to_string(rows.size()) + " photos here?\n")
        + NameList(photos, rows) + "\n\nat " + where + "\n\nThe position is written into "
        + (rows.size() == 1 ? "it" : "each of them") + ", in place of any it had.";
    if (!AskMessage(question, "Place on the map")) {
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
    Page()->runJavaScript(QString("pinrouteLatLngAt(%1, %2)").arg(at.x()).arg(at.y()),
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
    const char* caption = "Camera clock offset";
    if (rows.size() != 1) {
        ShowMessage("Select one photo, then click the point of the track where it was taken.", caption,
                    MessageIcon::Information);
        return;
    }
    if (point.time < 0) {
        ShowMessage("This point of the track has no time: choose another.", caption, MessageIcon::Information);
        return;
    }
    if (hooks.busy && hooks.busy()) {
        ShowMessage("The photos are being worked on: try again once the run has ended.", caption,
                    MessageIcon::Warning);
        return;
    }
    Workspace* workspace = hooks.workspace ? hooks.workspace() : nullptr;
    if (!workspace)
        return;
    const std::string name = photos.Text(rows[0], ColumnName);
    const std::vector<PhotoTags> tags = ListPhotos(workspace->Worker(0), {photos.Path(rows[0])});
    if (tags.empty() || !tags[0].listed || tags[0].captureTime < 0) {
        ShowMessage(name + " has no capture time, so the offset can't be worked out from it.", caption,
                    MessageIcon::Information);
        return;
    }
    Settings settings;
    const bool read = settings.Read(settingsPath);
    // With a camera zone the offset is how far the clock is off the zone's time there and then.
    std::string zoneReason;
    const std::optional<ZoneRules> zone = settings.CameraZone.empty()
        ? std::nullopt : ZoneRules::Load(settings.CameraZone, zoneReason);
    const int64_t zoneSeconds = zone ? zone->OffsetAt(point.time) : 0;
    const TakenHere taken = TakenHereOf(tags[0].captureTime, point.time, zoneSeconds, zone ? settings.CameraZone : "");
    if (!taken.fits) {
        ShowMessage("The photo's time and the track's are too far apart to be an offset.", caption,
                    MessageIcon::Warning);
        return;
    }
    const int64_t lead = taken.lead;
    std::string text = name + " was taken here?

" + taken.text;
    if (settings.PhotoZone != 0 && tags[0].hasZone)
        text += "\nThis photo states its time zone: GeoTag matches it by that, not by the offset, while "
                "\"Use the time zone stored in the photo\" is on.";
    if (settings.Offset() == lead) {
        ShowMessage(text + "\n\nThat is the offset already set.", caption, MessageIcon::Information);
        return;
    }
    if (!AskMessage(text + "\n\nSave " + OffsetWithUnits(lead) + " as the offset (now "
                        + OffsetWithUnits(settings.Offset()) + ")?",
                    caption))
        return;
    settings.SetOffset(lead);
    std::string reason = "the settings file can't be read";
    if (!read || !settings.Write(settingsPath, reason))
        ShowMessage("The offset could not be saved: " + reason + ".", caption, MessageIcon::Error);
}
