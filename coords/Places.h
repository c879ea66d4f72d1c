#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "common/PlaceNames.h"
#include "coords/PlaceCache.h"

// One town of the geonames data (towns of 15,000 people or more, from libgeonames0).
struct PlaceTown {
    PlaceNames names;
    double latitude = 0;    // degrees, north positive
    double longitude = 0;   // degrees, east positive
};

// The towns of the geonames data in a grid of one-degree cells, with their names in one
// language, built once and then only read: lookups from several threads need no lock.
// A region goes by its short name: "Zurich", not "Canton of Zurich" (see RegionShortName).
class PlaceIndex {
public:
    // language: "de", "fr_CH" (as a locale names it, ".UTF-8" and "@..." ignored); "" or an
    // English one for the data's own names. A name without a translation stays English.
    // Read from the cache file for the language when it is there and still matches the data
    // (PlaceCachePath); else built from the data and the cache file written for next time.
    explicit PlaceIndex(const std::string& language);

    // The place at a position: the nearest town's names when it lies within maxKm; else its
    // region and country only, when it lies within 100 km; else nothing (the open sea, the
    // high mountains). Near a border the nearest town may be the neighbour's.
    PlaceNames At(double latitude, double longitude, double maxKm) const;

    // Towns whose names (in any language geonames knows) match text, the most populous first,
    // at most limit of them.
    std::vector<PlaceTown> Find(const std::string& text, size_t limit) const;

    size_t Size() const { return table.towns.size(); }

    // Whether it came from the cache file rather than from the data.
    bool FromCache() const { return fromCache; }

private:
    PlaceTown TownAt(size_t town) const;

    PlaceTable table;
    bool fromCache = false;
    // 180 x 360 one-degree cells, row by latitude: cell c's towns are cellTowns[cellStart[c]]
    // up to cellTowns[cellStart[c + 1]].
    std::vector<uint32_t> cellStart;
    std::vector<uint32_t> cellTowns;
    // Each town as a point on the unit sphere (x, y, z): the nearest town is the one whose
    // point has the largest dot product with the position's, three products a town instead
    // of the trigonometry of a distance.
    std::vector<double> points;
};

// The cache file of the index for a language: "places-de.cache" in PlaceCacheFolder(); one
// file for every language that reads the same catalogue. "" when there is no cache folder.
std::string PlaceCachePath(const std::string& language);

// A region's name without the word for its kind in front, when the data's name has one:
// "Canton of Zurich", "Kanton Zürich" and "Canton de Zurich" become "Zurich" and "Zürich";
// "State of Maine" becomes "Maine", as the other states of its country are named. Only the
// words of kRegionKinds go, in English, German, French and Italian; "District of Columbia",
// "Free State of Thuringia" and the like are names, and stay whole.
std::string RegionShortName(const std::string& name);

// The language place names are written in: the setting when it is not empty, else the
// user's locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG, in that order); "" for English.
std::string PlaceLanguageFor(const std::string& setting);

// The index for a language, built on first use and kept for the process.
const PlaceIndex& PlacesIn(const std::string& language);

// Great-circle distance in km between two positions in degrees.
double DistanceKm(double latitude1, double longitude1, double latitude2, double longitude2);

// The ISO 3166 alpha-3 code of an alpha-2 code ("CH" -> "CHE"); "" for an unknown code.
std::string CountryAlpha3(const std::string& alpha2);

// A place as a file name may hold it: ASCII letters and digits, accents dropped, other
// characters as "-" ("Zürich, Canton of Zurich" -> "Zurich-Canton-of-Zurich").
std::string AsciiPlaceName(const std::string& text);
