#pragma once
#include <string>
#include <vector>

#include "support/TrackKinds.h"

// How FitBytesWith writes its file; the defaults give what FitBytes gives.
struct FitOptions {
    // Both: the plain field holds 0 (-500 m) beside a valid enhanced one.
    enum class Altitude { Enhanced, Plain, Both };
    bool bigEndian = false;        // definitions and values most significant byte first
    bool compressed = false;       // compressed timestamp headers for gaps under 32 s
    bool developerField = false;   // 3 bytes of a developer field in every record
    Altitude altitude = Altitude::Enhanced;
};

// FitBytes with options. A point whose lat or lon is not finite gets the invalid
// semicircle value; one whose ele is not finite gets no altitude.
std::string FitBytesWith(const std::vector<KindPoint>& points, const FitOptions& options);

// A FIT file around its record bytes: a 14-byte header with its checksum (or the 12-byte
// one), then the records, then the file checksum.
std::string FitFile(const std::string& records, int headerSize = 14);
