#include "geotag/PhotoMatch.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "coords/PositionFormatter.h"
#include "exif/GpsCommands.h"
#include "exif/PhotoTags.h"
#include "geotag/CameraGroups.h"
#include "geotag/PhotoPoints.h"
#include "settings/Settings.h"

bool MatchOptionsOf(const Settings& settings, MatchOptions& options, std::string& reason)
{
    options.interpolate = settings.Interpolate != 0;
    options.photoZone = settings.PhotoZone != 0;
    options.offsetSeconds = settings.Offset();
    options.limits.maxGapSeconds = std::max<int64_t>(0, settings.MaxGapSeconds);
    options.limits.maxInterpolationGapSeconds = std::max(0, settings.MaxInterpolationGapSeconds);
    options.cameraOffsets = settings.CameraOffsets;
    options.cameraZone.reset();
    if (!settings.CameraZone.empty()) {
        options.cameraZone = ZoneRules::Load(settings.CameraZone, reason);
        if (!options.cameraZone) {
            reason = "CameraZone: " + reason;
            return false;
        }
    }
    return true;
}

bool TimedByItsZone(const PhotoTags& tags, const MatchOptions& options)
{
    return options.photoZone && tags.hasZone;
}

int64_t PhotoLead(const PhotoTags& tags, const MatchOptions& options, std::string* camera)
{
    if (TimedByItsZone(tags, options))
        return tags.zoneSeconds;
    std::string name;
    const int64_t offset = CameraOffsetSeconds(options.cameraOffsets, tags.camera, options.offsetSeconds, name);
    if (camera)
        *camera = name;
    if (options.cameraZone && tags.captureTime != -1)
        return offset + options.cameraZone->OffsetOfLocal(tags.captureTime - offset);
    return offset;
}

namespace {

// An elevation in metres as a text with four decimals and a point, whatever the locale.
std::string MetresText(double metres)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, metres, std::chars_format::fixed, 4);
    return std::string(buffer, result.ptr);
}

// "6 min 40 s", "2 h 5 min", "3 days 4 h": a distance in time, in its two largest units.
Text DurationText(int64_t seconds)
{
    const int64_t days = seconds / 86400, hours = seconds / 3600 % 24, minutes = seconds / 60 % 60, secs = seconds % 60;
    if (days > 0)
        return Text::Counted("Tips", QT_TRANSLATE_NOOP("Tips", "%n day %1 h"), QT_TRANSLATE_NOOP("Tips", "%n days %1 h"),
                             days, {std::to_string(hours)});
    if (hours > 0)
        return Text("Tips", QT_TRANSLATE_NOOP("Tips", "%1 h %2 min"), {std::to_string(hours), std::to_string(minutes)});
    if (minutes > 0)
        return Text("Tips", QT_TRANSLATE_NOOP("Tips", "%1 min %2 s"), {std::to_string(minutes), std::to_string(secs)});
    return Text("Tips", QT_TRANSLATE_NOOP("Tips", "%1 s"), {std::to_string(secs)});
}

// "+02:00" for 7200 seconds east of UTC.
std::string ZoneText(int seconds)
{
    char text[16];
    const int minutes = std::abs(seconds) / 60;
    std::snprintf(text, sizeof text, "%c%02d:%02d", seconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return text;
}

// "4", "1.5": a gap between two track points in seconds, to the tenth of a second.
std::string GapText(double seconds)
{
    char buffer[64];
    const double tenths = std::round(seconds * 10) / 10;
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, tenths, std::chars_format::general, 12);
    return std::string(buffer, result.ptr);
}

// The place between two points, in proportion to the time; an elevation only when both
// points have one.
MatchedPoint PlaceBetween(const Between& between)
{
    const TrackPoint& a = *between.first;
    const TrackPoint& b = *between.second;
    const double f = between.fraction;
    MatchedPoint match;
    match.latitude = a.lat + (b.lat - a.lat) * f;
    match.longitude = a.lon + (b.lon - a.lon) * f;
    double ea = 0, eb = 0;
    if (GpxElevation(a.eleText, ea) && GpxElevation(b.eleText, eb))
        match.elevationText = MetresText(ea + (eb - ea) * f);
    match.seconds = std::llround(between.gap * std::min(f, 1 - f));
    match.how = Text("Tips", QT_TRANSLATE_NOOP("Tips", "between two points %1 s apart"), {GapText(between.gap)});
    match.between = true;
    return match;
}

// The place the track gives for a photo whose clock leads UTC by offsetSeconds: between two
// points where options.interpolate and it can, else at the nearest point; from gets the
// point(s). Nothing when no point is near enough.
std::optional<MatchedPoint> FindPoint(const PhotoTags& tags, const TrackIndex& index, const MatchOptions& options,
                                      int64_t offsetSeconds, const TrackPoint* (&from)[2])
{
    Between between;
    if (options.interpolate && index.Enclosing(tags.captureTime, offsetSeconds, between, tags.captureFraction)) {
        from[0] = between.first;
        from[1] = between.second;
        return PlaceBetween(between);
    }
    const TrackPoint* point = index.Nearest(tags.captureTime, offsetSeconds);
    if (!point)
        return std::nullopt;
    from[0] = point;
    MatchedPoint match;
    match.seconds = std::llabs(point->time + offsetSeconds - tags.captureTime);
    match.latitude = point->lat;
    match.longitude = point->lon;
    double metres = 0;
    if (GpxElevation(point->eleText, metres))   // a text without a number is no elevation
        match.elevationText = point->eleText;
    match.how = Text("Tips", QT_TRANSLATE_NOOP("Tips", "nearest point, %1 s away"), {std::to_string(match.seconds)});
    return match;
}

}  // namespace

RowOutcome MatchOne(const PhotoTags& tags, const TrackIndex& index, const MatchOptions& options,
                    PositionFormatter& formatter, const PhotoPointSources* sources)
{
    if (!tags.listError.empty())   // never read: not a photo without EXIF
        return RowOutcome(RowKind::ReadFailed, tags.listError);
    if (!tags.listed || tags.captureTime == -1)
        return RowOutcome(RowKind::NoExif);
    RowOutcome outcome;
    outcome.date = std::string();
    // A photo that states its zone is matched by it; the others by the camera's clock.
    const bool ownZone = TimedByItsZone(tags, options);
    std::string camera;   // whose offset serves, "" for the one offset
    const int64_t offsetSeconds = PhotoLead(tags, options, &camera);
    const TrackPoint* from[2] = {nullptr, nullptr};   // the points it was placed from
    std::optional<MatchedPoint> match = FindPoint(tags, index, options, offsetSeconds, from);
    // With offsets per camera, the tooltip says which one a photo got.
    const Text zone = ownZone ? Text("Tips", QT_TRANSLATE_NOOP("Tips", "time zone from the photo: %1"), {ZoneText(tags.zoneSeconds)})
        : options.cameraOffsets.empty() ? Text() : OffsetLine(offsetSeconds, camera);
    if (!match) {
        // How far the track lies: the clue to a wrong offset or a track of another day.
        const int64_t distance = index.NearestDistance(tags.captureTime, offsetSeconds);
        const Text away = distance < 0 ? Text("Tips", QT_TRANSLATE_NOOP("Tips", "the track has no timed point"))
                                       : Text("Tips", QT_TRANSLATE_NOOP("Tips", "nearest track point %1 away"),
                                              {DurationText(distance)});
        outcome = RowOutcome(RowKind::Rejected, Text::Joined({away, zone}, "\n"));
        outcome.date = std::string();
        return outcome;
    }
    match->utcTime = tags.captureTime - offsetSeconds;
    if (sources)
        NamePhotoPoints(*sources, from[0], from[1], *match);
    if (!ownZone && !options.cameraOffsets.empty()) {
        match->offsetSeconds = offsetSeconds;
        match->offsetCamera = camera;
    }
    match->interpolating = options.interpolate;
    // What the row shows is what the photo will hold, not the track's finer figure.
    GpsPrecision precision;
    precision.full = match->interpolating;
    match->storedLatitude = StoredCoordinate(match->latitude, precision);
    match->storedLongitude = StoredCoordinate(match->longitude, precision);
    match->storedElevationText = StoredElevationText(match->elevationText);
    outcome.date = tags.dateText;
    std::string positionText;
    if (formatter.Format(match->storedLatitude, match->storedLongitude, positionText))
        outcome.text = positionText;
    outcome.position = RowPosition{match->storedLatitude, match->storedLongitude, false};
    // The tooltip says how the position was found, and by which clock.
    outcome.tip = Text::Joined({match->how, zone}, "\n");
    outcome.match = match;
    outcome.kind = RowKind::Tagged;
    outcome.icon = IconOf(outcome.kind);
    return outcome;
}
