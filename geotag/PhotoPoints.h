#pragma once
#include "common/Text.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "exif/PhotoTags.h"
#include "photos/PhotoRows.h"
#include "track/TrackPoint.h"

class RunControl;
class Settings;
class Workspace;

// Photos that hold a position of their own (a phone's, a GPS camera's) serve as points of
// the track: those of the run that keep their position, and every such photo of the
// PhotoTrack folder. They serve when no track file is set, or when PhotoTrack names a
// folder; with a track file and no PhotoTrack, the track alone places the photos.
bool UsesPhotoPoints(const Settings& settings);

// A photo's moment in UTC, from the zone it states, else from its GPS date and time stamps;
// -1 when it has neither (its camera clock alone can't say it). fraction gets the part of
// a second after it.
int64_t PhotoMoment(const PhotoTags& tags, double& fraction);

// Which photo each photo point came from: the points are track[first..first+paths.size()).
struct PhotoPointSources {
    const Track* track = nullptr;
    size_t first = 0;
    std::vector<std::string> paths;

    // The photo a point of the track came from; "" for a track file's point.
    std::string PhotoOf(const TrackPoint* point) const;
};

// What gathering found, for the run's summary.
struct PhotoPointCount {
    int points = 0;     // photos that became points
    int leftOut = 0;    // photos with a position but no moment in UTC
};

// True when the photo's own position is not one Pinroute wrote (so it may serve).
using OwnPosition = std::function<bool(const PhotoTags& tags, const std::string& path)>;

// Lists the run's photos (into runTags, one entry per path, for the run to use) and the
// PhotoTrack folder's, and appends the photo points to track as a segment of their own, in
// time order. False when the PhotoTrack folder can't be read (error says why); track is
// then as it was.
bool GatherPhotoPoints(const Settings& settings, const std::vector<std::string>& runPaths, Workspace& workspace,
                       RunControl& control, const OwnPosition& own, std::vector<PhotoTags>& runTags, Track& track,
                       PhotoPointSources& sources, PhotoPointCount& count, std::string& error);

// Names the photos a match came from in its how ("placed from IMG_1234.HEIC, 2 min away",
// "placed between IMG_1.HEIC and IMG_2.HEIC, 3 min apart") and in match.photoPoint.
// second is null for a nearest-point match. Points of track files leave match as it is.
void NamePhotoPoints(const PhotoPointSources& sources, const TrackPoint* first, const TrackPoint* second,
                     MatchedPoint& match);

// The tooltip's line for a photo that keeps its own position while photos serve as points.
Text PhotoPointNote(const PhotoTags& tags);
