#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "track/TrackReader.h"

// What the track readers share: opening a file safely, reading it in blocks or lines
// (never whole), segment numbers and elevation texts.

// The largest track file read (a location history of years can pass 1 GB).
constexpr int64_t kMaxTrackBytes = int64_t{4} << 30;

// Opens path for reading when it is a regular file no bigger than maxBytes. A FIFO or a
// device is refused without waiting for a writer. Returns the descriptor (close it), or -1
// with reason: "can't be opened: No such file or directory", "not a regular file",
// "too big to read (5.2 GB)".
int OpenTrackFile(const std::string& path, int64_t maxBytes, int64_t& size, std::string& reason);

// OpenTrackFile for a reader: at most kMaxTrackBytes, its size not wanted.
int OpenTrackFile(const std::string& path, std::string& reason);

// Hands the file to consume in blocks of up to 1 MiB, in order, until the end, a read
// error (false, "can't be read: ...") or consume returning false (false, reason untouched).
bool ReadBlocks(int fd, const std::function<bool(const char* data, size_t size)>& consume,
                std::string& reason);

// What a line does to a read: nothing, when what is empty. Else it stops the read, what
// saying what is wrong, told at the line ("line 7: no time") or, for a fault of the whole
// file, alone.
struct LineFault {
    std::string what;
    bool atLine = true;

    static LineFault At(std::string what) { return {std::move(what), true}; }
    static LineFault OfFile(std::string what) { return {std::move(what), false}; }
};

using TakeLine = std::function<LineFault(const std::string& line, int64_t number)>;

// The frame of the line formats (CSV, NMEA, IGC): opens path and hands take each line with
// its number, from 1, without its "\n" or "\r\n"; a UTF-8 byte order mark is dropped from
// the first, and a last line without "\n" is a line too. take appends the line's points to
// track. A line longer than 64 KiB (so a file without line breaks never fills the memory), a
// read error or a fault stop the read: track is then as it was, and the result says why and
// which line is to blame: "line 7 is too long", "line 7: no time", both with errorLine 7.
TrackRead ReadTrackLines(const std::string& path, Track& track, const TakeLine& take);

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
