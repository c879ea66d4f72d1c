#pragma once
#include <string>

// A place's names as a photo holds them: the town, its region (the first-level division,
// "England", "Zurich") and country, and the country's ISO 3166 codes.
struct PlaceNames {
    std::string city;
    std::string state;
    std::string country;
    std::string countryCode;    // alpha-2, "CH"
    std::string countryCode3;   // alpha-3, "CHE", for IPTC-IIM
    bool Empty() const { return city.empty() && state.empty() && country.empty(); }
};

// "Kendal, England, United Kingdom": the names present, town first, joined by ", ".
inline std::string PlaceLabel(const PlaceNames& place)
{
    std::string label;
    for (const std::string* part : {&place.city, &place.state, &place.country})
        if (!part->empty())
            label += (label.empty() ? "" : ", ") + *part;
    return label;
}
