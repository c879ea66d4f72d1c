#pragma once
#include <set>
#include <string>
#include <vector>

#include "journal/Journal.h"

// The photos whose present position Pinroute wrote, as its journal tells: each GeoTag or
// placing by hand marks a photo, a Remove unmarks it, an undo gives it the mark it had
// before the run undone, and a rename carries the mark to the new name. Paths are compared
// made absolute, their folders resolved through links.
class WrittenPositions {
public:
    // From the runs, in any order; ListJournals() gives them.
    explicit WrittenPositions(std::vector<JournalRun> runs);

    bool Contains(const std::string& photoPath) const;

private:
    std::set<std::string> photos;
};

// The path as an absolute one, its folder resolved through links where it is there; else
// joined to the working folder.
std::string AbsolutePhotoPath(const std::string& path);
