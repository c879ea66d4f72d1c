#include "geotag/PlaceByHand.h"

#include <charconv>
#include <cmath>
#include <memory>

#include <unistd.h>

#include "exif/PlaceChoice.h"
#include "coords/PositionFormatter.h"
#include "exif/GpsTagWriter.h"
#include "exif/ExifListing.h"
#include "exif/MetadataCheck.h"
#include "exif/PhotoListing.h"
#include "exif/Workspace.h"
#include "journal/Journal.h"
#include "photos/PhotoKinds.h"
#include "run/RunFrame.h"

namespace {

const char kPlacedTip[] = QT_TRANSLATE_NOOP("Tips", "placed by hand");

// The outcome of one write, as GeoTag words it, with the placement's own tooltip; a write
// that may not last (lasting false though written) is a failure, as GeoTag has it.
RowOutcome OutcomeOf(const GpsWrite& write, bool lasting, const PhotoTags& tags, double storedLatitude,
                     double storedLongitude, PositionFormatter& formatter)
{
    if (!write.written)
        return RowOutcome(RowKind::WriteFailed, ReasonOf(write));   // the photo keeps whatever it had
    RowOutcome outcome(write.sidecarPath.empty() ? RowKind::Tagged : RowKind::TaggedInSidecar, Text("Tips", kPlacedTip));
    outcome.date = tags.dateText;
    outcome.position = RowPosition{storedLatitude, storedLongitude, true};
    outcome.sidecar = write.sidecarPath;
    std::string text;
    if (formatter.Format(storedLatitude, storedLongitude, text))
        outcome.text = text;
    MatchedPoint match;
    match.latitude = write.latitude;
    match.longitude = write.longitude;
    match.storedLatitude = storedLatitude;
    match.storedLongitude = storedLongitude;
    match.how = Text("Tips", kPlacedTip);
    outcome.match = match;
    if (!lasting) {
        outcome.kind = RowKind::WriteFailed;
        outcome.icon = IconOf(outcome.kind);
        outcome.text = RowTextOf(outcome.kind);
        outcome.tip = ReasonOf(write);
    } else if (!write.sidecarReason.empty()) {
        outcome.text = SidecarText(write.sidecarPath);
        outcome.sidecarReason = write.sidecarReason;
        outcome.tip = Text::Joined({write.sidecarReason, outcome.tip}, "\n");
    }
    return outcome;
}

// The elevation each photo (or, where its kind takes the position there, its sidecar) holds,
// in metres as a text; "" for none.
std::vector<std::string> Elevations(const std::vector<std::string>& paths, bool rawSidecar)
{
    std::vector<std::string> files;
    for (const auto& path : paths)
        files.push_back(UsesSidecar(KindOf(path), rawSidecar) ? SidecarPath(path) : path);
    std::vector<std::string> present;
    for (const auto& f : files)
        if (access(f.c_str(), F_OK) == 0)
            present.push_back(f);
    std::vector<uint64_t> hashes;
    std::vector<std::vector<TagValue>> named;
    std::string reason;
    std::vector<std::string> texts(paths.size());
    if (!MetadataFingerprints(present, {"Exif.GPSInfo.GPSAltitude", "Exif.GPSInfo.GPSAltitudeRef"}, hashes, named,
                              reason))
        return texts;
    size_t next = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        if (access(files[i].c_str(), F_OK) != 0)
            continue;
        double metres = 0;
        bool found = false, below = false;
        for (const TagValue& t : named[next]) {
            long numerator = 0, denominator = 0;
            if (t.key == "Exif.GPSInfo.GPSAltitude") {
                ParseRational(t.value, numerator, denominator);
                found = denominator != 0;
                metres = found ? static_cast<double>(numerator) / static_cast<double>(denominator) : 0;
            } else {
                below = t.value == "1";
            }
        }
        ++next;
        if (found) {
            char text[32];
            const auto end = std::to_chars(text, text + sizeof text, below ? -metres : metres);
            texts[i] = std::string(text, end.ptr);
        }
    }
    return texts;
}

// The writes that put the position into each photo: the elevation it holds stays, and with
// settings.Places the place near the position goes with it.
std::vector<GpsWrite> PlacingWrites(const Settings& settings, const std::vector<std::string>& paths,
                                    const std::vector<PhotoTags>& tags, double latitude, double longitude,
                                    const GpsPrecision& precision)
{
    const std::vector<std::string> elevations = Elevations(paths, settings.RawSidecar != 0);
    std::vector<GpsWrite> writes;
    for (const std::string& path : paths) {
        GpsWrite w;
        w.photoPath = path;
        w.latitude = latitude;
        w.longitude = longitude;
        w.precision = precision;   // no GPS time stamp: the moment is not the track's
        w.sidecar = UsesSidecar(KindOf(path), settings.RawSidecar != 0);
        w.elevationText = elevations[writes.size()];
        const PhotoTags& held = tags[writes.size()];
        if (const auto place = PlaceForWrite(settings, held.place, latitude, longitude)) {
            w.place = place->names;
            w.placeIptc = place->iptc;
        }
        writes.push_back(std::move(w));
    }
    return writes;
}

}  // namespace

std::vector<RowOutcome> PlacePhotos(const Settings& settings, const std::string& version,
                                    const std::vector<std::string>& paths, double latitude, double longitude,
                                    Workspace& workspace)
{
    std::vector<RowOutcome> outcomes;
    if (paths.empty())
        return outcomes;
    const bool onEarth = std::isfinite(latitude) && std::isfinite(longitude) && std::fabs(latitude) <= 90
        && std::fabs(longitude) <= 180;
    RunResult journalled;
    RunFrame frame(workspace, settings);
    if (!frame.Ready(journalled) || !onEarth) {
        const std::string why = onEarth ? "no working folder: " + workspace.Error() : "not a position on the earth";
        return std::vector<RowOutcome>(paths.size(), RowOutcome(RowKind::WriteFailed, why));
    }
    if (!frame.Open("place", paths, journalled, false))
        return std::vector<RowOutcome>(paths.size(), RowOutcome(RowKind::WriteFailed, journalled.journalError));
    const WorkerFiles files = frame.Files(0);
    // Read first for the date the row shows, and the elevation a photo had, which it keeps.
    const std::vector<PhotoTags> tags = ListPhotos(files, paths);
    // As GeoTag writes: the full form when the user places between points, else the classic one.
    GpsPrecision precision;
    precision.full = settings.Interpolate != 0;
    precision.keepSoftware = settings.KeepSoftware != 0;
    std::vector<GpsWrite> writes = PlacingWrites(settings, paths, tags, latitude, longitude, precision);

    const double storedLatitude = StoredCoordinate(latitude, precision);
    const double storedLongitude = StoredCoordinate(longitude, precision);
    const std::unique_ptr<PositionFormatter> formatter = FormatterFor(settings.DisplayType);
    std::vector<size_t> rows;
    for (size_t i = 0; i < writes.size(); ++i)
        rows.push_back(i);
    outcomes.resize(writes.size());
    WriteBatchToRows(files, writes, rows, version, [&](size_t i, const GpsWrite& write, bool lasting) {
        outcomes[i] = OutcomeOf(write, lasting, tags[i], storedLatitude, storedLongitude, *formatter);
        if (write.written)
            outcomes[i].place = PlaceLabel(write.place.Empty() ? tags[i].place.Names() : write.place);
    });
    journalled.status = RunStatus::Done;
    frame.Close(journalled);
    return outcomes;
}
