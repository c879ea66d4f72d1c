#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "track/TrackPoint.h"

// What the track readers share: opening a file safely, reading it in blocks or lines
// (never whole), segment numbers and elevation texts.

// The largest track file read (a location history of years can pass 1 GB).
constexpr int64_t kMaxTrackBytes = int64_t{4} << 30;

// Opens path for reading when it is a regular file no bigger than maxBytes. A FIFO or a
// device is refused without waiting for a writer. Returns the descriptor (close it), or -1
// with reason: "can't be opened: No such file or directory", "not a regular file",
// "too big to read (5.2 GB)".
int OpenTrackFile(const std::string& path, int64_t maxBytes, int64_t& size, std::string& reason);

// Hands the file to consume in blocks of up to 1 MiB, in order, until the end, a read
// error (false, "can't be read: ...") or consume returning false (false, reason untouched).
bool ReadBlocks(int fd, const std::function<bool(const char* data, size_t size)>& consume,
                std::string& reason);

// The lines of a file, one at a time, without their "\n" or "\r\n". A line longer than
// maxLength is an error, so a file with no line breaks never fills the memory.
class LineSource {
public:
    explicit LineSource(int fd, size_t maxLength = 64 * 1024) : fd(fd), maxLength(maxLength) {}
    // True with the next line; false at the end (reason empty) or on an error (reason set).
    bool Next(std::string& line, std::string& reason);
    // The number of the line Next last gave, from 1.
    int64_t Number() const { return number; }

private:
    const int fd;
    const size_t maxLength;
    std::string buffer;
    size_t start = 0;
    bool atEnd = false;
    int64_t number = 0;
};

// The segment number after every segment already in track (0 for a track without one):
// each file read starts a segment of its own.
int NextSegment(const Track& track);

// Metres as an elevation text, "." for the point whatever the locale: "12.5", "-3"; "" (no
// elevation) for one that is not finite or beyond kMaxElevationMetres, which no photo holds.
std::string ElevationText(double metres);

// How deep the elements of a track file may nest: far more than any format needs, and few
// enough that a file of nothing but openings can't exhaust the memory.
constexpr size_t kMaxNesting = 10000;

// The reason for a file nested deeper: "too deeply nested (more than 10000 levels)".
std::string NestingText();

// True when lat and lon are finite and within -90..90 and -180..180.
bool ValidPosition(double lat, double lon);

// The start (00:00 UTC, a time count) of a day written DDMMYY, as NMEA and IGC write dates:
// years 80 to 99 are 1980 to 1999, the others 2000 to 2079. -1 for a number that is no day.
int64_t DayOfDdMmYy(long long ddmmyy);
