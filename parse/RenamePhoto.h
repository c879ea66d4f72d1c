#pragma once
#include <cstdint>
#include <string>

#include "common/Text.h"

// What goes into a photo's new name.
struct NameParts {
    bool date = false;          // append the capture date, 2006:08:26 as 2006-08-26
    bool position = false;      // append the position text
    std::string dateText;
    std::string positionText;   // when empty, whole degrees such as "N51 W0" stand in
    int32_t latitude = 0;       // whole degrees toward zero, for the stand-in
    int32_t longitude = 0;
    std::string placeText;      // appended after the position when not empty ("Kendal-England-United-Kingdom")
};

struct RenameOutcome {
    bool renamed = false;
    bool unchanged = false;   // the name already ends with the date and position: nothing done
    std::string newPath;   // the new full path (also when only checked)
    Text message;          // why it was not renamed
};

// Renames the photo within its folder, appending the date and/or the position:
// IMG_0001.JPG -> IMG_0001 2006-08-26 TQ 38034 80412.JPG. Never replaces an existing file
// and never moves the photo to another folder. Its sidecar NAME.EXT.xmp, if any, gets the
// new name + ".xmp"; when either new name is taken neither is renamed. With checkOnly nothing is renamed; the
// outcome says what would happen.
RenameOutcome RenamePhoto(const std::string& fullPath, const NameParts& parts, bool checkOnly = false);
