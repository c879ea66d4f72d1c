#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "common/PlaceNames.h"

// One town of the geonames data (towns of 15,000 people or more, from libgeonames0).
struct PlaceTown {
    PlaceNames names;
    double latitude = 0;    // degrees, north positive
    double longitude = 0;   // degrees, east positive
};

// The towns of the geonames data in a grid of one-degree cells, with their names in one
// language, built once and then only read: lookups from several threads need no lock.
class PlaceIndex {
public:
    // language: "de", "fr_CH" (as a locale names it, ".UTF-8" and "@..." ignored); "" or an
    // English one for the data's own names. A name without a translation stays English.
    explicit PlaceIndex(const std::string& language);

    // The place at a position: the nearest town's names when it lies within maxKm; else its
    // region and country only, when it lies within 100 km; else nothing (the open sea, the
    // high mountains). Near a border the nearest town may be the neighbour's.
    PlaceNames At(double latitude, double longitude, double maxKm) const;

    // Towns whose names (in any language geonames knows) match text, the most populous first,
    // at most limit of them.
    std::vector<PlaceTown> Find(const std::string& text, size_t limit) const;

    size_t Size() const { return towns.size(); }

private:
    struct Town {
        PlaceTown town;
        int index = 0;   // in the library's list
    };
    std::vector<Town> towns;
    std::vector<std::vector<int>> cells;   // 180 x 360 one-degree cells, row by latitude
};

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
