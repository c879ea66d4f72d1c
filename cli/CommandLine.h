#pragma once
#include <optional>
#include <string>
#include <vector>

#include "run/Command.h"


// What the user asked for. Options that override a setting are kept as typed: the
// settings' own checks judge them.
struct CommandLine {
    std::optional<Command> command;   // geotag, parse, rename, undo or remove; none for settings or --help alone
    bool settings = false;            // the settings command
    bool help = false;
    bool version = false;
    bool dryRun = false;
    bool suggestOffset = false;   // geotag: list the offsets that match the most photos, tag nothing
    bool json = false;
    bool list = false;            // undo: list the runs instead
    bool force = false;           // undo: also photos changed since the run
    bool recursive = false;       // photos in the folders' sub-folders too (Recurse=1)
    bool replace = false;         // geotag: write over positions photos already have (ReplacePositions=1)
    std::optional<std::string> gpx;      // --gpx or --track
    std::optional<std::string> offset;   // whole minutes
    std::optional<int> jobs;             // photos worked on at once, 1 or more
    std::optional<int> displayType;      // 0 latitude/longitude (--latlon), 1 OSGB (--osgb)
    std::optional<bool> interpolate;     // --interpolate (true) or --nearest (false)
    std::optional<bool> photoZone;       // --photo-zone (true) or --no-photo-zone (false)
    bool date = false;
    bool position = false;
    bool places = false;                 // --places: geotag writes them, parse and rename look them up, remove removes them
    bool place = false;                  // rename: --place appends the place to the name
    std::vector<std::string> operands;   // the paths; for settings KEY and VALUE
};

// Reads the arguments after the program name. Options may come before or after the
// paths; "--" ends them, so that a path may begin with "-". Returns false with a one-line
// reason on a usage error.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& line, std::string& error);
