#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "track/TrackPoint.h"

// Reads one track format into points, as a parser per format does: a run never knows which
// format it read. Adding a format adds a reader and a line in the registry (TrackReader.cpp).
class TrackReader {
public:
    virtual ~TrackReader() = default;
    // The format's name, "GPX".
    virtual const char* Format() const = 0;
    // True when the start of a file (its first few KiB) looks like this format.
    virtual bool Recognises(const std::string& head) const = 0;
    // Appends the file's points to track; false with errorString (and errorLine where the
    // format has lines, else 0) when the file can't be read; track is then as it was.
    virtual bool Read(const std::string& path, Track& track) = 0;

    std::string errorString;
    int64_t errorLine = 0;
    // Set by Read when the file read well but held no point with a time, to say why:
    // "no track points: only route points".
    std::string emptyReason;

protected:
    // Clears the outcome of an earlier read and opens path (a regular file, not too big):
    // the descriptor to read and close, or -1 with errorString set.
    int StartReading(const std::string& path);
};

// The reader for a file, picked by its content, not its name; null for a file no reader
// recognises or that can't be opened.
std::unique_ptr<TrackReader> ReaderFor(const std::string& path);

// Reads a track file of any format the registry knows, the timed points of each segment put
// in time order (equal times in the file's order). Returns 0, or -1 with *reason:
// the reader's error, "not a track file (GPX, KML, ...)" for a file of no known kind, or
// "no track points" (with the reader's why) for a file that yields no point with a time.
int LoadTrackFile(const std::string& path, Track& track, std::string* reason = nullptr);
