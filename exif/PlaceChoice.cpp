#include "exif/PlaceChoice.h"

#include <system_error>

#include "coords/Places.h"

namespace {

PlaceNames Lookup(const Settings& settings, double latitude, double longitude)
{
    return PlacesIn(PlaceLanguageFor(settings.PlaceLanguage)).At(latitude, longitude, settings.PlaceMaxKm);
}

}  // namespace

std::future<void> PreparePlaces(const Settings& settings)
{
    if (settings.Places == 0)
        return {};
    const std::string language = PlaceLanguageFor(settings.PlaceLanguage);
    try {
        return std::async(std::launch::async, [language] { PlacesIn(language); });
    } catch (const std::system_error&) {
        return {};   // no thread to spare: the first lookup builds it
    }
}

std::optional<PlaceToWrite> PlaceForWrite(const Settings& settings, const HeldPlace& held, double latitude,
                                          double longitude)
{
    if (settings.Places == 0 || (settings.ReplacePlaces == 0 && !held.Names().Empty()))
        return std::nullopt;
    PlaceToWrite place;
    place.names = Lookup(settings, latitude, longitude);
    if (place.names.Empty())
        return std::nullopt;
    place.iptc = held.TakesIptc();
    return place;
}

std::string PlaceShown(const Settings& settings, const HeldPlace& held, bool hasPosition, double latitude,
                       double longitude)
{
    const PlaceNames names = held.Names();
    if (!names.Empty() || settings.Places == 0 || !hasPosition)
        return PlaceLabel(names);
    return PlaceLabel(Lookup(settings, latitude, longitude));
}
