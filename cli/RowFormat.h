#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "run/Command.h"
#include "photos/PhotoRows.h"


// One photo's line of output: what the run did to it, in words a script can match.
struct PhotoLine {
    std::string outcome;                 // "tagged", "would-tag", "rejected", "no-exif", ...
    std::string path;                    // as given on the command line or found in a folder
    std::string date;                    // the date cell
    std::string message;                 // the position/message cell
    std::string reason;                  // why a photo failed (the window's tooltip), or empty
    std::optional<MatchedPoint> match;   // GeoTag: the point written, or that would be
    std::string newPath;                 // Rename: the new path, or empty
    std::string sidecar;                 // GeoTag: the XMP sidecar that took the position, or empty
    std::string place;                   // "Kendal, England, United Kingdom", or empty
};

// Turns a run's outcome for one photo into its line.
PhotoLine DescribeRow(Command kind, bool dryRun, const std::string& path,
                      const RowOutcome& outcome);

// True for the outcomes a command aims at (tagged, parsed, renamed and their would- forms),
// and for a photo GeoTag leaves with its own position (kept).
bool Achieved(const std::string& outcome);

// The line as five tab-separated fields, ending in "\n": outcome, path, date, message, and
// the seconds to the matched point (GeoTag) or the new path (Rename). Within a field a
// backslash, tab, newline and carriage return become \\ \t \n \r and other control bytes
// \xHH, so that a line is always one line of five fields; other bytes pass unchanged.
std::string TsvLine(Command kind, const PhotoLine& line);

// The line as one JSON object ending in "\n".
std::string JsonLine(Command kind, const PhotoLine& line);

// text as the body of a JSON string (without the quotes). UTF-8 passes unchanged; each
// byte that is not part of valid UTF-8 becomes \udcXX (XX the byte, as Python's
// "surrogateescape" writes it), so that no name is lost or mangled: the original
// bytes can be recovered; the output is always valid UTF-8.
std::string JsonEscape(const std::string& text);
std::string TsvEscape(const std::string& text);
