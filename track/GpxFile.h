#pragma once
#include <cstdint>
#include <string>

#include "track/TrackPoint.h"

// Appends the trkpt points, then the wpt points, of one GPX file to track. A point whose
// lat or lon is missing, is not a plain decimal number or is out of range is skipped.
// Returns 0, also for well-formed XML without a point; or -1 when the file can't be read
// or is not well-formed XML. Then track is as it was and *reason, when given, says why in
// a few words: "not a GPX file (line 3)", "can't be opened: No such file or directory",
// "not a regular file", "too big to read (2.1 GB)"; and *errorLine, when given, the line
// such a reason names (0 for none).
// Only regular files are read (a FIFO or a device is refused without waiting), at most
// 1 GiB, and never the whole document at once: memory grows with the points kept.
int LoadGpx(const std::string& path, Track& track, std::string* reason = nullptr, int64_t* errorLine = nullptr);
