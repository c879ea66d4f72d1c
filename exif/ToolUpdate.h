#pragma once
#include <string>
#include <vector>

#include "exif/Workspace.h"

enum class UpdateResult {
    Done,
    Refused,   // the tool ran and refused, or reported a loss: the file can't take it
    Failed,    // the tool couldn't run, or was stopped
};

// Runs the command file over working copies of photos' metadata, all of which take the
// same commands; the tool's messages go to the log. The reason says why when not Done.
UpdateResult RunUpdate(const WorkerFiles& files, const std::vector<std::string>& workPaths, std::string& reason);
