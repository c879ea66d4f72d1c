#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "track/TrackPoint.h"

// What reading one track file came to. The points themselves go straight into the caller's
// track, so that a history of years is never held twice and segment numbers run on through
// the files read.
struct TrackRead {
    bool read = false;         // false: the file can't be read, and the track is as it was
    std::string error;         // why not: "line 4: no time", "not a KML file (line 3)"
    int64_t errorLine = 0;     // the line error names, where the format has lines; else 0
    // Read, but holding no point with a time: why, "no track points: only route points";
    // "" when the reader can say no more than that.
    std::string emptyReason;

    static TrackRead Failed(std::string error, int64_t line = 0);
    static TrackRead Done(std::string emptyReason = {});
};

// Reads one track format into points, as a parser per format does: a run never knows which
// format it read. Adding a format adds a reader and a line in the registry (TrackReader.cpp).
class TrackReader {
public:
    virtual ~TrackReader() = default;
    // The format's name, "GPX".
    virtual const char* Format() const = 0;
    // True when the start of a file (its first few KiB) looks like this format.
    virtual bool Recognises(const std::string& head) const = 0;
    // Appends the file's points to track, their segments numbered on from those already in
    // it; when the file can't be read, says why and leaves track as it was.
    virtual TrackRead Read(const std::string& path, Track& track) = 0;
};

// The reader for a file, picked by its content, not its name; null for a file no reader
// recognises or that can't be opened.
std::unique_ptr<TrackReader> ReaderFor(const std::string& path);

// Reads a track file of any format the registry knows, the timed points of each segment put
// in time order (equal times in the file's order). Returns 0, or -1 with *reason:
// the reader's error, "not a track file (GPX, KML, ...)" for a file of no known kind, or
// "no track points" (with the reader's why) for a file that yields no point with a time.
int LoadTrackFile(const std::string& path, Track& track, std::string* reason = nullptr);
