#pragma once
#include <cstdint>
#include <string>

// Renames the photo at fullPath within its folder, appending the date and/or the
// position: IMG_0001.JPG -> IMG_0001 2006-08-26 TQ 38034 80412.JPG.
// Never replaces an existing file and never moves the photo to another folder.
// On success newName holds the new full path; otherwise message holds the reason.
bool RenamePhoto(const std::string& fullPath, const std::string& folder, int dateFlag, int posnFlag,
                 int32_t latitude, int32_t longitude, const std::string& positionText,
                 const std::string& dateText, std::string& newName, std::string& message);

// The fall-back used where the file system can't rename without replacing: link to the
// new name (which fails on an existing one), then drop the old name.
// Returns 0, or the errno value of the step that failed; the old name stays on failure.
int LinkThenUnlink(const std::string& from, const std::string& to);
