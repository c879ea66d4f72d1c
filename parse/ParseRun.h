#pragma once
#include <cstdint>
#include <string>

class PhotoList;
class RunFeedback;

// Shows each listed photo's capture date (column 2) and stored position (column 3, as
// latitude/longitude, or as an OSGB grid reference when displayType is 1). With rename
// on, also renames each photo that has a position after its date and/or position, as
// the two flags ask, and shows the new name in column 1.
void ParseRun(PhotoList& list, const std::string& folder, int32_t displayType, int32_t dateFlag,
              int32_t posnFlag, bool rename);

// The Parse (rename false) and Rename commands: read the settings, then ParseRun over the
// list's folder. Parse never renames, whatever the Date and Posn settings say.
void RunParseCommand(PhotoList& list, bool rename, RunFeedback& feedback);
