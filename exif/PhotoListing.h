#pragma once
#include <string>
#include <vector>

#include "exif/PhotoTags.h"
#include "exif/Workspace.h"

// Lists the photos' tags with as few tool runs as possible, asking only for the keys
// that are read, so that text tags can't forge a line. The captured output is also kept
// in files.listing for the user to read. One entry per path, in the order given. The
// position in a sidecar (NAME.EXT.xmp) comes before a RAW photo's own (the RAW kinds and
// those exiv2 can't write), and serves any other photo without a position of its own.
std::vector<PhotoTags> ListPhotos(const WorkerFiles& files, const std::vector<std::string>& paths);
