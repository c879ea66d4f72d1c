#pragma once
#include <string>
#include <vector>

#include "common/PlaceNames.h"

// What a photo holds of a place and of IPTC-IIM data, read from its listing lines.
struct HeldPlace {
    PlaceNames xmp;            // Xmp.photoshop.City, State, Country, Xmp.iptc.CountryCode
    PlaceNames iptc;           // Iptc.Application2.City, ProvinceState, CountryName, CountryCode
    bool hasIptc = false;      // any IPTC-IIM tag that is listed
    bool iptcCharset = false;  // Iptc.Envelope.CharacterSet is there
    bool iptcUtf8 = false;     // and says UTF-8

    // The place as shown: each name from XMP, else from IPTC-IIM.
    PlaceNames Names() const;
    // IPTC-IIM data a UTF-8 place can join: there is some, and it is UTF-8 or says nothing.
    bool TakesIptc() const { return hasIptc && (!iptcCharset || iptcUtf8); }
};

// The keys listed for it: the place keys, the character set, and IPTC-IIM tags that
// writers commonly set, whose presence says the photo has IPTC-IIM data.
const std::vector<std::string>& PlaceListedKeys();

// Reads one listing line ("KEY TYPE COUNT  VALUE") into held; false for a line of another key.
bool ReadPlaceLine(const std::string& line, HeldPlace& held);

// The value of a listing line ("KEY TYPE COUNT  VALUE"): what follows the count and two
// blanks, as printed; "" for a line without one.
std::string ListingLineValue(const std::string& line);
