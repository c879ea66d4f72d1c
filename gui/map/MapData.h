#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <QString>

#include "photos/PhotoList.h"
#include "track/TrackPoint.h"

// One point of a track line as the map draws it.
struct LinePoint {
    double latitude = 0;
    double longitude = 0;
    int64_t time = -1;   // the track's time (UTC seconds), -1 for none
};

// The lines of the tracks: one per track segment, in the order read.
struct TrackLines {
    std::vector<std::vector<LinePoint>> segments;
    std::vector<std::string> errors;   // "walk.gpx: not a GPX file (line 3)", one a file that failed
};

// The lines of a track: every segment's points in order (waypoints are no line), thinned
// to at most maxPoints in all by keeping every n-th point and each segment's ends.
TrackLines LinesOf(const Track& track, size_t maxPoints = 50000);

// Reads every track file the GPXPath setting matches, of any kind, into lines.
TrackLines LoadTrackLines(const std::string& trackPath, size_t maxPoints = 50000);

// The marker kind of a row, as the page colours it: 'r' a position read (blue), 'w' one
// written (green), 'f' one a write left in doubt (orange); 0 for a row without a position.
char MarkerKind(const PhotoRow& row);

// The page's message for rows: each row with a position as [row, lat, lon, kind, name],
// each without as [row] (its marker goes). fit: the map fits the data anew, unless the
// user has moved it.
QString MarkersMessage(const PhotoList& photos, const std::vector<int>& rows, bool fit);

// The track lines, each as [lat, lon, lat, lon, ...] to the millionth of a degree, and a fit.
QString TrackMessage(const TrackLines& lines);

// The whole state: tiles (template), then a reset, the track lines, every row's marker and
// a fit to them all.
// tilesNotice: the page says, when it first asks the tile server, what the server learns.
QString FullMessage(const PhotoList& photos, const TrackLines& lines, const std::string& tiles,
                    bool tilesNotice = false);

// The rows selected, and whether the map brings them into view.
QString SelectionMessage(const std::vector<int>& rows, bool centre);
