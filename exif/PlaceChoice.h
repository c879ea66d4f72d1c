#pragma once
#include <future>
#include <optional>
#include <string>

#include "common/PlaceNames.h"
#include "exif/PlaceListing.h"
#include "settings/Settings.h"

// A place to write with a position, and whether the photo's IPTC-IIM data takes it too.
struct PlaceToWrite {
    PlaceNames names;
    bool iptc = false;
};

// The place GeoTag writes with a position: nothing when settings.Places is 0, when the photo
// holds place tags and settings.ReplacePlaces is 0, or when no town lies near enough.
std::optional<PlaceToWrite> PlaceForWrite(const Settings& settings, const HeldPlace& held, double latitude,
                                          double longitude);

// With settings.Places, builds the place index on a thread of its own while the run reads its
// track and photos; the run's first lookup waits for it. Keep the future until the run ends.
std::future<void> PreparePlaces(const Settings& settings);

// The place a row shows for a photo: the one it holds; else, with settings.Places and a
// position, the one GeoTag would write; else "".
std::string PlaceShown(const Settings& settings, const HeldPlace& held, bool hasPosition, double latitude,
                       double longitude);
