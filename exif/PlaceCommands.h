#pragma once
#include <string>
#include <vector>

#include "common/PlaceNames.h"

// The XMP keys of a place: Xmp.photoshop.City, State, Country and Xmp.iptc.CountryCode.
const std::vector<std::string>& XmpPlaceKeys();

// The IPTC-IIM keys of a place: Iptc.Application2.City, ProvinceState, CountryName and
// CountryCode (alpha-3).
const std::vector<std::string>& IptcPlaceKeys();

// The commands that put a place into a photo's XMP, and with iptc into its IPTC-IIM data
// as well, marking that data UTF-8 (Iptc.Envelope.CharacterSet "ESC % G") so that readers
// take "Zürich" as written. Every place key is deleted first; names missing from place are
// then left out. IPTC names are cut to the record's lengths (32 bytes for the town and
// region, 64 for the country) at a character's end. "" for an empty place.
std::string PlaceCommandText(const PlaceNames& place, bool iptc);

// The commands that delete a place: the XMP keys, and with iptc the IPTC-IIM ones.
std::string RemovePlaceCommand(bool iptc);

// The IPTC-IIM character set that marks UTF-8.
extern const char kIptcUtf8[];
