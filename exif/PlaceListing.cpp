#include "exif/PlaceListing.h"

#include "exif/PlaceCommands.h"

namespace {

const char kCharsetKey[] = "Iptc.Envelope.CharacterSet";

std::string Key(const std::string& line)
{
    return line.substr(0, line.find(' '));
}

}  // namespace

std::string ListingLineValue(const std::string& line)
{
    size_t pos = 0;
    for (int word = 0; word < 3; ++word) {
        const size_t start = line.find_first_not_of(' ', pos);
        if (start == std::string::npos)
            return {};
        pos = line.find(' ', start);
        if (pos == std::string::npos)
            return {};
    }
    return pos + 2 <= line.size() ? line.substr(pos + 2) : std::string();
}

PlaceNames HeldPlace::Names() const
{
    PlaceNames names = xmp;
    if (names.city.empty())
        names.city = iptc.city;
    if (names.state.empty())
        names.state = iptc.state;
    if (names.country.empty())
        names.country = iptc.country;
    names.countryCode3 = iptc.countryCode3;
    return names;
}

const std::vector<std::string>& PlaceListedKeys()
{
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> all = XmpPlaceKeys();
        all.insert(all.end(), IptcPlaceKeys().begin(), IptcPlaceKeys().end());
        for (const char* key : {kCharsetKey, "Iptc.Application2.RecordVersion", "Iptc.Application2.Keywords",
                                "Iptc.Application2.ObjectName", "Iptc.Application2.Byline",
                                "Iptc.Application2.Copyright", "Iptc.Application2.DateCreated",
                                "Iptc.Application2.Headline", "Iptc.Application2.Credit"})
            all.push_back(key);
        return all;
    }();
    return keys;
}

bool ReadPlaceLine(const std::string& line, HeldPlace& held)
{
    const std::string key = Key(line);
    const auto& xmp = XmpPlaceKeys();
    const auto& iptc = IptcPlaceKeys();
    std::string* const fields[] = {&held.xmp.city, &held.xmp.state, &held.xmp.country, &held.xmp.countryCode,
                                   &held.iptc.city, &held.iptc.state, &held.iptc.country, &held.iptc.countryCode3};
    for (size_t i = 0; i < 4; ++i) {
        if (key == xmp[i] || key == iptc[i]) {
            std::string& field = *fields[key == xmp[i] ? i : i + 4];
            if (field.empty())
                field = ListingLineValue(line);
            held.hasIptc = held.hasIptc || key == iptc[i];
            return true;
        }
    }
    if (key.compare(0, 5, "Iptc.") != 0)
        return false;
    held.hasIptc = true;
    if (key == kCharsetKey) {
        held.iptcCharset = true;
        held.iptcUtf8 = ListingLineValue(line) == kIptcUtf8;
    }
    return true;
}
