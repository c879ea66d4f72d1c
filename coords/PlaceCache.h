#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The place index's content, as built from the geonames data in one language: the regions
// once each, and the towns pointing at theirs.
struct PlaceRegion {
    std::string state;
    std::string country;
    std::string countryCode;    // alpha-2
    std::string countryCode3;   // alpha-3
};

struct PlaceEntry {
    std::string city;
    uint32_t region = 0;   // in PlaceTable::regions
    int32_t index = 0;     // in the library's list, ascending
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive
};

struct PlaceTable {
    std::vector<PlaceRegion> regions;
    std::vector<PlaceEntry> towns;
};

// Building the table from the library takes a good part of a second of reading its
// compressed data; a run reads it from a file in $XDG_CACHE_HOME/pinroute instead (else
// ~/.cache/pinroute). The file holds a key naming what it was built from (the format, the
// library's and the catalogue's path, size and modification time) and a checksum: a file
// with another key, damaged or cut short is not used, and is built again.

// The folder of the cache files; "" when there is no home to put it in.
std::string PlaceCacheFolder();

// The file's bytes for a table built from what key names.
std::string EncodePlaceTable(const std::string& key, const PlaceTable& table);

// The table in bytes when they are whole, unchanged and made for key; false otherwise.
bool DecodePlaceTable(const std::string& bytes, const std::string& key, PlaceTable& table);

// The table read from path, false when it is missing or not usable.
bool LoadPlaceTable(const std::string& path, const std::string& key, PlaceTable& table);

// Writes the table to path through a temporary file renamed over it, so that a reader
// never meets half a file; a failure (no room, a read-only home) only costs the next run
// the build again.
void SavePlaceTable(const std::string& path, const std::string& key, const PlaceTable& table);
