#pragma once
#include <string>
#include <vector>

#include "exif/BmffExifWriter.h"

// A copy of a real HEIC changed into a shape the in-file Exif write does not cover.
struct HeifShape {
    std::string name;
    BmffShape shape;
    std::string detail;   // of the reason, as BmffShapeText takes it
    std::string bytes;
};

// Every item's bytes but the Exif item's, each after its id: what no Exif write may change;
// "" when the boxes can't be read.
std::string HeifPicture(const std::string& bytes);

// One such copy for each shape: from smallV0 (a HEIC whose iloc is version 0 with 4-byte
// offsets, base offsets and no index, each item in one extent, iloc last in meta, meta just
// before the last mdat), and from v1 (a HEIC whose iloc is version 1).
std::vector<HeifShape> HeifShapes(const std::string& smallV0, const std::string& v1);
